#include "combustion/Camino.h"

#include <cmath>

#include "combustion/Combustione.h"
#include "combustion/Verifica.h"
#include "model/Costanti.h"
#include "model/Formato.h"

namespace termix {

namespace {

using namespace costanti;

// Beyond this the balance's products would overflow long before a share moved.
constexpr double EccessoMassimo = 1e200;  // %
// Far enough for the share to be the air's own to the last digit shown.
constexpr double EccessoInfinito = 1e15;  // %

double quotaCO2(const Modulo1& m, BaseO2) { return QuotaCO2(m); }

const char* sullaBase(BaseO2 b) { return b == BaseO2::Secco ? "sul secco" : "sull'umido"; }

std::string percento(double x) { return FormatoTroncato(x, 2) + " % vol"; }

// The excess air and what ±0.1 % vol of the analyser moves it: half the span
// between the two readings, each held within what the balance can give.
struct Misura {
    std::optional<double> eccesso, incertezza;
};
Misura misura(const Modulo1& base, QuotaFumi quota, BaseO2 b, double valore, double minimo, double massimo) {
    Misura x;
    x.eccesso = EccessoPerQuota(base, quota, b, valore);
    if (!x.eccesso) return x;
    const auto a = EccessoPerQuota(base, quota, b, std::max(minimo, valore - PrecisioneAnalizzatore));
    const auto c = EccessoPerQuota(base, quota, b, std::min(massimo, valore + PrecisioneAnalizzatore));
    if (a && c) x.incertezza = std::fabs(*c - *a) / 2;
    return x;
}

}  // namespace

std::optional<RifiutoCamino> ControllaCamino(const ParametriCamino& p) {
    if (p.o2 && !(*p.o2 >= 0 && *p.o2 < O2Aria))
        return RifiutoCamino{"O2 misurato (O2Misurato): deve essere tra 0 e 21 % vol (21 escluso)", Quantita::O2Misurato};
    if (p.o2 && !p.base)
        return RifiutoCamino{"Base dell'O2 misurato (BaseO2): indicare secco o umido", Quantita::BaseO2};
    if (p.co2 && !(*p.co2 > 0 && *p.co2 <= Percento))
        return RifiutoCamino{"CO2 misurata (CO2Misurato): deve essere maggiore di 0 e non oltre 100 % vol",
                             Quantita::CO2Misurato};
    if (p.co && !(*p.co >= 0 && *p.co <= 1e6))
        return RifiutoCamino{"CO misurato (COMisurato): deve essere tra 0 e 1000000 ppm", Quantita::COMisurato};
    if (p.tempCamino && !std::isfinite(*p.tempCamino))
        return RifiutoCamino{"Temperatura al camino (TempCamino) non valida", Quantita::TempCamino};
    return std::nullopt;
}

void BilancioAdEccesso(Modulo1& m, double e) {
    m.EccessoAria = e;
    CalcolaUmiditaAria(m);
    CalcolaBilancioMassa(m);
    CalcolaBilancioEnergia(m);
}

double QuotaO2(const Modulo1& m, BaseO2 b) {
    const double gas = b == BaseO2::Secco ? m.KmoliFumi.v - m.KmoliH2O.v : m.KmoliFumi.v;
    return Percento * m.KmoliO2.v / gas;
}

double QuotaCO2(const Modulo1& m) { return Percento * m.KmoliCO2.v / (m.KmoliFumi.v - m.KmoliH2O.v); }

std::optional<double> EccessoPerQuota(const Modulo1& base, QuotaFumi quota, BaseO2 b, double valore) {
    Modulo1 m = base;
    auto f = [&](double e) {
        BilancioAdEccesso(m, e);
        return quota(m, b);
    };
    const double f0 = f(0);
    if (f0 == valore) return 0.0;
    // Every flow is linear in the excess air, so a share moves one way only.
    const bool cresce = f(1) > f0;
    auto raggiunto = [&](double x) { return cresce ? x >= valore : x <= valore; };
    if (raggiunto(f0) || !std::isfinite(f0)) return std::nullopt;
    double lo = 0, hi = 1;
    while (!raggiunto(f(hi))) {
        lo = hi;
        hi *= 2;
        if (hi > EccessoMassimo) return std::nullopt;
    }
    // Halved down to two neighbouring doubles, then the nearer of the two.
    for (;;) {
        const double mezzo = lo + (hi - lo) / 2;
        if (mezzo <= lo || mezzo >= hi) break;
        (raggiunto(f(mezzo)) ? hi : lo) = mezzo;
    }
    return std::fabs(f(lo) - valore) <= std::fabs(f(hi) - valore) ? lo : hi;
}

EsitoCamino CalcolaCamino(const Modulo1& base, const ParametriCamino& p, double conversioneSO3) {
    EsitoCamino out;
    if ((out.rifiuto = ControllaCamino(p))) return out;
    RisultatiVerifica& r = out.risultati;
    auto nota = [&](std::string t) { out.note.push_back(std::move(t)); };
    try {
        Modulo1& m = out.m;
        m = base;
        BilancioAdEccesso(m, 0);
        const double co2Massima = QuotaCO2(m);
        if (std::isfinite(co2Massima)) r.CO2Massima = co2Massima;
        if (p.co2 && !(*p.co2 <= co2Massima)) {
            out.rifiuto = RifiutoCamino{"CO2 misurata (CO2Misurato): oltre il massimo del combustibile, " +
                                            percento(std::isfinite(co2Massima) ? co2Massima : 0) +
                                            " sul secco (la CO2 senza eccesso d'aria)",
                                        Quantita::CO2Misurato};
            return out;
        }
        const double tempAria = m.TempAria.v;
        if (p.tempCamino && *p.tempCamino < tempAria) {
            out.rifiuto = RifiutoCamino{"Temperatura al camino (TempCamino): sotto quella dell'aria (" +
                                            TestoNumero(tempAria) + " °C)",
                                        Quantita::TempCamino};
            return out;
        }
        if (p.tempCamino && !(*p.tempCamino + ZeroCelsius >= TemperaturaDatiMinima &&
                              *p.tempCamino + ZeroCelsius <= TemperaturaDatiMassima)) {
            out.rifiuto = RifiutoCamino{"Temperatura al camino (TempCamino): fuori dall'intervallo dei dati "
                                        "termodinamici (da " + TestoNumero(TemperaturaDatiMinima - ZeroCelsius) +
                                            " a " + TestoNumero(TemperaturaDatiMassima - ZeroCelsius) + " °C)",
                                        Quantita::TempCamino};
            return out;
        }

        if (p.o2) {
            const Misura x = misura(base, QuotaO2, *p.base, *p.o2, 0, O2Aria);
            r.EccessoAriaMisurato = x.eccesso;
            r.IncertezzaEccessoO2 = x.incertezza;
            if (!x.eccesso) {
                Modulo1 aria = base;  // so much air that the gas is the air's own
                BilancioAdEccesso(aria, EccessoInfinito);
                nota("O2 misurato non raggiungibile: l'aria porta al più " + percento(QuotaO2(aria, *p.base)) +
                     " di O2 " + sullaBase(*p.base));
            }
        }
        if (p.co2) {
            const Misura x = misura(base, quotaCO2, BaseO2::Secco, *p.co2, 0, co2Massima);
            r.EccessoAriaDaCO2 = x.eccesso;
            r.IncertezzaEccessoCO2 = x.incertezza;
            if (!x.eccesso) nota("CO2 misurata non raggiungibile con alcun eccesso d'aria");
        }
        const auto &eO2 = r.EccessoAriaMisurato, &eCO2 = r.EccessoAriaDaCO2;
        const auto &uO2 = r.IncertezzaEccessoO2, &uCO2 = r.IncertezzaEccessoCO2;
        if (eO2 && eCO2 && uO2 && uCO2 && std::fabs(*eO2 - *eCO2) > *uO2 + *uCO2)
            nota("O2 e CO2 misurati danno eccessi d'aria diversi (" + FormatoTroncato(*eO2, 1) + " % e " +
                 FormatoTroncato(*eCO2, 1) + " %, oltre i " + FormatoTroncato(*uO2 + *uCO2, 1) +
                 " % che l'analizzatore spiega): la composizione del combustibile non corrisponde ai fumi");
        if (p.o2 || p.co2) {
            out.eccesso = eO2 ? eO2 : eCO2;
            out.misurato = true;
        } else {
            out.eccesso = base.EccessoAria.v;
            nota("nessun O2 o CO2 misurato: perdite all'eccesso d'aria del caso (" + TestoNumero(base.EccessoAria.v) +
                 " %)");
        }
        if (!out.eccesso) return out;

        BilancioAdEccesso(m, *out.eccesso);
        const double energia = m.EnergiaIngresso.v * KjPerKcal;  // kJ/h
        const double secco = m.KmoliFumi.v - m.KmoliH2O.v;      // kmol/h
        if (!(energia > 0)) {
            nota("energia in ingresso nulla: perdite non calcolabili");
            return out;
        }
        if (p.co) r.PerditaIncombusti = *p.co * 1e-6 * secco * PotereCO / energia * Percento;
        if (!p.tempCamino) return out;
        const double T0 = tempAria + ZeroCelsius, Tc = *p.tempCamino + ZeroCelsius;
        r.PerditaCamino = CaloreFumiNasa(m, T0, Tc) / energia * Percento;
        r.RendimentoCombustione = Percento - *r.PerditaCamino - r.PerditaIncombusti.value_or(0);
        r.PortataFumiCamino = m.KmoliFumi.v * VolumeMolareNormale * Tc / ZeroCelsius;
        if (const auto camera = TemperaturaFumiRif(m)) {
            if (*p.tempCamino <= *camera)
                r.CaloreRecuperabile = CaloreFumiNasa(m, Tc, *camera + ZeroCelsius) / SecondiOra;
            else
                nota("temperatura al camino oltre quella dei fumi in camera (" + FormatoTroncato(*camera, 1) +
                     " °C): nessun calore recuperabile");
        }
        // The stack corrodes where its gas is at or below a dew point.
        const double fumi = m.KmoliFumi.v;
        const PuntiDiRugiada d = RugiadeDi(Percento * m.KmoliH2O.v / fumi, 1e6 * m.KmoliSO2.v / fumi,
                                           1e6 * m.KmoliHCl.v / fumi, conversioneSO3);
        const std::pair<const char*, std::optional<double>> rugiade[] = {
            {"dell'acqua", d.acqua}, {"dell'acido solforico", d.solforica}, {"dell'acido cloridrico", d.cloridrica}};
        for (const auto& [nome, t] : rugiade)
            if (t && *p.tempCamino <= *t)
                nota(std::string("temperatura al camino pari o inferiore al punto di rugiada ") + nome + " (" +
                     FormatoTroncato(*t, 1) + " °C): condensa e corrosione");
    } catch (const ErroreAritmetico& e) {
        out.rifiuto = RifiutoCamino{"Calcolo del camino interrotto: " + std::string(e.what()), std::nullopt};
    }
    return out;
}

}  // namespace termix
