#include "model/Grandezze.h"

#include <array>
#include <bit>
#include <vector>

#include "model/Costanti.h"

namespace termix {

namespace {

using M = Modulo1;
using Q = Quantita;
using R = RisultatiVerifica;
constexpr double Inf = std::numeric_limits<double>::infinity();
// Hydrogen's lower heating value, 119.96 MJ/kg: no fuel has more per kg [kcal/kg].
constexpr double PotereMassimo = 28650;
constexpr const char* Atomi = "un numero di atomi non può essere negativo";
constexpr const char* Frazione = "una frazione ponderale sta tra 0 e 1";

constexpr unsigned In = Ingresso;
constexpr unsigned InVar = Ingresso | Variabile;
constexpr unsigned Ris = Uscita | Mostrata;
constexpr unsigned RisT = Uscita | Mostrata | Tracciabile;
constexpr unsigned InV = Verifica | IngressoVerifica;
constexpr unsigned InFraz = Verifica | IngressoVerifica | DelSupporto | FrazioneSupporto;
constexpr unsigned RisV = Verifica | UscitaVerifica | MostrataVerifica;
constexpr unsigned RisEq = RisV | DiEquilibrio;
constexpr unsigned InCam = InV | IngressoCamino;
constexpr unsigned RisCam = Verifica | UscitaCamino;

// The atoms of an elemental formula: all alike but for their names.
constexpr Grandezza Atomo(Q id, const char* nome, Numero M::*variabile, const char* etichetta) {
    return {id, nome, variabile, "atomi/molecola", etichetta, MaiInCasella, In, 0, Inf, "massimo", "minimo", Atomi};
}

// One of the support fuel's kg/kg shares: all alike but for their names.
constexpr Grandezza FrazioneDelSupporto(Q id, const char* nome, const char* etichetta, const char* breve) {
    return {.id = id, .nome = nome, .variabile = nullptr, .unita = "kg/kg", .etichetta = etichetta,
            .decimali = MaiInCasella, .usi = InFraz, .minimo = 0, .massimo = 1, .breve = breve};
}

// A result of the chemical equilibrium: its own group of the Verifica window.
constexpr Grandezza DiEquilibrioRis(Q id, const char* nome, const char* unita, const char* etichetta, int decimali,
                                    std::optional<double> R::*risultato) {
    return {.id = id, .nome = nome, .variabile = nullptr, .unita = unita, .etichetta = etichetta,
            .decimali = decimali, .usi = RisEq, .risultato = risultato};
}

// A stack reading or result.
constexpr Grandezza DelCamino(Q id, const char* nome, unsigned usi, const char* unita, const char* etichetta,
                              int decimali, std::optional<double> R::*risultato = nullptr, double minimo = -Inf,
                              double massimo = Inf) {
    return {.id = id, .nome = nome, .variabile = nullptr, .unita = unita, .etichetta = etichetta,
            .decimali = decimali, .usi = usi, .minimo = minimo, .massimo = massimo, .risultato = risultato};
}

// Each entry in the order of the enum (checked when the table is first read).
constexpr std::array<Grandezza, NumeroGrandezze> Tabella = {{
    {Q::Impianto, "Impianto", nullptr, "", "Nome dell'impianto", MaiInCasella, In},
    {Q::Combustibile, "Combustibile", nullptr, "", "Nome combustibile", MaiInCasella, In},
    {Q::Tipo, "Tipo", nullptr, "", "Tipo di combustibile (Metano oppure Altri)", MaiInCasella, In},
    {Q::Composizione, "Composizione", nullptr, "", "Composizione (Atomica oppure Ponderale)", MaiInCasella, In},
    {Q::PortataComb, "PortataComb", &M::PortataComb, "kg/h", "Portata combustibile", MaiInCasella, InVar, 0, Inf,
     "massima", "minima", "una portata non può essere negativa"},
    Atomo(Q::AtomiC, "AtomiC", &M::AtomiC, "Atomi di carbonio"),
    Atomo(Q::AtomiH, "AtomiH", &M::AtomiH, "Atomi di idrogeno"),
    Atomo(Q::AtomiO, "AtomiO", &M::AtomiO, "Atomi di ossigeno"),
    Atomo(Q::AtomiCl, "AtomiCl", &M::AtomiCl, "Atomi di cloro"),
    Atomo(Q::AtomiS, "AtomiS", &M::AtomiS, "Atomi di zolfo"),
    Atomo(Q::AtomiN, "AtomiN", &M::AtomiN, "Atomi di azoto"),
    {Q::PesoMolecolare, "PesoMolecolare", &M::PesoMolecolare, "g/mole", "Peso molecolare", 4, Uscita},
    {Q::FrazC, "FrazC", &M::FrazC, "kg/kg", "Frazione ponderale di carbonio", 4, In | Uscita, 0, 1, "massima",
     "minima", Frazione},
    {Q::FrazH, "FrazH", &M::FrazH, "kg/kg", "Frazione ponderale di idrogeno", 4, In | Uscita, 0, 1, "massima",
     "minima", Frazione},
    {Q::FrazO, "FrazO", &M::FrazO, "kg/kg", "Frazione ponderale di ossigeno", 4, In | Uscita, 0, 1, "massima",
     "minima", Frazione},
    {Q::FrazCl, "FrazCl", &M::FrazCl, "kg/kg", "Frazione ponderale di cloro", 4, In | Uscita, 0, 1, "massima",
     "minima", Frazione},
    {Q::FrazS, "FrazS", &M::FrazS, "kg/kg", "Frazione ponderale di zolfo", 4, In | Uscita, 0, 1, "massima",
     "minima", Frazione},
    {Q::FrazN, "FrazN", &M::FrazN, "kg/kg", "Frazione ponderale di azoto", 4, In | Uscita, 0, 1, "massima",
     "minima", Frazione},
    {Q::Inerti, "Inerti", &M::Inerti, "kg/kg", "Contenuto inerti", MaiInCasella, In, 0, 1, "massimo", "minimo",
     Frazione},
    {Q::Acqua, "Acqua", &M::Acqua, "kg/kg", "Contenuto acqua", MaiInCasella, In, 0, 1, "massimo", "minimo",
     Frazione},
    {Q::OssigenoStechiom, "OssigenoStechiom", &M::OssigenoStechiom, "moli/kg comb.", "Ossigeno stechiometrico", 3,
     Uscita},
    {Q::OssigenoPonderale, "OssigenoPonderale", &M::OssigenoPonderale, "kg/kg comb.", "Ossigeno ponderale", 3,
     Uscita},
    {Q::PotereCalorifico, "PotereCalorifico", &M::PotereCalorifico, "kcal/kg", "Potere calorifico", 2,
     InVar | Uscita, 0, PotereMassimo, "massimo", "minimo",
     "nessun combustibile supera i 28650 kcal/kg di potere calorifico inferiore dell'idrogeno"},
    {Q::EccessoAria, "EccessoAria", &M::EccessoAria, "%", "Eccesso d'aria", MaiInCasella, InVar, 0, 1000,
     "massimo", "minimo",
     "sotto 0 l'aria non basta a bruciare il combustibile, come il bilancio presume, e oltre 1000 % "
     "(undici volte l'aria necessaria) nessuna fiamma si regge"},
    {Q::TempAria, "TempAria", &M::TempAria, "°C", "Temperatura dell'aria", MaiInCasella, InVar, -50, 1000,
     "massima", "minima",
     "l'aria ambiente non scende sotto -50 °C e quella preriscaldata dei bruciatori rigenerativi non supera "
     "1000 °C"},
    {Q::UmiditaRelativa, "UmiditaRelativa", &M::UmiditaRelativa, "%", "Umidità relativa dell'aria", MaiInCasella,
     InVar, 0, 100, "massima", "minima", "l'aria non porta più vapore di quello che la satura"},
    {Q::TempCeneri, "TempCeneri", &M::TempCeneri, "°C", "Temperatura uscita ceneri", MaiInCasella, InVar, -50, 1600,
     "massima", "minima", "le ceneri escono tra la temperatura ambiente e la loro fusione, sotto 1600 °C"},
    {Q::Dispersioni, "Dispersioni", &M::Dispersioni, "%", "Dispersioni termiche", MaiInCasella, InVar, 0, 100,
     "massime", "minime", "le dispersioni sono una parte dell'energia in ingresso"},
    {Q::UmiditaSpecifica, "UmiditaSpecifica", &M::UmiditaSpecifica, "kgH2O/kg aria secca", "Umidità specifica aria",
     5, Ris},
    {Q::PortataC, "PortataC", &M::PortataC, "kg/h", "Portata ponderale C totale", 3, Ris},
    {Q::PortataH, "PortataH", &M::PortataH, "kg/h", "Portata ponderale H totale", 3, Ris},
    {Q::PortataO, "PortataO", &M::PortataO, "kg/h", "Portata ponderale O totale", 3, Ris},
    {Q::PortataCl, "PortataCl", &M::PortataCl, "kg/h", "Portata ponderale Cl totale", 3, Ris},
    {Q::PortataS, "PortataS", &M::PortataS, "kg/h", "Portata ponderale S totale", 3, Ris},
    {Q::PortataN, "PortataN", &M::PortataN, "kg/h", "Portata ponderale N totale", 3, Ris},
    {Q::PortataAcqua, "PortataAcqua", &M::PortataAcqua, "kg/h", "Portata ponderale acqua totale", 3, Ris},
    {Q::PortataInerti, "PortataInerti", &M::PortataInerti, "kg/h", "Portata ponderale inerti totale", 3, Ris},
    {Q::EnergiaIngresso, "EnergiaIngresso", &M::EnergiaIngresso, "kcal/h", "Energia disponibile in ingresso", 1, Ris},
    {Q::EnergiaNetta, "EnergiaNetta", &M::EnergiaNetta, "kcal/h", "Energia disponibile netta", 1, Ris},
    {Q::PortataO2Stech, "PortataO2Stech", &M::PortataO2Stech, "kg/h", "Portata ponderale O2 stechiometrico", 3, Ris},
    {Q::PortataVolO2Stech, "PortataVolO2Stech", &M::PortataVolO2Stech, "Nm3/h",
     "Portata volumetrica O2 stechiometrico", 3, Ris},
    {Q::PortataAriaStech, "PortataAriaStech", &M::PortataAriaStech, "kg/h", "Portata ponderale aria stechiometrica", 3,
     Ris},
    {Q::PortataVolAriaStech, "PortataVolAriaStech", &M::PortataVolAriaStech, "Nm3/h",
     "Portata volumetrica aria stechiometrica", 3, Ris},
    {Q::PortataAriaEff, "PortataAriaEff", &M::PortataAriaEff, "kg/h", "Portata ponderale aria effettiva", 3, Ris},
    {Q::PortataVolAriaEff, "PortataVolAriaEff", &M::PortataVolAriaEff, "Nm3/h", "Portata volumetrica aria effettiva",
     3, Ris},
    {Q::PortataAcquaUmidita, "PortataAcquaUmidita", &M::PortataAcquaUmidita, "kg/h",
     "Portata acqua (umidità atmosferica)", 3, Ris},
    {Q::TempFumi, "TempFumi", &M::TempFumi, "°C", "Temperatura teorica fumi", 1, RisT | MostrataVerifica},
    {Q::PesoMolecolareFumi, "PesoMolecolareFumi", &M::PesoMolecolareFumi, "g/mole", "Peso molecolare medio fumi", 3,
     Ris},
    {Q::CaloreSpecificoFumi, "CaloreSpecificoFumi", &M::CaloreSpecificoFumi, "kcal/kg°C",
     "Calore specifico medio fumi", 3, RisT},
    {Q::CostanteCloro, "CostanteCloro", &M::CostanteCloro, "", "Costante equilibrio reazione cloro", 6, Ris},
    {Q::ConcCl2, "ConcCl2", &M::ConcCl2, "ppm", "Concentrazione Cl2 nei fumi", 3, RisT},
    {Q::PortataVolFumiNormale, "PortataVolFumiNormale", &M::PortataVolFumiNormale, "Nm3/h",
     "Portata volumetrica fumi", 3, Ris},
    {Q::PortataVolFumi, "PortataVolFumi", &M::PortataVolFumi, "m3/h", "Portata volumetrica fumi alla temperatura", 3,
     Ris},
    {Q::KmoliN2, "KmoliN2", &M::KmoliN2, "kmoli/h", "N2 nei fumi", 3, Ris},
    {Q::PortataN2, "PortataN2", &M::PortataN2, "kg/h", "N2 nei fumi", 3, Ris},
    {Q::PercVolN2, "PercVolN2", &M::PercVolN2, "% vol", "N2 nei fumi", 2, Ris},
    {Q::PercPesoN2, "PercPesoN2", &M::PercPesoN2, "% peso", "N2 nei fumi", 2, Ris},
    {Q::KmoliO2, "KmoliO2", &M::KmoliO2, "kmoli/h", "O2 nei fumi", 3, Ris},
    {Q::PortataO2, "PortataO2", &M::PortataO2, "kg/h", "O2 nei fumi", 3, Ris},
    {Q::PercVolO2, "PercVolO2", &M::PercVolO2, "% vol", "O2 nei fumi", 2, RisT},
    {Q::PercPesoO2, "PercPesoO2", &M::PercPesoO2, "% peso", "O2 nei fumi", 2, Ris},
    {Q::KmoliCO2, "KmoliCO2", &M::KmoliCO2, "kmoli/h", "CO2 nei fumi", 3, Ris},
    {Q::PortataCO2, "PortataCO2", &M::PortataCO2, "kg/h", "CO2 nei fumi", 3, Ris},
    {Q::PercVolCO2, "PercVolCO2", &M::PercVolCO2, "% vol", "CO2 nei fumi", 2, Ris},
    {Q::PercPesoCO2, "PercPesoCO2", &M::PercPesoCO2, "% peso", "CO2 nei fumi", 2, Ris},
    {Q::KmoliH2O, "KmoliH2O", &M::KmoliH2O, "kmoli/h", "H2O nei fumi", 3, Ris},
    {Q::PortataH2O, "PortataH2O", &M::PortataH2O, "kg/h", "H2O nei fumi", 3, Ris},
    {Q::PercVolH2O, "PercVolH2O", &M::PercVolH2O, "% vol", "H2O nei fumi", 2, RisT},
    {Q::PercPesoH2O, "PercPesoH2O", &M::PercPesoH2O, "% peso", "H2O nei fumi", 2, Ris},
    {Q::KmoliSO2, "KmoliSO2", &M::KmoliSO2, "kmoli/h", "SO2 nei fumi", 3, Ris},
    {Q::PortataSO2, "PortataSO2", &M::PortataSO2, "kg/h", "SO2 nei fumi", 3, Ris},
    {Q::PercVolSO2, "PercVolSO2", &M::PercVolSO2, "% vol", "SO2 nei fumi", 2, Ris},
    {Q::PercPesoSO2, "PercPesoSO2", &M::PercPesoSO2, "% peso", "SO2 nei fumi", 2, Ris},
    {Q::KmoliHCl, "KmoliHCl", &M::KmoliHCl, "kmoli/h", "HCl nei fumi", 3, Ris},
    {Q::PortataHCl, "PortataHCl", &M::PortataHCl, "kg/h", "HCl nei fumi", 3, Ris},
    {Q::PercVolHCl, "PercVolHCl", &M::PercVolHCl, "% vol", "HCl nei fumi", 2, Ris},
    {Q::PercPesoHCl, "PercPesoHCl", &M::PercPesoHCl, "% peso", "HCl nei fumi", 2, Ris},
    {Q::KmoliFumi, "KmoliFumi", &M::KmoliFumi, "kmoli/h", "Fumi totali", 3, Ris},
    {Q::PortataFumi, "PortataFumi", &M::PortataFumi, "kg/h", "Portata fumi", 3, RisT},
    // The checks: the support fuel, the parameters (in the order of the batch columns), the results.
    {.id = Q::SupportoTipo, .nome = "SupportoTipo", .variabile = nullptr, .unita = "",
     .etichetta = "Combustibile di supporto (Metano oppure Ponderale)", .decimali = MaiInCasella,
     .usi = InV | DelSupporto, .breve = "Combustibile di supporto"},
    {.id = Q::SupportoPortata, .nome = "SupportoPortata", .variabile = nullptr, .unita = "kg/h",
     .etichetta = "Portata combustibile di supporto", .decimali = MaiInCasella, .usi = InV | DelSupporto, .minimo = 0,
     .aggettivoMassimo = "massima", .aggettivoMinimo = "minima", .breve = "Portata"},
    {.id = Q::SupportoPotereCalorifico, .nome = "SupportoPotereCalorifico", .variabile = nullptr, .unita = "kcal/kg",
     .etichetta = "Potere calorifico del supporto", .decimali = MaiInCasella, .usi = InV | DelSupporto, .minimo = 0,
     .breve = "Potere calorifico"},
    FrazioneDelSupporto(Q::SupportoFrazC, "SupportoFrazC", "Frazione ponderale C del supporto", "C"),
    FrazioneDelSupporto(Q::SupportoFrazH, "SupportoFrazH", "Frazione ponderale H del supporto", "H"),
    FrazioneDelSupporto(Q::SupportoFrazO, "SupportoFrazO", "Frazione ponderale O del supporto", "O"),
    FrazioneDelSupporto(Q::SupportoFrazCl, "SupportoFrazCl", "Frazione ponderale Cl del supporto", "Cl"),
    FrazioneDelSupporto(Q::SupportoFrazS, "SupportoFrazS", "Frazione ponderale S del supporto", "S"),
    FrazioneDelSupporto(Q::SupportoFrazN, "SupportoFrazN", "Frazione ponderale N del supporto", "N"),
    FrazioneDelSupporto(Q::SupportoInerti, "SupportoInerti", "Inerti del supporto", "Inerti"),
    FrazioneDelSupporto(Q::SupportoAcqua, "SupportoAcqua", "Acqua del supporto", "Acqua"),
    {.id = Q::TempoPermanenza, .nome = "TempoPermanenza", .variabile = nullptr, .unita = "s",
     .etichetta = "Tempo di permanenza", .decimali = MaiInCasella, .usi = InV, .minimo = 0},
    {.id = Q::DiametroCamera, .nome = "DiametroCamera", .variabile = nullptr, .unita = "m",
     .etichetta = "Diametro interno camera", .decimali = MaiInCasella, .usi = InV, .minimo = 0},
    {.id = Q::O2Riferimento, .nome = "O2Riferimento", .variabile = nullptr, .unita = "% vol secco",
     .etichetta = "O2 di riferimento", .decimali = MaiInCasella, .usi = InV, .minimo = 0, .massimo = 21},
    {.id = Q::ConversioneSO3, .nome = "ConversioneSO3", .variabile = nullptr, .unita = "%",
     .etichetta = "Conversione SO2 in SO3", .decimali = MaiInCasella, .usi = InV, .minimo = 0, .massimo = 100},
    {.id = Q::ObiettivoRif, .nome = "ObiettivoRif", .variabile = nullptr, .unita = "°C",
     .etichetta = "Temperatura obiettivo", .decimali = MaiInCasella, .usi = InV, .aggettivoMassimo = "massima",
     .aggettivoMinimo = "minima", .breve = "Obiettivo"},
    {.id = Q::TempEquilibrio, .nome = "TempEquilibrio", .variabile = nullptr, .unita = "°C",
     .etichetta = "Temperatura di equilibrio", .decimali = MaiInCasella, .usi = InV | UscitaVerifica,
     .minimo = costanti::TemperaturaDatiMinima - costanti::ZeroCelsius,
     .massimo = costanti::TemperaturaDatiMassima - costanti::ZeroCelsius,
     .aggettivoMassimo = "massima", .aggettivoMinimo = "minima",
     .motivo = "i dati termodinamici delle specie valgono da 200 a 5000 K",
     .risultato = &R::TempEquilibrio},
    {.id = Q::TempFumiRif, .nome = "TempFumiRif", .variabile = nullptr, .unita = "°C",
     .etichetta = "Temperatura fumi (entalpie NASA)", .decimali = 1, .usi = RisV,
     .risultato = &R::TempFumiRif},
    {.id = Q::Differenza, .nome = "Differenza", .variabile = nullptr, .unita = "°C",
     .etichetta = "Differenza NASA - tabella", .decimali = 1, .usi = Verifica | MostrataVerifica,
     .risultato = &R::Differenza},
    {.id = Q::VolumeCamera, .nome = "VolumeCamera", .variabile = nullptr, .unita = "m3",
     .etichetta = "Volume minimo camera", .decimali = 2, .usi = RisV, .risultato = &R::VolumeCamera},
    {.id = Q::VelocitaCamera, .nome = "VelocitaCamera", .variabile = nullptr, .unita = "m/s",
     .etichetta = "Velocità dei fumi in camera", .decimali = 2, .usi = RisV, .risultato = &R::VelocitaCamera},
    {.id = Q::LunghezzaCamera, .nome = "LunghezzaCamera", .variabile = nullptr, .unita = "m",
     .etichetta = "Lunghezza camera", .decimali = 2, .usi = RisV, .risultato = &R::LunghezzaCamera},
    {.id = Q::O2Secco, .nome = "O2Secco", .variabile = nullptr, .unita = "% vol", .etichetta = "O2 sui fumi secchi",
     .decimali = 2, .usi = RisV, .risultato = &R::O2Secco},
    {.id = Q::HClRif, .nome = "HClRif", .variabile = nullptr, .unita = "mg/Nm3",
     .etichetta = "HCl secco a O2 di riferimento", .decimali = 1, .usi = RisV, .risultato = &R::HClRif},
    {.id = Q::SO2Rif, .nome = "SO2Rif", .variabile = nullptr, .unita = "mg/Nm3",
     .etichetta = "SO2 secco a O2 di riferimento", .decimali = 1, .usi = RisV, .risultato = &R::SO2Rif},
    {.id = Q::Cl2Rif, .nome = "Cl2Rif", .variabile = nullptr, .unita = "mg/Nm3",
     .etichetta = "Cl2 secco a O2 di riferimento", .decimali = 1, .usi = RisV, .risultato = &R::Cl2Rif},
    {.id = Q::RugiadaAcqua, .nome = "RugiadaAcqua", .variabile = nullptr, .unita = "°C",
     .etichetta = "Punto di rugiada acqua", .decimali = 1, .usi = RisV, .risultato = &R::RugiadaAcqua},
    {.id = Q::RugiadaSolforica, .nome = "RugiadaSolforica", .variabile = nullptr, .unita = "°C",
     .etichetta = "Punto di rugiada acido solforico", .decimali = 1, .usi = RisV, .risultato = &R::RugiadaSolforica},
    {.id = Q::RugiadaCloridrica, .nome = "RugiadaCloridrica", .variabile = nullptr, .unita = "°C",
     .etichetta = "Punto di rugiada acido cloridrico", .decimali = 1, .usi = RisV,
     .risultato = &R::RugiadaCloridrica},
    DiEquilibrioRis(Q::TempFumiEq, "TempFumiEq", "°C", "Temperatura fumi (equilibrio)", 1, &R::TempFumiEq),
    DiEquilibrioRis(Q::ConcCOEq, "ConcCOEq", "ppm", "CO all'equilibrio", 2, &R::ConcCOEq),
    DiEquilibrioRis(Q::ConcNOEq, "ConcNOEq", "ppm", "NO all'equilibrio", 2, &R::ConcNOEq),
    DiEquilibrioRis(Q::ConcNO2Eq, "ConcNO2Eq", "ppm", "NO2 all'equilibrio", 2, &R::ConcNO2Eq),
    DiEquilibrioRis(Q::ConcCl2Eq, "ConcCl2Eq", "ppm", "Cl2 all'equilibrio", 2, &R::ConcCl2Eq),
    DiEquilibrioRis(Q::ConcHClEq, "ConcHClEq", "ppm", "HCl all'equilibrio", 2, &R::ConcHClEq),
    DiEquilibrioRis(Q::ConcSO2Eq, "ConcSO2Eq", "ppm", "SO2 all'equilibrio", 2, &R::ConcSO2Eq),
    DiEquilibrioRis(Q::ConcSO3Eq, "ConcSO3Eq", "ppm", "SO3 all'equilibrio", 2, &R::ConcSO3Eq),
    DiEquilibrioRis(Q::CORifEq, "CORifEq", "mg/Nm3", "CO secco a O2 di riferimento", 1, &R::CORifEq),
    DiEquilibrioRis(Q::NOxRifEq, "NOxRifEq", "mg/Nm3", "NOx secco a O2 di riferimento", 1, &R::NOxRifEq),
    DiEquilibrioRis(Q::Cl2RifEq, "Cl2RifEq", "mg/Nm3", "Cl2 secco a O2 di riferimento", 1, &R::Cl2RifEq),
    DelCamino(Q::O2Misurato, "O2Misurato", InCam, "% vol", "O2 misurato", MaiInCasella, nullptr, 0, 21),
    {.id = Q::BaseO2, .nome = "BaseO2", .variabile = nullptr, .unita = "",
     .etichetta = "Base dell'O2 misurato (secco oppure umido)", .decimali = MaiInCasella, .usi = InCam,
     .breve = "Base dell'O2"},
    DelCamino(Q::CO2Misurato, "CO2Misurato", InCam, "% vol secco", "CO2 misurata", MaiInCasella, nullptr, 0, 100),
    DelCamino(Q::COMisurato, "COMisurato", InCam, "ppm secco", "CO misurato", MaiInCasella, nullptr, 0),
    DelCamino(Q::TempCamino, "TempCamino", InCam, "°C", "Temperatura al camino", MaiInCasella),
    DelCamino(Q::EccessoAriaMisurato, "EccessoAriaMisurato", RisCam, "%", "Eccesso d'aria dall'O2", 2,
              &R::EccessoAriaMisurato),
    DelCamino(Q::IncertezzaEccessoO2, "IncertezzaEccessoO2", RisCam, "%", "± per 0,1 % vol di O2", 2,
              &R::IncertezzaEccessoO2),
    DelCamino(Q::EccessoAriaDaCO2, "EccessoAriaDaCO2", RisCam, "%", "Eccesso d'aria dalla CO2", 2,
              &R::EccessoAriaDaCO2),
    DelCamino(Q::IncertezzaEccessoCO2, "IncertezzaEccessoCO2", RisCam, "%", "± per 0,1 % vol di CO2", 2,
              &R::IncertezzaEccessoCO2),
    DelCamino(Q::CO2Massima, "CO2Massima", RisCam, "% vol secco", "CO2 massima del combustibile", 2, &R::CO2Massima),
    DelCamino(Q::PerditaCamino, "PerditaCamino", RisCam, "%", "Perdita al camino", 2, &R::PerditaCamino),
    DelCamino(Q::PerditaIncombusti, "PerditaIncombusti", RisCam, "%", "Perdita per incombusti (CO)", 3,
              &R::PerditaIncombusti),
    DelCamino(Q::RendimentoCombustione, "RendimentoCombustione", RisCam, "%", "Rendimento di combustione", 2,
              &R::RendimentoCombustione),
    DelCamino(Q::CaloreRecuperabile, "CaloreRecuperabile", RisCam, "kW", "Calore recuperabile fino al camino", 1,
              &R::CaloreRecuperabile),
    DelCamino(Q::PortataFumiCamino, "PortataFumiCamino", RisCam, "m3/h", "Portata fumi al camino", 1,
              &R::PortataFumiCamino),
}};

// A misplaced entry would show one quantity under another's name.
constexpr bool tabellaInOrdine() {
    for (std::size_t i = 0; i < Tabella.size(); ++i)
        if (static_cast<std::size_t>(Tabella[i].id) != i) return false;
    return true;
}
static_assert(tabellaInOrdine());

}  // namespace

std::span<const Grandezza, NumeroGrandezze> Grandezze() { return Tabella; }

const Grandezza& Info(Quantita q) { return Tabella[Indice(q)]; }

std::span<const Grandezza* const> ConUso(Uso u) {
    static const auto liste = [] {
        std::array<std::vector<const Grandezza*>, 32> l;
        for (const Grandezza& g : Tabella)
            for (unsigned b = 0; b < l.size(); ++b)
                if (g.usi & (1u << b)) l[b].push_back(&g);
        return l;
    }();
    return liste[static_cast<unsigned>(std::countr_zero(static_cast<unsigned>(u)))];
}

bool StessoNome(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    auto minuscola = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (minuscola(a[i]) != minuscola(b[i])) return false;
    return true;
}

const Grandezza* TrovaGrandezza(std::string_view nome) {
    for (const Grandezza& g : Grandezze())
        if (StessoNome(g.nome, nome)) return &g;
    return nullptr;
}

}  // namespace termix
