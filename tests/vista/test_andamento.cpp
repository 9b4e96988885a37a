// The Andamento window's view model: the default ranges and what the chart
// draws (the boxes' refusals and answers are the scenario table's, on every face).
#include <gtest/gtest.h>

#include <algorithm>

#include "combustion/Verifica.h"
#include "support/Casi.h"
#include "vista/Andamento.h"

namespace termix::vista {
namespace {

using Q = Quantita;

// Excess air 0 to 200 % by 5 traced, 1100 °C found.
Andamento iniziale() {
    Andamento a(prova::casoMetano(), "Forno", "Gas");
    EXPECT_FALSE(a.traccia("0", "200", "5"));
    EXPECT_FALSE(a.trova("1100"));
    EXPECT_FALSE(a.risposta().empty());
    return a;
}

TEST(VistaAndamento, DefaultRangesAroundTheCase) {
    Andamento a(prova::casoMetano(), "", "");
    // Air at 20 °C: 40 °C either side on the 2 °C grid; 100 kg/h: half to double by a twentieth.
    const struct {
        Quantita q;
        std::array<std::string, 3> testi;
    } casi[] = {{Q::EccessoAria, {"0", "200", "5"}}, {Q::TempAria, {"-20", "60", "2"}},
                {Q::UmiditaRelativa, {"0", "100", "5"}}, {Q::Dispersioni, {"0", "30", "1"}},
                {Q::PortataComb, {"50", "200", "5"}}};
    for (const auto& c : casi) EXPECT_EQ(a.scegli(c.q), c.testi) << Info(c.q).nome;
    // The chosen input is swept at the next "Traccia"; the boxes left empty take its defaults.
    EXPECT_FALSE(a.traccia("", "", ""));
    EXPECT_EQ(a.tracciata(), Q::PortataComb);
    EXPECT_EQ(a.punti().size(), 31u);
    EXPECT_EQ(a.punti().back().valore, 200);
}

// Both flue-gas temperatures on one axis with the thresholds; NASA's from each run's flows;
// the case and the crossing marked; a stopped run a gap.
TEST(VistaAndamento, WhatTheChartDraws) {
    Andamento a = iniziale();
    const Quantita scelti[] = {Q::TempFumiRif, Q::PercVolO2, Q::TempFumi};
    const GraficoAndamento g = a.grafico(scelti);
    EXPECT_EQ(g.titoloX, "Eccesso d'aria");
    EXPECT_EQ(g.unitaX, "%");
    EXPECT_EQ(std::pair(g.da, g.a), std::pair(0.0, 200.0));
    ASSERT_EQ(g.serie.size(), 3u);  // in the window's order, whatever the order chosen
    EXPECT_EQ(g.serie[0].risultato, Q::TempFumi);
    EXPECT_EQ(g.serie[1].risultato, Q::PercVolO2);
    EXPECT_EQ(g.serie[2].risultato, Q::TempFumiRif);
    ASSERT_EQ(g.assi.size(), 2u);
    EXPECT_EQ(g.serie[0].asse, 0u);
    EXPECT_EQ(g.serie[2].asse, 0u);
    EXPECT_EQ(g.serie[1].asse, 1u);
    EXPECT_EQ(g.assi[0].titolo, "Temperatura");
    EXPECT_EQ(g.assi[0].unita, "°C");
    EXPECT_EQ(g.assi[0].soglie, (std::vector<double>{850, 1100}));
    EXPECT_TRUE(g.assi[1].soglie.empty());

    const SerieGrafico& rif = g.serie[2];
    ASSERT_EQ(rif.tratti.size(), 1u);
    ASSERT_EQ(rif.tratti[0].size(), 41u);
    double massimo = 0;
    for (size_t k = 0; k < 41; ++k) {
        const auto atteso = TemperaturaFumiRif(a.punti()[k].m);
        ASSERT_TRUE(atteso);
        EXPECT_EQ(rif.tratti[0][k].y, *atteso);
        EXPECT_EQ(rif.tratti[0][k].x, 5.0 * double(k));
        massimo = std::max(massimo, *atteso);
    }
    // NASA's enthalpies read the methane flue gas hotter than the table (1678,9 against 1314,6 °C at 20 %).
    ASSERT_TRUE(rif.caso);
    EXPECT_NEAR(rif.caso->y, 1678.9, 0.1);
    EXPECT_NEAR(g.serie[0].caso->y, 1314.6, 0.1);
    EXPECT_EQ(g.serie[0].caso->x, 20);
    EXPECT_EQ(g.assi[0].massimo, massimo);
    ASSERT_TRUE(g.serie[0].obiettivo);
    EXPECT_EQ(g.serie[0].obiettivo->x, a.obiettivo()->valore);
    EXPECT_FALSE(rif.obiettivo);
    // NASA's alone still has the thresholds: the verdict reads it.
    const Quantita soloRif[] = {Q::TempFumiRif};
    EXPECT_EQ(a.grafico(soloRif).assi[0].soglie, (std::vector<double>{850, 1100}));

    // Losses of 100 % leave no net heat: the last run stops, a gap at the end of every line.
    Andamento d(prova::casoMetano(), "", "", Q::Dispersioni);
    ASSERT_FALSE(d.traccia("0", "100", "10"));
    const GraficoAndamento gd = d.grafico(scelti);
    for (const auto& s : gd.serie) EXPECT_EQ(s.tratti.size() == 1 ? s.tratti[0].size() : 0u, 10u);
    EXPECT_EQ(d.stato(), "11 casi, 1 interrotti (lacune nel grafico)");
    // The case at 5 % is inside the range; without a chosen result nothing is drawn.
    EXPECT_TRUE(d.grafico(scelti).serie[0].caso);
    EXPECT_TRUE(d.grafico({}).assi.empty());
}

}  // namespace
}  // namespace termix::vista
