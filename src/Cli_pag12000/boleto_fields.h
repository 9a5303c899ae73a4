#pragma once

#include <vector>

#include "platform/dataset/field.h"

namespace pag {

// Field definitions of cdsBoletos: one row per open boleto of the chosen company.
std::vector<FieldDef> BoletoFieldDefs();

}  // namespace pag
