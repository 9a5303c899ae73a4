#include "server/request_store.h"

#include <nlohmann/json.hpp>

#include "platform/dataset/packet.h"
#include "server/refusal.h"

namespace pag::server {

std::optional<StoredAnswer> findStoredAnswer(Database& db, const std::string& requestId,
                                             const std::string& operation) {
    Statement st =
        db.prepare("SELECT NMOPERACAO, DSRESPOSTA FROM REQUISICAO WHERE IDREQUISICAO = :ID");
    st.bind("ID", Value(requestId));
    if (!st.step()) return std::nullopt;
    if (st.column(0).asString() != operation)
        throw Refusal("Identificador de requisição " + requestId + " já usado pela operação " +
                      st.column(0).asString() + ".");
    nlohmann::json j = nlohmann::json::parse(st.column(1).asString());
    StoredAnswer answer;
    answer.result = valueFromJson(j.at("result"));
    for (const auto& a : j.at("args"))
        answer.args.push_back(valueFromJson(a));
    return answer;
}

void storeAnswer(Database& db, const std::string& requestId, const std::string& operation,
                 const std::string& operador, const StoredAnswer& answer) {
    nlohmann::json args = nlohmann::json::array();
    for (const Value& a : answer.args)
        args.push_back(valueToJson(a));
    nlohmann::json j = {{"result", valueToJson(answer.result)}, {"args", std::move(args)}};
    Statement st = db.prepare(
        "INSERT INTO REQUISICAO (IDREQUISICAO, NMOPERACAO, CDOPERADOR, DSRESPOSTA)"
        " VALUES (:ID, :OP, :OPER, :RESP)");
    st.bind("ID", Value(requestId));
    st.bind("OP", Value(operation));
    st.bind("OPER", Value(operador));
    st.bind("RESP", Value(j.dump()));
    st.execute();
}

}  // namespace pag::server
