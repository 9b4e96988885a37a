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
    if (auto errore = ControllaParametri(p)) return std::string(opzione) + ": " + *errore;
    o.predefiniti.parametri = p;
    return std::nullopt;
}

DifettoExtra LeggiExtra(const std::array<int, NumeroGrandezze>& campoDiColonna,
                        std::span<const std::string_view> campi, char sep, const OpzioniVerifica& o,
                        vista::IngressiVerifica& out, std::string& messaggio, Dettaglio& dove) {
    // The cells as the window's boxes: the model has no column, so the option's.
    auto cella = [&](const vista::CampoVerifica& c) {
        if (!c.grandezza) return std::string();
        const int pos = campoDiColonna[Indice(c.grandezza->id)];
        return pos < 0 || static_cast<std::size_t>(pos) >= campi.size() ? std::string() : std::string(campi[pos]);
    };
    const vista::LetturaVerifica l = vista::LeggiVerifica(cella, sep, o.predefiniti);
    out = l.ingressi;
    messaggio = l.rifiuto;
    if (l.campo && l.campo->grandezza && l.rifiuto == messaggi::UsareNumeri)
        dove = {"colonna " + std::string(l.campo->grandezza->nome),
                "\"" + std::string(Rifilato(cella(*l.campo))) + "\" non è un numero"};
    if (l.sceltaSconosciuta) return DifettoExtra::Sconosciuto;
    return l.rifiuto.empty() ? DifettoExtra::Nessuno : DifettoExtra::Rifiuto;
}

void ScriviNomiVerifica(std::string& out, char sep) {
    for (const Grandezza* g : ConUso(UscitaVerifica)) {
        out.push_back(sep);
        out += g->nome;
    }
    out.push_back(sep);
    out += "Verdetto";
}

void ScriviVerifica(std::string& out, const vista::GiudizioVerifica* g, char sep) {
    if (!g) {
        out.append(ConUso(UscitaVerifica).size() + 1, sep);
        return;
    }
    for (const Grandezza* c : ConUso(UscitaVerifica)) {
        out.push_back(sep);
        if (const auto& x = g->risultati.*c->risultato) ScriviNumero(out, *x, sep);
    }
    out.push_back(sep);
    ScriviCampo(out, g->verdetto, sep);
}

}  // namespace termix::batch
