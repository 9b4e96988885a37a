#include "batch/Record.h"

#include <algorithm>
#include <charconv>

#include "batch/Csv.h"
#include "combustion/Caso.h"
#include "model/Formato.h"
#include "vista/Caselle.h"
#include "vista/Scelte.h"

namespace termix::batch {

namespace {

using Q = Quantita;

void fermato(RisultatoRecord& out, const EsitoOperazione& e) {
    out.stato = RisultatoRecord::Stato::Fermato;
    out.esito = TestoEsito(e);
    out.dettaglio = e.dettaglio;
}

void malformato(RisultatoRecord& out, std::string diagnosi) {
    out.stato = RisultatoRecord::Stato::Malformato;
    out.esito = RigaNonValida;
    out.diagnosi = std::move(diagnosi);
}

// The typed text of a numeric box: what the user would have typed.
std::string testoDigitato(std::string_view cella, char sep) {
    std::string t(Rifilato(cella));
    if (sep == ',')
        for (char& c : t)
            if (c == '.') c = ',';
    return t;
}

// A name as one line of the report: each line break (CRLF, LF or CR) a blank.
std::string inUnaRiga(std::string_view t) {
    std::string r;
    r.reserve(t.size());
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') continue;
        r.push_back(t[i] == '\r' || t[i] == '\n' ? ' ' : t[i]);
    }
    return r;
}

}  // namespace

std::optional<std::string> LeggiIntestazione(std::span<const std::string_view> campi, char separatore,
                                             Intestazione& out, std::span<const std::string> conserva,
                                             const Consigli& consigli) {
    out.separatore = separatore;
    out.colonnaDiCampo.assign(campi.size(), -1);
    out.campoDiColonna.fill(-1);
    const std::span<const Grandezza* const> colonne = ColonneIngresso();
    out.campiConservati.clear();
    out.nomiConservati.clear();
    std::vector<bool> trovate(conserva.size());
    // Every unknown name at once, one line each: a header is fixed in one go.
    std::string sconosciute;
    for (size_t f = 0; f < campi.size(); ++f) {
        std::string_view nome = Rifilato(campi[f]);
        if (nome.empty()) continue;
        bool copiata = false;
        for (size_t k = 0; k < conserva.size(); ++k) {
            if (!StessoNome(nome, conserva[k])) continue;
            if (trovate[k]) return "colonna ripetuta: \"" + std::string(nome) + "\"";
            trovate[k] = copiata = true;
            out.campiConservati.push_back(static_cast<int>(f));
            out.nomiConservati.emplace_back(nome);
        }
        int trovata = -1;
        for (const auto& lista : {colonne, ConUso(IngressoVerifica)})
            for (const Grandezza* c : lista)
                if (StessoNome(nome, c->nome)) trovata = static_cast<int>(Indice(c->id));
        if (trovata < 0 && copiata) continue;
        if (trovata < 0) {
            // NUL bytes in a name: UTF-16 without its mark, read as bytes.
            if (nome.find('\0') != std::string_view::npos)
                return std::string("colonna sconosciuta con caratteri nulli: il file sembra UTF-16, ") + consigli.utf16;
            std::string m = "colonna sconosciuta: \"" + std::string(nome) + "\"";
            // "Unicode text" exports separate with tabs.
            if (nome.find('\t') != std::string_view::npos)
                return m + ": il separatore dev'essere ';' o ',', non la tabulazione";
            if (!sconosciute.empty()) sconosciute += '\n';
            if (const char* simile = ColonnaSimile(nome))
                sconosciute += m + ": forse " + simile + "?";
            else
                sconosciute += m + " (per copiarla nell'uscita: " + consigli.conserva + std::string(nome) + ")";
            continue;
        }
        if (out.campoDiColonna[trovata] >= 0) return "colonna ripetuta: \"" + std::string(nome) + "\"";
        out.campoDiColonna[trovata] = static_cast<int>(f);
        out.colonnaDiCampo[f] = trovata;
    }
    if (!sconosciute.empty()) return sconosciute;
    for (size_t k = 0; k < conserva.size(); ++k)
        if (!trovate[k]) return "colonna da conservare assente nell'intestazione: \"" + conserva[k] + "\"";
    return std::nullopt;
}

