#pragma once
// The case now on the page, as the page's other sections (Andamento) take it.
#include <string>

#include "combustion/Caso.h"

namespace termix::web {

// The case now on the page, as the Andamento and Verifica windows take it, and
// the names typed with it.
struct CasoPagina {
    IngressiCaso caso;
    std::string impianto, combustibile;
};
CasoPagina CasoDellaPagina();

}  // namespace termix::web
