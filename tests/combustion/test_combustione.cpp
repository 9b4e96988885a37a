// The calculation run: the worked values, the temperature and chlorine
// iterations, the stops and what is written before them, the sweep and its target.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <algorithm>
#include <array>
#include <random>
#include <sstream>

#include "combustion/Andamento.h"
#include "combustion/Avvisi.h"
#include "combustion/Caso.h"
#include "combustion/CalcoloCondizioni.h"
#include "combustion/Combustione.h"
#include "model/Messaggi.h"
#include "model/Formato.h"
#include "support/Casi.h"
#include "support/TestiForm.h"

using namespace termix;
using namespace termix::prova;
using T = Effetto::Tipo;

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
        EXPECT_EQ(UltimiPassi().temperatura, c.passi);
        vicino(m.TempMediaFumi.v, c.media, 4, "TempMediaFumi");
        vicino(m.TempFumi.v, c.fumi, 3, "TempFumi");
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
        m.TempFumi = m.CpA = m.TempMediaFumi = -1;
        CalcolaUmiditaAria(m);
        EXPECT_EQ(CalcolaTemperaturaFumi(m), EsitoCalcolo::EnergiaInsufficiente) << c.nome;
        EXPECT_LE(m.EnergiaNetta.v, 0.0) << c.nome;
        EXPECT_EQ(m.TempFumi.v + m.CpA.v + m.TempMediaFumi.v, -3.0) << c.nome;
    }
}

Modulo1 fumi(double k, double h2o, double hcl, double o2) {
    Modulo1 m;
    m.TempFumiK = k, m.PercVolH2O = h2o, m.PercVolHCl = hcl, m.PercVolO2 = o2, m.ConcCl2 = 99;
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
    CalcolaComposizioneFumi(m), CalcolaEquilibrioCloro(m);
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
    EXPECT_TRUE(m.ConcCl2.v == 0 && m.FrazCl2.v == 0.25 && m.ResiduoCloro.v == 7);
    m = fumi(1300, 10, 0.1, 0.05);  // below 0.051 % O2 the second trial point fails
    EXPECT_THROW(CalcolaEquilibrioCloro(m), ErroreAritmetico);
    EXPECT_TRUE(m.ConcCl2.v == 99 && m.FrazCl2Prova.v == 2e-05 + 0.001) << m.FrazCl2Prova.v;
    // A hot flue gas with little HCl: the Newton steps end below zero, shown as zero.
    m = fumi(2070.6091135010133, 7.8532443898350088, 0.012076475939647639, 0.29281953539725697);
    CalcolaEquilibrioCloro(m);
    EXPECT_LT(m.FrazCl2Prec.v, 0.0);
    EXPECT_TRUE(m.FrazCl2.v == 0 && m.ConcCl2.v == 0);
    // A cool flue gas where the Newton steps wander without ever repeating: only the guard
    // of ten million passes ends them.
    m = fumi(555.87659896231787, 10, 0.019576375476116185, 10);
    EXPECT_THROW(CalcolaEquilibrioCloro(m), ErroreAritmetico);
    EXPECT_EQ(UltimiPassi().cloro, 10'000'001);  // the limit made, the next refused
    EXPECT_EQ(m.ConcCl2.v, 99.0);
}

const size_t Form7 = 18;  // the feed and air results, the humidity's among them
const std::vector<std::string> Energia = {messaggi::PotereInadeguato, messaggi::VerificareInput};
const std::vector<std::string> Errore = {messaggi::VerificareInput};

TEST(EseguiCalcolo, WorkedCasesWriteEveryBoxInOrderThenShowForm7) {
    for (const CasoLavorato& c : CasiLavorati) {
        Modulo1 m = c.record();
        auto e = EseguiCalcolo(m);
        ASSERT_TRUE(e.completato) << c.nome;
        std::vector<Scritto> scrittiDi;
        for (const auto& x : e.effetti)
            if (x.tipo == T::Testo) scrittiDi.push_back({x.bersaglio, x.testo});
        EXPECT_EQ(scrittiDi, scritti(c)) << c.nome;
        EXPECT_TRUE(e.effetti.back().tipo == T::Mostra && e.effetti.back().finestra == Finestra::Form7) << c.nome;
    }
    Modulo1 m = combustibileClorurato();  // 0.012345 · 100 kg/h of N is 1.2345 kg/h: the box cuts it to 1,234
    m.FrazN = 0.012345;
    const auto t = testi(EseguiCalcolo(m));  // and 1 kg/h of S 0,0311 kmol/h of SO2, cut to 0,031
    EXPECT_TRUE(t.at(Quantita::PortataN) == "1,234" && t.at(Quantita::KmoliSO2) == "0,031");
}

