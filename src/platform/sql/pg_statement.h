#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dataset/row_layout.h"
#include "platform/sql/pg_connection.h"
#include "platform/sql/pg_types.h"
#include "platform/value.h"

namespace pag {

// A Statement on PostgreSQL: the :NAME parameters become $1, $2... (a name used twice
// is one parameter), the text is prepared once on the server, and values travel as
// text (a blob as bytes) for the server to read as the parameter's type.
//
// Rows are read in single-row mode: step() takes each row as the server sends it, so
// a long SELECT never sits whole in memory, neither in libpq nor here. That holds
// while the statement is the only one reading; when another command runs on the
// connection in the middle, the rest of the rows is taken into memory first (the
// connection carries one command at a time), packed as their bytes: a result of its
// own per row would take kilobytes each.
class PgStatement {
public:
    PgStatement(PgConnection& conn, std::string_view sql);
    ~PgStatement();
    PgStatement(const PgStatement&) = delete;
    PgStatement& operator=(const PgStatement&) = delete;

    int parameterCount() const { return static_cast<int>(names_.size()); }
    std::string parameterName(int index) const;
    // Index from 1 of that name, compared case-insensitively; 0 when not there.
    int parameterIndex(std::string_view name) const;
    void bind(int index, const Value& value);
    void clearBindings();

    bool step();
    int execute();
    void reset();
    bool readOnly() const { return readOnly_; }

    int columnCount() const { return static_cast<int>(columns_.size()); }
    const std::string& columnName(int i) const { return columns_[i].name; }
    std::string columnDeclaredType(int i) const;
    Value column(int i) const;
    std::string_view text(int i) const;
    void writeColumn(int i, RowWriter& w) const;

    // Called by the connection before it runs another command.
    void takeRest();

private:
    struct Column {
        std::string name;
        unsigned oid;
        int typmod;
        PgKind kind;
    };

    void describe(std::string_view sql);
    void start();
    pg_result* nextResult();
    void finish();
    bool isNull(int i) const;
    std::string_view raw(int i) const;  // the current row's cell as the server wrote it

    PgConnection& conn_;
    std::string name_;  // of the prepared statement on the server
    std::vector<std::string> names_;
    std::vector<Column> columns_;
    bool readOnly_ = false;
    std::vector<std::optional<std::string>> values_;
    std::vector<int> formats_;  // 1 for bytes (a blob), 0 for text
    bool running_ = false;
    PgResult row_;  // the current row, a result of its own in single-row mode
    // Rows taken off the connection early: cell k of row r at takenCells_[r * n + k],
    // {offset into takenBytes_, length or -1 for null}; then the result that ended them.
    bool taken_ = false;
    std::string takenBytes_;
    std::vector<std::pair<size_t, int>> takenCells_;
    size_t takenRows_ = 0;
    size_t takenNext_ = 0;
    long current_ = -1;  // the taken row being read, or -1
    PgResult takenEnd_;
    mutable std::vector<std::optional<std::string>> blobs_;  // decoded, per column
};

}  // namespace pag
