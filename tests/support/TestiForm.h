#pragma once
// Test helpers: box texts held in a map, filled the way the forms would be
// after the methane walk (typed boxes, then the core's display effects).
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "report/Rapporto.h"
#include "support/Casi.h"

namespace termix::prova {

class TestiForm : public SorgenteTesti {
public:
    std::string Testo(Bersaglio b) const override {
        auto it = testi.find(b);
        return it == testi.end() ? std::string() : it->second;
    }
    void Applica(const EsitoOperazione& esito) {
        for (const Effetto& e : esito.effetti)
            if (e.tipo == Effetto::Tipo::Testo) testi[e.bersaglio] = e.testo;
    }
    std::string& operator()(std::string_view nome) { return testi[B(nome)]; }

    std::map<Bersaglio, std::string> testi;
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
    t("Impianto") = "Impianto Nord";
    t("PortataComb") = "100";
    m.PortataComb = 100;
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

// The methane walk's report file (TestiMetano above, clock at
// 06/12/2026 03:04:05), laid out by hand from the line table; the values are
// those the forms show after the walk, checked against the worked examples in
// test_rapporto.cpp. Windows-1252 bytes, CRLF line ends.
inline std::string AttesoMetano() {
    return
        "Bilancio di massa e di energia della combustione\r\n"
        "\r\n"
        "     Data rapporto di calcolo                     = 06/12/2026\r\n"
        "     Ora  rapporto di calcolo                     = 03:04:05\r\n"
        "     Impianto                      = Impianto Nord\r\n"
        "     Combustibile                  = Metano\r\n"
        "     Portata combustibile          = 100 kg/h\r\n"
        "     Propriet\xE0" " combustibile :\r\n"
        "     Specie atomica          Frazione ponderale\r\n"
        "        Carbonio                  0,7487\r\n"
        "        Idrogeno                  0,2513\r\n"
        "        Ossigeno                  0\r\n"
        "        Cloro                     0\r\n"
        "        Zolfo                     0\r\n"
        "        Azoto                     0\r\n"
        "        Inerti                    0\r\n"
        "        Acqua                     0\r\n"
        "     Ossigeno stechiometrico       = 124,665 moli/kg comb.\r\n"
        "     Ossigeno stechiometrico       = 3,98928 kg/kg comb.\r\n"
        "     Potere calorifico inferiore   = 11958 kal/kg\r\n"
        "\r\n"
        "     Eccesso d'aria                = 20 %\r\n"
        "     Temperatura aria              = 20 \xB0" "C\r\n"
        "     Umidit\xE0" " relativa aria         = 50 %\r\n"
        "     Umidit\xE0" " specifica aria        = 0,00734 kgH2O/kg aria secca\r\n"
        "     Temperatura uscita ceneri     = 20 \xB0" "C\r\n"
        "     Dispersioni termiche          = 5 %\r\n"
        "\r\n"
        "     Propriet\xE0" " del combustibile in alimentazione\r\n"
        "     Portata ponderale C  totale                  = 74,87 kg/h\r\n"
        "     Portata ponderale H  totale                  = 25,13 kg/h\r\n"
        "     Portata ponderale O  totale                  = 0 kg/h\r\n"
        "     Portata ponderale Cl totale                  = 0 kg/h\r\n"
        "     Portata ponderale S  totale                  = 0 kg/h\r\n"
        "     Portata ponderale N  totale                  = 0 kg/h\r\n"
        "     Portata acqua  totale                        = 0 kg/h\r\n"
        "     Portata inerti totale                        = 0 kg/h\r\n"
        "     Energia disponibile in ingresso              = 1195800 kcal/h\r\n"
        "     Energia disponibile netta                    = 1136010 kcal/h\r\n"
        "\r\n"
        "     Caratteristiche aria comburente in alimentazione\r\n"
        "     Portata ponderale   O2 stechiometrico        = 398,928 kg/h\r\n"
        "     Portata volumetrica O2 stechiometrico        = 278,85 Nm3/h\r\n"
        "     Portata ponderale   aria stechiometrica      = 1734,185 kg/h\r\n"
        "     Portata volumetrica aria stechiometrica      = 1327,86 Nm3/h\r\n"
        "     Portata ponderale   aria effettiva           = 2081,022 kg/h\r\n"
        "     Portata volumetrica aria effettiva           = 1593,432 Nm3/h\r\n"
        "     Portata acqua (umidit\xE0" " atmosferica)          = 15,294 kg/h\r\n"
        "\r\n"
        "     Caratteristiche fumi di combustione\r\n"
        "     Temperatura teorica fumi                     = 1314,6 \xB0" "C\r\n"
        "     Peso molecolare medio fumi                   = 27,717 g/mole\r\n"
        "     Calore specifico medio fumi                  = 0,399 kcal/kg\xB0" "C\r\n"
        "     Costante equil.reazione cloro                = 0,023408  v atm\r\n"
        "     Concentrazione Cl2 nei fumi                  = 0  ppm\r\n"
        "     Portata volumetrica fumi                     = 1775,261 Nm3/h\r\n"
        "     Portata volumetrica fumi                     = 10319,366 m3/h\r\n"
        "\r\n"
        "Composto    Portata    Portata     % volume    % peso\r\n"
        "           [kmoli/h]    [kg/h]\r\n"
        "  N2       57,052      1598,37     72,03       72,8\r\n"
        "  O2       2,505       80,184      3,16        3,65\r\n"
        "  CO2      6,264       275,712     7,9         12,55\r\n"
        "  H2O      13,38       241,067     16,89       10,98\r\n"
        "  SO2      0           0           0           0\r\n"
        "  HCl      0           0           0           0\r\n"
        " Totale    79,203      2195,335    100,00      100,00\r\n"
        ;
}

}  // namespace termix::prova
