#include "server/launch_sequence.h"

#include <algorithm>
#include <cstdio>

#include "server/refusal.h"

namespace pag::server {

namespace {

constexpr int64_t kLastLaunchNumber = 9999999999LL;

int64_t lastReserved(Database& db, const std::string& filial) {
    Statement st = db.prepare("SELECT NRULTLANC FROM SEQLANBOLPAG WHERE CDFILIAL = :F");
    st.bind("F", Value(filial));
    return st.step() && !st.column(0).isNull() ? st.column(0).asInteger() : 0;
}

int64_t highestUsed(Database& db, const std::string& filial) {
    // Only numeric launch numbers take part in the sequence.
    Statement st = db.prepare(
        "SELECT MAX(CAST(NRLANBOLPAG AS BIGINT)) FROM BOLETPAGAR"
        " WHERE CDFILIAL = :F AND NRLANBOLPAG <> '' AND LTRIM(NRLANBOLPAG, '0123456789') = ''");
    st.bind("F", Value(filial));
    return st.step() && !st.column(0).isNull() ? st.column(0).asInteger() : 0;
}

bool branchExists(Database& db, const std::string& filial) {
    Statement st = db.prepare("SELECT 1 FROM FILIAL WHERE CDFILIAL = :F");
    st.bind("F", Value(filial));
    return st.step();
}

bool allDigits(const std::string& s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string formatLaunchNumber(int64_t number) {
    char text[24];
    std::snprintf(text, sizeof text, "%010lld", static_cast<long long>(number));
    return text;
}

std::string reserveLaunchNumbers(Database& db, const std::string& filial, int64_t count) {
    if (count < 1) throw Refusal("Quantidade de lançamentos a reservar deve ser maior que zero.");
    if (!branchExists(db, filial)) throw Refusal("Filial " + filial + " não cadastrada.");
    const int64_t first = std::max(lastReserved(db, filial), highestUsed(db, filial)) + 1;
    if (first > kLastLaunchNumber - count + 1)
        throw Refusal("Numeração de lançamentos de boletos da filial " + filial + " esgotada.");
    Statement st = db.prepare(
        "INSERT INTO SEQLANBOLPAG (CDFILIAL, NRULTLANC) VALUES (:F, :N)"
        " ON CONFLICT (CDFILIAL) DO UPDATE SET NRULTLANC = excluded.NRULTLANC");
    st.bind("F", Value(filial));
    st.bind("N", Value(first + count - 1));
    st.execute();
    return formatLaunchNumber(first);
}

bool launchNumberReserved(Database& db, const std::string& filial, const std::string& number) {
    if (!allDigits(number) || number.size() != 10) return false;
    const int64_t n = std::stoll(number);
    return n >= 1 && n <= lastReserved(db, filial);
}

}  // namespace pag::server
