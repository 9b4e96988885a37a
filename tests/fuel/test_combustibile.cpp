#include <gtest/gtest.h>

#include "fuel/CalcoloCombustibile.h"
#include "model/Messaggi.h"
#include "support/Effetti.h"

using namespace termix;
using namespace termix::prova;
using T = Effetto::Tipo;

namespace {

constexpr Finestra F2 = Finestra::Form2;
constexpr Finestra F3 = Finestra::Form3;

TEST(CalcolaCombustibile, MethanePresetWritesTheFixedDataSetInOrder) {
    Modulo1 m;
    m.AtomiC = 7;         // left as it is
    m.PortataComb = 100;  // left as it is
    auto e = CalcolaCombustibile(m, TipoCombustibile::Metano, Composizione::Ponderale);
    ASSERT_TRUE(e.completato);

    // Option3 selected and Option4 cleared first, then 17 red boxes.
    ASSERT_GE(e.effetti.size(), 19u);
    EXPECT_EQ(e.effetti[0].tipo, T::Selezione);
    EXPECT_EQ(e.effetti[0].controllo, "Option3");
    EXPECT_TRUE(e.effetti[0].selezionato);
    EXPECT_EQ(e.effetti[1].controllo, "Option4");
    EXPECT_FALSE(e.effetti[1].selezionato);
    for (int i = 0; i < 17; ++i) {
        const auto& c = e.effetti[2 + i];
        EXPECT_EQ(c.tipo, T::Colore);
        EXPECT_EQ(c.colore, Colore::Rosso);
        EXPECT_EQ(c.controllo, "Text" + std::to_string(3 + i));
    }

    const std::vector<std::string> ordine = {"Text2",  "Text3",  "Text4",  "Text5",  "Text6",  "Text7",
                                             "Text8",  "Text9",  "Text10", "Text11", "Text12", "Text13",
                                             "Text14", "Text15", "Text16", "Text17", "Text18", "Text19"};
    EXPECT_EQ(ordineTesti(e, F2), ordine);
    auto t = testi(e);
    EXPECT_EQ((t[{F2, "Text2"}]), "Metano");
    EXPECT_EQ((t[{F2, "Text4"}]), "0,7487");
    EXPECT_EQ((t[{F2, "Text6"}]), "0,2513");
    EXPECT_EQ((t[{F2, "Text12"}]), "0");
    EXPECT_EQ((t[{F2, "Text17"}]), "124,665");
    EXPECT_EQ((t[{F2, "Text18"}]), "3,98928");  // the preset text, five decimals
    EXPECT_EQ((t[{F2, "Text19"}]), "16,043");

    // Form3: red, then the text; the focus goes to "&Continua" last.
    const auto n = e.effetti.size();
    EXPECT_EQ(e.effetti[n - 3].tipo, T::Colore);
    EXPECT_EQ(e.effetti[n - 3].finestra, F3);
    EXPECT_EQ(e.effetti[n - 2].finestra, F3);
    EXPECT_EQ(e.effetti[n - 2].testo, "11958");
    EXPECT_EQ(e.effetti[n - 1].tipo, T::Focus);
    EXPECT_EQ(e.effetti[n - 1].controllo, "Command2");

    EXPECT_EQ(m.FrazC.v, 0.7487);
    EXPECT_EQ(m.FrazH.v, 0.2513);
    EXPECT_EQ(m.OssigenoPonderale.v, 3.98928);
    EXPECT_EQ(m.OssigenoStechiom.v, 124.665);
    EXPECT_EQ(m.PotereCalorifico.v, 11958.0);
    EXPECT_EQ(m.AtomiC.v, 7.0);
    EXPECT_EQ(m.PortataComb.v, 100.0);
    EXPECT_EQ(m.PesoMolecolare.v, 0.0);
}

struct CasoAtomico {
    const char* nome;
    double c, h, o, cl, s, n, inerti, acqua;
    std::map<std::string, std::string> attesi;
};

TEST(CalcolaCombustibile, AtomicCompositionTexts) {
    const CasoAtomico casi[] = {
        // Methane typed as a formula: the fraction is cut (0,7486), not the preset 0,7487.
        {"CH4", 1, 4, 0, 0, 0, 0, 0, 0,
         {{"Text19", "16,043"}, {"Text4", "0,7486"}, {"Text6", "0,2513"}, {"Text8", "0"},
          {"Text17", "124,664"}, {"Text18", "3,989"}}},
        // Hand check: M = 12.011 + 4.032 = 16.043; with 20 % inerts and water the fractions
        // are scaled by 0.8: C 0.59894..., H 0.20105...; oxygen per kg as fed 3.98928 * 0.8.
        {"CH4 with inerts and water", 1, 4, 0, 0, 0, 0, 0.1, 0.1,
         {{"Text4", "0,5989"}, {"Text6", "0,201"}, {"Text18", "3,191"}}},
        // More chlorine than hydrogen: HCl takes all hydrogen, C alone needs oxygen:
        // M = 12.011 + 1.008 + 70.906 = 83.925; O2 = 32 * (1000/83.925) / 1000 = 0.38129...
        {"CHCl2", 1, 1, 0, 2, 0, 0, 0, 0,
         {{"Text19", "83,925"}, {"Text10", "0,8448"}, {"Text18", "0,381"}, {"Text17", "11,915"}}},
        // Oxygen-rich: C + 3 O gives a negative demand, floored downwards.
        // M = 60.011; MoliO2 = (1 - 1.5) * 1000/60.011 = -8.3318...; kg: -0.26661...
        {"CO3", 1, 0, 3, 0, 0, 0, 0, 0, {{"Text17", "-8,332"}, {"Text18", "-0,267"}}},
    };
    for (const auto& c : casi) {
        Modulo1 m;
        m.AtomiC = c.c;
        m.AtomiH = c.h;
        m.AtomiO = c.o;
        m.AtomiCl = c.cl;
        m.AtomiS = c.s;
        m.AtomiN = c.n;
        m.Inerti = c.inerti;
        m.Acqua = c.acqua;
        auto e = CalcolaCombustibile(m, TipoCombustibile::Altri, Composizione::Atomica);
        ASSERT_TRUE(e.completato) << c.nome;
        auto t = testi(e);
        for (const auto& [box, testo] : c.attesi) EXPECT_EQ((t[{F2, box}]), testo) << c.nome << ' ' << box;
        // The six fractions sum to 1 - inerts - water.
        const double somma = m.FrazC.v + m.FrazH.v + m.FrazO.v + m.FrazCl.v + m.FrazS.v + m.FrazN.v;
        EXPECT_NEAR(somma, 1 - c.inerti - c.acqua, 1e-12) << c.nome;
    }
}

TEST(CalcolaCombustibile, AtomicWritesColoursThenWeightThenFractionsThenOxygen) {
    Modulo1 m;
    m.AtomiC = 1;
    m.AtomiH = 4;
    auto e = CalcolaCombustibile(m, TipoCombustibile::Altri, Composizione::Atomica);
    const std::vector<std::string> ordine = {"Text19", "Text4", "Text6",  "Text8", "Text10",
                                             "Text12", "Text14", "Text17", "Text18"};
    EXPECT_EQ(ordineTesti(e, F2), ordine);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(e.effetti[i].tipo, T::Colore);
    EXPECT_EQ(e.effetti.back().controllo, "Command2");
}

TEST(CalcolaCombustibile, ChlorineBeyondHydrogenTakesNoOxygen) {
    Modulo1 m;
    m.AtomiC = 1;
    m.AtomiH = 1;
    m.AtomiCl = 2;
    CalcolaCombustibile(m, TipoCombustibile::Altri, Composizione::Atomica);
    EXPECT_EQ(m.MoliHCl.v, m.MoliH.v);
    EXPECT_DOUBLE_EQ(m.MoliO2.v, m.MoliC.v);
}

TEST(CalcolaCombustibile, WeightFractionsOrNoCompositionUseTheRecord) {
    for (auto comp : {Composizione::Ponderale, Composizione::Nessuna}) {
        Modulo1 m;
        m.FrazC = 0.75;
        m.FrazH = 0.25;
        auto e = CalcolaCombustibile(m, TipoCombustibile::Altri, comp);
        ASSERT_TRUE(e.completato);
        // No fraction box is touched; only the two oxygen boxes.
        EXPECT_EQ(ordineTesti(e, F2), (std::vector<std::string>{"Text17", "Text18"}));
        // 0.75/12.011*1000 = 62.4428 mol C; 0.25/1.008*1000/4 = 62.0040 mol O2 for H: 124.4468 mol O2.
        EXPECT_EQ((testi(e)[{F2, "Text17"}]), "124,446");
        EXPECT_EQ((testi(e)[{F2, "Text18"}]), "3,982");
    }
}

TEST(CalcolaCombustibile, MethaneThenWeightFractionsWithoutTypingUsesThePresetFractions) {
    Modulo1 m;
    CalcolaCombustibile(m, TipoCombustibile::Metano, Composizione::Nessuna);
    auto e = CalcolaCombustibile(m, TipoCombustibile::Altri, Composizione::Ponderale);
    auto t = testi(e);
    EXPECT_EQ((t[{F2, "Text17"}]), "124,66");
    EXPECT_EQ((t[{F2, "Text18"}]), "3,989");
}

TEST(CalcolaCombustibile, NoFuelTypeOnlyMovesTheFocus) {
    Modulo1 m;
    m.FrazC = 0.5;
    auto e = CalcolaCombustibile(m, TipoCombustibile::Nessuno, Composizione::Atomica);
    ASSERT_EQ(e.effetti.size(), 1u);
    EXPECT_EQ(e.effetti[0].tipo, T::Focus);
    EXPECT_EQ(e.effetti[0].controllo, "Command2");
    EXPECT_EQ(m.OssigenoPonderale.v, 0.0);
}

struct CasoErrore {
    const char* nome;
    Composizione comp;
    double c, h, inerti, acqua, frazC;
    std::vector<std::string> scrittiPrima;
};

TEST(CalcolaCombustibile, ArithmeticErrorsStopAtTheFailingStep) {
    const CasoErrore casi[] = {
        // Inerts + water = 1: the weight and its box are written before the division fails.
        {"inerti+acqua=1", Composizione::Atomica, 1, 4, 0.5, 0.5, 0, {"Text19"}},
        // No atoms: 0/0 in the first fraction, after the weight box shows 0.
        {"nessun atomo", Composizione::Atomica, 0, 0, 0, 0, 0, {"Text19"}},
        // Fractions summing to zero: the normalisation divides by zero.
        {"frazioni nulle", Composizione::Ponderale, 0, 0, 0, 0, 0, {}},
    };
    for (const auto& c : casi) {
        Modulo1 m;
        m.AtomiC = c.c;
        m.AtomiH = c.h;
        m.Inerti = c.inerti;
        m.Acqua = c.acqua;
        m.OssigenoPonderale = 42;
        auto e = CalcolaCombustibile(m, TipoCombustibile::Altri, c.comp);
        EXPECT_FALSE(e.completato) << c.nome;
        EXPECT_EQ(ordineTesti(e, F2), c.scrittiPrima) << c.nome;
        EXPECT_EQ(e.messaggi(), std::vector<std::string>{messaggi::VerificareInput}) << c.nome;
        EXPECT_EQ(e.effetti.back().tipo, T::Messaggio) << c.nome;
        for (const auto& x : e.effetti) EXPECT_NE(x.tipo, T::Focus) << c.nome;  // focus not moved
        EXPECT_EQ(m.OssigenoPonderale.v, 42.0) << c.nome;                        // not reached
    }
    Modulo1 m;
    m.AtomiC = 1;
    m.AtomiH = 4;
    m.Inerti = 0.5;
    m.Acqua = 0.5;
    CalcolaCombustibile(m, TipoCombustibile::Altri, Composizione::Atomica);
    EXPECT_DOUBLE_EQ(m.PesoMolecolare.v, 16.043);  // written before the failure
}

}  // namespace
