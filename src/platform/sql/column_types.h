#pragma once

#include <optional>
#include <string_view>

#include "platform/dataset/row_layout.h"
#include "platform/value.h"

namespace pag {

// How result columns become dataset fields.

// The field type a declared column type stands for: DATE/DATETIME/TIMESTAMP -> date,
// BOOL... -> boolean, ...INT... -> integer, CHAR/TEXT/CLOB -> text, BLOB/BYTEA -> blob,
// REAL/FLOAT/DOUBLE/NUMERIC/DECIMAL/NUMBER/MONEY -> float. Nothing for an empty or
// unknown type (an expression): the values decide then.
std::optional<FieldType> fieldTypeOfDeclared(std::string_view declared);
// "VARCHAR(40)" -> 40; 0 when the declaration gives no length.
int sizeOfDeclared(std::string_view declared);
// The field type of a value as SQLite stored it (null reads as text).
FieldType fieldTypeOfStored(const Value& stored);

// A stored value (null, integer, float, text or blob) converted to a field type.
// Numbers stored as text must be plain numbers ("12.5"), dates "YYYY-MM-DD" text (a
// time part after the date is ignored). Anything else throws DatabaseError naming
// the column.
Value convertStored(const Value& stored, FieldType type, std::string_view column);

}  // namespace pag
