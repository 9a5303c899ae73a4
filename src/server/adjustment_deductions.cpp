#include "server/adjustment_deductions.h"

#include <set>
#include <vector>

#include "server/boleto_key.h"
#include "server/cash_budget.h"
#include "server/change_log.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

// Where each kind of deduction lives: the source table and the columns that name one
// source there, in the detail packet and in the table recording what was taken.
struct Source {
    const char* what;  // as the user reads it
    const char* table;
    std::vector<const char*> tableKey;
    std::vector<const char*> packetKey;
    const char* detailTable;
    std::vector<const char*> detailKey;
};

const Source& sourceOf(DeductionKind kind) {
    static const Source advance{"O adiantamento",
                                "ADIANTFORN",
                                {"CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG"},
                                {"CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG"},
                                "AJBOLPAGADIA",
                                {"CDFILIADIA", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG"}};
    static const Source note{
        "A nota de devolução",      "NFDEVOLUCAO",   {"FILIDEVOL", "NRNFDEVOL"},
        {"FILIDEVOL", "NRNFDEVOL"}, "AJBOLPAGDEVOL", {"FILIDEVOL", "NRNFDEVOL"}};
    return kind == DeductionKind::Advance ? advance : note;
}

std::string whereKey(const std::vector<const char*>& columns, const char* prefix) {
    std::string sql;
    for (size_t i = 0; i < columns.size(); ++i)
        sql += std::string(i ? " AND " : "") + columns[i] + " = :" + prefix + std::to_string(i);
    return sql;
}

void bindKey(Statement& st, const char* prefix, const std::vector<std::string>& key) {
    for (size_t i = 0; i < key.size(); ++i)
        st.bind(prefix + std::to_string(i), Value(key[i]));
}

std::string keyText(const std::vector<std::string>& key) {
    std::string out;
    for (const std::string& k : key)
        out += (out.empty() ? "" : "/") + k;
    return out;
}

std::string field(const Packet& p, size_t row, const char* name) {
    std::string v = withoutPlaceholder(p.value(row, name)).asString();
    const size_t first = v.find_first_not_of(' ');
    return first == std::string::npos ? "" : v.substr(first, v.find_last_not_of(' ') - first + 1);
}

struct Taken {
    std::vector<std::string> key;
    int64_t amount = 0;
};

// The detail rows of this adjustment, one per source, amounts in cents.
std::vector<Taken> rowsOf(const Source& s, const BoletoState& b, const std::string& tipo,
                          const Packet& detail) {
    std::vector<Taken> out;
    if (detail.rowCount() == 0) return out;
    std::vector<const char*> needed = {"FILIALBOLPAG", "NRLANBOLPAG", "CDAJUCTPAG", "VRDESCONTO"};
    needed.insert(needed.end(), s.packetKey.begin(), s.packetKey.end());
    for (const char* name : needed)
        if (detail.fieldIndex(name) < 0)
            throw Refusal(std::string("Descontos sem o campo ") + name + ".");
    std::set<std::vector<std::string>> seen;
    for (size_t r = 0; r < detail.rowCount(); ++r) {
        if (field(detail, r, "FILIALBOLPAG") != b.filial ||
            field(detail, r, "NRLANBOLPAG") != b.lancamento ||
            field(detail, r, "CDAJUCTPAG") != tipo)
            continue;
        Taken t;
        for (const char* k : s.packetKey)
            t.key.push_back(field(detail, r, k));
        t.amount = toCents(detail.value(r, "VRDESCONTO").asFloat());
        if (t.amount < 0)
            throw Refusal(std::string(s.what) + " " + keyText(t.key) +
                          " tem valor de desconto negativo.");
        if (!seen.insert(t.key).second)
            throw Refusal(std::string(s.what) + " " + keyText(t.key) +
                          " foi informado mais de uma vez no desconto.");
        if (t.amount > 0) out.push_back(std::move(t));
    }
    return out;
}

void take(Database& db, const Source& s, const BoletoState& b, const std::string& tipo,
          const Taken& t) {
    const std::string where = whereKey(s.tableKey, "k");
    Statement find = db.prepare(std::string("SELECT VRDISPONIVEL FROM ") + s.table + " WHERE " +
                                where + " AND CDEMPRESA = :E AND CDFORNECED = :FO");
    bindKey(find, "k", t.key);
    find.bind("E", Value(b.empresa));
    find.bind("FO", Value(b.fornecedor));
    if (!find.step())
        throw Refusal(std::string(s.what) + " " + keyText(t.key) +
                      " não existe para o fornecedor e a empresa do boleto.");
    const int64_t available = toCents(find.column(0).asFloat());
    if (available < t.amount)
        throw Refusal(std::string(s.what) + " " + keyText(t.key) + " tem disponível " +
                      moneyText(available) + ", menos que o desconto de " + moneyText(t.amount) +
                      ". Outro usuário pode tê-lo utilizado: atualize os dados e repita a "
                      "operação.");
    Statement lower = db.prepare(std::string("UPDATE ") + s.table +
                                 " SET VRDISPONIVEL = ROUND(VRDISPONIVEL - :V, 2) WHERE " + where);
    lower.bind("V", Value(fromCents(t.amount)));
    bindKey(lower, "k", t.key);
    lower.execute();
    std::string names = "CDFILIAL, NRLANBOLPAG, CDAJUCTPAG, VRDESCONTO", params = ":F, :L, :T, :V";
    for (size_t i = 0; i < s.detailKey.size(); ++i) {
        names += std::string(", ") + s.detailKey[i];
        params += ", :k" + std::to_string(i);
    }
    Statement record = db.prepare(std::string("INSERT INTO ") + s.detailTable + " (" + names +
                                  ") VALUES (" + params + ")");
    bindBoletoKey(record, b.filial, b.lancamento);
    record.bind("T", Value(tipo));
    record.bind("V", Value(fromCents(t.amount)));
    bindKey(record, "k", t.key);
    record.execute();
}

void giveBack(Database& db, const Source& s, const std::string& filial,
              const std::string& lancamento, const std::string& tipo) {
    std::string columns;
    for (const char* c : s.detailKey)
        columns += std::string(c) + ", ";
    const std::string ofAdjustment = " WHERE " + boletoKeyCondition() + " AND CDAJUCTPAG = :T";
    Statement details =
        db.prepare("SELECT " + columns + "VRDESCONTO FROM " + s.detailTable + ofAdjustment);
    bindBoletoKey(details, filial, lancamento);
    details.bind("T", Value(tipo));
    Statement raise = db.prepare(std::string("UPDATE ") + s.table +
                                 " SET VRDISPONIVEL = ROUND(VRDISPONIVEL + :V, 2) WHERE " +
                                 whereKey(s.tableKey, "k"));
    const int n = static_cast<int>(s.detailKey.size());
    while (details.step()) {
        std::vector<std::string> key;
        for (int i = 0; i < n; ++i)
            key.push_back(details.column(i).asString());
        raise.reset();
        raise.bind("V", Value(details.column(n).asFloat()));
        bindKey(raise, "k", key);
        raise.execute();
    }
    Statement remove = db.prepare(std::string("DELETE FROM ") + s.detailTable + ofAdjustment);
    bindBoletoKey(remove, filial, lancamento);
    remove.bind("T", Value(tipo));
    remove.execute();
}

}  // namespace

void consumeDeduction(Database& db, DeductionKind kind, const BoletoState& boleto,
                      const std::string& tipo, int64_t amount, const Packet& detail) {
    const Source& s = sourceOf(kind);
    const std::vector<Taken> rows = rowsOf(s, boleto, tipo, detail);
    if (rows.empty())
        throw Refusal("O ajuste " + tipo + " desconta " +
                      (kind == DeductionKind::Advance ? "adiantamentos" : "notas de devolução") +
                      ", mas nenhum foi informado para o boleto " + boleto.key() + ".");
    int64_t total = 0;
    for (const Taken& t : rows)
        total += t.amount;
    if (total != amount)
        throw Refusal("O valor do ajuste " + tipo + " (" + moneyText(amount) +
                      ") difere da soma dos descontos informados (" + moneyText(total) + ").");
    for (const Taken& t : rows)
        take(db, s, boleto, tipo, t);
}

void giveBackDeduction(Database& db, const std::string& filial, const std::string& lancamento,
                       const std::string& tipo) {
    giveBack(db, sourceOf(DeductionKind::Advance), filial, lancamento, tipo);
    giveBack(db, sourceOf(DeductionKind::ReturnNote), filial, lancamento, tipo);
}

}  // namespace pag::server
