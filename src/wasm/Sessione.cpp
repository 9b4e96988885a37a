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
#include "report/TabellaRisultati.h"
#include "vista/Caselle.h"
#include "wasm/Comune.h"
#include "wasm/Sessione.h"

using emscripten::val;

namespace termix::web {

namespace {

struct Sessione {
    Modulo1 m;
    batch::VistaForme vista;
};

Sessione& S() {
    static Sessione s;
    return s;
}

// The page's ids of the roles, in the order of `Ruolo`.
constexpr const char* NomiRuoli[] = {"TipoMetano",  "TipoAltri",    "ComposizioneAtomica", "ComposizionePonderale",
                                     "Continua",    "TotaleVolume", "TotalePeso"};
static_assert(std::size(NomiRuoli) == NumeroRuoli);

std::string NomeBersaglio(const Bersaglio& b) {
    if (const Quantita* q = std::get_if<Quantita>(&b)) return Info(*q).nome;
    return NomiRuoli[static_cast<std::size_t>(std::get<Ruolo>(b))];
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

// The outcome for the page, after the session's view has taken it.
val Esito(const EsitoOperazione& e) {
    S().vista.applica(e);
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

const Grandezza& Casella(const std::string& nome) {
    const Grandezza* g = TrovaGrandezza(nome);
    if (!g) val::global("Error").new_("casella sconosciuta: " + nome).throw_();
    return *g;
}

// What a box now shows, as the user typed it or a choice cleared it.
void Testo(const std::string& nome, const std::string& testo) { S().vista.imposta(Casella(nome).id, testo); }

// A choice of the fuel form set or cleared.
void Scelta(const std::string& nome, bool selezionato) {
    for (std::size_t r = 0; r < NumeroRuoli; ++r)
        if (nome == NomiRuoli[r]) S().vista.seleziona(static_cast<Ruolo>(r), selezionato);
}

// The message for a text being typed, or "".
std::string Scrivendo(const std::string& testo) {
    const char* r = vista::RifiutoMentreScrive(testo);
    return r ? r : "";
}

// A numeric box left for another of its section: {testo, rifiuto}; a number
// read goes into the record.
val Lascia(const std::string& nome, const std::string& testo) {
    const Grandezza& g = Casella(nome);
    const vista::UscitaCampo u = vista::LasciaCampo(testo);
    val o = val::object();
    o.set("testo", u.testo);
    o.set("rifiuto", std::string(u.rifiuto ? u.rifiuto : ""));
    if (g.variabile && u.valore) S().m.*g.variabile = Numero(*u.valore);
    S().vista.imposta(g.id, u.rifiuto ? std::string() : u.testo);
    return o;
}

TipoCombustibile Tipo() {
    const auto& v = S().vista;
    return v.selezionato(Ruolo::Metano) ? TipoCombustibile::Metano
           : v.selezionato(Ruolo::Altri) ? TipoCombustibile::Altri : TipoCombustibile::Nessuno;
}

Composizione ComposizioneScelta() {
    const auto& v = S().vista;
    return v.selezionato(Ruolo::Atomica) ? Composizione::Atomica
           : v.selezionato(Ruolo::Ponderale) ? Composizione::Ponderale : Composizione::Nessuna;
}

// The fuel section's "Calcola", the heating value's "No", the conditions' "Calcola".
val Combustibile() { return Esito(CalcolaCombustibile(S().m, Tipo(), ComposizioneScelta())); }
val Stima() { return Esito(StimaPotereCalorifico(S().m)); }
val Calcolo() { return Esito(EseguiCalcolo(S().m)); }

// The report of what the page shows now.
val RapportoSessione(const std::string& data, const std::string& ora) {
    val esito = val::object();
    Rapporto(TestiVista(S().vista), data, ora, esito);
    return esito;
}

// "Nuovo caso": a fresh record, every box empty.
void Nuovo() { S() = Sessione(); }

// The case now on the page, as the Andamento and Verifica windows take it.
IngressiCaso CasoAttuale() { return CasoMostrato(Tipo(), ComposizioneScelta(), S().m); }

// The case now on the page as a record of the batch tool (';' convention):
// the texts and choices as shown, every number as the record holds it, so
// that the tool's runs on it (Andamento) start from the same case.
val RecordSessione() {
    const auto& v = S().vista;
    val r = val::object();
    for (const Grandezza* g : batch::ColonneIngresso()) {
        std::string t;
        if (g->id == Quantita::Tipo)
            t = v.selezionato(Ruolo::Metano) ? "Metano" : v.selezionato(Ruolo::Altri) ? "Altri" : "";
        else if (g->id == Quantita::Composizione)
            t = v.selezionato(Ruolo::Atomica) ? "Atomica" : v.selezionato(Ruolo::Ponderale) ? "Ponderale" : "";
        else if (!g->variabile)
            t = v.testo(g->id);
        else
            ScriviNumero(t, (S().m.*g->variabile).v, ';');
        r.set(g->nome, t);
    }
    return r;
}

}  // namespace

CasoPagina CasoDellaPagina() {
    return {CasoAttuale(), S().vista.testo(Quantita::Impianto), S().vista.testo(Quantita::Combustibile)};
}

EMSCRIPTEN_BINDINGS(termix54_sessione) {
    emscripten::function("sessioneTesto", &Testo);
    emscripten::function("sessioneScelta", &Scelta);
    emscripten::function("sessioneScrivendo", &Scrivendo);
    emscripten::function("sessioneLascia", &Lascia);
    emscripten::function("sessioneCombustibile", &Combustibile);
    emscripten::function("sessioneStima", &Stima);
    emscripten::function("sessioneCalcolo", &Calcolo);
    emscripten::function("sessioneRapporto", &RapportoSessione);
    emscripten::function("sessioneRecord", &RecordSessione);
    emscripten::function("sessioneNuovo", &Nuovo);
}

}  // namespace termix::web
