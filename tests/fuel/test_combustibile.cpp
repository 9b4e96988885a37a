#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "fuel/CalcoloCombustibile.h"
#include "model/Messaggi.h"
#include "support/Casi.h"

using namespace termix;
using namespace termix::prova;
using T = Effetto::Tipo;

namespace {

TEST(CalcolaCombustibile, MethanePresetWritesTheFixedDataSet) {
    Modulo1 m;
    m.AtomiC = 7;  // left as it is
    auto e = CalcolaCombustibile(m, TipoCombustibile::Metano, Composizione::Ponderale);
    ASSERT_TRUE(e.completato);
    // Option3 selected and Option4 cleared first, the boxes red before their texts, the focus last.
    EXPECT_TRUE(e.effetti[0].bersaglio == Bersaglio(Ruolo::Atomica) && e.effetti[0].selezionato);
    EXPECT_TRUE(e.effetti[1].bersaglio == Bersaglio(Ruolo::Ponderale) && !e.effetti[1].selezionato);
    EXPECT_EQ(e.effetti[2].tipo, T::Colore);
    EXPECT_EQ(std::ranges::count(tipi(e), T::Colore), 17 + 1);  // the 17 composition and result boxes and the heating value
    EXPECT_EQ(e.effetti.back().tipo, T::Focus);
    auto t = testi(e);
    for (auto [box, testo] : {std::pair{"Combustibile", "Metano"}, {"FrazC", "0,7487"}, {"OssigenoPonderale", "3,98928"},
                              {"PesoMolecolare", "16,043"}, {"PotereCalorifico", "11958"}})
        EXPECT_EQ(t[B(box)], testo) << box;  // OssigenoPonderale: the preset text, five decimals
    EXPECT_TRUE(m.OssigenoPonderale.v == 3.98928 && m.PotereCalorifico.v == 11958.0 && m.AtomiC.v == 7.0 && m.PesoMolecolare.v == 0);
}

TEST(CalcolaCombustibile, CompositionTexts) {
    const struct { const char* nome; Composizione comp; double c, h, o, cl, n, inerti, acqua;
                   std::map<std::string, std::string> attesi; } casi[] = {
        // Methane typed as a formula: the fraction is cut (0,7486), not the preset 0,7487.
        {"CH4", Composizione::Atomica, 1, 4, 0, 0, 0, 0, 0,
         {{"PesoMolecolare", "16,043"}, {"FrazC", "0,7486"}, {"FrazH", "0,2513"}, {"OssigenoStechiom", "124,664"}, {"OssigenoPonderale", "3,989"}}},
        // 20 % inerts and water scale the fractions by 0.8: C 0.59894, H 0.20105; O2 3.98928 * 0.8.
        {"CH4 inerti e acqua", Composizione::Atomica, 1, 4, 0, 0, 0, 0.1, 0.1,
         {{"FrazC", "0,5989"}, {"FrazH", "0,201"}, {"OssigenoStechiom", "99,731"}, {"OssigenoPonderale", "3,191"}}},
        // More chlorine than hydrogen: HCl takes all hydrogen, C alone needs oxygen:
        // M = 12.011 + 1.008 + 70.906 = 83.925; O2 = 32 * (1000/83.925) / 1000 = 0.38129.
        {"CHCl2", Composizione::Atomica, 1, 1, 0, 2, 0, 0, 0,
         {{"PesoMolecolare", "83,925"}, {"FrazCl", "0,8448"}, {"OssigenoPonderale", "0,381"}, {"OssigenoStechiom", "11,915"}}},
        // C2H3Cl: M = 62.499; 32.0 mol C, 48.0 H, 16.0 Cl per kg; O2 = 32 + 32/4 = 40 mol/kg.
        {"C2H3Cl", Composizione::Atomica, 2, 3, 0, 1, 0, 0, 0,
         {{"PesoMolecolare", "62,499"}, {"FrazC", "0,3843"}, {"FrazCl", "0,5672"}, {"OssigenoStechiom", "40"}, {"OssigenoPonderale", "1,28"}}},
        // Pyridine C5H5N: M = 79.1017; N 14.0067 / 79.1017 = 0.17707, C 0.75921, H 0.06371.
        {"C5H5N", Composizione::Atomica, 5, 5, 0, 0, 1, 0, 0,
         {{"FrazN", "0,177"}, {"FrazC", "0,7592"}, {"FrazH", "0,0637"}}},
        // Oxygen-rich: C + 3 O, M = 60.011; (1 - 1.5) * 1000/60.011 = -8.3318 mol, floored downwards.
        {"CO3", Composizione::Atomica, 1, 0, 3, 0, 0, 0, 0, {{"OssigenoStechiom", "-8,332"}, {"OssigenoPonderale", "-0,267"}}},
        // Weight fractions as typed: only the oxygen boxes. 0.75/12.011*1000 = 62.4428 mol C,
        // 0.25/1.008*1000/4 = 62.0040 mol O2 for H.
        {"ponderale", Composizione::Ponderale, 0.75, 0.25, 0, 0, 0, 0, 0, {{"OssigenoStechiom", "124,446"}, {"OssigenoPonderale", "3,982"}}},
    };
    for (const auto& c : casi) {
        Modulo1 m;
        if (c.comp == Composizione::Atomica) m.AtomiC = c.c, m.AtomiH = c.h, m.AtomiO = c.o, m.AtomiCl = c.cl, m.AtomiN = c.n;
        else m.FrazC = c.c, m.FrazH = c.h;
        m.Inerti = c.inerti, m.Acqua = c.acqua;
        auto e = CalcolaCombustibile(m, TipoCombustibile::Altri, c.comp);
        ASSERT_TRUE(e.completato) << c.nome;
        auto t = testi(e);
        for (const auto& [box, testo] : c.attesi) EXPECT_EQ(t[B(box)], testo) << c.nome << ' ' << box;
        if (c.comp == Composizione::Ponderale) { EXPECT_EQ(ordineTesti(e), (std::vector<Bersaglio>{B("OssigenoStechiom"), B("OssigenoPonderale")})); }
    }
    // No fuel type: only the focus moves.
    Modulo1 m;
    EXPECT_EQ(tipi(CalcolaCombustibile(m, TipoCombustibile::Nessuno, Composizione::Atomica)), std::vector<T>{T::Focus});
}

TEST(CalcolaCombustibile, ArithmeticErrorsStopAtTheFailingStep) {
    const struct { const char* nome; Composizione comp; double c, h, inerti, acqua; std::vector<Bersaglio> scrittiPrima; } casi[] = {
        {"inerti+acqua=1", Composizione::Atomica, 1, 4, 0.5, 0.5, {Quantita::PesoMolecolare}},  // the weight, then x / 0
        {"nessun atomo", Composizione::Atomica, 0, 0, 0, 0, {Quantita::PesoMolecolare}},        // 0/0 in the first fraction
        {"frazioni nulle", Composizione::Ponderale, 0, 0, 0, 0, {}},            // the normalisation divides by 0
    };
    for (const auto& c : casi) {
        Modulo1 m;
        m.AtomiC = c.c, m.AtomiH = c.h, m.Inerti = c.inerti, m.Acqua = c.acqua, m.OssigenoPonderale = 42;
        auto e = CalcolaCombustibile(m, TipoCombustibile::Altri, c.comp);
        EXPECT_FALSE(e.completato) << c.nome;
        EXPECT_EQ(ordineTesti(e), c.scrittiPrima) << c.nome;
        EXPECT_EQ(e.messaggi(), std::vector<std::string>{messaggi::VerificareInput}) << c.nome;
        for (const auto& x : e.effetti) EXPECT_NE(x.tipo, T::Focus) << c.nome;  // focus not moved
        EXPECT_EQ(m.OssigenoPonderale.v, 42.0) << c.nome;                        // not reached
    }
}

}  // namespace
