#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace pag {

// Parses the JSON body of a call or of its answer. Strings are moved from the
// parser into the document instead of copied, so the one long text of a list's
// compact rows costs the parser's buffer once, and a packet's rows are then decoded
// from it in place. Throws ProtocolError "WHAT: ..." when the nesting passes
// maxDepth (checked on the raw text first) or the JSON is malformed.
nlohmann::json parseProtocolBody(std::string_view body, int maxDepth, const std::string& what);

}  // namespace pag
