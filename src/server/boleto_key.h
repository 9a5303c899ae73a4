#pragma once

#include <string>
#include <string_view>

#include "platform/sql/statement.h"

namespace pag::server {

// What identifies a boleto, and the rows of other tables that belong to it.
struct BoletoKey {
    std::string filial;
    std::string lancamento;
    std::string text() const { return filial + "/" + lancamento; }
    bool operator==(const BoletoKey&) const = default;
};

// The condition that picks one boleto's rows: "CDFILIAL = :F AND NRLANBOLPAG = :L",
// each column after "alias." when an alias is given. Bind it with bindBoletoKey.
std::string boletoKeyCondition(std::string_view alias = {});

// Binds the key to the condition's parameters (or to others named by the caller).
void bindBoletoKey(Statement& st, const BoletoKey& key, const char* filial = "F",
                   const char* lancamento = "L");
void bindBoletoKey(Statement& st, const std::string& filial, const std::string& lancamento);

}  // namespace pag::server
