#pragma once

#include <string>
#include <string_view>

namespace pag::server {

// Brazilian tax numbers with their two check digits (modulo 11), for demo data.
// cpfFromBase: 9 digits -> 11-digit CPF; cnpjFromBase: 12 digits -> 14-digit CNPJ.
// A base that is not all digits of the right count throws std::invalid_argument.
std::string cpfFromBase(std::string_view base9);
std::string cnpjFromBase(std::string_view base12);

// True when the number's check digits are right (digits only, 11 or 14 of them).
bool validCpf(std::string_view cpf);
bool validCnpj(std::string_view cnpj);

}  // namespace pag::server
