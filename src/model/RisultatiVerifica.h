#pragma once
// The record of the checks ("Verifica"), beside the calculation record: one
// field per result of the table's Verifica part, reached from its entry. An
// empty field is a value that is not there (an absent species, loads that
// cannot be referred, no chamber bore given), never 0.
#include <optional>
#include <string>

namespace termix {

struct RisultatiVerifica {
    std::optional<double> TempFumiRif;        // from NASA enthalpies [°C]
    std::optional<double> Differenza;         // TempFumiRif - TempFumi [°C]
    std::optional<double> VolumeCamera;       // least chamber volume for the residence time [m3]
    std::optional<double> VelocitaCamera;     // gas velocity through the bore [m/s]
    std::optional<double> LunghezzaCamera;    // chamber length for the residence time [m]
    std::optional<double> O2Secco;            // O2 on dry gas [% vol]
    std::optional<double> HClRif, SO2Rif, Cl2Rif;  // on dry gas at the reference O2 [mg/Nm3]
    std::optional<double> RugiadaAcqua, RugiadaSolforica, RugiadaCloridrica;  // dew points [°C]
    // The gas at chemical equilibrium: the adiabatic temperature, the temperature
    // of the composition [°C], species in ppm by volume on wet gas, and loads on
    // dry gas at the reference O2 [mg/Nm3] (NOx as NO2).
    std::optional<double> TempFumiEq, TempEquilibrio;
    std::optional<double> ConcCOEq, ConcNOEq, ConcNO2Eq, ConcCl2Eq, ConcHClEq, ConcSO2Eq, ConcSO3Eq;
    std::optional<double> CORifEq, NOxRifEq, Cl2RifEq;
    // The stack: the excess air from the measured O2 and from the measured CO2,
    // each with what the analyser's ±0.1 % vol moves it [%]; the fuel's highest
    // CO2 on dry gas [% vol]; the losses and the efficiency [% of the energy in];
    // the heat recoverable down to the stack [kW]; the flow at the stack [m3/h].
    std::optional<double> EccessoAriaMisurato, IncertezzaEccessoO2, EccessoAriaDaCO2, IncertezzaEccessoCO2, CO2Massima;
    std::optional<double> PerditaCamino, PerditaIncombusti, RendimentoCombustione, CaloreRecuperabile,
        PortataFumiCamino;
    // The chosen model's temperature, which the verdict and the chamber use [°C].
    std::optional<double> Temperatura;
    std::string nonRiferibile;  // why the loads have no figure, empty when they have
    // Why the equilibrium has no figure, or what its figure lacks; empty when all is well.
    std::string avvisoEquilibrio;
};

}  // namespace termix
