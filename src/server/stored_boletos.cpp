#include "server/stored_boletos.h"

#include <unordered_map>

#include "server/boleto_key.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

std::string rowKey(const Value& filial, const Value& lancamento) {
    return filial.asString() + '\x1f' + lancamento.asString();
}

}  // namespace

size_t requiredListField(const Packet& list, const char* name) {
    const int i = list.fieldIndex(name);
    if (i < 0) throw Refusal(std::string("Pacote de boletos sem o campo ") + name + ".");
    return static_cast<size_t>(i);
}

void forEachStoredBoleto(Database& db, const Packet& list, size_t filialAt, size_t lancAt,
                         const std::string& columns,
                         const std::function<void(size_t, const Statement&)>& found) {
    Statement total = db.prepare("SELECT COUNT(*) FROM BOLETPAGAR");
    const double stored = total.step() ? total.column(0).asFloat() : 0;
    const std::string select = "SELECT " + columns + ", CDFILIAL, NRLANBOLPAG FROM BOLETPAGAR";
    if (static_cast<double>(list.rows.size()) * 8 < stored) {
        Statement st = db.prepare(select + " WHERE " + boletoKeyCondition());
        for (size_t r = 0; r < list.rows.size(); ++r) {
            st.reset();
            st.bind("F", list.layout.get(list.rows[r], filialAt));
            st.bind("L", list.layout.get(list.rows[r], lancAt));
            if (st.step()) found(r, st);
        }
        return;
    }
    std::unordered_multimap<std::string, size_t> rowsOf;
    rowsOf.reserve(list.rows.size());
    for (size_t r = 0; r < list.rows.size(); ++r) {
        const std::string& row = list.rows[r];
        if (list.layout.isNull(row, filialAt) || list.layout.isNull(row, lancAt)) continue;
        rowsOf.emplace(rowKey(list.layout.get(row, filialAt), list.layout.get(row, lancAt)), r);
    }
    Statement st = db.prepare(select);
    const int keyAt = st.columnCount() - 2;
    while (st.step()) {
        const auto [from, to] = rowsOf.equal_range(rowKey(st.column(keyAt), st.column(keyAt + 1)));
        for (auto it = from; it != to; ++it)
            found(it->second, st);
    }
}

}  // namespace pag::server
