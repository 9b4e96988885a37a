#pragma once
#include "model/Effetti.h"
#include "model/Modulo1.h"

namespace termix {

// The two option groups of the fuel form, read when "&Calcola" runs.
enum class TipoCombustibile { Nessuno, Metano, Altri };
enum class Composizione { Nessuna, Atomica, Ponderale };

// "&Calcola" of the fuel form: the methane preset, or the molecular weight,
// weight fractions and stoichiometric oxygen of an atomic or weight-fraction
// fuel. Record updates happen in place; the display effects (texts, colours,
// option selections, the heating value on Form3, the final focus, the error
// message) come back in order.
EsitoOperazione CalcolaCombustibile(Modulo1& m, TipoCombustibile tipo, Composizione composizione);

}  // namespace termix
