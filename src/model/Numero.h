#pragma once
// Checked double: every operation whose result is not finite raises
// ErroreAritmetico at that operation, so a formula stops exactly where it
// fails and everything assigned before keeps its value. The error says which
// operation failed and in which calculation step.
#include <cmath>
#include <compare>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace termix {

enum class Operazione : std::uint8_t { Somma, Sottrazione, Prodotto, Divisione, Potenza, Esponenziale, Logaritmo, Radice };

class ErroreAritmetico : public std::runtime_error {
public:
    ErroreAritmetico(std::string passo, std::string causa);
    const std::string& passo() const { return passo_; }
    const std::string& causa() const { return causa_; }

private:
    std::string passo_, causa_;
};

// The step of the calculation running on this thread, named by any
// arithmetic stop inside it; steps nest, the innermost wins.
// `oggetto`, when given, follows the name (the quantity the step works on).
class Passo {
public:
    explicit Passo(const char* nome, const char* oggetto = nullptr);
    ~Passo();
    Passo(const Passo&) = delete;
    Passo& operator=(const Passo&) = delete;
    // The same step, now on another quantity.
    void oggetto(const char* oggetto) { oggetto_ = oggetto; }

private:
    const char* nome_;
    const char* oggetto_;
    // This thread's innermost step, looked up once: thread-local storage is
    // a library call on some platforms (mingw-w64's GCC emulates it).
    const Passo** posto_;
    const Passo* precedente_;
    friend std::string PassoCorrente();
};
// The innermost step running on this thread ("" outside any).
std::string PassoCorrente();

// Raises the error for operation `op` on `a` (and `b`) in the current step.
[[noreturn]] void sollevaErroreAritmetico(Operazione op, double a, double b = 0);
// Raises it with a cause of the caller's words (an iteration that never settles).
[[noreturn]] void sollevaErroreAritmetico(std::string causa);

struct Numero {
    double v = 0.0;
    constexpr Numero() = default;
    constexpr Numero(double x) : v(x) {}  // NOLINT: implicit on purpose, formulas mix literals
    auto operator<=>(const Numero&) const = default;
};

inline Numero verificato(double r, Operazione op, double a, double b = 0) {
    if (!std::isfinite(r)) [[unlikely]]
        sollevaErroreAritmetico(op, a, b);
    return Numero(r);
}

inline Numero operator+(Numero a, Numero b) { return verificato(a.v + b.v, Operazione::Somma, a.v, b.v); }
inline Numero operator-(Numero a, Numero b) { return verificato(a.v - b.v, Operazione::Sottrazione, a.v, b.v); }
inline Numero operator*(Numero a, Numero b) { return verificato(a.v * b.v, Operazione::Prodotto, a.v, b.v); }
inline Numero operator/(Numero a, Numero b) { return verificato(a.v / b.v, Operazione::Divisione, a.v, b.v); }
inline Numero operator-(Numero a) { return Numero(-a.v); }

// The library pow, never folded into x*x: see -fno-builtin-pow in the build.
Numero pow(Numero base, Numero esponente);
Numero exp(Numero x);
Numero log(Numero x);
Numero sqrt(Numero x);
inline Numero fabs(Numero x) { return Numero(std::fabs(x.v)); }
inline Numero floor(Numero x) { return Numero(std::floor(x.v)); }

}  // namespace termix
