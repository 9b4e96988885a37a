#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/Formato.h"

using namespace termix;

namespace {

struct CasoFormato {
    double x;
    int n;
    const char* atteso;
};

TEST(FormatoTroncato, CutTowardMinusInfinityAndCommaText) {
    const CasoFormato casi[] = {
        {0.748675, 4, "0,7486"},      // cut, not rounded
        {16.043, 4, "16,043"},        // no trailing zeros
        {1.0, 4, "1"},                // whole value: no comma
        {900.0, 1, "900"},
        {-1.2345, 3, "-1,235"},       // floor goes down for negatives
        {-12.34, 1, "-12,4"},
        {1234.56789, 3, "1234,567"},
        {0.29, 2, "0,28"},            // 0.29 * 100 is just below 29
        {2.59, 1, "2,5"},
        {-0.0005, 3, "-0,001"},
        {-1e-20, 3, "-0,001"},        // any negative below the last digit shows one unit down
        {1e-20, 3, "0"},
        {0.0, 3, "0"},
        {-0.0, 3, "0"},               // never "-0"
        {0.05, 2, "0,05"},
        {0.0000125, 6, "0,000012"},   // no exponent for small values
        {0.00734937, 5, "0,00734"},
        {1195800.0, 1, "1195800"},
        {10319.36671, 3, "10319,366"},
        {999999999999999.9, 0, "999999999999999"},
        {123456789012345.6, 1, "123456789012346"},  // 15 significant digits
        {1.5e15, 0, "1,5E+15"},
        {1e20, 3, "1E+20"},
        {-2.5e16, 2, "-2,5E+16"},
        {11958.0, 2, "11958"},
        {12091.4325, 2, "12091,43"},
        {0.0004, 3, "0"},
        {-1e-9, 6, "-0,000001"},
    };
    for (const auto& c : casi) EXPECT_EQ(FormatoTroncato(c.x, c.n), c.atteso) << c.x << " n=" << c.n;
}

TEST(FormatoTroncato, OverflowingMultiplicationIsAnArithmeticError) {
    EXPECT_THROW(FormatoTroncato(1e308, 3), ErroreAritmetico);
    EXPECT_THROW(FormatoTroncato(-std::numeric_limits<double>::max(), 1), ErroreAritmetico);
    EXPECT_EQ(FormatoTroncato(1e300, 3), "1E+300");
}

TEST(TestoNumero, FifteenSignificantDigits) {
    EXPECT_EQ(TestoNumero(0.1 + 0.2), "0,3");
    EXPECT_EQ(TestoNumero(-1234.5), "-1234,5");
    EXPECT_EQ(TestoNumero(0.0), "0");
    EXPECT_EQ(TestoNumero(1e-7), "0,0000001");
}

struct CasoLettura {
    const char* testo;
    bool numero;
    double valore;
};

TEST(LeggiNumero, DecimalCommaAndThousandsGroups) {
    const CasoLettura casi[] = {
        {"2,5", true, 2.5},
        {"  -2,5 ", true, -2.5},
        {"\t+3\t", true, 3.0},
        {"0,1", true, 0.1},
        {"1.000", true, 1000.0},
        {"1.000,5", true, 1000.5},
        {"12.345.678,9", true, 12345678.9},
        {"12.345.678", true, 12345678.0},
        {"1,5E3", true, 1500.0},
        {"1,5e-3", true, 0.0015},
        {"2E+2", true, 200.0},
        {"5,", true, 5.0},
        {",5", true, 0.5},
        {"-0", true, 0.0},
        {"1e-400", true, 0.0},  // below the double range reads as 0
        {"1e-320", true, 1e-320},  // subnormal values are kept
        // refused
        {"1.5", false, 0},       // never 15, never 1.5
        {"1,5.3", false, 0},
        {"1.00", false, 0},
        {"1.0000", false, 0},
        {"1000.000", false, 0},
        {"1..000", false, 0},
        {".5", false, 0},
        {"2.", false, 0},
        {"1 000", false, 0},
        {"--1", false, 0},
        {"+-1", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {",", false, 0},
        {"-", false, 0},
        {"2E", false, 0},
        {"2E+", false, 0},
        {"abc", false, 0},
        {"2,5kg", false, 0},
        {"1e400", false, 0},     // beyond the double range
        {"-1e400", false, 0},
        {"inf", false, 0},
        {"nan", false, 0},
        {"0x10", false, 0},
        {"1,5E3,2", false, 0},
    };
    for (const auto& c : casi) {
        auto v = LeggiNumero(c.testo);
        ASSERT_EQ(v.has_value(), c.numero) << '"' << c.testo << '"';
        if (c.numero) {
            EXPECT_EQ(*v, c.valore) << '"' << c.testo << '"';
        }
    }
}

TEST(LeggiNumero, KeepsTheSignOfZeroAndTheExactDouble) {
    EXPECT_TRUE(std::signbit(*LeggiNumero("-0")));
    EXPECT_EQ(*LeggiNumero("0,7487"), 0.7487);
    EXPECT_EQ(*LeggiNumero("1.797.693,134862315708"), 1797693.134862315708);
}

}  // namespace
