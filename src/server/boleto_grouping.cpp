#include "server/boleto_grouping.h"

#include <map>

#include "server/boleto_key.h"
#include "server/boleto_rules.h"

namespace pag::server {

namespace {

const std::map<std::string, std::string>& keyedTexts() {
    static const std::map<std::string, std::string> texts = {
        {"BOL_EXC", "Um dos boletos selecionados foi excluído ou associado por outro usuário."},
        {"BOL_BAIXADO", "Um dos boletos selecionados foi baixado por outro usuário."},
        {"CNT_PREV",
         "Tipo do documento de um dos boletos selecionados foi alterado por outro usuário. "
         "Conta de documento previsto não pode ser associada."},
        {"CNT_PROR",
         "Uma conta foi prorrogada por outro usuário. Contas com vencimento diferente não "
         "podem ser associadas."},
        {"BOL_CNAB", "Boleto enviado ao banco (via CNAB) não pode ser alterado."},
        {"VRBOL_DIF", "Valor de uma conta foi alterado por outro usuário."},
        {"VRBOLF_DIF", "Valor do boleto foi alterado por outro usuário."},
        {"N_pode_agrup",
         "Total de boletos a pagar do mês supera o valor do orçamento. Boletos não podem ser "
         "agrupados."},
    };
    return texts;
}

std::string text(Statement& st, const char* column) {
    const Value v = st.column(st.columnIndex(column));
    return v.isNull() ? std::string() : v.asString();
}

Date date(Statement& st, const char* column) {
    const Value v = st.column(st.columnIndex(column), FieldType::Date);
    return v.isNull() ? Date() : v.asDate();
}

int64_t cents(Statement& st, const char* column) {
    const Value v = st.column(st.columnIndex(column));
    return v.isNull() ? 0 : toCents(v.asFloat());
}

Value dateValue(Date d) {
    return d.isEmpty() ? Value() : Value(d);
}

bool exists(Database& db, const std::string& sql, const BoletoKey& key) {
    Statement st = db.prepare(sql);
    bindBoletoKey(st, key);
    return st.step();
}

const std::string kLoadBoleto = R"(SELECT B.*,
  EXISTS (SELECT 1 FROM COMPENSABOL CB
            JOIN COMPENSACAO C ON C.NRCOMPENSA = CB.NRCOMPENSA AND C.IDSTATCOMP = 'A'
           WHERE CB.CDFILIAL = B.CDFILIAL AND CB.NRLANBOLPAG = B.NRLANBOLPAG) AS COMPENSADO
  FROM BOLETPAGAR B
 WHERE )" + boletoKeyCondition("B");

StoredBoleto readBoleto(Statement& st) {
    StoredBoleto b;
    b.key = {text(st, "CDFILIAL"), text(st, "NRLANBOLPAG")};
    b.empresa = text(st, "CDEMPRESA");
    b.fornecedor = text(st, "CDFORNECED");
    b.tipoConta = text(st, "IDTPCTPAGAR");
    b.situacaoCnab = text(st, "IDSITUCNABP");
    b.status = text(st, "IDSTATBPAG");
    b.parcela = text(st, "NRPARCBOLPAG");
    b.bloqueio = text(st, "IDBLOQNFFIN");
    b.tipoBaixa = text(st, "CDTPBAIXAPAG");
    b.bancoBolp = text(st, "CDBANCBOLP");
    b.agenciaBolp = text(st, "CDAGENBOLP");
    b.contaBolp = text(st, "CDCCORBOLP");
    b.real = text(st, "IDBPAGREAL") == "S";
    b.absorbed = !text(st, "NRLANBOLREAL").empty();
    b.antecipacao = !text(st, "NRLANCANTECIPA").empty();
    b.compensado = st.column(st.columnIndex("COMPENSADO")).asInteger() != 0;
    b.valor = cents(st, "VRBOLPAG");
    b.valorFinal = cents(st, "VRFINALBPAG");
    b.vencimento = date(st, "DTVENBOLPAG");
    b.entrada = date(st, "DTENTRSAID");
    b.emissao = date(st, "DTEMISSAO");
    return b;
}

}  // namespace

void refuseGrouping(const std::string& key) {
    throw GroupingRefusal(key, keyedTexts().at(key));
}

StoredBoleto loadBoleto(Database& db, const BoletoKey& key) {
    Statement st = db.prepare(kLoadBoleto);
    bindBoletoKey(st, key);
    if (!st.step()) refuseGrouping("BOL_EXC");
    return readBoleto(st);
}

