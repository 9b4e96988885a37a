#pragma once
// The tool's --help, in Italian: the usage, the input columns with their
// units and ranges (from the table of quantities), the rules and exit codes.
#include <string>

#include "model/Grandezze.h"

namespace termix::batch {

std::string TestoAiuto();

// What an input column's line of the help says beyond its label, unit and
// range (the heating value's basis, for one), or null.
const char* NotaColonna(Quantita q);

// A few lines for whoever starts the tool without a command prompt.
std::string TestoAvvio();

}  // namespace termix::batch
