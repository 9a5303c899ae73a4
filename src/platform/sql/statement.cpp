#include "platform/sql/statement.h"

#include <sqlite3.h>

#include <cctype>
#include <utility>

#include "platform/dataset/packet.h"
#include "platform/sql/column_types.h"
#include "platform/sql/database_error.h"
#include "platform/sql/pg_statement.h"

namespace pag {

namespace {

std::string_view withoutPrefix(std::string_view name) {
    if (!name.empty() && (name[0] == ':' || name[0] == '@' || name[0] == '$'))
        name.remove_prefix(1);
    return name;
}

bool onlyBlanksOrComments(sqlite3* db, const char* tail) {
    // Preparing the rest tells whether another statement follows: comments and
    // blanks prepare to nothing.
    sqlite3_stmt* next = nullptr;
    int rc = sqlite3_prepare_v2(db, tail, -1, &next, nullptr);
    bool none = rc == SQLITE_OK && next == nullptr;
    sqlite3_finalize(next);
    return none;
}

}  // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db), sql_(sql) {
    const char* tail = nullptr;
    int rc =
        sqlite3_prepare_v2(db_, sql_.c_str(), static_cast<int>(sql_.size() + 1), &stmt_, &tail);
    if (rc != SQLITE_OK) fail(rc, "Erro no comando SQL");
    if (!stmt_) throw DatabaseError("O comando SQL está vazio.");
    if (tail && *tail && !onlyBlanksOrComments(db_, tail)) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw DatabaseError(
            "O comando SQL tem mais de uma instrução; use um comando por vez ou um script.");
    }
}

Statement::Statement(std::unique_ptr<PgStatement> pg, std::string_view sql)
    : pg_(std::move(pg)), sql_(sql) {}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_),
      stmt_(std::exchange(other.stmt_, nullptr)),
      pg_(std::move(other.pg_)),
      sql_(std::move(other.sql_)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = other.db_;
        stmt_ = std::exchange(other.stmt_, nullptr);
        pg_ = std::move(other.pg_);
        sql_ = std::move(other.sql_);
    }
    return *this;
}

void Statement::fail(int rc, std::string_view context) const {
    throw DatabaseError::fromSqlite(db_, rc, context);
}

int Statement::parameterCount() const {
    if (pg_) return pg_->parameterCount();
    return sqlite3_bind_parameter_count(stmt_);
}

std::string Statement::parameterName(int index) const {
    if (pg_) return pg_->parameterName(index);
    const char* n = sqlite3_bind_parameter_name(stmt_, index);
    return n ? std::string(withoutPrefix(n)) : std::string();
}

void Statement::bind(std::string_view name, const Value& value) {
    std::string_view wanted = withoutPrefix(name);
    if (pg_) {
        // Each name is one parameter there, however often the text uses it.
        if (int i = pg_->parameterIndex(wanted)) return pg_->bind(i, value);
        throw DatabaseError("O parâmetro " + std::string(wanted) + " não existe no comando SQL.");
    }
    bool found = false;
    for (int i = 1; i <= parameterCount(); ++i) {
        const char* n = sqlite3_bind_parameter_name(stmt_, i);
        if (n && equalsIgnoreCase(withoutPrefix(n), wanted)) {
            bind(i, value);
            found = true;
        }
    }
    if (!found)
        throw DatabaseError("O parâmetro " + std::string(wanted) + " não existe no comando SQL.");
}