void checkAbsorbable(const StoredBoleto& b) {
    if (b.absorbed) refuseGrouping("BOL_EXC");
    if (b.status == "B") refuseGrouping("BOL_BAIXADO");
    if (isSentToBank(b.situacaoCnab)) refuseGrouping("BOL_CNAB");
    if (b.real)
        throw GroupingRefusal("", "O boleto " + b.key.text() +
                                      " já é um boleto real e não pode ser associado a outro.");
    if (b.antecipacao) throw GroupingRefusal("", kMsgAntecipacao);
    if (b.compensado)
        throw GroupingRefusal("", "O boleto " + b.key.text() +
                                      " está ligado a uma compensação e não pode ser associado.");
    if (b.bloqueio == "B") throw GroupingRefusal("", kMsgNotaBloqueada);
}

AccountKind accountKind(const std::string& tipoConta) {
    if (tipoConta == "1") return AccountKind::Normal;
    if (tipoConta == "2") return AccountKind::Advance;
    return AccountKind::Loan;
}

void checkGroupable(const std::vector<StoredBoleto>& parts) {
    bool normal = false, advance = false;
    for (const StoredBoleto& b : parts) {
        if (b.empresa != parts.front().empresa) throw GroupingRefusal("", kEmpresasDiferentes);
        if (b.fornecedor != parts.front().fornecedor)
            throw GroupingRefusal("", kFornecedoresDiferentes);
        switch (accountKind(b.tipoConta)) {
            case AccountKind::Normal:
                normal = true;
                break;
            case AccountKind::Advance:
                advance = true;
                break;
            case AccountKind::Loan:
                throw GroupingRefusal("",
                                      "Operação bloqueada. Não é possível agrupar boletos de tipo "
                                      "de conta \"Empréstimo\".");
        }
        if (normal && advance)
            throw GroupingRefusal("",
                                  "Operação bloqueada. Não é possível agrupar boletos de tipo de "
                                  "conta  \"Adiantamento\" com boletos de tipo de conta "
                                  "\"Normal\" .");
    }
}

GroupTotals totalsOf(const std::vector<StoredBoleto>& parts) {
    GroupTotals t;
    for (const StoredBoleto& b : parts) {
        t.valor += b.valor;
        t.valorFinal += b.valorFinal;
        if (b.entrada > t.entrada) t.entrada = b.entrada;
        if (b.emissao > t.emissao) t.emissao = b.emissao;
    }
    return t;
}

void checkDueAfterEntry(Date due, Date entrada) {
    if (!entrada.isEmpty() && due < entrada)
        throw GroupingRefusal(
            "", "Data de vencimento deve ser maior que a data de entrada do documento.");
}

void insertRealBoleto(Database& db, const BoletoKey& key, const std::string& empresa,
                      const std::string& fornecedor) {
    Statement st = db.prepare(
        "INSERT INTO BOLETPAGAR (CDFILIAL, NRLANBOLPAG, CDEMPRESA, CDFORNECED, IDBPAGREAL)"
        " VALUES (:F, :L, :E, :FORN, 'S')");
    bindBoletoKey(st, key);
    st.bind("E", Value(empresa));
    st.bind("FORN", Value(fornecedor));
    st.execute();
}

void completeRealBoleto(Database& db, const BoletoKey& key, const StoredBoleto& first,
                        const GroupTotals& totals, Date due) {
    Statement st = db.prepare(R"(UPDATE BOLETPAGAR
   SET CDEMPRESA = :E, CDFORNECED = :FORN, NRPARCBOLPAG = '00', NRORIGBOLPAG = NULL,
       CDMOTIPARC = NULL, VRBOLPAG = :V, VRFINALBPAG = :VF, DTENTRSAID = :ENT,
       DTEMISSAO = COALESCE(DTEMISSAO, :EMI), DTVENBOLPAG = :VENC, IDHABIBPAG = 'S',
       IDSTATBPAG = 'A', DTBAIXABPAG = NULL, IDBPAGREAL = 'S', CDFILIREAL = NULL,
       NRLANBOLREAL = NULL, IDSITUCNABP = '00', NRCNABPAGREM = NULL, NRCNABPAGRET = NULL,
       IDTPCTPAGAR = :TP, NRLANCANTECIPA = NULL, IDBLOQNFFIN = NULL
 WHERE )" + boletoKeyCondition());
    bindBoletoKey(st, key);
    st.bind("E", Value(first.empresa));
    st.bind("FORN", Value(first.fornecedor));
    st.bind("V", Value(fromCents(totals.valor)));
    st.bind("VF", Value(fromCents(totals.valorFinal)));
    st.bind("ENT", dateValue(totals.entrada));
    st.bind("EMI", dateValue(totals.emissao));
    st.bind("VENC", dateValue(due));
    st.bind("TP", Value(first.tipoConta.empty() ? std::string("1") : first.tipoConta));
    st.execute();
}

