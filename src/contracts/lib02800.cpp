#include "contracts/lib02800.h"

#include <cctype>

namespace pag {

namespace {

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::string bankLine(std::string_view b) {
    // Fields 1-3 carry bank and currency, then the free field, each with its check digit.
    std::string f1 = std::string(b.substr(0, 4)) + std::string(b.substr(19, 5));
    std::string f2(b.substr(24, 10));
    std::string f3(b.substr(34, 10));
    f1 += Mod10(f1);
    f2 += Mod10(f2);
    f3 += Mod10(f3);
    return f1.substr(0, 5) + "." + f1.substr(5) + " " + f2.substr(0, 5) + "." + f2.substr(5) + " " +
           f3.substr(0, 5) + "." + f3.substr(5) + " " + b[4] + " " + std::string(b.substr(5, 14));
}

std::string collectionLine(std::string_view b) {
    std::string line;
    for (size_t block = 0; block < 4; ++block) {
        std::string_view data = b.substr(block * 11, 11);
        char dv = collectionCheckDigit(data, b[2]);
        if (dv == '\0') return {};
        if (block > 0) line += ' ';
        line += data;
        line += '-';
        line += dv;
    }
    return line;
}

}  // namespace

std::string Nr_Codigo(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (isDigit(c)) digits += c;
    return digits;
}

char Mod10(std::string_view digits) {
    int sum = 0, weight = 2;
    for (size_t i = digits.size(); i-- > 0;) {
        if (!isDigit(digits[i])) continue;
        int product = (digits[i] - '0') * weight;
        sum += product > 9 ? product - 9 : product;  // the digits of the product
        weight = weight == 2 ? 1 : 2;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

char Mod11(std::string_view digits, Mod11Rule rule) {
    int sum = 0, weight = 2;
    for (size_t i = digits.size(); i-- > 0;) {
        if (!isDigit(digits[i])) continue;
        sum += (digits[i] - '0') * weight;
        weight = weight == 9 ? 2 : weight + 1;
    }
    int remainder = sum % 11;
    if (rule == Mod11Rule::Collection)
        return remainder <= 1 ? '0' : static_cast<char>('0' + 11 - remainder);
    int dv = 11 - remainder;
    return dv >= 10 ? '1' : static_cast<char>('0' + dv);
}

char collectionCheckDigit(std::string_view digits, char valueType) {
    switch (valueType) {
        case '6':
        case '7':
            return Mod10(digits);
        case '8':
        case '9':
            return Mod11(digits, Mod11Rule::Collection);
        default:
            return '\0';
    }
}

std::string CodigoBarras(std::string_view line, int kind) {
    std::string l = Nr_Codigo(line);
    bool bank = l.size() == 47 && kind != kLinhaArrecadacao;
    bool collection = l.size() == 48 && kind != kLinhaBancaria;
    if (bank) {
        // bank + currency, general check digit, factor + value, then the free field
        // taken from fields 1 to 3 without their check digits.
        return l.substr(0, 4) + l[32] + l.substr(33, 14) + l.substr(4, 5) + l.substr(10, 10) +
               l.substr(21, 10);
    }
    if (collection) return l.substr(0, 11) + l.substr(12, 11) + l.substr(24, 11) + l.substr(36, 11);
    return l;
}

std::string TransformaBarraLinhaDigi(std::string_view barcode) {
    if (barcode.size() != 44 || Nr_Codigo(barcode).size() != 44) return {};
    return barcode[0] == '8' ? collectionLine(barcode) : bankLine(barcode);
}

Date dueDateFromFactor(int factor, Date today) {
    if (factor <= 0) return Date();
    const Date first = Date::fromYmd(1997, 10, 7).addDays(factor);
    if (factor < 1000) return first;
    constexpr int kCycle = 9000;  // factors 1000 to 9999
    int32_t ahead = today - first;
    int32_t cycles = ahead <= 0 ? 0 : (ahead + kCycle / 2) / kCycle;
    return first.addDays(cycles * kCycle);
}

std::string stripSeparators(std::string_view pasted) {
    std::string out;
    for (char c : pasted)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '.' && c != '-') out += c;
    return out;
}

}  // namespace pag
