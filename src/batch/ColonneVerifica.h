#pragma once
// The batch tool's support-fuel and "Verifica" columns: the table's inputs of
// the checks, read beside the usual ones as the Verifica window reads its
// boxes, and with --verifica its results and the verdict after the usual values.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/Grandezze.h"
#include "vista/Camino.h"
#include "vista/Verifica.h"

namespace termix::batch {

// The command line's part: --verifica, --modello, --permanenza,
// --o2-riferimento, --conversione-so3, --obiettivo-rif, --temp-equilibrio.
struct OpzioniVerifica {
    bool attiva = false;  // the check columns are written
    bool camino = false;  // --camino: the stack's columns are written
    bool applicaEccesso = false;  // --applica-eccesso: each case at the excess air its readings give
    // What an empty or absent cell means: the rules' defaults, or the options'.
    vista::IngressiVerifica predefiniti;
};

// The options' values: numbers with the decimal comma or point; the
// reference O2 also "nessuno". A message when not usable.
std::optional<std::string> LeggiModello(std::string_view testo, OpzioniVerifica& o);
std::optional<std::string> LeggiParametro(std::string_view opzione, std::string_view testo, OpzioniVerifica& o);

enum class DifettoExtra {
    Nessuno,
    Rifiuto,      // a cell refused, or inputs the checks refuse: the record stops with the message
    Sconosciuto,  // a choice the tool does not know: the record is not valid
};
// One record's support fuel and parameters from its cells (`campoDiColonna`:
// each quantity's field position, -1 when absent) over the options; a cell
// that is no number is named in `dove`.
DifettoExtra LeggiExtra(const std::array<int, NumeroGrandezze>& campoDiColonna,
                        std::span<const std::string_view> campi, char sep, const OpzioniVerifica& o,
                        vista::IngressiVerifica& out, std::string& messaggio, Dettaglio& dove);

// One record's stack readings from its cells over `in` (the support fuel and
// parameters already read): a refusal, a cell that is no number among them,
// names its column and comes back as the stack's note, the record goes on.
vista::LetturaVerifica LeggiCamino(const std::array<int, NumeroGrandezze>& campoDiColonna,
                                   std::span<const std::string_view> campi, char sep,
                                   const vista::IngressiVerifica& in);

// The check columns' names (the stack's after them with `o.camino`), and one
// record's values (empty cells without them), each after a separator.
void ScriviNomiVerifica(std::string& out, char sep, const OpzioniVerifica& o);
void ScriviVerifica(std::string& out, const vista::GiudizioVerifica* g, const vista::EsitoCaminoVista* c, char sep,
                    const OpzioniVerifica& o);
inline constexpr const char* ColonnaNoteCamino = "NoteCamino";

}  // namespace termix::batch
