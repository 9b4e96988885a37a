#include "combustion/Supporto.h"

#include <cmath>
#include <limits>

#include "model/Formato.h"

namespace termix {

namespace {

// The support flows looked at double from the case's flow / 2^7, so that a
// support of a few percent of the case is bracketed closely, up to 2^40 times it.
constexpr double QuotaIniziale = 1.0 / 128;
constexpr int MassimoRaddoppi = 48;
// The support fuel alone is run at this flow to see the best it can reach.
constexpr double PortataSoloSupporto = 100;  // kg/h

std::string testoEsito(const EsitoOperazione& e) {
    std::string t = TestoEsito(e);
    return t.empty() ? "calcolo non completato" : t;
}

}  // namespace

const NomeVariata PortataSupporto = {"Portata combustibile di supporto", "kg/h", "massima", "minima"};

std::optional<RifiutoIngresso> ControllaSupporto(const Supporto& s) {
    if (!std::isfinite(s.portata) || s.portata < 0)
        return RifiutoIngresso{"La portata del combustibile di supporto non puo' essere negativa", Quantita::SupportoPortata};
    if (s.tipo != TipoSupporto::Ponderale) return std::nullopt;
    double somma = 0;
    for (double f : s.frazioni) {  // about several boxes: none to go back to
        if (!std::isfinite(f) || f < 0 || f > 1)
            return RifiutoIngresso{"Le frazioni del combustibile di supporto devono essere tra 0 e 1", std::nullopt};
        somma += f;
    }
    if (std::fabs(somma - 1) > TolleranzaSomma)
        return RifiutoIngresso{"Le frazioni del combustibile di supporto non sommano a 1 (somma " + TestoNumero(somma) + ")",
                               std::nullopt};
    if (!std::isfinite(s.potereCalorifico) || s.potereCalorifico <= 0)
        return RifiutoIngresso{"Il potere calorifico del combustibile di supporto deve essere maggiore di 0",
                               Quantita::SupportoPotereCalorifico};
    return std::nullopt;
}

bool ConSupporto(const Supporto& s) { return s.tipo != TipoSupporto::Nessuno && s.portata != 0; }

EsitoOperazione Miscela(const IngressiCaso& caso, const Supporto& s, IngressiCaso& miscela) {
    EsitoOperazione e;
    e.completato = true;
    if (!ConSupporto(s)) {
        miscela = caso;
        return e;
    }
    // The case's fuel as the calculation uses it: fractions and heating value after its fuel step.
    Modulo1 c;
    e = CombustibileCaso(caso, c);
    if (!e.completato) return e;
    std::array<double, 8> fs = s.frazioni;
    double potereS = s.potereCalorifico;
    if (s.tipo == TipoSupporto::Metano) {
        Modulo1 metano;
        CalcolaCombustibile(metano, TipoCombustibile::Metano, Composizione::Nessuna);
        for (size_t k = 0; k < fs.size(); ++k) fs[k] = (metano.*FrazioniPonderali[k]).v;
        potereS = metano.PotereCalorifico.v;
    }
    const double pc = caso.valori.PortataComb.v, totale = pc + s.portata;
    // Written as the case's value moved toward the support's by the support's
    // share: the same mean, exact when both fuels agree.
    const double quota = s.portata / totale;
    auto media = [&](double a, double b) { return a + (b - a) * quota; };
    miscela = caso;
    miscela.tipo = TipoCombustibile::Altri;
    miscela.composizione = Composizione::Ponderale;
    for (size_t k = 0; k < fs.size(); ++k)
        miscela.valori.*FrazioniPonderali[k] = media((c.*FrazioniPonderali[k]).v, fs[k]);
    miscela.valori.PotereCalorifico = media(c.PotereCalorifico.v, potereS);
    miscela.potereDigitato = true;
    miscela.valori.PortataComb = totale;
    return e;
}

EsitoOperazione CalcolaCasoConSupporto(const IngressiCaso& caso, const Supporto& s, Modulo1& m, TestiRisultati testi,
                                       const OsservaEsito& osserva) {
    if (!ConSupporto(s)) return CalcolaCaso(caso, m, testi, osserva);  // the case as it is, not a copy
    IngressiCaso miscela;
    EsitoOperazione e = Miscela(caso, s, miscela);
    if (!e.completato) {
        if (osserva) osserva(e);
        return e;
    }
    return CalcolaCaso(miscela, m, testi, osserva);
}

double TemperaturaModello(const Modulo1& m, ModelloTemperatura modello) {
    if (modello == ModelloTemperatura::Tabella) return m.TempFumi.v;
    return TemperaturaFumiRif(m).value_or(-std::numeric_limits<double>::infinity());
}

RicercaSupporto TrovaSupporto(const IngressiCaso& caso, const Supporto& s, ModelloTemperatura modello,
                              double obiettivo) {
    RicercaSupporto r;
    const std::string t = TestoNumero(obiettivo) + " °C";
    auto calcola = [&](double portata, PuntoAndamento& p) {
        Supporto conPortata = s;
        conPortata.portata = portata;
        p.valore = portata;
        const EsitoOperazione e = CalcolaCasoConSupporto(caso, conPortata, p.m);
        p.completato = e.completato;
        p.esito = e.completato ? "OK" : testoEsito(e);
    };
    auto leggi = [&](const PuntoAndamento& p) { return TemperaturaModello(p.m, modello); };

    std::vector<PuntoAndamento> punti(1);
    calcola(0, punti[0]);
    if (punti[0].completato && leggi(punti[0]) >= obiettivo) {
        r.esito = RicercaSupporto::Esito::NonNecessario;
        r.frase = "Combustibile di supporto non necessario: il caso raggiunge " + t + " (T = " +
                  FormatoTroncato(leggi(punti[0]), 1) + " °C)";
        return r;
    }
    // The support fuel alone is where the blend tends as its flow grows.
    IngressiCaso solo = caso;
    solo.valori.PortataComb = 0;
    PuntoAndamento limite;
    Supporto soloSupporto = s;
    soloSupporto.portata = PortataSoloSupporto;
    {
        const EsitoOperazione e = CalcolaCasoConSupporto(solo, soloSupporto, limite.m);
        limite.completato = e.completato;
        limite.esito = e.completato ? "OK" : testoEsito(e);
    }
    if (!limite.completato || !(leggi(limite) >= obiettivo)) {
        r.esito = RicercaSupporto::Esito::NonRaggiungibile;
        r.frase = "Non raggiungibile: il combustibile di supporto da solo, con questo eccesso d'aria, ";
        r.frase += limite.completato ? "arriva a " + FormatoTroncato(leggi(limite), 1) + " °C, sotto " + t
                                     : "non completa il calcolo (" + limite.esito + ")";
        return r;
    }
    // Flows doubling until the target is met, then the sweep's bisection.
    double portata = caso.valori.PortataComb.v > 0 ? caso.valori.PortataComb.v * QuotaIniziale : 1;
    for (int k = 0; k < MassimoRaddoppi; ++k, portata *= 2) {
        punti.emplace_back();
        calcola(portata, punti.back());
        if (punti.back().completato && leggi(punti.back()) >= obiettivo) break;
    }
    Obiettivo o = TrovaObiettivo(PortataSupporto, punti, obiettivo, calcola, leggi);
    switch (o.esito) {
    case Obiettivo::Esito::Trovato:
        r.esito = RicercaSupporto::Esito::Trovato;
        r.portata = o.valore;
        break;
    case Obiettivo::Esito::Interrotto:
        r.esito = RicercaSupporto::Esito::Interrotto;
        r.portata = o.valore;
        break;
    default:
        r.esito = RicercaSupporto::Esito::NonRaggiungibile;
    }
    r.frase = o.frase;
    return r;
}

}  // namespace termix
