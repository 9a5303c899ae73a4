#pragma once

// The filter dialog's lookup SQL on the suite's database. The supplier list runs with
// its parameters used directly, the form that needs no PARAM() table function.
namespace pag::filtro_sql {

inline constexpr const char* kSqlFornecedor =
    R"(SELECT CDFORNECED  , NMRAZSOCFORN, NMFANTFORN, IDTPIJURFORN,
       NRINSJURFORN
FROM FORNECEDOR
WHERE
    (:P_TIDTPIJURFORN = 'T' OR  (INSTR(:P_IDTPIJURFORN, IDTPIJURFORN) > 0)) AND
    (:P_TCDGRUPFORN = 'T' OR (INSTR(:P_CDGRUPFORN, CDGRUPFORN) > 0))
ORDER BY NMRAZSOCFORN)";

inline constexpr const char* kSqlFilial = R"(SELECT
  CDFILIAL,
  NMFILIAL
FROM
  FILIAL
ORDER BY
   CDFILIAL)";

inline constexpr const char* kSqlFormaPag = R"(SELECT
   CDTPBAIXAPAG,
   NMTPBAIXAPAG,
   IDBAIXAUTILP,
   VRMAXDOCCNAB
FROM
   TIPOBAIXAPAG
ORDER BY
    CDTPBAIXAPAG)";

inline constexpr const char* kSqlPesqBanco = R"(SELECT
   CDBANCO,
   NMBANCO
FROM
   BANCO
ORDER BY
   CDBANCO)";

inline constexpr const char* kSqlTipoCtPagar = R"(SELECT CDTPCTPAGAR, DSTPCTPAGAR
FROM TIPOCTPAGAR
ORDER BY CDTPCTPAGAR)";

inline constexpr const char* kSqlGrForn = R"(SELECT CDGRUPFORN, NMGRUPFORN
FROM GRUPFORN
ORDER BY CDGRUPFORN)";

}  // namespace pag::filtro_sql
