#include "contracts/consiste.h"

#include <array>
#include <cctype>

#include "platform/format.h"

namespace pag {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Characters, not bytes: codes and names may carry accented letters.
size_t utf8Length(std::string_view text) {
    size_t n = 0;
    for (char c : text)
        if (!isContinuationByte(c)) ++n;
    return n;
}

}  // namespace

bool EmptyString(std::string_view text) {
    for (char c : text)
        if (!isBlank(c)) return false;
    return true;
}

std::string AllTrim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    return std::string(text.substr(b, e - b));
}

std::string Right(std::string_view text, int count) {
    if (count <= 0) return {};
    size_t start = text.size();
    for (int taken = 0; start > 0 && taken < count; ++taken) {
        --start;
        while (start > 0 && isContinuationByte(text[start]))
            --start;
    }
    return std::string(text.substr(start));
}

std::string Ajusta(std::string_view text, int width) {
    std::string code = AllTrim(text);
    if (code.empty()) return code;
    size_t len = utf8Length(code);
    if (width > 0 && len < static_cast<size_t>(width))
        code.insert(0, static_cast<size_t>(width) - len, '0');
    return code;
}

double RoundDec(double value, int decimals) {
    return roundDecimal(value, decimals);
}

std::string NomeSemana(Date date) {
    static const std::array<const char*, 7> kNames = {"Domingo", "Segunda", "Terça", "Quarta",
                                                      "Quinta",  "Sexta",   "Sábado"};
    if (date.isEmpty()) return {};
    return kNames.at(static_cast<size_t>(date.weekday()));
}

std::string PictPess(std::string_view personType) {
    std::string type = AllTrim(personType);
    for (char& c : type)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (type == kPessoaJuridica) return std::string(kMascaraCnpj);
    if (type == kPessoaFisica) return std::string(kMascaraCpf);
    return {};
}

std::string formatWithMask(std::string_view mask, std::string_view number) {
    std::string text = AllTrim(number);
    size_t slots = 0;
    for (char c : mask)
        if (c == '9' || c == '0') ++slots;
    std::string digits;
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
        // Punctuation of an already formatted number is dropped; anything else means
        // the number has another layout and is shown as stored.
        else if (c != '.' && c != '-' && c != '/' && c != ' ')
            return text;
    }
    if (slots == 0 || digits.empty() || digits.size() > slots) return text;
    digits.insert(0, slots - digits.size(), '0');
    std::string out;
    size_t next = 0;
    for (char c : mask)
        out += (c == '9' || c == '0') ? digits[next++] : c;
    return out;
}

std::string formatPersonDocument(std::string_view personType, std::string_view number) {
    return formatWithMask(PictPess(personType), number);
}

}  // namespace pag
