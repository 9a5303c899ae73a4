#include "contracts/client/base_screens/saved_options.h"

#include <stdexcept>

namespace pag {

namespace {

// IDTPOPCAO: what an OPCFILTRO row holds.
constexpr const char* kKindOption = "O";   // an entry of the option list
constexpr const char* kKindControl = "C";  // the state of a control

void insertEntries(Statement& st, const char* kind, const OptionList& list, int& order) {
    for (const auto& [name, value] : list.Entries()) {
        if (name.empty())
            throw std::invalid_argument("Opção de filtro sem nome: as opções não foram gravadas.");
        st.reset();
        st.bind("KIND", Value(kind));
        st.bind("NAME", Value(name));
        st.bind("VAL", Value(value));
        st.bind("ORD", Value(++order));
        st.execute();
    }
}

void deleteAll(Database& db, const std::string& operador, const std::string& tela) {
    Statement st = db.prepare("DELETE FROM OPCFILTRO WHERE CDOPERADOR = :OPER AND CDTELA = :TELA");
    st.bind("OPER", Value(operador));
    st.bind("TELA", Value(tela));
    st.execute();
}

}  // namespace

void OptionList::SetValue(std::string_view name, std::string value) {
    for (auto& [n, v] : entries_)
        if (n == name) {
            v = std::move(value);
            return;
        }
    entries_.emplace_back(std::string(name), std::move(value));
}

std::string OptionList::Value(std::string_view name) const {
    for (const auto& [n, v] : entries_)
        if (n == name) return v;
    return {};
}

bool OptionList::Has(std::string_view name) const {
    for (const auto& [n, v] : entries_)
        if (n == name) return true;
    return false;
}

SavedOptions::SavedOptions(Database& db, std::string operador, std::string tela)
    : db_(db), operador_(std::move(operador)), tela_(std::move(tela)) {
    if (operador_.empty())
        throw std::invalid_argument(
            "Operador não informado: as opções do filtro não são gravadas.");
    if (tela_.empty()) throw std::invalid_argument("Tela não informada para as opções do filtro.");
}

void SavedOptions::Save(const SavedFilter& filter) {
    Transaction tx(db_, TransactionMode::Immediate);
    Statement known = db_.prepare("SELECT 1 FROM OPERADOR WHERE CDOPERADOR = :OPER");
    known.bind("OPER", Value(operador_));
    if (!known.step())
        throw std::invalid_argument("Operador " + operador_ +
                                    " não cadastrado: as opções do filtro não foram gravadas.");
    deleteAll(db_, operador_, tela_);
    Statement ins = db_.prepare(
        "INSERT INTO OPCFILTRO (CDOPERADOR, CDTELA, IDTPOPCAO, NMOPCAO, DSVALOPCAO, NRORDEM)"
        " VALUES (:OPER, :TELA, :KIND, :NAME, :VAL, :ORD)");
    ins.bind("OPER", Value(operador_));
    ins.bind("TELA", Value(tela_));
    int order = 0;
    insertEntries(ins, kKindOption, filter.options, order);
    insertEntries(ins, kKindControl, filter.controls, order);
    tx.commit();
}

std::optional<SavedFilter> SavedOptions::Load() const {
    Statement st = db_.prepare(
        "SELECT IDTPOPCAO, NMOPCAO, DSVALOPCAO FROM OPCFILTRO"
        " WHERE CDOPERADOR = :OPER AND CDTELA = :TELA ORDER BY NRORDEM");
    st.bind("OPER", Value(operador_));
    st.bind("TELA", Value(tela_));
    std::optional<SavedFilter> found;
    while (st.step()) {
        if (!found) found.emplace();
        OptionList& list =
            st.column(0).asString() == kKindControl ? found->controls : found->options;
        list.SetValue(st.column(1).asString(), st.column(2).asString());
    }
    return found;
}

void SavedOptions::Remove() {
    deleteAll(db_, operador_, tela_);
}

}  // namespace pag