const char* ColonnaSimile(std::string_view nome) {
    auto minuscola = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    // Edit distance with swaps of neighbours (optimal string alignment).
    auto distanza = [&](std::string_view a, std::string_view b) {
        std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
        for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
        for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
        for (size_t i = 1; i <= a.size(); ++i)
            for (size_t j = 1; j <= b.size(); ++j) {
                const bool uguali = minuscola(a[i - 1]) == minuscola(b[j - 1]);
                d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (uguali ? 0 : 1)});
                if (i > 1 && j > 1 && minuscola(a[i - 1]) == minuscola(b[j - 2]) &&
                    minuscola(a[i - 2]) == minuscola(b[j - 1]))
                    d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        return d[a.size()][b.size()];
    };
    const char* migliore = nullptr;
    size_t minima = std::max<size_t>(2, nome.size() / 3) + 1;  // beyond this it is another word
    auto confronta = [&](const char* candidato) {
        if (const size_t d = distanza(nome, candidato); d < minima) {
            minima = d;
            migliore = candidato;
        }
    };
    for (const auto& lista : {ColonneIngresso(), ConUso(IngressoVerifica)})
        for (const Grandezza* c : lista) confronta(c->nome);
    return migliore;
}

const char* DescriviDifetto(Difetto d) {
    switch (d) {
        case Difetto::VirgoletteAperte: return "virgolette aperte e mai chiuse";
        case Difetto::TestoDopoVirgolette:
            return "dopo le virgolette di chiusura di un campo possono venire solo il separatore o la fine della riga";
        case Difetto::Nessuno: break;
    }
    return "";
}

namespace {

// The two choices from their cells; the reason when a cell names neither.
std::optional<std::string> leggiScelte(std::string_view tipo, std::string_view comp, RisultatoRecord& out) {
    if (!tipo.empty()) {
        const auto t = vista::SceltaDi(vista::ScelteTipo, tipo);
        if (!t) return "Tipo sconosciuto: \"" + std::string(tipo) + "\"";
        out.tipo = *t;
    }
    if (!comp.empty()) {
        const auto c = vista::SceltaDi(vista::ScelteComposizione, comp);
        if (!c) return "Composizione sconosciuta: \"" + std::string(comp) + "\"";
        out.composizione = *c;
    }
    return std::nullopt;
}

// The boxes as typed, before any calculation writes over them.
void vistaDigitata(const Intestazione& h, std::span<const std::string_view> campi, const RisultatoRecord& r,
                   VistaForme& vista) {
    vista.imposta(Q::Impianto, inUnaRiga(h.cella(campi, Q::Impianto)));
    vista.imposta(Q::Combustibile, inUnaRiga(h.cella(campi, Q::Combustibile)));
    if (r.tipo != TipoCombustibile::Nessuno) vista.seleziona(vista::RuoloDi(r.tipo), true);
    if (r.composizione != Composizione::Nessuna) vista.seleziona(vista::RuoloDi(r.composizione), true);
    for (const Grandezza* c : ColonneIngresso())
        if (c->variabile) vista.imposta(c->id, testoDigitato(h.cella(campi, c->id), h.separatore));
}

// Reads every numeric cell before anything is computed: the first one in file
// order that is not a number is what the user is told about (false then).
bool leggiNumeri(const Intestazione& h, std::span<const std::string_view> campi, IngressiCaso& caso,
                 RisultatoRecord& out) {
    const char sep = h.separatore;
    for (size_t f = 0; f < campi.size(); ++f) {
        const int col = h.colonnaDiCampo[f];
        if (col < 0) continue;
        const Grandezza& g = Grandezze()[static_cast<size_t>(col)];
        if (!g.variabile) continue;
        const vista::LetturaCasella v = vista::LeggiCella(campi[f], sep);
        if (v.vuota()) continue;  // 0, or no heating value typed
        if (v.rifiuto) {
            out.stato = RisultatoRecord::Stato::Fermato;
            out.esito = v.rifiuto;
            // The record's Esito is the forms' message; stderr says which cell.
            out.dettaglio = {"colonna " + std::string(g.nome), "\"" + std::string(Rifilato(campi[f])) + "\" non è un numero"};
            return false;
        }
        caso.valori.*g.variabile = *v.valore;
        if (g.id == Q::PotereCalorifico) caso.potereDigitato = true;
    }
    return true;
}

}  // namespace

