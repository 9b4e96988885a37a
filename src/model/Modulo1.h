#pragma once
// The calculation record shared by every form for the whole run. Every
// variable reads 0 until assigned; nothing ever resets it. Units in brackets;
// flows are per hour, "Nm3" at 0 °C and 1 atm, fractions are kg per kg of fuel
// as fed (with its inerts and water).
#include "model/Numero.h"

namespace termix {

struct Modulo1 {
    // Fuel inputs
    Numero PortataComb;                                        // [kg/h]
    Numero AtomiC, AtomiH, AtomiO, AtomiCl, AtomiS, AtomiN;    // [atoms per formula unit]
    Numero FrazC, FrazH, FrazO, FrazCl, FrazS, FrazN;          // [kg/kg]
    Numero Inerti, Acqua;                                      // [kg/kg]
    Numero PotereCalorifico;                                   // lower heating value [kcal/kg]
    // Fuel results and intermediates
    Numero PesoMolecolare;                                     // of the formula unit [g/mol]
    Numero PesoMolecolareTalQuale;                             // fuel as fed holding one mole of formula [g/mol]
    Numero MoliC, MoliH, MoliO, MoliCl, MoliS, MoliN;          // atoms per kg of fuel [mol/kg]
    Numero FattoreNormalizzazione;                             // 1 / sum of the element fractions [-]
    Numero MassaBase;                                          // element mass per kg, normalised [g]
    Numero MoliHCl;                                            // HCl formed [mol/kg]
    Numero MoliO2;                                             // O2 demand before scaling [mol/kg]
    Numero OssigenoStechiom;                                   // stoichiometric O2 [mol O2/kg fuel]
    Numero OssigenoPonderale;                                  // stoichiometric O2 [kg O2/kg fuel]

    // Combustion conditions
    Numero EccessoAria;                                        // [%]
    Numero TempAria;                                           // [°C]
    Numero UmiditaRelativa;                                    // [%]
    Numero TempCeneri;                                         // ash outlet [°C]
    Numero Dispersioni;                                        // heat losses [% of EnergiaIngresso]
    // Air humidity
    Numero TempAriaK;                                          // [K]
    Numero PressioneVapore;                                    // water saturation pressure [mmHg]
    Numero UmiditaSpecifica;                                   // [kg H2O/kg dry air]
    // Feed flows [kg/h]
    Numero PortataC, PortataH, PortataO, PortataCl, PortataS, PortataN;
    Numero PortataAcqua, PortataInerti;
    // Air
    Numero PortataO2Stech;                                     // [kg/h]
    Numero PortataVolO2Stech;                                  // [Nm3/h]
    Numero KmoliO2Stech;                                       // [kmol/h]
    Numero PortataVolAriaStech, PortataVolAriaEff;             // [Nm3/h]
    Numero PortataAriaStech, PortataAriaEff;                   // [kg/h]
    Numero PortataAcquaUmidita;                                // water brought by the air [kg/h]
    Numero FattoreFumi;                                        // [-]
    // Flue gas
    Numero KmoliCO2, KmoliH2O, KmoliHCl, KmoliSO2, KmoliO2, KmoliN2;        // [kmol/h]
    Numero KmoliH2OIdrogeno;                                                // [kmol/h]
    Numero PortataH2OIdrogeno;                                              // [kg/h]
    Numero PortataCO2, PortataH2O, PortataHCl, PortataSO2, PortataO2, PortataN2;  // [kg/h]
    Numero KmoliFumi;                                                       // [kmol/h]
    Numero PortataFumi;                                                     // [kg/h]
    Numero PesoMolecolareFumi;                                              // [kg/kmol]
    Numero PercVolCO2, PercVolH2O, PercVolHCl, PercVolSO2, PercVolO2, PercVolN2;        // [% by volume]
    Numero PercPesoCO2, PercPesoH2O, PercPesoHCl, PercPesoSO2, PercPesoO2, PercPesoN2;  // [% by weight]
    Numero PortataVolFumiNormale;                                           // [Nm3/h]
    Numero PortataVolFumi;                                                  // at TempFumiK [m3/h]

    // Energy balance and flue-gas temperature
    Numero EnergiaIngresso, CaloreCeneri, CaloreDisperso, CaloreEvaporazione;  // [kcal/h]
    Numero PerditeTotali, EnergiaNetta;                                        // [kcal/h]
    Numero CpA;                                                // [kcal/kg K]
    Numero CpB;                                                // [kcal/kg K²]
    Numero CpC;                                                // [kcal/kg K³]
    Numero CpD;                                                // [kcal/kg K⁴]
    Numero TempFumiIpotesi, TempMediaFumi;                     // [K]
    Numero CaloreSpecificoFumi;                                // mean cp [kcal/kg °C]
    Numero TempFumi;                                           // theoretical flue-gas temperature [°C]
    Numero TempFumiK;                                          // [K]

    // Chlorine equilibrium
    Numero CostanteCloro;                                      // for mole fractions [-]
    Numero FrazH2O, FrazHCl, FrazO2;                           // mole fractions [-]
    Numero FrazCl2, FrazCl2Prec, FrazCl2Prova;                 // mole fractions [-]
    Numero ResiduoCloro, ResiduoCloroProva;                    // [-]
    Numero ConcCl2;                                            // [ppm by volume]
};

}  // namespace termix
