// The flue gas at chemical equilibrium: the solver against figures printed by
// others (NASA CEA runs, the NIST-JANAF tables), and the laws every solution
// must keep (elements, non-negative amounts, the mass-action law, the enthalpy).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "combustion/Equilibrio.h"
#include "combustion/Verifica.h"
#include "support/Casi.h"

using namespace termix;
using namespace termix::equilibrio;
using M = Molecola;

namespace {

constexpr double R = nasa::CostanteGas;  // kJ/(kmol K)
constexpr double Bar = 1e5;              // Pa

double di(const Moli& n, M s) { return n[static_cast<int>(s)]; }

double frazione(const Stato& s, M m) {
    double tot = 0;
    for (double x : s.n) tot += x;
    return di(s.n, m) / tot;
}

using Reazione = std::vector<std::pair<M, double>>;  // species and coefficient, products positive

// log10 K° of a reaction from the data (1 bar).
double log10K(const Reazione& r, double T) {
    double g = 0;
    for (auto [m, nu] : r) g += nu * GibbsRidotta(m, T);
    return -g / std::log(10.0);
}

}  // namespace

// Adiabatic methane-air flames, 1 bar, reactants at 300 K (CH4 + (2 O2 + 7.5238 N2)/φ):
// NASA CEA2 (May 2004) as printed in CombustionToolbox/combustion_toolbox,
// GUI/CEA/HP/CH4_air1_HP.out (commit 0f8c73f), with its reactant enthalpies
// (kJ/kmol at 300 K: CH4 -74533.907, O2 54.358, N2 53.881). CEA's data are the
// NASA Glenn set of 2002; ours its 1993 predecessor, whose OH lies 2.07 kJ/mol
// higher: less OH, and so less dissociation, makes the flame up to 1.4 K
// hotter (1.0 K with OH's newer figure); OH, H and O are held to 15 %.
TEST(Equilibrio, MethaneAirFlamesAsNasaCeaPrintsThem) {
    struct Specie {
        M m;
        double x;
    };
    const struct {
        double phi, T;
        std::vector<Specie> x;
    } casi[] = {
        {0.7, 1837.69, {{M::CO2, 6.8362e-2}, {M::H2O, 1.3643e-1}, {M::CO, 8.5945e-5}, {M::O2, 5.7314e-2},
                        {M::H2, 4.3242e-5}, {M::OH, 8.3307e-4}, {M::O, 4.1294e-5}, {M::NO, 2.3764e-3},
                        {M::N2, 7.3450e-1}}},
        {1.0, 2224.18, {{M::CO2, 8.5342e-2}, {M::H2O, 1.8324e-1}, {M::CO, 8.9706e-3}, {M::O2, 4.5465e-3},
                        {M::H2, 3.5951e-3}, {M::OH, 3.1844e-3}, {M::H, 3.8727e-4}, {M::O, 2.1214e-4},
                        {M::NO, 1.8605e-3}, {M::N2, 7.0866e-1}}},
        {1.2, 2135.57, {{M::CO2, 6.2597e-2}, {M::H2O, 1.8812e-1}, {M::CO, 4.5202e-2}, {M::O2, 2.7804e-5},
                        {M::H2, 2.6842e-2}, {M::OH, 6.2938e-4}, {M::H, 6.3514e-4}, {M::NO, 1.1573e-4},
                        {M::N2, 6.7582e-1}}},
        {1.5, 1904.21, {{M::CO2, 4.0595e-2}, {M::H2O, 1.6725e-1}, {M::CO, 8.4140e-2}, {M::H2, 8.2081e-2},
                        {M::OH, 4.5108e-5}, {M::H, 2.3505e-4}, {M::N2, 6.2565e-1}}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.phi);
        const double o2 = 2 / c.phi, n2 = 7.5238 / c.phi;
        const Elementi b{1, 4, 2 * o2, 2 * n2, 0, 0};
        const double H = -74533.907 + o2 * 54.358 + n2 * 53.881;
        const Soluzione s = EquilibrioHP(b, H, 0, nullptr, Bar);
        ASSERT_TRUE(s);
        EXPECT_NEAR(s.stato.T, c.T, 1.5);
        for (const Specie& k : c.x) {
            // The radicals, and O2 in a rich flame, move with the temperature.
            const bool radicale = k.m == M::OH || k.m == M::H || k.m == M::O;
            const double tolleranza = radicale ? 0.15 : k.m == M::O2 && c.phi > 1 ? 0.03 : 0.02;
            EXPECT_NEAR(frazione(s.stato, k.m), k.x, tolleranza * k.x) << static_cast<int>(k.m);
        }
    }
}

