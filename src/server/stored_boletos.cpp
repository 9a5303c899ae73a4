#include "server/stored_boletos.h"

#include <cstdint>
#include <deque>
#include <vector>

#include "server/boleto_key.h"
#include "server/refusal.h"

namespace pag::server {

namespace {

// A boleto's key as views: into the list's rows while they are kept, into the
// statement's current row while it is looked up.
struct RowKey {
    std::string_view filial, lancamento;
    bool operator==(const RowKey&) const = default;
    uint32_t hash() const {
        const std::hash<std::string_view> h;
        return static_cast<uint32_t>(h(filial) * 31 + h(lancamento));
    }
};

// A key field as text; a list may declare it of another type, written into spare.
std::string_view keyText(const Packet& list, const std::string& row, size_t at,
                         std::deque<std::string>& spare) {
    if (list.layout.type(at) == FieldType::Text) return list.layout.text(row, at);
    return spare.emplace_back(list.layout.get(row, at).asString());
}

// The list's rows by key, in one open-addressed table of row numbers: a scan of the
// whole table looks up every stored boleto, so a lookup must touch little memory. A key
// listed twice finds both rows.
class ListKeys {
public:
    ListKeys(const Packet& list, size_t filialAt, size_t lancAt) {
        size_t size = 16;
        while (size < list.rows.size() * 2)
            size *= 2;
        slots_.resize(size);
        mask_ = size - 1;
        keys_.resize(list.rows.size());
        for (size_t r = 0; r < list.rows.size(); ++r) {
            const std::string& row = list.rows[r];
            if (list.layout.isNull(row, filialAt) || list.layout.isNull(row, lancAt)) continue;
            keys_[r] = {keyText(list, row, filialAt, spare_), keyText(list, row, lancAt, spare_)};
            const uint32_t hash = keys_[r].hash();
            size_t at = hash & mask_;
            while (slots_[at].row)
                at = (at + 1) & mask_;
            slots_[at] = {hash, static_cast<uint32_t>(r + 1)};
        }
    }

    template <typename Found>
    void forEachRow(const RowKey& key, Found&& found) const {
        const uint32_t hash = key.hash();
        for (size_t at = hash & mask_; slots_[at].row; at = (at + 1) & mask_)
            if (slots_[at].hash == hash && keys_[slots_[at].row - 1] == key)
                found(size_t{slots_[at].row - 1});
    }

private:
    struct Slot {
        uint32_t hash = 0;
        uint32_t row = 0;  // row number + 1; 0 for a free slot
    };
    std::vector<Slot> slots_;
    size_t mask_ = 0;
    std::vector<RowKey> keys_;
    std::deque<std::string> spare_;
};

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
    const ListKeys rowsOf(list, filialAt, lancAt);
    Statement st = db.prepare(select);
    const int keyAt = st.columnCount() - 2;
    while (st.step())
        rowsOf.forEachRow(RowKey{st.text(keyAt), st.text(keyAt + 1)},
                          [&](size_t r) { found(r, st); });
}

}  // namespace pag::server
