#include "combustion/Avvisi.h"

#include <cmath>

#include "combustion/PolinomiNasa.h"
#include "combustion/Supporto.h"
#include "combustion/Verifica.h"
#include "model/Costanti.h"
#include "model/Formato.h"

namespace termix {

namespace {

using Q = Quantita;
using namespace costanti;

// A value in a sentence: cut to the decimals its box shows, or 15 digits.
std::string valore(double x, const Grandezza& g) {
    if (g.decimali >= 0 && std::isfinite(x) && std::fabs(x) < 1e300) return FormatoTroncato(x, g.decimali);
    return TestoNumero(x);
}

std::string conUnita(double x, const Grandezza& g) {
    std::string t = valore(x, g);
    if (*g.unita) t += std::string(" ") + g.unita;
    return t;
}

struct Raccolta {
    std::vector<Avviso>& lista;
    void operator()(Quantita q, std::string testo) { lista.push_back({q, std::string(Info(q).etichetta) + testo}); }
};

void controllaIngressi(const IngressiCaso& caso, Raccolta& avvisa) {
    for (const Grandezza* g : ConUso(Ingresso)) {
        if (!g->variabile || !g->motivo) continue;
        // The choices decide which boxes the run reads: the atoms only for an
        // atomic formula, the fractions only for weight fractions, neither for methane.
        const bool atomo = g->id >= Q::AtomiC && g->id <= Q::AtomiN;
        const bool frazione = g->id >= Q::FrazC && g->id <= Q::Acqua;
        const bool inertiAcqua = g->id == Q::Inerti || g->id == Q::Acqua;
        if (caso.tipo == TipoCombustibile::Metano && (atomo || frazione)) continue;
        if (atomo && caso.composizione != Composizione::Atomica) continue;
        if (frazione && !inertiAcqua && caso.composizione != Composizione::Ponderale) continue;
        if (g->id == Q::PotereCalorifico && !caso.potereDigitato) continue;
        const double x = (caso.valori.*g->variabile).v;
        if (x >= g->minimo && x <= g->massimo) continue;
        std::string t = " " + conUnita(x, *g) + ": fuori dall'intervallo fisico, ";
        if (std::isinf(g->massimo))
            t += "da " + TestoNumero(g->minimo) + (*g->unita ? std::string(" ") + g->unita : std::string()) + " in su";
        else
            t += "da " + TestoNumero(g->minimo) + " a " + TestoNumero(g->massimo) +
                 (*g->unita ? std::string(" ") + g->unita : std::string());
        avvisa(g->id, t + " (" + g->motivo + ")");
    }
    if (caso.tipo == TipoCombustibile::Altri && caso.composizione == Composizione::Ponderale) {
        double somma = 0;
        for (Numero Modulo1::*f : FrazioniPonderali) somma += (caso.valori.*f).v;
        if (!(std::fabs(somma - 1) <= TolleranzaSomma))
            avvisa(Q::FrazC, " e le altre frazioni, inerti e acqua compresi, sommano a " + TestoNumero(somma) +
                                 ", non a 1 (tolleranza 0,001)");
    }
}

void controllaRisultati(const Modulo1& m, Raccolta& avvisa) {
    // Cl2 in the equilibrium's own terms: each Cl2 takes two HCl, so at most
    // half the HCl's mole fraction.
    const double massimoCl2 = m.FrazHCl.v / HClPerCl2 * PartiPerMilione;
    if (m.FrazHCl.v != 0) {
        if (m.ConcCl2.v > massimoCl2)
            avvisa(Q::ConcCl2, " " + conUnita(m.ConcCl2.v, Info(Q::ConcCl2)) +
                                   ": oltre il massimo che il cloro presente può dare (" +
                                   conUnita(massimoCl2, Info(Q::ConcCl2)) +
                                   "): il valore non è fisico; il Cl2 di equilibrio è in Verifica (ConcCl2Eq), da "
                                   "calcolare alla temperatura della camera (Temperatura di equilibrio)");
        if (m.FrazCl2.v == 0)
            avvisa(Q::ConcCl2, ": l'iterazione del cloro ha dato un valore negativo, portato a 0: il valore non è "
                               "affidabile e può differire tra piattaforme");
        else if (!(m.FrazO2.v >= O2PerCl2 * m.FrazCl2.v))
            avvisa(Q::ConcCl2, ": l'iterazione del cloro si è fermata per mancanza di ossigeno, non assestata: il "
                               "valore non è affidabile e può differire tra piattaforme");
    }
    if (m.PercVolO2.v < 0 || m.PercVolO2.v > 21)
        avvisa(Q::PercVolO2, " " + conUnita(m.PercVolO2.v, Info(Q::PercVolO2)) + ": fuori da 0-21 % vol");
    for (const Grandezza* g : ConUso(Uscita)) {
        if (!g->variabile || g->id == Q::TempFumi || g->ha(Ingresso)) continue;
        const double x = (m.*g->variabile).v;
        if (x < 0 && !(g->id == Q::PercVolO2 && m.PercVolO2.v < 0))
            avvisa(g->id, " " + conUnita(x, *g) + ": negativo, fisicamente impossibile");
    }
    if (m.TempFumi.v < m.TempAria.v)
        avvisa(Q::TempFumi, " " + conUnita(m.TempFumi.v, Info(Q::TempFumi)) +
                                ": sotto la temperatura dell'aria (" + conUnita(m.TempAria.v, Info(Q::TempAria)) + ")");
    if (m.TempMediaFumi.v == TempMediaMassima)
        avvisa(Q::CaloreSpecificoFumi, ": la temperatura media dei fumi supera i 1250 K della tabella dei calori "
                                       "specifici, che vi è fermata: calore specifico e temperatura fumi sono stime");
    // The NASA polynomials hold from 200 K to 5000 K.
    const double T0 = m.TempAria.v + ZeroCelsius;
    if (T0 < nasa::TemperaturaMinima)
        avvisa(Q::TempFumiRif, ": l'aria è sotto i 200 K dei polinomi NASA: nessun valore");
    else if (m.EnergiaNetta.v > 0 && m.KmoliFumi.v > 0 &&
             CaloreFumiNasa(m, T0, nasa::TemperaturaMassima) < m.EnergiaNetta.v * KjPerKcal)
        avvisa(Q::TempFumiRif, ": i fumi andrebbero oltre i 5000 K dei polinomi NASA: nessun valore");
}

}  // namespace

std::vector<Avviso> AvvisiCaso(const IngressiCaso& caso, const Modulo1& m, bool completato) {
    std::vector<Avviso> lista;
    Raccolta avvisa{lista};
    controllaIngressi(caso, avvisa);
    if (completato) controllaRisultati(m, avvisa);
    return lista;
}

std::string TestoAvvisi(const std::vector<Avviso>& avvisi) {
    std::string t;
    for (const Avviso& a : avvisi) {
        if (!t.empty()) t += " | ";
        t += a.testo;
    }
    return t;
}

}  // namespace termix
