#pragma once
// The tool's --help, in Italian: the usage, the input columns with their
// units and ranges (from the table of quantities), the rules and exit codes.
#include <cstdio>
#include <string>

#include "model/Grandezze.h"

namespace termix::batch {

std::string TestoAiuto();

// What an input column's line of the help says beyond its label, unit and
// range (the heating value's basis, for one), or null.
const char* NotaColonna(Quantita q);

// A few lines for whoever starts the tool without a command prompt.
std::string TestoAvvio();
// Started on a console of its own: TestoAvvio, then waits for Enter. Exit status 0.
int AvvioDaSolo(std::FILE* ingresso, std::FILE* uscita);

}  // namespace termix::batch
