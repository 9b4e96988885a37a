#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/Formato.h"
#include "model/Numero.h"

using namespace termix;

namespace {

TEST(FormatoTroncato, CutTowardMinusInfinityAndCommaText) {
    const struct { double x; int n; const char* atteso; } casi[] = {
        {0.748675, 4, "0,7486"},  // cut, not rounded
        {16.043, 4, "16,043"}, {1.0, 4, "1"}, {900.0, 1, "900"},  // no trailing zeros, no lone comma
        {-1.2345, 3, "-1,235"}, {-12.34, 1, "-12,4"},             // floor goes down for negatives
        {1234.56789, 3, "1234,567"}, {0.29, 2, "0,28"},          // 0.29 * 100 is just below 29
        {2.59, 1, "2,5"}, {-0.0005, 3, "-0,001"},
        {-1e-20, 3, "-0,001"},  // any negative below the last digit shows one unit down
        {1e-20, 3, "0"}, {0.0, 3, "0"}, {-0.0, 3, "0"},  // never "-0"
        {0.05, 2, "0,05"}, {0.0000125, 6, "0,000012"}, {0.00734937, 5, "0,00734"},  // no exponent when small
        {1195800.0, 1, "1195800"}, {10319.36671, 3, "10319,366"}, {11958.0, 2, "11958"},
        {999999999999999.9, 0, "999999999999999"}, {123456789012345.6, 1, "123456789012346"},  // 15 digits
        {1.5e15, 0, "1,5E+15"}, {1e15, 0, "1E+15"}, {1000000000000006.0, 0, "1,00000000000001E+15"},  // 16 digits: 15 shown
        {1e20, 3, "1E+20"}, {-2.5e16, 2, "-2,5E+16"}, {1e300, 3, "1E+300"},
        {12091.4325, 2, "12091,43"}, {0.0004, 3, "0"}, {-1e-9, 6, "-0,000001"},
    };
    for (const auto& c : casi) EXPECT_EQ(FormatoTroncato(c.x, c.n), c.atteso) << c.x << " n=" << c.n;
    for (int n = 1; n <= 15; ++n) EXPECT_EQ(FormatoTroncato(1.0 / 3, n), "0," + std::string(n, '3')) << n;  // every scale
    // The multiplication by 10^n overflowing is an arithmetic error.
    EXPECT_THROW(FormatoTroncato(1e308, 3), ErroreAritmetico);
    EXPECT_THROW(FormatoTroncato(-std::numeric_limits<double>::max(), 1), ErroreAritmetico);
}

TEST(TestoNumero, FifteenSignificantDigits) {
    EXPECT_EQ(TestoNumero(0.1 + 0.2), "0,3");
    EXPECT_EQ(TestoNumero(-1234.5), "-1234,5");
    EXPECT_EQ(TestoNumero(0.0), "0");
    EXPECT_EQ(TestoNumero(1e-7), "0,0000001");
}

TEST(LeggiNumero, DecimalCommaAndThousandsGroups) {
    const struct { const char* testo; double valore; } numeri[] = {
        {"2,5", 2.5}, {"  -2,5 ", -2.5}, {"\t+3\t", 3.0}, {"0,1", 0.1}, {"1.000", 1000.0},
        {"1.000,5", 1000.5}, {"12.345.678,9", 12345678.9}, {"12.345.678", 12345678.0}, {"1,5E3", 1500.0},
        {"1,5e-3", 0.0015}, {"2E+2", 200.0}, {"5,", 5.0}, {",5", 0.5}, {"-0", 0.0},
        {"1e-400", 0.0},                 // below the double range reads as 0
        {"1e-320", 1e-320},              // subnormal values are kept
        {"0,7487", 0.7487}, {"1.797.693,134862315708", 1797693.134862315708},  // the exact double
    };
    for (const auto& c : numeri) {
        auto v = LeggiNumero(c.testo);
        ASSERT_TRUE(v.has_value()) << '"' << c.testo << '"';
        EXPECT_EQ(*v, c.valore) << '"' << c.testo << '"';
    }
    EXPECT_TRUE(std::signbit(*LeggiNumero("-0")));
    // Out of range by its digits, not its exponent: 10^400 x 10^-10 is too large, 10^-401 x 10^10 too small.
    EXPECT_FALSE(LeggiNumero("1" + std::string(400, '0') + "e-10").has_value());
    EXPECT_EQ(LeggiNumero("0," + std::string(400, '0') + "1e10"), 0.0);
    // "1.5" is never 15 nor 1.5; groups are of three digits after the first.
    for (const char* t : {"1.5", "1,5.3", "1.00", "1.0000", "1000.000", "1..000", ".5", "2.", "1 000", "--1", "+-1",
                          "", "   ", ",", "-", "2E", "2E+", "abc", "2,5kg", "1e400", "-1e400", "1e+400", "inf", "nan", "0x10",
                          "1,5E3,2"})
        EXPECT_FALSE(LeggiNumero(t).has_value()) << '"' << t << '"';
}

}  // namespace

namespace {

// What stderr says for each arithmetic stop: the step, then the operation with its operands (17 digits).
TEST(ErroreAritmetico, OgniCausaConISuoiNumeri) {
    using O = Operazione;
    const struct { O op; double a, b; const char* causa; } casi[] = {
        {O::Divisione, 0, 0, "divisione 0/0"}, {O::Divisione, 2, 0, "divisione per zero (2 / 0)"},
        {O::Divisione, 1e308, 1e-10, "divisione fuori scala (1e+308 / 1e-10)"},
        {O::Somma, 1e308, 1e308, "somma fuori scala (1e+308 + 1e+308)"},
        {O::Sottrazione, -1e308, 1e308, "sottrazione fuori scala (-1e+308 - 1e+308)"},
        {O::Prodotto, 1e200, 1e200, "prodotto fuori scala (9.9999999999999997e+199 * 9.9999999999999997e+199)"},
        {O::Potenza, -8, 0.5, "potenza non finita (-8 elevato a 0.5)"},
        {O::Esponenziale, 710, 0, "esponenziale fuori scala (exp di 710)"},
        {O::Logaritmo, -1, 0, "logaritmo di un numero non positivo (-1)"},
        {O::Radice, -0.25, 0, "radice quadrata di un numero negativo (-0.25)"},
    };
    for (const auto& c : casi) {
        try {
            Passo p("temperatura fumi", "TempFumi");
            sollevaErroreAritmetico(c.op, c.a, c.b);
        } catch (const ErroreAritmetico& e) {
            EXPECT_EQ(e.causa(), c.causa);
            EXPECT_EQ(std::string(e.what()), std::string("temperatura fumi TempFumi: ") + c.causa);
        }
    }
}

}  // namespace
