#include "server/boleto_state.h"

#include "platform/format.h"
#include "server/boleto_key.h"
#include "server/boleto_rules.h"
#include "server/cash_budget.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

std::string textOf(const Statement& st, int i) {
    return st.column(i).asString();
}

Date dateOf(const Statement& st, int i) {
    return st.column(i, FieldType::Date).asDate();
}

}  // namespace

std::optional<BoletoState> findBoleto(Database& db, const std::string& filial,
                                      const std::string& lancamento) {
    Statement st = db.prepare(R"(SELECT B.CDEMPRESA, B.CDFORNECED, B.NRPARCBOLPAG,
       B.NRORIGBOLPAG, B.IDSTATBPAG, B.IDSITUCNABP, B.IDBLOQNFFIN, B.NRLANCANTECIPA,
       T.IDBAIXAUTILP, B.IDBPAGREAL, B.NRLANBOLREAL, B.VRBOLPAG, B.VRFINALBPAG,
       B.DTVENBOLPAG, B.DTATUAVENBOLPAG, B.DTEMISSAO, B.DTENTRSAID
  FROM BOLETPAGAR B
  LEFT JOIN TIPOBAIXAPAG T ON T.CDTPBAIXAPAG = B.CDTPBAIXAPAG
 WHERE )" + boletoKeyCondition("B"));
    bindBoletoKey(st, filial, lancamento);
    if (!st.step()) return std::nullopt;
    BoletoState b;
    b.filial = filial;
    b.lancamento = lancamento;
    b.empresa = textOf(st, 0);
    b.fornecedor = textOf(st, 1);
    b.parcela = textOf(st, 2);
    b.origem = textOf(st, 3);
    b.status = textOf(st, 4);
    b.situacaoCnab = textOf(st, 5);
    b.bloqueio = textOf(st, 6);
    b.antecipacao = textOf(st, 7);
    b.operacaoBaixa = textOf(st, 8);
    b.real = textOf(st, 9) == "S";
    b.absorbed = !st.column(10).isNull();
    b.valor = toCents(st.column(11).asFloat());
    b.valorFinal = toCents(st.column(12).asFloat());
    b.vencimento = dateOf(st, 13);
    b.vencimentoAnterior = dateOf(st, 14);
    b.emissao = dateOf(st, 15);
    b.entrada = dateOf(st, 16);
    return b;
}

BoletoState boletoForCall(OperationCall& call, const std::string& filial,
                          const std::string& lancamento) {
    std::optional<BoletoState> b = findBoleto(call.db, filial, lancamento);
    if (!b)
        throw Refusal("Boleto " + filial + "/" + lancamento +
                      " não encontrado. Ele pode ter sido excluído por outro usuário.");
    call.requireCompany(b->empresa);
    return *b;
}

void requireOpen(const BoletoState& b) {
    if (b.status != "A") throw Refusal(kMsgBoletoBaixado);
}

void requireNotAbsorbed(const BoletoState& b) {
    if (b.absorbed)
        throw Refusal("O boleto " + b.key() +
                      " foi associado a um boleto real e só pode ser alterado por ele.");
}

void requireNoAnticipation(const BoletoState& b) {
    if (!b.antecipacao.empty()) throw Refusal(kMsgAntecipacao);
}

void requireInvoiceReleased(const BoletoState& b) {
    if (b.bloqueio == "B") throw Refusal(kMsgNotaBloqueada);
}

bool sentToBank(const BoletoState& b) {
    return isSentToBank(b.situacaoCnab);
}

void requireNotSent(const BoletoState& b) {
    if (sentToBank(b)) throw Refusal(kMsgEnviadoBanco);
}

void requireSentChangeAllowed(Database& db, const BoletoState& b) {
    if (sentToBank(b) && remittanceChangesControlled(db)) throw Refusal(kMsgEnviadoBanco);
}

void leaveRemittance(Database& db, const BoletoState& b) {
    Statement st = db.prepare(
        "UPDATE BOLETPAGAR SET IDSITUCNABP = '00', NRCNABPAGREM = NULL"
        " WHERE " +
        boletoKeyCondition());
    bindBoletoKey(st, b.filial, b.lancamento);
    st.execute();
}

bool compensated(Database& db, const BoletoState& b) {
    Statement st = db.prepare(R"(SELECT 1 FROM COMPENSABOL CB
  JOIN COMPENSACAO C ON C.NRCOMPENSA = CB.NRCOMPENSA
 WHERE )" + boletoKeyCondition("CB") +
                              R"( AND C.IDSTATCOMP = 'A')");
    bindBoletoKey(st, b.filial, b.lancamento);
    return st.step();
}

int adjustmentCount(Database& db, const BoletoState& b) {
    Statement st = db.prepare("SELECT COUNT(*) FROM AJBOLPAG WHERE " + boletoKeyCondition());
    bindBoletoKey(st, b.filial, b.lancamento);
    st.step();
    return static_cast<int>(st.column(0).asInteger());
}

std::string moneyText(int64_t cents) {
    return formatFloat("#,##0.00", fromCents(cents));
}

std::vector<BoletoPayable> payablesOf(Database& db, const std::string& filial,
                                      const std::string& lancamento) {
    Statement st = db.prepare(R"(SELECT CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG,
       VRORIGPAG, VRATUAPAG, IDSTATPAG
  FROM CNTPAGAR
 WHERE CDFILIBPAG = :F AND NRLANBOLPAG = :L
 ORDER BY CASE IDSTATPAG WHEN 'B' THEN 0 ELSE 1 END,
          CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG)");
    bindBoletoKey(st, filial, lancamento);
    std::vector<BoletoPayable> out;
    while (st.step()) {
        BoletoPayable p;
        p.filial = textOf(st, 0);
        p.nota = textOf(st, 1);
        p.sequencia = textOf(st, 2);
        p.parcela = textOf(st, 3);
        p.original = toCents(st.column(4).asFloat());
        p.atual = toCents(st.column(5).asFloat());
        p.settled = textOf(st, 6) == "B";
        out.push_back(std::move(p));
    }
    return out;
}

}  // namespace pag::server
