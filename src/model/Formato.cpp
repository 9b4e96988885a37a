#include "model/Formato.h"

#include "model/Messaggi.h"
#include "model/NumeroTesto.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <algorithm>

namespace termix {

namespace {

constexpr double potenze10[] = {1.0, 10.0, 100.0, 1000.0, 10000.0, 100000.0, 1000000.0,
                                1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Writes the 15 significant digits `cifre` (no sign) of a value d.ddd...e`esp`.
std::string disponi(bool negativo, const char* cifre, int esp) {
    int n = 15;
    while (n > 1 && cifre[n - 1] == '0') --n;
    std::string s;
    s.reserve(32);
    if (negativo) s.push_back('-');
    if (esp >= 15) {
        s.push_back(cifre[0]);
        if (n > 1) {
            s.push_back(',');
            s.append(cifre + 1, n - 1);
        }
        s += "E+";
        s += std::to_string(esp);
    } else if (esp < 0) {
        s += "0,";
        s.append(static_cast<size_t>(-esp - 1), '0');
        s.append(cifre, n);
    } else {
        s.append(cifre, static_cast<size_t>(esp) + 1);
        if (n > esp + 1) {
            s.push_back(',');
            s.append(cifre + esp + 1, n - esp - 1);
        }
    }
    return s;
}

std::string testoGenerale(double y) {
    if (y == 0.0) return "0";
    char buf[40];
    *TestoScientifico(buf, std::fabs(y), 14) = '\0';
    // buf: d.dddddddddddddde[+-]xx
    char cifre[16];
    cifre[0] = buf[0];
    std::memcpy(cifre + 1, buf + 2, 14);
    cifre[15] = '\0';
    int esp = std::atoi(buf + 17);
    return disponi(std::signbit(y), cifre, esp);
}

// For a plain "ddd.ddde[+-]xx" that does not fit a double (so it has a digit
// other than 0): true when its magnitude is below the double range
// (underflow), false when above.
bool sottoIntervallo(const std::string& s) {
    bool trovato = false, decimale = false;
    long long intere = 0, zeriIniziali = 0;
    size_t i = 0;
    for (; i < s.size() && s[i] != 'e'; ++i) {
        if (s[i] == '-' || s[i] == '+') continue;
        if (s[i] == '.') {
            decimale = true;
            continue;
        }
        if (!trovato && s[i] == '0') {
            if (decimale) ++zeriIniziali;
            continue;
        }
        trovato = true;
        if (!decimale) ++intere;
    }
    // The decimal exponent of the first significant digit.
    const long long posizione = intere > 0 ? intere - 1 : -zeriIniziali - 1;
    long long esp = 0;
    bool negativo = false;
    ++i;  // past the 'e', if there is one
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negativo = s[i++] == '-';
    for (; i < s.size(); ++i) esp = std::min(esp * 10 + (s[i] - '0'), 100000000LL);
    return posizione + (negativo ? -esp : esp) < 0;
}

}  // namespace

std::string TestoNumero(double x) { return testoGenerale(x); }

void VerificaTroncato(Numero x, int decimali) { (void)(x * potenze10[decimali]); }

std::string FormatoTroncato(Numero x, int decimali) {
    const double scala = potenze10[decimali];
    const double k = std::floor((x * scala).v);
    // Fast path: k has at most 15 digits, so k / 10^n (correctly rounded)
    // shows at 15 significant digits exactly as the digits of k.
    if (std::fabs(k) < 1e15) {
        if (k == 0.0) return "0";
        std::int64_t intero = static_cast<std::int64_t>(std::fabs(k));
        char cifre[24];
        auto r = std::to_chars(cifre, cifre + sizeof cifre, intero);
        int len = static_cast<int>(r.ptr - cifre);
        int fine = len;  // drop trailing zeros of the decimal part (k's first digit is not 0)
        int minimo = len - decimali;
        while (fine > minimo && cifre[fine - 1] == '0') --fine;
        // Built on the stack: the usual result fits the string's own buffer,
        // so a result box costs no allocation.
        char testo[40];
        char* p = testo;
        if (k < 0) *p++ = '-';
        if (minimo <= 0) {  // below 1: "0," and the digits, at least one of them not 0
            *p++ = '0';
            *p++ = ',';
            p = std::fill_n(p, -minimo, '0');
            p = std::copy(cifre, cifre + fine, p);
        } else {
            p = std::copy(cifre, cifre + minimo, p);
            if (fine > minimo) {
                *p++ = ',';
                p = std::copy(cifre + minimo, cifre + fine, p);
            }
        }
        return std::string(testo, p);
    }
    return testoGenerale(k / scala);
}

std::optional<double> CompletaNumero(std::string_view t, size_t i, std::string& pulito) {
    // An exponent without digits ("1e", "1e+") is left unread below, and refused there.
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        pulito.push_back('e');
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) pulito.push_back(t[i++]);
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) pulito.push_back(t[i]);
    }
    if (i != t.size()) return std::nullopt;

    double valore = 0.0;
    auto r = LeggiDouble(pulito.data(), pulito.data() + pulito.size(), valore);
    if (r.ptr != pulito.data() + pulito.size()) return std::nullopt;
    if (r.ec == std::errc::result_out_of_range) {
        // Too small for a double reads as 0; too large is not a number.
        if (!sottoIntervallo(pulito)) return std::nullopt;
        valore = pulito[0] == '-' ? -0.0 : 0.0;
    } else if (r.ec != std::errc()) {
        return std::nullopt;
    }
    return valore;
}