void ElaboraRecord(const Intestazione& h, std::span<const std::string_view> campi, Difetto difetto,
                   RisultatoRecord& out, VistaForme* vista, IngressiCaso* ingressi) {
    out.m = Modulo1{};
    out.esito.clear();
    out.diagnosi.clear();
    out.dettaglio = {};
    out.tipo = TipoCombustibile::Nessuno;
    out.composizione = Composizione::Nessuna;
    out.stato = RisultatoRecord::Stato::Completato;
    out.extra = vista::IngressiVerifica{};
    out.verifica.reset();
    out.camino.reset();
    out.rifiutoCamino.clear();
    out.avvisi.clear();
    if (vista) vista->svuota();

    if (difetto != Difetto::Nessuno) return malformato(out, DescriviDifetto(difetto));
    if (campi.size() != h.colonnaDiCampo.size())
        return malformato(out, std::to_string(campi.size()) + " campi invece di " +
                                   std::to_string(h.colonnaDiCampo.size()));
    if (auto errore = leggiScelte(Rifilato(h.cella(campi, Q::Tipo)), Rifilato(h.cella(campi, Q::Composizione)), out))
        return malformato(out, std::move(*errore));
    if (vista) vistaDigitata(h, campi, out, *vista);

    IngressiCaso caso;
    caso.tipo = out.tipo;
    caso.composizione = out.composizione;
    if (!leggiNumeri(h, campi, caso, out)) return;
    // The support fuel's and the checks' cells, read the same way.
    std::string messaggio;
    switch (LeggiExtra(h.campoDiColonna, campi, h.separatore, h.verifica, out.extra, messaggio, out.dettaglio)) {
        case DifettoExtra::Nessuno: break;
        case DifettoExtra::Sconosciuto: return malformato(out, messaggio);
        case DifettoExtra::Rifiuto:
            out.stato = RisultatoRecord::Stato::Fermato;
            out.esito = messaggio;
            return;
    }
    if (h.verifica.camino || h.verifica.applicaEccesso) {  // the stack's cells never stop the record
        const vista::LetturaVerifica l = LeggiCamino(h.campoDiColonna, campi, h.separatore, out.extra);
        out.extra.camino = l.ingressi.camino;
        out.rifiutoCamino = l.rifiuto;
    }
    if (ingressi) {
        *ingressi = caso;
        return;
    }
    if (!CaminoDelRecord(h.verifica, out.extra, out.rifiutoCamino, caso, out.camino, messaggio)) {
        out.stato = RisultatoRecord::Stato::Fermato;
        out.esito = messaggio;
        return;
    }
    // The fuel form's "&Calcola", the heating value (typed over the methane
    // preset, kept from it, or the "&No" estimate), the conditions form's
    // "&Calcola": the core runs them as the forms would. Without a view nobody
    // reads the result texts: only their checks run.
    // With a support fuel the blend runs instead (without one, exactly the case).
    const EsitoOperazione e =
        CalcolaCasoConSupporto(caso, out.extra.supporto, out.m, vista ? TestiRisultati::Scrivi : TestiRisultati::SoloVerifica,
                               vista ? OsservaEsito([vista](const EsitoOperazione& x) { vista->applica(x); })
                                     : OsservaEsito());
    out.avvisi = AvvisiCaso(caso, out.m, e.completato);
    if (!e.completato) return fermato(out, e);
    if (h.verifica.attiva) out.verifica = vista::Giudica(caso, out.extra, out.m, out.avvisi);
    if (vista && caso.potereDigitato)
        vista->imposta(Q::PotereCalorifico, testoDigitato(h.cella(campi, Q::PotereCalorifico), h.separatore));
    out.esito = "OK";
}

