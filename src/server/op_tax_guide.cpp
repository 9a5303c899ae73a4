// The tax payment guide data stored on a boleto paid by a tax guide.
#include <string_view>

#include "contracts/consiste.h"
#include "server/boleto_key.h"
#include "server/boleto_rules.h"
#include "server/boleto_state.h"
#include "server/operations.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

// Settlement operation codes that pay a tax guide.
constexpr std::string_view kGuideOperations = "GHIJKUVX";

// A text argument for a column of `size` characters; blank is no value.
Value guideText(const OperationCall& call, size_t i, const char* what, size_t size) {
    const std::string v = AllTrim(call.text(i));
    if (v.size() > size)
        throw Refusal(std::string(what) + " deve ter no máximo " + std::to_string(size) +
                      " caracteres.");
    return v.empty() ? Value() : Value(v);
}

// The revenue code is kept in 4 characters; the guide dialog brings it to 10 with zeros
// on the left, which are not part of the code.
Value revenueCode(const OperationCall& call) {
    std::string v = AllTrim(call.text(2));
    while (v.size() > 4 && v.front() == '0')
        v.erase(0, 1);
    if (v.empty()) throw Refusal("Código da receita deve ser informado.");
    if (v.size() > 4)
        throw Refusal("Código da receita " + v + " inválido: deve ter no máximo 4 dígitos.");
    return Value(v);
}

Value guideNumber(const OperationCall& call, size_t i, const char* what) {
    const double v = call.number(i);
    if (v < 0) throw Refusal(std::string(what) + " não pode ser negativo.");
    return Value(v);
}

// SetTribBol (launch number, branch, code, date, reference, value, seal, seal digits,
// percent, notification).
Value setTribBol(OperationCall& call) {
    const BoletoState b = boletoForCall(call, AllTrim(call.text(1)), AllTrim(call.text(0)));
    requireOpen(b);
    requireNotAbsorbed(b);
    if (kGuideOperations.find(b.operacaoBaixa.empty() ? ' ' : b.operacaoBaixa[0]) ==
        std::string_view::npos)
        throw Refusal(
            "Operação disponível apenas para boletos com tipo de baixa: Darf Simples, Darf "
            "Normal, FGTS, GPS, IPVA, DPVAT, DARJ");
    if (b.situacaoCnab != "00") throw Refusal(kMsgEnviadoBanco);
    const Date data = call.date(3);
    Statement st = call.db.prepare(R"(UPDATE BOLETPAGAR
   SET CDRECEITAGUIA = :COD, DTAPURACGUIA = :DT, NRREFEGUIA = :REF, VROUTRENTGUIA = :VR,
       NRLACRCONECTSOC = :LAC, NRDIGICONECTSOC = :DIG, VRPERCENTTRIB = :PERC,
       NRPARCELNOTIFIC = :NOT
 WHERE )" + boletoKeyCondition());
    st.bind("COD", revenueCode(call));
    st.bind("DT", data.isEmpty() ? Value() : Value(data));
    st.bind("REF", guideText(call, 4, "Número de referência", 20));
    st.bind("VR", guideNumber(call, 5, "Valor"));
    st.bind("LAC", guideText(call, 6, "Lacre de conectividade social", 9));
    st.bind("DIG", guideText(call, 7, "Dígito de conectividade social", 2));
    st.bind("PERC", guideNumber(call, 8, "Percentual"));
    st.bind("NOT", guideText(call, 9, "Nº parcela/notificação", 13));
    bindBoletoKey(st, b.filial, b.lancamento);
    st.execute();
    return Value();
}

}  // namespace

void registerTaxGuideOperations(OperationRegistry& r) {
    r.add("SetTribBol", Access::Write, setTribBol);
}

}  // namespace pag::server
