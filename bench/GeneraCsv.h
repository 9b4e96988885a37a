#pragma once
// Test cases for the batch tool in bulk: plausible plant variants (methane,
// formulas, weight fractions; excess air, humidity, temperatures), a few
// quoted names, written in the ';' or ',' convention. Chlorine comes only
// with the formulas: with weight fractions of a few parts per thousand the
// chlorine iteration sometimes never settles and each such row costs the
// 10,000,000-pass guard (over a second), which would measure the guard, not
// the tool.
#include <cstdint>
#include <cstdio>

namespace termix::bench {

// Writes the header and `record` data records; false on a write error.
bool GeneraCsv(std::FILE* f, std::uint64_t record, char separatore, std::uint64_t seme = 54);

}  // namespace termix::bench
