#include "vista/Scelte.h"

namespace termix::vista {

Ruolo RuoloDi(TipoCombustibile t) { return t == TipoCombustibile::Metano ? Ruolo::Metano : Ruolo::Altri; }
Ruolo RuoloDi(Composizione c) { return c == Composizione::Atomica ? Ruolo::Atomica : Ruolo::Ponderale; }

std::optional<double> O2Di(double scelta) {
    if (scelta < 0) return std::nullopt;
    return scelta;
}

}  // namespace termix::vista
