#include "server/stored_boletos.h"

#include <unordered_map>

#include "server/boleto_key.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

// A key field as text; a list may declare it of another type.
std::string keyText(const Packet& list, const std::string& row, size_t at) {
    return list.layout.type(at) == FieldType::Text ? std::string(list.layout.text(row, at))
                                                   : list.layout.get(row, at).asString();
}

void setRowKey(std::string& key, std::string_view filial, std::string_view lancamento) {
    key.assign(filial);
    key += '\x1f';
    key += lancamento;
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
        std::string key;
        setRowKey(key, keyText(list, row, filialAt), keyText(list, row, lancAt));
        rowsOf.emplace(std::move(key), r);
    }
    Statement st = db.prepare(select);
    const int keyAt = st.columnCount() - 2;
    std::string key;
    while (st.step()) {
        setRowKey(key, st.text(keyAt), st.text(keyAt + 1));
        const auto [from, to] = rowsOf.equal_range(key);
        for (auto it = from; it != to; ++it)
            found(it->second, st);
    }
}

}  // namespace pag::server
