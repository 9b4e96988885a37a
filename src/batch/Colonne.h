#pragma once
// The batch tool's columns, in one place: what it reads (and which form box a
// user would type each into) and what it writes.
#include <array>
#include <cstddef>

#include "model/Effetti.h"
#include "model/Modulo1.h"
#include "report/TabellaRisultati.h"

namespace termix::batch {

struct ColonnaIngresso {
    enum class Tipo { Testo, Opzione, Numero };
    const char* nome;
    Tipo tipo;
    Numero Modulo1::*variabile;  // numeric columns only
    Finestra finestra;           // the box (or option group) on the forms
    const char* controllo;       // for Opzione: the group's first button
};

inline constexpr std::size_t NumeroColonneIngresso = 25;
extern const std::array<ColonnaIngresso, NumeroColonneIngresso> ColonneIngresso;

// Positions in ColonneIngresso of the columns the processing treats apart.
enum IndiceColonna : int {
    ColImpianto = 0,
    ColCombustibile = 1,
    ColTipo = 2,
    ColComposizione = 3,
    ColPrimoCombustibile = 4,  // PortataComb ... Acqua: stored before the fuel calculation
    ColUltimoCombustibile = 18,
    ColPotereCalorifico = 19,
    ColPrimaCondizione = 20,  // EccessoAria ... Dispersioni: stored before the run
    ColUltimaCondizione = 24,
};

// The value columns are shared with the forms' export.
using termix::ColonnaUscita;
using termix::ColonneValori;
using termix::NumeroColonneValori;

}  // namespace termix::batch
