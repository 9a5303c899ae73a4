#pragma once

#include <string>
#include <vector>

#include "platform/dataset/packet.h"
#include "platform/sql/database.h"
#include "server/sql_conditions.h"

namespace pag::server {

// The boleto record as the screen loads it (boletoFields()): BOLETPAGAR as B joined
// with its supplier F, settlement type TB, paying account CC, the account's bank BC
// and the extension reason MP. Only open boletos not absorbed by a real boleto are
// ever listed; `where` adds the caller's conditions (refer to the aliases above).
//
// Order: due date, supplier name, branch, split set, installment. NRPARCBOLPAGNUM is
// the row's position in that order, so the screen's index on it keeps this order;
// NRPARCBOLPAGVISU is the installment number as shown ("00", "01"...). IDMARCADO is
// "N": marks live on the client.
//
// A boleto whose stored values cannot be read is left out and reported on the
// server's log (standard error) naming it, so that one bad row never keeps a
// company's other boletos from loading; with `unreadable` the reports go there.
Packet selectBoletos(Database& db, const SqlConditions& where,
                     std::vector<std::string>* unreadable = nullptr);

// The SELECT selectBoletos runs, with `where` (SQL over the aliases above) in place
// of the caller's conditions: for measuring it next to the raw database.
std::string boletoSelectSql(const std::string& where);

// The stored value of one boleto column (null when the boleto does not exist).
Value boletoColumn(Database& db, const std::string& filial, const std::string& lancamento,
                   const std::string& column);

}  // namespace pag::server
