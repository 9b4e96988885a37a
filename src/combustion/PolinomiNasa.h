#pragma once
// Ideal-gas enthalpies of the six flue-gas species from the NASA Glenn
// 7-coefficient polynomials: h/(R T) = a1 + a2 T/2 + a3 T²/3 + a4 T³/4 + a5 T⁴/5 + a6/T.
// Coefficients as published in the NASA thermodynamic database (B.J. McBride,
// S. Gordon, M.A. Reno, NASA TM-4513, 1993), in the form Cantera distributes
// them (data/nasa_gas.yaml). Each species has a low range up to 1000 K and a
// high range above it; a7 (entropy) is not needed here.
//   CO2, H2O, O2, N2: 200-1000 K and 1000-6000 K
//   HCl, SO2:         300-1000 K and 1000-5000 K
// Below a species' lowest temperature (cold air for HCl and SO2) the low range
// is extended: those two never exceed a few percent of the gas.
#include <array>

#include "model/Costanti.h"

namespace termix::nasa {

inline constexpr double CostanteGas = 8.314462618;     // kJ/(kmol K)
inline constexpr double TemperaturaCambioRange = 1000;  // K
inline constexpr double TemperaturaMassima = 5000;      // K, the lowest upper limit of the six
inline constexpr double TemperaturaMinima = 200;        // K, the lowest lower limit (HCl and SO2 extended to it)

struct Polinomio {
    std::array<double, 6> basso;  // a1..a6, T up to 1000 K
    std::array<double, 6> alto;   // a1..a6, T above 1000 K
};

// By species (costanti::Specie): CO2, H2O, HCl, SO2, O2, N2.
inline constexpr std::array<Polinomio, costanti::NumeroSpecie> Polinomi = {{
    // CO2
    {{2.35677352, 8.98459677e-03, -7.12356269e-06, 2.45919022e-09, -1.43699548e-13, -4.83719697e+04},
     {4.63659493, 2.74131991e-03, -9.95828531e-07, 1.60373011e-10, -9.16103468e-15, -4.90249341e+04}},
    // H2O
    {{4.19864056, -2.0364341e-03, 6.52040211e-06, -5.48797062e-09, 1.77197817e-12, -3.02937267e+04},
     {2.67703787, 2.97318329e-03, -7.7376969e-07, 9.44336689e-11, -4.26900959e-15, -2.98858938e+04}},
    // HCl
    {{3.5248171, 2.9984862e-05, -8.6221891e-07, 2.0979721e-09, -9.8658191e-13, -1.2150509e+04},
     {2.7665884, 1.4381883e-03, -4.6993e-07, 7.3499408e-11, -4.3731106e-15, -1.1917468e+04}},
    // SO2
    {{3.2665338, 5.3237902e-03, 6.8437552e-07, -5.2810047e-09, 2.5590454e-12, -3.6908148e+04},
     {5.2451364, 1.9704204e-03, -8.0375769e-07, 1.5149969e-10, -1.0558004e-14, -3.7558227e+04}},
    // O2
    {{3.78245636, -2.99673415e-03, 9.847302e-06, -9.68129508e-09, 3.24372836e-12, -1063.94356},
     {3.66096083, 6.56365523e-04, -1.41149485e-07, 2.05797658e-11, -1.29913248e-15, -1215.97725}},
    // N2
    {{3.53100528, -1.23660987e-04, -5.02999437e-07, 2.43530612e-09, -1.40881235e-12, -1046.97628},
     {2.95257626, 1.39690057e-03, -4.92631691e-07, 7.86010367e-11, -4.60755321e-15, -923.948645}},
}};

}  // namespace termix::nasa
