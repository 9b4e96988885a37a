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

}  // namespace termix
