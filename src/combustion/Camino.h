#pragma once
// The stack: from the analyser's O2 or CO2 back to the excess air of the
// case's own mass balance (support fuel and air humidity included); at that
// excess air the losses by the indirect method, the efficiency, the heat a
// boiler can recover down to the stack and the fan's flow.
#include <optional>
#include <string>
#include <vector>

#include "combustion/Verifica.h"
#include "model/Grandezze.h"
#include "model/Modulo1.h"
#include "model/RisultatiVerifica.h"

namespace termix {

enum class BaseO2 { Secco, Umido };

struct ParametriCamino {
    std::optional<double> o2;          // measured O2 [% vol]
    std::optional<BaseO2> base;        // of the O2
    std::optional<double> co2;         // measured CO2 [% vol dry]
    std::optional<double> co;          // measured CO [ppm vol dry]
    std::optional<double> tempCamino;  // °C
};

// An analyser is taken to read within this [% vol].
inline constexpr double PrecisioneAnalizzatore = 0.1;
// CO + 1/2 O2 -> CO2 at 25 °C: 282.98 kJ/mol (NIST-JANAF, 4th ed.) [kJ/kmol].
inline constexpr double PotereCO = 282980;

// Why the measurements cannot be used, and the input to go back to (none:
// an arithmetic stop of the balance).
using RifiutoCamino = RifiutoIngresso;
// The refusals the inputs alone decide: O2 outside 0..21, its basis missing,
// CO2 not above 0 or above 100, CO outside 0..10^6 ppm, a stack temperature
// that is no number.
std::optional<RifiutoCamino> ControllaCamino(const ParametriCamino& p);

// The flue gas of the case `base` (its fuel step done, its conditions
// stored) at excess air `e` [%]: air humidity, mass and energy balance. The
// program's own steps, so arithmetic stops raise ErroreAritmetico.
void BilancioAdEccesso(Modulo1& m, double e);
// O2 on the basis `b`, and CO2 on dry gas, of a balanced record [% vol].
double QuotaO2(const Modulo1& m, BaseO2 b);
double QuotaCO2(const Modulo1& m);

// The excess air [%] at which the balance gives `quota` (an increasing or
// decreasing share of `e`): the nearest double, or empty where no excess air
// from 0 up gives it.
using QuotaFumi = double (*)(const Modulo1&, BaseO2);
std::optional<double> EccessoPerQuota(const Modulo1& base, QuotaFumi quota, BaseO2 b, double valore);

struct EsitoCamino {
    std::optional<RifiutoCamino> rifiuto;  // nothing computed
    RisultatiVerifica risultati;           // the stack's fields
    std::optional<double> eccesso;         // the excess air the losses are on: O2's, else CO2's, else the case's
    bool misurato = false;                 // it comes from a reading
    Modulo1 m;                             // the case balanced at it (at 0 without one)
    std::vector<std::string> note;         // unreachable measurements, mismatch, dew points, a stack hotter than the chamber
};
// `base` as for BilancioAdEccesso; `conversioneSO3` [%] for the sulphuric dew point.
EsitoCamino CalcolaCamino(const Modulo1& base, const ParametriCamino& p, double conversioneSO3);

}  // namespace termix
