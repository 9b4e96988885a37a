#pragma once
// The worked cases, as records ready for the calculation run.
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

}  // namespace termix::prova
