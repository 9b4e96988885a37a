// The page as the forms are: one record kept between the user's steps, the
// boxes' texts and choices as the page shows them, and each button's handler
// run on them in the core, its effects handed back for the page to apply in
// order (texts, colours, choices, focus moves, messages, the section to show).
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <variant>
#include <vector>

#include "batch/Colonne.h"
#include "combustion/CalcoloCondizioni.h"
#include "fuel/CalcoloCombustibile.h"
#include "model/Formato.h"
#include "vista/Scelte.h"
#include "vista/Sessione.h"
#include "report/TabellaRisultati.h"
#include "wasm/Comune.h"
#include "wasm/CasoPagina.h"

using emscripten::val;

namespace termix::web {

namespace {

vista::Sessione& S() {
    static vista::Sessione s;
    return s;
}

std::string NomeBersaglio(const Bersaglio& b) {
    if (const Quantita* q = std::get_if<Quantita>(&b)) return Info(*q).nome;
    return vista::NomeRuolo(std::get<Ruolo>(b));
}

// The page's section of each screen.
const char* Sezione(Finestra f) {
    switch (f) {
        case Finestra::Form2: return "Combustibile";
        case Finestra::Form3: return "Condizioni";
        case Finestra::Form7:
        case Finestra::Form8: return "Risultati";
    }
    return "";
}

const char* NomeTipo(Effetto::Tipo t) {
    switch (t) {
        case Effetto::Tipo::Testo: return "testo";
        case Effetto::Tipo::Colore: return "colore";
        case Effetto::Tipo::Selezione: return "selezione";
        case Effetto::Tipo::Focus: return "focus";
        case Effetto::Tipo::Messaggio: return "messaggio";
        case Effetto::Tipo::Mostra: return "mostra";
    }
    return "";
}

// An outcome for the page: its effects, in order, to apply.
val Esito(const EsitoOperazione& e) {
    val effetti = val::array();
    for (const Effetto& f : e.effetti) {
        val o = val::object();
        o.set("tipo", std::string(NomeTipo(f.tipo)));
        if (f.tipo == Effetto::Tipo::Messaggio || f.tipo == Effetto::Tipo::Mostra)
            o.set("sezione", std::string(Sezione(f.finestra)));
        else
            o.set("bersaglio", NomeBersaglio(f.bersaglio));
        o.set("testo", f.testo);
        o.set("rosso", f.colore == Colore::Rosso);
        o.set("selezionato", f.selezionato);
        effetti.call<void>("push", o);
    }
    val esito = val::object();
    esito.set("effetti", effetti);
    esito.set("completato", e.completato);
    return esito;
}

Quantita Casella(const std::string& nome) {
    const Grandezza* g = TrovaGrandezza(nome);
    if (!g) val::global("Error").new_("casella sconosciuta: " + nome).throw_();
    return g->id;
}

// What the user did to a box: the focus came in, a text typed, the box left.
void Entra(const std::string& nome) { S().Entra(Casella(nome)); }
val Scrive(const std::string& nome, const std::string& testo) { return Esito(S().Scrive(Casella(nome), testo)); }
val Lascia() { return Esito(S().Lascia()); }
val Digita(const std::string& nome, const std::string& testo) { return Esito(S().Digita(Casella(nome), testo)); }
// The box being edited, or "".
std::string InModifica() {
    const auto q = S().inModifica();
    return q ? Info(*q).nome : "";
}

// An option of the fuel section chosen (its id, "TipoAltri"...).
val Scelta(const std::string& nome) {
    const auto r = vista::RuoloDiNome(nome);
    if (!r) val::global("Error").new_("scelta sconosciuta: " + nome).throw_();
    return Esito(S().Sceglie(*r));
}

// The buttons of the fuel and conditions sections.
val Combustibile() { return Esito(S().CalcolaCombustibile()); }
val Si() { return Esito(S().Si()); }
val Stima() { return Esito(S().No()); }
val Calcolo() { return Esito(S().Calcola()); }
val Precedente() { return Esito(S().Precedente()); }

// The report of what the page shows now.
val RapportoSessione(const std::string& data, const std::string& ora) {
    val esito = val::object();
    Rapporto(TestiVista(S().testi()), data, ora, esito);
    return esito;
}

// "Nuovo caso": a fresh record, every box empty.
void Nuovo() { S() = vista::Sessione(); }

// A box of the Verifica section, kept with the case; all of them back after a reload.
void Altro(const std::string& id, const std::string& testo) { S().ImpostaAltro(id, testo); }
val Altri() {
    val o = val::object();
    for (const auto& [id, testo] : S().altri()) o.set(id, testo);
    return o;
}

// The case for a reload: the text to keep, and the case back from it (the
// effects that show it), or null when the text is not a saved case.
std::string Salvato() { return S().Salvato(); }
val Ripristina(const std::string& testo) {
    EsitoOperazione e;
    if (!S().Ripristina(testo, e)) return val::null();
    return Esito(e);
}

// Every input and result the record holds now, at full precision: {name: number}.
val ValoriSessione() {
    val o = val::object();
    for (const Grandezza& g : Grandezze())
        if (g.variabile) o.set(g.nome, (S().record().*g.variabile).v);
    return o;
}

// The warnings of the last "Calcola": [{grandezza, testo}], in order.
val AvvisiSessione() {
    val a = val::array();
    for (const Avviso& x : S().avvisi()) {
        val o = val::object();
        o.set("grandezza", std::string(Info(x.grandezza).nome));
        o.set("testo", x.testo);
        a.call<void>("push", o);
    }
    return a;
}

// The case now on the page, as the Andamento and Verifica windows take it.
IngressiCaso CasoAttuale() { return S().Caso(); }

// The case now on the page as a record of the batch tool (';' convention):
// the texts and choices as shown, every number as the record holds it, so
// that the tool's runs on it (Andamento) start from the same case.
val RecordSessione() {
    const auto& v = S().testi();
    val r = val::object();
    for (const Grandezza* g : batch::ColonneIngresso()) {
        std::string t;
        if (g->id == Quantita::Tipo)
            t = vista::NomeDi(vista::ScelteTipo, v.tipo());
        else if (g->id == Quantita::Composizione)
            t = vista::NomeDi(vista::ScelteComposizione, v.composizione());
        else if (!g->variabile)
            t = v.testo(g->id);
        else
            ScriviNumero(t, (S().record().*g->variabile).v, ';');
        r.set(g->nome, t);
    }
    return r;
}

}  // namespace

CasoPagina CasoDellaPagina() {
    return {CasoAttuale(), S().testi().testo(Quantita::Impianto), S().testi().testo(Quantita::Combustibile)};
}

EMSCRIPTEN_BINDINGS(termix54_sessione) {
    emscripten::function("sessioneEntra", &Entra);
    emscripten::function("sessioneScrive", &Scrive);
    emscripten::function("sessioneLascia", &Lascia);
    emscripten::function("sessioneDigita", &Digita);
    emscripten::function("sessioneInModifica", &InModifica);
    emscripten::function("sessioneScelta", &Scelta);
    emscripten::function("sessioneCombustibile", &Combustibile);
    emscripten::function("sessioneSi", &Si);
    emscripten::function("sessioneStima", &Stima);
    emscripten::function("sessioneCalcolo", &Calcolo);
    emscripten::function("sessionePrecedente", &Precedente);
    emscripten::function("sessioneSalvato", &Salvato);
    emscripten::function("sessioneRipristina", &Ripristina);
    emscripten::function("sessioneAvvisi", &AvvisiSessione);
    emscripten::function("sessioneAltro", &Altro);
    emscripten::function("sessioneAltri", &Altri);
    emscripten::function("sessioneValori", &ValoriSessione);
    emscripten::function("sessioneRapporto", &RapportoSessione);
    emscripten::function("sessioneRecord", &RecordSessione);
    emscripten::function("sessioneNuovo", &Nuovo);
}

}  // namespace termix::web
