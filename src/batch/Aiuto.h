#pragma once
// The tool's --help, in Italian: the usage, the input columns with their
// units and ranges (from the table of quantities), the rules and exit codes.
#include <string>

namespace termix::batch {

std::string TestoAiuto();

// A few lines for whoever starts the tool without a command prompt.
std::string TestoAvvio();

}  // namespace termix::batch
