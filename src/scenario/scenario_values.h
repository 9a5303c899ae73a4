#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/dataset/client_dataset.h"
#include "platform/date.h"
#include "platform/value.h"
#include "scenario/script_text.h"
#include "testing/row_criteria.h"

namespace pag::scenario {

// Dates as scenario files write them: dd/mm/yyyy, `today`, `today+N`, `today-N`.
bool isRelativeDate(std::string_view text);
// Throws std::invalid_argument with a pt-BR message for text that is no date.
Date parseScenarioDate(std::string_view text, Date today);

// The text a word stands for where the user types: `today`, `today+N` and `today-N`
// written without quotes become the date as dd/mm/yyyy; anything else as written.
std::string typedText(const Word& word, Date today);

// SQL as a scenario writes it, with `{today}`, `{today+N}` and `{today-N}` replaced by
// that date as a quoted ISO literal ('2026-12-17'), which both databases read as a
// date. Throws std::invalid_argument for a `{today...}` that is not a date.
std::string sqlWithDates(std::string_view sql, Date today);

// A value written in a scenario for a field of a type: `null` (without quotes) is
// null; numbers as a pt-BR user types them ("1.234,56"); dates as above; logical values
// S/N, sim/não, true/false. Throws std::invalid_argument (pt-BR) for text that does
// not fit the type.
Value scriptValue(FieldType type, const Word& word, Date today);
// The type a database value is compared as: numbers as numbers; text shaped like an
// ISO date as a date when the expected word is a date; other text as text.
FieldType comparisonType(const Value& stored, const Word& expected, Date today);
// Same value for a user: null only equals null, numbers agree to a billionth of their
// size, dates by day, text exactly.
bool sameValue(const Value& actual, const Value& expected);
// A value as a failure report shows it: `null`, or its pt-BR text in quotes.
std::string showValue(const Value& v);

// A row search in a dataset's terms: the fields ("A;B") and one value per field, each
// read for its field's type. An unknown field or a value that does not fit throws.
struct RowCriteria {
    std::string fields;
    std::vector<Value> values;
};
RowCriteria rowCriteria(ClientDataSet& data, std::string_view criteria, Date today);

}  // namespace pag::scenario
