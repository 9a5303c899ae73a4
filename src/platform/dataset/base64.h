#pragma once

#include <string>
#include <string_view>

namespace pag {

// Standard alphabet with '=' padding: how blob values travel in packets.
std::string base64Encode(std::string_view in);
// Throws std::invalid_argument (pt-BR) on a character outside the alphabet.
std::string base64Decode(std::string_view in);

}  // namespace pag
