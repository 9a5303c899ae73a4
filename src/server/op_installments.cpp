// Installments: a boleto split into a set of boletos that share NRORIGBOLPAG (the
// launch number of the boleto first split), numbered "01", "02"... A boleto never split
// is "00". Only the last installment is split further or removed; values are kept to
// the cent and the payables follow the values (payable_shares.h).
#include <algorithm>
#include <cstdio>
#include <map>

#include "contracts/consiste.h"
#include "platform/dataset/packet.h"
#include "server/access_rules.h"
#include "server/boleto_key.h"
#include "server/boleto_state.h"
#include "server/cash_budget.h"
#include "server/launch_sequence.h"
#include "server/operations.h"
#include "server/payable_shares.h"
#include "server/refusal.h"
#include "server/row_copy.h"

namespace pag::server {

namespace {

constexpr int kMaxInstallment = 99;

// "07" -> 7; anything but digits -> -1.
int installmentNumber(const std::string& text) {
    const std::string t = AllTrim(text);
    if (t.empty() || t.size() > 4 || t.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoi(t);
}

std::string installmentText(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

struct InstallmentRow {
    int numero = -1;
    int64_t valor = 0;
    Date vencimento;
    std::string motivo;
};

std::vector<InstallmentRow> rowsOf(const Packet& p) {
    std::vector<InstallmentRow> out;
    for (size_t r = 0; r < p.rowCount(); ++r) {
        InstallmentRow row;
        row.numero = installmentNumber(p.value(r, "NRPARCBOLPAG").asString());
        if (row.numero < 0)
            row.numero = installmentNumber(p.value(r, "NRPARCBOLPAGVISU").asString());
        if (row.numero < 0)
            throw Refusal("Número de parcela inválido: \"" + p.value(r, "NRPARCBOLPAG").asString() +
                          "\".");
        row.valor = toCents(p.value(r, "VRFINALBPAG").asFloat());
        row.vencimento = p.value(r, "DTVENBOLPAG").asDate();
        row.motivo = AllTrim(p.value(r, "CDMOTIPARC").asString());
        out.push_back(std::move(row));
    }
    return out;
}

// The launch numbers of a split set, last installment first (absorbed ones included:
// the numbering is the set's).
std::vector<std::string> setMembers(Database& db, const std::string& filial,
                                    const std::string& origem) {
    Statement st = db.prepare(
        "SELECT NRLANBOLPAG FROM BOLETPAGAR WHERE CDFILIAL = :F AND NRORIGBOLPAG = :O"
        " ORDER BY CAST(NRPARCBOLPAG AS INTEGER) DESC, NRLANBOLPAG DESC",
        {{"F", Value(filial)}, {"O", Value(origem)}});
    std::vector<std::string> out;
    while (st.step())
        out.push_back(st.column(0).asString());
    return out;
}

// Guards of every boleto whose installments change.
void requireChangeable(OperationCall& call, const BoletoState& b) {
    requireNotAbsorbed(b);
    requireNoAnticipation(b);
    requireInvoiceReleased(b);
    requireNotSent(b);
    if (compensated(call.db, b))
        throw Refusal(
            "Operação bloqueada! Parcelamento de boleto ligado a uma compensação não pode ser "
            "alterado.");
    checkProcessingDate(call.db, call.ctx.operador, b.vencimento);
}

// The boleto being split: the never-split boleto itself, or the set's last installment.
BoletoState boletoToSplit(OperationCall& call, const std::string& filial, const std::string& origem,
                          int ultima) {
    if (ultima == 0) {
        BoletoState b = boletoForCall(call, filial, origem);
        if (b.parcela != "00")
            throw Refusal("O boleto " + b.key() +
                          " já foi parcelado por outro usuário. Atualize os dados.");
        return b;
    }
    const std::vector<std::string> set = setMembers(call.db, filial, origem);
    if (set.empty())
        throw Refusal("Parcelamento do boleto " + filial + "/" + origem + " não encontrado.");
    BoletoState last = boletoForCall(call, filial, set.front());
    if (installmentNumber(last.parcela) != ultima)
        throw Refusal("Somente a última parcela (" + last.parcela +
                      ") pode ser parcelada. Atualize os dados.");
    return last;
}

void requireSplittable(OperationCall& call, const BoletoState& b) {
    if (b.status != "A") throw Refusal("Parcelamento não permitido! Parcela já foi baixada.");
    if (b.real) throw Refusal("Boleto real (associação de boletos) não pode ser parcelado.");
    requireChangeable(call, b);
    if (adjustmentCount(call.db, b) > 0)
        throw Refusal("Parcelamento bloqueado. Boleto possui ajuste.");
}

void requireReason(Database& db, const std::string& motivo) {
    if (motivo.empty()) throw Refusal("Motivo do parcelamento deve ser informado.");
    Statement st = db.prepare("SELECT 1 FROM MOTIVOPARC WHERE CDMOTIPARC = :M");
    st.bind("M", Value(motivo));
    if (!st.step()) throw Refusal("Motivo do parcelamento não cadastrado.");
}

void checkRow(OperationCall& call, const BoletoState& split, const InstallmentRow& row) {
    if (row.valor <= 0) throw Refusal("Valor da parcela deve ser maior que zero.");
    if (row.vencimento.isEmpty()) throw Refusal("Data do vencimento deve ser informada.");
    if (!split.emissao.isEmpty() && row.vencimento < split.emissao)
        throw Refusal("Data de vencimento deve ser maior ou igual à data de emissão.");
    requireReason(call.db, row.motivo);
    checkProcessingDate(call.db, call.ctx.operador, row.vencimento);
}

// The split row followed by the new installments, in number order, checked.
std::vector<InstallmentRow> newSet(OperationCall& call, const BoletoState& split,
                                   const Packet& packet, int numero) {
    std::map<int, InstallmentRow> byNumber;
    for (InstallmentRow& row : rowsOf(packet)) {
        if (row.numero < numero) continue;
        if (row.numero > kMaxInstallment)
            throw Refusal("Número máximo de parcelas (" + std::to_string(kMaxInstallment) +
                          ") excedido.");
        const int n = row.numero;
        if (!byNumber.emplace(n, std::move(row)).second)
            throw Refusal("A parcela " + installmentText(n) + " foi enviada mais de uma vez.");
    }
    if (!byNumber.count(numero))
        throw Refusal("A parcela " + installmentText(numero) + " a parcelar não foi enviada.");
    std::vector<InstallmentRow> rows;
    int64_t total = 0;
    for (auto& [n, row] : byNumber) {
        if (n == numero && row.vencimento.isEmpty()) row.vencimento = split.vencimento;
        row.numero = numero + static_cast<int>(rows.size());  // numbered without gaps
        checkRow(call, split, row);
        total += row.valor;
        rows.push_back(row);
    }
    if (total != split.valorFinal)
        throw Refusal("Soma das parcelas deve ser igual ao valor original do boleto. Soma: " +
                      moneyText(total) + "; boleto: " + moneyText(split.valorFinal) + ".");
    const int64_t least =
        leastFirstInstallment(call.db, split.filial, split.lancamento, split.valorFinal);
    if (rows.front().valor < least)
        throw Refusal(
            "Operação bloqueada! Valor da conta poderá ficar negativo. Valor mínimo pemitido a "
            "este boleto : " +
            moneyText(least) + ".");
    return rows;
}

void updateSplitBoleto(Database& db, const BoletoState& split, const std::string& origem,
                       const InstallmentRow& row) {
    Statement st = db.prepare(R"(UPDATE BOLETPAGAR
   SET NRPARCBOLPAG = :P, NRORIGBOLPAG = :O, CDMOTIPARC = :M, VRBOLPAG = :V, VRFINALBPAG = :V,
       DTVENBOLPAG = :D
 WHERE )" + boletoKeyCondition());
    st.bind("P", Value(installmentText(row.numero)));
    st.bind("O", Value(origem));
    st.bind("M", Value(row.motivo));
    st.bind("V", Value(fromCents(row.valor)));
    st.bind("D", Value(row.vencimento));
    bindBoletoKey(st, split.filial, split.lancamento);
    st.execute();
}

// A new installment copies the split boleto but is a new slip: no barcode or QR code of
// its own yet, never extended, not sent to the bank, open.
void insertInstallment(Database& db, const BoletoState& split, const std::string& origem,
                       const std::string& lancamento, const InstallmentRow& row) {
    const Value none;
    copyRow(db, "BOLETPAGAR",
            {{"CDFILIAL", Value(split.filial)}, {"NRLANBOLPAG", Value(split.lancamento)}},
            {{"NRLANBOLPAG", Value(lancamento)},
             {"NRPARCBOLPAG", Value(installmentText(row.numero))},
             {"NRORIGBOLPAG", Value(origem)},
             {"CDMOTIPARC", Value(row.motivo)},
             {"VRBOLPAG", Value(fromCents(row.valor))},
             {"VRFINALBPAG", Value(fromCents(row.valor))},
             {"DTVENBOLPAG", Value(row.vencimento)},
             {"DTATUAVENBOLPAG", none},
             {"CDMOTIPROR", none},
             {"CDBARRAPAG", none},
             {"DSLINHBARPAG", none},
             {"CODEQRPIX", none},
             {"IDSITUCNABP", Value("00")},
             {"NRCNABPAGREM", none},
             {"NRCNABPAGRET", none},
             {"IDSTATBPAG", Value("A")},
             {"DTBAIXABPAG", none}});
}

// Incl_Parcela_Bol_Pag (cdsParcelas, branch, launch number, origin boleto number,
// number of the installment that was last, by reference).
Value inclParcelaBolPag(OperationCall& call) {
    const Packet& packet = call.packet(0);
    const std::string filial = AllTrim(call.text(1)), lancamento = AllTrim(call.text(2));
    const int ultima = installmentNumber(call.text(4));
    if (ultima < 0) throw Refusal("Número da última parcela inválido: \"" + call.text(4) + "\".");
    std::string origem = AllTrim(call.text(3));
    if (origem.empty() && ultima > 0) origem = boletoForCall(call, filial, lancamento).origem;
    if (origem.empty()) origem = lancamento;
    const BoletoState split = boletoToSplit(call, filial, origem, ultima);
    requireSplittable(call, split);
    const std::vector<InstallmentRow> rows = newSet(call, split, packet, std::max(ultima, 1));
    if (ultima == 0 && rows.size() < 2)
        throw Refusal("Informe ao menos uma nova parcela para parcelar o boleto.");
    updateSplitBoleto(call.db, split, origem, rows.front());
    BudgetChanges budget;
    budget.add(split.empresa, split.vencimento, -split.valorFinal);
    std::vector<InstallmentShare> parts = {
        {split.lancamento, rows.front().vencimento, rows.front().valor}};
    if (rows.size() > 1) {
        int64_t next = std::stoll(
            reserveLaunchNumbers(call.db, split.filial, static_cast<int64_t>(rows.size() - 1)));
        for (size_t i = 1; i < rows.size(); ++i) {
            const std::string lanc = formatLaunchNumber(next++);
            insertInstallment(call.db, split, origem, lanc, rows[i]);
            parts.push_back({lanc, rows[i].vencimento, rows[i].valor});
        }
    }
    for (const InstallmentShare& part : parts)
        budget.add(split.empresa, part.vencimento, part.valor);
    budget.apply(call.db);
    distributePayables(call.db, split.filial, parts);
    call.args[4] = Value(installmentText(rows.back().numero));
    return Value();
}

void requireRemovable(OperationCall& call, const BoletoState& last) {
    if (adjustmentCount(call.db, last) > 0)
        throw Refusal("Exclusão não permitida! A última parcela possui ajustes: exclua-os antes.");
    Statement st = call.db.prepare("SELECT 1 FROM HISTPRORBOL WHERE " + boletoKeyCondition());
    bindBoletoKey(st, last.filial, last.lancamento);
    if (st.step())
        throw Refusal(
            "Exclusão não permitida! A última parcela tem histórico de prorrogação de "
            "vencimento.");
}

void addToPrevious(Database& db, const BoletoState& last, const BoletoState& previous, bool alone) {
    Statement st = db.prepare(std::string(R"(UPDATE BOLETPAGAR
   SET VRBOLPAG = :V, VRFINALBPAG = :VF)") +
                              (alone ? ", NRPARCBOLPAG = '00', NRORIGBOLPAG = NULL,"
                                       " CDMOTIPARC = NULL"
                                     : "") +
                              " WHERE " + boletoKeyCondition());
    st.bind("V", Value(fromCents(previous.valor + last.valor)));
    st.bind("VF", Value(fromCents(previous.valorFinal + last.valorFinal)));
    bindBoletoKey(st, previous.filial, previous.lancamento);
    st.execute();
}

// Excl_Parcela_Bol_Pag (branch followed by the origin boleto number, processing branch):
// removes the set's last installment, giving its value and payables to the one before.
// A set left with one boleto is a boleto never split again ("00").
Value exclParcelaBolPag(OperationCall& call) {
    const std::string key = AllTrim(call.text(0));
    if (key.size() <= 4)
        throw Refusal("Informe a filial seguida do número do boleto de origem do parcelamento.");
    const std::string filial = key.substr(0, 4), origem = AllTrim(key.substr(4));
    const std::vector<std::string> set = setMembers(call.db, filial, origem);
    if (set.size() < 2) throw Refusal("Parcela original não pode ser excluída.");
    const BoletoState last = boletoForCall(call, filial, set[0]);
    const BoletoState previous = boletoForCall(call, filial, set[1]);
    if (last.status != "A")
        throw Refusal("Exclusão não permitida! Última parcela anterior já foi baixada.");
    if (previous.status != "A")
        throw Refusal("Exclusão não permitida! Parcela anterior já foi baixada.");
    requireChangeable(call, last);
    requireChangeable(call, previous);
    requireRemovable(call, last);
    returnPayables(call.db, filial, last.lancamento, previous.lancamento, previous.vencimento);
    addToPrevious(call.db, last, previous, set.size() == 2);
    BudgetChanges budget;
    budget.add(last.empresa, last.vencimento, -last.valorFinal);
    budget.add(previous.empresa, previous.vencimento, last.valorFinal);
    budget.apply(call.db);
    Statement del = call.db.prepare("DELETE FROM BOLETPAGAR WHERE " + boletoKeyCondition());
    bindBoletoKey(del, last.filial, last.lancamento);
    del.execute();
    return Value();
}

// VdNovoValorContas (branch, launch number, new value) -> [least value the boleto may
// keep as the first installment of a split, or 0 when the new value is acceptable].
Value vdNovoValorContas(OperationCall& call) {
    const BoletoState b = boletoForCall(call, AllTrim(call.text(0)), AllTrim(call.text(1)));
    const int64_t novo = toCents(call.number(2));
    if (novo <= 0) throw Refusal("Valor da parcela deve ser maior que zero.");
    const int64_t least = leastFirstInstallment(call.db, b.filial, b.lancamento, b.valorFinal);
    return Value(ValueArray{Value(novo >= least ? 0.0 : fromCents(least))});
}

}  // namespace

void registerInstallmentOperations(OperationRegistry& r) {
    r.add("Incl_Parcela_Bol_Pag", Access::Write, inclParcelaBolPag);
    r.add("Excl_Parcela_Bol_Pag", Access::Write, exclParcelaBolPag);
    r.add("VdNovoValorContas", Access::Read, vdNovoValorContas);
}

}  // namespace pag::server
