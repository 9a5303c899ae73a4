#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pag {

// Standard alphabet with '=' padding: how blob values and compact packet rows travel.
std::string base64Encode(std::string_view in);
// Throws std::invalid_argument (pt-BR) on a character outside the alphabet, a length
// that is not a multiple of four or padding anywhere but at the end.
std::string base64Decode(std::string_view in);

// Encodes a stream handed over in pieces of any size: the 0-2 bytes that do not fill
// a group of three wait for the next piece, so the text is the same as encoding all
// the pieces joined.
class Base64Encoder {
public:
    void add(std::string_view bytes, std::string& out);
    // Writes the waiting bytes with their padding; the encoder can then start again.
    void finish(std::string& out);

private:
    unsigned char carry_[2] = {0, 0};
    size_t carried_ = 0;
};

// Reads the bytes of a base64 text in pieces of any size, decoding straight into
// the caller's buffer. The whole text is checked for its form when constructed.
class Base64Reader {
public:
    explicit Base64Reader(std::string_view text);  // throws like base64Decode
    // False (and nothing taken) when fewer than n bytes are left.
    bool read(char* out, size_t n);
    size_t remaining() const { return remaining_; }

private:
    std::string_view text_;
    size_t at_ = 0;         // next group of four characters
    size_t remaining_ = 0;  // decoded bytes not yet read
    char group_[3] = {0, 0, 0};
    size_t groupAt_ = 3;  // next unread byte of group_ (3: none)
    size_t groupEnd_ = 3;
};

}  // namespace pag
