#pragma once

#include <cstdint>
#include <string>

#include "platform/sql/database.h"

namespace pag::server {

// Launch numbers of boletos: ten digits, one sequence per branch (SEQLANBOLPAG).

// "0000000042".
std::string formatLaunchNumber(int64_t number);

// Reserves `count` consecutive numbers of the branch inside the caller's transaction
// (which must be a writing one, so two callers never get the same) and returns the
// first. Starts after the highest number the branch already uses, so a sequence that
// lags behind the boletos (imported data) cannot hand out a taken number. Refuses an
// unknown branch or a count below 1.
std::string reserveLaunchNumbers(Database& db, const std::string& filial, int64_t count = 1);

// True when the number was handed out for the branch: ten digits and not above the
// branch's last reserved number.
bool launchNumberReserved(Database& db, const std::string& filial, const std::string& number);

}  // namespace pag::server
