#include "combustion/Caso.h"

#include "model/Grandezze.h"

namespace termix {

EsitoOperazione CombustibileCaso(const IngressiCaso& in, Modulo1& m, const OsservaEsito& osserva) {
    m = Modulo1{};
    // The fuel calculation and the "&No" estimate read no condition, so the
    // boxes can all be stored before the first button; the heating value
    // comes after the fuel calculation, which may preset it.
    for (const Grandezza& g : Grandezze())
        if (g.ha(Ingresso) && g.variabile && g.id != Quantita::PotereCalorifico) m.*g.variabile = in.valori.*g.variabile;
    EsitoOperazione e = CalcolaCombustibile(m, in.tipo, in.composizione);
    if (osserva) osserva(e);
    if (!e.completato) return e;
    if (in.potereDigitato) {
        m.PotereCalorifico = in.valori.PotereCalorifico;
    } else if (in.tipo != TipoCombustibile::Metano) {
        e = StimaPotereCalorifico(m);
        if (osserva) osserva(e);
    }
    return e;
}

EsitoOperazione CalcolaCaso(const IngressiCaso& in, Modulo1& m, TestiRisultati testi, const OsservaEsito& osserva) {
    EsitoOperazione e = CombustibileCaso(in, m, osserva);
    if (!e.completato) return e;
    e = EseguiCalcolo(m, MassimoPassi, testi);
    if (osserva) osserva(e);
    return e;
}

IngressiCaso CasoMostrato(TipoCombustibile tipo, Composizione composizione, const Modulo1& m) {
    IngressiCaso caso;
    caso.tipo = tipo;
    caso.composizione = composizione;
    caso.valori = m;
    caso.potereDigitato = true;
    return caso;
}

std::string TestoEsito(const EsitoOperazione& e) {
    std::string t;
    for (const auto& ef : e.effetti) {
        if (ef.tipo != Effetto::Tipo::Messaggio) continue;
        if (!t.empty()) t += " | ";
        t += ef.testo;
    }
    return t;
}

}  // namespace termix
