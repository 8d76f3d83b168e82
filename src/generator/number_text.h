// Reading numbers the user typed and writing numbers back into controls.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The leading decimal number of a text (blanks skipped, optional sign, digits, point, exponent);
// reading stops at the first character that does not belong to the number; no number gives 0.
double ReadDecimal(std::string_view text);

// The leading decimal integer (blanks skipped, optional sign); none gives 0; saturates.
long long ReadInteger(std::string_view text);

// Unit "value": optional minus, integer with automatic base (0x hex, leading 0 octal, decimal);
// a point after a hex integer adds up to four hex digits in units of 1/65536; a point after a
// decimal integer makes the whole text a decimal number.
double ParseValueText(std::string_view text);

// The notations numbers are typed in: the three readers above, and the step values of the
// up/down settings (decimal, or with a 0x prefix the value reader's hexadecimal).
enum class Notation { Decimal, Integer, Value, DecimalOrHex };
double ReadNumber(std::string_view text, Notation notation);
// The reader takes a number from the start of text, whatever follows it.
bool HasLeadingNumber(std::string_view text, Notation notation);
// ... and that number is finite: a value a control can use.
bool HasUsableNumber(std::string_view text, Notation notation);
// That value; nothing for a text a control cannot use (the value in force then stays).
std::optional<double> UsableNumber(std::string_view text, Notation notation);
// The text is one number in the notation and nothing else: the reader takes a number from it
// and only blanks follow where the reader stops.
bool IsNumberText(std::string_view text, Notation notation);

// Up to digits significant digits, no trailing zeros, exponent only for very large or small
// values (the %g style).
std::string FormatGeneral(double value, int digits);
// FormatGeneral with 15 digits: how numbers are written back into controls and files.
std::string FormatNumber15(double value);

} // namespace qv
