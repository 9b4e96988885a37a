// The sweep's values; the target temperature against a bisection on the core.
#include <gtest/gtest.h>

#include "combustion/Andamento.h"
#include "combustion/Combustione.h"
#include "support/Casi.h"

using namespace termix;

namespace {

double tempFumi(double eccesso) {
    Modulo1 m = prova::metano();
    m.EccessoAria = eccesso;
    CalcolaUmiditaAria(m);
    CalcolaTemperaturaFumi(m);
    return m.TempFumi.v;
}

}  // namespace

TEST(Andamento, ValuesAreComputedFromTheStartNotAdded) {
    std::vector<double> v;
    ASSERT_FALSE(ValoriAndamento(0, 0.3, 0.1, v));
    ASSERT_EQ(v.size(), 4u);  // 3 * 0.1 is a hair above 0.3 and still counts
    EXPECT_EQ(v[3], 3 * 0.1);
    ASSERT_FALSE(ValoriAndamento(0, 200, 5, v));
    EXPECT_EQ(v.size(), 41u);
    for (auto [da, a, passo] : {std::tuple{1.0, 0.0, 1.0}, {0.0, 1.0, 0.0}, {0.0, 1.0, -1.0}, {0.0, 1e9, 1e-3}})
        EXPECT_TRUE(ValoriAndamento(da, a, passo, v)) << da << " " << a << " " << passo;
}

TEST(Andamento, TargetOnMethaneMatchesABisectionOnTheCore) {
    std::vector<double> valori;
    ASSERT_FALSE(ValoriAndamento(0, 200, 5, valori));
    const IngressiCaso metano{TipoCombustibile::Metano, Composizione::Nessuna, prova::metano()};  // inputs read
    std::vector<PuntoAndamento> punti;
    CalcolaAndamento(metano, IngressiAndamento[0], valori, punti);
    for (double t : {850.0, 1100.0}) {
        // The grid step where the temperature falls below t, then halves to 0.01 %.
        double lo = 0;
        while (tempFumi(lo + 5) >= t) lo += 5;
        double hi = lo + 5;
        while (hi - lo > 0.01) {
            const double x = lo + (hi - lo) / 2;
            (tempFumi(x) >= t ? lo : hi) = x;
        }
        const Obiettivo o = TrovaObiettivo(metano, IngressiAndamento[0], punti, t);
        ASSERT_EQ(o.esito, Obiettivo::Esito::Trovato) << o.frase;
        EXPECT_TRUE(o.finoA);
        EXPECT_EQ(o.valore, lo);
        EXPECT_EQ(o.punto.m.TempFumi.v, tempFumi(lo));
        EXPECT_EQ(o.frase.find("Eccesso d'aria massimo per " + std::to_string(int(t)) + " °C: "), 0u) << o.frase;
    }

    // 20 % gives 1314.6 °C and 200 % is far below 850 °C.
    EXPECT_EQ(TrovaObiettivo(metano, IngressiAndamento[0], punti, 3000).frase,
              "La temperatura dei fumi non raggiunge 3000 °C tra 0 e 200 %");
    EXPECT_EQ(TrovaObiettivo(metano, IngressiAndamento[0], punti, 100).frase,
              "La temperatura dei fumi resta sopra 100 °C tra 0 e 200 %");
    // Up, down, a gap, up again: three crossings, the gap bridged.
    std::vector<PuntoAndamento> zigzag(punti.begin(), punti.begin() + 5);
    const double temperature[] = {900, 800, 900, 0, 800};
    for (int k = 0; k < 5; ++k) zigzag[k].m.TempFumi = temperature[k];
    zigzag[3].completato = false;
    const Obiettivo o = TrovaObiettivo(metano, IngressiAndamento[0], zigzag, 850);
    EXPECT_EQ(o.esito, Obiettivo::Esito::PiuIncroci);
    EXPECT_EQ(o.frase, "La temperatura dei fumi incrocia 850 °C 3 volte tra 0 e 20 %: restringere l'intervallo");
}