// A hot, wet, chlorine-rich fuel whose flue-gas temperature passes settle into a cycle of two.
Modulo1 temperaturaCiclica() {
    return ponderale(2192, {0, 0.001, 0.03, 0.334, 0.006, 0.248, 0.339, 0.043}, 2426, {57, 90, 94, 960, 24});
}

TEST(EseguiCalcolo, StopsAndWhatIsWrittenBefore) {
    auto con = [](Modulo1 (*caso)(), auto cambia) { Modulo1 m = caso(); cambia(m); return m; };
    // The detail says the step and the cause (its start: the operands follow).
    const struct { const char* nome; Modulo1 m; size_t form7; std::vector<std::string> messaggi; const char* dettaglio; } casi[] = {
        {"no fuel flow: the energy stop after the humidity box", con(metano, [](Modulo1& m) { m.PortataComb = 0; }), 1,
         Energia, ""},
        {"the humidity fails: nothing written", con(metano, [](Modulo1& m) { m.TempAria = -273.15; }), 0, Errore,
         "umidità dell'aria: logaritmo di un numero non positivo (0)"},
        // The balance stays in range (energy in 1.2e308) but the energy box multiplies it by 10.
        {"a huge plant", con(metano, [](Modulo1& m) { m.PortataComb = 1e304, m.Dispersioni = 0; }), 9, Errore,
         "visualizzazione di EnergiaIngresso: prodotto fuori scala (1.1958"},
        // No oxygen left for the chlorine trial points; Form7 written, Form8 not.
        {"no excess air", con(cloruroDiVinile, [](Modulo1& m) { m.EccessoAria = 0, m.ConcCl2 = 99; }), Form7, Errore,
         "equilibrio del cloro: radice quadrata di un numero negativo (-1.0000000000000001e-05)"},
        // A row whose chlorine steps cycle ends at once the same way, well before the guard.
        {"cycling chlorine steps", cloroCiclico(), Form7, Errore, "equilibrio del cloro: ciclo di periodo 2, fermato dopo "},
        {"cycling temperature passes: the humidity box only", temperaturaCiclica(), 1, Errore,
         "temperatura fumi: ciclo di periodo 2, fermato dopo "},
    };
    for (auto c : casi) {
        const double cl2 = c.m.ConcCl2.v;
        auto e = EseguiCalcolo(c.m);
        EXPECT_FALSE(e.completato) << c.nome;
        EXPECT_EQ(e.messaggi(), c.messaggi) << c.nome;
        EXPECT_EQ(ordineTesti(e).size(), c.form7) << c.nome;  // the flue gas never written
        EXPECT_EQ(c.m.ConcCl2.v, cl2) << c.nome;  // the chlorine result is never reached
        EXPECT_EQ(c.m.PercVolHCl.v > 0, c.m.FrazCl.v > 0 && c.form7 == Form7) << c.nome;  // the composition was made
        EXPECT_EQ(e.dettaglio.testo().substr(0, std::string_view(c.dettaglio).size()), c.dettaglio) << c.nome;
        EXPECT_EQ(e.dettaglio.testo().empty(), !*c.dettaglio) << c.nome;
    }
    // Cycles of two in either loop end at once, left where the guard would stop them: one
    // pass more or fewer lands on the other value.
    for (Modulo1 (*caso)() : {cloroCiclico, temperaturaCiclica}) {
        Modulo1 ciclo = caso();
        EXPECT_EQ(EseguiCalcolo(ciclo).messaggi(), Errore);
        EXPECT_LT(UltimiPassi().cloro + UltimiPassi().temperatura, 1000);
        for (long long limite : {MassimoPassi - 1, MassimoPassi + 1, MassimoPassi + 2}) {
            Modulo1 altro = caso();
            EXPECT_FALSE(EseguiCalcolo(altro, limite).completato);
            EXPECT_EQ(std::memcmp(&altro, &ciclo, sizeof ciclo) == 0, limite == MassimoPassi + 2) << limite;
        }
    }
}

