#include "model/NumeroTesto.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <cstdlib>
#include <cstring>

#define FMT_HEADER_ONLY
#ifdef __EMSCRIPTEN__
// WebAssembly has no 64x64->128 multiply: fmt's four 32-bit products inline
// beat a call to the compiler's __multi3 for each of Dragonbox's.
#define FMT_USE_INT128 0
#endif
// Dragonbox's powers of ten from the whole table (10 KB), not rebuilt from a
// part of it by 128-bit products, which WebAssembly does in pieces.
#define FMT_USE_FULL_CACHE_DRAGONBOX 1
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

char* testo(char* p, double x, bool posizionale) {
    if (!std::isfinite(x)) {
        const char* t = std::isnan(x) ? "nan" : "inf";
        if (std::signbit(x)) *p++ = '-';
        return std::copy(t, t + 3, p);
    }
    if (std::signbit(x)) *p++ = '-';
    if (x == 0.0) {
        *p = '0';
        return p + 1;
    }
    // The shortest round-trip digits (closest to x among them) straight from
    // fmt's Dragonbox, as its "{}" takes them: no text to format and read
    // back, which the browser's batch run pays for on every value.
    const auto dec = fmt::detail::dragonbox::to_decimal(std::fabs(x));
    char cifre[20];  // the significand has at most 17 digits
    char* d = cifre + sizeof cifre;
    // By 32-bit halves: a 64-bit division by 10 is slow in WebAssembly.
    std::uint64_t s = dec.significand;
    // Two digits per division.
    static constexpr char coppie[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    auto scrivi = [&d](std::uint32_t v, bool otto) {
        for (int i = 0; otto ? i < 4 : v >= 10; ++i, v /= 100) {
            d -= 2;
            std::memcpy(d, coppie + 2 * (v % 100), 2);
        }
        if (!otto && v != 0) *--d = static_cast<char>('0' + v);
    };
    for (; s >= 100000000; s /= 100000000) scrivi(static_cast<std::uint32_t>(s % 100000000), true);
    scrivi(static_cast<std::uint32_t>(s), false);
    const int n = static_cast<int>(cifre + sizeof cifre - d);
    const int e = dec.exponent + n - 1;  // x = d.ddd * 10^e
    int k = n;
    while (k > 1 && d[k - 1] == '0') --k;  // trailing zeros belong to the exponent

    const int lungSci = k + (k > 1 ? 1 : 0) + 2 + CifreEsponente(std::abs(e));
    int lungFissa;
    if (e >= 0)
        lungFissa = k <= e + 1 ? e + 1 : k + 1;
    else
        lungFissa = 1 + (-e) + k;  // "0." then -e-1 zeros then the digits
    if (lungFissa <= lungSci || (posizionale && e >= -5 && e < 15)) {
        if (e >= 0) {
            // Padding zeros would give a text as long as the exact integer
            // but further from x: the exact integer it is.
            if (k < e + 1) return fmt::format_to(p, "{:.0f}", std::fabs(x));
            p = std::copy(d, d + e + 1, p);
            if (k == e + 1) return p;
            *p++ = '.';
            return std::copy(d + e + 1, d + k, p);
        }
        *p++ = '0';
        *p++ = '.';
        p = std::fill_n(p, -e - 1, '0');
        return std::copy(d, d + k, p);
    }
    *p++ = d[0];
    if (k > 1) {
        *p++ = '.';
        p = std::copy(d + 1, d + k, p);
    }
    *p++ = 'e';
    *p++ = e < 0 ? '-' : '+';
    const int a = e < 0 ? -e : e;
    if (a >= 100) *p++ = static_cast<char>('0' + a / 100);
    *p++ = static_cast<char>('0' + a / 10 % 10);
    *p++ = static_cast<char>('0' + a % 10);
    return p;
}

}  // namespace

char* TestoBreve(char* p, double x) { return testo(p, x, false); }
char* TestoPosizionale(char* p, double x) { return testo(p, x, true); }

char* TestoScientifico(char* p, double x, int cifre) {
    if (!std::isfinite(x)) return TestoBreve(p, x);
    return fmt::format_to(p, "{:.{}e}", x, cifre);
}

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

LetturaDouble LeggiDoubleStrtod(const char* inizio, const char* fine, double& valore) {
    // strtod is correctly rounded, and the C locale has the decimal point.
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
}

LetturaDouble LeggiDouble(const char* inizio, const char* fine, double& valore) {
#ifdef __EMSCRIPTEN__
    // No floating-point from_chars there.
    if (LetturaVeloce(inizio, fine, valore)) return {fine, std::errc()};
    return LeggiDoubleStrtod(inizio, fine, valore);
#else
    const auto r = std::from_chars(inizio, fine, valore);
    return {r.ptr, r.ec};
#endif
}

}  // namespace termix
