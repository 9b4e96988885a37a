#include "batch/Colonne.h"

namespace termix::batch {

std::span<const Grandezza* const> ColonneIngresso() { return ConUso(Ingresso); }

}  // namespace termix::batch
