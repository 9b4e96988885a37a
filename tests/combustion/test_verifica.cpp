// The engineer's checks beside the program's results: each against a figure
// worked by hand or a published table, never the code's own output.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "combustion/Supporto.h"
#include "combustion/Verifica.h"
#include "support/Casi.h"

using namespace termix;
using termix::prova::casoMetano, termix::prova::casoRifiuto;

namespace {

bool stessiBit(const Modulo1& a, const Modulo1& b) { return std::memcmp(&a, &b, sizeof(Modulo1)) == 0; }

}  // namespace

TEST(EntalpieNasa, StandardEnthalpiesOfFormationAndJanafHeatContents) {
    // At 298.15 K the polynomials give the standard enthalpy of formation; from
    // 298.15 to 2000 K the heat content of the JANAF tables (4th ed., 1998), kJ/mol.
    using S = costanti::Specie;
    const struct { S k; const char* nome; double formazione, janaf2000; } casi[] = {
        {S::CO2, "CO2", -393.51, 91.439}, {S::H2O, "H2O", -241.826, 72.689}, {S::HCl, "HCl", -92.31, NAN},
        {S::SO2, "SO2", -296.81, NAN},    {S::O2, "O2", 0, 59.199},          {S::N2, "N2", 0, 56.137},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        EXPECT_NEAR(EntalpiaNasa(c.k, 298.15) / 1000, c.formazione, 0.05);
        if (!std::isnan(c.janaf2000)) {
            EXPECT_NEAR((EntalpiaNasa(c.k, 2000) - EntalpiaNasa(c.k, 298.15)) / 1000, c.janaf2000, 0.01 * c.janaf2000);
        }
        // The two ranges meet at 1000 K.
        EXPECT_NEAR(EntalpiaNasa(c.k, 1000), EntalpiaNasa(c.k, std::nextafter(1000.0, 2000.0)), 0.01);
    }
}

TEST(TempFumiRif, StoichiometricMethaneNearTheTextbookFlameAndTheWorkedCaseNear1680) {
    // Stoichiometric methane in dry air at 25 °C, no losses: about 2330 K (complete combustion, no dissociation). The
    // program's air carries a little more nitrogen and 0.5 % more gas than the textbook's, a few tens of K less.
    IngressiCaso s = casoMetano();
    s.valori.EccessoAria = 0, s.valori.TempAria = 25, s.valori.UmiditaRelativa = 0, s.valori.Dispersioni = 0;
    Modulo1 m;
    ASSERT_TRUE(CalcolaCaso(s, m).completato);
    const auto t = TemperaturaFumiRif(m);
    ASSERT_TRUE(t);
    EXPECT_NEAR(*t + 273.15, 2330, 35);
    // At the solution the gas takes up the net energy, within the 0.01 K bisection:
    // heat content from the JANAF-anchored formation enthalpies at 298.15 K.
    const double n[6] = {m.KmoliCO2.v, m.KmoliH2O.v, m.KmoliHCl.v, m.KmoliSO2.v, m.KmoliO2.v, m.KmoliN2.v};
    const double formazione[6] = {-393.51e3, -241.826e3, -92.31e3, -296.81e3, 0, 0};  // kJ/kmol
    auto calore = [&](double T) {
        double q = 0;
        for (int k = 0; k < 6; ++k) q += n[k] * (EntalpiaNasa(costanti::Specie(k), T) - formazione[k]);
        return q / 4.1868;  // kcal/h
    };
    const double cp = calore(*t + 273.15 + 1) - calore(*t + 273.15);  // kcal/h per K
    EXPECT_NEAR(calore(*t + 273.15), m.EnergiaNetta.v, 0.02 * cp + 1e-4 * m.EnergiaNetta.v);
    // The worked methane case: the table gives 1314.6 °C, tabulated enthalpies about 1680 °C.
    ASSERT_TRUE(CalcolaCaso(casoMetano(), m).completato);
    EXPECT_NEAR(m.TempFumi.v, 1314.636, 0.001);
    const auto r = CalcolaVerifica(m, {});
    ASSERT_TRUE(r.TempFumiRif);
    EXPECT_NEAR(*r.TempFumiRif, 1680, 5);
    EXPECT_DOUBLE_EQ(*r.Differenza, *r.TempFumiRif - m.TempFumi.v);
    EXPECT_EQ(r.Temperatura, r.TempFumiRif);  // the model the verdict uses
    EXPECT_FALSE(TemperaturaFumiRif(Modulo1{}));  // no net energy: no temperature
}

