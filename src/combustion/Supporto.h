#pragma once
// A support fuel burnt with the case's fuel, and the support-fuel flow at which
// the flue gas reaches a target temperature.
#include <array>
#include <optional>
#include <string>

#include "combustion/Andamento.h"
#include "combustion/Caso.h"
#include "combustion/Verifica.h"

namespace termix {

enum class TipoSupporto { Nessuno, Metano, Ponderale };

// The weight fractions in the order of the fuel form: C, H, O, Cl, S, N, inerts, water.
inline constexpr Numero Modulo1::*FrazioniPonderali[8] = {
    &Modulo1::FrazC, &Modulo1::FrazH, &Modulo1::FrazO, &Modulo1::FrazCl,
    &Modulo1::FrazS, &Modulo1::FrazN, &Modulo1::Inerti, &Modulo1::Acqua,
};

struct Supporto {
    TipoSupporto tipo = TipoSupporto::Nessuno;
    double portata = 0;                 // kg/h
    double potereCalorifico = 0;        // kcal/kg, Ponderale only (Metano has the program's own)
    std::array<double, 8> frazioni{};   // Ponderale only
};

// Fractions within a thousandth of 1 add up.
inline constexpr double TolleranzaSomma = 1e-3;

// Why the support fuel cannot be used, in the words the forms use, or empty.
std::optional<RifiutoIngresso> ControllaSupporto(const Supporto& s);
bool ConSupporto(const Supporto& s);

// The blend of the case's fuel with the support fuel, as a weight-fraction
// fuel of the summed flow: each fraction and the heating value the
// flow-weighted mean of the two fuels' as the calculation uses them. Without a
// support fuel the case itself, untouched. When the case's own fuel step stops,
// its outcome comes back and `miscela` is left alone.
EsitoOperazione Miscela(const IngressiCaso& caso, const Supporto& s, IngressiCaso& miscela);

// The whole case with its support fuel on `m`: the blend's fuel step, or the
// case's own when it stops, then the unchanged run.
EsitoOperazione CalcolaCasoConSupporto(const IngressiCaso& caso, const Supporto& s, Modulo1& m,
                                       TestiRisultati testi = TestiRisultati::SoloVerifica,
                                       const OsservaEsito& osserva = {});

// The temperature of the chosen model on a completed run, °C (-inf without one).
double TemperaturaModello(const Modulo1& m, ModelloTemperatura modello);

extern const NomeVariata PortataSupporto;  // the support-fuel flow as a varied input

struct RicercaSupporto {
    enum class Esito { NonNecessario, Trovato, NonRaggiungibile, Interrotto } esito = Esito::NonRaggiungibile;
    double portata = 0;  // kg/h: Trovato, the least flow found (0.01 kg/h)
    std::string frase;   // what to tell the user
};

// The support-fuel flow at which the chosen model's temperature reaches
// `obiettivo` [°C] at the case's excess air, by bisection on the exact
// calculation to 0.01 kg/h. `s` gives the support fuel; its flow is ignored.
RicercaSupporto TrovaSupporto(const IngressiCaso& caso, const Supporto& s, ModelloTemperatura modello,
                              double obiettivo);

}  // namespace termix
