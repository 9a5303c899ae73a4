#include "platform/dataset/row_data.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>

#include "platform/dataset/utf8.h"

namespace pag {

namespace {

// Marks the binary value that stands for a text left in the body.
constexpr std::uint64_t kInBody = 0x726f7764;  // "rowd"

[[noreturn]] void refuse(const std::string& why) {
    throw std::invalid_argument("Linhas compactadas do pacote inválidas: " + why);
}

std::string rowName(size_t index) {
    return "a linha " + std::to_string(index + 1);
}

// What wellFormed leaves to the cells: text is UTF-8, a date is a day of the
// calendar (01/01/0001 to 31/12/9999), a float that is not finite is null.
void checkCells(std::string& row, const RowLayout& layout, size_t index) {
    static const int32_t lastDay = Date::fromYmd(9999, 12, 31).serial();
    for (size_t i = 0; i < layout.size(); ++i) {
        const FieldType type = layout.type(i);
        if (layout.isNull(row, i)) continue;
        if (type == FieldType::Text) {
            try {
                requireUtf8(layout.text(row, i));
            } catch (const std::invalid_argument&) {
                refuse(rowName(index) + " tem texto que não é UTF-8.");
            }
        } else if (type == FieldType::Date) {
            const int32_t day = static_cast<int32_t>(layout.number(row, i));
            if (day < 1 || day > lastDay)
                refuse(rowName(index) + " tem uma data fora do calendário.");
        } else if (type == FieldType::Float && !std::isfinite(layout.number(row, i))) {
            layout.set(row, i, Value());
        }
    }
}

}  // namespace

void appendRowData(Base64Encoder& encoder, std::string_view row, std::string& out) {
    const auto n = static_cast<uint32_t>(row.size());
    const char length[4] = {static_cast<char>(n), static_cast<char>(n >> 8),
                            static_cast<char>(n >> 16), static_cast<char>(n >> 24)};
    encoder.add(std::string_view(length, 4), out);
    encoder.add(row, out);
}

std::vector<std::string> readRowData(std::string_view base64, const RowLayout& layout) {
    std::vector<std::string> rows;
    std::optional<Base64Reader> reader;
    try {
        reader.emplace(base64);
    } catch (const std::invalid_argument&) {
        refuse("o texto não está em base64.");
    }
    while (reader->remaining() > 0) {
        unsigned char length[4];
        if (!reader->read(reinterpret_cast<char*>(length), 4))
            refuse("o texto acaba no meio do tamanho da linha " + std::to_string(rows.size() + 1) +
                   ".");
        const uint32_t n = uint32_t{length[0]} | uint32_t{length[1]} << 8 |
                           uint32_t{length[2]} << 16 | uint32_t{length[3]} << 24;
        if (n > reader->remaining())
            refuse(rowName(rows.size()) + " termina depois do fim dos dados.");
        std::string row(n, '\0');
        reader->read(row.data(), n);
        if (!layout.wellFormed(row))
            refuse(rowName(rows.size()) + " não corresponde aos campos do pacote.");
        checkCells(row, layout, rows.size());
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<std::string_view> rowDataText(const nlohmann::json& member) {
    if (member.is_string()) return std::string_view(member.get_ref<const std::string&>());
    if (!member.is_binary()) return std::nullopt;
    const auto& bytes = member.get_binary();
    if (!bytes.has_subtype() || bytes.subtype() != kInBody ||
        bytes.size() != sizeof(const char*) + sizeof(size_t))
        return std::nullopt;
    const char* at = nullptr;
    size_t size = 0;
    std::memcpy(&at, bytes.data(), sizeof at);
    std::memcpy(&size, bytes.data() + sizeof at, sizeof size);
    return std::string_view(at, size);
}

nlohmann::json rowDataInBody(std::string_view text) {
    std::vector<std::uint8_t> bytes(sizeof(const char*) + sizeof(size_t));
    const char* at = text.data();
    const size_t size = text.size();
    std::memcpy(bytes.data(), &at, sizeof at);
    std::memcpy(bytes.data() + sizeof at, &size, sizeof size);
    return nlohmann::json::binary(std::move(bytes), kInBody);
}

}  // namespace pag
