#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>

#include "combustion/CalcoloCondizioni.h"
#include "combustion/Combustione.h"
#include "fuel/CalcoloCombustibile.h"
#include "model/Messaggi.h"
#include "support/Casi.h"
#include "support/Effetti.h"

using namespace termix;
using namespace termix::prova;
using T = Effetto::Tipo;

namespace {

constexpr Finestra F3 = Finestra::Form3;
constexpr Finestra F7 = Finestra::Form7;
constexpr Finestra F8 = Finestra::Form8;

TEST(EseguiCalcolo, MethaneRunShowsEveryBox) {
    Modulo1 m = metano();
    auto e = EseguiCalcolo(m);
    ASSERT_TRUE(e.completato);
    EXPECT_TRUE(e.messaggi().empty());
    EXPECT_EQ(e.effetti.back().tipo, T::Mostra);
    EXPECT_EQ(e.effetti.back().finestra, F7);

    // Values derived by hand from the formulas and the worked run:
    // humidity 0.0073494; C = 0.7487 * 100; H = 0.2513 * 100; energy 11958 * 100 and
    // 1195800 * 0.95; O2 3.98928 * 100 = 398.928 kg/h, * 0.699 = 278.850672 Nm3/h,
    // / 0.21 = 1327.86 Nm3/h air, * 1.306 = 1734.18516 kg/h, * 1.2 = 2081.022192 kg/h and
    // 1593.432 Nm3/h; humidity water 0.0073494 * 2081.0227 = 15.2943 kg/h.
    const std::map<std::string, std::string> form7 = {
        {"Text19", "0,00734"}, {"Text1", "74,87"},    {"Text2", "25,13"},      {"Text3", "0"},
        {"Text4", "0"},        {"Text5", "0"},        {"Text6", "0"},          {"Text7", "0"},
        {"Text8", "0"},        {"Text9", "1195800"},  {"Text10", "1136010"},   {"Text12", "398,928"},
        {"Text13", "278,85"},  {"Text14", "1734,185"}, {"Text15", "1327,86"},  {"Text16", "2081,022"},
        {"Text17", "1593,432"}, {"Text18", "15,294"},
    };
    // Form8: 1314,6 °C; 27,717 g/mole; 0,399; K = exp(7340 / 1587.786) * 0.00023 = 0.0234...;
    // no chlorine: 0 ppm; 1775,261 and 10319,366 (10319.3667 cut); the table from the worked
    // shares: N2 72.0325 %, O2 3.1637 %, CO2 7.9095 %, H2O 16.8942 %; kmol = share * 79.20323;
    // CO2 = 74.87 * 1.005 / 12.011 = 6.26462 kmol, * 44.011 = 275.712 kg; O2 = 398.928 / 32 *
    // 1.005 * 0.2 = 2.50576 kmol, 80.184 kg.
    const std::map<std::string, std::string> form8 = {
        {"Text1", "1314,6"},    {"Text3", "27,717"},    {"Text4", "0,399"},     {"Text5", "0,023408"},
        {"Text6", "0"},         {"Text7", "1775,261"},  {"Text8", "10319,366"}, {"Text9", "57,052"},
        {"Text10", "1598,37"},  {"Text11", "72,03"},    {"Text12", "72,8"},     {"Text13", "2,505"},
        {"Text14", "80,184"},   {"Text15", "3,16"},     {"Text16", "3,65"},     {"Text17", "6,264"},
        {"Text18", "275,712"},  {"Text19", "7,9"},      {"Text20", "12,55"},    {"Text21", "13,38"},
        {"Text22", "241,067"},  {"Text23", "16,89"},    {"Text24", "10,98"},    {"Text25", "0"},
        {"Text26", "0"},        {"Text27", "0"},        {"Text28", "0"},        {"Text29", "0"},
        {"Text30", "0"},        {"Text31", "0"},        {"Text32", "0"},        {"Text33", "79,203"},
        {"Text34", "2195,335"}, {"Text35", "100,00"},   {"Text36", "100,00"},
    };
    auto t = testi(e);
    for (const auto& [box, testo] : form7) EXPECT_EQ((t[{F7, box}]), testo) << "Form7." << box;
    for (const auto& [box, testo] : form8) EXPECT_EQ((t[{F8, box}]), testo) << "Form8." << box;

    // Writing order: Text19 first, then Form7 in table order, then Form8.
    const std::vector<std::string> ordine7 = {"Text19", "Text1",  "Text2",  "Text3",  "Text4",  "Text5",
                                              "Text6",  "Text7",  "Text8",  "Text9",  "Text10", "Text12",
                                              "Text13", "Text14", "Text15", "Text16", "Text17", "Text18"};
    EXPECT_EQ(ordineTesti(e, F7), ordine7);
    auto ordine8 = ordineTesti(e, F8);
    ASSERT_EQ(ordine8.size(), 35u);
    EXPECT_EQ(ordine8.front(), "Text1");
    EXPECT_EQ(ordine8[1], "Text3");
    EXPECT_EQ(ordine8.back(), "Text36");
    // All of Form7 comes before any of Form8.
    bool visto8 = false;
    for (const auto& x : e.effetti) {
        if (x.finestra == F8) visto8 = true;
        if (visto8 && x.tipo == T::Testo) {
            EXPECT_NE(x.finestra, F7);
        }
    }
}

TEST(EseguiCalcolo, TwoRunsGiveIdenticalBoxesAndRecords) {
    Modulo1 m = metano();
    auto a = EseguiCalcolo(m);
    Modulo1 primo = m;
    auto b = EseguiCalcolo(m);
    EXPECT_EQ(testi(a), testi(b));
    EXPECT_EQ(primo.TempFumi.v, m.TempFumi.v);
    EXPECT_EQ(primo.ConcCl2.v, m.ConcCl2.v);
}

TEST(EseguiCalcolo, EnergyStopShowsTwoMessagesAfterOnlyTheHumidityBox) {
    Modulo1 m = metano();
    m.PortataComb = 0;
    auto e = EseguiCalcolo(m);
    EXPECT_FALSE(e.completato);
    EXPECT_EQ(tipi(e), (std::vector<T>{T::Testo, T::Messaggio, T::Messaggio}));
    EXPECT_EQ(e.effetti[0].finestra, F7);
    EXPECT_EQ(e.effetti[0].controllo, "Text19");
    EXPECT_EQ(e.messaggi(), (std::vector<std::string>{messaggi::PotereInadeguato, messaggi::VerificareInput}));
}

TEST(EseguiCalcolo, NothingTypedStopsOnTheEnergy) {
    Modulo1 m;
    auto e = EseguiCalcolo(m);
    EXPECT_EQ(e.messaggi(), (std::vector<std::string>{messaggi::PotereInadeguato, messaggi::VerificareInput}));
    EXPECT_EQ((testi(e)[{F7, "Text19"}]), "0");
}

TEST(EseguiCalcolo, ChlorineErrorLeavesForm7WrittenAndForm8Untouched) {
    Modulo1 m;
    m.PortataComb = 100;
    m.AtomiC = 1;
    m.AtomiH = 3;
    m.AtomiCl = 1;
    CalcolaCombustibile(m, TipoCombustibile::Altri, Composizione::Atomica);
    StimaPotereCalorifico(m);
    m.EccessoAria = 0;  // no oxygen left for the chlorine trial points
    m.TempAria = 20;
    m.UmiditaRelativa = 50;
    m.ConcCl2 = 99;
    auto e = EseguiCalcolo(m);
    EXPECT_FALSE(e.completato);
    EXPECT_EQ(ordineTesti(e, F7).size(), 18u);
    EXPECT_TRUE(ordineTesti(e, F8).empty());
    EXPECT_EQ(e.messaggi(), std::vector<std::string>{messaggi::VerificareInput});
    EXPECT_EQ(m.ConcCl2.v, 99.0);
    EXPECT_GT(m.PercVolHCl.v, 0.0);  // composition was computed before the error
}

TEST(EseguiCalcolo, HumidityErrorWritesNothing) {
    Modulo1 m = metano();
    m.TempAria = -273.15;
    auto e = EseguiCalcolo(m);
    EXPECT_EQ(tipi(e), std::vector<T>{T::Messaggio});
    EXPECT_EQ(e.effetti[0].finestra, F3);
}

TEST(EseguiCalcolo, DisplayOverflowIsAnErrorAfterTheBoxesBefore) {
    Modulo1 m = metano();
    // A huge plant: the balance itself stays in range (energy in 1.2e308) but the
    // energy box multiplies it by 10.
    m.PortataComb = 1e304;
    m.Dispersioni = 0;
    auto e = EseguiCalcolo(m);
    EXPECT_FALSE(e.completato);
    auto ordine = ordineTesti(e, F7);
    ASSERT_EQ(ordine.size(), 9u);  // Text19 and Text1..Text8
    EXPECT_EQ(ordine.back(), "Text8");
    EXPECT_EQ(e.messaggi(), std::vector<std::string>{messaggi::VerificareInput});
}

TEST(EseguiCalcolo, CheckOnlyModeFailsWhereTheTextsWouldAndWritesNone) {
    // Three outcomes: completed, display overflow, energy stop.
    const double portate[] = {100, 1e304, 0};
    for (double portata : portate) {
        Modulo1 a = metano();
        a.PortataComb = portata;
        a.Dispersioni = 0;
        Modulo1 b = a;
        auto conTesti = EseguiCalcolo(a);
        auto soloVerifica = EseguiCalcolo(b, MassimoPassi, TestiRisultati::SoloVerifica);
        EXPECT_EQ(conTesti.completato, soloVerifica.completato) << portata;
        EXPECT_EQ(conTesti.messaggi(), soloVerifica.messaggi()) << portata;
        for (const auto& x : soloVerifica.effetti) EXPECT_NE(x.tipo, T::Testo) << portata;
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << portata;  // same record, bit for bit
    }
}

struct CasoStima {
    double c, h, o, cl, s;
    const char* testo;
};

TEST(StimaPotereCalorifico, FromWeightFractions) {
    const CasoStima casi[] = {
        // 7783 * 0.75 + 25016.73 * 0.25 = 5837.25 + 6254.1825 = 12091.4325
        {0.75, 0.25, 0, 0, 0, "12091,43"},
        // oxygen beyond 8 x hydrogen: 25016.73 * (0.01 - 0.1) = -2251.5057; + 7783 * 0.5 = 1640.0
        {0.5, 0.01, 0.8, 0, 0, "1639,99"},
        // chlorine and sulphur: 7783 * 0.5 + 25016.73 * 0.05 - 422.505 * 0.1 + 2501.673 * 0.1
        // = 3891.5 + 1250.8365 - 42.2505 + 250.1673 = 5350.2533
        {0.5, 0.05, 0, 0.1, 0.1, "5350,25"},
        {0, 0, 0, 0, 0, "0"},
    };
    for (const auto& c : casi) {
        Modulo1 m;
        m.FrazC = c.c;
        m.FrazH = c.h;
        m.FrazO = c.o;
        m.FrazCl = c.cl;
        m.FrazS = c.s;
        auto e = StimaPotereCalorifico(m);
        ASSERT_TRUE(e.completato);
        ASSERT_EQ(e.effetti.size(), 2u);
        EXPECT_EQ(e.effetti[0].tipo, T::Colore);
        EXPECT_EQ(e.effetti[0].colore, Colore::Rosso);
        EXPECT_EQ(e.effetti[1].finestra, F3);
        EXPECT_EQ(e.effetti[1].controllo, "Text1");
        EXPECT_EQ(e.effetti[1].testo, c.testo);
    }
    Modulo1 m;
    m.FrazC = 0.75;
    m.FrazH = 0.25;
    StimaPotereCalorifico(m);
    EXPECT_DOUBLE_EQ(m.PotereCalorifico.v, 12091.4325);
}

TEST(StimaPotereCalorifico, OverflowShowsTheMessage) {
    Modulo1 m;
    m.FrazC = 1e305;
    m.PotereCalorifico = 7;
    auto e = StimaPotereCalorifico(m);
    EXPECT_FALSE(e.completato);
    EXPECT_EQ(tipi(e), std::vector<T>{T::Messaggio});
    EXPECT_EQ(m.PotereCalorifico.v, 7.0);
}

TEST(EseguiCalcolo, IterationsThatNeverSettleEndAsAnError) {
    // A cool flue gas where the chlorine Newton steps wander without ever repeating:
    // only the guard ends them (a lower one here, to stay quick).
    Modulo1 m;
    m.TempFumiK = 555.87659896231787;
    m.PercVolH2O = 10;
    m.PercVolHCl = 0.019576375476116185;
    m.PercVolO2 = 10;
    m.ConcCl2 = 99;
    EXPECT_THROW(CalcolaEquilibrioCloro(m, 100000), ErroreAritmetico);
    EXPECT_EQ(UltimiPassi().cloro, 100001);  // the limit made, the next refused
    EXPECT_EQ(m.ConcCl2.v, 99.0);

    // A whole row whose steps cycle ends at once: Form7 written, the message, no Form8.
    Modulo1 riga = cloroCiclico();
    auto e = EseguiCalcolo(riga);
    EXPECT_FALSE(e.completato);
    EXPECT_EQ(e.messaggi(), std::vector<std::string>{messaggi::VerificareInput});
    EXPECT_EQ(ordineTesti(e, F7).size(), 18u);
    EXPECT_TRUE(ordineTesti(e, F8).empty());
    EXPECT_LT(UltimiPassi().cloro, 1000);  // not the ten million of the guard
    // Left where the guard would stop: one pass more or fewer lands on the other value.
    for (long long limite : {MassimoPassi - 1, MassimoPassi + 1, MassimoPassi + 2}) {
        Modulo1 altro = cloroCiclico();
        EXPECT_FALSE(EseguiCalcolo(altro, limite).completato);
        EXPECT_EQ(altro.FrazCl2.v == riga.FrazCl2.v, limite == MassimoPassi + 2) << limite;
    }
}

// Any record: the run never crashes, ends with OK or one of the two known message
// sequences, and never shows a text with inf, nan or "-0".
TEST(EseguiCalcolo, RandomRecordsNeverShowNonsense) {
    std::mt19937_64 g(54);
    std::uniform_real_distribution<double> u(0, 1);
    auto tra = [&](double a, double b) { return a + (b - a) * u(g); };
    const std::vector<std::string> energia = {messaggi::PotereInadeguato, messaggi::VerificareInput};
    const std::vector<std::string> errore = {messaggi::VerificareInput};
    int completati = 0, fermati = 0, errori = 0;
    for (int i = 0; i < 100000; ++i) {
        Modulo1 m;
        m.PortataComb = tra(-10, 1000);
        if (u(g) < 0.5) {
            m.AtomiC = std::floor(tra(0, 12));
            m.AtomiH = std::floor(tra(0, 20));
            m.AtomiO = std::floor(tra(0, 4));
            m.AtomiCl = std::floor(tra(0, 4));
            m.AtomiS = std::floor(tra(0, 2));
            m.AtomiN = std::floor(tra(0, 2));
            m.Inerti = tra(0, 0.5);
            m.Acqua = tra(0, 0.5);
            CalcolaCombustibile(m, TipoCombustibile::Altri, Composizione::Atomica);
        } else {
            m.FrazC = tra(0, 1);
            m.FrazH = tra(0, 0.3);
            m.FrazO = tra(0, 0.5);
            m.FrazCl = tra(0, 0.3);
            m.FrazS = tra(0, 0.1);
            m.FrazN = tra(0, 0.1);
            m.Inerti = tra(-0.1, 0.5);
            m.Acqua = tra(-0.1, 0.5);
            CalcolaCombustibile(m, TipoCombustibile::Altri, Composizione::Ponderale);
        }
        if (u(g) < 0.5)
            StimaPotereCalorifico(m);
        else
            m.PotereCalorifico = tra(-1000, 15000);
        m.EccessoAria = tra(-20, 300);
        m.TempAria = tra(-280, 150);
        m.UmiditaRelativa = tra(0, 100);
        m.TempCeneri = tra(-50, 1500);
        m.Dispersioni = tra(0, 120);
        // Unphysical draws can make an iteration cycle; a lower bound keeps the sweep
        // short and still ends such a run as an arithmetic error.
        auto e = EseguiCalcolo(m, 20000);
        auto msg = e.messaggi();
        if (e.completato) {
            ++completati;
            EXPECT_TRUE(msg.empty());
        } else if (msg == energia) {
            ++fermati;
        } else {
            ++errori;
            ASSERT_EQ(msg, errore);
        }
        for (const auto& x : e.effetti) {
            if (x.tipo != T::Testo) continue;
            ASSERT_EQ(x.testo.find("inf"), std::string::npos) << x.testo;
            ASSERT_EQ(x.testo.find("nan"), std::string::npos) << x.testo;
            ASSERT_NE(x.testo, "-0");
            ASSERT_FALSE(x.testo.empty());
        }
    }
    // The draw reaches all three outcomes.
    EXPECT_GT(completati, 1000);
    EXPECT_GT(fermati, 1000);
    EXPECT_GT(errori, 100);
}

}  // namespace
