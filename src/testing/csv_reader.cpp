#include "testing/csv_reader.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace pag {

CsvFile ParseCsv(const std::string& content) {
    CsvFile out;
    size_t i = 0;
    if (content.rfind("\xEF\xBB\xBF", 0) == 0) {
        out.bom = true;
        i = 3;
    }
    std::vector<std::string> row;
    std::vector<bool> quoted;
    std::string field;
    bool isQuoted = false;
    auto endField = [&] {
        row.push_back(std::move(field));
        quoted.push_back(isQuoted);
        field.clear();
        isQuoted = false;
    };
    auto endRow = [&] {
        endField();
        out.rows.push_back(std::move(row));
        out.quoted.push_back(std::move(quoted));
        row.clear();
        quoted.clear();
    };
    while (i < content.size()) {
        const char c = content[i];
        if (c == '"' && field.empty() && !isQuoted) {
            isQuoted = true;
            for (++i;; ++i) {
                if (i >= content.size()) throw std::runtime_error("aspas sem fechar");
                if (content[i] != '"') {
                    field += content[i];
                } else if (i + 1 < content.size() && content[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            if (i < content.size() && content[i] != ';' && content[i] != '\r' && content[i] != '\n')
                throw std::runtime_error("texto depois das aspas de fechamento");
            continue;
        }
        if (c == ';') {
            endField();
        } else if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') {
            endRow();
            ++i;
        } else if (c == '\n') {
            endRow();
        } else {
            field += c;
        }
        ++i;
    }
    if (!field.empty() || !row.empty()) endRow();
    return out;
}

CsvFile ReadCsvFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("não abriu " + path);
    std::ostringstream all;
    all << in.rdbuf();
    return ParseCsv(all.str());
}

}  // namespace pag