// Random records of the three kinds: on every completed one the shares add up to 100, the last
// temperature step is within 2 K, ConcCl2 >= 0; no form text or report line shows inf, NaN or -0.
TEST(EseguiCalcolo, InvariantsOnRandomRecords) {
    std::mt19937_64 g(54);
    auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(g); };
    auto guasto = [](std::string testo) {  // a word that is inf, NaN or a negative zero
        std::transform(testo.begin(), testo.end(), testo.begin(), [](unsigned char c) { return std::tolower(c); });
        std::istringstream in(testo);
        for (std::string p; in >> p;) {
            const bool meno = p.starts_with('-');
            if (p.erase(0, meno) == "inf" || p == "nan" || p.find('#') != p.npos || (meno && p.find_first_not_of("0,") == p.npos)) return true;
        }
        return false;
    };
    OrologioFisso orologio;
    int completati = 0;
    for (int i = 0; i < 2000; ++i) {
        Modulo1 m;
        TestiForm t;  // the texts of the forms
        m.PortataComb = u(0.01, 5000);
        double* f[] = {&m.FrazC.v, &m.FrazH.v, &m.FrazO.v, &m.FrazCl.v, &m.FrazS.v, &m.FrazN.v, &m.Inerti.v, &m.Acqua.v};
        double somma = 0;
        for (double* x : f) somma += *x = u(0, 1) * u(0, 1);
        for (double* x : f) *x /= somma;
        m.AtomiC = int(u(0, 8)), m.AtomiH = int(u(0, 12)), m.AtomiO = int(u(0, 3)), m.AtomiCl = int(u(0, 3));
        m.AtomiS = int(u(0, 2)), m.AtomiN = int(u(0, 2));
        const auto comp = i % 3 == 1 ? Composizione::Atomica : Composizione::Ponderale;
        t.Applica(CalcolaCombustibile(m, i % 3 ? TipoCombustibile::Altri : TipoCombustibile::Metano,
                                      i % 3 ? comp : Composizione::Nessuna));
        if (i % 3) t.Applica(u(0, 1) < 0.5 ? StimaPotereCalorifico(m) : (m.PotereCalorifico = u(-100, 15000), EsitoOperazione{}));
        condizioni(m, u(-5, 200), u(-40, 60), u(0, 100), u(-20, 900), u(-1, 30));
        const auto e = EseguiCalcolo(m);
        t.Applica(e);
        for (const auto& [chiave, testo] : t.testi) EXPECT_FALSE(guasto(testo)) << i << ": " << testo;
        if (!e.completato) continue;
        ++completati;
        EXPECT_NEAR(m.PercVolCO2.v + m.PercVolH2O.v + m.PercVolHCl.v + m.PercVolSO2.v + m.PercVolO2.v + m.PercVolN2.v, 100, 1e-9);
        EXPECT_NEAR(m.PercPesoCO2.v + m.PercPesoH2O.v + m.PercPesoHCl.v + m.PercPesoSO2.v + m.PercPesoO2.v + m.PercPesoN2.v, 100, 1e-9);
        EXPECT_TRUE(std::fabs(m.TempFumiK.v - m.TempFumiIpotesi.v) <= 2 && m.ConcCl2.v >= 0) << i;
        for (int n = 1; n <= RigheRapporto; ++n)
            for (const std::string& r : RigheTesto(RigaDelRapporto(n, TipoUscita::File, t, orologio)))
                EXPECT_FALSE(guasto(r)) << n << ": " << r;
    }
    EXPECT_GT(completati, 1000);  // stops are checked too, but most records must complete
}

TEST(StimaPotereCalorifico, FromWeightFractions) {
    const struct { double c, h, o, cl, s; const char* testo; } casi[] = {
        {0.75, 0.25, 0, 0, 0, "12091,43"},  // 7783 * 0.75 + 25016.73 * 0.25 = 12091.4325
        // oxygen beyond 8 x hydrogen: 25016.73 * (0.01 - 0.1) = -2251.5057; + 7783 * 0.5
        {0.5, 0.01, 0.8, 0, 0, "1639,99"},
        // 7783 * 0.5 + 25016.73 * 0.05 - 422.505 * 0.1 + 2501.673 * 0.1 = 5350.2533
        {0.5, 0.05, 0, 0.1, 0.1, "5350,25"}, {0, 0, 0, 0, 0, "0"},
    };
    for (const auto& c : casi) {
        Modulo1 m;
        m.FrazC = c.c, m.FrazH = c.h, m.FrazO = c.o, m.FrazCl = c.cl, m.FrazS = c.s;
        auto e = StimaPotereCalorifico(m);
        ASSERT_TRUE(e.completato);
        EXPECT_TRUE((tipi(e) == std::vector<T>{T::Colore, T::Testo}) && e.effetti[0].colore == Colore::Rosso);
        EXPECT_EQ(testi(e)[Quantita::PotereCalorifico], c.testo);
    }
    Modulo1 m;
    m.FrazC = 1e305, m.PotereCalorifico = 7;  // overflow: the message, the old value kept
    EXPECT_EQ(tipi(StimaPotereCalorifico(m)), std::vector<T>{T::Messaggio});
    EXPECT_EQ(m.PotereCalorifico.v, 7.0);
}

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

