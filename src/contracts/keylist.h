#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/value.h"

namespace pag {

// A list of entries made of a text key and a value, in the order they were added.
// Keys are unique and compared exactly: adding a key that is already present replaces
// its value in place.
class TKeyList {
public:
    // Adds the entry (or replaces the value of the key) and returns its index.
    int Add(const std::string& key, const Value& value);
    // Index of the key, or -1 when absent.
    int IndexOf(std::string_view key) const;
    // Removes the key; does nothing when absent. Later entries move down one index.
    void Remove(std::string_view key);
    // The value at the index as a number; 0 for a negative or out-of-range index, so
    // the result of IndexOf for an absent key can be passed as it is.
    double Sum(int index) const;
    int Count() const { return static_cast<int>(entries_.size()); }
    void Clear() { entries_.clear(); }
    // Key and value at an index; out of range throws std::out_of_range.
    const std::string& Key(int index) const;
    const Value& ValueAt(int index) const;

private:
    std::vector<std::pair<std::string, Value>> entries_;
};

}  // namespace pag