// The data against the NIST-JANAF tables (M.W. Chase, 4th ed., J. Phys. Chem.
// Ref. Data Monograph 9, 1998; tables C-093, C-095, H-064, H-038, H-001, O-001,
// N-002, N-005, N-007, N-026, Cl-026, Cl-001, O-034, O-058, O-010): each
// reaction's log10 K° as the sum of the printed log Kf at 1000, 1500 and 2000 K,
// to 0.015 beyond what the two evaluations' heats of formation explain
// (TM-4513 minus JANAF, kJ/mol: OH 0.36, NO 0.98, NO2 1.10, N2O -0.45).
TEST(Equilibrio, ReactionConstantsAsTheJanafTablesGiveThem) {
    const struct {
        const char* nome;
        Reazione r;
        double logK[3];
        double scarto;  // kJ/mol, the heats of formation's difference the reaction carries
    } casi[] = {
        {"CO + 1/2 O2 = CO2", {{M::CO2, 1}, {M::CO, -1}, {M::O2, -0.5}},
         {20.679 - 10.461, 13.800 - 8.488, 10.351 - 7.470}, 0},
        {"H2 + 1/2 O2 = H2O", {{M::H2O, 1}, {M::H2, -1}, {M::O2, -0.5}}, {10.060, 5.724, 3.540}, 0},
        {"1/2 H2 + 1/2 O2 = OH", {{M::OH, 1}, {M::H2, -0.5}, {M::O2, -0.5}}, {-1.222, -0.563, -0.240}, 0.36},
        {"1/2 H2 = H", {{M::H, 1}, {M::H2, -0.5}}, {-8.644, -4.754, -2.788}, 0},
        {"1/2 O2 = O", {{M::O, 1}, {M::O2, -0.5}}, {-9.803, -5.392, -3.175}, 0},
        {"1/2 N2 = N", {{M::N, 1}, {M::N2, -0.5}}, {-21.530, -13.217, -9.045}, 0},
        {"1/2 N2 + 1/2 O2 = NO", {{M::NO, 1}, {M::N2, -0.5}, {M::O2, -0.5}}, {-4.063, -2.487, -1.699}, 0.98},
        {"1/2 N2 + O2 = NO2", {{M::NO2, 1}, {M::N2, -0.5}, {M::O2, -1}}, {-5.003, -4.441, -4.155}, 1.10},
        {"N2 + 1/2 O2 = N2O", {{M::N2O, 1}, {M::N2, -1}, {M::O2, -0.5}}, {-8.175, -6.705, -5.946}, 0.45},
        {"1/2 H2 + 1/2 Cl2 = HCl", {{M::HCl, 1}, {M::H2, -0.5}, {M::Cl2, -0.5}}, {5.265, 3.615, 2.785}, 0},
        {"1/2 Cl2 = Cl", {{M::Cl, 1}, {M::Cl2, -0.5}}, {-3.410, -1.233, -0.133}, 0},
        {"4 HCl + O2 = 2 Cl2 + 2 H2O", {{M::Cl2, 2}, {M::H2O, 2}, {M::HCl, -4}, {M::O2, -1}},
         {2 * 10.060 - 4 * 5.265, 2 * 5.724 - 4 * 3.615, 2 * 3.540 - 4 * 2.785}, 0},
        {"SO2 + 1/2 O2 = SO3", {{M::SO3, 1}, {M::SO2, -1}, {M::O2, -0.5}},
         {15.338 - 15.081, 7.356 - 8.784, 3.389 - 5.639}, 0},
        {"SO + 1/2 O2 = SO2", {{M::SO2, 1}, {M::SO, -1}, {M::O2, -0.5}},
         {15.081 - 3.363, 8.784 - 2.328, 5.639 - 1.810}, 0},
    };
    const double T[] = {1000, 1500, 2000};
    for (const auto& c : casi)
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(log10K(c.r, T[i]), c.logK[i], 0.015 + c.scarto * 1000 / (R * T[i] * std::log(10.0)))
                << c.nome << " at " << T[i] << " K";
}

