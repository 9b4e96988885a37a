#pragma once
// The constants of the calculation, each with its unit and meaning. The
// values are the program's own (oxygen is 16, not 15.9994; N2 is 28.016, not
// twice 14.0067): results are compared to the last bit, so none is "improved".
namespace termix::costanti {

// Atomic weights of the fuel calculation [g/mol].
inline constexpr double PesoAtomicoC = 12.011;
inline constexpr double PesoAtomicoH = 1.008;
inline constexpr double PesoAtomicoO = 16;
inline constexpr double PesoAtomicoCl = 35.453;
inline constexpr double PesoAtomicoS = 32.06;
inline constexpr double PesoAtomicoN = 14.0067;

inline constexpr double GrammiPerKg = 1000;          // g/kg
inline constexpr double MassaMolareO2 = 32;          // g/mol, also kg/kmol
inline constexpr double MassaMolareO2Kg = 0.032;     // kg/mol
// Stoichiometry of the oxygen demand: one O2 takes four H atoms, or brings two O atoms.
inline constexpr double AtomiHPerO2 = 4;
inline constexpr double AtomiOPerO2 = 2;

// Heating-value estimate from the weight fractions [kcal/kg of each element];
// the fuel's oxygen is taken as already bound to an eighth of its mass of hydrogen.
inline constexpr double PciCarbonio = 7783;
inline constexpr double PciIdrogeno = 25016.73;
inline constexpr double OssigenoPerIdrogeno = 8;     // kg O per kg H in water
inline constexpr double PciCloro = 422.505;          // subtracted
inline constexpr double PciZolfo = 2501.673;

// Methane preset: the fuel form's fixed data set.
inline constexpr double MetanoFrazC = 0.7487;               // kg/kg
inline constexpr double MetanoFrazH = 0.2513;               // kg/kg
inline constexpr double MetanoOssigenoStechiom = 124.665;   // mol O2/kg
inline constexpr double MetanoOssigenoPonderale = 3.98928;  // kg O2/kg
inline constexpr double MetanoPotereCalorifico = 11958;     // kcal/kg

// The one absolute zero: 0 °C is 273.15 K (also the normal-volume reference temperature).
inline constexpr double ZeroCelsius = 273.15;  // K

// Saturation pressure of water over the air temperature T [K]:
// log10(p / mmHg) = A - B/T - C·log10(T) - D·T + E·T² (log10 T taken as ln T / ln 10).
inline constexpr double VaporeA = 16.373;        // -
inline constexpr double VaporeB = 2818.6;        // K
inline constexpr double VaporeC = 1.6908;        // -
inline constexpr double VaporeD = 0.0057546;     // 1/K
inline constexpr double VaporeE = 4.007e-06;     // 1/K²
inline constexpr double Dieci = 10;              // base of the correlation's logarithm
inline constexpr double PressioneTotale = 760;   // mmHg: the air, and the flue gas, at 1 atm
// Water to dry air, molar masses 18/29 ≈ 0.622, over 100 for a humidity in %.
inline constexpr double FattoreUmidita = 0.00622;  // kg H2O/kg dry air per % of relative humidity

inline constexpr double VolumeO2PerKg = 0.699;   // Nm³ per kg of O2
inline constexpr double QuotaO2Aria = 0.21;      // Nm³ O2 per Nm³ of air
inline constexpr double QuotaN2Aria = 0.79;      // kmol N2 per kmol of air
inline constexpr double DensitaAria = 1.306;     // kg/Nm³
inline constexpr double Percento = 100;          // % per unit
inline constexpr double FattoreFumi = 1.005;     // -: every flue-gas species is raised by half a percent

// Molar masses of the mass balance [kg/kmol].
inline constexpr double MassaMolareC = 12.011;
inline constexpr double MassaMolareCO2 = 44.011;
inline constexpr double MassaMolareCl = 35.453;
inline constexpr double MassaMolareHCl = 36.461;
inline constexpr double MassaMolareH = 1.008;
inline constexpr double MassaMolareH2O = 18.016;
inline constexpr double MassaMolareS = 32.06;
inline constexpr double MassaMolareSO2 = 64.06;
inline constexpr double MassaMolareN2 = 28.016;
inline constexpr double MassaMolareAria = 28.96;
inline constexpr double AtomiHPerH2O = 2;

inline constexpr double VolumeMolareNormale = 22.414;  // Nm³/kmol at 0 °C, 1 atm

inline constexpr double MassaMolareCl2 = 2 * MassaMolareCl;  // kg/kmol
inline constexpr double SecondiOra = 3600;                    // s/h
inline constexpr double KjPerKcal = 4.1868;                  // kJ/kcal, the International Table calorie
inline constexpr double O2Aria = 21;                         // % vol of O2 in air, the reference formula's

// The NASA thermodynamic data's range, common to every flue-gas species.
inline constexpr double TemperaturaDatiMinima = 200;    // K
inline constexpr double TemperaturaDatiMassima = 5000;  // K

// The flue-gas species, in the order of the NASA table and of the checks' sums.
// The specific-heat sum of the balance takes them in another order (N2 before O2): see OrdineCalore.
enum class Specie : int { CO2, H2O, HCl, SO2, O2, N2 };
inline constexpr int NumeroSpecie = 6;

// Energy balance.
inline constexpr double CaloreSpecificoCeneri = 0.17;  // kcal/kg °C
inline constexpr double CaloreLatenteAcqua = 539;      // kcal/kg, charged to the fuel's own water only

// Flue-gas specific heat cp(T) = a + b·T + c·T² + d·T³ [kcal/kg K], T in K, by species.
struct CoefficientiCalore {
    double a, b, c, d;
};
inline constexpr CoefficientiCalore CaloreSpecie[NumeroSpecie] = {
    {0.10573, 0.0003988, -3.042e-07, 9.314e-10},    // CO2
    {0.423754, 1.905e-05, 3.227e-07, -1.56e-10},    // H2O
    {0.20105, -4.72e-05, 8.168e-08, -2.555e-11},    // HCl
    {0.08898, 0.0002499, -1.851e-07, 4.954e-11},    // SO2
    {0.21, -2.749e-08, 1.304e-07, -7.954e-11},      // O2
    {0.2658, -0.0001158, 2.287e-07, -9.965e-11},    // N2
};
// The order in which the mixture's coefficients are summed, as the results are compared to the last bit.
inline constexpr Specie OrdineCalore[NumeroSpecie] = {Specie::CO2, Specie::H2O, Specie::HCl,
                                                      Specie::SO2, Specie::N2,  Specie::O2};

// Temperature iteration.
inline constexpr double TempFumiIniziale = 900;   // K, the first guess
// The mean temperature at which cp is taken is held at 1250 K: the cubic fits
// are meant for the furnace range, and beyond it their T³ terms (CO2's above
// all) run away.
inline constexpr double TempMediaMassima = 1250;  // K
inline constexpr double SogliaTemperatura = 2;    // K between guess and result
inline constexpr double Mezzo = 0.5;              // the damping: the next guess is the mean

// HCl/Cl2 equilibrium 4 HCl + O2 = 2 Cl2 + 2 H2O, for mole fractions:
// K = exp(ClK_T / T) · ClK_A.
inline constexpr double CloroKT = 7340;          // K
inline constexpr double CloroKA = 0.00023;       // -
inline constexpr double Cl2Iniziale = 2e-05;     // mole fraction, first guess
inline constexpr double PassoDerivata = 0.001;   // mole fraction, forward-difference step
inline constexpr double SogliaCl2 = 1e-05;       // mole fraction (10 ppm)
inline constexpr double O2PerCl2 = 0.5;          // mol O2 per mol Cl2
inline constexpr double HClPerCl2 = 2;           // mol HCl per mol Cl2
inline constexpr double PartiPerMilione = 1000000;

}  // namespace termix::costanti
