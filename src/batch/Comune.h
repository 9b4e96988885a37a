#pragma once
// What the files of a batch run share beyond their own headers: the name
// every message of the run starts with. Internal to the batch library.

namespace termix::batch {

inline constexpr const char* Programma = "termix54-batch";

}  // namespace termix::batch
