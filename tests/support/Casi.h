#pragma once
// The worked cases, as records ready for the calculation run, the texts the
// run writes into the result forms for each of them, and readers of effects.
#include <map>
#include <stdexcept>
#include <string_view>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "combustion/CalcoloCondizioni.h"
#include "combustion/Supporto.h"
#include "fuel/CalcoloCombustibile.h"
#include "model/Effetti.h"
#include "model/Modulo1.h"

namespace termix::prova {

// Air at TempAria and humidity, then ashes and losses: the Form3 boxes.
inline void condizioni(Modulo1& m, double eccesso, double aria, double umidita, double ceneri, double perdite) {
    m.EccessoAria = eccesso, m.TempAria = aria, m.UmiditaRelativa = umidita, m.TempCeneri = ceneri, m.Dispersioni = perdite;
}

// Methane preset, 100 kg/h, 20 % excess air, air at 20 °C and 50 %, ash at 20 °C, 5 % losses.
inline Modulo1 metano() {
    Modulo1 m;
    m.PortataComb = 100;
    CalcolaCombustibile(m, TipoCombustibile::Metano, Composizione::Nessuna);
    condizioni(m, 20, 20, 50, 20, 5);
    return m;
}

// Vinyl chloride C2H3Cl by its formula, 50 kg/h, heating value by "&No".
inline Modulo1 cloruroDiVinile() {
    Modulo1 m;
    m.PortataComb = 50, m.AtomiC = 2, m.AtomiH = 3, m.AtomiCl = 1;
    CalcolaCombustibile(m, TipoCombustibile::Altri, Composizione::Atomica);
    StimaPotereCalorifico(m);
    condizioni(m, 60, 15, 70, 300, 3);
    return m;
}

// A fuel by weight fractions {C, H, O, Cl, S, N, inerts, water}, with its heating
// value and {excess air, air temperature, humidity, ash temperature, losses}.
inline Modulo1 ponderale(double portata, const double (&f)[8], double potere, const double (&c)[5]) {
    using M = Modulo1;
    Modulo1 m;
    m.PortataComb = portata;
    for (auto [v, x] : {std::pair{&M::FrazC, f[0]}, {&M::FrazH, f[1]}, {&M::FrazO, f[2]}, {&M::FrazCl, f[3]},
                        {&M::FrazS, f[4]}, {&M::FrazN, f[5]}, {&M::Inerti, f[6]}, {&M::Acqua, f[7]}})
        m.*v = x;
    CalcolaCombustibile(m, TipoCombustibile::Altri, Composizione::Ponderale);
    m.PotereCalorifico = potere;
    condizioni(m, c[0], c[1], c[2], c[3], c[4]);
    return m;
}

// Flue gas at 1040 °C: after 62 passes the chlorine Newton steps repeat two values.
inline Modulo1 cloroCiclico() {
    return ponderale(3228.2, {0.55, 0.0593, 0.1967, 0.0096, 0.0042, 0.002, 0.144, 0.034}, 3902,
                     {19.9, -7.2, 61, 328, 0.6});
}

// The chlorine fuel of the whole-run example (flue gas at 1175.913 °C, 15.5577 ppm Cl2).
inline Modulo1 combustibileClorurato() {
    Modulo1 m;
    m.FrazC = 0.5, m.FrazH = 0.06, m.FrazO = 0.1, m.FrazCl = 0.05, m.FrazS = 0.01, m.FrazN = 0.01;
    m.Inerti = 0.17, m.Acqua = 0.1, m.OssigenoPonderale = 1.4, m.PortataComb = 100, m.PotereCalorifico = 5000;
    condizioni(m, 50, 20, 50, 400, 5);
    return m;
}

// The methane case as typed, and a wet waste by weight fractions: 1000 kg/h, half water,
// 2 % chlorine, 1500 kcal/kg typed.
inline IngressiCaso casoMetano() {
    IngressiCaso in{TipoCombustibile::Metano, Composizione::Nessuna, {}, false};
    in.valori.PortataComb = 100;
    condizioni(in.valori, 20, 20, 50, 20, 5);
    return in;
}
inline IngressiCaso casoRifiuto() {
    IngressiCaso in{TipoCombustibile::Altri, Composizione::Ponderale, {}, true};
    const double f[8] = {0.2, 0.03, 0.1, 0.02, 0, 0, 0.15, 0.5};
    for (int k = 0; k < 8; ++k) in.valori.*FrazioniPonderali[k] = f[k];
    in.valori.PortataComb = 1000, in.valori.PotereCalorifico = 1500;
    condizioni(in.valori, 60, 20, 50, 300, 5);
    return in;
}

// A waste just over the incineration rules' 1 % chlorine: 1000 kg/h with 1,05 % Cl and 0,5 % S
// (the rest of casoRifiuto's, the inerts making up the sum). 49 kg/h of methane keep the blend
// at 10,5 / 1049 = 1,001 % Cl, 51 kg/h bring it to 10,5 / 1051 = 0,999 %.
inline IngressiCaso casoRifiutoAlLimite() {
    IngressiCaso in = casoRifiuto();
    in.valori.FrazCl = 0.0105, in.valori.FrazS = 0.005, in.valori.Inerti = 0.1545;
    return in;
}

// A target by its name: a quantity's column name, or a role's name.
inline Bersaglio B(std::string_view nome) {
    if (const Grandezza* g = TrovaGrandezza(nome)) return g->id;
    static const std::pair<const char*, Ruolo> ruoli[] = {
        {"Metano", Ruolo::Metano},     {"Altri", Ruolo::Altri},     {"Atomica", Ruolo::Atomica}, {"Ponderale", Ruolo::Ponderale},
        {"Continua", Ruolo::Continua}, {"TotaleVolume", Ruolo::TotaleVolume}, {"TotalePeso", Ruolo::TotalePeso}};
    for (auto [n, r] : ruoli)
        if (nome == n) return r;
    throw std::invalid_argument("no quantity or role named " + std::string(nome));
}

// The results in the order the run writes them: the feed and air results
// (the humidity first, before the iteration), then the flue gas.
inline const char* const BoxForm7 =
    "UmiditaSpecifica PortataC PortataH PortataO PortataCl PortataS PortataN PortataAcqua PortataInerti "
    "EnergiaIngresso EnergiaNetta PortataO2Stech PortataVolO2Stech PortataAriaStech PortataVolAriaStech "
    "PortataAriaEff PortataVolAriaEff PortataAcquaUmidita";
inline std::string BoxForm8() {
    std::string s = "TempFumi PesoMolecolareFumi CaloreSpecificoFumi CostanteCloro ConcCl2 PortataVolFumiNormale "
                    "PortataVolFumi";
    for (const char* x : {"N2", "O2", "CO2", "H2O", "SO2", "HCl"})
        for (const char* k : {"Kmoli", "Portata", "PercVol", "PercPeso"}) s += std::string(" ") + k + x;
    return s + " KmoliFumi PortataFumi TotaleVolume TotalePeso";
}

// The texts of BoxForm7 and of BoxForm8, blank-separated.
struct CasoLavorato { const char* nome; Modulo1 (*record)(); const char* form7; const char* form8; };

// Methane: the worked figures (humidity 0,00734, energies 1195800 and 1136010, air 2081,022,
// 79,203 kmol/h and 2195,335 kg/h, 27,717 g/mole, 1314,6 °C, 0,399, 1775,261 Nm3/h, the shares).
// Every other text was derived from the written formulas evaluated step by step in double
// precision by an independent script, then cut toward minus infinity to the box's decimals.
inline const CasoLavorato CasiLavorati[] = {
    {"metano", metano,
     "0,00734 74,87 25,13 0 0 0 0 0 0 1195800 1136010 398,928 278,85 1734,185 1327,86 2081,022 1593,432 15,294",
     "1314,6 27,717 0,399 0,023408 0 1775,261 10319,366 57,052 1598,37 72,03 72,8 2,505 80,184 3,16 3,65 6,264 "
     "275,712 7,9 12,55 13,38 241,067 16,89 10,98 0 0 0 0 0 0 0 0 79,203 2195,335 100,00 100,00"},
    {"cloruro di vinile", cloruroDiVinile,
     "0,00745 19,217 2,419 0 28,362 0 0 0 0 198110,9 192167,6 64,001 44,736 278,219 213,031 445,151 340,851 3,319",
     "1121,3 29,648 0,348 0,044424 442,303 376,762 1923,489 12,204 341,907 72,6 68,6 1,206 38,592 7,17 7,74 1,608 "
     "70,77 9,56 14,2 0,987 17,784 5,87 3,56 0 0 0 0 0,804 29,315 4,78 5,88 16,809 498,37 100,00 100,00"},
    {"ponderale",
     [] { return ponderale(1000, {0.45, 0.06, 0.2, 0.005, 0.003, 0.012, 0.15, 0.12}, 4200, {80, 25, 60, 350, 4}); },
     "0,01204 450 60 200 5 3 12 120 150 4200000 3959032,5 1476,957 1032,393 6420,503 4916,158 11556,906 8849,086 "
     "139,26",
     "967,1 28,729 0,335 0,085457 0 9785,213 44433,699 317,267 8888,571 72,67 70,86 37,108 1187,473 8,5 9,46 37,652 "
     "1657,145 8,62 13,21 44,302 798,144 10,14 6,36 0,094 6,024 0,02 0,04 0,141 5,167 0,03 0,04 436,567 12542,528 "
     "100,00 100,00"},
};

struct Scritto { Bersaglio bersaglio; std::string testo; bool operator==(const Scritto&) const = default; };

// The case's result texts, feed and air then flue gas, in writing order.
inline std::vector<Scritto> scritti(const CasoLavorato& c) {
    std::vector<Scritto> v;
    auto aggiungi = [&](const std::string& box, const char* testi) {
        std::istringstream b(box), t(testi);
        for (std::string x, y; b >> x && t >> y;) v.push_back({B(x), y});
    };
    aggiungi(BoxForm7, c.form7), aggiungi(BoxForm8(), c.form8);
    return v;
}

// Small readers over an ordered effect list. The last text written to each target:
inline std::map<Bersaglio, std::string> testi(const EsitoOperazione& e) {
    std::map<Bersaglio, std::string> t;
    for (const auto& x : e.effetti)
        if (x.tipo == Effetto::Tipo::Testo) t[x.bersaglio] = x.testo;
    return t;
}

// the targets written, in writing order:
inline std::vector<Bersaglio> ordineTesti(const EsitoOperazione& e) {
    std::vector<Bersaglio> v;
    for (const auto& x : e.effetti)
        if (x.tipo == Effetto::Tipo::Testo) v.push_back(x.bersaglio);
    return v;
}

inline std::vector<Effetto::Tipo> tipi(const EsitoOperazione& e) {
    std::vector<Effetto::Tipo> v;
    for (const auto& x : e.effetti) v.push_back(x.tipo);
    return v;
}

}  // namespace termix::prova
