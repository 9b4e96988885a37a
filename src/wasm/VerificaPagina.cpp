// The page's Verifica section on the Verifica view model, on the case now on
// the page: its inputs and result boxes, what an empty box stands for, "Calcola",
// "Trova supporto" and the bytes of "Salva", as the desktop window has them.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

#include "vista/Camino.h"
#include "vista/Verifica.h"
#include "wasm/Comune.h"
#include "wasm/CasoPagina.h"

using emscripten::val;

namespace termix::web {

namespace {

using vista::CampoVerifica;

const char* NomeGruppo(CampoVerifica::Gruppo g) {
    switch (g) {
        case CampoVerifica::Gruppo::Supporto: return "Supporto";
        case CampoVerifica::Gruppo::Frazioni: return "Frazioni";
        case CampoVerifica::Gruppo::Parametri: return "Parametri";
        case CampoVerifica::Gruppo::Equilibrio: return "Equilibrio";
        case CampoVerifica::Gruppo::Camino: return "Camino";
    }
    return "";
}

// A result box's id: its name, but for a result the page's Risultati section
// shows too (TempFumi), which takes "Verifica" after it.
std::string IdRisultato(const Grandezza& g) { return std::string(g.nome) + (g.ha(Mostrata) ? "Verifica" : ""); }

// The section's inputs, result boxes and texts.
val TestiVerifica() {
    val campi = val::array();
    for (const CampoVerifica& c : vista::CampiVerifica()) {
        val o = val::object();
        o.set("nome", std::string(c.nome));
        o.set("etichetta", c.etichetta);
        o.set("gruppo", std::string(NomeGruppo(c.gruppo)));
        val scelte = val::array();
        for (const auto& v : c.scelte) {
            val s = val::object();
            s.set("nome", std::string(v.nome));
            s.set("testo", std::string(v.testo));
            scelte.call<void>("push", s);
        }
        o.set("scelte", scelte);
        campi.call<void>("push", o);
    }
    val risultati = val::array();
    for (const Grandezza* g : vista::RisultatiVerificaMostrati()) {
        val o = val::object();
        o.set("id", IdRisultato(*g));
        o.set("etichetta", vista::EtichettaRisultato(*g));
        o.set("gruppo", std::string(g->ha(DiEquilibrio) ? vista::TitoloEquilibrio : ""));
        risultati.call<void>("push", o);
    }
    val camino = val::array();
    for (const Grandezza* g : vista::RisultatiCaminoMostrati()) {
        val o = val::object();
        o.set("id", std::string(g->nome));
        o.set("etichetta", vista::EtichettaRisultato(*g));
        camino.call<void>("push", o);
    }
    val o = val::object();
    o.set("campi", campi);
    o.set("risultati", risultati);
    o.set("risultatiCamino", camino);
    o.set("titoloNoteCamino", std::string(vista::TitoloNoteCamino));
    o.set("nessunEccesso", std::string(vista::NessunEccessoMisurato));
    o.set("titoloFrazioni", std::string(vista::TitoloFrazioni));
    o.set("titoloAvvisi", std::string(vista::TitoloAvvisi));
    o.set("nessunRisultato", std::string(vista::NessunRisultato));
    return o;
}

// What each empty box stands for on the case now on the page: {nome: testo}.
val Segnaposti() {
    const IngressiCaso caso = CasoDellaPagina().caso;
    val o = val::object();
    for (const CampoVerifica& c : vista::CampiVerifica()) o.set(c.nome, vista::TestoVuoto(c, caso));
    return o;
}

// The page's texts (`testi`: name -> text; a list gives its choice's name) as the view model reads them.
vista::TestoCampo Testi(const val& testi) {
    return [&testi](const CampoVerifica& c) {
        const val t = testi[c.nome];
        return t.isString() ? t.as<std::string>() : std::string();
    };
}

vista::LetturaVerifica Lettura(const val& testi) { return vista::LeggiVerifica(Testi(testi)); }

val Rifiuto(const std::string& messaggio, const CampoVerifica* campo) {
    val o = val::object();
    o.set("messaggio", messaggio);
    o.set("casella", std::string(campo ? campo->nome : ""));
    return o;
}

// "Calcola": {testi (id -> text), valori, verdetto, avvisi, righe, completato} or a refusal {messaggio, casella}.
val Calcola(const val& testi) {
    const vista::LetturaVerifica l = Lettura(testi);
    if (!l.rifiuto.empty()) return Rifiuto(l.rifiuto, l.campo);
    const vista::EsitoVerifica e = vista::EseguiVerifica(CasoDellaPagina().caso, l.ingressi);
    val risultati = val::object(), valori = val::object();
    for (const Grandezza* g : vista::RisultatiVerificaMostrati()) {
        risultati.set(IdRisultato(*g), vista::TestoRisultato(*g, e));
        if (g->risultato && e.completato)
            if (const auto& x = e.giudizio.risultati.*g->risultato) valori.set(g->nome, *x);
    }
    val avvisi = val::array();
    for (const Avviso& a : e.giudizio.avvisi) avvisi.call<void>("push", a.testo);
    val righe = val::array();
    for (const auto& r : vista::RigheVerifica(e, l.ingressi)) righe.call<void>("push", r);
    val o = val::object();
    o.set("testi", risultati);
    o.set("valori", valori);  // full precision, for the tests
    o.set("verdetto", e.verdetto);
    o.set("avvisi", avvisi);
    o.set("righe", righe);
    o.set("completato", e.completato);
    return o;
}

// "Trova supporto": {portata (the flow box's text, or absent), frase} or a refusal.
val Trova(const val& testi) {
    const vista::LetturaVerifica l = Lettura(testi);
    if (!l.rifiuto.empty()) return Rifiuto(l.rifiuto, l.campo);
    const vista::EsitoTrova t = vista::TrovaSupportoVerifica(CasoDellaPagina().caso, l.ingressi);
    if (!t.rifiuto.empty()) return Rifiuto(t.rifiuto, t.campo);
    val o = val::object();
    if (t.portata) o.set("portata", *t.portata);
    o.set("frase", t.ricerca.frase);
    return o;
}

// The stack's "Calcola": {testi (id -> text), valori, note, eccesso (the excess-air box's text, or absent)}
// or a refusal {messaggio, casella}.
val Camino(const val& testi) {
    const vista::EsitoCaminoVista e = vista::CaminoDaTesti(CasoDellaPagina().caso, Testi(testi));
    if (!e.calcolato) return Rifiuto(e.rifiuto, e.campo);
    val risultati = val::object(), valori = val::object();
    for (const Grandezza* g : vista::RisultatiCaminoMostrati()) {
        risultati.set(g->nome, vista::TestoRisultatoCamino(*g, e));
        if (const auto& x = e.camino.risultati.*g->risultato) valori.set(g->nome, *x);
    }
    val note = val::array();
    for (const std::string& n : e.camino.note) note.call<void>("push", n);
    val o = val::object();
    o.set("testi", risultati);
    o.set("valori", valori);  // full precision, for the tests
    o.set("note", note);
    if (const auto x = vista::EccessoDaApplicare(e)) o.set("eccesso", *x);
    return o;
}

// The lines of "Salva" as the .txt bytes the window writes.
val ByteVerifica(const val& righe) {
    std::vector<std::string> r;
    const unsigned n = righe["length"].as<unsigned>();
    for (unsigned i = 0; i < n; ++i) r.push_back(righe[i].as<std::string>());
    return Byte(vista::ByteRighe(r));
}

}  // namespace

EMSCRIPTEN_BINDINGS(termix54_verifica) {
    emscripten::function("testiVerifica", &TestiVerifica);
    emscripten::function("sessioneSegnaposti", &Segnaposti);
    emscripten::function("sessioneVerifica", &Calcola);
    emscripten::function("sessioneTrovaSupporto", &Trova);
    emscripten::function("sessioneCamino", &Camino);
    emscripten::function("byteVerifica", &ByteVerifica);
}

}  // namespace termix::web
