#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "model/Numero.h"

namespace termix {

// A computed value as a result box shows it: cut toward minus infinity to
// `decimali` decimals (floor(x * 10^n) / 10^n, the multiplication checked),
// then at most 15 significant digits with the decimal comma, no trailing
// zeros, "0" never "-0", plain digits below 10^15 and "1,5E+15" from there up.
std::string FormatoTroncato(Numero x, int decimali);

// The one check FormatoTroncato makes (x * 10^n finite), without the text.
void VerificaTroncato(Numero x, int decimali);

// A double as text with 15 significant digits, decimal comma, the same
// layout rules as FormatoTroncato (without the cut).
std::string TestoNumero(double x);

// Reads a number as the numeric boxes do: optional blanks around, optional
// sign, digits with the comma as decimal separator, the period only as a
// thousands separator between groups of exactly three digits in the integer
// part, optional exponent E/e with sign. Empty, blank-only, or out of the
// double range: no number.
std::optional<double> LeggiNumero(std::string_view testo);

// The common tail of the number readers: `pulito` holds the mantissa read so
// far in C form ("-12.5"), `t[i..]` the rest of the text. Reads an optional
// exponent E/e[+-]digits, requires the end of the text, converts: a value too
// large for a double is no number, one too small reads as (signed) zero.
std::optional<double> CompletaNumero(std::string_view t, size_t i, std::string& pulito);

// The ',' convention of the batch tool: optional blanks, optional sign, digits
// with at most one '.', at least one digit, optional exponent e/E with
// optional sign. Nothing else; a value beyond the double range is not a
// number (one below it reads as zero, as in the numeric boxes).
std::optional<double> LeggiNumeroPunto(std::string_view testo);

// Blanks (space, tab) removed at both ends.
std::string_view Rifilato(std::string_view s);

}  // namespace termix
