#pragma once
// The worked cases, as records ready for the calculation run.
#include <utility>

#include "fuel/CalcoloCombustibile.h"
#include "model/Modulo1.h"

namespace termix::prova {

// Methane preset, 100 kg/h, 20 % excess air, air at 20 °C and 50 %, ash at 20 °C, 5 % losses.
inline Modulo1 metano() {
    Modulo1 m;
    m.PortataComb = 100;
    CalcolaCombustibile(m, TipoCombustibile::Metano, Composizione::Nessuna);
    m.EccessoAria = 20;
    m.TempAria = 20;
    m.UmiditaRelativa = 50;
    m.TempCeneri = 20;
    m.Dispersioni = 5;
    return m;
}

// The chlorine fuel of the whole-run example (flue gas at 1175.913 °C, 15.5577 ppm Cl2).
inline Modulo1 combustibileClorurato() {
    Modulo1 m;
    m.FrazC = 0.5;
    m.FrazH = 0.06;
    m.FrazO = 0.1;
    m.FrazCl = 0.05;
    m.FrazS = 0.01;
    m.FrazN = 0.01;
    m.Inerti = 0.17;
    m.Acqua = 0.1;
    m.OssigenoPonderale = 1.4;
    m.PortataComb = 100;
    m.PotereCalorifico = 5000;
    m.EccessoAria = 50;
    m.TempAria = 20;
    m.UmiditaRelativa = 50;
    m.TempCeneri = 400;
    m.Dispersioni = 5;
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
    for (auto [v, x] : {std::pair{&M::EccessoAria, c[0]}, {&M::TempAria, c[1]}, {&M::UmiditaRelativa, c[2]},
                        {&M::TempCeneri, c[3]}, {&M::Dispersioni, c[4]}})
        m.*v = x;
    return m;
}

// Flue gas at 1040 °C: after 62 passes the chlorine Newton steps repeat two values.
inline Modulo1 cloroCiclico() {
    return ponderale(3228.2, {0.55, 0.0593, 0.1967, 0.0096, 0.0042, 0.002, 0.144, 0.034}, 3902,
                     {19.9, -7.2, 61, 328, 0.6});
}

}  // namespace termix::prova
