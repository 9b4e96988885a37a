#pragma once
// Test helpers: box texts held in a map, filled the way the forms would be
// after the methane walk (typed boxes, then the core's display effects).
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "report/Rapporto.h"
#include "support/Casi.h"

namespace termix::prova {

class TestiForm : public SorgenteTesti {
public:
    std::string Testo(Bersaglio b) const override { auto it = testi.find(b); return it == testi.end() ? "" : it->second; }
    void Applica(const EsitoOperazione& esito) { for (auto& [b, t] : prova::testi(esito)) testi[b] = t; }
    std::string& operator()(std::string_view nome) { return testi[B(nome)]; }
    std::map<Bersaglio, std::string> testi;
};

class OrologioFisso : public Orologio {
public:
    std::string Data() override { ++chiamate; return data; }
    std::string Ora() override { ++chiamate; return ora; }
    std::string data = "06/12/2026", ora = "03:04:05";
    int chiamate = 0;
};

// The methane walk: plant and flow typed on Form2, Metano + "&Calcola", the
// conditions of the worked case typed on Form3, then "&Calcola" on Form3.
inline TestiForm TestiMetano(Modulo1& m) {
    TestiForm t;
    t("Impianto") = "Impianto Nord", t("PortataComb") = "100", m.PortataComb = 100;
    t.Applica(CalcolaCombustibile(m, TipoCombustibile::Metano, Composizione::Nessuna));
    condizioni(m, 20, 20, 50, 20, 5);
    for (auto [box, testo] : {std::pair{"EccessoAria", "20"}, {"TempAria", "20"}, {"UmiditaRelativa", "50"},
                              {"TempCeneri", "20"}, {"Dispersioni", "5"}})
        t(box) = testo;
    t.Applica(EseguiCalcolo(m));
    return t;
}

// The records of a text whose records end with CRLF (a bare LF may sit inside one).
inline std::vector<std::string> RigheCrLf(const std::string& testo) {
    std::vector<std::string> r;
    size_t i = 0;
    for (size_t j; (j = testo.find("\r\n", i)) != std::string::npos; i = j + 2) r.push_back(testo.substr(i, j - i));
    if (i != testo.size()) r.push_back("<no CRLF after> " + testo.substr(i));
    return r;
}

// The methane walk's report file (TestiMetano above, clock at 06/12/2026 03:04:05) as a user gets it:
// Metano.TXT next to this header, laid out by hand from the line table with the values the forms show
// after the walk (checked against the worked examples). Windows-1252, CRLF kept by .gitattributes.
inline std::string AttesoMetano() {
    const std::string qui = __FILE__;
    std::ifstream f(qui.substr(0, qui.find_last_of("/\\") + 1) + "Metano.TXT", std::ios::binary);
    return f ? std::string(std::istreambuf_iterator<char>(f), {}) : "<Metano.TXT missing>";
}

}  // namespace termix::prova
