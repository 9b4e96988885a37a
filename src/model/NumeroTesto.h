#pragma once
// Doubles as text, the same bytes on every platform and in the browser build
// (whose C++ library has no floating-point std::to_chars).
#include <cstddef>
#include <system_error>

namespace termix {

// Room enough for any text below ("-1.2345678901234567e-308").
inline constexpr std::size_t LunghezzaTestoDouble = 32;

// The shortest text that reads back to x, laid out as std::to_chars(p, end, x)
// lays it out: fixed or exponent form, whichever is shorter (fixed on a tie).
// Returns the end of the text.
char* TestoBreve(char* p, double x);
// The same digits, without an exponent from 1e-5 to below 1e15 in magnitude
// (a spreadsheet reads "5e+05" as text in some locales, "500000" never).
char* TestoPosizionale(char* p, double x);

// x in exponent form with `cifre` digits after the point ("d.ddde+xx"),
// correctly rounded, as std::to_chars with chars_format::scientific.
char* TestoScientifico(char* p, double x, int cifre);

// Reads a plain decimal number ("-12.5e3") as std::from_chars does: ptr past
// what was read, result_out_of_range when it is beyond the double range
// (valore then untouched).
struct LetturaDouble {
    const char* ptr;
    std::errc ec;
};
LetturaDouble LeggiDouble(const char* inizio, const char* fine, double& valore);

// Clinger's fast path: an integer of at most 2^53 times or over a power of
// ten up to 10^22 (both exact doubles) is one correctly rounded operation.
// True, with the value, when the whole text is such a number; false when it
// is not for this path. The browser build reads the usual typed number with
// it and takes strtod, exact but slow there, for the rest.
bool LetturaVeloce(const char* p, const char* fine, double& valore);

// LeggiDouble through strtod (C locale), as the browser build reads what its
// fast path leaves: where there is no floating-point from_chars. For decimal
// text only (sign, digits, point, exponent), as the number readers pass it:
// strtod would also take hexadecimal.
LetturaDouble LeggiDoubleStrtod(const char* inizio, const char* fine, double& valore);

}  // namespace termix
