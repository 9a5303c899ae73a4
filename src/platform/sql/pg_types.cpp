#include "platform/sql/pg_types.h"

namespace pag {

namespace {

// OIDs of the built-in types (fixed by the server's catalog).
enum : unsigned {
    kBool = 16,
    kBytea = 17,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kText = 25,
    kFloat4 = 700,
    kFloat8 = 701,
    kBpchar = 1042,
    kVarchar = 1043,
    kDate = 1082,
    kTimestamp = 1114,
    kTimestamptz = 1184,
    kNumeric = 1700,
};

// The length a character type was declared with; the modifier counts 4 more.
std::string withLength(const char* name, int typmod) {
    return typmod > 4 ? std::string(name) + "(" + std::to_string(typmod - 4) + ")" : name;
}

}  // namespace

PgKind pgKindOf(unsigned oid) {
    switch (oid) {
        case kInt2:
        case kInt4:
        case kInt8:
            return PgKind::Integer;
        case kFloat4:
        case kFloat8:
        case kNumeric:
            return PgKind::Float;
        case kBool:
            return PgKind::Boolean;
        case kDate:
            return PgKind::Date;
        case kBytea:
            return PgKind::Blob;
        default:
            return PgKind::Text;
    }
}

std::string pgDeclaredType(unsigned oid, int typmod) {
    switch (oid) {
        case kBool:
            return "BOOLEAN";
        case kBytea:
            return "BYTEA";
        case kInt2:
            return "SMALLINT";
        case kInt4:
            return "INTEGER";
        case kInt8:
            return "BIGINT";
        case kText:
            return "TEXT";
        case kFloat4:
            return "REAL";
        case kFloat8:
            return "DOUBLE PRECISION";
        case kBpchar:
            return withLength("CHAR", typmod);
        case kVarchar:
            return withLength("VARCHAR", typmod);
        case kDate:
            return "DATE";
        case kTimestamp:
        case kTimestamptz:
            return "TIMESTAMP";
        case kNumeric: {
            if (typmod < 4) return "NUMERIC";
            const int precision = ((typmod - 4) >> 16) & 0xffff;
            const int scale = (typmod - 4) & 0xffff;
            return "NUMERIC(" + std::to_string(precision) + "," + std::to_string(scale) + ")";
        }
        default:
            return "";
    }
}

}  // namespace pag
