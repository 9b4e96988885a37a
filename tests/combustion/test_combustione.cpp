#include <gtest/gtest.h>

#include <cmath>

#include "combustion/Combustione.h"
#include "support/Casi.h"

using namespace termix;
using termix::prova::combustibileClorurato;
using termix::prova::metano;

namespace {

// A worked value given to a number of decimals: the computed value rounds to it.
void vicino(double calcolato, double dato, int decimali, const char* nome) {
    EXPECT_NEAR(calcolato, dato, 0.5 * std::pow(10.0, -decimali) + 1e-12) << nome;
}

TEST(TemperaturaFumi, IterationFrom900KWithTheMeanCappedAt1250K) {
    const struct { double potere; int passi; double media, fumi; } casi[] = {
        // The worked run: five passes, mean 939.3044 K, 1314.636 °C.
        {11958, 5, 939.3044, 1314.636},
        // Six passes; the last mean is 0.5 * (293.15 + 2207.872) = 1250.511 K, just above the
        // cap, so cp is taken at 1250 K: 20 + 2231740 / (2195.3356 * cp(1250)) = 1931.7574 °C
        // (the rule evaluated step by step on its own from the run's cp coefficients).
        {23492, 6, 1250, 1931.7574},
    };
    for (const auto& c : casi) {
        Modulo1 m = metano();
        m.PotereCalorifico = c.potere;
        m.TempFumiIpotesi = 5000;  // left from an earlier run: every run starts from 900 K
        CalcolaUmiditaAria(m);
        ASSERT_EQ(CalcolaTemperaturaFumi(m), EsitoCalcolo::CalcoloOk);
        EXPECT_EQ(m.EnergiaNetta.v, c.potere * 100 * 0.95);
        EXPECT_EQ(UltimiPassi().temperatura, c.passi);
        vicino(m.TempMediaFumi.v, c.media, 4, "TempMediaFumi");
        vicino(m.TempFumi.v, c.fumi, 3, "TempFumi");
        EXPECT_EQ(m.TempFumiK.v, m.TempFumi.v + 273.15);
        if (c.media < 1250) continue;
        const double grezza = 0.5 * (m.TempAriaK.v + 2 * m.TempFumiIpotesi.v - m.TempFumiK.v);  // last pass
        EXPECT_GT(grezza, 1250.0);
        EXPECT_LE(grezza, 1251.0);
        EXPECT_EQ(m.TempMediaFumi.v, 1250.0);
    }
    Modulo1 m = metano();  // a run stopped after its first pass shows the mean it started from
    CalcolaUmiditaAria(m);
    EXPECT_THROW(CalcolaTemperaturaFumi(m, 1), ErroreAritmetico);
    EXPECT_EQ(m.TempMediaFumi.v, 596.575);  // 0.5 * (293.15 + 900)
}

TEST(TemperaturaFumi, NetEnergyNotPositiveStopsBeforeAnyTemperatureIsWritten) {
    const struct { const char* nome; double portata, potere, dispersioni, acqua; } casi[] = {
        {"portata nulla", 0, 11958, 5, 0}, {"potere nullo", 100, 0, 5, 0},
        {"dispersioni 100 %", 100, 11958, 100, 0}, {"acqua che assorbe tutto", 100, 539, 0, 1},
    };
    for (const auto& c : casi) {
        Modulo1 m = metano();
        m.PortataComb = c.portata, m.PotereCalorifico = c.potere, m.Dispersioni = c.dispersioni, m.Acqua = c.acqua;
        m.TempFumi = -1, m.CpA = -1, m.TempMediaFumi = -1;
        CalcolaUmiditaAria(m);
        EXPECT_EQ(CalcolaTemperaturaFumi(m), EsitoCalcolo::EnergiaInsufficiente) << c.nome;
        EXPECT_LE(m.EnergiaNetta.v, 0.0) << c.nome;
        EXPECT_EQ(m.TempFumi.v + m.CpA.v + m.TempMediaFumi.v, -3.0) << c.nome;
        EXPECT_EQ(m.PortataComb.v * m.FrazC.v, m.PortataC.v) << c.nome;  // flows were written
    }
}

Modulo1 fumi(double k, double h2o, double hcl, double o2) {
    Modulo1 m;
    m.TempFumiK = k, m.PercVolH2O = h2o, m.PercVolHCl = hcl, m.PercVolO2 = o2;
    m.ConcCl2 = 99;
    return m;
}

TEST(EquilibrioCloro, WorkedRuns) {
    Modulo1 m = fumi(1300, 10, 0.1, 5);
    CalcolaEquilibrioCloro(m);
    vicino(m.CostanteCloro.v, 0.0651360, 7, "CostanteCloro");
    EXPECT_EQ(UltimiPassi().cloro, 2);
    vicino(m.ConcCl2.v, 0.024956, 6, "ConcCl2");

    m = combustibileClorurato();
    CalcolaUmiditaAria(m);
    ASSERT_EQ(CalcolaTemperaturaFumi(m), EsitoCalcolo::CalcoloOk);
    CalcolaComposizioneFumi(m);
    CalcolaEquilibrioCloro(m);
    vicino(m.TempFumi.v, 1175.913, 3, "TempFumi");
    vicino(m.PercVolHCl.v, 0.3995926, 7, "PercVolHCl");
    vicino(m.CostanteCloro.v, 0.0364400, 7, "CostanteCloro");
    EXPECT_EQ(UltimiPassi().cloro, 1);
    vicino(m.ConcCl2.v, 15.5577, 4, "ConcCl2");
}

TEST(EquilibrioCloro, EdgesAndErrors) {
    Modulo1 m = fumi(1300, 0, 0, 5);  // no chlorine: 0 ppm, the iteration values left alone
    m.FrazCl2 = 0.25, m.ResiduoCloro = 7;
    CalcolaEquilibrioCloro(m);
    EXPECT_EQ(m.ConcCl2.v, 0.0);
    EXPECT_EQ(m.FrazCl2.v, 0.25);
    EXPECT_EQ(m.ResiduoCloro.v, 7.0);

    m = fumi(1300, 10, 0.1, 0.05);  // below 0.051 % O2 the second trial point fails
    EXPECT_THROW(CalcolaEquilibrioCloro(m), ErroreAritmetico);
    EXPECT_EQ(m.ConcCl2.v, 99.0);
    EXPECT_EQ(m.FrazCl2Prova.v, 2e-05 + 0.001);

    // A hot flue gas with little HCl: the Newton steps end below zero, shown as zero.
    m = fumi(2070.6091135010133, 7.8532443898350088, 0.012076475939647639, 0.29281953539725697);
    CalcolaEquilibrioCloro(m);
    EXPECT_LT(m.FrazCl2Prec.v, 0.0);
    EXPECT_EQ(m.FrazCl2.v, 0.0);
    EXPECT_EQ(m.ConcCl2.v, 0.0);

    // A cool flue gas where the Newton steps wander without ever repeating: only the guard
    // ends them (a lower one here, to stay quick).
    m = fumi(555.87659896231787, 10, 0.019576375476116185, 10);
    EXPECT_THROW(CalcolaEquilibrioCloro(m, 100000), ErroreAritmetico);
    EXPECT_EQ(UltimiPassi().cloro, 100001);  // the limit made, the next refused
    EXPECT_EQ(m.ConcCl2.v, 99.0);
}

}  // namespace
