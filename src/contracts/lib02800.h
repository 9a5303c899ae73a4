#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/date.h"

namespace pag {

// Boleto barcodes and digitable lines, by the published FEBRABAN rules.
//
// Bank slip, 44-digit barcode: bank (1-3), currency (4), general check digit by modulo
// 11 (5), due-date factor (6-9), value in cents (10-19), free field (20-44). Its
// digitable line has 47 digits in five fields; fields 1 to 3 end with a modulo-10 check
// digit, field 4 is the general check digit, field 5 the factor and the value.
//
// Collection slip (first digit "8"): value-type digit at 3 ("6"/"7" modulo 10, "8"/"9"
// modulo 11; "6" and "8" carry the effective value at 5-15), general check digit at 4.
// Its line has 48 digits: the barcode in four blocks of 11, each followed by its check
// digit computed with the same modulo.

enum class BarcodeKind { None, Bank, Collection };

// The digits of a text, in order; everything else is dropped.
std::string Nr_Codigo(std::string_view text);

// Modulo-10 check digit ('0'..'9'): weights 2,1,2,1... from the right, the digits of
// each product added, then 10 minus the remainder (10 gives '0'). Non-digits are skipped.
char Mod10(std::string_view digits);

// Modulo-11 check digit with weights 2 to 9 from the right, repeating. The two layouts
// differ in the results that do not fit one digit.
enum class Mod11Rule {
    Bank,        // 11 - remainder; 0, 10 and 11 give '1'
    Collection,  // 11 - remainder; remainders 0 and 1 give '0'
};
char Mod11(std::string_view digits, Mod11Rule rule);

// The check digit of a collection slip's barcode or block by its value-type digit
// ("6"/"7" modulo 10, "8"/"9" modulo 11); '\0' for any other value-type digit.
char collectionCheckDigit(std::string_view digits, char valueType);

// How CodigoBarras reads its line.
inline constexpr int kLinhaPorTamanho = 0;  // 47 digits bank slip, 48 collection slip
inline constexpr int kLinhaBancaria = 1;
inline constexpr int kLinhaArrecadacao = 2;

// The 44-digit barcode of a digitable line (separators allowed). A line whose digit
// count does not fit the kind is returned as its digits, unconverted, so that the
// barcode check that follows reports the count the user typed.
std::string CodigoBarras(std::string_view line, int kind);

// The digitable line of a 44-digit barcode, as printed on the slip:
// "AAAAA.AAAAA BBBBB.BBBBBB CCCCC.CCCCCC D EEEEEEEEEEEEEE" for a bank slip,
// "XXXXXXXXXXX-X XXXXXXXXXXX-X XXXXXXXXXXX-X XXXXXXXXXXX-X" for a collection slip.
// Empty text when the code is not 44 digits (or a collection slip has no valid
// value-type digit).
std::string TransformaBarraLinhaDigi(std::string_view barcode);

// Due date of a bank slip's factor. The factor counts days from 07/10/1997 and, after
// 9999 (21/02/2025), starts again at 1000 (22/02/2025), so every factor from 1000 names
// one date in each 9000-day cycle: the cycle whose date lies nearest to `today` is taken
// (a window of 4500 days either side). Factors below 1000 exist only in the first cycle.
// Factor 0 means no due date (the empty date).
Date dueDateFromFactor(int factor, Date today);

// What a barcode or digitable line says, or why it is refused.
struct BarcodeInfo {
    bool valid = false;
    BarcodeKind kind = BarcodeKind::None;
    std::string barcode;  // 44 digits
    std::string line;     // the digitable line as printed
    // Bank slip: positions 10-19; collection slip with an effective value: 5-15.
    // Absent when all zero (value not fixed) or when a collection slip holds a reference.
    std::optional<int64_t> valueCents;
    Date due;             // bank slips only; empty when the factor is 0
    std::string message;  // pt-BR reason when not valid
};

// Checks a barcode (44 digits) or a digitable line (47 or 48 digits), digits only
// (surrounding blanks are ignored): length, digits, the field or block check digits of
// a line, then the general check digit. `today` anchors the due-date window.
BarcodeInfo analyseBarcode(std::string_view code, Date today = Date::today());

// Removes what people paste around and inside a code: blanks, line breaks, dots and
// hyphens. Anything else is kept so that the check can refuse it.
std::string stripSeparators(std::string_view pasted);

// The answer of "pag12000 boleto check": one JSON object, keys in this order:
// {"valid", "kind", "barcode", "line", "value_cents", "due", "message"}; what does not
// apply is null (everything but "valid" and "message" when the code is refused).
std::string barcodeInfoJson(const BarcodeInfo& info);

}  // namespace pag
