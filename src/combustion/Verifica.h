#pragma once
// "Verifica": the checks an incinerator engineer makes on every case, beside
// the program's own results (never in place of them): a flue-gas temperature
// from tabulated enthalpies, the post-combustion chamber for a residence time,
// raw-gas loads on dry gas at a reference oxygen, and the dew points.
#include <optional>
#include <string>

#include "combustion/Equilibrio.h"
#include "model/Costanti.h"
#include "model/Grandezze.h"
#include "model/Modulo1.h"
#include "model/RisultatiVerifica.h"

namespace termix {


// The temperature the verdict and the support-fuel target use.
enum class ModelloTemperatura { Tabella, Nasa };

// Enthalpy of a species at T [K], kJ/kmol, formation included.
double EntalpiaNasa(costanti::Specie s, double T);

// The flue-gas flows KmoliCO2..KmoliN2 heated from T0 to T [K], NASA enthalpies [kJ/h].
double CaloreFumiNasa(const Modulo1& m, double T0, double T);

// TempFumiRif [°C]: the temperature at which the flue-gas flows KmoliCO2..KmoliN2,
// heated from TempAria with NASA enthalpies, take up EnergiaNetta; solved by
// bisection to 0.01 K. Empty when the run has no positive net energy, or when
// the gas would go beyond the polynomials' 5000 K.
std::optional<double> TemperaturaFumiRif(const Modulo1& m);

// Water dew point [°C] of a gas at 1 atm with `percH2O` % vol water: where the
// program's own vapour-pressure correlation equals the partial pressure, by
// bisection to 0.01 °C. Empty without water.
std::optional<double> RugiadaAcqua(double percH2O);
// Sulphuric acid dew point [°C], Verhoff and Banchero (1974); empty without water or SO3.
std::optional<double> RugiadaSolforica(double percH2O, double ppmSO3);
// Hydrochloric acid dew point [°C], Kiang (1981); empty without water or HCl.
std::optional<double> RugiadaCloridrica(double percH2O, double ppmHCl);

// The three dew points of a gas with `percH2O` % vol water, `ppmSO2` and
// `ppmHCl`, `conversioneSO3` % of the SO2 taken as SO3 [°C]; each empty
// where its species is absent.
struct PuntiDiRugiada {
    std::optional<double> acqua, solforica, cloridrica;
};
PuntiDiRugiada RugiadeDi(double percH2O, double ppmSO2, double ppmHCl, double conversioneSO3);

struct ParametriVerifica {
    double tempoPermanenza = 2;          // s
    std::optional<double> diametro;      // m, inner diameter of the chamber
    std::optional<double> o2Riferimento = 11;  // % vol dry; empty: loads not referred
    double conversioneSO3 = 2;           // % of the SO2 that goes to SO3
    ModelloTemperatura modello = ModelloTemperatura::Nasa;
    std::optional<double> obiettivo;     // °C as typed; empty: the rules' figure for the waste
    std::optional<double> tempEquilibrio;  // °C; empty: the adiabatic equilibrium temperature
};

// Why an input cannot be used, and which (none when the refusal is about several).
struct RifiutoIngresso {
    std::string messaggio;
    std::optional<Quantita> campo;
};

// Which input is out of range, in words, or empty when all are fine.
std::optional<RifiutoIngresso> ControllaParametri(const ParametriVerifica& p);

// 850 °C, or 1100 °C for a waste with more than 1 % chlorine by weight (the
// incineration rules' figures, Directive 2010/75/EU Article 50(2)). `rifiuto`
// is the waste's own fuel: a support fuel burnt with it never lowers the figure.
inline constexpr double ObiettivoBase = 850, ObiettivoCloro = 1100;  // °C
inline constexpr double CloroPericoloso = 0.01;                      // kg/kg
double ObiettivoNormativo(const Modulo1& rifiuto);

// The flue-gas flows KmoliCO2..KmoliN2 as the equilibrium's species [kmol/h],
// and the enthalpy its adiabatic temperature holds: theirs at TempAria plus
// EnergiaNetta [kJ/h].
struct FumiEquilibrio {
    equilibrio::Moli n{};
    double H = 0;
};
FumiEquilibrio FumiPerEquilibrio(const Modulo1& m);

// Below this the equilibrium lacks sulphuric acid and condensed water [°C].
inline constexpr double EquilibrioMinimoAffidabile = 700;

// The checks on a record the whole run has filled.
RisultatiVerifica CalcolaVerifica(const Modulo1& m, const ParametriVerifica& p);

}  // namespace termix