void Statement::bind(int index, const Value& value) {
    if (pg_) return pg_->bind(index, value);
    int rc = SQLITE_OK;
    switch (value.type()) {
        case ValueType::Null:
            rc = sqlite3_bind_null(stmt_, index);
            break;
        case ValueType::Text: {
            const std::string& s = value.asString();
            rc = sqlite3_bind_text64(stmt_, index, s.data(), s.size(), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
            break;
        }
        case ValueType::Float:
            rc = sqlite3_bind_double(stmt_, index, value.asFloat());
            break;
        case ValueType::Integer:
            rc = sqlite3_bind_int64(stmt_, index, value.asInteger());
            break;
        case ValueType::Boolean:
            rc = sqlite3_bind_int(stmt_, index, value.asBool() ? 1 : 0);
            break;
        case ValueType::Date: {
            Date d = value.asDate();
            if (d.isEmpty()) {
                rc = sqlite3_bind_null(stmt_, index);
            } else {
                std::string iso = d.toIso();
                rc = sqlite3_bind_text(stmt_, index, iso.c_str(), -1, SQLITE_TRANSIENT);
            }
            break;
        }
        case ValueType::Blob: {
            const std::string& b = value.asBlob().bytes;
            rc = sqlite3_bind_blob64(stmt_, index, b.data(), b.size(), SQLITE_TRANSIENT);
            break;
        }
        default:
            throw DatabaseError::unbindable(valueTypeName(value.type()));
    }
    if (rc != SQLITE_OK) fail(rc, "Erro ao passar o parâmetro " + std::to_string(index));
}

void Statement::clearBindings() {
    if (pg_) return pg_->clearBindings();
    sqlite3_clear_bindings(stmt_);
}

bool Statement::step() {
    if (pg_) return pg_->step();
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    // Read the message before reset, which may replace it.
    DatabaseError err = DatabaseError::fromSqlite(db_, rc, "Erro ao executar o comando SQL");
    sqlite3_reset(stmt_);
    throw err;
}

int Statement::execute() {
    if (pg_) return pg_->execute();
    while (step()) {
    }
    int changed = sqlite3_changes(db_);
    sqlite3_reset(stmt_);
    return changed;
}

void Statement::reset() {
    if (pg_) return pg_->reset();
    sqlite3_reset(stmt_);
}

bool Statement::readOnly() const {
    if (pg_) return pg_->readOnly();
    return sqlite3_stmt_readonly(stmt_) != 0;
}

int Statement::columnCount() const {
    if (pg_) return pg_->columnCount();
    return sqlite3_column_count(stmt_);
}

void Statement::checkColumn(int i) const {
    if (i < 0 || i >= columnCount())
        throw DatabaseError("A coluna " + std::to_string(i) + " não existe no resultado.");
}

std::string Statement::columnName(int i) const {
    checkColumn(i);
    if (pg_) return pg_->columnName(i);
    const char* n = sqlite3_column_name(stmt_, i);
    return n ? n : "";
}

std::string Statement::columnDeclaredType(int i) const {
    checkColumn(i);
    if (pg_) return pg_->columnDeclaredType(i);
    const char* t = sqlite3_column_decltype(stmt_, i);
    return t ? t : "";
}

int Statement::columnIndex(std::string_view name) const {
    if (pg_) {
        for (int i = 0; i < columnCount(); ++i)
            if (equalsIgnoreCase(pg_->columnName(i), name)) return i;
        return -1;
    }
    for (int i = 0; i < columnCount(); ++i)
        if (equalsIgnoreCase(sqlite3_column_name(stmt_, i), name)) return i;
    return -1;
}

Value Statement::column(int i) const {
    checkColumn(i);
    if (pg_) return pg_->column(i);
    switch (sqlite3_column_type(stmt_, i)) {
        case SQLITE_INTEGER:
            return Value(static_cast<int64_t>(sqlite3_column_int64(stmt_, i)));
        case SQLITE_FLOAT:
            return Value(sqlite3_column_double(stmt_, i));
        case SQLITE_TEXT: {
            auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
            return Value(std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, i))));
        }
        case SQLITE_BLOB: {
            auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, i));
            size_t n = static_cast<size_t>(sqlite3_column_bytes(stmt_, i));
            return Value(Blob{p ? std::string(p, n) : std::string()});
        }
        default:
            return Value();
    }
}

Value Statement::column(int i, FieldType type) const {
    return convertStored(column(i), type, columnName(i));
}

std::string_view Statement::text(int i) const {
    checkColumn(i);
    return pg_ ? pg_->text(i) : storedText(i);
}

std::string_view Statement::storedText(int i) const {
    auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    return p ? std::string_view(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, i)))
             : std::string_view();
}

void Statement::writeColumn(int i, RowWriter& w) const {
    checkColumn(i);
    if (pg_) return pg_->writeColumn(i, w);
    const int stored = sqlite3_column_type(stmt_, i);
    const FieldType type = w.type();
    // What is stored as the field's own kind goes straight into the row; anything
    // else takes the checked conversion, which also names the column on failure.
    switch (stored) {
        case SQLITE_NULL:
            return w.null();
        case SQLITE_TEXT:
            if (type == FieldType::Text) return w.text(storedText(i));
            if (type == FieldType::Date)
                if (auto d = Date::tryParseIso(storedText(i))) return w.date(d->serial());
            break;
        case SQLITE_FLOAT:
            if (type == FieldType::Float) return w.floating(sqlite3_column_double(stmt_, i));
            break;
        case SQLITE_INTEGER:
            if (type == FieldType::Integer) return w.integer(sqlite3_column_int64(stmt_, i));
            if (type == FieldType::Float)
                return w.floating(static_cast<double>(sqlite3_column_int64(stmt_, i)));
            break;
        default:
            break;
    }
    w.value(column(i, type));
}

Value Statement::column(std::string_view name) const {
    int i = columnIndex(name);
    if (i < 0) throw DatabaseError("A coluna " + std::string(name) + " não existe no resultado.");
    return column(i);
}

}  // namespace pag
