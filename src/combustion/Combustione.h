#pragma once
// Air humidity, mass balance, energy balance with the flue-gas temperature
// iteration, flue-gas composition and chlorine equilibrium: operations on the
// record, arithmetic errors passed to the caller as ErroreAritmetico.
#include "model/Modulo1.h"

namespace termix {

enum class EsitoCalcolo { CalcoloOk, EnergiaInsufficiente };

// Passes after which an iteration that has not settled is given up as an
// arithmetic error. Converging chlorine runs of millions of passes exist.
inline constexpr long long MassimoPassi = 10'000'000;

void CalcolaUmiditaAria(Modulo1& m);
void CalcolaBilancioMassa(Modulo1& m);
EsitoCalcolo CalcolaBilancioEnergia(Modulo1& m);
EsitoCalcolo CalcolaTemperaturaFumi(Modulo1& m, long long massimoPassi = MassimoPassi);
void CalcolaComposizioneFumi(Modulo1& m);
// Residual of the HCl/Cl2 equilibrium at the Cl2 mole fraction x.
Numero Cloro(Numero k, Numero yH2O, Numero yHCl, Numero yO2, Numero x);
void CalcolaEquilibrioCloro(Modulo1& m, long long massimoPassi = MassimoPassi);

// Test hook: the number of passes the last iterations made.
struct ContaPassi {
    long long temperatura = 0;
    long long cloro = 0;
};
const ContaPassi& UltimiPassi();

}  // namespace termix