std::optional<double> LeggiNumero(std::string_view t) {
    t = Rifilato(t);
    if (t.empty()) return std::nullopt;

    // Rebuild the number in the C locale form for from_chars.
    std::string pulito;
    size_t i = 0;
    bool negativo = false;
    if (t[i] == '+' || t[i] == '-') {
        negativo = t[i] == '-';
        ++i;
    }
    // Integer part: digits, with optional thousands groups "1.234.567".
    size_t cifreIntere = 0, gruppo = 0;
    bool raggruppato = false;
    for (; i < t.size(); ++i) {
        char c = t[i];
        if (c >= '0' && c <= '9') {
            pulito.push_back(c);
            ++cifreIntere;
            ++gruppo;
        } else if (c == '.') {
            if (gruppo == 0 || (raggruppato ? gruppo != 3 : gruppo > 3)) return std::nullopt;
            raggruppato = true;
            gruppo = 0;
        } else {
            break;
        }
    }
    if (raggruppato && gruppo != 3) return std::nullopt;
    size_t cifreDecimali = 0;
    if (i < t.size() && t[i] == ',') {
        pulito.push_back('.');
        for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
            pulito.push_back(t[i]);
            ++cifreDecimali;
        }
    }
    if (cifreIntere + cifreDecimali == 0) return std::nullopt;
    auto valore = CompletaNumero(t, i, pulito);
    if (!valore) return std::nullopt;
    return negativo ? -*valore : *valore;
}

std::string_view Rifilato(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::optional<double> LeggiNumeroPunto(std::string_view t) {
    t = Rifilato(t);
    std::string pulito;
    size_t i = 0;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
        if (t[0] == '-') pulito.push_back('-');
        ++i;
    }
    size_t cifre = 0;
    bool punto = false;
    for (; i < t.size(); ++i) {
        char c = t[i];
        if (c >= '0' && c <= '9') {
            pulito.push_back(c);
            ++cifre;
        } else if (c == '.' && !punto) {
            // from_chars wants a digit before the point.
            if (cifre == 0) pulito.push_back('0');
            pulito.push_back('.');
            punto = true;
        } else {
            break;
        }
    }
    if (cifre == 0) return std::nullopt;
    // from_chars wants a digit after the point too.
    if (pulito.back() == '.') pulito.push_back('0');
    return CompletaNumero(t, i, pulito);
}

}  // namespace termix
