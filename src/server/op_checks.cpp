// The fresh checks the screen makes before it lets a change start: remittance situation,
// compensations, barcodes already taken and the due-date extension permission.
#include <set>

#include "contracts/consiste.h"
#include "platform/format.h"
#include "server/boleto_key.h"
#include "server/boleto_rules.h"
#include "server/dataset_fields.h"
#include "server/operations.h"
#include "server/packet_builder.h"
#include "server/refusal.h"
#include "server/stored_boletos.h"

namespace pag::server {

namespace {

// Tied to a compensation that is still open (a cancelled one frees the boleto).
constexpr const char* kCompensated =
    "EXISTS (SELECT 1 FROM COMPENSABOL CB JOIN COMPENSACAO C ON C.NRCOMPENSA = CB.NRCOMPENSA"
    " WHERE CB.CDFILIAL = B.CDFILIAL AND CB.NRLANBOLPAG = B.NRLANBOLPAG"
    " AND C.IDSTATCOMP = 'A')";

// GetSitCNAB (launch number, branch) -> cdsSitCNAB: the stored situation, no row when
// the boleto does not exist.
Value getSitCnab(OperationCall& call) {
    const std::string lancamento = call.text(0), filial = call.text(1);
    requireBoletoCompany(call, filial, lancamento);
    Statement st =
        call.db.prepare("SELECT IDSITUCNABP FROM BOLETPAGAR WHERE " + boletoKeyCondition());
    bindBoletoKey(st, filial, lancamento);
    return packetValue(packetFromStatement(st, sitCnabFields()));
}

// GetSitCNABBoletos (a list with CDFILIAL and NRLANBOLPAG, as cdsChaveBol) -> the stored
// situation of each listed boleto that exists (CDFILIAL, NRLANBOLPAG, IDSITUCNABP): what
// GetSitCNAB answers for one boleto, read once for a walk over many.
Value getSitCnabBoletos(OperationCall& call) {
    const Packet& keys = call.packet(0);
    const size_t filialAt = requiredListField(keys, "CDFILIAL");
    const size_t lancAt = requiredListField(keys, "NRLANBOLPAG");
    Packet out({{"CDFILIAL", FieldType::Text, 4},
                {"NRLANBOLPAG", FieldType::Text, 10},
                {"IDSITUCNABP", FieldType::Text, 2}});
    std::set<std::string> companiesChecked;
    forEachStoredBoleto(call.db, keys, filialAt, lancAt, "CDEMPRESA, IDSITUCNABP",
                        [&](size_t r, const Statement& st) {
                            const std::string empresa = st.column(0).asString();
                            if (companiesChecked.insert(empresa).second)
                                call.requireCompany(empresa);
                            out.addRow({keys.layout.get(keys.rows[r], filialAt),
                                        keys.layout.get(keys.rows[r], lancAt), st.column(1)});
                        });
    return packetValue(std::move(out));
}

// GetVdBolCompensado (branch, launch number) -> "TRUE" or "FALSE", read by the screen
// as text.
Value getVdBolCompensado(OperationCall& call) {
    const std::string filial = call.text(0), lancamento = call.text(1);
    requireBoletoCompany(call, filial, lancamento);
    Statement st = call.db.prepare(std::string("SELECT 1 FROM BOLETPAGAR B") + " WHERE " +
                                   boletoKeyCondition("B") + " AND " + kCompensated);
    bindBoletoKey(st, filial, lancamento);
    return Value(st.step() ? "TRUE" : "FALSE");
}

// GetVdTBolCompensado (content of cdsChaveBol) -> "" when no listed boleto is tied to a
// compensation, else the key of the first one that is: the branch in characters 1 to 4,
// the launch number from character 5.
Value getVdTBolCompensado(OperationCall& call) {
    const Packet& keys = call.packet(0);
    if (keys.fieldIndex("CDFILIAL") < 0 || keys.fieldIndex("NRLANBOLPAG") < 0)
        throw Refusal("Lista de boletos sem os campos CDFILIAL e NRLANBOLPAG.");
    Statement st = call.db.prepare(std::string("SELECT B.CDEMPRESA, ") + kCompensated +
                                   " FROM BOLETPAGAR B"
                                   " WHERE " +
                                   boletoKeyCondition("B"));
    std::set<std::string> companiesChecked;
    for (size_t r = 0; r < keys.rowCount(); ++r) {
        const std::string filial = keys.value(r, "CDFILIAL").asString();
        const std::string lancamento = keys.value(r, "NRLANBOLPAG").asString();
        st.reset();
        bindBoletoKey(st, filial, lancamento);
        if (!st.step()) continue;
        const std::string empresa = st.column(0).asString();
        if (companiesChecked.insert(empresa).second) call.requireCompany(empresa);
        if (st.column(1).asInteger() == 0) continue;
        std::string key = filial;
        key.resize(4, ' ');
        return Value(key + lancamento);
    }
    return Value("");
}

// GetVd_BarraPag (company, barcode) -> cdsVd_BarraPag: the boletos and anticipations of
// the company that carry the barcode.
Value getVdBarraPag(OperationCall& call) {
    const std::string empresa = call.text(0), barcode = AllTrim(call.text(1));
    call.requireCompany(empresa);
    if (barcode.empty()) return packetValue(Packet(vdBarraPagFields()));
    return packetValue(barcodeCarriers(call.db, empresa, barcode));
}

// GetContProrVenc (logged operator) -> [the extension control in force for the login
// company, the operator's membership of the groups allowed to extend]. The screen only
// asks whether each is empty.
Value getContProrVenc(OperationCall& call) {
    const std::string operador = AllTrim(call.text(0));
    if (operador.empty()) throw Refusal("Operador não informado.");
    if (!equalsIgnoreCase(operador, call.ctx.operador))
        throw Refusal("Operador " + operador + " difere do operador conectado " +
                      call.ctx.operador + ".");
    Statement control = call.db.prepare(
        "SELECT CDEMPRESA, IDCONTROLA, DTINICIO FROM CONTPRORVENC"
        " WHERE CDEMPRESA = :E AND IDCONTROLA = 'S'"
        " AND (DTINICIO IS NULL OR DTINICIO <= :HOJE)");
    control.bind("HOJE", Value(Date::today()));
    control.bind("E", Value(call.ctx.empresa));
    Statement groups = call.db.prepare(
        "SELECT G.CDGRUPOPROR, G.NMGRUPOPROR, O.CDOPERADOR"
        "  FROM GRUPOPROROPER O JOIN GRUPOPROR G ON G.CDGRUPOPROR = O.CDGRUPOPROR"
        " WHERE O.CDOPERADOR = :O ORDER BY G.CDGRUPOPROR");
    groups.bind("O", Value(call.ctx.operador));
    const std::vector<PacketField> controlFields = {{"CDEMPRESA", FieldType::Text, 2},
                                                    {"IDCONTROLA", FieldType::Text, 1},
                                                    {"DTINICIO", FieldType::Date, 0}};
    const std::vector<PacketField> groupFields = {{"CDGRUPOPROR", FieldType::Text, 6},
                                                  {"NMGRUPOPROR", FieldType::Text, 40},
                                                  {"CDOPERADOR", FieldType::Text, 20}};
    return Value(ValueArray{packetValue(packetFromStatement(control, controlFields)),
                            packetValue(packetFromStatement(groups, groupFields))});
}

}  // namespace

void registerCheckOperations(OperationRegistry& r) {
    r.add("GetSitCNAB", Access::Read, getSitCnab);
    r.add("GetSitCNABBoletos", Access::Read, getSitCnabBoletos);
    r.add("GetVdBolCompensado", Access::Read, getVdBolCompensado);
    r.add("GetVdTBolCompensado", Access::Read, getVdTBolCompensado);
    r.add("GetVd_BarraPag", Access::Read, getVdBarraPag);
    r.add("GetContProrVenc", Access::Read, getContProrVenc);
}

}  // namespace pag::server
