// The display rule and the reading rule of the numeric boxes, on the values
// the forms are known to show.
#include <gtest/gtest.h>

#include "model/Formato.h"

using termix::FormatoTroncato;
using termix::LeggiNumero;

TEST(FormatoTroncato, TaglioVersoMenoInfinito) {
    struct Caso {
        double x;
        int decimali;
        const char* atteso;
    };
    const Caso casi[] = {
        {0.748675, 4, "0,7486"},      // cut, not rounded
        {16.043, 4, "16,043"},         // no trailing zeros
        {1.0, 4, "1"},                 // no comma for a whole value
        {-1.2345, 3, "-1,235"},        // toward minus infinity
        {1234.56789, 3, "1234,567"},
        {0.29, 2, "0,28"},             // 0.29 * 100 is just below 29
        {2.59, 1, "2,5"},
        {-12.34, 1, "-12,4"},
        {900.0, 1, "900"},
        {-0.0005, 3, "-0,001"},
        {0.00734941, 5, "0,00734"},    // zeros after the comma kept
        {12091.4325, 2, "12091,43"},
        {0.0, 3, "0"},
        {-0.0, 3, "0"},
        {0.0004, 3, "0"},
        {-1e-9, 6, "-0,000001"},
    };
    for (const auto& c : casi) EXPECT_EQ(FormatoTroncato(c.x, c.decimali), c.atteso) << c.x << " a " << c.decimali;
}

TEST(LeggiNumero, ConvenzioneDellaVirgola) {
    struct Caso {
        const char* testo;
        bool numero;
        double valore;
    };
    const Caso casi[] = {
        {"2,5", true, 2.5},     {" -3 ", true, -3.0},   {"1.000,5", true, 1000.5}, {"1,5E3", true, 1500.0},
        {"+7", true, 7.0},      {"1.5", false, 0},      {"2.", false, 0},          {"abc", false, 0},
        {"", false, 0},         {"   ", false, 0},      {"1e999", false, 0},       {"1.0000", false, 0},
        {"12.345.678", true, 12345678.0},
    };
    for (const auto& c : casi) {
        auto v = LeggiNumero(c.testo);
        EXPECT_EQ(v.has_value(), c.numero) << '"' << c.testo << '"';
        if (v && c.numero) {
            EXPECT_EQ(*v, c.valore) << c.testo;
        }
    }
}
