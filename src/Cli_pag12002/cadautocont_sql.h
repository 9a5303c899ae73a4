#pragma once

// The automatic enabling dialog's lookup SQL on the suite's database.
namespace pag::cadautocont_sql {

// The extension reasons: the one of code P_CDMOTIPROR, or all of them when
// P_TCDMOTIPROR is "T".
inline constexpr const char* kSqlMotivoPror =
    "SELECT CDMOTIPROR, DSMOTIPROR\n"
    "FROM MOTIVOPROR\n"
    "WHERE (CDMOTIPROR = :P_CDMOTIPROR or :P_TCDMOTIPROR = 'T') \n"
    "ORDER BY CDMOTIPROR";

}  // namespace pag::cadautocont_sql
