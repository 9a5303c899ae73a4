#pragma once

#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dataset/base64.h"
#include "platform/dataset/row_layout.h"

namespace pag {

// The compact form of a packet's rows ("rowdata"): every row's bytes in the row
// encoding, each preceded by its length as 4 bytes little-endian, all of it in one
// base64 text. A list of 60,000 boletos then travels as one string instead of a
// few million JSON tokens, and is read back without converting a single cell.

// Appends one row to the text being written by `encoder` into `out`.
void appendRowData(Base64Encoder& encoder, std::string_view row, std::string& out);

// The rows of a "rowdata" text, each checked against the layout: well formed, text
// that is valid UTF-8, dates inside the calendar. A float that is not finite becomes
// null, as it does in the JSON form. Throws std::invalid_argument (pt-BR) saying
// which row is wrong; nothing is kept then.
std::vector<std::string> readRowData(std::string_view base64, const RowLayout& layout);

// The "rowdata" member of a parsed packet: a JSON string, or a reference that a body
// parser put in its place to a text it left where it was (rowDataInBody). A reference
// is a binary value, which no JSON text can produce, so it cannot be forged by a
// peer. nullopt for anything else.
std::optional<std::string_view> rowDataText(const nlohmann::json& member);
// The reference to a "rowdata" text inside a body that outlives the parsed document.
nlohmann::json rowDataInBody(std::string_view text);

}  // namespace pag
