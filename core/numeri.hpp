#pragma once
// Text-to-number readers and the number patterns used on captions.

#include <optional>
#include <string>
#include <string_view>

namespace core {

// The number a text begins with, 0 when there is none. Blanks, tabs and line feeds are
// skipped wherever they occur; then a sign, digits, a "." with more digits and an exponent
// (E or D), or a hexadecimal (&H) or octal (&O) number. Reading stops at the first character
// that cannot continue the number, such as the CR of a line end.
double leggiNumeroIniziale(std::string_view testo);

// A text that is a number and nothing else: optional blanks, sign, digits, an optional "."
// with digits, an optional exponent, optional blanks. Anything else gives no value.
std::optional<double> leggiNumeroStretto(std::string_view testo);

// A whole number written with a pattern of "#" and "0" ("00", "#0", "####0"): plain decimal
// digits, at least as many as the pattern has zeros, no grouping.
std::string formatta(long long valore, std::string_view schema);

} // namespace core
