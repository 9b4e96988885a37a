#pragma once
// One batch record, computed as a user would compute it on the forms.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/Colonne.h"
#include "batch/ColonneVerifica.h"
#include "batch/Csv.h"
#include "combustion/Avvisi.h"
#include "combustion/Caso.h"
#include "fuel/CalcoloCombustibile.h"
#include "model/Effetti.h"
#include "model/Modulo1.h"
#include "vista/TestiForme.h"

namespace termix::batch {

inline constexpr const char* RigaNonValida = "Riga non valida";
// The last output column: the case's warnings, joined by " | ".
inline constexpr const char* ColonnaAvvisi = "Avvisi";

// The header of an input file: which known column sits where.
struct Intestazione {
    char separatore = ';';
    // For each field of the header: the index of its quantity, or -1 for an
    // empty name (ignored) or a column only copied.
    std::vector<int> colonnaDiCampo;
    // For each quantity (the checks' inputs too): its field position, or -1 if absent.
    std::array<int, NumeroGrandezze> campoDiColonna{};
    // The columns copied unchanged into the output after Riga (--conserva),
    // in input order: field positions and their names as the header has them.
    std::vector<int> campiConservati;
    std::vector<std::string> nomiConservati;
    // Set by the caller: the command line's checks and their defaults.
    OpzioniVerifica verifica;

    // The cell of quantity `q` in a record's fields ("" when the column is absent).
    std::string_view cella(std::span<const std::string_view> campi, Quantita q) const {
        const int pos = campoDiColonna[Indice(q)];
        return pos < 0 || static_cast<std::size_t>(pos) >= campi.size() ? std::string_view() : campi[pos];
    }
};

// Reads the header record; `conserva` names the columns to copy (any case).
// On an unknown or repeated name, or a column to copy that is not there,
// returns the message for the user (and the caller ends with exit 2); an
// unknown name that looks like a known one is told which. Unknown names are
// all listed, one line each. What the messages advise is said in the words
// of the face the user has: the command line's, or the page's.
struct Consigli {
    const char* utf16 = "provare --codifica utf-16";  // a header that looks like UTF-16 read as bytes
    const char* conserva = "--conserva ";              // to copy an unknown column: before its name
};
std::optional<std::string> LeggiIntestazione(std::span<const std::string_view> campi, char separatore,
                                             Intestazione& out, std::span<const std::string> conserva = {},
                                             const Consigli& consigli = {});

// The known input column nearest to `nome` by edit distance (a letter
// added, dropped, changed or two swapped, case aside), or null when none is
// near enough to be a slip of the keyboard.
const char* ColonnaSimile(std::string_view nome);

// Why the reader could not split a record, for the line on stderr.
const char* DescriviDifetto(Difetto d);

// What the forms would show after a user typed this record in and ran the
// calculations, for the report:
//  - typed inputs: the cell trimmed of blanks, the decimal point turned into a
//    comma in the ',' convention, "" for an empty or absent cell; the two
//    names exactly as read (a line break a blank);
//  - every text an effect wrote (fuel calculation, methane preset, "&No"
//    estimate, the calculation run with the two "100,00"): the last write
//    wins; so Combustibile is "Metano" after the preset and PotereCalorifico
//    "11958" unless a heating value was typed;
//  - the four choices as finally selected (the cells of Tipo and
//    Composizione, then the selections the methane preset makes).
// A target never written is an empty box.
using VistaForme = vista::TestiForme;

struct RisultatoRecord {
    enum class Stato {
        Completato,  // every step ran: values are valid, esito "OK"
        Fermato,     // a form would have shown messages: esito holds them, no values
        Malformato,  // the record itself is unusable: esito "Riga non valida"
    };
    Stato stato = Stato::Completato;
    Modulo1 m;
    std::string esito;
    std::string diagnosi;  // Malformato: why, for the line on stderr
    Dettaglio dettaglio;   // Fermato by an arithmetic stop or a cell that is no number: where and why, for stderr
    TipoCombustibile tipo = TipoCombustibile::Nessuno;
    Composizione composizione = Composizione::Nessuna;
    vista::IngressiVerifica extra;                     // the support fuel and parameters read
    std::optional<vista::GiudizioVerifica> verifica;  // --verifica, on a completed run
    std::optional<vista::EsitoCaminoVista> camino;    // --camino or --applica-eccesso, whatever the run's end
    std::string rifiutoCamino;                         // why the stack's cells were refused (their readings in extra)
    std::vector<Avviso> avvisi;                        // the case's warnings (its cells read well)
};

// Computes one data record (its fields as read) on a fresh record. With
// `vista`, also fills in what the forms would show (a line break in a name
// becomes a blank there: a report has its 67 lines whatever the names).
// A record with a `difetto` is malformed. With `ingressi`, a record that reads
// well is not computed: its case goes there instead.
void ElaboraRecord(const Intestazione& intestazione, std::span<const std::string_view> campi, Difetto difetto,
                   RisultatoRecord& out, VistaForme* vista = nullptr, IngressiCaso* ingressi = nullptr);

// Appends the output header line (CRLF included): Riga, the columns copied,
// Impianto, Combustibile, Esito, the varied column (if any), then the values
// (and the checks' and the stack's columns the options ask for), and Avvisi last.
void ScriviIntestazione(std::string& out, char separatore, std::span<const std::string> conservati = {},
                        const char* variata = nullptr, const OpzioniVerifica& colonne = {});
// The stack's readings `in.camino` (refused as `rifiuto` says, when it says)
// on `caso` with the support fuel and parameters of `in`, when the options
// ask for them: the results into `out`; with --applica-eccesso, `caso` at the
// excess air they give, as if typed. False when readings give none: `perche`
// says why, and the record stops.
bool CaminoDelRecord(const OpzioniVerifica& o, const vista::IngressiVerifica& in, const std::string& rifiuto,
                     IngressiCaso& caso, std::optional<vista::EsitoCaminoVista>& out, std::string& perche);

// Appends one output line (CRLF included); with `conVariata`, the varied
// input's value after Esito (an empty cell when `variata` is null); the
// checks' cells when the header asks for them; the warnings last.
void ScriviRecord(std::string& out, const Intestazione& intestazione, long long riga,
                  std::span<const std::string_view> campi, const RisultatoRecord& r, bool conVariata = false,
                  const double* variata = nullptr);

}  // namespace termix::batch
