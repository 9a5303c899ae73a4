#pragma once

#include <string>

#include "platform/date.h"
#include "platform/sql/database.h"

namespace pag::server {

// The demo database: two companies ("01", "02"), their branches, the main banks,
// paying accounts, suppliers with valid CPF/CNPJ, every settlement operation code,
// adjustment types of both signs, reasons, operators (ADMIN on both companies, OPER01
// on "01" only), parameters, and a few hundred boletos over every path of the screens.
// Dates are relative to `today`. The database must be freshly migrated and empty;
// everything goes in one transaction.
void seedDemo(Database& db, Date today);

// The same reference data and boleto shapes with `boletos` boletos (at least 1), for
// volume tests. One transaction, prepared statements.
void seedScale(Database& db, int boletos, Date today);

// Reference data only (companies, banks, suppliers, types, operators, parameters):
// a base for tests that add their own boletos. Inside the caller's transaction.
void seedReference(Database& db, Date today);

// The suppliers seedReference creates (codes 000000000000000000001 ...).
int demoSupplierCount();
// Supplier code number n (1-based) as stored: 21 digits.
std::string demoSupplierCode(int n);

}  // namespace pag::server
