#pragma once

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

}  // namespace pag
