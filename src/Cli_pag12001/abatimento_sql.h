#pragma once

// The deductions dialog's lookup SQL on the suite's database.
namespace pag::abatimento_sql {

// The discount types of one kind of deduction (P_IDTPAJPAGAR "A" advances, "D" return
// notes): the one of code P_CDAJUCTPAG, or all of them when it is null.
inline constexpr const char* kSqlTipoAjPagar = R"(SELECT
   CDAJUCTPAG,
   DSAJUCTPAG
FROM
   TIPOAJPAGAR
WHERE
   IDAJUCTPAG = 'D' AND
   CDAJUCTPAG = COALESCE(:P_CDAJUCTPAG, CDAJUCTPAG)
   AND IDTPAJPAGAR = :P_IDTPAJPAGAR
ORDER BY
  CDAJUCTPAG)";

}  // namespace pag::abatimento_sql
