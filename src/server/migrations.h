#pragma once

#include <string>
#include <vector>

namespace pag::server {

// One schema step: its file name under src/server/schema (ordered by name, e.g.
// "001_suite.sql") and its SQL text.
struct Migration {
    std::string name;
    std::string sql;
};

// Every migration compiled into the server, in order.
const std::vector<Migration>& Migrations();

}  // namespace pag::server