// The flue-gas temperature of `caso` with the swept input at `x`, as one run of its own.
double tempFumi(const IngressiCaso& caso, const Grandezza& g, double x) {
    Modulo1 m;
    EXPECT_TRUE(CalcolaCaso(CasoCon(caso, g, x), m).completato) << g.nome << " " << x;
    return m.TempFumi.v;
}

// "Trova" by what the user reads: the number shown is the answer cut to 0.01 toward the side that
// meets the target, and meets it; 0.01 past the answer does not. Falling and rising temperatures.
TEST(Andamento, TargetAsTheUserReadsIt) {
    const IngressiCaso metano{TipoCombustibile::Metano, Composizione::Nessuna, prova::metano()};
    const struct { int grandezza; double da, a, passo, t; const char* parola; } casi[] = {
        {0, 0, 200, 5, 850, "massimo"}, {0, 0, 200, 5, 1000, "massimo"}, {0, 0, 200, 5, 1100, "massimo"},
        {0, 0, 200, 5, 1234, "massimo"}, {1, -20, 8, 7, 1315, "minima"}, {6, 5000, 15000, 1000, 1100, "minimo"},
        {6, 5000, 15000, 1000, 1333, "minimo"}};
    std::vector<PuntoAndamento> punti;
    for (const auto& c : casi) {
        const Grandezza& g = Info(IngressiAndamento[c.grandezza]);
        SCOPED_TRACE(std::string(g.nome) + " " + std::to_string(c.t));
        std::vector<double> valori;
        ASSERT_FALSE(ValoriAndamento(c.da, c.a, c.passo, valori));
        CalcolaAndamento(metano, g, valori, punti);
        const Obiettivo o = TrovaObiettivo(metano, g, punti, c.t);
        ASSERT_EQ(o.esito, Obiettivo::Esito::Trovato) << o.frase;
        const std::string inizio = std::string(g.etichetta) + " " + c.parola + " per " + std::to_string(int(c.t)) + " °C: ";
        ASSERT_EQ(o.frase.rfind(inizio, 0), 0u) << o.frase;
        const auto letto = LeggiNumero(o.frase.substr(inizio.size(), o.frase.rfind(' ') - inizio.size()));  // the unit after
        ASSERT_TRUE(letto) << o.frase;
        EXPECT_NEAR(std::round(*letto * 100), *letto * 100, 1e-6) << o.frase;
        EXPECT_TRUE(o.finoA ? *letto <= o.valore && o.valore - *letto < 0.01 : *letto >= o.valore && *letto - o.valore < 0.01)
            << o.frase << " " << o.valore;
        EXPECT_GE(tempFumi(metano, g, *letto), c.t) << o.frase;
        EXPECT_LT(tempFumi(metano, g, o.valore + (o.finoA ? 0.01 : -0.01)), c.t) << o.frase;
        EXPECT_EQ(o.punto.m.TempFumi.v, tempFumi(metano, g, o.valore));
    }
    // A run that stops inside the bracket: vinyl chloride has no oxygen for the chlorine trial
    // points just above no excess air; a first point made hot by hand sends the bisection there.
    IngressiCaso cloruro{TipoCombustibile::Altri, Composizione::Atomica, prova::cloruroDiVinile()};
    std::vector<double> valori = {0, 100};
    CalcolaAndamento(cloruro, Info(IngressiAndamento[0]), valori, punti);
    punti[0].completato = true, punti[0].m.TempFumi = 5000;
    const Obiettivo o = TrovaObiettivo(cloruro, Info(IngressiAndamento[0]), punti, 3000);
    EXPECT_EQ(o.esito, Obiettivo::Esito::Interrotto);
    Modulo1 m;
    EXPECT_FALSE(CalcolaCaso(CasoCon(cloruro, Info(IngressiAndamento[0]), o.valore), m).completato) << o.valore;
    EXPECT_TRUE(o.valore > 0 && o.valore < 50) << o.valore;
    EXPECT_EQ(o.frase, "Il calcolo si ferma a " + TestoNumero(o.valore) + " %: " + messaggi::VerificareInput);
    // 20 % gives 1314.6 °C and 200 % is far below 850 °C.
    ASSERT_FALSE(ValoriAndamento(0, 200, 5, valori));
    CalcolaAndamento(metano, Info(IngressiAndamento[0]), valori, punti);
    EXPECT_EQ(TrovaObiettivo(metano, Info(IngressiAndamento[0]), punti, 3000).frase,
              "La temperatura dei fumi non raggiunge 3000 °C tra 0 e 200 %");
    EXPECT_EQ(TrovaObiettivo(metano, Info(IngressiAndamento[0]), punti, 100).frase,
              "La temperatura dei fumi resta sopra 100 °C tra 0 e 200 %");
    // Up, down, a gap, up again: three crossings, the gap bridged.
    std::vector<PuntoAndamento> zigzag(punti.begin(), punti.begin() + 5);
    for (int k = 0; k < 5; ++k) zigzag[k].m.TempFumi = std::array{900.0, 800.0, 900.0, 0.0, 800.0}[k], zigzag[k].completato = k != 3;
    EXPECT_EQ(TrovaObiettivo(metano, Info(IngressiAndamento[0]), zigzag, 850).frase,
              "La temperatura dei fumi incrocia 850 °C 3 volte tra 0 e 20 %: restringere l'intervallo");
    // Every value stops.
    ASSERT_FALSE(ValoriAndamento(100, 200, 50, valori));
    CalcolaAndamento(metano, Info(IngressiAndamento[4]), valori, punti);
    EXPECT_EQ(TrovaObiettivo(metano, Info(IngressiAndamento[4]), punti, 1000).frase, "Nessun caso calcolato tra 100 e 200 %");
}

}  // namespace

