#pragma once
// "Camino" for every face (the desktop window, the page's section, the batch
// tool's --camino): the stack's readings on the case with the Verifica
// inputs' support fuel, the results in the table's order, the notes, and the
// excess air the readings give, to apply to the case.
#include <optional>
#include <span>
#include <string>

#include "vista/Verifica.h"

namespace termix::vista {

struct EsitoCaminoVista {
    bool calcolato = false;                // the results stand (some may be empty)
    EsitoCamino camino;
    std::string rifiuto;                   // why nothing was computed: a refused reading, the fuel's stop
    const CampoVerifica* campo = nullptr;  // the reading to go back to
};

// The readings of `in.camino` on `caso` with the support fuel of `in`: the
// fuel step of the blend, then the stack's balance (never the whole run).
EsitoCaminoVista EseguiCamino(const IngressiCaso& caso, const IngressiVerifica& in);
// The same from the texts of every input of the checks (the window's or
// page's boxes): the checks' inputs read first, then the readings; a refusal
// of either names its input.
EsitoCaminoVista CaminoDaTesti(const IngressiCaso& caso, const TestoCampo& testo);

// The result boxes, in order: the table's UscitaCamino entries.
std::span<const Grandezza* const> RisultatiCaminoMostrati();
// A result's text: cut to its decimals, "—" for no value, "" when nothing was computed.
std::string TestoRisultatoCamino(const Grandezza& g, const EsitoCaminoVista& e);
// The notes (and a refusal) as one line, " | " between them.
std::string NoteCamino(const EsitoCaminoVista& e);
// The excess air a reading gives, as the excess-air box's text; empty
// without a reading that reaches one.
std::optional<std::string> EccessoDaApplicare(const EsitoCaminoVista& e);

inline constexpr const char* TitoloCamino = "Camino - Termix54";
inline constexpr const char* TitoloNoteCamino = "Note:";
inline constexpr const char* NessunEccessoMisurato =
    "Nessun eccesso d'aria da applicare: indicare l'O2 o la CO2 misurati";

}  // namespace termix::vista
