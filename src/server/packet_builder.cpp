#include "server/packet_builder.h"

#include <memory>

#include "platform/sql/database_error.h"

namespace pag::server {

Packet packetFromStatement(Statement& st, const std::vector<PacketField>& fields) {
    std::vector<int> columns;
    columns.reserve(fields.size());
    for (const PacketField& f : fields) {
        int c = st.columnIndex(f.name);
        if (c < 0) throw DatabaseError("O campo " + f.name + " não está no resultado da consulta.");
        columns.push_back(c);
    }
    Packet p(fields);
    std::vector<Value> row(fields.size());
    while (st.step()) {
        for (size_t i = 0; i < fields.size(); ++i)
            row[i] = st.column(columns[i], fields[i].type);
        p.addRow(row);
    }
    return p;
}

Value packetValue(Packet packet) {
    return Value(std::make_shared<const Packet>(std::move(packet)));
}

}  // namespace pag::server