// Over random flue gases (each element present or not, lean to rich): the
// elements kept to 1e-10, no negative amount, no species of a missing element,
// every reaction at its constant, and the HP temperature's composition holding
// the enthalpy it was given.
TEST(Equilibrio, EveryRandomGasKeepsItsElementsAndTheMassActionLaw) {
    std::mt19937_64 rng(27);
    std::uniform_real_distribution<double> u(0, 1);
    const Reazione reazioni[] = {
        {{M::CO2, 1}, {M::CO, -1}, {M::O2, -0.5}},  {{M::H2O, 1}, {M::H2, -1}, {M::O2, -0.5}},
        {{M::OH, 1}, {M::H2, -0.5}, {M::O2, -0.5}}, {{M::NO, 1}, {M::N2, -0.5}, {M::O2, -0.5}},
        {{M::HCl, 1}, {M::H2, -0.5}, {M::Cl2, -0.5}}, {{M::SO3, 1}, {M::SO2, -1}, {M::O2, -0.5}},
        {{M::Cl, 1}, {M::Cl2, -0.5}},               {{M::N2O, 1}, {M::N2, -1}, {M::O2, -0.5}},
    };
    for (int prova = 0; prova < 300; ++prova) {
        Moli fumi{};
        // Complete-combustion flows; O2 may be short of what they need (a rich flame).
        for (M s : {M::CO2, M::H2O, M::HCl, M::SO2}) fumi[static_cast<int>(s)] = u(rng) < 0.3 ? 0 : u(rng) * 10;
        fumi[static_cast<int>(M::O2)] = u(rng) * 20 - 2;
        fumi[static_cast<int>(M::N2)] = u(rng) < 0.1 ? 0 : 10 + u(rng) * 100;
        const Elementi b = ElementiDi(fumi);
        auto di = [&](Elemento e) { return b[static_cast<int>(e)]; };
        if (!(di(Elemento::O) > di(Elemento::C) + di(Elemento::S))) {  // CO and SO need it
            EXPECT_EQ(EquilibrioTP(b, 1500).esito, Esito::ElementiNegativi);
            continue;
        }
        for (double& x : fumi) x = std::max(x, 0.0);
        const double T = 800 + u(rng) * 2400;
        const Soluzione tp = EquilibrioTP(b, T, u(rng) < 0.5 ? &fumi : nullptr);
        ASSERT_TRUE(tp) << prova;
        // Newton with the exact Jacobian and RP-1311's step control settles in a few dozen steps (30 at most
        // over these gases); a wrong derivative or step crawls.
        EXPECT_LE(tp.stato.iterazioni, 40) << prova;
        const Elementi chiusi = ElementiDi(tp.stato.n);
        double totale = 0;
        for (double x : b) totale += x;
        for (int e = 0; e < NumeroElementi; ++e) EXPECT_NEAR(chiusi[e], b[e], 1e-10 * totale) << prova;
        for (int j = 0; j < NumeroMolecole; ++j) {
            EXPECT_GE(tp.stato.n[j], 0);
            for (int e = 0; e < NumeroElementi; ++e) {
                if (Atomi(M(j), Elemento(e)) > 0 && b[e] == 0) {
                    EXPECT_EQ(tp.stato.n[j], 0) << prova << " " << j;
                }
            }
        }
        for (const Reazione& r : reazioni) {
            double lnQ = 0;
            bool presente = true;
            for (auto [m, nu] : r) {
                const double x = frazione(tp.stato, m);
                presente = presente && x > 1e-280;
                lnQ += nu * std::log(x * Pressione / Bar);
            }
            if (presente) {
                EXPECT_NEAR(lnQ / std::log(10.0), log10K(r, T), 1e-7) << prova;
            }
        }
        // HP from an enthalpy between the cold gas's and this one's.
        const double H = EntalpiaMiscela(tp.stato.n, T);
        const Soluzione hp = EquilibrioHP(b, H, 0, &fumi);
        ASSERT_TRUE(hp) << prova;
        EXPECT_LE(hp.stato.iterazioni, 40) << prova;
        EXPECT_NEAR(hp.stato.T, T, 1e-6) << prova;
        EXPECT_NEAR(EntalpiaMiscela(hp.stato.n, hp.stato.T), H, 1e-9 * std::abs(H) + 1e-9) << prova;
    }
}

