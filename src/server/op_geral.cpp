// GetGeral: the general, accounts-payable and branch parameters, read once per screen.
#include "server/dataset_fields.h"
#include "server/operations.h"
#include "server/packet_builder.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

Packet paramGeral(Database& db, const std::string& filial) {
    // The parameter set of the branch wins over the one without branch.
    Statement st = db.prepare(
        "SELECT * FROM PARAMGERAL WHERE CDFILIAL = :F OR CDFILIAL IS NULL"
        " ORDER BY CASE WHEN CDFILIAL IS NULL THEN 1 ELSE 0 END, CDPARGERAL LIMIT 1");
    st.bind("F", Value(filial));
    Packet p = packetFromStatement(st, paramGeralFields());
    if (p.rowCount() == 0) throw Refusal("Parâmetros gerais não cadastrados.");
    return p;
}

Packet geralPag(Database& db) {
    Statement st = db.prepare("SELECT * FROM GERALPAG ORDER BY CDGERALPAG LIMIT 1");
    Packet p = packetFromStatement(st, geralPagFields());
    if (p.rowCount() == 0) throw Refusal("Parâmetros do contas a pagar não cadastrados.");
    return p;
}

Packet paramFilial(Database& db, const std::string& filial) {
    Statement st = db.prepare("SELECT NRTAMNUMNFUT FROM PARAMFILIAL WHERE CDFILIAL = :F");
    st.bind("F", Value(filial));
    return packetFromStatement(st, paramFilialFields());
}

// GetGeral (processing branch) -> [PARAMGERAL, GERALPAG, PARAMFILIAL].
Value getGeral(OperationCall& call) {
    const std::string filial = call.text(0);
    return Value(ValueArray{packetValue(paramGeral(call.db, filial)),
                            packetValue(geralPag(call.db)),
                            packetValue(paramFilial(call.db, filial))});
}

}  // namespace

void registerGeralOperations(OperationRegistry& r) {
    r.add("GetGeral", Access::Read, getGeral);
}

}  // namespace pag::server
