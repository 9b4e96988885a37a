#pragma once
// The calculation record shared by every form for the whole run. Every
// variable reads 0 until assigned; nothing ever resets it.
#include "model/Numero.h"

namespace termix {

struct Modulo1 {
    // Fuel inputs
    Numero PortataComb, AtomiC, AtomiH, AtomiO, AtomiCl, AtomiS, AtomiN;
    Numero FrazC, FrazH, FrazO, FrazCl, FrazS, FrazN, Inerti, Acqua;
    Numero PotereCalorifico;
    // Fuel results and intermediates
    Numero PesoMolecolare, PesoMolecolareTalQuale;
    Numero MoliC, MoliH, MoliO, MoliCl, MoliS, MoliN;
    Numero FattoreNormalizzazione, MassaBase, MoliHCl, MoliO2;
    Numero OssigenoStechiom, OssigenoPonderale;

    // Combustion conditions
    Numero EccessoAria, TempAria, UmiditaRelativa, TempCeneri, Dispersioni;
    // Air humidity
    Numero TempAriaK, PressioneVapore, UmiditaSpecifica;
    // Feed flows
    Numero PortataC, PortataH, PortataO, PortataCl, PortataS, PortataN;
    Numero PortataAcqua, PortataInerti;
    // Air
    Numero PortataO2Stech, PortataVolO2Stech, KmoliO2Stech;
    Numero PortataVolAriaStech, PortataAriaStech, PortataVolAriaEff, PortataAriaEff;
    Numero PortataAcquaUmidita, FattoreFumi;
    // Flue gas
    Numero KmoliCO2, KmoliH2O, KmoliHCl, KmoliSO2, KmoliO2, KmoliN2;
    Numero KmoliH2OIdrogeno, PortataH2OIdrogeno;
    Numero PortataCO2, PortataH2O, PortataHCl, PortataSO2, PortataO2, PortataN2;
    Numero KmoliFumi, PortataFumi, PesoMolecolareFumi;
    Numero PercVolCO2, PercVolH2O, PercVolHCl, PercVolSO2, PercVolO2, PercVolN2;
    Numero PercPesoCO2, PercPesoH2O, PercPesoHCl, PercPesoSO2, PercPesoO2, PercPesoN2;
    Numero PortataVolFumiNormale, PortataVolFumi;

    // Energy balance and flue-gas temperature
    Numero EnergiaIngresso, CaloreCeneri, CaloreDisperso, CaloreEvaporazione;
    Numero PerditeTotali, EnergiaNetta;
    Numero CpA, CpB, CpC, CpD;
    Numero TempFumiIpotesi, TempMediaFumi, CaloreSpecificoFumi, TempFumi, TempFumiK;

    // Chlorine equilibrium
    Numero CostanteCloro, FrazH2O, FrazHCl, FrazO2;
    Numero FrazCl2, FrazCl2Prec, FrazCl2Prova, ResiduoCloro, ResiduoCloroProva;
    Numero ConcCl2;
};

}  // namespace termix
