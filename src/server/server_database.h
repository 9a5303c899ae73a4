#pragma once

#include <memory>
#include <string>

#include "platform/sql/database.h"

namespace pag::server {

// Opens (creating when missing) the server's database file and brings its schema up
// to date: every embedded migration not yet recorded in SCHEMAVERSION runs, in file
// order, inside one IMMEDIATE transaction, and is recorded with its number. Opening
// an up-to-date file changes nothing. A failing migration leaves the file as it was
// and throws DatabaseError naming the migration.
std::unique_ptr<Database> openServerDatabase(const std::string& path);

// The same on a connection already open (":memory:" in tests).
void applyMigrations(Database& db);

// Number of the last migration recorded (0 for a database without schema).
int schemaVersion(Database& db);

// Number of the newest migration compiled into the server.
int latestSchemaVersion();

}  // namespace pag::server
