#pragma once
// Test cases for the batch tool in bulk: plausible plant variants (methane,
// formulas, weight fractions; excess air, humidity, temperatures), a few
// quoted names, written in the ';' or ',' convention. Chlorine comes with the
// formulas, and with the weight fractions only when `cloro` is set: with a few
// parts per thousand of chlorine about one such row in fifty never settles
// (an exact cycle, or a wandering that runs to the pass guard).
#include <cstdint>
#include <cstdio>

namespace termix::bench {

// Writes the header and `record` data records; false on a write error.
bool GeneraCsv(std::FILE* f, std::uint64_t record, char separatore, std::uint64_t seme = 54, bool cloro = false);

}  // namespace termix::bench
