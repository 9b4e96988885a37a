#pragma once
// Whether a case's numbers can be trusted: the warnings ("avvisi") computed
// once per case beside its results, which are never changed by them. Each
// names the quantity it is about and says why in one Italian sentence.
#include <string>
#include <vector>

#include "combustion/Caso.h"
#include "model/Grandezze.h"
#include "model/Modulo1.h"

namespace termix {

struct Avviso {
    Quantita grandezza;
    std::string testo;  // one sentence, starting with the quantity's label
};

// The warnings of a case run on `m`: its inputs against their physical
// ranges and the weight fractions' sum; when `completato` (the whole run
// filled `m`), the results the physics forbids (Cl2 beyond the chlorine
// present, a negative flow, share or concentration, O2 outside 0-21 %, a
// flue gas colder than the air) and the calculation's doubtful steps (the
// chlorine iteration's exit on its oxygen test or through the clamp to 0, the
// specific heat held at the table's 1250 K, the NASA data's range). In the
// table's order of the quantities, inputs first.
std::vector<Avviso> AvvisiCaso(const IngressiCaso& caso, const Modulo1& m, bool completato);

// The warnings as one text, joined by " | " (empty when none).
std::string TestoAvvisi(const std::vector<Avviso>& avvisi);

}  // namespace termix
