#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/dataset/client_dataset.h"
#include "platform/sql/database.h"

namespace pag {

// A parameter of a query. Never set, or cleared, it binds null.
class QueryParam {
public:
    explicit QueryParam(std::string name) : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }
    const Value& AsValue() const { return value_; }
    std::string AsString() const { return value_.asString(); }
    bool IsNull() const { return value_.isNull(); }

    void SetValue(Value v) { value_ = std::move(v); }
    void SetAsString(std::string s) { value_ = Value(std::move(s)); }
    void SetAsFloat(double d) { value_ = Value(d); }
    void SetAsInteger(int64_t i) { value_ = Value(i); }
    // The empty date binds null.
    void SetAsDate(Date d) { value_ = d.isEmpty() ? Value() : Value(d); }
    void Clear() { value_ = Value(); }

private:
    std::string name_;
    Value value_;
};

// A read-only query on the database shown like any dataset: grids and pick lists
// read it through the ClientDataSet interface (fields, navigation, Locate...).
//
// Use: Close(); ParamByName("P_CODE").SetAsString(code); Open(); if (IsEmpty())...
//
// Open() runs the SQL with its parameters bound (a parameter written several times
// binds the same value) and loads every row. Field definitions declared with
// SetFieldDefs before Open (labels, masks, display formats, hidden columns) are kept
// for the result columns of the same name; result columns not declared become fields
// typed by the column's declared type or, for expressions, by their values. A declared
// field that is neither calculated nor in the result is refused when opening.
//
// Only statements that read are accepted; the rows are read-only (editing is refused).
// Open() hides ClientDataSet::Open(): called through a ClientDataSet reference, Open
// only shows the rows already loaded, it never runs the SQL.
class Query : public ClientDataSet {
public:
    explicit Query(std::string name = {}, Database* db = nullptr, std::string sql = {});

    Database* GetDatabase() const { return db_; }
    // Closes the query.
    void SetDatabase(Database* db);

    const std::string& SQL() const { return sql_; }
    // Closes the query and makes a fresh (unset) parameter for each :NAME of the text;
    // references from ParamByName on the old text are no longer valid.
    void SetSQL(std::string sql);

    size_t ParamCount() const { return params_.size(); }
    QueryParam& Params(size_t i) { return params_.at(i); }
    // Case-insensitive; a name that is not in the SQL text throws DatabaseError.
    QueryParam& ParamByName(std::string_view name);
    QueryParam* FindParam(std::string_view name);

    // Runs the SQL and loads the rows (closing first when open). On failure the query
    // stays closed and DatabaseError names the query.
    void Open();

private:
    struct Result;

    std::string label() const;
    Result run();
    std::vector<FieldDef> fieldDefsFor(const Result& result);
    void applyFieldDefs(const std::vector<FieldDef>& merged);
    PacketPtr packetOf(const Result& result) const;

    Database* db_ = nullptr;
    std::string sql_;
    std::vector<QueryParam> params_;
    std::vector<FieldDef> declared_;  // what the screen declared with SetFieldDefs
    std::vector<FieldDef> merged_;    // declared + other result columns, at the last open
    std::vector<FieldDef> applied_;   // the definitions the fields were last built from
};

}  // namespace pag
