#include "contracts/keylist.h"

#include <stdexcept>

namespace pag {

int TKeyList::Add(const std::string& key, const Value& value) {
    int index = IndexOf(key);
    if (index >= 0) {
        entries_[static_cast<size_t>(index)].second = value;
        return index;
    }
    entries_.emplace_back(key, value);
    return Count() - 1;
}

int TKeyList::IndexOf(std::string_view key) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].first == key) return static_cast<int>(i);
    return -1;
}

void TKeyList::Remove(std::string_view key) {
    int index = IndexOf(key);
    if (index >= 0) entries_.erase(entries_.begin() + index);
}

double TKeyList::Sum(int index) const {
    if (index < 0 || index >= Count()) return 0.0;
    return entries_[static_cast<size_t>(index)].second.asFloat();
}

const std::string& TKeyList::Key(int index) const {
    if (index < 0 || index >= Count()) throw std::out_of_range("Índice fora da lista.");
    return entries_[static_cast<size_t>(index)].first;
}

const Value& TKeyList::ValueAt(int index) const {
    if (index < 0 || index >= Count()) throw std::out_of_range("Índice fora da lista.");
    return entries_[static_cast<size_t>(index)].second;
}

}  // namespace pag
