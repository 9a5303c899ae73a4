#include "server/payment_transfer.h"

namespace pag::server {

namespace {

std::string textOf(const Value& v) {
    return v.isNull() ? std::string() : v.asString();
}

// The payee account every boleto names, or an empty one when they differ or name none.
Payee commonPayee(const std::vector<StoredBoleto>& boletos) {
    Payee p;
    if (boletos.empty()) return p;
    const StoredBoleto& first = boletos.front();
    for (const StoredBoleto& b : boletos)
        if (b.bancoBolp != first.bancoBolp || b.agenciaBolp != first.agenciaBolp ||
            b.contaBolp != first.contaBolp)
            return p;
    p.banco = first.bancoBolp;
    p.agencia = first.agenciaBolp;
    p.conta = first.contaBolp;
    return p;
}

}  // namespace

PayingAccount findPayingAccount(Database& db, const std::string& empresa,
                                const std::string& codigo) {
    Statement st = db.prepare(
        "SELECT CDBANCO, CDTPBXCREDCONT, CDTPBAIXADOC, CDTPBAIXATED, VRLIMITEDOC FROM CONTCORR"
        " WHERE CDEMPRESA = :E AND CDREDUCONT = :C",
        {{"E", Value(empresa)}, {"C", Value(codigo)}});
    PayingAccount a;
    if (!st.step()) return a;
    a.empresa = empresa;
    a.codigo = codigo;
    a.banco = textOf(st.column(0));
    a.tipoCredito = textOf(st.column(1));
    a.tipoDoc = textOf(st.column(2));
    a.tipoTed = textOf(st.column(3));
    a.limiteDoc = st.column(4).isNull() ? 0 : toCents(st.column(4).asFloat());
    return a;
}

void checkTransferParameters(const PayingAccount& account) {
    if (account.tipoCredito.empty() || account.tipoDoc.empty() || account.tipoTed.empty())
        throw Refusal("Tipo de Baixa para transferência eletrônica não parametrizado.");
    if (account.limiteDoc <= 0)
        throw Refusal("Valor limite de DOC não informado para conta corrente informada.");
}

std::string transferSettlementType(const PayingAccount& account, const std::string& payeeBank,
                                   int64_t valueCents) {
    if (payeeBank == account.banco) return account.tipoCredito;
    return valueCents <= account.limiteDoc ? account.tipoDoc : account.tipoTed;
}

Payee choosePayee(Database& db, const std::string& fornecedor,
                  const std::vector<StoredBoleto>& boletos, const std::string& payingBank) {
    const Payee named = commonPayee(boletos);
    Statement st = db.prepare(R"(SELECT A.CDBANCFORN, A.CDAGENFORN, A.CDCCORFORN,
       CASE WHEN COALESCE(A.NRINSCNABFOR, '') = '' THEN F.IDTPIJURFORN ELSE A.IDTPICNABFOR END,
       CASE WHEN COALESCE(A.NRINSCNABFOR, '') = '' THEN F.NRINSJURFORN ELSE A.NRINSCNABFOR END
  FROM CCORFORN A
  JOIN FORNECEDOR F ON F.CDFORNECED = A.CDFORNECED
 WHERE A.CDFORNECED = :FORN
 ORDER BY CASE WHEN A.CDBANCFORN = :NB AND A.CDAGENFORN = :NA AND A.CDCCORFORN = :NC THEN 0
               WHEN A.CDBANCFORN = :PB THEN 1 ELSE 2 END,
          A.CDBANCFORN, A.CDAGENFORN, A.CDCCORFORN
 LIMIT 1)");
    st.bind("FORN", Value(fornecedor));
    st.bind("NB", Value(named.banco));
    st.bind("NA", Value(named.agencia));
    st.bind("NC", Value(named.conta));
    st.bind("PB", Value(payingBank));
    if (!st.step())
        throw Refusal("Fornecedor " + fornecedor +
                      " não possui conta bancária cadastrada para receber transferência.");
    return {textOf(st.column(0)), textOf(st.column(1)), textOf(st.column(2)), textOf(st.column(3)),
            textOf(st.column(4))};
}

}  // namespace pag::server
