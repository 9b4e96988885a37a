#include "batch/Record.h"

#include <algorithm>
#include <charconv>

#include "batch/Csv.h"
#include "combustion/Caso.h"
#include "model/Formato.h"
#include "model/Messaggi.h"

namespace termix::batch {

namespace {

using TipoCol = ColonnaIngresso::Tipo;

bool stessoNome(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

void applica(VistaForme* vista, const EsitoOperazione& e) {
    if (!vista) return;
    for (const auto& ef : e.effetti) {
        if (ef.tipo == Effetto::Tipo::Testo)
            vista->testi[{ef.finestra, std::string(ef.controllo)}] = ef.testo;
        else if (ef.tipo == Effetto::Tipo::Selezione)
            vista->opzioni[{ef.finestra, std::string(ef.controllo)}] = ef.selezionato;
    }
}

void fermato(RisultatoRecord& out, const EsitoOperazione& e) {
    out.stato = RisultatoRecord::Stato::Fermato;
    out.esito = TestoEsito(e);
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

const std::string& VistaForme::testo(Finestra f, std::string_view controllo) const {
    static const std::string vuoto;
    auto it = testi.find({f, std::string(controllo)});
    return it == testi.end() ? vuoto : it->second;
}

bool VistaForme::selezionato(Finestra f, std::string_view controllo) const {
    auto it = opzioni.find({f, std::string(controllo)});
    return it != opzioni.end() && it->second;
}

std::optional<std::string> LeggiIntestazione(std::span<const std::string_view> campi, char separatore,
                                             Intestazione& out, std::span<const std::string> conserva) {
    out.separatore = separatore;
    out.colonnaDiCampo.assign(campi.size(), -1);
    out.campoDiColonna.fill(-1);
    out.campiConservati.clear();
    out.nomiConservati.clear();
    out.campoExtra = NessunaExtra;
    std::vector<bool> trovate(conserva.size());
    for (size_t f = 0; f < campi.size(); ++f) {
        std::string_view nome = Rifilato(campi[f]);
        if (nome.empty()) continue;
        bool copiata = false;
        for (size_t k = 0; k < conserva.size(); ++k) {
            if (!stessoNome(nome, conserva[k])) continue;
            if (trovate[k]) return "colonna ripetuta: \"" + std::string(nome) + "\"";
            trovate[k] = copiata = true;
            out.campiConservati.push_back(static_cast<int>(f));
            out.nomiConservati.emplace_back(nome);
        }
        int trovata = -1;
        for (size_t c = 0; c < ColonneIngresso.size(); ++c)
            if (stessoNome(nome, ColonneIngresso[c].nome)) trovata = static_cast<int>(c);
        if (trovata < 0) {
            int extra = -1;
            for (size_t c = 0; c < ColonneExtra.size(); ++c)
                if (stessoNome(nome, ColonneExtra[c])) extra = static_cast<int>(c);
            if (extra >= 0) {
                if (out.campoExtra[extra] >= 0) return "colonna ripetuta: \"" + std::string(nome) + "\"";
                out.campoExtra[extra] = static_cast<int>(f);
                continue;
            }
        }
        if (trovata < 0 && copiata) continue;
        if (trovata < 0) {
            // NUL bytes in a name: UTF-16 without its mark, read as bytes.
            if (nome.find('\0') != std::string_view::npos)
                return "colonna sconosciuta con caratteri nulli: il file sembra UTF-16, provare --codifica utf-16";
            std::string m = "colonna sconosciuta: \"" + std::string(nome) + "\"";
            // "Unicode text" exports separate with tabs.
            if (nome.find('\t') != std::string_view::npos)
                return m + ": il separatore dev'essere ';' o ',', non la tabulazione";
            if (const char* simile = ColonnaSimile(nome)) return m + ": forse " + simile + "?";
            return m + " (per copiarla nell'uscita: --conserva " + std::string(nome) + ")";
        }
        if (out.campoDiColonna[trovata] >= 0) return "colonna ripetuta: \"" + std::string(nome) + "\"";
        out.campoDiColonna[trovata] = static_cast<int>(f);
        out.colonnaDiCampo[f] = trovata;
    }
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
    for (const auto& c : ColonneIngresso) confronta(c.nome);
    for (const char* c : ColonneExtra) confronta(c);
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

void ElaboraRecord(const Intestazione& h, std::span<const std::string_view> campi, Difetto difetto,
                   RisultatoRecord& out, VistaForme* vista, IngressiCaso* ingressi) {
    out.m = Modulo1{};
    out.esito.clear();
    out.diagnosi.clear();
    out.tipo = TipoCombustibile::Nessuno;
    out.composizione = Composizione::Nessuna;
    out.stato = RisultatoRecord::Stato::Completato;
    out.extra = ExtraRecord{};
    out.verifica.reset();
    if (vista) {
        vista->testi.clear();
        vista->opzioni.clear();
    }

    if (difetto != Difetto::Nessuno) return malformato(out, DescriviDifetto(difetto));
    if (campi.size() != h.colonnaDiCampo.size())
        return malformato(out, std::to_string(campi.size()) + " campi invece di " +
                                   std::to_string(h.colonnaDiCampo.size()));

    auto cella = [&](int col) -> std::string_view {
        int pos = h.campoDiColonna[col];
        return pos < 0 ? std::string_view() : campi[pos];
    };

    const std::string_view tipo = Rifilato(cella(ColTipo));
    if (tipo.empty()) out.tipo = TipoCombustibile::Nessuno;
    else if (stessoNome(tipo, "Metano")) out.tipo = TipoCombustibile::Metano;
    else if (stessoNome(tipo, "Altri")) out.tipo = TipoCombustibile::Altri;
    else return malformato(out, "Tipo sconosciuto: \"" + std::string(tipo) + "\"");

    const std::string_view comp = Rifilato(cella(ColComposizione));
    if (comp.empty()) out.composizione = Composizione::Nessuna;
    else if (stessoNome(comp, "Atomica")) out.composizione = Composizione::Atomica;
    else if (stessoNome(comp, "Ponderale")) out.composizione = Composizione::Ponderale;
    else return malformato(out, "Composizione sconosciuta: \"" + std::string(comp) + "\"");

    const char sep = h.separatore;
    if (vista) {
        vista->testi[{Finestra::Form2, "Text1"}] = inUnaRiga(cella(ColImpianto));
        vista->testi[{Finestra::Form2, "Text2"}] = inUnaRiga(cella(ColCombustibile));
        vista->opzioni[{Finestra::Form2, "Option1"}] = out.tipo == TipoCombustibile::Metano;
        vista->opzioni[{Finestra::Form2, "Option2"}] = out.tipo == TipoCombustibile::Altri;
        vista->opzioni[{Finestra::Form2, "Option3"}] = out.composizione == Composizione::Atomica;
        vista->opzioni[{Finestra::Form2, "Option4"}] = out.composizione == Composizione::Ponderale;
        for (const auto& c : ColonneIngresso)
            if (c.tipo == TipoCol::Numero)
                vista->testi[{c.finestra, c.controllo}] = testoDigitato(cella(&c - ColonneIngresso.data()), sep);
    }

    // 1. Every numeric cell is read before anything is computed; the first
    // one in file order that is not a number is what the user is told about.
    std::array<double, NumeroColonneIngresso> valori{};
    bool potereDigitato = false;
    for (size_t f = 0; f < campi.size(); ++f) {
        const int col = h.colonnaDiCampo[f];
        if (col < 0 || ColonneIngresso[col].tipo != TipoCol::Numero) continue;
        const std::string_view testo = campi[f];
        if (Rifilato(testo).empty()) continue;  // 0, or no heating value typed
        const std::optional<double> v = sep == ';' ? LeggiNumero(testo) : LeggiNumeroPunto(testo);
        if (!v) {
            out.stato = RisultatoRecord::Stato::Fermato;
            out.esito = (sep == ';' && testo.back() == '.') ? messaggi::UsareVirgola : messaggi::UsareNumeri;
            return;
        }
        valori[col] = *v;
        if (col == ColPotereCalorifico) potereDigitato = true;
    }

    // The support fuel and the checks' cells, read the same way.
    std::string messaggio;
    switch (LeggiExtra(h.campoExtra, campi, sep, h.verifica, out.extra, messaggio)) {
        case DifettoExtra::Nessuno: break;
        case DifettoExtra::Sconosciuto: return malformato(out, messaggio);
        default:
            out.stato = RisultatoRecord::Stato::Fermato;
            out.esito = messaggio;
            return;
    }

    // 2.-4. The fuel form's boxes and "&Calcola", the heating value (typed over
    // the methane preset, kept from it, or the "&No" estimate), the conditions
    // form's boxes and "&Calcola": the core runs them as the forms would.
    IngressiCaso caso;
    caso.tipo = out.tipo;
    caso.composizione = out.composizione;
    for (size_t c = 0; c < ColonneIngresso.size(); ++c)
        if (ColonneIngresso[c].tipo == TipoCol::Numero) caso.valori.*ColonneIngresso[c].variabile = valori[c];
    caso.potereDigitato = potereDigitato;
    if (ingressi) {
        *ingressi = caso;
        return;
    }
    // Without a view nobody reads the result texts: only their checks run.
    // With a support fuel, the blend runs instead (without one, exactly the case).
    const EsitoOperazione e = CalcolaCasoConSupporto(
        caso, out.extra.supporto, out.m, vista ? TestiRisultati::Scrivi : TestiRisultati::SoloVerifica,
        vista ? OsservaEsito([vista](const EsitoOperazione& x) { applica(vista, x); }) : OsservaEsito());
    if (!e.completato) return fermato(out, e);
    if (h.verifica.attiva) out.verifica = CalcolaVerifica(out.m, out.extra.parametri);
    if (vista && potereDigitato)
        vista->testi[{Finestra::Form3, "Text1"}] = testoDigitato(cella(ColPotereCalorifico), sep);
    out.esito = "OK";
}

void ScriviCodaIntestazione(std::string& out, char sep, bool verifica) {
    ScriviNomiValori(out, sep);
    if (verifica) ScriviNomiVerifica(out, sep);
    out += "\r\n";
}

void ScriviCoda(std::string& out, const Intestazione& h, const RisultatoRecord& r) {
    const bool completato = r.stato == RisultatoRecord::Stato::Completato;
    ScriviValori(out, completato ? &r.m : nullptr, h.separatore);
    if (h.verifica.attiva) ScriviVerifica(out, completato && r.verifica ? &*r.verifica : nullptr, h.separatore);
    out += "\r\n";
}

void ScriviIntestazione(std::string& out, char sep, std::span<const std::string> conservati, bool verifica) {
    out += "Riga";
    for (const auto& n : conservati) {
        out.push_back(sep);
        ScriviCampo(out, n, sep);
    }
    for (const char* n : {"Impianto", "Combustibile", "Esito"}) {
        out.push_back(sep);
        out += n;
    }
    ScriviCodaIntestazione(out, sep, verifica);
}

void ScriviRecord(std::string& out, const Intestazione& h, long long riga, std::span<const std::string_view> campi,
                  const RisultatoRecord& r) {
    const char sep = h.separatore;
    char buf[24];
    auto fine = std::to_chars(buf, buf + sizeof buf, riga).ptr;
    out.append(buf, fine);
    for (int pos : h.campiConservati) {
        out.push_back(sep);
        if (static_cast<size_t>(pos) < campi.size()) ScriviCampo(out, campi[pos], sep);
    }
    for (int col : {int(ColImpianto), int(ColCombustibile)}) {
        out.push_back(sep);
        const int pos = h.campoDiColonna[col];
        if (pos >= 0 && static_cast<size_t>(pos) < campi.size()) ScriviCampo(out, campi[pos], sep);
    }
    out.push_back(sep);
    ScriviCampo(out, r.esito, sep);
    ScriviCoda(out, h, r);
}

}  // namespace termix::batch
