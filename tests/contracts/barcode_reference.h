#pragma once

// Check digits and layouts written straight from the published FEBRABAN rules, apart
// from the library, so that the tests build their vectors without trusting the code
// under test.

#include <string>

namespace pag::testref {

inline int weightedSum11(const std::string& digits) {
    int sum = 0;
    for (size_t i = 0; i < digits.size(); ++i) {
        int weight = 2 + static_cast<int>(i % 8);  // 2..9 from the right, repeating
        sum += (digits[digits.size() - 1 - i] - '0') * weight;
    }
    return sum;
}

inline char mod10(const std::string& digits) {
    int sum = 0;
    bool twice = true;  // the rightmost digit is doubled
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        int product = (*it - '0') * (twice ? 2 : 1);
        sum += product / 10 + product % 10;
        twice = !twice;
    }
    int remainder = sum % 10;
    return static_cast<char>('0' + (remainder == 0 ? 0 : 10 - remainder));
}

inline char bankMod11(const std::string& digits) {
    int dv = 11 - weightedSum11(digits) % 11;
    if (dv == 0 || dv == 10 || dv == 11) dv = 1;
    return static_cast<char>('0' + dv);
}

inline char collectionMod11(const std::string& digits) {
    int remainder = weightedSum11(digits) % 11;
    if (remainder == 0 || remainder == 1) return '0';
    if (remainder == 10) return '1';
    return static_cast<char>('0' + 11 - remainder);
}

// 44-digit bank barcode from its parts (bank 3, factor 4, value 10, free field 25).
inline std::string bankBarcode(const std::string& bank, const std::string& factor,
                               const std::string& value, const std::string& freeField) {
    std::string body = bank + "9" + factor + value + freeField;  // 43 digits
    return body.substr(0, 4) + bankMod11(body) + body.substr(4);
}

// The printed line of a bank barcode.
inline std::string bankLine(const std::string& b) {
    std::string f1 = b.substr(0, 3) + b.substr(3, 1) + b.substr(19, 5);
    std::string f2 = b.substr(24, 10);
    std::string f3 = b.substr(34, 10);
    f1 += mod10(f1);
    f2 += mod10(f2);
    f3 += mod10(f3);
    return f1.substr(0, 5) + "." + f1.substr(5, 5) + " " + f2.substr(0, 5) + "." + f2.substr(5, 6) +
           " " + f3.substr(0, 5) + "." + f3.substr(5, 6) + " " + b.substr(4, 1) + " " +
           b.substr(5, 4) + b.substr(9, 10);
}

inline char collectionDigit(const std::string& digits, char valueType) {
    return (valueType == '6' || valueType == '7') ? mod10(digits) : collectionMod11(digits);
}

// 44-digit collection barcode: "8", segment, value type, check digit, value 11,
// then 29 digits of company and free field.
inline std::string collectionBarcode(char segment, char valueType, const std::string& value,
                                     const std::string& rest) {
    std::string body = std::string("8") + segment + valueType + value + rest;  // 43 digits
    return body.substr(0, 3) + collectionDigit(body, valueType) + body.substr(3);
}

inline std::string collectionLine(const std::string& b) {
    std::string line;
    for (int block = 0; block < 4; ++block) {
        std::string data = b.substr(static_cast<size_t>(block) * 11, 11);
        if (block > 0) line += " ";
        line += data + "-" + collectionDigit(data, b[2]);
    }
    return line;
}

inline std::string digitsOf(const std::string& text) {
    std::string d;
    for (char c : text)
        if (c >= '0' && c <= '9') d += c;
    return d;
}

}  // namespace pag::testref
