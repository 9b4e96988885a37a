#pragma once
// The "Verifica" window's logic without its widgets, so that the desktop and
// the page read the same boxes, refuse the same texts and show the same values:
// the inputs as typed, the results as texts by quantity name, the verdict, the
// lines "Salva" writes, and the support-fuel flow for the target.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "combustion/Caso.h"
#include "combustion/Supporto.h"
#include "combustion/Verifica.h"

namespace termix {

// The choices' lists, in order (the index is the choice).
inline constexpr const char* ScelteSupporto[] = {"Nessuno", "Metano", "Ponderale"};
inline constexpr const char* ScelteO2[] = {"11 %", "6 %", "3 %", "nessuno"};
inline constexpr const char* ScelteModello[] = {"entalpie NASA", "tabella del programma"};

// The support fuel's fractions as the window and the saved lines name them.
inline constexpr const char* NomiFrazioni[] = {"C", "H", "O", "Cl", "S", "N", "Inerti", "Acqua"};

// The boxes, by the quantity's name, in the window's order.
inline constexpr const char* CaselleVerifica[] = {
    "SupportoPortata", "SupportoPotereCalorifico", "SupportoFrazC", "SupportoFrazH", "SupportoFrazO",
    "SupportoFrazCl",  "SupportoFrazS",            "SupportoFrazN", "SupportoInerti", "SupportoAcqua",
    "TempoPermanenza", "DiametroCamera",           "ConversioneSO3", "Obiettivo"};
// The result boxes, in the window's order.
inline constexpr const char* RisultatiVerificaNomi[] = {
    "TempFumi", "TempFumiRif", "Differenza", "VolumeCamera", "VelocitaCamera", "LunghezzaCamera", "O2Secco",
    "HClRif",   "SO2Rif",      "Cl2Rif",     "RugiadaAcqua", "RugiadaSolforica", "RugiadaCloridrica"};

// The window's caption of a box, a list or a result, by the name above
// (also "SupportoTipo", "O2Riferimento", "Modello"): label and [unit].
std::string EtichettaVerifica(std::string_view nome);

struct SceltaVerifica {
    int supporto = 0, o2 = 0, modello = 0;  // indexes into the lists above
};

// The inputs read from the boxes; on a refusal, the message and the box to go back to.
struct LetturaVerifica {
    Supporto supporto;
    ParametriVerifica parametri;
    double obiettivo = 0;
    std::string messaggio;  // empty: read well
    std::string casella;    // the box refused, empty when the refusal is not one box's
};
LetturaVerifica LeggiVerifica(const std::function<std::string(const char* casella)>& testo, SceltaVerifica scelta);

// The support fuel in words, for the saved lines.
std::string DescriviSupporto(const Supporto& s);

// "&Calcola": the case with its support fuel and the checks on it.
struct EsitoVerifica {
    bool completato = false;
    std::vector<std::pair<std::string, std::string>> testi;  // every result box (empty texts after a stop)
    std::string verdetto;                                    // or why the run stopped
    std::vector<std::string> righe;                          // what "Salva" writes; empty after a stop
};
EsitoVerifica EseguiVerifica(const IngressiCaso& caso, const LetturaVerifica& l);

// "&Trova supporto": the flow for the target. A refusal (no support fuel
// chosen) comes as `messaggio`; otherwise `portata` is the text for the flow
// box when the case should be run again at it, and `frase` the answer.
struct EsitoTrova {
    std::string messaggio, casella;
    std::optional<std::string> portata;
    RicercaSupporto ricerca;
};
EsitoTrova TrovaSupportoVerifica(const IngressiCaso& caso, const LetturaVerifica& l);

// The target the incineration rules set for the case's fuel, as the target box shows it.
std::string TestoObiettivoNormativo(const IngressiCaso& caso);

// The lines as "Salva" writes them: Windows-1252, CRLF after each.
std::string ByteRighe(const std::vector<std::string>& righe);

// The Verifica window's text, the same everywhere.
inline constexpr const char* NessunRisultato = "Nessun risultato da salvare";

}  // namespace termix
