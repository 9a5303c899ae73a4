#pragma once

// What the bench compares a load with: the boleto list's SELECT as the server ran it,
// caught on every connection this process opens, and the same text run on SQLite alone.
#include <string>

namespace pag::tools {

// From now on, the boleto list's SELECTs run by any connection of this process are
// kept, with their values in place (the last one is LastBoletoSelect).
void CatchBoletoSelects(bool on);
std::string LastBoletoSelect();

struct RawSelect {
    double ms = 0;
    long rows = 0;
};
// Runs the SELECT on its own connection, reading every column of every row; the
// first run warms the cache and is not counted.
RawSelect TimeRawSelect(const std::string& path, const std::string& sql);

}  // namespace pag::tools
