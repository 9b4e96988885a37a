#include <gtest/gtest.h>

#include <cmath>

#include "combustion/Combustione.h"
#include "fuel/CalcoloCombustibile.h"
#include "support/Casi.h"

using namespace termix;
using termix::prova::combustibileClorurato;
using termix::prova::metano;

namespace {

void eseguiTutto(Modulo1& m) {
    CalcolaUmiditaAria(m);
    ASSERT_EQ(CalcolaTemperaturaFumi(m), EsitoCalcolo::CalcoloOk);
    CalcolaComposizioneFumi(m);
    CalcolaEquilibrioCloro(m);
}

// A worked value given to a number of decimals: the computed value rounds to it.
void vicino(double calcolato, double dato, int decimali, const char* nome) {
    EXPECT_NEAR(calcolato, dato, 0.5 * std::pow(10.0, -decimali) + 1e-12) << nome;
}

TEST(UmiditaAria, TwentyDegreesFiftyPercent) {
    Modulo1 m;
    m.TempAria = 20;
    m.UmiditaRelativa = 50;
    CalcolaUmiditaAria(m);
    EXPECT_DOUBLE_EQ(m.TempAriaK.v, 293.15);
    vicino(m.PressioneVapore.v, 17.545, 3, "PressioneVapore");
    vicino(m.UmiditaSpecifica.v, 0.0073494, 7, "UmiditaSpecifica");
}

TEST(UmiditaAria, FailuresAndEdges) {
    Modulo1 m;
    m.TempAria = -273.15;  // log of zero
    EXPECT_THROW(CalcolaUmiditaAria(m), ErroreAritmetico);
    EXPECT_DOUBLE_EQ(m.TempAriaK.v, 0.0);  // written before the failure
    m.TempAria = -300;  // log of a negative number
    EXPECT_THROW(CalcolaUmiditaAria(m), ErroreAritmetico);

    Modulo1 caldo;
    caldo.TempAria = 101;  // saturation pressure above 760 mmHg: negative humidity, no error
    caldo.UmiditaRelativa = 50;
    CalcolaUmiditaAria(caldo);
    EXPECT_GT(caldo.PressioneVapore.v, 760.0);
    EXPECT_LT(caldo.UmiditaSpecifica.v, 0.0);

    Modulo1 secco;
    secco.TempAria = 20;
    CalcolaUmiditaAria(secco);
    EXPECT_EQ(secco.UmiditaSpecifica.v, 0.0);
}

TEST(BilancioMassa, MethaneWorkedRun) {
    Modulo1 m = metano();
    eseguiTutto(m);
    vicino(m.PortataAriaEff.v, 2081.0227, 4, "PortataAriaEff");
    vicino(m.KmoliFumi.v, 79.20323, 5, "KmoliFumi");
    vicino(m.PortataFumi.v, 2195.3356, 4, "PortataFumi");
    vicino(m.PesoMolecolareFumi.v, 27.71775, 5, "PesoMolecolareFumi");
    vicino(m.PercVolCO2.v, 7.90955, 5, "PercVolCO2");
    vicino(m.PercVolH2O.v, 16.89423, 5, "PercVolH2O");
    vicino(m.PercVolO2.v, 3.16372, 5, "PercVolO2");
    vicino(m.PercVolN2.v, 72.03251, 5, "PercVolN2");
    EXPECT_EQ(m.PercVolHCl.v, 0.0);
    EXPECT_EQ(m.PercVolSO2.v, 0.0);
    vicino(m.PortataVolFumiNormale.v, 1775.2612, 4, "PortataVolFumiNormale");
    vicino(m.PortataVolFumi.v, 10319.367, 3, "PortataVolFumi");
    // Each share column sums to 100 within rounding.
    EXPECT_NEAR(m.PercVolCO2.v + m.PercVolH2O.v + m.PercVolHCl.v + m.PercVolSO2.v + m.PercVolO2.v + m.PercVolN2.v,
                100.0, 1e-9);
    EXPECT_NEAR(m.PercPesoCO2.v + m.PercPesoH2O.v + m.PercPesoHCl.v + m.PercPesoSO2.v + m.PercPesoO2.v +
                    m.PercPesoN2.v,
                100.0, 1e-9);
}

TEST(BilancioMassa, SameValuesWhateverTheTemperatureAndHowOftenCalled) {
    Modulo1 a = metano();
    CalcolaUmiditaAria(a);
    CalcolaBilancioMassa(a);
    Modulo1 b = a;
    b.TempFumiK = 5000;
    CalcolaBilancioMassa(b);
    CalcolaBilancioMassa(b);
    EXPECT_EQ(a.PortataFumi.v, b.PortataFumi.v);
    EXPECT_EQ(a.KmoliFumi.v, b.KmoliFumi.v);
}

TEST(BilancioMassa, NoExcessAirAndNoChlorine) {
    Modulo1 m = metano();
    m.EccessoAria = 0;
    CalcolaUmiditaAria(m);
    CalcolaBilancioMassa(m);
    EXPECT_EQ(m.KmoliO2.v, 0.0);
    EXPECT_EQ(m.PortataAriaEff.v, m.PortataAriaStech.v);
    EXPECT_EQ(m.KmoliHCl.v, 0.0);
    EXPECT_DOUBLE_EQ(m.KmoliH2OIdrogeno.v, m.PortataH.v / 1.008 / 2);
}

TEST(BilancioMassa, MoreChlorineThanHydrogenGivesNegativeHydrogenWater) {
    Modulo1 m;
    m.PortataComb = 100;
    m.FrazH = 0.001;
    m.FrazCl = 0.5;
    CalcolaBilancioMassa(m);
    EXPECT_LT(m.KmoliH2OIdrogeno.v, 0.0);
    EXPECT_LT(m.PortataH2O.v, 0.0);  // enters the water flow unchanged
}

TEST(TemperaturaFumi, MethaneWorkedRun) {
    Modulo1 m = metano();
    CalcolaUmiditaAria(m);
    ASSERT_EQ(CalcolaTemperaturaFumi(m), EsitoCalcolo::CalcoloOk);
    EXPECT_EQ(m.EnergiaIngresso.v, 1195800.0);
    EXPECT_EQ(m.EnergiaNetta.v, 1136010.0);
    EXPECT_EQ(UltimiPassi().temperatura, 5);
    vicino(m.TempMediaFumi.v, 939.3044, 4, "TempMediaFumi");
    vicino(m.CaloreSpecificoFumi.v, 0.3996994, 7, "CaloreSpecificoFumi");
    vicino(m.TempFumi.v, 1314.636, 3, "TempFumi");
    EXPECT_EQ(m.TempFumiK.v, m.TempFumi.v + 273.15);
}

TEST(TemperaturaFumi, EveryRunStartsFrom900K) {
    // Stopped after its first pass, the run shows the mean temperature it started from.
    Modulo1 m = metano();
    CalcolaUmiditaAria(m);
    m.TempFumiIpotesi = 123;
    EXPECT_THROW(CalcolaTemperaturaFumi(m, 1), ErroreAritmetico);
    EXPECT_EQ(m.TempMediaFumi.v, 596.575);  // 0.5 * (293.15 + 900)

    Modulo1 n = metano();
    CalcolaUmiditaAria(n);
    n.TempFumiIpotesi = 5000;  // left from an earlier run
    CalcolaTemperaturaFumi(n);
    vicino(n.TempFumi.v, 1314.636, 3, "TempFumi");
}

TEST(TemperaturaFumi, MeanTemperatureCappedAt1250K) {
    Modulo1 m = metano();
    m.PotereCalorifico = 40000;  // a very hot flue gas
    CalcolaUmiditaAria(m);
    ASSERT_EQ(CalcolaTemperaturaFumi(m), EsitoCalcolo::CalcoloOk);
    EXPECT_EQ(m.TempMediaFumi.v, 1250.0);
    const double tm = 1250.0;
    const double cp = ((m.CpA.v + m.CpB.v * tm) + m.CpC.v * std::pow(tm, 2.0)) + m.CpD.v * std::pow(tm, 3.0);
    EXPECT_EQ(m.CaloreSpecificoFumi.v, cp);
}

struct CasoEnergia {
    const char* nome;
    double portata, potere, ceneri, dispersioni, acqua, inerti;
};

TEST(TemperaturaFumi, NetEnergyNotPositiveStopsBeforeAnyTemperatureIsWritten) {
    const CasoEnergia casi[] = {
        {"portata nulla", 0, 11958, 20, 5, 0, 0},
        {"potere nullo", 100, 0, 20, 5, 0, 0},
        {"dispersioni 100 %", 100, 11958, 20, 100, 0, 0},
        {"acqua che assorbe tutto", 100, 539, 20, 0, 1, 0},
    };
    for (const auto& c : casi) {
        Modulo1 m = metano();
        m.PortataComb = c.portata;
        m.PotereCalorifico = c.potere;
        m.TempCeneri = c.ceneri;
        m.Dispersioni = c.dispersioni;
        m.Acqua = c.acqua;
        m.Inerti = c.inerti;
        m.TempFumi = -1;
        m.CpA = -1;
        m.TempMediaFumi = -1;
        CalcolaUmiditaAria(m);
        EXPECT_EQ(CalcolaTemperaturaFumi(m), EsitoCalcolo::EnergiaInsufficiente) << c.nome;
        EXPECT_LE(m.EnergiaNetta.v, 0.0) << c.nome;
        EXPECT_EQ(m.TempFumi.v, -1.0) << c.nome;
        EXPECT_EQ(m.CpA.v, -1.0) << c.nome;
        EXPECT_EQ(m.TempMediaFumi.v, -1.0) << c.nome;
        EXPECT_EQ(m.PortataComb.v * m.FrazC.v, m.PortataC.v) << c.nome;  // flows were written
    }
}

TEST(TemperaturaFumi, AshColderThanAirRaisesTheNetEnergy) {
    Modulo1 m = metano();
    m.Inerti = 0.1;
    m.TempCeneri = 0;
    CalcolaUmiditaAria(m);
    CalcolaTemperaturaFumi(m);
    EXPECT_LT(m.CaloreCeneri.v, 0.0);
    EXPECT_GT(m.EnergiaNetta.v, m.EnergiaIngresso.v - m.CaloreDisperso.v - m.CaloreEvaporazione.v - 1e-6);
}

TEST(Cloro, ResidualFormula) {
    // K - ((yH2O + x) x) / ((yHCl - 2x)^2 sqrt(yO2 - x/2)) by hand at x = 0.0001:
    // (0.1001 * 0.0001) / (0.0008^2 * sqrt(0.04995)) = 1.001e-5 / (6.4e-7 * 0.2234949) = 69.981...
    const double r = Cloro(0.5, 0.1, 0.001, 0.05, 0.0001).v;
    EXPECT_NEAR(r, 0.5 - 1.001e-5 / (6.4e-7 * std::sqrt(0.04995)), 1e-9);
    EXPECT_THROW(Cloro(0.5, 0.1, 0.001, 0.0001, 0.001), ErroreAritmetico);  // sqrt of negative
    EXPECT_THROW(Cloro(0.5, 0.1, 0.002, 0.05, 0.001), ErroreAritmetico);    // (yHCl - 2x) = 0
}

TEST(EquilibrioCloro, GivenFractionsTwoPasses) {
    Modulo1 m;
    m.TempFumiK = 1300;
    m.PercVolH2O = 10;
    m.PercVolHCl = 0.1;
    m.PercVolO2 = 5;
    CalcolaEquilibrioCloro(m);
    vicino(m.CostanteCloro.v, 0.0651360, 7, "CostanteCloro");
    EXPECT_EQ(UltimiPassi().cloro, 2);
    vicino(m.ConcCl2.v, 0.024956, 6, "ConcCl2");
}

TEST(EquilibrioCloro, WholeRunWithChlorineOnePass) {
    Modulo1 m = combustibileClorurato();
    eseguiTutto(m);
    vicino(m.TempFumi.v, 1175.913, 3, "TempFumi");
    vicino(m.PercVolHCl.v, 0.3995926, 7, "PercVolHCl");
    vicino(m.CostanteCloro.v, 0.0364400, 7, "CostanteCloro");
    EXPECT_EQ(UltimiPassi().cloro, 1);
    vicino(m.ConcCl2.v, 15.5577, 4, "ConcCl2");
}

TEST(EquilibrioCloro, NoChlorineKeepsTheOldIterationValues) {
    Modulo1 m;
    m.TempFumiK = 1300;
    m.PercVolO2 = 5;
    m.FrazCl2 = 0.25;
    m.ResiduoCloro = 7;
    m.ConcCl2 = 99;
    CalcolaEquilibrioCloro(m);
    EXPECT_EQ(m.ConcCl2.v, 0.0);
    EXPECT_EQ(m.FrazCl2.v, 0.25);
    EXPECT_EQ(m.ResiduoCloro.v, 7.0);
}

TEST(EquilibrioCloro, TooLittleOxygenIsAnError) {
    Modulo1 m;
    m.TempFumiK = 1300;
    m.PercVolH2O = 10;
    m.PercVolHCl = 0.1;
    m.PercVolO2 = 0.05;  // below 0.051 %: the second trial point fails
    m.ConcCl2 = 99;
    EXPECT_THROW(CalcolaEquilibrioCloro(m), ErroreAritmetico);
    EXPECT_EQ(m.ConcCl2.v, 99.0);
    EXPECT_EQ(m.FrazCl2Prova.v, 2e-05 + 0.001);
}

TEST(EquilibrioCloro, NegativeResultShowsAsZero) {
    // A hot flue gas with little HCl: the Newton steps end below zero.
    Modulo1 m;
    m.TempFumiK = 2070.6091135010133;
    m.PercVolH2O = 7.8532443898350088;
    m.PercVolHCl = 0.012076475939647639;
    m.PercVolO2 = 0.29281953539725697;
    m.ConcCl2 = 99;
    CalcolaEquilibrioCloro(m);
    EXPECT_LT(m.FrazCl2Prec.v, 0.0);
    EXPECT_EQ(m.FrazCl2.v, 0.0);
    EXPECT_EQ(m.ConcCl2.v, 0.0);
}

}  // namespace
