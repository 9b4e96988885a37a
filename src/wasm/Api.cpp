// The page's window on the core and the batch tool: one case computed as the
// batch tool computes a record (with what the forms would show and the report
// file's bytes), and whole batch runs between two paths of the browser's
// file system (the page mounts the user's file and an output device there).
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "batch/Aiuto.h"
#include "batch/Batch.h"
#include "batch/Colonne.h"
#include "batch/Csv.h"
#include "batch/Record.h"
#include "batch/Variando.h"
#include "model/Grandezze.h"
#include "model/Messaggi.h"
#include "model/NumeroTesto.h"
#include "report/SalvaRapporto.h"
#include "wasm/Comune.h"

using emscripten::val;

namespace termix::web {

namespace {

// A record given as a JS object: numbers become the shortest text in the
// convention of `sep`, which reads it back to the same double.
void CampiDa(const val& record, char sep, std::vector<std::string>& nomi, std::vector<std::string>& valori) {
    const val chiavi = val::global("Object").call<val>("keys", record);
    const unsigned n = chiavi["length"].as<unsigned>();
    for (unsigned i = 0; i < n; ++i) {
        const std::string nome = chiavi[i].as<std::string>();
        const val v = record[nome];
        std::string testo;
        if (v.isNumber()) {
            ScriviNumero(testo, v.as<double>(), sep);
        } else if (v.isString()) {
            testo = v.as<std::string>();
        } else if (!v.isNull() && !v.isUndefined()) {
            testo = v.call<std::string>("toString");
        }
        nomi.push_back(nome);
        valori.push_back(std::move(testo));
    }
}

// The output columns of a record: Esito and the two names as text, the
// values as numbers (null when the cell is empty), as the output line reads back.
val Risultato(const batch::Intestazione& h, std::span<const std::string_view> campi, const batch::RisultatoRecord& r,
              char sep) {
    std::string testa, riga;
    batch::ScriviIntestazione(testa, sep);
    batch::ScriviRecord(riga, h, 1, campi, r);
    std::vector<std::string> colonne, celle;
    batch::LettoreCsv lettore;
    auto raccogli = [](std::vector<std::string>& dove) {
        return [&dove](const batch::RecordCsv& rec) {
            for (auto c : rec.campi) dove.emplace_back(c);
        };
    };
    lettore.alimenta(testa.data(), testa.size(), raccogli(colonne));
    lettore.alimenta(riga.data(), riga.size(), raccogli(celle));
    val risultato = val::object();
    risultato.set("Riga", 1);
    for (std::size_t i = 1; i < colonne.size() - ColonneValori().size(); ++i) risultato.set(colonne[i], celle[i]);
    // The cells hold the shortest text of each value ("0" for either zero):
    // the value itself, without reading the text back.
    const bool valori = r.stato == batch::RisultatoRecord::Stato::Completato;
    for (const Grandezza* c : ColonneValori()) {
        const double v = (r.m.*c->variabile).v;
        risultato.set(c->nome, valori ? val(v == 0.0 ? 0.0 : v) : val::null());
    }
    return risultato;
}

struct Letto {
    std::vector<std::string> nomi, valori;
    std::vector<std::string_view> vValori;
    batch::Intestazione h;
};

void Leggi(const val& record, char sep, Letto& l) {
    CampiDa(record, sep, l.nomi, l.valori);
    std::vector<std::string_view> vNomi(l.nomi.begin(), l.nomi.end());
    l.vValori.assign(l.valori.begin(), l.valori.end());
    if (auto errore = batch::LeggiIntestazione(vNomi, sep, l.h)) throw std::runtime_error(*errore);
}

// The output columns only, as Termix54.calcola gives them.
val RisultatoOLancia(const val& record, char sep) {
    Letto l;
    Leggi(record, sep, l);
    batch::RisultatoRecord r;
    batch::ElaboraRecord(l.h, l.vValori, batch::Difetto::Nessuno, r);
    return Risultato(l.h, l.vValori, r, sep);
}

// One record as the batch tool computes it, in the ';' convention (the
// decimal comma, as typed in the forms) or the ',' one (the decimal point).
// The result: `risultato` (the output columns), `testi` (quantity name ->
// what its box shows, cut to its decimals), and with a date and
// time `rapporto` (the .TXT bytes) and `righe` (its lines, UTF-8). An
// unusable header throws its message.
val CasoOLancia(const val& record, char sep, const val& data, const val& ora) {
    Letto l;
    Leggi(record, sep, l);
    batch::RisultatoRecord r;
    batch::VistaForme vista;
    batch::ElaboraRecord(l.h, l.vValori, batch::Difetto::Nessuno, r, &vista);

    val testi = val::object();
    for (const Grandezza& g : Grandezze())
        if (const std::string& t = vista.testo(g.id); !t.empty()) testi.set(g.nome, t);
    val esito = val::object();
    esito.set("risultato", Risultato(l.h, l.vValori, r, sep));
    esito.set("completato", r.stato == batch::RisultatoRecord::Stato::Completato);
    esito.set("testi", testi);
    if (r.stato == batch::RisultatoRecord::Stato::Completato && data.isString()) {
        Rapporto(TestiVista(vista), data.as<std::string>(), ora.as<std::string>(), esito);
    }
    return esito;
}

// A C++ exception would reach the page as a bare number: its message instead.
template <class F>
val SenzaEccezioni(F&& f) {
    std::string messaggio;
    try {
        return f();
    } catch (const std::exception& e) {
        messaggio = e.what();
    }
    val::global("Error").new_(messaggio).throw_();
    return val::undefined();
}

char Separatore(const std::string& convenzione) { return convenzione == ";" ? ';' : ','; }

val Caso(const val& record, const std::string& convenzione, const val& data, const val& ora) {
    return SenzaEccezioni([&] { return CasoOLancia(record, Separatore(convenzione), data, ora); });
}

val RisultatoRecord(const val& record, const std::string& convenzione) {
    return SenzaEccezioni([&] { return RisultatoOLancia(record, Separatore(convenzione)); });
}

// A quantity of the table for the page: name, label, unit, decimals.
val Descrivi(const Grandezza& g) {
    val o = val::object();
    o.set("nome", std::string(g.nome));
    o.set("etichetta", std::string(g.etichetta));
    o.set("unita", std::string(g.unita));
    o.set("decimali", g.decimali);
    o.set("mostrata", g.ha(Mostrata));
    return o;
}

// The input columns in order, with `tipo` ("testo", "opzione", "numero") and
// `condizione` (typed on the conditions form, not the fuel form).
val ColonneIngresso() {
    val a = val::array();
    for (const Grandezza* g : batch::ColonneIngresso()) {
        val o = Descrivi(*g);
        const bool scelta = g->id == Quantita::Tipo || g->id == Quantita::Composizione;
        o.set("tipo", scelta ? "opzione" : g->variabile ? "numero" : "testo");
        o.set("condizione", Indice(g->id) >= Indice(Quantita::PotereCalorifico));
        if (const char* nota = batch::NotaColonna(g->id)) o.set("nota", std::string(nota));  // the label's tooltip
        a.call<void>("push", o);
    }
    return a;
}

// x as a result cell shows it: the shortest text, with the decimal comma.
std::string TestoNumero(double x) {
    std::string t;
    ScriviNumero(t, x, ';');
    return t;
}

// The computed columns of the output, in order.
val ColonneUscita() {
    val a = val::array();
    for (const Grandezza* g : ColonneValori()) a.call<void>("push", Descrivi(*g));
    return a;
}

// An option refused: its message, as the tool words it, and exit status 2.
int Uso(const std::string& m) {
    std::fprintf(stderr, "termix54-batch: %s\n", m.c_str());
    return 2;
}

// The tool's options for `ingresso` into `uscita` (paths of the page's file
// system), `conserva` as its option's text; the input opened. Its exit status
// when they are refused (the message on stderr), else 0.
int Opzioni(const std::string& ingresso, const std::string& uscita, const std::string& conserva, batch::OpzioniBatch& o) {
    o.inLinea = true;
    o.nomeIngresso = ingresso;
    o.nomeUscita = uscita;
    for (std::size_t i = 0; !conserva.empty() && i <= conserva.size();) {
        std::size_t j = conserva.find(',', i);
        if (j == std::string::npos) j = conserva.size();
        if (j == i) return Uso("nome di colonna vuoto in --conserva");
        o.conserva.push_back(conserva.substr(i, j - i));
        i = j + 1;
    }
    o.ingresso = std::fopen(ingresso.c_str(), "rb");
    if (!o.ingresso) {
        std::fprintf(stderr, "termix54-batch: impossibile aprire %s\n", ingresso.c_str());
        return 2;
    }
    return 0;
}

// termix54-batch with the tool's options as texts ("" = not given). Its
// messages go to stderr, as the tool's do. Returns the tool's exit status.
int Batch(const std::string& ingresso, const std::string& uscita, const std::string& conserva,
          const std::string& variando, const std::string& obiettivo) {
    batch::OpzioniBatch o;
    batch::Variando v;
    if (!variando.empty()) {
        if (auto e = batch::LeggiVariando(variando, v)) return Uso(*e);
        if (!obiettivo.empty())
            if (auto e = batch::LeggiObiettivo(obiettivo, v)) return Uso(*e);
        o.variando = &v;
    }
    if (int esito = Opzioni(ingresso, uscita, conserva, o)) return esito;
    const int esito = batch::EseguiBatch(o);
    std::fclose(o.ingresso);
    return esito;
}

// Room for `n` bytes that the caller fills through the view it gets back
// (before anything else runs in the module): a result or a batch of megabytes
// goes in with one copy, where embind's std::string would copy byte by byte.
val Area(std::string& area, unsigned n) {
    area.resize(n);
    return val(emscripten::typed_memory_view(n, reinterpret_cast<unsigned char*>(area.data())));
}

// The same run shared between the page's workers: this one reads, the batches
// (Uint8Arrays) go to the others (elaboraLotto) and their results come back in
// order; the caller writes the output: inizio(), then each batch's lines.
// `codifica` is the page's choice: "" (guessed), "utf-8", "windows-1252" or
// "utf-16" (the mark, if any, gives the byte order).
class LottiPagina {
public:
    LottiPagina(const std::string& ingresso, const std::string& conserva, const std::string& codifica,
                unsigned recordPerLotto) {
        if (codifica == "utf-8")
            o_.codifica = CodificaTesto::Utf8;
        else if (codifica == "windows-1252")
            o_.codifica = CodificaTesto::Windows1252;
        else if (codifica == "utf-16")
            o_.codifica = CodificaTesto::Utf16LE;
        else if (!codifica.empty())
            throw std::invalid_argument("codifica sconosciuta: " + codifica);
        o_.consigli = {"scegliere la codifica UTF-16 qui sopra", "scriverla in Colonne da conservare: "};
        esito_ = Opzioni(ingresso, "", conserva, o_);
        o_.nomeIngresso = ingresso.substr(ingresso.rfind('/') + 1);  // the user's file, not where the page put it
        if (!esito_) b_.emplace(o_, recordPerLotto);
    }
    ~LottiPagina() {
        if (o_.ingresso) std::fclose(o_.ingresso);
    }
    // The next batch, empty at the end.
    val prossimo() { return Byte(b_ ? b_->Prossimo() : std::string()); }
    double letti() const { return b_ ? static_cast<double>(b_->Letti()) : 0; }
    val testa() const { return Byte(b_ ? b_->Testa() : std::string()); }
    val inizio() { return Byte(b_ ? b_->Inizio() : std::string()); }
    // The result of the oldest batch out, put into area().
    val area(unsigned n) { return Area(area_, n); }
    void rientra() { b_->Rientra(area_); }
    int termina() { return b_ ? b_->Termina() : esito_; }

private:
    batch::OpzioniBatch o_;
    int esito_ = 0;
    std::optional<batch::BatchDistribuito> b_;
    std::string area_;
};

// A computing worker's side: the header once per run, each batch put into areaLotto().
std::string testaLotti, areaLotti;
void TestaLotti(const std::string& testa) { testaLotti = testa; }
val AreaLotto(unsigned n) { return Area(areaLotti, n); }
// {esito, righe, record, completati, conAvvisi}: the result for rientra, the
// output lines, the batch's records by outcome (for the page's status line).
val ElaboraLotto() {
    std::string righe;
    batch::ContiLotto conti;
    val esito = val::object();
    esito.set("esito", Byte(batch::ElaboraLotto(testaLotti, areaLotti, righe, &conti)));
    esito.set("righe", Byte(righe));
    esito.set("record", static_cast<double>(conti.record));
    esito.set("completati", static_cast<double>(conti.completati));
    esito.set("conAvvisi", static_cast<double>(conti.conAvvisi));
    return esito;
}

}  // namespace

EMSCRIPTEN_BINDINGS(termix54) {
    emscripten::function("caso", &Caso);
    emscripten::function("risultato", &RisultatoRecord);
    emscripten::function("colonneIngresso", &ColonneIngresso);
    emscripten::function("colonneUscita", &ColonneUscita);
    emscripten::function("testoNumero", &TestoNumero);
    emscripten::constant("titoloMessaggi", std::string(messaggi::Titolo));
    emscripten::function("batch", &Batch);
    emscripten::class_<LottiPagina>("LottiPagina")
        .constructor<std::string, std::string, std::string, unsigned>()
        .function("prossimo", &LottiPagina::prossimo)
        .function("letti", &LottiPagina::letti)
        .function("testa", &LottiPagina::testa)
        .function("inizio", &LottiPagina::inizio)
        .function("area", &LottiPagina::area)
        .function("rientra", &LottiPagina::rientra)
        .function("termina", &LottiPagina::termina);
    emscripten::function("testaLotti", &TestaLotti);
    emscripten::function("areaLotto", &AreaLotto);
    emscripten::function("elaboraLotto", &ElaboraLotto);
}

}  // namespace termix::web
