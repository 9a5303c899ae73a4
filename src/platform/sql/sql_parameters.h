#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pag {

// The :NAME parameters of a SQL text, each once (names compared case-insensitively),
// in the order they first appear. Quoted text ('...', "...", [...], `...`) and
// comments (-- and /* */) are skipped, so ':' inside a literal is not a parameter.
// Known without a database, so a query's parameters can be set before it is
// connected.
std::vector<std::string> namedParameters(std::string_view sql);

}  // namespace pag
