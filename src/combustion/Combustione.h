#pragma once
// Air humidity, mass balance, energy balance with the flue-gas temperature
// iteration, flue-gas composition and chlorine equilibrium: operations on the
// record, arithmetic errors passed to the caller as ErroreAritmetico.
#include <cmath>

#include "model/Costanti.h"
#include "model/Modulo1.h"

namespace termix {

// Each flue-gas species' flows in the record.
inline constexpr Numero Modulo1::*KmoliSpecie[costanti::NumeroSpecie] = {
    &Modulo1::KmoliCO2, &Modulo1::KmoliH2O, &Modulo1::KmoliHCl, &Modulo1::KmoliSO2, &Modulo1::KmoliO2, &Modulo1::KmoliN2};
inline constexpr Numero Modulo1::*PortataSpecie[costanti::NumeroSpecie] = {
    &Modulo1::PortataCO2, &Modulo1::PortataH2O, &Modulo1::PortataHCl,
    &Modulo1::PortataSO2, &Modulo1::PortataO2,  &Modulo1::PortataN2};
inline constexpr std::size_t IndiceSpecie(costanti::Specie s) { return static_cast<std::size_t>(s); }

// The saturation pressure of water [mmHg] at T [K], the air humidity's
// correlation: for the record's checked numbers and for plain doubles alike.
template <class N>
N PressioneVaporeAcqua(N T) {
    using namespace costanti;
    using std::log, std::pow;
    // log10(p / mmHg), log10 T taken as ln T / ln 10
    const N E = VaporeA - VaporeB / T - (log(T) * VaporeC) / log(N(Dieci)) - VaporeD * T + VaporeE * pow(T, 2.0);
    return pow(N(Dieci), E);
}

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
