#include "server/packet_builder.h"

#include <memory>

#include "platform/sql/database_error.h"

namespace pag::server {

namespace {

Packet readRows(Statement& st, const std::vector<PacketField>& fields, UnreadableRows* unreadable,
                const std::string& positionField = {}) {
    std::vector<int> columns;
    columns.reserve(fields.size());
    for (const PacketField& f : fields) {
        const bool position = !positionField.empty() && equalsIgnoreCase(f.name, positionField);
        int c = position ? -1 : st.columnIndex(f.name);
        if (c < 0 && !position)
            throw DatabaseError("O campo " + f.name + " não está no resultado da consulta.");
        columns.push_back(c);
    }
    Packet p(fields);
    RowWriter row(p.layout);
    double position = 0;
    while (st.step()) {
        ++position;
        try {
            row.start();
            for (size_t i = 0; i < fields.size(); ++i) {
                if (columns[i] < 0)
                    row.value(Value(position));
                else
                    st.writeColumn(columns[i], row);
            }
        } catch (const DatabaseError& e) {
            if (!unreadable) throw;
            std::string key;
            for (const std::string& k : unreadable->keyColumns) {
                const int c = st.columnIndex(k);
                key +=
                    (key.empty() ? "" : "/") + (c < 0 ? std::string("?") : st.column(c).asString());
            }
            unreadable->messages.push_back(unreadable->what + " " + key +
                                           " não pôde ser lido: " + e.what());
            continue;
        }
        p.rows.push_back(row.finish());
    }
    return p;
}

}  // namespace

Packet packetFromStatement(Statement& st, const std::vector<PacketField>& fields) {
    return readRows(st, fields, nullptr);
}

Packet packetFromStatement(Statement& st, const std::vector<PacketField>& fields,
                           UnreadableRows& unreadable) {
    return readRows(st, fields, &unreadable);
}

Packet packetFromStatement(Statement& st, const std::vector<PacketField>& fields,
                           UnreadableRows& unreadable, const std::string& positionField) {
    return readRows(st, fields, &unreadable, positionField);
}

Value packetValue(Packet packet) {
    return Value(std::make_shared<Packet>(std::move(packet)));
}

}  // namespace pag::server
