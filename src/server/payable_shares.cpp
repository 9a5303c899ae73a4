#include "server/payable_shares.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "server/boleto_key.h"
#include "server/boleto_state.h"
#include "server/cash_budget.h"
#include "server/refusal.h"
#include "server/row_copy.h"

namespace pag::server {

namespace {

ColumnValues payableKey(const BoletoPayable& p) {
    return {{"CDFILIAL", Value(p.filial)},
            {"NRLANCTONF", Value(p.nota)},
            {"NRSEQVENPAG", Value(p.sequencia)},
            {"NRPARCELAPAG", Value(p.parcela)}};
}

std::string payableText(const BoletoPayable& p) {
    return p.filial + "/" + p.nota + " " + p.sequencia + "." + p.parcela;
}

constexpr const char* kWhereKey =
    " WHERE CDFILIAL = :F AND NRLANCTONF = :N AND NRSEQVENPAG = :S AND NRPARCELAPAG = :P";

void bindKey(Statement& st, const BoletoPayable& p) {
    st.bind("F", Value(p.filial));
    st.bind("N", Value(p.nota));
    st.bind("S", Value(p.sequencia));
    st.bind("P", Value(p.parcela));
}

// Runs "UPDATE CNTPAGAR SET <set>" on the payable with the values of `set`.
void updatePayable(Database& db, const BoletoPayable& p, const ColumnValues& set) {
    std::string sql = "UPDATE CNTPAGAR SET ";
    for (size_t i = 0; i < set.size(); ++i)
        sql += (i ? ", " : "") + set[i].first + " = :s" + std::to_string(i);
    Statement st = db.prepare(sql + kWhereKey);
    for (size_t i = 0; i < set.size(); ++i)
        st.bind("s" + std::to_string(i), set[i].second);
    bindKey(st, p);
    st.execute();
}

std::string nextPayableInstallment(Database& db, const BoletoPayable& p) {
    Statement st = db.prepare(
        "SELECT MAX(CAST(NRPARCELAPAG AS INTEGER)) FROM CNTPAGAR"
        " WHERE CDFILIAL = :F AND NRLANCTONF = :N AND NRSEQVENPAG = :S");
    st.bind("F", Value(p.filial));
    st.bind("N", Value(p.nota));
    st.bind("S", Value(p.sequencia));
    const int64_t next = (st.step() ? st.column(0).asInteger() : 0) + 1;
    if (next > 99)
        throw Refusal("A conta " + payableText(p) +
                      " não pode ser dividida em mais parcelas (limite de 99).");
    char text[8];
    std::snprintf(text, sizeof text, "%02d", static_cast<int>(next));
    return text;
}

struct Piece {
    size_t part;     // installment receiving it
    int64_t amount;  // VRATUAPAG, cents
};

// Cuts the payables, in order, into pieces that fill each installment's target.
std::vector<std::vector<Piece>> cut(const std::vector<BoletoPayable>& payables,
                                    std::vector<int64_t> room) {
    std::vector<std::vector<Piece>> pieces(payables.size());
    size_t part = 0;
    for (size_t i = 0; i < payables.size(); ++i) {
        int64_t left = payables[i].atual;
        do {
            while (left > 0 && room[part] == 0 && part + 1 < room.size())
                ++part;
            const int64_t take = part + 1 == room.size() ? left : std::min(left, room[part]);
            pieces[i].push_back({part, take});
            room[part] -= take;
            left -= take;
        } while (left > 0);
    }
    return pieces;
}

void placePayable(Database& db, const std::string& filial, const BoletoPayable& p,
                  const std::vector<Piece>& pieces, const std::vector<InstallmentShare>& parts) {
    if (p.settled && (pieces.size() > 1 || pieces[0].part != 0))
        throw Refusal("A conta " + payableText(p) +
                      " já foi baixada e não pode ser dividida nem passar para outra parcela.");
    std::vector<int64_t> amounts;
    for (const Piece& piece : pieces)
        amounts.push_back(piece.amount);
    const std::vector<int64_t> originals = apportion(p.original, amounts);
    for (size_t k = 0; k < pieces.size(); ++k) {
        const InstallmentShare& to = parts[pieces[k].part];
        ColumnValues values = {{"VRATUAPAG", Value(fromCents(pieces[k].amount))},
                               {"VRORIGPAG", Value(fromCents(originals[k]))},
                               {"CDFILIBPAG", Value(filial)},
                               {"NRLANBOLPAG", Value(to.lancamento)}};
        if (k == 0) {
            updatePayable(db, p, values);
            continue;
        }
        values.emplace_back("NRPARCELAPAG", Value(nextPayableInstallment(db, p)));
        values.emplace_back("NRPARCELAPAGORIG", Value(p.parcela));
        copyRow(db, "CNTPAGAR", payableKey(p), values);
    }
}

void followDueDate(Database& db, const std::string& filial, const InstallmentShare& part) {
    Statement st = db.prepare(
        "UPDATE CNTPAGAR SET DTATUAVENPAG = :D"
        " WHERE CDFILIBPAG = :F AND NRLANBOLPAG = :L AND IDSTATPAG = 'A'");
    st.bind("D", Value(part.vencimento));
    bindBoletoKey(st, filial, part.lancamento);
    st.execute();
}

}  // namespace

std::vector<int64_t> apportion(int64_t total, const std::vector<int64_t>& weights) {
    std::vector<int64_t> parts(weights.size(), 0);
    if (weights.empty()) return parts;
    const __int128 sum = std::accumulate(weights.begin(), weights.end(), __int128(0));
    const int64_t size = total < 0 ? -total : total;
    if (sum == 0) {
        parts[0] = total;
        return parts;
    }
    std::vector<std::pair<__int128, size_t>> remainders;
    int64_t given = 0;
    for (size_t i = 0; i < weights.size(); ++i) {
        const __int128 product = __int128(size) * weights[i];
        parts[i] = static_cast<int64_t>(product / sum);
        given += parts[i];
        remainders.emplace_back(product % sum, i);
    }
    // The cents left go to the largest remainders, earlier parts first on a tie.
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t k = 0; given < size; ++k, ++given)
        ++parts[remainders[k % remainders.size()].second];
    if (total < 0)
        for (int64_t& p : parts)
            p = -p;
    return parts;
}

