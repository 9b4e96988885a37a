#include <gtest/gtest.h>

#include <cstring>

#include "combustion/CalcoloCondizioni.h"
#include "model/Messaggi.h"
#include "support/Casi.h"
#include "support/Effetti.h"

using namespace termix;
using namespace termix::prova;
using T = Effetto::Tipo;

namespace {

constexpr Finestra F7 = Finestra::Form7;
const std::vector<std::string> Energia = {messaggi::PotereInadeguato, messaggi::VerificareInput};
const std::vector<std::string> Errore = {messaggi::VerificareInput};

std::vector<Scritto> scrittiDi(const EsitoOperazione& e) {
    std::vector<Scritto> v;
    for (const auto& x : e.effetti)
        if (x.tipo == T::Testo) v.push_back({x.finestra, std::string(x.controllo), x.testo});
    return v;
}

TEST(EseguiCalcolo, WorkedCasesWriteEveryBoxInOrderThenShowForm7) {
    for (const CasoLavorato& c : CasiLavorati) {
        Modulo1 m = c.record();
        auto e = EseguiCalcolo(m);
        ASSERT_TRUE(e.completato) << c.nome;
        EXPECT_EQ(scrittiDi(e), scritti(c)) << c.nome;
        EXPECT_EQ(e.effetti.back().tipo, T::Mostra) << c.nome;
        EXPECT_EQ(e.effetti.back().finestra, F7) << c.nome;
        EXPECT_EQ(scritti(c).size(), 18u + 35) << c.nome;
    }
}

TEST(EseguiCalcolo, StopsAndWhatIsWrittenBefore) {
    Modulo1 zero = metano();  // no fuel flow: the energy stop after the humidity box alone
    zero.PortataComb = 0;
    auto e = EseguiCalcolo(zero);
    EXPECT_FALSE(e.completato);
    EXPECT_EQ(tipi(e), (std::vector<T>{T::Testo, T::Messaggio, T::Messaggio}));
    EXPECT_EQ(ordineTesti(e, F7), std::vector<std::string>{"Text19"});
    EXPECT_EQ(e.messaggi(), Energia);

    Modulo1 gelo = metano();  // the humidity fails: nothing written
    gelo.TempAria = -273.15;
    EXPECT_EQ(tipi(EseguiCalcolo(gelo)), std::vector<T>{T::Messaggio});

    // A huge plant: the balance stays in range (energy in 1.2e308) but the energy box
    // multiplies it by 10: Text19 and Text1..Text8 are written before.
    Modulo1 enorme = metano();
    enorme.PortataComb = 1e304, enorme.Dispersioni = 0;
    e = EseguiCalcolo(enorme);
    EXPECT_EQ(ordineTesti(e, F7).size(), 9u);
    EXPECT_EQ(ordineTesti(e, F7).back(), "Text8");
    EXPECT_EQ(e.messaggi(), Errore);

    // No excess air: no oxygen left for the chlorine trial points; Form7 written, Form8 not.
    // A row whose chlorine steps cycle ends at once the same way, well before the guard.
    Modulo1 ciclo = cloroCiclico();
    e = EseguiCalcolo(ciclo);
    EXPECT_EQ(e.messaggi(), Errore);
    EXPECT_EQ(ordineTesti(e, F7).size(), 18u);
    EXPECT_TRUE(ordineTesti(e, Finestra::Form8).empty());
    EXPECT_LT(UltimiPassi().cloro, 1000);
    // Left where the guard would stop: one pass more or fewer lands on the other value.
    for (long long limite : {MassimoPassi - 1, MassimoPassi + 1, MassimoPassi + 2}) {
        Modulo1 altro = cloroCiclico();
        EXPECT_FALSE(EseguiCalcolo(altro, limite).completato);
        EXPECT_EQ(altro.FrazCl2.v == ciclo.FrazCl2.v, limite == MassimoPassi + 2) << limite;
    }

    Modulo1 cloro = cloruroDiVinile();
    cloro.EccessoAria = 0, cloro.ConcCl2 = 99;
    e = EseguiCalcolo(cloro);
    EXPECT_EQ(ordineTesti(e, F7).size(), 18u);
    EXPECT_TRUE(ordineTesti(e, Finestra::Form8).empty());
    EXPECT_EQ(e.messaggi(), Errore);
    EXPECT_EQ(cloro.ConcCl2.v, 99.0);
    EXPECT_GT(cloro.PercVolHCl.v, 0.0);  // composition computed before the error
}

TEST(EseguiCalcolo, CheckOnlyModeFailsWhereTheTextsWouldAndWritesNone) {
    for (double portata : {100.0, 1e304, 0.0}) {  // completed, display overflow, energy stop
        Modulo1 a = metano();
        a.PortataComb = portata, a.Dispersioni = 0;
        Modulo1 b = a;
        auto conTesti = EseguiCalcolo(a);
        auto soloVerifica = EseguiCalcolo(b, MassimoPassi, TestiRisultati::SoloVerifica);
        EXPECT_EQ(conTesti.completato, soloVerifica.completato) << portata;
        EXPECT_EQ(conTesti.messaggi(), soloVerifica.messaggi()) << portata;
        EXPECT_TRUE(scrittiDi(soloVerifica).empty()) << portata;
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << portata;  // same record, bit for bit
    }
}

TEST(StimaPotereCalorifico, FromWeightFractions) {
    const struct { double c, h, o, cl, s; const char* testo; } casi[] = {
        {0.75, 0.25, 0, 0, 0, "12091,43"},  // 7783 * 0.75 + 25016.73 * 0.25 = 12091.4325
        // oxygen beyond 8 x hydrogen: 25016.73 * (0.01 - 0.1) = -2251.5057; + 7783 * 0.5
        {0.5, 0.01, 0.8, 0, 0, "1639,99"},
        // 7783 * 0.5 + 25016.73 * 0.05 - 422.505 * 0.1 + 2501.673 * 0.1 = 5350.2533
        {0.5, 0.05, 0, 0.1, 0.1, "5350,25"},
        {0, 0, 0, 0, 0, "0"},
    };
    for (const auto& c : casi) {
        Modulo1 m;
        m.FrazC = c.c, m.FrazH = c.h, m.FrazO = c.o, m.FrazCl = c.cl, m.FrazS = c.s;
        auto e = StimaPotereCalorifico(m);
        ASSERT_TRUE(e.completato);
        EXPECT_EQ(tipi(e), (std::vector<T>{T::Colore, T::Testo}));
        EXPECT_EQ(e.effetti[0].colore, Colore::Rosso);
        EXPECT_EQ((testi(e)[{Finestra::Form3, "Text1"}]), c.testo);
    }
    Modulo1 m;
    m.FrazC = 1e305, m.PotereCalorifico = 7;  // overflow: the message, the old value kept
    auto e = StimaPotereCalorifico(m);
    EXPECT_EQ(tipi(e), std::vector<T>{T::Messaggio});
    EXPECT_EQ(m.PotereCalorifico.v, 7.0);
}

}  // namespace