namespace {

// Riga, the columns copied, Impianto, Combustibile and Esito of one record.
std::vector<std::string_view> testiIniziali(const Intestazione& h, std::string_view riga,
                                            std::span<const std::string_view> campi, const RisultatoRecord& r) {
    std::vector<std::string_view> t;
    t.reserve(4 + h.campiConservati.size());
    t.push_back(riga);
    for (int pos : h.campiConservati)
        t.push_back(static_cast<size_t>(pos) < campi.size() ? campi[pos] : std::string_view());
    t.push_back(h.cella(campi, Q::Impianto));
    t.push_back(h.cella(campi, Q::Combustibile));
    t.push_back(r.esito);
    return t;
}

}  // namespace

bool CaminoDelRecord(const OpzioniVerifica& o, const vista::IngressiVerifica& in, const std::string& rifiuto,
                     IngressiCaso& caso, std::optional<vista::EsitoCaminoVista>& out, std::string& perche) {
    out.reset();
    if (!o.camino && !o.applicaEccesso) return true;
    if (rifiuto.empty()) {
        out = vista::EseguiCamino(caso, in);
    } else {
        out.emplace();
        out->rifiuto = rifiuto;
    }
    if (!o.applicaEccesso) return true;
    // Readings that give no excess air stop the record: the typed one would pass for measured.
    const auto testo = vista::EccessoDaApplicare(*out);
    if (testo) caso.valori.EccessoAria = *LeggiNumero(*testo);
    if (testo || (rifiuto.empty() && !in.camino.o2 && !in.camino.co2)) return true;
    const std::string note = vista::NoteCamino(*out);
    perche = "--applica-eccesso: " + (note.empty() ? std::string("nessun eccesso d'aria") : note);
    return false;
}

void ScriviIntestazione(std::string& out, char sep, std::span<const std::string> conservati, const char* variata,
                        const OpzioniVerifica& colonne) {
    std::vector<std::string_view> t{"Riga"};
    t.insert(t.end(), conservati.begin(), conservati.end());
    for (const char* n : {"Impianto", "Combustibile", "Esito"}) t.push_back(n);
    ScriviIntestazioneTabella(out, sep, t, variata);
    if (colonne.attiva || colonne.camino) {  // the checks' names before the CRLF
        out.resize(out.size() - 2);
        ScriviNomiVerifica(out, sep, colonne);
        out += "\r\n";
    }
    AggiungiUltimoCampo(out, ColonnaAvvisi, sep);
}

void ScriviRecord(std::string& out, const Intestazione& h, long long riga, std::span<const std::string_view> campi,
                  const RisultatoRecord& r, bool conVariata, const double* variata) {
    char buf[24];
    const auto fine = std::to_chars(buf, buf + sizeof buf, riga).ptr;
    const bool completato = r.stato == RisultatoRecord::Stato::Completato;
    ScriviRigaTabella(out, h.separatore, testiIniziali(h, std::string_view(buf, size_t(fine - buf)), campi, r),
                      conVariata, variata, completato ? &r.m : nullptr);
    if (h.verifica.attiva || h.verifica.camino) {  // the checks' cells before the CRLF
        out.resize(out.size() - 2);
        // Judged only when completed; the stack's whatever the run's end.
        ScriviVerifica(out, r.verifica ? &*r.verifica : nullptr, r.camino ? &*r.camino : nullptr, h.separatore,
                       h.verifica);
        out += "\r\n";
    }
    AggiungiUltimoCampo(out, r.avvisi.empty() ? std::string() : TestoAvvisi(r.avvisi), h.separatore);
}

}  // namespace termix::batch