void spreadOverPayables(Database& db, const std::string& filial, const std::string& lancamento,
                        int64_t delta) {
    std::vector<BoletoPayable> open;
    for (BoletoPayable& p : payablesOf(db, filial, lancamento))
        if (!p.settled) open.push_back(std::move(p));
    if (open.empty() || delta == 0) return;
    std::vector<int64_t> weights;
    int64_t held = 0;
    for (const BoletoPayable& p : open) {
        weights.push_back(p.atual);
        held += p.atual;
    }
    const std::vector<int64_t> shares = apportion(std::max(delta, -held), weights);
    for (size_t i = 0; i < open.size(); ++i)
        if (shares[i] != 0)
            updatePayable(db, open[i],
                          {{"VRATUAPAG", Value(fromCents(open[i].atual + shares[i]))}});
}

void distributePayables(Database& db, const std::string& filial,
                        const std::vector<InstallmentShare>& parts) {
    const std::vector<BoletoPayable> payables = payablesOf(db, filial, parts[0].lancamento);
    int64_t held = 0;
    for (const BoletoPayable& p : payables)
        held += p.atual;
    std::vector<int64_t> values;
    for (const InstallmentShare& s : parts)
        values.push_back(s.valor);
    const auto pieces = cut(payables, apportion(held, values));
    for (size_t i = 0; i < payables.size(); ++i)
        placePayable(db, filial, payables[i], pieces[i], parts);
    for (const InstallmentShare& s : parts)
        followDueDate(db, filial, s);
}

int64_t leastFirstInstallment(Database& db, const std::string& filial,
                              const std::string& lancamento, int64_t valorFinal) {
    int64_t settled = 0, held = 0;
    for (const BoletoPayable& p : payablesOf(db, filial, lancamento)) {
        held += p.atual;
        if (p.settled) settled += p.atual;
    }
    if (settled == 0 || held == 0 || held == valorFinal) return settled;
    const __int128 scaled = __int128(settled) * valorFinal;
    return static_cast<int64_t>((scaled + held - 1) / held);
}

void returnPayables(Database& db, const std::string& filial, const std::string& from,
                    const std::string& to, Date toDue) {
    Statement origin = db.prepare(R"(SELECT O.NRPARCELAPAG
  FROM CNTPAGAR P
  JOIN CNTPAGAR O ON O.CDFILIAL = P.CDFILIAL AND O.NRLANCTONF = P.NRLANCTONF
                 AND O.NRSEQVENPAG = P.NRSEQVENPAG AND O.NRPARCELAPAG = P.NRPARCELAPAGORIG
 WHERE P.CDFILIAL = :F AND P.NRLANCTONF = :N AND P.NRSEQVENPAG = :S
   AND P.NRPARCELAPAG = :P AND P.IDSTATPAG = 'A' AND O.IDSTATPAG = 'A'
   AND O.CDFILIBPAG = :BF AND O.NRLANBOLPAG = :BL)");
    for (const BoletoPayable& p : payablesOf(db, filial, from)) {
        origin.reset();
        bindKey(origin, p);
        origin.bind("BF", Value(filial));
        origin.bind("BL", Value(to));
        if (!origin.step()) {
            ColumnValues moved = {{"CDFILIBPAG", Value(filial)}, {"NRLANBOLPAG", Value(to)}};
            if (!p.settled) moved.emplace_back("DTATUAVENPAG", Value(toDue));
            updatePayable(db, p, moved);
            continue;
        }
        BoletoPayable into = p;
        into.parcela = origin.column(0).asString();
        Statement add =
            db.prepare(std::string("UPDATE CNTPAGAR SET VRATUAPAG = ROUND(VRATUAPAG + :A, 2),"
                                   " VRORIGPAG = ROUND(VRORIGPAG + :O, 2)") +
                       kWhereKey);
        add.bind("A", Value(fromCents(p.atual)));
        add.bind("O", Value(fromCents(p.original)));
        bindKey(add, into);
        add.execute();
        Statement del = db.prepare(std::string("DELETE FROM CNTPAGAR") + kWhereKey);
        bindKey(del, p);
        del.execute();
    }
}

}  // namespace pag::server