void absorbParts(Database& db, const BoletoKey& real, const std::vector<StoredBoleto>& parts,
                 Date due, BudgetChanges& budget) {
    // The guard on NRLANBOLREAL keeps a part from being absorbed twice in one call.
    Statement point = db.prepare(
        "UPDATE BOLETPAGAR SET CDFILIREAL = :RF, NRLANBOLREAL = :RL"
        " WHERE " +
        boletoKeyCondition() + " AND NRLANBOLREAL IS NULL");
    Statement move = db.prepare(
        "UPDATE CNTPAGAR SET CDFILIBPAGORIG = CDFILIBPAG, NRLANBOLPAGORIG = NRLANBOLPAG,"
        " CDFILIBPAG = :RF, NRLANBOLPAG = :RL WHERE CDFILIBPAG = :F AND NRLANBOLPAG = :L");
    int64_t total = 0;
    for (const StoredBoleto& part : parts) {
        for (Statement* st : {&point, &move}) {
            st->reset();
            bindBoletoKey(*st, real, "RF", "RL");
            bindBoletoKey(*st, part.key);
        }
        if (point.execute() != 1) refuseGrouping("BOL_EXC");
        move.execute();
        budget.add(part.empresa, part.vencimento, -part.valorFinal);
        total += part.valorFinal;
    }
    if (!parts.empty()) budget.add(parts.front().empresa, due, total);
}

std::vector<StoredBoleto> absorbedBy(Database& db, const BoletoKey& real) {
    Statement keys = db.prepare(
        "SELECT CDFILIAL, NRLANBOLPAG FROM BOLETPAGAR WHERE CDFILIREAL = :F AND NRLANBOLREAL = :L"
        " ORDER BY CDFILIAL, NRLANBOLPAG");
    bindBoletoKey(keys, real);
    std::vector<StoredBoleto> parts;
    while (keys.step())
        parts.push_back(loadBoleto(db, {text(keys, "CDFILIAL"), text(keys, "NRLANBOLPAG")}));
    return parts;
}

void releaseParts(Database& db, const StoredBoleto& real, const std::vector<StoredBoleto>& parts,
                  BudgetChanges& budget) {
    const std::string name = "O boleto real " + real.key.text();
    if (exists(db, "SELECT 1 FROM COMPENSABOL WHERE " + boletoKeyCondition(), real.key))
        throw Refusal(kCancelaCompensacao);
    if (exists(db, "SELECT 1 FROM AJBOLPAG WHERE " + boletoKeyCondition(), real.key))
        throw Refusal(name + " possui ajustes. Exclua os ajustes antes de cancelar o boleto real.");
    if (exists(db, "SELECT 1 FROM HISTPRORBOL WHERE " + boletoKeyCondition(), real.key))
        throw Refusal(name +
                      " tem histórico de prorrogação de vencimento e não pode ser cancelado.");
    // Every payable must go back to a boleto this real boleto absorbed.
    Statement orphan = db.prepare(R"(SELECT C.CDFILIAL || '/' || C.NRLANCTONF || '/' ||
       C.NRSEQVENPAG || '/' || C.NRPARCELAPAG
  FROM CNTPAGAR C
 WHERE C.CDFILIBPAG = :F AND C.NRLANBOLPAG = :L
   AND NOT EXISTS (SELECT 1 FROM BOLETPAGAR P
                    WHERE P.CDFILIAL = C.CDFILIBPAGORIG AND P.NRLANBOLPAG = C.NRLANBOLPAGORIG
                      AND P.CDFILIREAL = :F AND P.NRLANBOLREAL = :L))");
    bindBoletoKey(orphan, real.key);
    if (orphan.step())
        throw Refusal("A conta " + orphan.column(0).asString() + " do boleto real " +
                      real.key.text() +
                      " não tem boleto de origem; o boleto real não pode ser cancelado.");
    Statement back = db.prepare(
        "UPDATE CNTPAGAR SET CDFILIBPAG = CDFILIBPAGORIG, NRLANBOLPAG = NRLANBOLPAGORIG,"
        " CDFILIBPAGORIG = NULL, NRLANBOLPAGORIG = NULL"
        " WHERE CDFILIBPAG = :F AND NRLANBOLPAG = :L");
    bindBoletoKey(back, real.key);
    back.execute();
    Statement free = db.prepare(
        "UPDATE BOLETPAGAR SET CDFILIREAL = NULL, NRLANBOLREAL = NULL"
        " WHERE CDFILIREAL = :F AND NRLANBOLREAL = :L");
    bindBoletoKey(free, real.key);
    free.execute();
    Statement remove = db.prepare("DELETE FROM BOLETPAGAR WHERE " + boletoKeyCondition());
    bindBoletoKey(remove, real.key);
    remove.execute();
    budget.add(real.empresa, real.vencimento, -real.valorFinal);
    // Only open boletos take part of the month's budget.
    for (const StoredBoleto& part : parts)
        if (part.status == "A") budget.add(part.empresa, part.vencimento, part.valorFinal);
}

}  // namespace pag::server
