// Automatic enabling: the transfer parameters of a paying account (GetParamCC) and the
// enabling of the marked boletos, grouped by supplier (SetAgrupaFornecedores).
#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "contracts/consiste.h"
#include "server/access_rules.h"
#include "server/boleto_grouping.h"
#include "server/boleto_key.h"
#include "server/change_log.h"
#include "server/dataset_fields.h"
#include "server/launch_sequence.h"
#include "server/operations.h"
#include "server/packet_builder.h"
#include "server/payment_transfer.h"

namespace pag::server {

namespace {

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

// GetParamCC (reduced account code) -> cdsParamCC: the account's settlement types for
// account credit, DOC and TED and its DOC limit. The account is one of the login company.
Value getParamCC(OperationCall& call) {
    const std::string codigo = Ajusta(call.text(0), 3);
    if (codigo.empty()) throw Refusal("Conta Corrente para pagamento deve ser informada.");
    Statement st = call.db.prepare(
        "SELECT CDTPBXCREDCONT, CDTPBAIXADOC, CDTPBAIXATED, VRLIMITEDOC FROM CONTCORR"
        " WHERE CDEMPRESA = :E AND CDREDUCONT = :C");
    st.bind("E", Value(call.ctx.empresa));
    st.bind("C", Value(codigo));
    Packet p = packetFromStatement(st, paramCCFields());
    if (p.rowCount() == 0) throw Refusal("Código reduzido da conta não cadastrado.");
    return packetValue(std::move(p));
}

// --- SetAgrupaFornecedores -------------------------------------------------------------

struct Enabling {
    Date due;
    std::string motivo;
    PayingAccount account;
    std::string filial;  // where real boletos are created
    bool budgetControl = false;
};

std::string rowText(const Packet& p, size_t row, const char* field) {
    const Value v = withoutPlaceholder(p.value(row, field));
    return v.isNull() ? std::string() : AllTrim(v.asString());
}

Enabling enablingFrom(OperationCall& call) {
    Enabling e;
    e.due = call.date(2);
    e.motivo = Ajusta(call.text(3), 2);
    const std::string conta = Ajusta(call.text(4), 3);
    const std::string empresa = AllTrim(call.text(5));
    const std::string flag = AllTrim(call.text(6));
    const std::string banco = AllTrim(call.text(7));
    e.filial = AllTrim(call.text(8));
    call.requireCompany(empresa);
    if (flag != "1" && flag != "0")
        throw Refusal("Controle de orçamento deve ser informado como \"1\" ou \"0\".");
    e.budgetControl = flag == "1";
    if (e.due.isEmpty()) throw Refusal("Data de vencimento deve ser informada.");
    if (isProcessingDateBlocked(call.db, kSistemaPag, call.ctx.operador, e.due))
        throw Refusal("Vencimento não pode ser anterior à data de processamento.");
    if (e.motivo.empty()) throw Refusal("Motivo de prorrogação deve ser informado.");
    Statement st = call.db.prepare("SELECT 1 FROM MOTIVOPROR WHERE CDMOTIPROR = :M");
    st.bind("M", Value(e.motivo));
    if (!st.step()) throw Refusal("Motivo de Prorrogação não cadastrado.");
    if (conta.empty()) throw Refusal("Conta Corrente para pagamento deve ser informada.");
    e.account = findPayingAccount(call.db, empresa, conta);
    if (e.account.codigo.empty()) throw Refusal("Código reduzido da conta não cadastrado.");
    if (banco != e.account.banco)
        throw Refusal("Banco " + banco + " não é o banco da conta corrente " + conta + ".");
    checkTransferParameters(e.account);
    Statement branch = call.db.prepare("SELECT 1 FROM FILIAL WHERE CDFILIAL = :F");
    branch.bind("F", Value(e.filial));
    if (!branch.step()) throw Refusal("Filial " + e.filial + " não cadastrada.");
    return e;
}

// One marked boleto as the dialog read it, checked against the stored one: each change
// made meanwhile by another user answers the key the dialog knows.
StoredBoleto checkedBoleto(OperationCall& call, const Packet& p, size_t r, const Enabling& e) {
    const BoletoKey key{rowText(p, r, "CDFILIAL"), rowText(p, r, "NRLANBOLPAG")};
    StoredBoleto b = loadBoleto(call.db, key);
    if (b.real) refuseGrouping("BOL_EXC");  // associated meanwhile
    checkAbsorbable(b);
    if (toCents(p.value(r, "VRBOLPAG").asFloat()) != b.valor) refuseGrouping("VRBOL_DIF");
    if (toCents(p.value(r, "VRFINALBPAG").asFloat()) != b.valorFinal) refuseGrouping("VRBOLF_DIF");
    const Value venc = p.value(r, "DTVENBOLPAG");
    if ((venc.isNull() ? Date() : venc.asDate()) != b.vencimento) refuseGrouping("CNT_PROR");
    if (rowText(p, r, "IDTPCTPAGAR") != b.tipoConta) refuseGrouping("CNT_PREV");
    if (upper(rowText(p, r, "CDFORNECED")) != upper(b.fornecedor))
        throw Refusal("O fornecedor do boleto " + key.text() + " foi alterado por outro usuário.");
    if (b.empresa != e.account.empresa)
        throw Refusal("O boleto " + key.text() + " não pertence à empresa " + e.account.empresa +
                      ".");
    checkProcessingDate(call.db, call.ctx.operador, b.vencimento);
    checkDueAfterEntry(e.due, b.entrada);
    return b;
}

// The marked boletos by supplier, in the order of the supplier list; each supplier listed
// once (letter case ignored) and every boleto's supplier listed.
std::map<std::string, std::vector<StoredBoleto>> bySupplier(OperationCall& call,
                                                            const Enabling& e) {
    const Packet& boletos = call.packet(0);
    const Packet& fornecedores = call.packet(1);
    for (const char* f : {"CDFILIAL", "NRLANBOLPAG", "VRBOLPAG", "DTVENBOLPAG", "CDFORNECED",
                          "DTENTRSAID", "VRFINALBPAG", "IDTPCTPAGAR"})
        if (boletos.fieldIndex(f) < 0) throw Refusal(std::string("Boletos sem o campo ") + f + ".");
    if (fornecedores.fieldIndex("CDFORNECED") < 0)
        throw Refusal("Fornecedores sem o campo CDFORNECED.");
    if (boletos.rowCount() == 0)
        throw Refusal(
            "Nenhum dos boletos marcados pode ser habilitado automaticamente: boletos enviados "
            "ao banco e boletos associados ficam de fora.");
    std::map<std::string, std::vector<StoredBoleto>> groups;
    for (size_t r = 0; r < fornecedores.rowCount(); ++r)
        groups[upper(rowText(fornecedores, r, "CDFORNECED"))];
    std::set<std::pair<std::string, std::string>> seen;
    for (size_t r = 0; r < boletos.rowCount(); ++r) {
        StoredBoleto b = checkedBoleto(call, boletos, r, e);
        if (!seen.insert({b.key.filial, b.key.lancamento}).second)
            throw Refusal("O boleto " + b.key.text() + " foi informado mais de uma vez.");
        auto g = groups.find(upper(b.fornecedor));
        if (g == groups.end())
            throw Refusal("O fornecedor " + b.fornecedor + " do boleto " + b.key.text() +
                          " não está na lista de fornecedores.");
        g->second.push_back(std::move(b));
    }
    for (const auto& [fornecedor, list] : groups)
        if (list.empty())
            throw Refusal("O fornecedor " + fornecedor + " não tem boletos marcados.");
    return groups;
}

// The payment data every enabled boleto receives.
void writePayment(Database& db, const BoletoKey& key, const Enabling& e, const Payee& payee,
                  const std::string& tipoBaixa) {
    Statement st = db.prepare(R"(UPDATE BOLETPAGAR
   SET DTVENBOLPAG = :VENC, CDMOTIPROR = :MOT, CDREDUCONT = :CONTA, CDTPBAIXAPAG = :TB,
       CDBANCBOLP = :BB, CDAGENBOLP = :BA, CDCCORBOLP = :BC, IDTPICNABBOP = :TI,
       NRINSCNABBOP = :NI, IDHABIBPAG = 'S', IDSITUCNABP = '00', NRCNABPAGREM = NULL
 WHERE )" + boletoKeyCondition());
    st.bind("VENC", Value(e.due));
    st.bind("MOT", Value(e.motivo));
    st.bind("CONTA", Value(e.account.codigo));
    st.bind("TB", Value(tipoBaixa));
    st.bind("BB", Value(payee.banco));
    st.bind("BA", Value(payee.agencia));
    st.bind("BC", Value(payee.conta));
    st.bind("TI", payee.tipoInscricao.empty() ? Value() : Value(payee.tipoInscricao));
    st.bind("NI", payee.inscricao.empty() ? Value() : Value(payee.inscricao));
    bindBoletoKey(st, key);
    st.execute();
}

// A boleto enabled by itself: its due date changes like an extension, with history.
void enableAlone(OperationCall& call, const StoredBoleto& b, const Enabling& e,
                 BudgetChanges& budget) {
    const Payee payee = choosePayee(call.db, b.fornecedor, {b}, e.account.banco);
    if (b.vencimento != e.due) {
        Statement st = call.db.prepare(
            "UPDATE BOLETPAGAR SET DTATUAVENBOLPAG = DTVENBOLPAG"
            " WHERE " +
            boletoKeyCondition());
        bindBoletoKey(st, b.key);
        st.execute();
        Statement h = call.db.prepare(
            "INSERT INTO HISTPRORBOL (CDFILIAL, NRLANBOLPAG, DTVENANTER, DTVENNOVA, CDMOTIPROR,"
            " CDOPERADOR, CDFILIPROC) VALUES (:F, :L, :ANT, :NOVA, :MOT, :OPER, :PROC)");
        bindBoletoKey(h, b.key);
        h.bind("ANT", b.vencimento.isEmpty() ? Value() : Value(b.vencimento));
        h.bind("NOVA", Value(e.due));
        h.bind("MOT", Value(e.motivo));
        h.bind("OPER", Value(call.ctx.operador));
        h.bind("PROC", Value(e.filial));
        h.execute();
    }
    writePayment(call.db, b.key, e, payee,
                 transferSettlementType(e.account, payee.banco, b.valorFinal));
    budget.add(b.empresa, b.vencimento, -b.valorFinal);
    budget.add(b.empresa, e.due, b.valorFinal);
}

// Two or more boletos of one supplier and account kind: one real boleto pays them.
void enableGrouped(OperationCall& call, const std::vector<StoredBoleto>& parts, const Enabling& e,
                   BudgetChanges& budget) {
    checkGroupable(parts);
    const StoredBoleto& first = parts.front();
    const GroupTotals totals = totalsOf(parts);
    const Payee payee = choosePayee(call.db, first.fornecedor, parts, e.account.banco);
    const BoletoKey real{e.filial, reserveLaunchNumbers(call.db, e.filial)};
    insertRealBoleto(call.db, real, first.empresa, first.fornecedor);
    completeRealBoleto(call.db, real, first, totals, e.due);
    writePayment(call.db, real, e, payee,
                 transferSettlementType(e.account, payee.banco, totals.valorFinal));
    absorbParts(call.db, real, parts, e.due, budget);
}

void enableSupplier(OperationCall& call, const std::vector<StoredBoleto>& boletos,
                    const Enabling& e, BudgetChanges& budget) {
    // Advances and normal accounts are never paid together; loans are never grouped.
    std::vector<StoredBoleto> normal, advance;
    for (const StoredBoleto& b : boletos) {
        switch (accountKind(b.tipoConta)) {
            case AccountKind::Normal:
                normal.push_back(b);
                break;
            case AccountKind::Advance:
                advance.push_back(b);
                break;
            case AccountKind::Loan:
                enableAlone(call, b, e, budget);
                break;
        }
    }
    for (const auto* group : {&normal, &advance}) {
        if (group->size() == 1) enableAlone(call, group->front(), e, budget);
        if (group->size() > 1) enableGrouped(call, *group, e, budget);
    }
}

std::string enableBySupplier(OperationCall& call) {
    const Enabling e = enablingFrom(call);
    BudgetChanges budget;
    for (const auto& [fornecedor, boletos] : bySupplier(call, e))
        enableSupplier(call, boletos, e, budget);
    if (e.budgetControl && budget.exceeds(call.db)) refuseGrouping("N_pode_agrup");
    budget.apply(call.db);
    return "OK";
}

// SetAgrupaFornecedores (marked boletos, suppliers, due date, reason, paying account,
// company, budget control "1"/"0", the account's bank, processing branch) -> "OK", or the
// key or text the dialog shows; a refused call stores nothing.
Value setAgrupaFornecedores(OperationCall& call) {
    try {
        return Value(enableBySupplier(call));
    } catch (const GroupingRefusal& r) {
        call.discardChanges();
        return Value(r.key().empty() ? std::string(r.what()) : r.key());
    } catch (const Refusal& r) {
        call.discardChanges();
        return Value(std::string(r.what()));
    }
}

}  // namespace

void registerAutoEnableOperations(OperationRegistry& r) {
    r.add("GetParamCC", Access::Read, getParamCC);
    r.add("SetAgrupaFornecedores", Access::Write, setAgrupaFornecedores);
}

}  // namespace pag::server