TEST(Camera, VolumeVelocityAndLengthByHandOnTheMethaneCase) {
    Modulo1 m;
    ASSERT_TRUE(CalcolaCaso(casoMetano(), m).completato);
    // The flue gas's kmol/h as Nm3/h, brought to T; V = Q t / 3600, the velocity through a 1.2 m bore, the length for 2 s,
    // and the cylinder's volume equal to the minimum volume.
    for (auto modello : {ModelloTemperatura::Nasa, ModelloTemperatura::Tabella}) {
        ParametriVerifica p;
        p.modello = modello, p.diametro = 1.2, p.tempoPermanenza = 2;
        const auto r = CalcolaVerifica(m, p);
        const double T = modello == ModelloTemperatura::Nasa ? *r.TempFumiRif : m.TempFumi.v;
        const double q = m.KmoliFumi.v * 22.414 * (T + 273.15) / 273.15;  // m3/h
        ASSERT_TRUE(r.VolumeCamera && r.VelocitaCamera && r.LunghezzaCamera);
        EXPECT_NEAR(*r.VolumeCamera, q * 2 / 3600, 1e-9 * q);
        EXPECT_NEAR(*r.VelocitaCamera, q / 3600 / (std::numbers::pi * 0.36), 1e-9 * q);
        EXPECT_NEAR(std::numbers::pi * 0.36 * *r.LunghezzaCamera, *r.VolumeCamera, 1e-9 * q);
    }
    // Figures: 7.05 m3 at about 1679 °C (≈ 12 690 m3/h for 2 s).
    EXPECT_NEAR(*CalcolaVerifica(m, {}).VolumeCamera, 7.05, 0.02);
    EXPECT_FALSE(CalcolaVerifica(m, {}).VelocitaCamera);  // no diameter, no velocity
}

TEST(CarichiRiferiti, DryGasAndReferenceOxygenWorkedByHand) {
    // 20 % water, 8 % O2 wet: 10 % on dry gas. HCl 0.1 % wet = 0.125 % dry ·
    // 36.461 / 22.414 · 1e6 = 2033.38 mg/Nm3, at 11 % O2 · 10/11 = 1848.53.
    Modulo1 m;
    m.PercVolH2O = 20, m.PercVolO2 = 8, m.PercVolHCl = 0.1, m.PercVolSO2 = 0.05, m.ConcCl2 = 10;
    const struct { const char* nome; std::optional<double> rif; double o2s, hcl, so2, cl2; } casi[] = {
        {"11 %", 11, 10, 1848.530, 1623.884, 35.949}, {"nessuno", std::nullopt, 10, 2033.383, 1786.272, 39.543},
        {"3 %", 3, 10, 3327.354, 2922.991, 64.707}};
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        ParametriVerifica p;
        p.o2Riferimento = c.rif;
        const auto r = CalcolaVerifica(m, p);
        ASSERT_TRUE(r.O2Secco && r.HClRif && r.SO2Rif && r.Cl2Rif);
        EXPECT_NEAR(*r.O2Secco, c.o2s, 1e-9);
        for (auto [x, atteso] : {std::pair{*r.HClRif, c.hcl}, {*r.SO2Rif, c.so2}, {*r.Cl2Rif, c.cl2}}) EXPECT_NEAR(x, atteso, 0.001) << atteso;
        EXPECT_TRUE(r.nonRiferibile.empty());
    }
    // 18 % O2 in 14 % water is 20.9 % dry, still referable; 15 % water makes it 21.2 %: not.
    const struct { double h2o, o2; bool riferibile; } limiti[] = {{14, 18, true}, {15, 18, false}, {100, 0, false}};
    for (const auto& l : limiti) {
        SCOPED_TRACE(l.h2o);
        m.PercVolH2O = l.h2o, m.PercVolO2 = l.o2;
        const auto r = CalcolaVerifica(m, {});
        EXPECT_TRUE(r.HClRif.has_value() == l.riferibile && r.nonRiferibile.empty() == l.riferibile);
    }
}

