#pragma once
// The table of quantities: every input the user gives and every result the
// program shows, once, with its name (the batch tool's column, the page's id),
// its record variable, unit, Italian label, display decimals and, for inputs,
// the range that makes physical sense. Forms, batch columns and help, the
// result table, the report and the sweep all read it; adding a result is one
// entry here plus its formula.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string_view>

#include "model/Modulo1.h"
#include "model/RisultatiVerifica.h"

namespace termix {

// In table order: the inputs in the order a user types them (fuel form, then
// conditions), the fuel results among them where the output lists them, then
// every result of the run in the order the result forms are written.
enum class Quantita : std::uint8_t {
    Impianto, Combustibile, Tipo, Composizione,
    PortataComb, AtomiC, AtomiH, AtomiO, AtomiCl, AtomiS, AtomiN,
    PesoMolecolare,
    FrazC, FrazH, FrazO, FrazCl, FrazS, FrazN, Inerti, Acqua,
    OssigenoStechiom, OssigenoPonderale,
    PotereCalorifico,
    EccessoAria, TempAria, UmiditaRelativa, TempCeneri, Dispersioni,
    UmiditaSpecifica,
    PortataC, PortataH, PortataO, PortataCl, PortataS, PortataN, PortataAcqua, PortataInerti,
    EnergiaIngresso, EnergiaNetta,
    PortataO2Stech, PortataVolO2Stech, PortataAriaStech, PortataVolAriaStech, PortataAriaEff, PortataVolAriaEff,
    PortataAcquaUmidita,
    TempFumi, PesoMolecolareFumi, CaloreSpecificoFumi, CostanteCloro, ConcCl2, PortataVolFumiNormale,
    PortataVolFumi,
    KmoliN2, PortataN2, PercVolN2, PercPesoN2,
    KmoliO2, PortataO2, PercVolO2, PercPesoO2,
    KmoliCO2, PortataCO2, PercVolCO2, PercPesoCO2,
    KmoliH2O, PortataH2O, PercVolH2O, PercPesoH2O,
    KmoliSO2, PortataSO2, PercVolSO2, PercPesoSO2,
    KmoliHCl, PortataHCl, PercVolHCl, PercPesoHCl,
    KmoliFumi, PortataFumi,
    // "Verifica": the support fuel, the checks' parameters and results, beside the record.
    SupportoTipo, SupportoPortata, SupportoPotereCalorifico,
    SupportoFrazC, SupportoFrazH, SupportoFrazO, SupportoFrazCl, SupportoFrazS, SupportoFrazN,
    SupportoInerti, SupportoAcqua,
    TempoPermanenza, DiametroCamera, O2Riferimento, ConversioneSO3, ObiettivoRif, TempEquilibrio,
    TempFumiRif, Differenza, VolumeCamera, VelocitaCamera, LunghezzaCamera, O2Secco, HClRif, SO2Rif, Cl2Rif,
    RugiadaAcqua, RugiadaSolforica, RugiadaCloridrica,
    // The gas at chemical equilibrium.
    TempFumiEq, ConcCOEq, ConcNOEq, ConcNO2Eq, ConcCl2Eq, ConcHClEq, ConcSO2Eq, ConcSO3Eq,
    CORifEq, NOxRifEq, Cl2RifEq,
    // The stack: the analyser's and the thermocouple's readings, and what they give.
    O2Misurato, BaseO2, CO2Misurato, COMisurato, TempCamino,
    EccessoAriaMisurato, IncertezzaEccessoO2, EccessoAriaDaCO2, IncertezzaEccessoCO2, CO2Massima,
    PerditaCamino, PerditaIncombusti, RendimentoCombustione, CaloreRecuperabile, PortataFumiCamino,
};
inline constexpr std::size_t NumeroGrandezze = static_cast<std::size_t>(Quantita::PortataFumiCamino) + 1;

// What a quantity is to the program (bits, combined).
enum Uso : unsigned {
    Ingresso = 1,     // typed by the user: a batch input column
    Uscita = 2,       // a full-precision column of the batch output
    Mostrata = 4,     // written, cut to `decimali`, into a result box by "&Calcola" of the conditions form
    Variabile = 8,    // an input the sweep can vary
    Tracciabile = 16, // a result the sweep can plot
    Verifica = 32,    // a check's input or result, no record variable: the Verifica window, --verifica
    IngressoVerifica = 64,   // an input of the checks: a box or list of the Verifica window, a batch column
    UscitaVerifica = 128,    // a column of the checks' results written by --verifica
    MostrataVerifica = 256,  // a result box of the Verifica window
    DelSupporto = 512,       // describes the support fuel
    FrazioneSupporto = 1024, // a weight fraction of the support fuel (the eight make 1)
    DiEquilibrio = 2048,     // a result of the chemical equilibrium: its own group of the Verifica window
    IngressoCamino = 4096,   // a stack reading: a box of the Camino window, a batch column (with IngressoVerifica)
    UscitaCamino = 8192,     // a result of the Camino window, a column written by --camino
};

// The `decimali` of a quantity no calculation writes into a box.
inline constexpr int MaiInCasella = -1;

struct Grandezza {
    Quantita id;
    const char* nome;             // batch column and page id
    Numero Modulo1::*variabile;   // null for the names and the two choices
    const char* unita;            // "" when it has none
    const char* etichetta;        // Italian, without the unit
    int decimali;                 // cut to this many decimals where a box shows it, or MaiInCasella
    unsigned usi;
    // Inputs: the physical range. A value outside it is computed all the same
    // and warned about (never refused): the calculation takes any number, as the forms do.
    double minimo = -std::numeric_limits<double>::infinity();
    double massimo = std::numeric_limits<double>::infinity();
    // The adjectives of a sentence about it ("massima", "minime" and kin).
    const char* aggettivoMassimo = "massimo";
    const char* aggettivoMinimo = "minimo";
    // Why the range is what it is, in Italian (the warning and the help say it).
    const char* motivo = nullptr;
    // A check's result: its field in the checks' record.
    std::optional<double> RisultatiVerifica::*risultato = nullptr;
    // The caption within its group, where the label would say the group again
    // (the support fuel's fractions are "C", "H"...); null: the label.
    const char* breve = nullptr;

    bool ha(Uso u) const { return (usi & u) != 0; }
};

std::span<const Grandezza, NumeroGrandezze> Grandezze();
const Grandezza& Info(Quantita q);
// The entries with use `u`, in table order.
std::span<const Grandezza* const> ConUso(Uso u);
inline std::size_t Indice(Quantita q) { return static_cast<std::size_t>(q); }
// The entry named `nome` (case aside, ASCII), or null.
const Grandezza* TrovaGrandezza(std::string_view nome);

// Two names equal but for the case of ASCII letters.
bool StessoNome(std::string_view a, std::string_view b);

}  // namespace termix
