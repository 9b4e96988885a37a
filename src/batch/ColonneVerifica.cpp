#include "batch/ColonneVerifica.h"

#include "batch/Csv.h"
#include "model/Formato.h"
#include "model/Messaggi.h"
#include "vista/Scelte.h"

namespace termix::batch {

namespace {

std::optional<double> numero(std::string_view t) {
    return t.find(',') != std::string_view::npos ? LeggiNumero(t) : LeggiNumeroPunto(t);
}

// The cells as the window's boxes: the model has no column, so the option's.
vista::TestoCampo celle(const std::array<int, NumeroGrandezze>& campoDiColonna, std::span<const std::string_view> campi) {
    return [&campoDiColonna, campi](const vista::CampoVerifica& c) {
        if (!c.grandezza) return std::string();
        const int pos = campoDiColonna[Indice(c.grandezza->id)];
        return pos < 0 || static_cast<std::size_t>(pos) >= campi.size() ? std::string() : std::string(campi[pos]);
    };
}

// A cell that is no number, located: its column and its text.
Dettaglio nonNumero(const vista::LetturaVerifica& l, const vista::TestoCampo& cella) {
    if (!l.campo || !l.campo->grandezza || l.rifiuto != messaggi::UsareNumeri) return {};
    return {"colonna " + std::string(l.campo->grandezza->nome),
            "\"" + std::string(Rifilato(cella(*l.campo))) + "\" non è un numero"};
}

}  // namespace

std::optional<std::string> LeggiModello(std::string_view testo, OpzioniVerifica& o) {
    if (const auto m = vista::SceltaDi(vista::ScelteModello, testo)) {
        o.predefiniti.parametri.modello = *m;
        return std::nullopt;
    }
    std::string nomi;
    for (const auto& s : vista::ScelteModello) nomi += (nomi.empty() ? "" : " o ") + std::string(s.nome);
    return "--modello: \"" + std::string(testo) + "\" sconosciuto (" + nomi + ")";
}

std::optional<std::string> LeggiParametro(std::string_view opzione, std::string_view testo, OpzioniVerifica& o) {
    ParametriVerifica p = o.predefiniti.parametri;
    const auto o2 = opzione == "--o2-riferimento" ? vista::SceltaDi(vista::ScelteO2, testo) : std::nullopt;
    if (o2) {
        p.o2Riferimento = vista::O2Di(*o2);
    } else {
        const auto v = numero(testo);
        if (!v) return std::string(opzione) + ": numero non valido: \"" + std::string(testo) + "\"";
        if (opzione == "--permanenza") p.tempoPermanenza = *v;
        else if (opzione == "--o2-riferimento") p.o2Riferimento = *v;
        else if (opzione == "--conversione-so3") p.conversioneSO3 = *v;
        else if (opzione == "--obiettivo-rif") p.obiettivo = *v;
        else if (opzione == "--temp-equilibrio") p.tempEquilibrio = *v;
    }
    if (auto errore = ControllaParametri(p)) return std::string(opzione) + ": " + errore->messaggio;
    o.predefiniti.parametri = p;
    return std::nullopt;
}

DifettoExtra LeggiExtra(const std::array<int, NumeroGrandezze>& campoDiColonna,
                        std::span<const std::string_view> campi, char sep, const OpzioniVerifica& o,
                        vista::IngressiVerifica& out, std::string& messaggio, Dettaglio& dove) {
    const vista::TestoCampo cella = celle(campoDiColonna, campi);
    const vista::LetturaVerifica l = vista::LeggiVerifica(cella, sep, o.predefiniti);
    out = l.ingressi;
    messaggio = l.rifiuto;
    if (Dettaglio d = nonNumero(l, cella); !d.causa.empty()) dove = std::move(d);
    if (l.sceltaSconosciuta) return DifettoExtra::Sconosciuto;
    return l.rifiuto.empty() ? DifettoExtra::Nessuno : DifettoExtra::Rifiuto;
}

vista::LetturaVerifica LeggiCamino(const std::array<int, NumeroGrandezze>& campoDiColonna,
                                   std::span<const std::string_view> campi, char sep,
                                   const vista::IngressiVerifica& in) {
    const vista::TestoCampo cella = celle(campoDiColonna, campi);
    vista::LetturaVerifica l = vista::LeggiVerifica(cella, sep, in, true);
    if (const Dettaglio d = nonNumero(l, cella); !d.causa.empty()) l.rifiuto = d.testo();
    return l;
}

void ScriviNomiVerifica(std::string& out, char sep, const OpzioniVerifica& o) {
    auto nome = [&](const char* n) {
        out.push_back(sep);
        out += n;
    };
    if (o.attiva) {
        for (const Grandezza* g : ConUso(UscitaVerifica)) nome(g->nome);
        nome("Verdetto");
    }
    if (o.camino) {
        for (const Grandezza* g : ConUso(UscitaCamino)) nome(g->nome);
        nome(ColonnaNoteCamino);
    }
}

void ScriviVerifica(std::string& out, const vista::GiudizioVerifica* g, const vista::EsitoCaminoVista* c, char sep,
                    const OpzioniVerifica& o) {
    auto valori = [&](Uso u, const RisultatiVerifica* r) {
        for (const Grandezza* q : ConUso(u)) {
            out.push_back(sep);
            if (!r) continue;
            if (const auto& x = r->*q->risultato) ScriviNumero(out, *x, sep);
        }
    };
    if (o.attiva) {
        valori(UscitaVerifica, g ? &g->risultati : nullptr);
        out.push_back(sep);
        if (g) ScriviCampo(out, g->verdetto, sep);
    }
    if (o.camino) {
        valori(UscitaCamino, c && c->calcolato ? &c->camino.risultati : nullptr);
        out.push_back(sep);
        if (c) ScriviCampo(out, vista::NoteCamino(*c), sep);
    }
}

}  // namespace termix::batch
