#pragma once

namespace pag {

// Makes the boleto module the one scenario files open (`open COMPANY DATE`).
void RegisterBoletoScenarioHost();

}  // namespace pag
