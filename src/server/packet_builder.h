#pragma once

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

// A packet as a server answer.
Value packetValue(Packet packet);

}  // namespace pag::server
