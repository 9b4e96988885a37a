#pragma once
// Small readers over an ordered effect list, for the core tests.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/Effetti.h"

namespace termix::prova {

using Chiave = std::pair<Finestra, std::string>;

// The last text written into each box.
inline std::map<Chiave, std::string> testi(const EsitoOperazione& e) {
    std::map<Chiave, std::string> t;
    for (const auto& x : e.effetti)
        if (x.tipo == Effetto::Tipo::Testo) t[{x.finestra, std::string(x.controllo)}] = x.testo;
    return t;
}

// Boxes written, in writing order.
inline std::vector<std::string> ordineTesti(const EsitoOperazione& e, Finestra f) {
    std::vector<std::string> v;
    for (const auto& x : e.effetti)
        if (x.tipo == Effetto::Tipo::Testo && x.finestra == f) v.emplace_back(x.controllo);
    return v;
}

inline std::vector<Effetto::Tipo> tipi(const EsitoOperazione& e) {
    std::vector<Effetto::Tipo> v;
    for (const auto& x : e.effetti) v.push_back(x.tipo);
    return v;
}

}  // namespace termix::prova