// Each input's physical range as the warning states it, at its bounds and just past them (on the
// weight-fraction waste: its heating value typed, its fractions read).
TEST(AvvisiCaso, OgniIntervalloFisicoAlSuoConfine) {
    const std::string F = "fuori dall'intervallo fisico, ";
    const struct { const char* nome; double valore; std::string avviso; } casi[] = {  // "": none
        {"Inerti", 1, ""}, {"Inerti", 1.25, "Contenuto inerti 1,25 kg/kg: " + F + "da 0 a 1 kg/kg ("},
        {"Acqua", -0.1, "Contenuto acqua -0,1 kg/kg: " + F + "da 0 a 1 kg/kg ("},
        {"Acqua", 1.5, "Contenuto acqua 1,5 kg/kg: " + F + "da 0 a 1 kg/kg ("},
        {"FrazCl", 1.5, "Frazione ponderale di cloro 1,5 kg/kg: " + F + "da 0 a 1 kg/kg ("},
        {"PortataComb", -1, "Portata combustibile -1 kg/h: " + F + "da 0 kg/h in su (una portata non può essere negativa)"},
        {"TempAria", -50, ""}, {"TempAria", 1000, ""},
        {"TempAria", -50.5, "Temperatura dell'aria -50,5 °C: " + F + "da -50 a 1000 °C ("},
        {"TempAria", 1000.5, "Temperatura dell'aria 1000,5 °C: " + F + "da -50 a 1000 °C ("},
        {"EccessoAria", 1000, ""}, {"EccessoAria", 1001, "Eccesso d'aria 1001 %: " + F + "da 0 a 1000 % ("},
        {"UmiditaRelativa", 100.5, "Umidità relativa dell'aria 100,5 %: " + F + "da 0 a 100 % ("},
        {"Dispersioni", 100, ""}, {"Dispersioni", 100.5, "Dispersioni termiche 100,5 %: " + F + "da 0 a 100 % ("},
        {"PotereCalorifico", 28650, ""},
        {"PotereCalorifico", 28651, "Potere calorifico 28651 kcal/kg: " + F + "da 0 a 28650 kcal/kg ("},
    };
    for (const auto& c : casi) {
        const Grandezza& g = *TrovaGrandezza(c.nome);
        const IngressiCaso caso = CasoCon(casoRifiuto(), g, c.valore);
        std::string detto;
        for (const Avviso& a : AvvisiCaso(caso, caso.valori, false))
            if (a.grandezza == g.id) detto += a.testo;
        EXPECT_EQ(detto.substr(0, c.avviso.size()), c.avviso) << c.nome << " " << c.valore;
        EXPECT_EQ(detto.empty(), c.avviso.empty()) << detto;
    }
    for (const Grandezza& g : Grandezze())  // every share by weight, the fuel's and the support's, is one from 0 to 1
        EXPECT_TRUE(g.unita != std::string_view("kg/kg") || !std::isfinite(g.minimo) || (g.minimo == 0 && g.massimo == 1))
            << g.nome;
}
