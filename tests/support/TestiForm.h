#pragma once
// Test helpers: box texts held in a map, filled the way the forms would be
// after the methane walk (typed boxes, then the core's display effects).
#include <map>
#include <string>
#include <utility>

#include "report/Rapporto.h"
#include "support/Casi.h"

namespace termix::prova {

class TestiForm : public SorgenteTesti {
public:
    std::string Testo(Finestra f, std::string_view c) const override {
        ++letture;
        auto it = testi.find({f, std::string(c)});
        return it == testi.end() ? std::string() : it->second;
    }
    void Applica(const EsitoOperazione& esito) {
        for (const Effetto& e : esito.effetti)
            if (e.tipo == Effetto::Tipo::Testo) testi[{e.finestra, std::string(e.controllo)}] = e.testo;
    }
    std::string& operator()(Finestra f, const std::string& c) { return testi[{f, c}]; }

    std::map<std::pair<Finestra, std::string>, std::string> testi;
    mutable int letture = 0;
};

class OrologioFisso : public Orologio {
public:
    std::string Data() override { ++chiamate; return data; }
    std::string Ora() override { ++chiamate; return ora; }
    std::string data = "06/12/2026";
    std::string ora = "03:04:05";
    int chiamate = 0;
};

// The methane walk: plant and flow typed on Form2, Metano + "&Calcola", the
// conditions of the worked case typed on Form3, then "&Calcola" on Form3.
inline TestiForm TestiMetano(Modulo1& m) {
    TestiForm t;
    t(Finestra::Form2, "Text1") = "Impianto Nord";
    t(Finestra::Form2, "Text20") = "100";
    m.PortataComb = 100;
    t.Applica(CalcolaCombustibile(m, TipoCombustibile::Metano, Composizione::Nessuna));
    condizioni(m, 20, 20, 50, 20, 5);
    for (auto [box, testo] : {std::pair{"Text2", "20"}, {"Text4", "20"}, {"Text5", "50"}, {"Text8", "20"}, {"Text10", "5"}})
        t(Finestra::Form3, box) = testo;
    t.Applica(EseguiCalcolo(m));
    return t;
}

}  // namespace termix::prova
