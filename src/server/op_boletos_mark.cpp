// GetMarcaTBoletos: "mark all" of the boleto grid, decided on the stored boletos.
#include <cmath>
#include <set>

#include "platform/format.h"
#include "server/boleto_key.h"
#include "server/boleto_rules.h"
#include "server/operations.h"
#include "server/packet_builder.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

size_t requiredField(const Packet& p, const char* name) {
    const int i = p.fieldIndex(name);
    if (i < 0) throw Refusal(std::string("Pacote de boletos sem o campo ") + name + ".");
    return static_cast<size_t>(i);
}

// The guards of marking one boleto in the grid, on its stored state: still open and
// listed, not tied to an anticipation nor to a blocked invoice, a value other than
// zero, and not in a remittance while the parameters forbid touching those.
bool mayBeMarked(const Statement& st, bool remittanceControlled) {
    const auto text = [&](int i) { return st.column(i).asString(); };
    if (text(1) != "A" || !st.column(2).isNull()) return false;  // settled or absorbed
    if (!text(3).empty()) return false;                          // anticipation
    if (text(4) == "B") return false;                            // blocked invoice
    if (roundDecimal(st.column(6).asFloat(), 2) == 0) return false;
    return !(remittanceControlled && isSentToBank(text(5)));
}

// GetMarcaTBoletos (full content of cdsBoletos) -> [the same boletos with IDMARCADO set,
// number marked, their net value total].
Value getMarcaTBoletos(OperationCall& call) {
    const Packet& in = call.packet(0);
    if (in.isDelta) throw Refusal("GetMarcaTBoletos recebe o conteúdo completo de cdsBoletos.");
    const size_t filialAt = requiredField(in, "CDFILIAL");
    const size_t lancAt = requiredField(in, "NRLANBOLPAG");
    const size_t valorAt = requiredField(in, "VRFINALBPAG");
    const size_t marcaAt = requiredField(in, "IDMARCADO");
    const bool controlled = remittanceChangesControlled(call.db);

    Statement st = call.db.prepare(
        "SELECT CDEMPRESA, IDSTATBPAG, NRLANBOLREAL, NRLANCANTECIPA, IDBLOQNFFIN, IDSITUCNABP,"
        " VRFINALBPAG FROM BOLETPAGAR WHERE " +
        boletoKeyCondition());
    std::set<std::string> companiesChecked;
    Packet out = in;
    int64_t count = 0, cents = 0;
    for (std::string& row : out.rows) {
        st.reset();
        st.bind("F", out.layout.get(row, filialAt));
        st.bind("L", out.layout.get(row, lancAt));
        bool mark = false;
        if (st.step()) {
            const std::string empresa = st.column(0).asString();
            if (companiesChecked.insert(empresa).second) call.requireCompany(empresa);
            mark = mayBeMarked(st, controlled);
        }
        out.layout.set(row, marcaAt, Value(mark ? "S" : "N"));
        if (!mark) continue;
        ++count;
        // The total the grid keeps: the shown net values, each to the cent, summed in cents.
        const double valor = out.layout.get(row, valorAt).asFloat();
        cents += std::llround(roundDecimal(valor, 2) * 100.0);
    }
    return Value(ValueArray{packetValue(std::move(out)), Value(count),
                            Value(static_cast<double>(cents) / 100.0)});
}

}  // namespace

void registerBoletoMarkOperations(OperationRegistry& r) {
    r.add("GetMarcaTBoletos", Access::Read, getMarcaTBoletos);
}

}  // namespace pag::server
