#pragma once
// One batch record, computed as a user would compute it on the forms.
#include <array>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batch/Colonne.h"
#include "batch/ColonneVerifica.h"
#include "batch/Csv.h"
#include "combustion/Caso.h"
#include "fuel/CalcoloCombustibile.h"
#include "model/Modulo1.h"

namespace termix::batch {

inline constexpr const char* RigaNonValida = "Riga non valida";

// The header of an input file: which known column sits where.
struct Intestazione {
    char separatore = ';';
    // For each field of the header: its index in ColonneIngresso, or -1 for an
    // empty name (ignored).
    std::vector<int> colonnaDiCampo;
    // For each entry of ColonneIngresso: its field position, or -1 if absent.
    std::array<int, NumeroColonneIngresso> campoDiColonna{};
    // The columns copied unchanged into the output after Riga (--conserva),
    // in input order: field positions and their names as the header has them.
    std::vector<int> campiConservati;
    std::vector<std::string> nomiConservati;
    // For each entry of ColonneExtra: its field position, or -1 if absent.
    std::array<int, NumeroColonneExtra> campoExtra = NessunaExtra;
    // Set by the caller: the command line's checks and their defaults.
    OpzioniVerifica verifica;
};

// Reads the header record; `conserva` names the columns to copy (any case).
// On an unknown or repeated name, or a column to copy that is not there,
// returns the message for the user (and the caller ends with exit 2); an
// unknown name that looks like a known one is told which.
std::optional<std::string> LeggiIntestazione(std::span<const std::string_view> campi, char separatore,
                                             Intestazione& out, std::span<const std::string> conserva = {});

// The known input column nearest to `nome` by edit distance (a letter
// added, dropped, changed or two swapped, case aside), or null when none is
// near enough to be a slip of the keyboard.
const char* ColonnaSimile(std::string_view nome);

// Why the reader could not split a record, for the line on stderr.
const char* DescriviDifetto(Difetto d);

// What each box of the forms would show after a user typed this record in and
// ran the calculations, for the report. Keys are (form, control name):
//  - typed input boxes (Form2 Text1..Text20, Form3 Text1..Text10 as given in
//    ColonneIngresso): the cell trimmed of blanks, the decimal point turned
//    into a comma in the ',' convention, "" for an empty or absent cell; the
//    two name boxes (Form2 Text1, Text2) hold the cell exactly as read;
//  - every box a Testo effect wrote (fuel calculation, methane preset, "&No"
//    estimate, the calculation run including Form8 Text35/Text36 "100,00"):
//    that text, the last write winning; so Form2 Text2 is "Metano" after the
//    methane preset and Form3 Text1 is "11958" unless a heating value was typed;
//  - `opzioni`: Form2 Option1..Option4 as finally selected (the cells of Tipo
//    and Composizione, then the selections the methane preset makes).
// A control absent from `testi` was never written (an empty box).
struct VistaForme {
    using Chiave = std::pair<Finestra, std::string>;
    std::map<Chiave, std::string> testi;
    std::map<Chiave, bool> opzioni;

    const std::string& testo(Finestra f, std::string_view controllo) const;
    bool selezionato(Finestra f, std::string_view controllo) const;
};

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
    TipoCombustibile tipo = TipoCombustibile::Nessuno;
    Composizione composizione = Composizione::Nessuna;
    ExtraRecord extra;                           // the support fuel and parameters read
    std::optional<RisultatiVerifica> verifica;   // --verifica, on a completed run
};

// Computes one data record (its fields as read) on a fresh record. With
// `vista`, also fills in what the forms would show (a line break in a name
// becomes a blank there: a report has its 67 lines whatever the names).
// A record with a `difetto` is malformed. With `ingressi`, a record that reads
// well is not computed: its case goes there instead.
void ElaboraRecord(const Intestazione& intestazione, std::span<const std::string_view> campi, Difetto difetto,
                   RisultatoRecord& out, VistaForme* vista = nullptr, IngressiCaso* ingressi = nullptr);

// Appends the output header line (CRLF included): Riga, the columns copied,
// then the computed ones.
void ScriviIntestazione(std::string& out, char separatore, std::span<const std::string> conservati = {},
                        bool verifica = false);
// The end of every header line: the value names (and the check names), CRLF.
void ScriviCodaIntestazione(std::string& out, char separatore, bool verifica);
// The end of every output line: the values (and the checks), CRLF.
void ScriviCoda(std::string& out, const Intestazione& h, const RisultatoRecord& r);

// Appends one output line (CRLF included).
void ScriviRecord(std::string& out, const Intestazione& intestazione, long long riga,
                  std::span<const std::string_view> campi, const RisultatoRecord& r);

}  // namespace termix::batch
