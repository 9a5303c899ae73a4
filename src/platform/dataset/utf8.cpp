#include "platform/dataset/utf8.h"

#include <cstring>
#include <stdexcept>

namespace pag {

size_t utf8Length(std::string_view s, size_t i) {
    const auto at = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = at(i);
    if (c < 0x80) return 1;
    size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    if (at(i + 1) < lo || at(i + 1) > hi) return 0;
    for (size_t k = 2; k < n; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xBF) return 0;
    return n;
}

void notUtf8() {
    throw std::invalid_argument(
        "Texto com codificação inválida (não é UTF-8) não pode ser enviado.");
}

void requireUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        // Plain ASCII, the bulk of every text, is skipped eight bytes at a time.
        while (i + 8 <= s.size()) {
            unsigned long long word;
            std::memcpy(&word, s.data() + i, 8);
            if (word & 0x8080808080808080ULL) break;
            i += 8;
        }
        if (i >= s.size()) break;
        const size_t n = utf8Length(s, i);
        if (n == 0) notUtf8();
        i += n;
    }
}

size_t utf8Chars(std::string_view s) {
    size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace pag
