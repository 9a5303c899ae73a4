#pragma once

#include <string_view>

namespace pag {

class UserInterface;

// Refuses a code that analyseBarcode does not accept: shows its message and abandons
// the running operation (MensErro).
void Vd_CodigoBarras(UserInterface& ui, std::string_view code);

}  // namespace pag
