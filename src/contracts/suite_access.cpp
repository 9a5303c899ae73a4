#include "contracts/suite_access.h"

#include <stdexcept>

#include "platform/dataset/client_dataset.h"

namespace pag {

namespace {

constexpr const char* kLockSwitch = "IDUTILDTPROC";
constexpr const char* kLockOn = "S";

}  // namespace

bool AcessoOperEmpresa(Database& db, const std::string& empresa, const std::string& operador) {
    if (empresa.empty() || operador.empty()) return false;
    Statement st =
        db.prepare("SELECT 1 FROM OPEREMPRESA WHERE CDOPERADOR = :OPER AND CDEMPRESA = :EMP");
    st.bind("OPER", Value(operador));
    st.bind("EMP", Value(empresa));
    return st.step();
}

bool processingDateLockInForce(const Packet& paramGeral) {
    const int column = paramGeral.fieldIndex(kLockSwitch);
    if (column < 0)
        throw std::invalid_argument(
            "Os parâmetros gerais informados não têm o campo IDUTILDTPROC.");
    for (size_t row = 0; row < paramGeral.rowCount(); ++row)
        if (paramGeral.value(row, kLockSwitch).asString() == kLockOn) return true;
    return false;
}

bool processingDateLockInForce(Database& db) {
    Statement st = db.prepare("SELECT 1 FROM PARAMGERAL WHERE IDUTILDTPROC = :ON LIMIT 1");
    st.bind("ON", Value(kLockOn));
    return st.step();
}

std::optional<Date> firstAllowedProcessingDate(Database& db, const std::string& sistema,
                                               const std::string& operador) {
    // The operator's own row wins over the row of every operator ("*").
    Statement st = db.prepare(
        "SELECT DTPROCLIB FROM DTPROCSIST WHERE CDSISTEMA = :SIS AND CDOPERADOR IN (:OPER, '*')"
        " ORDER BY CASE CDOPERADOR WHEN '*' THEN 1 ELSE 0 END LIMIT 1",
        {{"SIS", Value(sistema)}, {"OPER", Value(operador)}});
    if (!st.step()) return std::nullopt;
    return st.column(0, FieldType::Date).asDate();
}

bool processingDateBlocked(Database& db, const std::string& sistema, const std::string& operador,
                           Date date, bool lockInForce) {
    if (!lockInForce || date.isEmpty()) return false;
    std::optional<Date> first = firstAllowedProcessingDate(db, sistema, operador);
    return first && date < *first;
}

bool DtProcBloq(Database& db, const std::string& sistema, const std::string& operador, Date date,
                const Packet& paramGeral) {
    return processingDateBlocked(db, sistema, operador, date,
                                 processingDateLockInForce(paramGeral));
}

bool DtProcBloq(Database& db, const std::string& sistema, const std::string& operador, Date date,
                const ClientDataSet& cdsParamGeral) {
    if (!cdsParamGeral.Active())
        throw std::logic_error("Os parâmetros gerais (" + cdsParamGeral.Name() +
                               ") não foram carregados.");
    return DtProcBloq(db, sistema, operador, date, *cdsParamGeral.Data());
}

}  // namespace pag
