#pragma once

#include <string>
#include <vector>

#include "platform/dataset/packet.h"
#include "platform/sql/statement.h"

namespace pag::server {

// Runs a prepared (and bound) statement and returns its rows as a packet with exactly
// these fields, in this order: each field reads the result column of the same name
// (case-insensitive), converted to the field's type. A field without a column is a
// fault of the operation's SQL (DatabaseError naming the field); result columns
// without a field are left out.
Packet packetFromStatement(Statement& st, const std::vector<PacketField>& fields);

// Rows that could not be read (a stored value that does not convert to its field),
// left out of the packet instead of failing the whole answer: one message per row,
// naming the row by its key columns.
struct UnreadableRows {
    std::string what;  // "Boleto"
    std::vector<std::string> keyColumns;
    std::vector<std::string> messages;
};

// As above, but a row that cannot be read is reported in unreadable and the other
// rows still load.
Packet packetFromStatement(Statement& st, const std::vector<PacketField>& fields,
                           UnreadableRows& unreadable);

// As above, and the field named positionField, which the query does not select, gets
// each row's position in the result (1, 2, ... as a float, counting the unreadable
// rows too): cheaper than numbering the rows in SQL with a window over the same order.
Packet packetFromStatement(Statement& st, const std::vector<PacketField>& fields,
                           UnreadableRows& unreadable, const std::string& positionField);

// A packet as a server answer.
Value packetValue(Packet packet);

}  // namespace pag::server
