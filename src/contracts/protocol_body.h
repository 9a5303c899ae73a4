#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace pag {

// Parses the JSON body of a call or of its answer. The text of a packet's compact
// rows ("rowdata") is not copied into the document: the parser passes over it and the
// document refers to it where it lies in `body`, which must outlive the document;
// the rows are then decoded straight from the body. Other strings are moved from the
// parser, not copied. Throws ProtocolError "WHAT: ..." when the nesting passes
// maxDepth (checked on the raw text first) or the JSON is malformed.
nlohmann::json parseProtocolBody(std::string_view body, int maxDepth, const std::string& what);

}  // namespace pag
