#include "vista/Camino.h"

#include "model/Formato.h"

namespace termix::vista {

EsitoCaminoVista EseguiCamino(const IngressiCaso& caso, const IngressiVerifica& in) {
    EsitoCaminoVista e;
    IngressiCaso miscela;
    Modulo1 base;
    EsitoOperazione f = Miscela(caso, in.supporto, miscela);
    if (f.completato) f = CombustibileCaso(miscela, base);
    if (!f.completato) {
        e.rifiuto = "Calcolo interrotto: " + TestoEsito(f);
        return e;
    }
    e.camino = CalcolaCamino(base, in.camino, in.parametri.conversioneSO3);
    if (const auto& r = e.camino.rifiuto) {
        e.rifiuto = r->messaggio;
        if (r->campo) e.campo = &CampoDi(*r->campo);
        return e;
    }
    e.calcolato = true;
    return e;
}

EsitoCaminoVista CaminoDaTesti(const IngressiCaso& caso, const TestoCampo& testo) {
    LetturaVerifica l = LeggiVerifica(testo);
    if (l.rifiuto.empty()) l = LeggiVerifica(testo, ';', l.ingressi, true);
    if (l.rifiuto.empty()) return EseguiCamino(caso, l.ingressi);
    EsitoCaminoVista e;
    e.rifiuto = l.rifiuto;
    e.campo = l.campo;
    return e;
}

std::span<const Grandezza* const> RisultatiCaminoMostrati() { return ConUso(UscitaCamino); }

std::string TestoRisultatoCamino(const Grandezza& g, const EsitoCaminoVista& e) {
    if (!e.calcolato) return {};
    const std::optional<double> x = e.camino.risultati.*g.risultato;
    return x ? FormatoTroncato(*x, g.decimali) : NessunValore;
}

std::string NoteCamino(const EsitoCaminoVista& e) {
    std::string t = e.rifiuto;
    for (const std::string& n : e.camino.note) t += (t.empty() ? "" : " | ") + n;
    return t;
}

std::optional<std::string> EccessoDaApplicare(const EsitoCaminoVista& e) {
    if (!e.calcolato || !e.camino.misurato || !e.camino.eccesso) return std::nullopt;
    return TestoNumero(*e.camino.eccesso);
}

}  // namespace termix::vista
