#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/sql/statement.h"

namespace pag::server {

// Conditions of a WHERE clause built from criteria, with their values kept apart and
// bound later: nothing the caller sends is ever pasted into the SQL text.
class SqlConditions {
public:
    // A condition without values ("B.IDSTATBPAG = 'A'").
    void add(std::string condition);
    // A condition that names one parameter (":DTINI"), bound to value.
    void add(std::string condition, std::string param, Value value);
    // "expr IN (:prefix0, :prefix1, ...)" with one bound parameter per code; nothing
    // when codes is empty (no restriction).
    void addIn(const std::string& expr, const std::string& prefix,
               const std::vector<std::string>& codes);
    // The same inside a condition template: "{IN}" is replaced by the parameter list
    // ("EXISTS (... AND C.CDTPCTPAGAR IN {IN})").
    void addInTemplate(const std::string& templ, const std::string& prefix,
                       const std::vector<std::string>& codes);

    // The conditions joined by AND; "1 = 1" when there is none.
    std::string sql() const;
    void bindTo(Statement& st) const;

private:
    std::string parameterList(const std::string& prefix, const std::vector<std::string>& codes);

    std::vector<std::string> conditions_;
    std::vector<std::pair<std::string, Value>> values_;
};

// A list criterion as the filter dialog sends it: codes separated by commas (or
// semicolons), blanks around each code ignored, empty entries and repeats dropped.
// Anything else in a code (quotes, blanks inside, SQL) is part of the code. A blank
// list is no restriction (empty result).
std::vector<std::string> splitCodeList(std::string_view list);

// Codes run together, each after a "_": "_00_01" -> {"00", "01"}; "J" (no "_") ->
// {"J"}. A lone blank or empty text is no restriction (empty result).
std::vector<std::string> splitUnderscoreCodes(std::string_view text);

}  // namespace pag::server
