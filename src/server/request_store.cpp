#include "server/request_store.h"

#include <openssl/evp.h>

#include <nlohmann/json.hpp>

#include "platform/dataset/packet.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

constexpr size_t kMaxRequestId = 100;  // REQUISICAO.IDREQUISICAO

std::string sha256Hex(const std::string& text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(text.data(), text.size(), digest, &size, EVP_sha256(), nullptr);
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < size; ++i) {
        out += hex[digest[i] >> 4];
        out += hex[digest[i] & 15];
    }
    return out;
}

}  // namespace

std::string callDigest(const CallContext& ctx, const std::string& operation,
                       const std::vector<Value>& args) {
    nlohmann::json encoded = nlohmann::json::array();
    for (const Value& a : args)
        encoded.push_back(valueToJson(a));
    // A JSON array keeps each part apart: no two different calls encode alike.
    const nlohmann::json call = {ctx.operador, ctx.empresa, ctx.filial, operation, encoded};
    return sha256Hex(call.dump());
}

std::optional<StoredAnswer> findStoredAnswer(Database& db, const std::string& requestId,
                                             const std::string& digest) {
    if (requestId.size() > kMaxRequestId)
        throw Refusal("Identificador de requisição longo demais (máximo de " +
                      std::to_string(kMaxRequestId) + " caracteres); nada foi executado.");
    Statement st =
        db.prepare("SELECT DSRESUMO, DSRESPOSTA FROM REQUISICAO WHERE IDREQUISICAO = :ID");
    st.bind("ID", Value(requestId));
    if (!st.step()) return std::nullopt;
    if (st.column(0).isNull() || st.column(0).asString() != digest)
        throw Refusal("Identificador de requisição " + requestId +
                      " já usado por outra chamada (outro operador, empresa, operação ou "
                      "argumentos); nada foi executado. Use um identificador novo.");
    nlohmann::json j = nlohmann::json::parse(st.column(1).asString());
    StoredAnswer answer;
    answer.result = valueFromJson(j.at("result"));
    for (const auto& a : j.at("args"))
        answer.args.push_back(valueFromJson(a));
    return answer;
}

void storeAnswer(Database& db, const std::string& requestId, const std::string& operation,
                 const CallContext& ctx, const std::string& digest, const StoredAnswer& answer) {
    nlohmann::json args = nlohmann::json::array();
    for (const Value& a : answer.args)
        args.push_back(valueToJson(a));
    nlohmann::json j = {{"result", valueToJson(answer.result)}, {"args", std::move(args)}};
    Statement st = db.prepare(
        "INSERT INTO REQUISICAO (IDREQUISICAO, NMOPERACAO, CDOPERADOR, CDEMPRESA, CDFILIAL,"
        " DSRESUMO, DSRESPOSTA) VALUES (:ID, :OP, :OPER, :EMP, :FIL, :RESUMO, :RESP)");
    st.bind("ID", Value(requestId));
    st.bind("OP", Value(operation));
    st.bind("OPER", Value(ctx.operador));
    st.bind("EMP", Value(ctx.empresa));
    st.bind("FIL", Value(ctx.filial));
    st.bind("RESUMO", Value(digest));
    st.bind("RESP", Value(j.dump()));
    st.execute();
}

}  // namespace pag::server
