#pragma once
// Checked double: every operation whose result is not finite raises
// ErroreAritmetico at that operation, so a formula stops exactly where it
// fails and everything assigned before keeps its value.
#include <cmath>
#include <compare>
#include <stdexcept>

namespace termix {

class ErroreAritmetico : public std::runtime_error {
public:
    ErroreAritmetico() : std::runtime_error("errore aritmetico") {}
};

[[noreturn]] void sollevaErroreAritmetico();

struct Numero {
    double v = 0.0;
    constexpr Numero() = default;
    constexpr Numero(double x) : v(x) {}  // NOLINT: implicit on purpose, formulas mix literals
    auto operator<=>(const Numero&) const = default;
};

inline Numero verificato(double r) {
    if (!std::isfinite(r)) sollevaErroreAritmetico();
    return Numero(r);
}

inline Numero operator+(Numero a, Numero b) { return verificato(a.v + b.v); }
inline Numero operator-(Numero a, Numero b) { return verificato(a.v - b.v); }
inline Numero operator*(Numero a, Numero b) { return verificato(a.v * b.v); }
inline Numero operator/(Numero a, Numero b) { return verificato(a.v / b.v); }
inline Numero operator-(Numero a) { return Numero(-a.v); }

// The library pow, never folded into x*x: see -fno-builtin-pow in the build.
Numero pow(Numero base, Numero esponente);
Numero exp(Numero x);
Numero log(Numero x);
Numero sqrt(Numero x);
inline Numero fabs(Numero x) { return Numero(std::fabs(x.v)); }
inline Numero floor(Numero x) { return Numero(std::floor(x.v)); }

}  // namespace termix
