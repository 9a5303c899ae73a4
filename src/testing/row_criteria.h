#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pag {

// How tests and scenario files name a row: "FIELD=VALUE;FIELD=VALUE" split into its
// pairs; throws std::invalid_argument (pt-BR) for a part without "=".
std::vector<std::pair<std::string, std::string>> parseCriteria(std::string_view criteria);

}  // namespace pag
