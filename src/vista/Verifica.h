#pragma once
// "Verifica" for every face (the desktop window, the page, the batch tool):
// its inputs and result boxes from the table of quantities, their captions,
// what an empty box means, the reading of the boxes with the same refusals,
// the case run with its support fuel, the verdict with the case's warnings,
// "Trova supporto", and the lines "Salva" writes.
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "combustion/Avvisi.h"
#include "combustion/Camino.h"
#include "combustion/Caso.h"
#include "combustion/Supporto.h"
#include "combustion/Verifica.h"
#include "model/Grandezze.h"

namespace termix::vista {

// One input of the checks: a quantity of the table (IngressoVerifica, in table
// order), then the temperature model, a choice with no column (the batch
// tool's --modello).
struct CampoVerifica {
    enum class Gruppo { Supporto, Frazioni, Parametri, Equilibrio, Camino };
    struct Voce {
        const char* nome;   // the text the input gives for it (a batch cell, the page's value)
        const char* testo;  // what the list shows
    };
    const Grandezza* grandezza;  // null for the model
    const char* nome;            // the control's name and the page's id
    std::string etichetta;       // the caption, with [unit] for a number but a fraction
    std::vector<Voce> scelte;    // a list; empty: a box for a number (a list without default starts with "")
    Gruppo gruppo;
};
std::span<const CampoVerifica> CampiVerifica();
const CampoVerifica& CampoDi(Quantita q);

// The result boxes, in order: the table's MostrataVerifica entries.
std::span<const Grandezza* const> RisultatiVerificaMostrati();
// A result box's caption: label and [unit]; a result of the program's own run
// says it comes from the program's table.
std::string EtichettaRisultato(const Grandezza& g);

// The support fuel and the checks' parameters as the run uses them.
struct IngressiVerifica {
    Supporto supporto;
    ParametriVerifica parametri;  // obiettivo empty: the rules' figure for the waste
    ParametriCamino camino;       // the stack's readings
};

// A number into its place in the inputs (a numeric input of the checks or the stack).
void AssegnaVerifica(IngressiVerifica& in, Quantita q, double x);

// What an empty input stands for with these defaults, for the case (the
// target presumed for its waste): "" when it stands for nothing (no bore).
std::string TestoVuoto(const CampoVerifica& c, const IngressiCaso& caso, const IngressiVerifica& predefiniti = {});

// The inputs read from their texts (a list's text is its choice's name): an
// empty one takes its default from `predefiniti`, anything else must read as
// a number (the ';' convention reads as a box, ',' with the decimal point).
// On a refusal, its message and the input to go back to (none when the
// refusal is about several). The stack's readings (Gruppo::Camino) are read
// only with `camino`, and then only they: a bad reading never stops the checks.
struct LetturaVerifica {
    IngressiVerifica ingressi;
    std::string rifiuto;                   // empty: read well
    const CampoVerifica* campo = nullptr;  // the input refused
    bool sceltaSconosciuta = false;        // a list's text that names none of its choices
};
using TestoCampo = std::function<std::string(const CampoVerifica&)>;
LetturaVerifica LeggiVerifica(const TestoCampo& testo, char separatore = ';', const IngressiVerifica& predefiniti = {},
                              bool camino = false);

// The target of the verdict: the one typed, or the rules' figure for the
// waste (the case's own fuel, before any support fuel), presumed.
struct ObiettivoVerifica {
    double temperatura = 850;  // °C
    bool presunto = false;
};
ObiettivoVerifica ObiettivoDi(const IngressiCaso& caso, const ParametriVerifica& p);

// The checks on a completed run of `caso` with the support fuel of `in`, in
// `m`, whose warnings (AvvisiCaso of `caso` on `m`) are `avvisi`.
struct GiudizioVerifica {
    RisultatiVerifica risultati;
    ObiettivoVerifica obiettivo;
    std::vector<Avviso> avvisi;  // the case's, on this run
    std::string verdetto;
};
GiudizioVerifica Giudica(const IngressiCaso& caso, const IngressiVerifica& in, const Modulo1& m,
                         std::vector<Avviso> avvisi);

// The verdict line: "850 °C per 2 s: raggiunti (T = 1234,5 °C)" and kin; while a
// warning stands, "non valutabile: " and the first warning; a presumed 1100 °C
// says so; `note` (loads that cannot be referred, an equilibrium without a
// figure or below its range) follows.
std::string Verdetto(const ObiettivoVerifica& o, double tempo, std::optional<double> temperatura,
                     const std::vector<Avviso>& avvisi, const std::string& note = {});

// "&Calcola": the case with its support fuel and the checks on it.
struct EsitoVerifica {
    bool completato = false;
    Modulo1 m;                 // the run with the support fuel
    GiudizioVerifica giudizio; // the warnings also after a stop
    std::string verdetto;      // the verdict, or why the run stopped
};
EsitoVerifica EseguiVerifica(const IngressiCaso& caso, const IngressiVerifica& in);

// A result box's text: cut to its decimals, "—" for no value, "" after a stop.
std::string TestoRisultato(const Grandezza& g, const EsitoVerifica& e);

// What "Salva" writes for a completed run: the inputs, the results with their
// units, the warnings, the verdict.
std::vector<std::string> RigheVerifica(const EsitoVerifica& e, const IngressiVerifica& in);
// The lines as a file: Windows-1252, CRLF after each.
std::string ByteRighe(const std::vector<std::string>& righe);

// "&Trova supporto": the support-fuel flow for the typed target. A refusal
// (no support fuel, no target) names its input; otherwise `portata` is the
// text for the flow box when the case should be run again at it.
struct EsitoTrova {
    std::string rifiuto;
    const CampoVerifica* campo = nullptr;
    std::optional<std::string> portata;
    RicercaSupporto ricerca;
};
EsitoTrova TrovaSupportoVerifica(const IngressiCaso& caso, const IngressiVerifica& in);

// The support fuel in words, for the saved lines.
std::string DescriviSupporto(const Supporto& s);

// The window's own texts, the same on every face.
inline constexpr const char* TitoloFrazioni = "Frazioni ponderali del supporto Ponderale [kg/kg], somma 1:";
inline constexpr const char* TitoloAvvisi = "Avvisi:";
// A result box with no value.
inline constexpr const char* NessunValore = "\u2014";
// What an empty temperature of the equilibrium stands for: TempFumiEq.
inline constexpr const char* TestoAdiabatica = "adiabatica";
// The heading of the results of the chemical equilibrium (DiEquilibrio).
inline constexpr const char* TitoloEquilibrio = "Equilibrio chimico (energia di Gibbs, dati NASA)";
inline constexpr const char* NessunRisultato = "Nessun risultato da salvare";
inline constexpr const char* ScegliereSupporto = "Scegliere il combustibile di supporto (Metano o Ponderale)";
inline constexpr const char* IndicareObiettivo = "Indicare la temperatura obiettivo per cercare il supporto";

}  // namespace termix::vista
