#include "model/Effetti.h"

namespace termix {

std::vector<std::string> EsitoOperazione::messaggi() const {
    std::vector<std::string> m;
    for (const auto& e : effetti)
        if (e.tipo == Effetto::Tipo::Messaggio) m.push_back(e.testo);
    return m;
}

}  // namespace termix