TEST(PuntiDiRugiada, WaterAndAcidsFromThePublishedFormulas) {
    // 10 % water at 1 atm: 76 mmHg, saturated at 46.1 °C by the steam tables;
    // the program's correlation, inverted by hand, gives its own figure within 0.01 °C.
    const auto acqua = RugiadaAcqua(10), solforica = RugiadaSolforica(10, 10), cloridrica = RugiadaCloridrica(10, 1000);
    ASSERT_TRUE(acqua && solforica && cloridrica);
    EXPECT_NEAR(*acqua, 46.1, 0.3);
    auto correlazione = [](double t) {
        const double T = t + 273.15;
        return std::pow(10.0, 16.373 - 2818.6 / T - 1.6908 * std::log10(T) - 0.0057546 * T + 4.007e-06 * T * T);
    };
    EXPECT_LT(correlazione(*acqua - 0.01), 76);
    EXPECT_GT(correlazione(*acqua + 0.01), 76);
    // A nearly dry gas still has one: 0.5 % water, 3.8 mmHg, about -2 °C.
    const auto secco = RugiadaAcqua(0.5);
    ASSERT_TRUE(secco);
    EXPECT_LT(correlazione(*secco - 0.01), 3.8);
    EXPECT_GT(correlazione(*secco + 0.01), 3.8);
    // Verhoff and Banchero: 10 % water, 10 ppm SO3 → about 137 °C.
    const double a = std::log(76.0), s = std::log(10e-6 * 760), c = std::log(1000e-6 * 760);
    EXPECT_NEAR(*solforica, 1000 / (2.276 - 0.0294 * a - 0.0858 * s + 0.0062 * a * s) - 273.15, 1e-9);
    EXPECT_NEAR(*solforica, 137, 1);
    // Kiang: 10 % water, 1000 ppm HCl → about 54 °C.
    EXPECT_NEAR(*cloridrica, 1000 / (3.7368 - 0.1591 * a - 0.0326 * c + 0.00269 * a * c) - 273.15, 1e-9);
    EXPECT_NEAR(*cloridrica, 54, 1);
    // An absent species has no dew point.
    EXPECT_FALSE(RugiadaAcqua(0) || RugiadaSolforica(10, 0) || RugiadaSolforica(0, 10) || RugiadaCloridrica(10, 0));
    // On a run: SO3 is the chosen share of the SO2; no sulphur, no acid dew point.
    Modulo1 m;
    m.PercVolH2O = 10, m.PercVolSO2 = 0.05;  // 500 ppm SO2, 2 % → 10 ppm SO3
    EXPECT_NEAR(*CalcolaVerifica(m, {}).RugiadaSolforica, *solforica, 1e-9);
    m.PercVolSO2 = 0;
    EXPECT_FALSE(CalcolaVerifica(m, {}).RugiadaSolforica || CalcolaVerifica(m, {}).RugiadaCloridrica);
}

TEST(Supporto, BlendRunsAsOneWeightFractionFuel) {
    Modulo1 caso, conNulla;
    // No support fuel, or a flow of 0: the case exactly, bit for bit.
    for (const auto& in : {casoMetano(), casoRifiuto()}) {
        CalcolaCaso(in, caso);
        for (Supporto s : {Supporto{}, Supporto{TipoSupporto::Metano, 0, 0, {}}})
            EXPECT_TRUE((CalcolaCasoConSupporto(in, s, conNulla), stessiBit(caso, conNulla)));
    }
    // The waste with 50 kg/h of methane: the mixed fractions worked by hand
    // (1000 · f + 50 · methane) / 1050, heating value (1000 · 1500 + 50 · 11958) / 1050.
    const double metano[8] = {0.7487, 0.2513, 0, 0, 0, 0, 0, 0};
    IngressiCaso unico = casoRifiuto();
    for (int k = 0; k < 8; ++k)
        unico.valori.*FrazioniPonderali[k] = (1000 * (unico.valori.*FrazioniPonderali[k]).v + 50 * metano[k]) / 1050;
    unico.valori.PortataComb = 1050;
    unico.valori.PotereCalorifico = (1000 * 1500 + 50 * 11958.0) / 1050;
    Modulo1 atteso, miscela;
    ASSERT_TRUE(CalcolaCaso(unico, atteso).completato);
    ASSERT_TRUE(CalcolaCasoConSupporto(casoRifiuto(), {TipoSupporto::Metano, 50, 0, {}}, miscela).completato);
    EXPECT_NEAR(miscela.TempFumi.v, atteso.TempFumi.v, 1e-9 * atteso.TempFumi.v);
    EXPECT_NEAR(miscela.PortataFumi.v, atteso.PortataFumi.v, 1e-9 * atteso.PortataFumi.v);
    EXPECT_NEAR(miscela.EnergiaIngresso.v, 1000 * 1500 + 50 * 11958.0, 1e-6);
    // A fuel blended with itself is that fuel at the summed flow, bit for bit.
    Supporto stesso{TipoSupporto::Ponderale, 300, 1500, {0.2, 0.03, 0.1, 0.02, 0, 0, 0.15, 0.5}};
    IngressiCaso somma = casoRifiuto();
    somma.valori.PortataComb = 1300;
    CalcolaCaso(somma, atteso), CalcolaCasoConSupporto(casoRifiuto(), stesso, miscela);
    EXPECT_TRUE(stessiBit(atteso, miscela));
}

