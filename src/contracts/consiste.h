#pragma once

#include <string>
#include <string_view>

#include "platform/date.h"

namespace pag {

class Field;

// The suite's validation and formatting routines that every screen shares.

// True when the text is empty or holds only blanks (spaces, tabs, line breaks).
bool EmptyString(std::string_view text);

// The text without leading and trailing blanks.
std::string AllTrim(std::string_view text);

// The last `count` characters (UTF-8 aware); the whole text when it is shorter, and
// empty text for a count of zero or less.
std::string Right(std::string_view text, int count);

// Brings a typed code to its fixed width: the text is trimmed and, when shorter than
// `width` characters, padded on the left with "0" ("1" -> "01" at width 2). Empty or
// blank text stays empty, so a field left blank is not mistaken for code "00". Text
// longer than the width is returned trimmed and otherwise unchanged: data is never
// cut. Both bounds of a range normalised with the same width therefore compare as the
// codes they stand for.
std::string Ajusta(std::string_view text, int width);

// Rounds half away from zero on the decimal value a user reads (1.005 -> 1.01,
// 2.675 -> 2.68, -0.005 -> -0.01), not on its binary approximation.
double RoundDec(double value, int decimals);

// The numeric-entry guard of number edits. `text` is the edit's text before the key,
// `selStart`/`selLength` the selection the key replaces. Returns the key to insert,
// or '\0' when it must be discarded: a digit that would give more than `intDigits`
// integer digits or more than `decimals` decimals, a second ",", a "," when no
// decimals are allowed, a "-" anywhere but at the start or when a sign is already
// there, and any other character. A "." is taken as the decimal separator "," (the
// numeric keypad's key). Control keys (backspace, enter, tab, ...) always pass.
char MaxNumber(std::string_view text, int intDigits, int decimals, char key, int selStart,
               int selLength);

// "Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta", "Sábado"; empty text for the
// empty date.
std::string NomeSemana(Date date);

// Person types of a supplier (IDTPIJURFORN): "J" company, "F" natural person; other
// letters ("O", "I") have no fixed document layout.
inline constexpr std::string_view kPessoaJuridica = "J";
inline constexpr std::string_view kPessoaFisica = "F";
inline constexpr std::string_view kMascaraCnpj = "99.999.999/9999-99";
inline constexpr std::string_view kMascaraCpf = "999.999.999-99";

// The display mask of a person's tax number for the person type: CNPJ for "J", CPF for
// "F" (case-insensitive, blanks ignored), empty for any other type (shown as stored).
std::string PictPess(std::string_view personType);

// Places the digits of `number` into the "9" positions of `mask` ("12345678000195" with
// the CNPJ mask -> "12.345.678/0001-95"). A number stored without its leading zeros is
// completed with them. Empty text stays empty; a number that does not fit the mask
// (letters, more digits than the mask holds) and an empty mask give the text trimmed.
std::string formatWithMask(std::string_view mask, std::string_view number);

// The tax number as a screen shows it: formatWithMask(PictPess(personType), number).
std::string formatPersonDocument(std::string_view personType, std::string_view number);

// The edit mask of date fields and date edits: "!99/99/9999;1;_" - two digits of day,
// two of month and four of year; the slashes are kept in the text ("1"), so the text
// reads dd/mm/yyyy, and "_" marks a position not typed yet.
std::string DateMask();

// Stores the text typed into a date field: dd/mm/yyyy (also d/m/yyyy and a two-digit
// year, 20yy). Blank text, or the mask with nothing typed ("__/__/____"), stores null.
// A date that does not exist throws std::invalid_argument with a pt-BR message and
// leaves the field unchanged.
void DateSetText(Field& field, const std::string& text);

}  // namespace pag