// No element, a negative one, a temperature beyond the data: no composition, and why.
TEST(Equilibrio, RefusesWhatItCannotSolve) {
    EXPECT_EQ(EquilibrioTP({0, 0, 0, 0, 0, 0}, 1500).esito, Esito::ElementiNegativi);
    EXPECT_EQ(EquilibrioTP({1, 2, -0.1, 0, 0, 0}, 1500).esito, Esito::ElementiNegativi);
    // Carbon and sulphur need at least one oxygen each (CO, SO): 0.5 C + 0.2 S cannot live on 0.7 O.
    EXPECT_EQ(EquilibrioTP({0.5, 1, 0.7, 2, 0, 0.2}, 1500).esito, Esito::ElementiNegativi);
    EXPECT_TRUE(EquilibrioTP({0.5, 1, 0.71, 2, 0, 0.2}, 1500));
    EXPECT_EQ(EquilibrioTP({1, 2, 4, 8, 0, 0}, 199.9).esito, Esito::FuoriIntervallo);
    EXPECT_EQ(EquilibrioTP({1, 2, 4, 8, 0, 0}, 5000.1).esito, Esito::FuoriIntervallo);
    EXPECT_TRUE(EquilibrioTP({1, 2, 4, 8, 0, 0}, 200));
    // Nitrogen with more than the enthalpy of its atoms at the data's 5000 K.
    Moli atomi{};
    atomi[static_cast<int>(M::N)] = 2;
    EXPECT_EQ(EquilibrioHP({0, 0, 0, 2, 0, 0}, EntalpiaMiscela(atomi, 5000) + 1e4).esito, Esito::FuoriIntervallo);
}

