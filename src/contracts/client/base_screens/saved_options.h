#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/sql/database.h"

namespace pag {

// A list of name=value entries, in the order they were first set (a filter dialog's
// option list: one entry per criterion list).
class OptionList {
public:
    using Entry = std::pair<std::string, std::string>;

    // Sets an entry, replacing the value of an existing name (names compared exactly).
    void SetValue(std::string_view name, std::string value);
    // The value of a name; empty text when there is no such entry.
    std::string Value(std::string_view name) const;
    bool Has(std::string_view name) const;
    void Clear() { entries_.clear(); }
    bool Empty() const { return entries_.empty(); }
    const std::vector<Entry>& Entries() const { return entries_; }

    bool operator==(const OptionList&) const = default;

private:
    std::vector<Entry> entries_;
};

// What a filter dialog saves for an operator: its option list and the state of its
// criteria controls (by control name).
struct SavedFilter {
    OptionList options;
    OptionList controls;
};

// The saved filter options of one operator on one screen, in the suite database table
// OPCFILTRO (one row per entry; docs/suite.md). Each operator sees only their own.
class SavedOptions {
public:
    // The screen code is the dialog's ("PAG12100"). Empty codes are refused with a pt-BR
    // message (std::invalid_argument).
    SavedOptions(Database& db, std::string operador, std::string tela);

    // Replaces everything saved for this operator and screen with `filter`, in one
    // transaction: an entry not in `filter` is gone afterwards. An operator the suite
    // does not know, or an entry without a name, is refused with a pt-BR message and
    // nothing changes.
    void Save(const SavedFilter& filter);
    // What was saved; nullopt when the operator never saved options on this screen.
    std::optional<SavedFilter> Load() const;
    // Forgets what was saved.
    void Remove();

private:
    Database& db_;
    std::string operador_, tela_;
};

}  // namespace pag
