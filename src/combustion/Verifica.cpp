#include "combustion/Verifica.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "combustion/Combustione.h"
#include "combustion/Equilibrio.h"
#include "combustion/PolinomiNasa.h"
#include "model/Formato.h"

namespace termix {

namespace {

using namespace costanti;


constexpr double PrecisioneTemperatura = 0.01;  // K or °C, the bisections' end

// Flue-gas heat content above `T0` at T, kJ/h for flows in kmol/h.
double caloreFumi(const std::array<double, NumeroSpecie>& n, double T0, double T) {
    double q = 0;
    for (int k = 0; k < NumeroSpecie; ++k)
        q += n[k] * (EntalpiaNasa(Specie(k), T) - EntalpiaNasa(Specie(k), T0));
    return q;
}

// The flue-gas flows of the record by species [kmol/h].
std::array<double, NumeroSpecie> kmoli(const Modulo1& m) {
    std::array<double, NumeroSpecie> n{};
    for (int k = 0; k < NumeroSpecie; ++k) n[k] = (m.*KmoliSpecie[k]).v;
    return n;
}

// Bisection on an increasing function to `precisione`: the point where f
// crosses 0 in [lo, hi], which must bracket it.
template <class F>
double bisezione(F f, double lo, double hi, double precisione) {
    while (hi - lo > precisione) {
        const double x = lo + (hi - lo) / 2;
        if (x <= lo || x >= hi) break;
        (f(x) < 0 ? lo : hi) = x;
    }
    return lo + (hi - lo) / 2;
}

// The program's vapour-pressure correlation (the air humidity step), mmHg at t °C.
double pressioneVapore(double t) { return PressioneVaporeAcqua(t + ZeroCelsius); }

std::optional<double> finito(double x) {
    if (!std::isfinite(x)) return std::nullopt;
    return x;
}

// A load on dry gas at the reference O2 [mg/Nm3], from its wet share.
struct Riferimento {
    double secco;    // dry share of the wet gas
    double fattore;  // (21 - reference) / (21 - dry O2), 1 without a reference
    std::optional<double> operator()(double frazioneUmida, double massaMolare) const {
        return finito(frazioneUmida / secco * massaMolare / VolumeMolareNormale * 1e6 * fattore);
    }
};

// The loads can be referred when the gas has a dry part and, with a
// reference, its dry O2 lies under the air's; otherwise why not.
std::optional<Riferimento> riferimento(double secco, std::optional<double> o2Secco, const ParametriVerifica& p,
                                       std::string& perche) {
    if (!o2Secco) {
        perche = "fumi senza parte secca: carichi non riferibili";
        return std::nullopt;
    }
    if (p.o2Riferimento && *o2Secco >= O2Aria) {
        perche = "O2 sul secco pari o superiore a 21 %: carichi non riferibili";
        return std::nullopt;
    }
    return Riferimento{secco, p.o2Riferimento ? (O2Aria - *p.o2Riferimento) / (O2Aria - *o2Secco) : 1};
}

std::string temperaturaInTesto(double kelvin) { return TestoNumero(kelvin - ZeroCelsius) + " °C"; }

// The gas at chemical equilibrium: the elements of the flue-gas flows; the
// adiabatic temperature at which its equilibrium mixture holds the flows'
// enthalpy at the air's temperature plus the net energy; the composition at
// the chosen temperature (that one by default).
void calcolaEquilibrio(const Modulo1& m, const ParametriVerifica& p, RisultatiVerifica& r) {
    using namespace equilibrio;
    const FumiEquilibrio f = FumiPerEquilibrio(m);
    const Moli& n = f.n;
    const double T0 = m.TempAria.v + ZeroCelsius;
    std::string& avviso = r.avvisoEquilibrio;
    const std::string intervallo = "fuori dall'intervallo dei dati termodinamici (da " +
                                   temperaturaInTesto(TemperaturaDatiMinima) + " a " +
                                   temperaturaInTesto(TemperaturaDatiMassima) + "): equilibrio non calcolato";
    if (!std::all_of(n.begin(), n.end(), [](double x) { return x >= 0 && std::isfinite(x); })) {
        avviso = "portate dei fumi negative: equilibrio non calcolato";
        return;
    }
    if (!(T0 >= TemperaturaDatiMinima && T0 <= TemperaturaDatiMassima)) {
        avviso = "temperatura dell'aria " + intervallo;
        return;
    }
    const Elementi b = ElementiDi(n);
    const double H = f.H;
    auto aggiungi = [&](const std::string& t) { avviso += (avviso.empty() ? "" : " | ") + t; };
    auto perche = [&](const Soluzione& s, const char* quale) {
        return s.esito == Esito::FuoriIntervallo ? quale + intervallo : std::string("equilibrio non trovato");
    };
    const Soluzione hp = EquilibrioHP(b, H, r.TempFumiRif ? *r.TempFumiRif + ZeroCelsius : 0, &n);
    if (hp) r.TempFumiEq = hp.stato.T - ZeroCelsius;
    else aggiungi(perche(hp, "temperatura adiabatica "));
    Soluzione tp = hp;
    if (p.tempEquilibrio) {
        tp = EquilibrioTP(b, *p.tempEquilibrio + ZeroCelsius, hp ? &hp.stato.n : &n);
        if (!tp) aggiungi(perche(tp, "temperatura di equilibrio "));
    }
    if (!tp) return;
    r.TempEquilibrio = p.tempEquilibrio ? *p.tempEquilibrio : tp.stato.T - ZeroCelsius;
    if (*r.TempEquilibrio < EquilibrioMinimoAffidabile)
        aggiungi("equilibrio sotto i " + TestoNumero(EquilibrioMinimoAffidabile) +
                 " °C: mancano acido solforico e condensazione, valori indicativi");

    const Moli& x = tp.stato.n;
    double totale = 0;
    for (double v : x) totale += v;
    auto quota = [&](Molecola s) { return x[static_cast<int>(s)] / totale; };
    // A species of an element the gas lacks has no figure.
    auto ppm = [&](Molecola s, Elemento e) {
        return b[static_cast<int>(e)] > 0 ? finito(quota(s) * 1e6) : std::nullopt;
    };
    r.ConcCOEq = ppm(Molecola::CO, Elemento::C);
    r.ConcNOEq = ppm(Molecola::NO, Elemento::N);
    r.ConcNO2Eq = ppm(Molecola::NO2, Elemento::N);
    r.ConcCl2Eq = ppm(Molecola::Cl2, Elemento::Cl);
    r.ConcHClEq = ppm(Molecola::HCl, Elemento::Cl);
    r.ConcSO2Eq = ppm(Molecola::SO2, Elemento::S);
    r.ConcSO3Eq = ppm(Molecola::SO3, Elemento::S);

    const double secco = 1 - quota(Molecola::H2O);
    std::string nonRiferibile;  // the flue gas's own reason is the verdict's already
    const auto carico =
        riferimento(secco, secco > 0 ? finito(quota(Molecola::O2) / secco * 100) : std::nullopt, p, nonRiferibile);
    if (!carico) return;
    if (r.ConcCOEq) r.CORifEq = (*carico)(quota(Molecola::CO), MassaMolareC + MassaMolareO2 / 2);
    if (r.ConcNOEq)
        r.NOxRifEq = (*carico)(quota(Molecola::NO) + quota(Molecola::NO2), MassaMolareN2 / 2 + MassaMolareO2);
    if (r.ConcCl2Eq) r.Cl2RifEq = (*carico)(quota(Molecola::Cl2), MassaMolareCl2);
}

}  // namespace

FumiEquilibrio FumiPerEquilibrio(const Modulo1& m) {
    FumiEquilibrio f;
    const std::array<double, NumeroSpecie> fumi = kmoli(m);
    std::copy(fumi.begin(), fumi.end(), f.n.begin());  // the first species are the flue gas's, in its order
    f.H = equilibrio::EntalpiaMiscela(f.n, m.TempAria.v + ZeroCelsius) + m.EnergiaNetta.v * KjPerKcal;
    return f;
}

double EntalpiaNasa(Specie s, double T) { return nasa::Entalpia(nasa::Molecola(IndiceSpecie(s)), T); }

double CaloreFumiNasa(const Modulo1& m, double T0, double T) {
    return caloreFumi(kmoli(m), T0, T);
}

std::optional<double> TemperaturaFumiRif(const Modulo1& m) {
    const std::array<double, NumeroSpecie> n = kmoli(m);
    const double energia = m.EnergiaNetta.v * KjPerKcal;  // kJ/h
    const double T0 = m.TempAria.v + ZeroCelsius;
    if (!(energia > 0) || !std::isfinite(T0)) return std::nullopt;
    auto f = [&](double T) { return caloreFumi(n, T0, T) - energia; };
    if (!(f(nasa::TemperaturaMassima) >= 0)) return std::nullopt;
    return finito(bisezione(f, T0, nasa::TemperaturaMassima, PrecisioneTemperatura) - ZeroCelsius);
}

std::optional<double> RugiadaAcqua(double percH2O) {
    if (!(percH2O > 0) || percH2O > 100) return std::nullopt;
    const double p = percH2O / 100 * PressioneTotale;
    constexpr double lo = -100, hi = 110;  // °C; 760 mmHg is reached near 100 °C
    if (pressioneVapore(lo) > p) return std::nullopt;
    return bisezione([&](double t) { return pressioneVapore(t) - p; }, lo, hi, PrecisioneTemperatura);
}

// Verhoff, F.H. and Banchero, J.T., "Predicting dew points of flue gases",
// Chem. Eng. Progress 70 (8), 1974: partial pressures in mmHg, T in K.
std::optional<double> RugiadaSolforica(double percH2O, double ppmSO3) {
    if (!(percH2O > 0) || !(ppmSO3 > 0)) return std::nullopt;
    const double a = std::log(percH2O / 100 * PressioneTotale), s = std::log(ppmSO3 * 1e-6 * PressioneTotale);
    return finito(1000 / (2.276 - 0.0294 * a - 0.0858 * s + 0.0062 * a * s) - ZeroCelsius);
}

// Kiang, Y.-H., "Predicting dewpoints of acid gases", Chem. Eng. 88 (3), 1981:
// partial pressures in mmHg, T in K.
std::optional<double> RugiadaCloridrica(double percH2O, double ppmHCl) {
    if (!(percH2O > 0) || !(ppmHCl > 0)) return std::nullopt;
    const double a = std::log(percH2O / 100 * PressioneTotale), c = std::log(ppmHCl * 1e-6 * PressioneTotale);
    return finito(1000 / (3.7368 - 0.1591 * a - 0.0326 * c + 0.00269 * a * c) - ZeroCelsius);
}

PuntiDiRugiada RugiadeDi(double percH2O, double ppmSO2, double ppmHCl, double conversioneSO3) {
    return {RugiadaAcqua(percH2O), RugiadaSolforica(percH2O, ppmSO2 * conversioneSO3 / 100),
            RugiadaCloridrica(percH2O, ppmHCl)};
}

std::optional<RifiutoIngresso> ControllaParametri(const ParametriVerifica& p) {
    using Q = Quantita;
    if (!(p.tempoPermanenza > 0) || !std::isfinite(p.tempoPermanenza))
        return RifiutoIngresso{"Il tempo di permanenza deve essere maggiore di 0", Q::TempoPermanenza};
    if (p.diametro && (!(*p.diametro > 0) || !std::isfinite(*p.diametro)))
        return RifiutoIngresso{"Il diametro della camera deve essere maggiore di 0", Q::DiametroCamera};
    if (p.o2Riferimento && !(*p.o2Riferimento >= 0 && *p.o2Riferimento < O2Aria))
        return RifiutoIngresso{"L'O2 di riferimento deve essere tra 0 e 21 (21 escluso)", Q::O2Riferimento};
    if (!(p.conversioneSO3 >= 0 && p.conversioneSO3 <= 100))
        return RifiutoIngresso{"La conversione SO2 in SO3 deve essere tra 0 e 100", Q::ConversioneSO3};
    if (p.obiettivo && !std::isfinite(*p.obiettivo)) return RifiutoIngresso{"Temperatura obiettivo non valida", Q::ObiettivoRif};
    if (p.tempEquilibrio && !std::isfinite(*p.tempEquilibrio))
        return RifiutoIngresso{"Temperatura di equilibrio non valida", Q::TempEquilibrio};
    return std::nullopt;
}

double ObiettivoNormativo(const Modulo1& rifiuto) {
    return rifiuto.FrazCl.v > CloroPericoloso ? ObiettivoCloro : ObiettivoBase;
}

RisultatiVerifica CalcolaVerifica(const Modulo1& m, const ParametriVerifica& p) {
    RisultatiVerifica r;
    r.TempFumiRif = TemperaturaFumiRif(m);
    if (r.TempFumiRif) r.Differenza = *r.TempFumiRif - m.TempFumi.v;

    // The chamber: the actual gas flow at the chosen model's temperature.
    std::optional<double> portata;  // m3/h
    if (p.modello == ModelloTemperatura::Tabella) {
        r.Temperatura = m.TempFumi.v;
        portata = m.PortataVolFumi.v;
    } else if (r.TempFumiRif) {
        r.Temperatura = r.TempFumiRif;
        portata = m.PortataVolFumiNormale.v * (*r.TempFumiRif + ZeroCelsius) / ZeroCelsius;
    }
    if (portata) {
        r.VolumeCamera = finito(*portata * p.tempoPermanenza / 3600);
        if (p.diametro) {
            const double sezione = std::numbers::pi * *p.diametro * *p.diametro / 4;  // m2
            r.VelocitaCamera = finito(*portata / 3600 / sezione);
            if (r.VelocitaCamera) r.LunghezzaCamera = *r.VelocitaCamera * p.tempoPermanenza;
        }
    }

    // Loads on dry gas, referred to the reference oxygen (Directive 2010/75/EU, Annex VI).
    const double secco = 1 - m.PercVolH2O.v / 100;  // dry share of the wet gas
    if (secco > 0) r.O2Secco = finito(m.PercVolO2.v / secco);
    if (const auto carico = riferimento(secco, r.O2Secco, p, r.nonRiferibile)) {
        r.HClRif = (*carico)(m.PercVolHCl.v / 100, MassaMolareHCl);
        r.SO2Rif = (*carico)(m.PercVolSO2.v / 100, MassaMolareSO2);
        r.Cl2Rif = (*carico)(m.ConcCl2.v * 1e-6, MassaMolareCl2);
    }
    calcolaEquilibrio(m, p, r);

    const PuntiDiRugiada d = RugiadeDi(m.PercVolH2O.v, m.PercVolSO2.v * 1e4, m.PercVolHCl.v * 1e4, p.conversioneSO3);
    r.RugiadaAcqua = d.acqua;
    r.RugiadaSolforica = d.solforica;
    r.RugiadaCloridrica = d.cloridrica;
    return r;
}

}  // namespace termix
