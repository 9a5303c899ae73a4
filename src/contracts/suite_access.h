#pragma once

#include <optional>
#include <string>

#include "platform/dataset/packet.h"
#include "platform/date.h"
#include "platform/sql/database.h"

namespace pag {

class ClientDataSet;

// The suite's access rules that the screens check before letting an operator work, read
// from the suite database. The application server applies the same rules through these
// functions, so a screen never lets through what the server refuses (docs/suite.md).

// True when OPEREMPRESA relates the operator to the company (codes compared exactly, as
// stored). An empty company or operator is never related.
bool AcessoOperEmpresa(Database& db, const std::string& empresa, const std::string& operador);

// The processing-date lock switch of the general parameters: on when any row of the
// packet has IDUTILDTPROC "S". A packet without rows leaves the lock off; a packet
// without the column is refused (std::invalid_argument), since it is not the general
// parameters.
bool processingDateLockInForce(const Packet& paramGeral);
// The same switch read from the PARAMGERAL table (for the server, which has no packet).
bool processingDateLockInForce(Database& db);

// The first date the operator may still change in a system: the operator's own
// DTPROCSIST row, else the row of operator "*"; nullopt when there is neither.
std::optional<Date> firstAllowedProcessingDate(Database& db, const std::string& sistema,
                                               const std::string& operador);

// The lock rule itself: a date is blocked when the lock is in force, the date is not
// empty and it lies before the first allowed date (the first allowed date itself is
// free). No DTPROCSIST row means no lock.
bool processingDateBlocked(Database& db, const std::string& sistema, const std::string& operador,
                           Date date, bool lockInForce);

// True when the date is blocked for the operator in the system, the switch taken from
// the general parameters the screen holds (the full content of cdsParamGeral).
bool DtProcBloq(Database& db, const std::string& sistema, const std::string& operador, Date date,
                const Packet& paramGeral);
bool DtProcBloq(Database& db, const std::string& sistema, const std::string& operador, Date date,
                const ClientDataSet& cdsParamGeral);

}  // namespace pag
