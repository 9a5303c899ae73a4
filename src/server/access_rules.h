#pragma once

#include <string>

#include "platform/date.h"
#include "platform/sql/database.h"

namespace pag::server {

// The system code of the payables module in the processing-date locks.
inline constexpr const char* kSistemaPag = "Pag";

// Refuses (Refusal, pt-BR) when the operator is not related to the company in
// OPEREMPRESA, or when either is not given.
void checkOperatorCompany(Database& db, const std::string& operador, const std::string& empresa);

// True when `date` lies before the first date the operator may still change in that
// system. The lock is in force only while the general parameter IDUTILDTPROC is 'S'
// (any row of PARAMGERAL); the operator's own DTPROCSIST row wins over the '*' row;
// no row means no lock. The empty date is never blocked.
bool isProcessingDateBlocked(Database& db, const std::string& sistema, const std::string& operador,
                             Date date);

// Refuses with "Boleto anterior à data de processamento não pode ser alterado."
// when the date is blocked for the operator in the payables system.
void checkProcessingDate(Database& db, const std::string& operador, Date date);

}  // namespace pag::server
