#pragma once
// The batch tool's columns: what it reads, from the table of quantities.
#include <span>

#include "model/Grandezze.h"
#include "report/TabellaRisultati.h"

namespace termix::batch {

// The input columns: the quantities a user types, in table order (the two
// names, the two choices, then the numeric boxes of the fuel and conditions
// forms).
std::span<const Grandezza* const> ColonneIngresso();

}  // namespace termix::batch