// The equilibrium among the checks, on whole runs: dissociation makes the flame
// colder than TempFumiRif, most near stoichiometry, and nothing at 1000 %
// excess air; a typed temperature is the composition of the flows' own
// elements there; a species of a missing element, or a case the data or the
// flows cannot take, has no figure and the verdict's note says why.
TEST(Equilibrio, AmongTheChecksOnWholeRuns) {
    const struct {
        const char* nome;
        IngressiCaso caso;
        std::optional<double> temperatura;  // °C typed, or the adiabatic one
        double dissociazioneMin, dissociazioneMax;  // TempFumiRif - TempFumiEq [K]
        const char* nota;  // in avvisoEquilibrio, "" for none
    } casi[] = {
        {"methane, stoichiometric", [] { auto c = prova::casoMetano(); c.valori.EccessoAria = 0; return c; }(), {},
         40, 120, ""},
        {"methane, 25 %", [] { auto c = prova::casoMetano(); c.valori.EccessoAria = 25; return c; }(), {}, 5, 30, ""},
        {"methane, 1000 %", [] { auto c = prova::casoMetano(); c.valori.EccessoAria = 1000; return c; }(), {}, -0.02,
         0.02, "equilibrio sotto i 700 °C"},
        {"the wet waste at 850 °C", prova::casoRifiuto(), 850, -1, 1, ""},
        {"the wet waste at 600 °C", prova::casoRifiuto(), 600, -1, 1, "equilibrio sotto i 700 °C"},
        {"beyond the data", prova::casoRifiuto(), 4800, -1, 1, "temperatura di equilibrio fuori dall'intervallo"},
        {"air at -80 °C", [] { auto c = prova::casoMetano(); c.valori.TempAria = -80; return c; }(), {}, NAN, NAN,
         "temperatura dell'aria fuori dall'intervallo"},
        {"negative air: too much oxygen in the fuel", [] {
             auto c = prova::casoRifiuto();
             c.valori.FrazC = 0.05, c.valori.FrazO = 0.6, c.valori.Inerti = 0.1, c.valori.Acqua = 0.2;
             return c;
         }(), {}, NAN, NAN, "portate dei fumi negative"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        Modulo1 m;
        ASSERT_TRUE(CalcolaCaso(c.caso, m).completato);
        ParametriVerifica p;
        p.tempEquilibrio = c.temperatura;
        const RisultatiVerifica r = CalcolaVerifica(m, p);
        EXPECT_NE(r.avvisoEquilibrio.find(c.nota), std::string::npos) << r.avvisoEquilibrio;
        EXPECT_EQ(r.avvisoEquilibrio.empty(), !*c.nota) << r.avvisoEquilibrio;
        if (std::isnan(c.dissociazioneMin)) {
            EXPECT_FALSE(r.TempFumiEq || r.TempEquilibrio || r.ConcNOEq);
            continue;
        }
        ASSERT_TRUE(r.TempFumiEq && r.TempFumiRif);
        EXPECT_GE(*r.TempFumiRif - *r.TempFumiEq, c.dissociazioneMin);
        EXPECT_LE(*r.TempFumiRif - *r.TempFumiEq, c.dissociazioneMax);
        if (c.temperatura && *c.temperatura > 4000) {
            EXPECT_FALSE(r.TempEquilibrio || r.ConcNOEq);
            continue;
        }
        // The composition shown is the equilibrium of the flows' elements at that temperature, 1 atm.
        Moli n{};
        const double kmoli[6] = {m.KmoliCO2.v, m.KmoliH2O.v, m.KmoliHCl.v, m.KmoliSO2.v, m.KmoliO2.v, m.KmoliN2.v};
        std::copy(std::begin(kmoli), std::end(kmoli), n.begin());
        const double T = c.temperatura ? *c.temperatura : *r.TempFumiEq;
        ASSERT_TRUE(r.TempEquilibrio);
        EXPECT_EQ(*r.TempEquilibrio, T);
        const Soluzione s = EquilibrioTP(ElementiDi(n), T + 273.15);
        ASSERT_TRUE(s);
        EXPECT_NEAR(*r.ConcNOEq, frazione(s.stato, M::NO) * 1e6, 1e-9 * *r.ConcNOEq);
        EXPECT_NEAR(*r.ConcCOEq, frazione(s.stato, M::CO) * 1e6, 1e-9 * *r.ConcCOEq + 1e-12);
        const bool cloro = m.KmoliHCl.v > 0, zolfo = m.KmoliSO2.v > 0;
        EXPECT_EQ(r.ConcCl2Eq.has_value(), cloro);
        EXPECT_EQ(r.ConcHClEq.has_value(), cloro);
        EXPECT_EQ(r.Cl2RifEq.has_value(), cloro);
        EXPECT_EQ(r.ConcSO3Eq.has_value(), zolfo);
        if (cloro) {
            EXPECT_NEAR(*r.ConcCl2Eq, frazione(s.stato, M::Cl2) * 1e6, 1e-9 * *r.ConcCl2Eq);
        }
        // At the adiabatic temperature the composition holds the flows' enthalpy at the air's temperature plus
        // the net energy, formation included.
        if (!c.temperatura) {
            const double H = EntalpiaMiscela(n, m.TempAria.v + 273.15) + m.EnergiaNetta.v * 4.1868;
            EXPECT_NEAR(EntalpiaMiscela(s.stato.n, s.stato.T), H, 1e-9 * std::abs(H));
        }
        // Referred to 11 % O2 on the equilibrium's own dry gas: NO and NO2 as NO2 (46.008 kg/kmol).
        const double secco = 1 - frazione(s.stato, M::H2O);
        const double o2 = frazione(s.stato, M::O2) / secco * 100;
        const double nox = (frazione(s.stato, M::NO) + frazione(s.stato, M::NO2)) / secco * 46.008 / 22.414 * 1e6 *
                           (21 - 11) / (21 - o2);
        EXPECT_NEAR(*r.NOxRifEq, nox, 1e-9 * nox);
    }
}
