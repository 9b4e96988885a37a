#pragma once
// "Verifica": the checks an incinerator engineer makes on every case, beside
// the program's own results (never in place of them): a flue-gas temperature
// from tabulated enthalpies, the post-combustion chamber for a residence time,
// raw-gas loads on dry gas at a reference oxygen, and the dew points.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/Grandezze.h"
#include "model/Costanti.h"
#include "model/Modulo1.h"

namespace termix {

// A quantity of the checks in the table of quantities, by name; a name
// that is not there is a bug.
const Grandezza& Voce(const char* nome);


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

struct ParametriVerifica {
    double tempoPermanenza = 2;          // s
    std::optional<double> diametro;      // m, inner diameter of the chamber
    std::optional<double> o2Riferimento = 11;  // % vol dry; empty: loads not referred
    double conversioneSO3 = 2;           // % of the SO2 that goes to SO3
    ModelloTemperatura modello = ModelloTemperatura::Nasa;
    std::optional<double> obiettivo;     // °C; empty: 850, or 1100 over 1 % chlorine
};

// Which input is out of range, in words, or empty when all are fine.
std::optional<std::string> ControllaParametri(const ParametriVerifica& p);

// 850 °C, or 1100 °C for a fuel with more than 1 % chlorine by weight (the
// incineration rules' figures, Directive 2010/75/EU Article 50).
double ObiettivoNormativo(const Modulo1& m);

struct RisultatiVerifica {
    std::optional<double> TempFumiRif;    // °C
    std::optional<double> Differenza;     // TempFumiRif - TempFumi, °C
    std::optional<double> Temperatura;    // the chosen model's, °C
    double obiettivo = 850;               // °C
    std::optional<double> VolumeCamera, VelocitaCamera, LunghezzaCamera;
    std::optional<double> O2Secco;
    std::optional<double> HClRif, SO2Rif, Cl2Rif;  // mg/Nm3 dry at the reference O2
    std::string nonRiferibile;            // why the loads have no figure
    std::optional<double> RugiadaAcqua, RugiadaSolforica, RugiadaCloridrica;
    std::string verdetto;
};

// The checks on a record the whole run has filled.
RisultatiVerifica CalcolaVerifica(const Modulo1& m, const ParametriVerifica& p);

// A value as the window shows it: cut to the quantity's decimals, "—" when there is none.
std::string TestoVoce(const char* nome, std::optional<double> x);

// The window's lines as "Salva" writes them: the parameters, each result with
// its label and unit, the verdict; `supporto` describes the support fuel.
std::vector<std::string> RigheVerifica(const Modulo1& m, const RisultatiVerifica& r, const ParametriVerifica& p,
                                       const std::string& supporto);

// "850 °C per 2 s: raggiunti (T = 1.234,5 °C)" and kin.
std::string Verdetto(double obiettivo, double tempo, std::optional<double> temperatura);

}  // namespace termix
