#include "batch/Colonne.h"

#include <vector>

namespace termix::batch {

std::span<const Grandezza* const> ColonneIngresso() {
    static const std::vector<const Grandezza*> colonne = [] {
        std::vector<const Grandezza*> c;
        for (const Grandezza& g : Grandezze())
            if (g.ha(Ingresso)) c.push_back(&g);
        return c;
    }();
    return colonne;
}

}  // namespace termix::batch
