#pragma once

#include <string>

// The database a command works on, named by its connection string: a SQLite file, or a
// PostgreSQL database (libpq URI). What a command does to "the file" (check that it
// is there, replace it, remove it after a failure) has its server counterpart here.
namespace pag::tools {

// What a message may show: the file's path, or the database and server (never a
// password).
std::string describeDatabase(const std::string& connection);

// True for a file that exists. A PostgreSQL database is never "there" in this sense:
// connecting says whether it is, and the seed itself refuses one with data.
bool databaseFileExists(const std::string& connection);

// Makes room for a fresh database: removes the file and its write-ahead companions.
// A PostgreSQL database is never dropped by the command line: throws
// std::runtime_error (pt-BR) saying so.
void removeDatabase(const std::string& connection);

}  // namespace pag::tools