TEST(Supporto, RefusedInputs) {
    using Q = Quantita;
    const struct { const char* nome; Supporto s; const char* inizio; std::optional<Q> campo; } casi[] = {
        {"somma 0,9", {TipoSupporto::Ponderale, 10, 5000, {0.8, 0.1}}, "Le frazioni del combustibile di supporto non sommano a 1", {}},
        {"frazione negativa", {TipoSupporto::Ponderale, 10, 5000, {1.1, -0.1}}, "Le frazioni", {}},
        {"portata negativa", {TipoSupporto::Metano, -1, 0, {}}, "La portata", Q::SupportoPortata},
        {"potere nullo", {TipoSupporto::Ponderale, 10, 0, {0.8, 0.2}}, "Il potere calorifico", Q::SupportoPotereCalorifico},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        const auto e = ControllaSupporto(c.s);
        ASSERT_TRUE(e);
        EXPECT_TRUE(e->messaggio.starts_with(c.inizio) && e->campo == c.campo) << e->messaggio;
    }
    EXPECT_FALSE(ControllaSupporto({TipoSupporto::Ponderale, 10, 5000, {0.8, 0.2004}}));  // within a thousandth
    const struct { const char* nome; double tempo; std::optional<double> diametro, o2; double so3; std::optional<Q> campo; } parametri[] = {
        {"tempo 0", 0, {}, 11, 2, Q::TempoPermanenza},   {"diametro 0", 2, 0.0, 11, 2, Q::DiametroCamera},
        {"O2 21", 2, {}, 21, 2, Q::O2Riferimento},        {"O2 -1", 2, {}, -1, 2, Q::O2Riferimento},
        {"SO3 101", 2, {}, 11, 101, Q::ConversioneSO3},   {"O2 0", 2, 0.5, 0, 0, {}}, {"senza O2", 0.1, {}, {}, 100, {}},
    };
    for (const auto& c : parametri) {
        SCOPED_TRACE(c.nome);
        ParametriVerifica p;
        p.tempoPermanenza = c.tempo, p.diametro = c.diametro, p.o2Riferimento = c.o2, p.conversioneSO3 = c.so3;
        const auto e = ControllaParametri(p);
        EXPECT_EQ(e ? e->campo : std::nullopt, c.campo);
        EXPECT_EQ(e.has_value(), c.campo.has_value());
    }
}

TEST(Supporto, TargetHasThreeOutcomes) {
    const Supporto metano{TipoSupporto::Metano, 0, 0, {}};
    // Not needed: methane alone is far above 850 °C.
    auto r = TrovaSupporto(casoMetano(), metano, ModelloTemperatura::Nasa, 850);
    EXPECT_TRUE(r.esito == RicercaSupporto::Esito::NonNecessario && r.frase.starts_with("Combustibile di supporto non necessario")) << r.frase;
    // Not reachable: methane alone at 60 % excess air stays below 2500 °C.
    r = TrovaSupporto(casoRifiuto(), metano, ModelloTemperatura::Nasa, 2500);
    EXPECT_TRUE(r.esito == RicercaSupporto::Esito::NonRaggiungibile && r.frase.starts_with("Non raggiungibile")) << r.frase;
    // Found, for either model: the flow meets the target, 0.01 kg/h less does not.
    for (auto modello : {ModelloTemperatura::Nasa, ModelloTemperatura::Tabella}) {
        SCOPED_TRACE(static_cast<int>(modello));
        r = TrovaSupporto(casoRifiuto(), metano, modello, 850);
        ASSERT_EQ(r.esito, RicercaSupporto::Esito::Trovato) << r.frase;
        EXPECT_NE(r.frase.find("kg/h"), std::string::npos);
        for (auto [q, sopra] : {std::pair{r.portata, true}, {r.portata - 0.01, false}}) {
            Modulo1 m;
            ASSERT_TRUE(CalcolaCasoConSupporto(casoRifiuto(), {TipoSupporto::Metano, q, 0, {}}, m).completato);
            EXPECT_EQ(TemperaturaModello(m, modello) >= 850, sopra) << q;
        }
    }
}
