#include "server/boleto_key.h"

namespace pag::server {

std::string boletoKeyCondition(std::string_view alias) {
    const std::string prefix = alias.empty() ? std::string() : std::string(alias) + ".";
    return prefix + "CDFILIAL = :F AND " + prefix + "NRLANBOLPAG = :L";
}

void bindBoletoKey(Statement& st, const BoletoKey& key, const char* filial,
                   const char* lancamento) {
    st.bind(filial, Value(key.filial));
    st.bind(lancamento, Value(key.lancamento));
}

void bindBoletoKey(Statement& st, const std::string& filial, const std::string& lancamento) {
    bindBoletoKey(st, BoletoKey{filial, lancamento});
}

}  // namespace pag::server
