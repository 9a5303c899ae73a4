#include "testing/row_criteria.h"

#include <stdexcept>

namespace pag {

std::vector<std::pair<std::string, std::string>> parseCriteria(std::string_view criteria) {
    std::vector<std::pair<std::string, std::string>> pairs;
    size_t start = 0;
    for (;;) {
        size_t end = criteria.find(';', start);
        std::string_view part = criteria.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        size_t eq = part.find('=');
        if (eq == std::string_view::npos || eq == 0)
            throw std::invalid_argument("critério inválido '" + std::string(part) +
                                        "': escreva CAMPO=VALOR[;CAMPO=VALOR]");
        pairs.emplace_back(std::string(part.substr(0, eq)), std::string(part.substr(eq + 1)));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return pairs;
}

}  // namespace pag
