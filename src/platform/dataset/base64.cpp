#include "platform/dataset/base64.h"

#include <array>
#include <cstdint>
#include <stdexcept>

namespace pag {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr uint8_t kBad = 0xFF;

constexpr std::array<uint8_t, 256> decodeTable() {
    std::array<uint8_t, 256> t{};
    for (auto& x : t)
        x = kBad;
    for (uint8_t i = 0; i < 64; ++i)
        t[static_cast<unsigned char>(kAlphabet[i])] = i;
    return t;
}
constexpr std::array<uint8_t, 256> kDecode = decodeTable();

[[noreturn]] void malformed() {
    throw std::invalid_argument("Conteúdo binário inválido no pacote.");
}

// Writes the four characters of three bytes.
inline void encodeGroup(const unsigned char* in, char* out) {
    const uint32_t n = (uint32_t{in[0]} << 16) | (uint32_t{in[1]} << 8) | in[2];
    out[0] = kAlphabet[(n >> 18) & 63];
    out[1] = kAlphabet[(n >> 12) & 63];
    out[2] = kAlphabet[(n >> 6) & 63];
    out[3] = kAlphabet[n & 63];
}

// The last group: one or two bytes and their padding.
void encodeTail(const unsigned char* in, size_t n, std::string& out) {
    if (n == 0) return;
    const unsigned char bytes[3] = {in[0], n > 1 ? in[1] : uint8_t{0}, 0};
    char group[4];
    encodeGroup(bytes, group);
    if (n == 1) group[2] = '=';
    group[3] = '=';
    out.append(group, 4);
}

// Encodes whole groups of three; returns how many input bytes were used.
size_t encodeGroups(const unsigned char* in, size_t n, std::string& out) {
    const size_t groups = n / 3;
    const size_t start = out.size();
    out.resize(start + groups * 4);
    char* dst = out.data() + start;
    for (size_t g = 0; g < groups; ++g)
        encodeGroup(in + g * 3, dst + g * 4);
    return groups * 3;
}

}  // namespace

std::string base64Encode(std::string_view in) {
    std::string out;
    out.reserve((in.size() + 2) / 3 * 4);
    Base64Encoder e;
    e.add(in, out);
    e.finish(out);
    return out;
}

void Base64Encoder::add(std::string_view bytes, std::string& out) {
    auto in = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t n = bytes.size();
    if (carried_ > 0) {
        unsigned char group[3] = {carry_[0], carry_[1], 0};
        size_t have = carried_;
        while (have < 3 && n > 0) {
            group[have++] = *in++;
            --n;
        }
        if (have < 3) {  // the piece only added to the carry
            carry_[0] = group[0];
            carry_[1] = group[1];
            carried_ = have;
            return;
        }
        char text[4];
        encodeGroup(group, text);
        out.append(text, 4);
        carried_ = 0;
    }
    const size_t used = encodeGroups(in, n, out);
    for (size_t i = used; i < n; ++i)
        carry_[carried_++] = in[i];
}

void Base64Encoder::finish(std::string& out) {
    encodeTail(carry_, carried_, out);
    carried_ = 0;
}

Base64Reader::Base64Reader(std::string_view text) : text_(text) {
    if (text.size() % 4 != 0) malformed();
    size_t padding = 0;
    if (!text.empty() && text.back() == '=') padding = text[text.size() - 2] == '=' ? 2 : 1;
    remaining_ = text.size() / 4 * 3 - padding;
    // Every character but the padding must be in the alphabet: checked once, up
    // front, so that nothing is decoded from a text that is refused.
    for (size_t i = 0; i + padding < text.size(); ++i)
        if (kDecode[static_cast<unsigned char>(text[i])] == kBad) malformed();
}

bool Base64Reader::read(char* out, size_t n) {
    if (n > remaining_) return false;
    remaining_ -= n;
    while (n > 0 && groupAt_ < groupEnd_) {
        *out++ = group_[groupAt_++];
        --n;
    }
    const auto value = [this](size_t k) {
        return uint32_t{kDecode[static_cast<unsigned char>(text_[k])]};
    };
    // Whole groups go straight to the caller's buffer.
    while (n >= 3 && at_ + 4 <= text_.size() && text_[at_ + 3] != '=') {
        const uint32_t v =
            value(at_) << 18 | value(at_ + 1) << 12 | value(at_ + 2) << 6 | value(at_ + 3);
        out[0] = static_cast<char>(v >> 16);
        out[1] = static_cast<char>(v >> 8);
        out[2] = static_cast<char>(v);
        out += 3;
        n -= 3;
        at_ += 4;
    }
    while (n > 0) {
        // A group split between this read and the next, or the padded last one.
        const bool two = text_[at_ + 2] == '=';
        const bool one = text_[at_ + 3] == '=';
        const uint32_t v = value(at_) << 18 | value(at_ + 1) << 12 |
                           (two ? 0 : value(at_ + 2) << 6) | (one ? 0 : value(at_ + 3));
        group_[0] = static_cast<char>(v >> 16);
        group_[1] = static_cast<char>(v >> 8);
        group_[2] = static_cast<char>(v);
        groupAt_ = 0;
        groupEnd_ = two ? 1 : one ? 2 : 3;
        at_ += 4;
        while (n > 0 && groupAt_ < groupEnd_) {
            *out++ = group_[groupAt_++];
            --n;
        }
    }
    return true;
}

std::string base64Decode(std::string_view in) {
    Base64Reader reader(in);
    std::string out(reader.remaining(), '\0');
    reader.read(out.data(), out.size());
    return out;
}

}  // namespace pag
