#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/dataset/packet.h"
#include "platform/sql/database.h"

namespace pag::server {

// How a dataset's change log maps onto a table.
struct ChangeLogTable {
    std::string table;
    // The columns that identify a row; each must be a field of the packet.
    std::vector<std::string> keyColumns;
    // Every stored column the packet may carry, keys included. Packet fields outside
    // this list (names joined from other tables, client-only marks) are ignored.
    std::vector<std::string> columns;
    // The message when a modified or deleted row no longer matches what the client
    // read (changed or removed by another user), given the row's original key values
    // in keyColumns order. Empty: a general text naming the table and key.
    std::function<std::string(Database&, const std::vector<Value>& key)> conflictMessage;
};

struct ChangeLogCounts {
    int inserted = 0;
    int modified = 0;
    int deleted = 0;
};

// Applies a change log (inserts, modifies with original values, deletes) to the table,
// inside the caller's transaction.
//
// A modify updates the columns whose value changed, and a modify or delete applies
// only while the stored row still holds every original value of the bound columns
// (compared NULL-safely with IS; money and other numbers after rounding to cents). A
// row that no longer matches refuses the whole call (Refusal with the table's
// conflict message): the caller's transaction rolls every change of the call back.
//
// The screen's "no value" placeholders, -1 in a number field and a single blank in a
// text field, are stored (and compared) as null. An insert leaves null columns out,
// so the table's defaults apply.
ChangeLogCounts applyChangeLog(Database& db, const Packet& delta, const ChangeLogTable& table);

// A value with the placeholders above turned into null.
Value withoutPlaceholder(const Value& v);

}  // namespace pag::server
