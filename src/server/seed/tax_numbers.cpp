#include "server/seed/tax_numbers.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <vector>

namespace pag::server {

namespace {

bool allDigits(std::string_view s, size_t count) {
    return s.size() == count && std::all_of(s.begin(), s.end(), [](char c) {
               return std::isdigit(static_cast<unsigned char>(c));
           });
}

// Weighted sum modulo 11: remainder below 2 gives 0, else 11 - remainder.
char checkDigit(std::string_view digits, const std::vector<int>& weights) {
    int sum = 0;
    for (size_t i = 0; i < digits.size(); ++i)
        sum += (digits[i] - '0') * weights[i];
    const int r = sum % 11;
    return static_cast<char>('0' + (r < 2 ? 0 : 11 - r));
}

std::vector<int> cpfWeights(size_t n) {
    std::vector<int> w;
    for (size_t i = 0; i < n; ++i)
        w.push_back(static_cast<int>(n + 1 - i));
    return w;
}

std::vector<int> cnpjWeights(size_t n) {
    // 5,4,3,2,9,8,7,6,5,4,3,2 for 12 digits; 6,5,4,3,2,9,... for 13.
    std::vector<int> w;
    int weight = static_cast<int>(n) - 7;
    for (size_t i = 0; i < n; ++i) {
        w.push_back(weight);
        weight = weight == 2 ? 9 : weight - 1;
    }
    return w;
}

}  // namespace

std::string cpfFromBase(std::string_view base9) {
    if (!allDigits(base9, 9)) throw std::invalid_argument("Base de CPF deve ter 9 dígitos.");
    std::string s(base9);
    s += checkDigit(s, cpfWeights(9));
    s += checkDigit(s, cpfWeights(10));
    return s;
}

std::string cnpjFromBase(std::string_view base12) {
    if (!allDigits(base12, 12)) throw std::invalid_argument("Base de CNPJ deve ter 12 dígitos.");
    std::string s(base12);
    s += checkDigit(s, cnpjWeights(12));
    s += checkDigit(s, cnpjWeights(13));
    return s;
}

bool validCpf(std::string_view cpf) {
    return allDigits(cpf, 11) && cpfFromBase(cpf.substr(0, 9)) == cpf;
}

bool validCnpj(std::string_view cnpj) {
    return allDigits(cnpj, 14) && cnpjFromBase(cnpj.substr(0, 12)) == cnpj;
}

}  // namespace pag::server
