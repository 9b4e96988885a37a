#pragma once
// Chemical equilibrium of the flue gas: an ideal-gas mixture of a fixed set of
// species at 1 atm, found by minimising its Gibbs energy with the element
// potentials (Gordon and McBride, NASA RP-1311, 1994, chapters 2 and 3).
// Two problems: the composition at a given temperature (TP), and the
// temperature and composition at a given enthalpy (HP, the adiabatic flame).
// Any element totals are accepted, so that a published case can be set up
// with its own reactants.
#include <array>
#include <optional>

#include "combustion/PolinomiNasa.h"

namespace termix::equilibrio {

enum class Elemento : int { C, H, O, N, Cl, S };
inline constexpr int NumeroElementi = 6;

using Molecola = nasa::Molecola;
inline constexpr int NumeroMolecole = nasa::NumeroMolecole;

// kmol (or kmol/h) of each species, in nasa::Molecola order.
using Moli = std::array<double, NumeroMolecole>;
// kmol (or kmol/h) of atoms of each element.
using Elementi = std::array<double, NumeroElementi>;

// Atoms of element `e` in one molecule of `s`.
int Atomi(Molecola s, Elemento e);
Elementi ElementiDi(const Moli& n);

// A species' standard Gibbs energy over RT at T [K] (1 bar): g°/RT = h/RT - s/R.
double GibbsRidotta(Molecola s, double T);

// The mixture's enthalpy at T [K], formation included: kJ per the unit of n.
double EntalpiaMiscela(const Moli& n, double T);

// The program's pressure: 1 atm, against the data's standard state of 1 bar.
inline constexpr double Pressione = 101325;  // Pa

struct Stato {
    Moli n{};         // species absent from the problem (an element missing) are 0
    double T = 0;     // K
    int iterazioni = 0;
};

// Why there is no composition.
enum class Esito {
    Ok,
    ElementiNegativi,   // an element total below zero, none at all, or too little
                        // oxygen for the carbon and sulphur (no species holds them without it)
    FuoriIntervallo,    // the temperature lies outside the data's range
    NonConverge,        // no convergence from either start
};

struct Soluzione {
    Esito esito = Esito::NonConverge;
    Stato stato;
    explicit operator bool() const { return esito == Esito::Ok; }
};

// The composition at T [K] and `pressione` [Pa] of a gas made of the element
// totals `b`; `inizio`, when given, is the first guess (any species amounts).
Soluzione EquilibrioTP(const Elementi& b, double T, const Moli* inizio = nullptr, double pressione = Pressione);

// The temperature at which the equilibrium mixture of `b` has the enthalpy
// `H` [kJ, in the unit of b], and its composition; `Tinizio` and `inizio` are
// the first guess.
Soluzione EquilibrioHP(const Elementi& b, double H, double Tinizio = 0, const Moli* inizio = nullptr,
                       double pressione = Pressione);

}  // namespace termix::equilibrio
