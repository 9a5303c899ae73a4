#pragma once

#include <string>
#include <vector>

namespace pag {

// A CSV file as a spreadsheet reads it (RFC 4180 with ";" between fields): whether it
// starts with the UTF-8 BOM, and its rows of fields, quotes removed and doubled quotes
// made single. quoted tells, per field, whether the file quoted it. Throws
// std::runtime_error on a quote left open or text after a closing quote.
struct CsvFile {
    bool bom = false;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::vector<bool>> quoted;
};
CsvFile ReadCsvFile(const std::string& path);
CsvFile ParseCsv(const std::string& content);

}  // namespace pag
