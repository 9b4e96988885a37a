#include "model/NumeroTesto.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <cstdlib>
#include <cstring>

#define FMT_HEADER_ONLY
#include <fmt/format.h>

namespace termix {

namespace {

int CifreEsponente(int e) {
    int n = 0;
    do {
        ++n;
        e /= 10;
    } while (e != 0);
    return n < 2 ? 2 : n;
}

}  // namespace

char* TestoBreve(char* p, double x) {
    if (!std::isfinite(x)) {
        const char* t = std::isnan(x) ? "nan" : "inf";
        if (std::signbit(x)) *p++ = '-';
        std::memcpy(p, t, 3);
        return p + 3;
    }
    if (std::signbit(x)) *p++ = '-';
    if (x == 0.0) {
        *p = '0';
        return p + 1;
    }
    // fmt's Dragonbox gives the shortest round-trip digits (closest to x
    // among them), as its "{}" writes them; only their layout is ours. Taken
    // as digits and exponent, with no text to read back: fmt's own layout
    // cost more than the digits themselves.
    const auto decimale = fmt::detail::dragonbox::to_decimal(std::fabs(x));
    char cifre[LunghezzaTestoDouble];
    const int n = static_cast<int>(std::to_chars(cifre, cifre + sizeof cifre, decimale.significand).ptr - cifre);
    const int e = decimale.exponent + n - 1;  // x = d.ddd * 10^e
    int k = n;  // without trailing zeros
    while (k > 1 && cifre[k - 1] == '0') --k;
    const char* d = cifre;

    const int lungSci = k + (k > 1 ? 1 : 0) + 2 + CifreEsponente(e < 0 ? -e : e);
    int lungFissa;
    if (e >= 0)
        lungFissa = k <= e + 1 ? e + 1 : k + 1;
    else
        lungFissa = 1 + (-e) + k;  // "0." then -e-1 zeros then the digits
    if (lungFissa <= lungSci) {
        if (e >= 0) {
            // Padding zeros would give a text as long as the exact integer
            // but further from x: the exact integer it is.
            if (k < e + 1) return fmt::format_to(p, "{:.0f}", std::fabs(x));
            if (k == e + 1) {
                std::memcpy(p, d, static_cast<std::size_t>(k));
                return p + k;
            }
            std::memcpy(p, d, static_cast<std::size_t>(e + 1));
            p[e + 1] = '.';
            std::memcpy(p + e + 2, d + e + 1, static_cast<std::size_t>(k - e - 1));
            return p + k + 1;
        }
        *p++ = '0';
        *p++ = '.';
        std::memset(p, '0', static_cast<std::size_t>(-e - 1));
        p += -e - 1;
        std::memcpy(p, d, static_cast<std::size_t>(k));
        return p + k;
    }
    *p++ = d[0];
    if (k > 1) {
        *p++ = '.';
        std::memcpy(p, d + 1, static_cast<std::size_t>(k - 1));
        p += k - 1;
    }
    *p++ = 'e';
    *p++ = e < 0 ? '-' : '+';
    if (e > -10 && e < 10) *p++ = '0';  // two digits at least
    return std::to_chars(p, p + 3, e < 0 ? -e : e).ptr;
}

char* TestoScientifico(char* p, double x, int cifre) {
    if (!std::isfinite(x)) return TestoBreve(p, x);
    return fmt::format_to(p, "{:.{}e}", x, cifre);
}

#ifdef __EMSCRIPTEN__
namespace {

// Clinger's fast path: an integer of at most 2^53 times or over a power of
// ten up to 10^22 (both exact doubles) is one correctly rounded operation.
// The usual typed number takes it; strtod, whose reading is exact but slow in
// the browser, takes the rest. False when the text is not for this path.
bool LetturaVeloce(const char* p, const char* fine, double& valore) {
    static constexpr double potenze[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const bool negativo = p < fine && *p == '-';
    if (negativo) ++p;
    std::uint64_t w = 0;
    int cifre = 0, esp = 0;
    bool qualcuna = false, punto = false;
    for (; p < fine && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.' && !punto) {
            punto = true;
            continue;
        }
        if (*p < '0' || *p > '9') return false;
        qualcuna = true;
        if (w == 0 && *p == '0') {
            if (punto) --esp;
            continue;
        }
        if (++cifre > 19) return false;
        w = w * 10 + static_cast<std::uint64_t>(*p - '0');
        if (punto) --esp;
    }
    if (!qualcuna) return false;
    if (p < fine) {
        ++p;
        bool esNegativo = false;
        if (p < fine && (*p == '+' || *p == '-')) esNegativo = *p++ == '-';
        if (p == fine) return false;
        int e = 0;
        for (; p < fine; ++p) {
            if (*p < '0' || *p > '9' || e > 10000) return false;
            e = e * 10 + (*p - '0');
        }
        esp += esNegativo ? -e : e;
    }
    if (w > (std::uint64_t{1} << 53) || esp < -22 || esp > 22) return w == 0 && (valore = negativo ? -0.0 : 0.0, true);
    const double v = esp < 0 ? static_cast<double>(w) / potenze[-esp] : static_cast<double>(w) * potenze[esp];
    valore = negativo ? -v : v;
    return true;
}

}  // namespace
#endif

LetturaDouble LeggiDouble(const char* inizio, const char* fine, double& valore) {
#ifdef __EMSCRIPTEN__
    if (LetturaVeloce(inizio, fine, valore)) return {fine, std::errc()};
    // No floating-point from_chars there; strtod is correctly rounded and the
    // browser's C locale has the decimal point.
    const std::string testo(inizio, fine);
    char* fermo = nullptr;
    errno = 0;
    const double v = std::strtod(testo.c_str(), &fermo);
    if (fermo == testo.c_str()) return {inizio, std::errc::invalid_argument};
    const char* ptr = inizio + (fermo - testo.c_str());
    // ERANGE on a subnormal result is no error for from_chars.
    if (errno == ERANGE && (v == 0.0 || std::isinf(v))) return {ptr, std::errc::result_out_of_range};
    valore = v;
    return {ptr, std::errc()};
#else
    const auto r = std::from_chars(inizio, fine, valore);
    return {r.ptr, r.ec};
#endif
}

}  // namespace termix
