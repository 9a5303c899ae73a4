#include "platform/sql/pg_statement.h"

#include <libpq-fe.h>

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include "platform/dataset/packet.h"
#include "platform/sql/column_types.h"
#include "platform/sql/pg_error.h"
#include "platform/sql/sql_parameters.h"

namespace pag {

namespace {

constexpr std::string_view kRunContext = "Erro ao executar o comando SQL";

bool nameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

std::string upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

// The server folds unquoted names to lower case; a SQLite connection reports them as
// the text writes them, and the suite's tables declare them in capitals. So: the
// spelling of the text when the name is there, else capitals; a name with capitals
// was quoted and stays as it is.
std::string writtenName(std::string_view sql, const std::string& folded) {
    for (char c : folded)
        if (std::isupper(static_cast<unsigned char>(c))) return folded;
    const size_t n = folded.size();
    for (size_t at = 0; at + n <= sql.size(); ++at) {
        if (!equalsIgnoreCase(sql.substr(at, n), folded)) continue;
        const bool alone =
            (at == 0 || !nameChar(sql[at - 1])) && (at + n == sql.size() || !nameChar(sql[at + n]));
        if (alone) return std::string(sql.substr(at, n));
    }
    return upper(folded);
}

// A statement that only reads: a SELECT (or VALUES, TABLE), or a WITH whose parts
// change nothing.
bool onlyReads(std::string_view sql) {
    std::string first;
    bool writes = false;
    forEachWord(sql, [&](std::string_view w) {
        const std::string u = upper(w);
        if (first.empty()) first = u;
        writes = writes || u == "INSERT" || u == "UPDATE" || u == "DELETE" || u == "MERGE";
    });
    if (first == "SELECT" || first == "VALUES" || first == "TABLE") return true;
    return first == "WITH" && !writes;
}

std::string floatText(double d) {
    // The shortest text that reads back as the same double.
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, end);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

// bytea as the server writes it: "\x" and two hex digits a byte.
std::string bytesOf(std::string_view hex) {
    std::string out;
    if (hex.starts_with("\\x")) hex.remove_prefix(2);
    out.reserve(hex.size() / 2);
    for (size_t k = 0; k + 1 < hex.size(); k += 2)
        out += static_cast<char>(hexDigit(hex[k]) * 16 + hexDigit(hex[k + 1]));
    return out;
}

constexpr Oid kTextOid = 25;

// The $n of "could not determine data type of parameter $n", or 0.
int untypedParameter(const PGresult* res) {
    const char* state = res ? PQresultErrorField(res, PG_DIAG_SQLSTATE) : nullptr;
    if (!state || std::string_view(state) != "42P18") return 0;
    const char* msg = PQresultErrorField(res, PG_DIAG_MESSAGE_PRIMARY);
    const char* dollar = msg ? std::strrchr(msg, '$') : nullptr;
    return dollar ? std::atoi(dollar + 1) : 0;
}

// Nothing when the text is not a number of that kind (a NUMERIC beyond a double's
// range): the value then stays text, for the checked conversions to refuse.
template <typename T>
std::optional<T> number(std::string_view s) {
    T v{};
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

}  // namespace

PgStatement::PgStatement(PgConnection& conn, std::string_view sql)
    : conn_(conn), name_(conn.nextStatementName()) {
    if (onlyBlanksOrComments(sql)) throw DatabaseError("O comando SQL está vazio.");
    if (!onlyBlanksOrComments(afterFirstStatement(sql)))
        throw DatabaseError(
            "O comando SQL tem mais de uma instrução; use um comando por vez ou um script.");
    describe(sql);
}

void PgStatement::describe(std::string_view sql) {
    NumberedSql numbered = numberParameters(sql);
    names_ = std::move(numbered.names);
    values_.assign(names_.size(), std::nullopt);
    formats_.assign(names_.size(), 0);
    readOnly_ = onlyReads(sql);
    conn_.yield();
    PGconn* c = conn_.raw();
    // The server infers each parameter's type from where it stands; one it cannot
    // place (":P IS NULL", a bare select item) is text, as SQLite would take it.
    std::vector<Oid> types(names_.size(), 0);
    for (;;) {
        PgResult prepared(
            PQprepare(c, name_.c_str(), numbered.text.c_str(), parameterCount(), types.data()));
        const int k = untypedParameter(prepared.get());
        if (k < 1 || k > parameterCount() || types[k - 1] != 0) {
            conn_.check(prepared.release(), "Erro no comando SQL");
            break;
        }
        types[k - 1] = kTextOid;
    }
    PgResult d = conn_.check(PQdescribePrepared(c, name_.c_str()), "Erro no comando SQL");
    for (int i = 0; i < PQnfields(d.get()); ++i) {
        const unsigned oid = PQftype(d.get(), i);
        columns_.push_back(
            {writtenName(sql, PQfname(d.get(), i)), oid, PQfmod(d.get(), i), pgKindOf(oid)});
    }
    blobs_.resize(columns_.size());
}

PgStatement::~PgStatement() {
    reset();
    conn_.yield();
    // A failed transaction refuses this too; the server drops it with the connection.
    PQclear(PQexec(conn_.raw(), ("DEALLOCATE " + name_).c_str()));
}

std::string PgStatement::parameterName(int index) const {
    return index >= 1 && index <= parameterCount() ? names_[index - 1] : std::string();
}

int PgStatement::parameterIndex(std::string_view name) const {
    for (size_t k = 0; k < names_.size(); ++k)
        if (equalsIgnoreCase(names_[k], name)) return static_cast<int>(k) + 1;
    return 0;
}

void PgStatement::bind(int index, const Value& value) {
    if (index < 1 || index > parameterCount())
        throw DatabaseError("O parâmetro " + std::to_string(index) + " não existe no comando SQL.");
    std::optional<std::string>& slot = values_[index - 1];
    int format = 0;
    switch (value.type()) {
        case ValueType::Null:
            slot.reset();
            break;
        case ValueType::Text:
            // Parameters travel as C strings: a zero byte would cut the text short.
            if (value.asString().find('\0') != std::string::npos)
                throw DatabaseError("O texto do parâmetro " + names_[index - 1] +
                                    " contém um caractere nulo, que o PostgreSQL não aceita.");
            slot = value.asString();
            break;
        case ValueType::Float:
            slot = floatText(value.asFloat());
            break;
        case ValueType::Integer:
            slot = std::to_string(value.asInteger());
            break;
        case ValueType::Boolean:
            slot = value.asBool() ? "1" : "0";
            break;
        case ValueType::Date:
            if (value.asDate().isEmpty())
                slot.reset();
            else
                slot = value.asDate().toIso();
            break;
        case ValueType::Blob:
            slot = value.asBlob().bytes;
            format = 1;
            break;
        default:
            throw DatabaseError::unbindable(valueTypeName(value.type()));
    }
    formats_[index - 1] = format;
}

void PgStatement::clearBindings() {
    values_.assign(values_.size(), std::nullopt);
    formats_.assign(formats_.size(), 0);
}

void PgStatement::start() {
    conn_.yield();
    const int n = parameterCount();
    std::vector<const char*> values(n);
    std::vector<int> lengths(n);
    for (int k = 0; k < n; ++k) {
        values[k] = values_[k] ? values_[k]->c_str() : nullptr;
        lengths[k] = values_[k] ? static_cast<int>(values_[k]->size()) : 0;
    }
    PGconn* c = conn_.raw();
    if (!PQsendQueryPrepared(c, name_.c_str(), n, values.data(), lengths.data(), formats_.data(),
                             0))
        throw postgresError(nullptr, c, kRunContext);
    PQsetSingleRowMode(c);
    conn_.claim(this);
    running_ = true;
}

pg_result* PgStatement::nextResult() {
    if (taken_) {
        taken_ = false;
        return takenEnd_.release();
    }
    return conn_.owns(this) ? PQgetResult(conn_.raw()) : nullptr;
}

void PgStatement::takeRest() {
    const int n = columnCount();
    while (PGresult* r = PQgetResult(conn_.raw())) {
        if (PQresultStatus(r) != PGRES_SINGLE_TUPLE) {
            if (!takenEnd_)
                takenEnd_.reset(r);
            else
                PQclear(r);
            continue;
        }
        for (int k = 0; k < n; ++k) {
            const bool null = PQgetisnull(r, 0, k);
            const int length = PQgetlength(r, 0, k);
            takenCells_.emplace_back(takenBytes_.size(), null ? -1 : length);
            takenBytes_.append(PQgetvalue(r, 0, k), static_cast<size_t>(length));
        }
        ++takenRows_;
        PQclear(r);
    }
    taken_ = true;
}

void PgStatement::finish() {
    if (conn_.owns(this)) {
        while (PGresult* r = PQgetResult(conn_.raw()))
            PQclear(r);
        conn_.release(this);
    }
    taken_ = false;
    takenBytes_.clear();
    takenCells_.clear();
    takenRows_ = takenNext_ = 0;
    current_ = -1;
    takenEnd_.reset();
    running_ = false;
}

bool PgStatement::step() {
    row_.reset();
    current_ = -1;
    blobs_.assign(blobs_.size(), std::nullopt);
    // After the last row the statement starts over, as a SQLite one does.
    if (!running_) start();
    if (taken_ && takenNext_ < takenRows_) {
        current_ = static_cast<long>(takenNext_++);
        return true;
    }
    PgResult r(nextResult());
    const ExecStatusType st = r ? PQresultStatus(r.get()) : PGRES_COMMAND_OK;
    if (st == PGRES_SINGLE_TUPLE) {
        row_ = std::move(r);
        return true;
    }
    if (st == PGRES_TUPLES_OK || st == PGRES_COMMAND_OK) {
        if (!readOnly_ && r) conn_.setChanges(std::atoi(PQcmdTuples(r.get())));
        finish();
        return false;
    }
    DatabaseError err = postgresError(r.get(), conn_.raw(), kRunContext);
    finish();
    throw err;
}

int PgStatement::execute() {
    while (step()) {
    }
    return conn_.changes();
}

void PgStatement::reset() {
    row_.reset();
    current_ = -1;
    if (running_) finish();
}

std::string PgStatement::columnDeclaredType(int i) const {
    return pgDeclaredType(columns_[i].oid, columns_[i].typmod);
}

bool PgStatement::isNull(int i) const {
    if (current_ >= 0) return takenCells_[current_ * columnCount() + i].second < 0;
    return !row_ || PQgetisnull(row_.get(), 0, i);
}

std::string_view PgStatement::raw(int i) const {
    if (current_ >= 0) {
        const auto [offset, length] = takenCells_[current_ * columnCount() + i];
        return std::string_view(takenBytes_).substr(offset, static_cast<size_t>(length));
    }
    return {PQgetvalue(row_.get(), 0, i), static_cast<size_t>(PQgetlength(row_.get(), 0, i))};
}

std::string_view PgStatement::text(int i) const {
    if (isNull(i)) return {};
    const std::string_view raw = this->raw(i);
    switch (columns_[i].kind) {
        case PgKind::Boolean:
            return raw == "t" ? "1" : "0";
        case PgKind::Blob:
            if (!blobs_[i]) blobs_[i] = bytesOf(raw);
            return *blobs_[i];
        default:
            return raw;
    }
}

Value PgStatement::column(int i) const {
    if (isNull(i)) return Value();
    std::string_view t = text(i);
    switch (columns_[i].kind) {
        case PgKind::Integer:
        case PgKind::Boolean:
            if (auto n = number<int64_t>(t)) return Value(*n);
            break;
        case PgKind::Float:
            if (auto d = number<double>(t)) return Value(*d);
            break;
        case PgKind::Blob:
            return Value(Blob{std::string(t)});
        default:
            break;
    }
    return Value(std::string(t));
}

void PgStatement::writeColumn(int i, RowWriter& w) const {
    if (isNull(i)) return w.null();
    const FieldType type = w.type();
    const std::string_view t = text(i);
    // As on SQLite: a value already of the field's kind goes straight into the row,
    // anything else takes the checked conversion.
    switch (columns_[i].kind) {
        case PgKind::Text:
            if (type == FieldType::Text) return w.text(t);
            break;
        case PgKind::Date:
            if (type == FieldType::Date)
                if (auto d = Date::tryParseIso(t)) return w.date(d->serial());
            if (type == FieldType::Text) return w.text(t);
            break;
        case PgKind::Float:
            if (type == FieldType::Float)
                if (auto d = number<double>(t)) return w.floating(*d);
            break;
        case PgKind::Integer:
            if (type == FieldType::Integer)
                if (auto n = number<int64_t>(t)) return w.integer(*n);
            if (type == FieldType::Float)
                if (auto d = number<double>(t)) return w.floating(*d);
            break;
        default:
            break;
    }
    w.value(convertStored(column(i), type, columnName(i)));
}

}  // namespace pag
