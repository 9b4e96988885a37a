// The page's Andamento section: the window's view model on the case now on the
// page. Each "Traccia" takes a fresh copy of that case, as opening the window
// does on the desktop; "Trova", the chart and the export work on the last sweep.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "vista/Andamento.h"
#include "wasm/Comune.h"
#include "wasm/CasoPagina.h"

using emscripten::val;

namespace termix::web {

namespace {

std::optional<vista::Andamento>& Ultimo() {
    static std::optional<vista::Andamento> a;
    return a;
}

Quantita Ingresso(const std::string& nome) {
    for (Quantita q : IngressiAndamento)
        if (nome == Info(q).nome) return q;
    val::global("Error").new_("grandezza non variabile: " + nome).throw_();
    return IngressiAndamento[0];
}

Quantita Risultato(const std::string& nome) {
    for (Quantita q : vista::RisultatiGrafico)
        if (nome == Info(q).nome) return q;
    val::global("Error").new_("risultato sconosciuto: " + nome).throw_();
    return vista::RisultatiGrafico[0];
}

val Rifiuto(const vista::RifiutoAndamento& r) {
    val o = val::object();
    o.set("messaggio", r.messaggio);
    o.set("casella", std::string(vista::NomeCasella(r.casella)));
    return o;
}

val Testi(const std::array<std::string, 3>& t) {
    val a = val::array();
    for (const auto& s : t) a.call<void>("push", s);
    return a;
}

// The section's lists, as the window has them: the inputs with their unit, the results with their colour.
val TestiAndamento() {
    val ingressi = val::array(), risultati = val::array();
    for (Quantita q : IngressiAndamento) {
        val o = val::object();
        o.set("nome", std::string(Info(q).nome));
        o.set("titolo", vista::TitoloAsse(Info(q)));
        ingressi.call<void>("push", o);
    }
    for (Quantita q : vista::RisultatiGrafico) {
        val o = val::object();
        o.set("nome", std::string(Info(q).nome));
        o.set("etichetta", std::string(Info(q).etichetta));
        o.set("colore", std::string(vista::ColoreRisultato(q)));
        risultati.call<void>("push", o);
    }
    val o = val::object();
    o.set("ingressi", ingressi);
    o.set("risultati", risultati);
    return o;
}

// The three boxes' texts when the input `nome` is chosen, around its value in the case now on the page.
val Predefinito(const std::string& nome) {
    return Testi(vista::TestiPredefiniti(CasoDellaPagina().caso, Ingresso(nome)));
}

// "Traccia": {messaggio, casella} on a refusal (the last sweep stays, without
// its answer), otherwise {testi}: what the three boxes show.
val Traccia(const std::string& nome, const std::string& da, const std::string& a, const std::string& passo) {
    const CasoPagina c = CasoDellaPagina();
    vista::Andamento nuovo(c.caso, c.impianto, c.combustibile, Ingresso(nome));
    const vista::RifiutoAndamento r = nuovo.traccia(da, a, passo);
    if (r) {
        if (Ultimo()) Ultimo()->annullaRisposta();
        return Rifiuto(r);
    }
    Ultimo() = std::move(nuovo);
    val o = val::object();
    o.set("testi", Testi(Ultimo()->testi()));
    return o;
}

bool Tracciato() { return Ultimo() && Ultimo()->tracciato(); }

// "Trova" on the last sweep: {messaggio, casella} or {frase}.
val Trova(const std::string& obiettivo) {
    if (!Ultimo()) val::global("Error").new_(std::string("Trova senza Traccia")).throw_();
    const vista::RifiutoAndamento r = Ultimo()->trova(obiettivo);
    if (r) return Rifiuto(r);
    val o = val::object();
    o.set("frase", Ultimo()->risposta());
    return o;
}

val Punto(const std::optional<vista::PuntoGrafico>& p) {
    if (!p) return val::null();
    val a = val::array();
    a.call<void>("push", p->x);
    a.call<void>("push", p->y);
    return a;
}

// x0, y0, x1, y1, ... as one Float64Array: a sweep can have 100,000 values.
val Coppie(const std::vector<vista::PuntoGrafico>& punti) {
    std::vector<double> xy;
    xy.reserve(2 * punti.size());
    for (const auto& p : punti) xy.insert(xy.end(), {p.x, p.y});
    return val::global("Float64Array").new_(val(emscripten::typed_memory_view(xy.size(), xy.data())));
}

// What the chart draws for the chosen results (their names), or null before a sweep.
val Grafico(const val& nomi) {
    if (!Tracciato()) return val::null();
    std::vector<Quantita> scelti;
    const unsigned n = nomi["length"].as<unsigned>();
    for (unsigned i = 0; i < n; ++i) scelti.push_back(Risultato(nomi[i].as<std::string>()));
    const vista::GraficoAndamento g = Ultimo()->grafico(scelti);
    val o = val::object();
    o.set("titoloX", g.titoloX);
    o.set("unitaX", g.unitaX);
    o.set("da", g.da);
    o.set("a", g.a);
    o.set("stato", Ultimo()->stato());
    val assi = val::array();
    for (const auto& a : g.assi) {
        val x = val::object();
        x.set("titolo", a.titolo);
        x.set("unita", a.unita);
        val soglie = val::array();
        for (double t : a.soglie) soglie.call<void>("push", t);
        x.set("soglie", soglie);
        if (a.minimo <= a.massimo) {
            x.set("minimo", a.minimo);
            x.set("massimo", a.massimo);
        }
        assi.call<void>("push", x);
    }
    o.set("assi", assi);
    val serie = val::array();
    for (const auto& s : g.serie) {
        val x = val::object();
        x.set("nome", std::string(Info(s.risultato).nome));
        x.set("etichetta", std::string(Info(s.risultato).etichetta));
        x.set("colore", std::string(vista::ColoreRisultato(s.risultato)));
        x.set("asse", unsigned(s.asse));
        val tratti = val::array();
        for (const auto& t : s.tratti) tratti.call<void>("push", Coppie(t));
        x.set("tratti", tratti);
        x.set("caso", Punto(s.caso));
        x.set("obiettivo", Punto(s.obiettivo));
        serie.call<void>("push", x);
    }
    o.set("serie", serie);
    return o;
}

// "Esporta CSV": the bytes termix54-batch --variando writes, or null before a sweep.
val Csv() { return Tracciato() ? Byte(Ultimo()->csv()) : val::null(); }

// "Nuovo caso": no sweep any more.
void Nuovo() { Ultimo().reset(); }

}  // namespace

EMSCRIPTEN_BINDINGS(termix54_andamento) {
    emscripten::function("andamentoTesti", &TestiAndamento);
    emscripten::function("andamentoPredefinito", &Predefinito);
    emscripten::function("andamentoTraccia", &Traccia);
    emscripten::function("andamentoTracciato", &Tracciato);
    emscripten::function("andamentoTrova", &Trova);
    emscripten::function("andamentoGrafico", &Grafico);
    emscripten::function("andamentoCsv", &Csv);
    emscripten::function("andamentoNuovo", &Nuovo);
}

}  // namespace termix::web
