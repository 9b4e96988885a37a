#include "combustion/Andamento.h"

#include <cmath>

#include "model/Formato.h"

namespace termix {

namespace {

using Q = Quantita;

std::string conUnita(double x, const NomeVariata& g) {
    std::string t = TestoNumero(x);
    if (*g.unita) t += std::string(" ") + g.unita;
    return t;
}

}  // namespace

const std::array<Quantita, 7> IngressiAndamento = {Q::EccessoAria, Q::TempAria, Q::UmiditaRelativa, Q::TempCeneri,
                                                   Q::Dispersioni, Q::PortataComb, Q::PotereCalorifico};
const std::array<Quantita, 6> RisultatiAndamento = {Q::TempFumi,   Q::ConcCl2,    Q::PortataFumi,
                                                    Q::PercVolO2,  Q::PercVolH2O, Q::CaloreSpecificoFumi};

const char* EtichettaVariata(const Grandezza& g) { return g.ha(Variabile) ? g.etichetta : g.nome; }
const char* UnitaVariata(const Grandezza& g) { return g.ha(Variabile) ? g.unita : ""; }

std::optional<std::string> ValoriAndamento(double da, double a, double passo, std::vector<double>& valori) {
    valori.clear();
    if (!std::isfinite(da) || !std::isfinite(a) || !std::isfinite(passo)) return "valori non finiti";
    if (!(passo > 0)) return "il passo deve essere positivo";
    if (a < da) return "il valore finale e' minore di quello iniziale";
    // A millionth of a step beyond `a` still counts: 0.1 * 3 is a hair above 0.3.
    const double n = std::floor((a - da) / passo + 1e-6);
    if (!(n < static_cast<double>(MassimoValori))) return "troppi valori (al massimo 100000)";
    for (long long k = 0; k <= static_cast<long long>(n); ++k) valori.push_back(da + static_cast<double>(k) * passo);
    return std::nullopt;
}

IngressiCaso CasoCon(const IngressiCaso& caso, const Grandezza& variata, double valore) {
    IngressiCaso c = caso;
    c.valori.*variata.variabile = valore;
    if (variata.id == Quantita::PotereCalorifico) c.potereDigitato = true;
    return c;
}

namespace {

void calcolaPunto(const IngressiCaso& caso, const Grandezza& variata, double valore, PuntoAndamento& p) {
    p.valore = valore;
    const EsitoOperazione e = CalcolaCaso(CasoCon(caso, variata, valore), p.m);
    p.completato = e.completato;
    p.esito = e.completato ? "OK" : TestoEsito(e);
    p.dettaglio = e.dettaglio;
}

}  // namespace

void CalcolaAndamento(const IngressiCaso& caso, const Grandezza& variata, std::span<const double> valori,
                      std::vector<PuntoAndamento>& punti) {
    punti.resize(valori.size());
    for (size_t k = 0; k < valori.size(); ++k) calcolaPunto(caso, variata, valori[k], punti[k]);
}

Obiettivo TrovaObiettivo(const IngressiCaso& caso, const Grandezza& variata, std::span<const PuntoAndamento> punti,
                         double temperatura) {
    return TrovaObiettivo(
        NomeDi(variata), punti, temperatura,
        [&](double x, PuntoAndamento& p) { calcolaPunto(caso, variata, x, p); },
        [](const PuntoAndamento& p) { return p.m.TempFumi.v; });
}

NomeVariata NomeDi(const Grandezza& g) { return {EtichettaVariata(g), UnitaVariata(g), g.aggettivoMassimo, g.aggettivoMinimo}; }

Obiettivo TrovaObiettivo(const NomeVariata& variata, std::span<const PuntoAndamento> punti, double temperatura,
                         const CalcolaPunto& calcola, const LeggiTemperatura& leggi) {
    Obiettivo o;
    const std::string t = TestoNumero(temperatura) + " °C";
    auto raggiunge = [&](const PuntoAndamento& p) { return leggi(p) >= temperatura; };
    const PuntoAndamento* precedente = nullptr;
    const PuntoAndamento *basso = nullptr, *alto = nullptr;
    int incroci = 0, completati = 0, sopra = 0;
    for (const auto& p : punti) {
        if (!p.completato) continue;  // a gap: its neighbours are compared across it
        ++completati;
        if (raggiunge(p)) ++sopra;
        if (precedente && raggiunge(*precedente) != raggiunge(p)) {
            ++incroci;
            basso = precedente;
            alto = &p;
        }
        precedente = &p;
    }
    const std::string intervallo = punti.empty() ? std::string()
                                                 : " tra " + TestoNumero(punti.front().valore) + " e " +
                                                       conUnita(punti.back().valore, variata);
    if (incroci == 0) {
        o.esito = Obiettivo::Esito::NessunIncrocio;
        if (completati == 0)
            o.frase = "Nessun caso calcolato" + intervallo;
        else
            o.frase = std::string("La temperatura dei fumi ") + (sopra ? "resta sopra " : "non raggiunge ") + t +
                      intervallo;
        return o;
    }
    if (incroci > 1) {
        o.esito = Obiettivo::Esito::PiuIncroci;
        o.frase = "La temperatura dei fumi incrocia " + t + " " + std::to_string(incroci) + " volte" + intervallo +
                  ": restringere l'intervallo";
        return o;
    }
    // Bisection on the exact calculation; the bracket's ends stay on the two sides.
    PuntoAndamento lo = *basso, hi = *alto, medio;
    while (hi.valore - lo.valore > PrecisioneObiettivo) {
        const double x = lo.valore + (hi.valore - lo.valore) / 2;
        if (x <= lo.valore || x >= hi.valore) break;  // no double between them
        calcola(x, medio);
        if (!medio.completato) {
            o.esito = Obiettivo::Esito::Interrotto;
            o.valore = x;
            o.frase = "Il calcolo si ferma a " + conUnita(x, variata) + ": " + medio.esito;
            return o;
        }
        (raggiunge(medio) == raggiunge(lo) ? lo : hi) = std::move(medio);
    }
    o.esito = Obiettivo::Esito::Trovato;
    o.finoA = raggiunge(lo);
    o.punto = o.finoA ? std::move(lo) : std::move(hi);
    o.valore = o.punto.valore;
    // Shown to 0.01, cut toward the side that meets the target.
    const double mostrato = o.finoA ? std::floor(o.valore * 100) / 100 : std::ceil(o.valore * 100) / 100;
    o.frase = std::string(variata.etichetta) + " " + (o.finoA ? variata.massimo : variata.minimo) + " per " + t +
              ": " + conUnita(mostrato, variata);
    return o;
}

}  // namespace termix
