#include "batch/Record.h"

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
                                             Intestazione& out) {
    out.separatore = separatore;
    out.colonnaDiCampo.assign(campi.size(), -1);
    out.campoDiColonna.fill(-1);
    for (size_t f = 0; f < campi.size(); ++f) {
        std::string_view nome = Rifilato(campi[f]);
        if (nome.empty()) continue;
        int trovata = -1;
        for (size_t c = 0; c < ColonneIngresso.size(); ++c)
            if (stessoNome(nome, ColonneIngresso[c].nome)) trovata = static_cast<int>(c);
        if (trovata < 0) return "colonna sconosciuta: \"" + std::string(nome) + "\"";
        if (out.campoDiColonna[trovata] >= 0) return "colonna ripetuta: \"" + std::string(nome) + "\"";
        out.campoDiColonna[trovata] = static_cast<int>(f);
        out.colonnaDiCampo[f] = trovata;
    }
    return std::nullopt;
}

void ElaboraRecord(const Intestazione& h, std::span<const std::string_view> campi, bool nonTerminato,
                   RisultatoRecord& out, VistaForme* vista, IngressiCaso* ingressi) {
    out.m = Modulo1{};
    out.esito.clear();
    out.diagnosi.clear();
    out.tipo = TipoCombustibile::Nessuno;
    out.composizione = Composizione::Nessuna;
    out.stato = RisultatoRecord::Stato::Completato;
    if (vista) {
        vista->testi.clear();
        vista->opzioni.clear();
    }

    if (nonTerminato) return malformato(out, "virgolette non chiuse alla fine del file");
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
        vista->testi[{Finestra::Form2, "Text1"}] = std::string(cella(ColImpianto));
        vista->testi[{Finestra::Form2, "Text2"}] = std::string(cella(ColCombustibile));
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
    const EsitoOperazione e = CalcolaCaso(caso, out.m, vista ? TestiRisultati::Scrivi : TestiRisultati::SoloVerifica,
                                          vista ? OsservaEsito([vista](const EsitoOperazione& x) { applica(vista, x); })
                                                : OsservaEsito());
    if (!e.completato) return fermato(out, e);
    if (vista && potereDigitato)
        vista->testi[{Finestra::Form3, "Text1"}] = testoDigitato(cella(ColPotereCalorifico), sep);
    out.esito = "OK";
}

void ScriviIntestazione(std::string& out, char sep) {
    out += "Riga";
    for (const char* n : {"Impianto", "Combustibile", "Esito"}) {
        out.push_back(sep);
        out += n;
    }
    ScriviNomiValori(out, sep);
    out += "\r\n";
}

void ScriviRecord(std::string& out, const Intestazione& h, long long riga, std::span<const std::string_view> campi,
                  const RisultatoRecord& r) {
    const char sep = h.separatore;
    char buf[24];
    auto fine = std::to_chars(buf, buf + sizeof buf, riga).ptr;
    out.append(buf, fine);
    for (int col : {int(ColImpianto), int(ColCombustibile)}) {
        out.push_back(sep);
        const int pos = h.campoDiColonna[col];
        if (pos >= 0 && static_cast<size_t>(pos) < campi.size()) ScriviCampo(out, campi[pos], sep);
    }
    out.push_back(sep);
    ScriviCampo(out, r.esito, sep);
    ScriviValori(out, r.stato == RisultatoRecord::Stato::Completato ? &r.m : nullptr, sep);
    out += "\r\n";
}

}  // namespace termix::batch
