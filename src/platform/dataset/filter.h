#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/value.h"

namespace pag {

// A dataset filter such as "IDMARCADO = 'S'" or
// "VRBOLPAG >= 100 and (IDHABIBPAG <> 'S' or CDEMPRESA = '01')".
// Comparisons: = <> < > <= >=; literals: 'text', numbers (1234.56), null
// ("FIELD = null", "FIELD <> null"); "and", "or", "not" and parentheses. Text is
// compared case-sensitively, as the stored codes are.
class FilterExpression {
public:
    using FieldReader = std::function<Value(std::string_view field)>;
    // Throws std::invalid_argument (pt-BR) on a syntax error; knownField tells
    // whether a field name exists.
    static std::shared_ptr<FilterExpression> parse(
        std::string_view text, const std::function<bool(std::string_view)>& knownField);
    virtual ~FilterExpression() = default;
    virtual bool eval(const FieldReader& read) const = 0;
};

// Orders two values of one field: nulls first, numbers and dates numerically,
// text by bytes. Returns <0, 0, >0.
int compareValues(const Value& a, const Value& b, bool caseInsensitive = false);

}  // namespace pag
