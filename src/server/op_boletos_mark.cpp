// GetMarcaTBoletos: "mark all" of the boleto grid, decided on the stored boletos.
#include <cmath>
#include <set>

#include "platform/format.h"
#include "server/boleto_key.h"
#include "server/boleto_rules.h"
#include "server/operations.h"
#include "server/packet_builder.h"
#include "server/refusal.h"
#include "server/stored_boletos.h"

namespace pag::server {

namespace {

// The guards of marking one boleto in the grid, on its stored state: still open and
// listed, not tied to an anticipation nor to a blocked invoice, a value other than
// zero, and not in a remittance while the parameters forbid touching those.
bool mayBeMarked(const Statement& st, bool remittanceControlled) {
    if (st.text(1) != "A" || !st.column(2).isNull()) return false;  // settled or absorbed
    if (!st.text(3).empty()) return false;                          // anticipation
    if (st.text(4) == "B") return false;                            // blocked invoice
    if (roundToCents(st.column(6).asFloat()) == 0) return false;
    return !(remittanceControlled && isSentToBank(std::string(st.text(5))));
}

// GetMarcaTBoletos (full content of cdsBoletos) -> [the same boletos with IDMARCADO set,
// number marked, their net value total].
Value getMarcaTBoletos(OperationCall& call) {
    const Packet& in = call.packet(0);
    if (in.isDelta) throw Refusal("GetMarcaTBoletos recebe o conteúdo completo de cdsBoletos.");
    const size_t filialAt = requiredListField(in, "CDFILIAL");
    const size_t lancAt = requiredListField(in, "NRLANBOLPAG");
    const size_t valorAt = requiredListField(in, "VRFINALBPAG");
    const size_t marcaAt = requiredListField(in, "IDMARCADO");
    const bool controlled = remittanceChangesControlled(call.db);

    std::vector<char> marked(in.rows.size(), 0);
    std::set<std::string, std::less<>> companiesChecked;
    const char* columns =
        "CDEMPRESA, IDSTATBPAG, NRLANBOLREAL, NRLANCANTECIPA, IDBLOQNFFIN, IDSITUCNABP, "
        "VRFINALBPAG";
    forEachStoredBoleto(call.db, in, filialAt, lancAt, columns, [&](size_t r, const Statement& st) {
        if (const std::string_view empresa = st.text(0); !companiesChecked.contains(empresa)) {
            call.requireCompany(std::string(empresa));
            companiesChecked.emplace(empresa);
        }
        marked[r] = mayBeMarked(st, controlled);
    });
    // The list comes back with its marks set: changed in place when the caller gave it
    // away, once nothing can refuse the call any more.
    const std::shared_ptr<Packet> out = call.takePacket(0);
    int64_t count = 0, cents = 0;
    const Value sim("S"), nao("N");
    for (size_t r = 0; r < out->rows.size(); ++r) {
        std::string& row = out->rows[r];
        out->layout.set(row, marcaAt, marked[r] ? sim : nao);
        if (!marked[r]) continue;
        ++count;
        // The total the grid keeps: the shown net values, each to the cent, summed in cents.
        cents += roundToCents(out->layout.get(row, valorAt).asFloat());
    }
    return Value(
        ValueArray{Value(PacketPtr(out)), Value(count), Value(static_cast<double>(cents) / 100.0)});
}

}  // namespace

void registerBoletoMarkOperations(OperationRegistry& r) {
    r.add("GetMarcaTBoletos", Access::Read, getMarcaTBoletos);
}

}  // namespace pag::server
