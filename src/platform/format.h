#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pag {

// Formats a number the way a pt-BR screen shows it, following a display format of
// the "#,##0.00" family: "," asks for thousands grouping (shown as "."), the zeros
// after "." give the fixed decimals (shown after ","), '#' places are optional.
// Rounds half away from zero on the decimal value, so 2,675 shows "2,68".
std::string formatFloat(std::string_view format, double value);

// "1.234,56" -> 1234.56. Accepts an optional sign, "." thousands separators and a ","
// decimal separator; text without "," may use "." as the decimal point ("1234.56").
// Blank text gives nullopt; anything else that is not a number gives nullopt too.
std::optional<double> parseNumber(std::string_view text);

// Rounds half away from zero on the decimal value a person reads: 1.005 -> 1.01,
// 2.675 -> 2.68, -0.005 -> -0.01, never fooled by the binary representation.
double roundDecimal(double value, int decimals);
// roundDecimal(value, 2) in cents. Only a value near a half cent is formatted: a sum
// over a long list costs arithmetic, not text.
int64_t roundToCents(double value);

}  // namespace pag
