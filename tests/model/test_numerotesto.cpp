#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "model/NumeroTesto.h"

using namespace termix;

namespace {

char buf[LunghezzaTestoDouble];
std::string Breve(double x) { return {buf, TestoBreve(buf, x)}; }
std::string Posizionale(double x) { return {buf, TestoPosizionale(buf, x)}; }
std::string Scientifico(double x, int cifre) { return {buf, TestoScientifico(buf, x, cifre)}; }

TEST(TestoBreve, ShortestTextInTheShorterLayout) {
    const struct { double x; const char* atteso; } casi[] = {
        {0.1, "0.1"}, {123.456, "123.456"}, {100.0, "100"}, {-2.5, "-2.5"},
        {0.001, "0.001"}, {1.2e-4, "0.00012"},  // as long as "1e-03", "1.2e-04": fixed wins the tie
        {1e-5, "1e-05"},       // "0.00001" is longer
        {1e5, "1e+05"}, {2e-4, "2e-04"},  // one digit: shorter by one than the fixed form
        {1e15, "1e+15"}, {1e22, "1e+22"}, {1.5e300, "1.5e+300"},
        {9223372036854775808.0, "9223372036854775808"},  // 2^63: the exact integer, not ...5808 padded
        {123456789012345680000.0, "123456789012345683968"},  // fixed (21) beats exponent (22)
        {5e-324, "5e-324"}, {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        {0.30000000000000004, "0.30000000000000004"}, {-0.0, "-0"}, {0.0, "0"},
        {1234567.0, "1234567"}, {0.000123, "0.000123"},
        {1e100, "1e+100"}, {1e-100, "1e-100"}, {1e99, "1e+99"}, {-2.5e-10, "-2.5e-10"},  // every exponent width
        {INFINITY, "inf"}, {-INFINITY, "-inf"}, {NAN, "nan"},  // as the native writer says them
    };
    for (const auto& c : casi) EXPECT_EQ(Breve(c.x), c.atteso) << c.atteso;
}

TEST(TestoScientifico, FourteenDigitsCorrectlyRounded) {
    const struct { double x; const char* atteso; } casi[] = {
        {1.0, "1.00000000000000e+00"}, {0.1, "1.00000000000000e-01"},
        {2.0 / 3.0, "6.66666666666667e-01"}, {-12345.678, "-1.23456780000000e+04"},
        {1e-300, "1.00000000000000e-300"}, {0.125, "1.25000000000000e-01"},
    };
    for (const auto& c : casi) EXPECT_EQ(Scientifico(c.x, 14), c.atteso) << c.atteso;
}

// The native library's writer is the reference for both layouts; the range
// of magnitudes crosses every switch between fixed and exponent form.
TEST(TestoBreve, SameBytesAsTheNativeWriter) {
    std::mt19937_64 g(20);
    int diversi = 0;
    for (int i = 0; i < 6000; ++i) {
        double x;
        const std::uint64_t b = g();
        switch (i % 3) {
            case 0: std::memcpy(&x, &b, sizeof x); if (!std::isfinite(x)) x = 1.0; break;
            case 1: x = std::ldexp(1.0 + static_cast<double>(b >> 12) * 0x1p-52, static_cast<int>(b % 200) - 100); break;
            default: x = static_cast<double>(static_cast<std::int64_t>(b >> (b % 64))); break;
        }
        char atteso[64];
        const std::string a(atteso, std::to_chars(atteso, atteso + sizeof atteso, x).ptr);
        const std::string s(atteso, std::to_chars(atteso, atteso + sizeof atteso, x, std::chars_format::scientific, 14).ptr);
        if (Breve(x) != a || Scientifico(x, 14) != s) {
            if (++diversi <= 5) ADD_FAILURE() << a << " / " << Breve(x) << "; " << s << " / " << Scientifico(x, 14);
        }
    }
    EXPECT_EQ(diversi, 0);
}

// Without an exponent from 1e-5 to below 1e15, the same digits as the
// shortest text; outside, the shortest text itself. Boundaries, then random
// doubles over the whole range, each read back.
TEST(TestoPosizionale, SenzaEsponenteDa1eMeno5A1e15) {
    const struct { double x; const char* atteso; } casi[] = {
        {5e5, "500000"}, {9e-4, "0.0009"}, {1e-5, "0.00001"}, {-1e-5, "-0.00001"},
        {9.999999999999999e-6, "9.999999999999999e-06"}, {1e15, "1e+15"},
        {999999999999999.9, "999999999999999.9"}, {123456789012345.67, "123456789012345.67"},
        {1.2345678901234567e-5, "0.000012345678901234568"}, {0.0, "0"}, {2.5e15, "2.5e+15"},
    };
    for (const auto& c : casi) EXPECT_EQ(Posizionale(c.x), c.atteso) << c.atteso;
    std::mt19937_64 g(29);
    int diversi = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t b = g();
        double x;
        if (i % 2) {
            std::memcpy(&x, &b, sizeof x);
            if (!std::isfinite(x)) continue;
        } else {  // magnitudes around the window, where the layouts change
            x = std::ldexp(1.0 + static_cast<double>(b >> 12) * 0x1p-52, static_cast<int>(b % 80) - 30) * (b & 1 ? -1 : 1);
        }
        const std::string t = Posizionale(x), breve = Breve(x);
        const double a = std::fabs(x);
        const bool finestra = a >= 1e-5 && a < 1e15;
        double letto = 0;
        std::from_chars(t.data(), t.data() + t.size(), letto);
        auto cifre = [](const std::string& s) {  // significant digits, exponent aside
            std::string c;
            for (char ch : s.substr(0, s.find('e')))
                if (ch >= '0' && ch <= '9' && !(c.empty() && ch == '0')) c += ch;
            while (!c.empty() && c.back() == '0') c.pop_back();
            return c;
        };
        const bool ok = std::memcmp(&letto, &x, sizeof x) == 0 && cifre(t) == cifre(breve) &&
                        (finestra ? t.find('e') == std::string::npos : t == breve);
        if (!ok && ++diversi <= 5) ADD_FAILURE() << breve << " -> " << t;
    }
    EXPECT_EQ(diversi, 0);
}

// The browser's fast path: what it takes it reads exactly as from_chars does;
// what it must leave to strtod it leaves.
TEST(LetturaVeloce, ComeFromCharsOppureNiente) {
    const struct { const char* testo; bool presa; } casi[] = {
        {"850", true}, {"0.0125", true}, {"-3.5e2", true}, {"1.5", true}, {"1e22", true}, {"1e-22", true},
        {"12e+3", true}, {"9007199254740992", true}, {"0.000", true}, {"-0", true}, {"0e999", true},
        {"1e23", false}, {"1e-23", false}, {"9007199254740993", false}, {"12345678901234567890", false},
        {"", false}, {".", false}, {"-", false}, {"1e", false}, {"1e+", false}, {"1.2.3", false}, {"1,5", false},
        {"abc", false}, {"1e5x", false},
    };
    for (const auto& c : casi) {
        double v = 42, atteso = 0;
        const char* fine = c.testo + std::strlen(c.testo);
        EXPECT_EQ(LetturaVeloce(c.testo, fine, v), c.presa) << c.testo;
        if (c.presa) {
            std::from_chars(c.testo, fine, atteso);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(v), std::bit_cast<std::uint64_t>(atteso)) << c.testo;
        }
    }
    // Random numbers as people type them: up to 19 digits, a point anywhere, an exponent or none.
    std::mt19937_64 g(2029);
    int prese = 0, diverse = 0;
    for (int i = 0; i < 50000; ++i) {
        std::string t = g() % 4 ? "" : "-";
        const int cifre = 1 + static_cast<int>(g() % 19), punto = static_cast<int>(g() % (cifre + 2));
        for (int k = 0; k < cifre; ++k) {
            if (k == punto) t += '.';
            t += static_cast<char>('0' + g() % 10);
        }
        if (g() % 3 == 0) t += "e" + std::to_string(static_cast<int>(g() % 61) - 30);
        double v = 0, atteso = 0, lento = 0;
        std::from_chars(t.data(), t.data() + t.size(), atteso);
        // What the fast path leaves goes to strtod, which reads it as from_chars does too.
        LeggiDoubleStrtod(t.data(), t.data() + t.size(), lento);
        if (std::bit_cast<std::uint64_t>(lento) != std::bit_cast<std::uint64_t>(atteso) && ++diverse <= 5)
            ADD_FAILURE() << "strtod " << t;
        if (!LetturaVeloce(t.data(), t.data() + t.size(), v)) continue;
        ++prese;
        if (std::bit_cast<std::uint64_t>(v) != std::bit_cast<std::uint64_t>(atteso) && ++diverse <= 5)
            ADD_FAILURE() << t;
    }
    EXPECT_EQ(diverse, 0);
    // strtod's ends as from_chars has them: where the number stops, out of range (the value untouched), nothing.
    for (const char* t : {"1e5x", "1e400", "-1e400", "1e-400", "4.9e-324", "abc", "", "1e", "-.5e-3,"}) {
        double a = 7, b = 7;
        const char* fine = t + std::strlen(t);
        const auto r = std::from_chars(t, fine, a);
        const auto s = LeggiDoubleStrtod(t, fine, b);
        EXPECT_TRUE(r.ptr == s.ptr && r.ec == s.ec && std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b)) << t;
    }
    EXPECT_GT(prese, 20000);  // the path is really taken
}

}  // namespace
