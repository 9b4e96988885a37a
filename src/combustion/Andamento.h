#pragma once
// "Andamento": how the results of one case move when one input changes, and
// the value of that input at which the flue-gas temperature crosses a target.
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "combustion/Caso.h"

namespace termix {

// An input the sweep can vary, or a result it can show.
struct Grandezza {
    const char* nome;       // record variable, and the batch tool's column
    const char* etichetta;  // on the chart and in the sentences
    const char* unita;      // "" when it has none
    Numero Modulo1::*variabile;
    // The adjective of a sentence about it: "massimo"/"minimo" and kin.
    const char* massimo = "massimo";
    const char* minimo = "minimo";
};

extern const std::array<Grandezza, 7> IngressiAndamento;  // EccessoAria first: the default
extern const std::array<Grandezza, 6> RisultatiAndamento;  // TempFumi first: the default
// The entry named `nome` (case aside), or null.
const Grandezza* TrovaGrandezza(std::span<const Grandezza> tabella, std::string_view nome);

// Values da + k·passo for k = 0, 1, ... up to `a` (a hair beyond it counts, so
// that 0.1 steps reach their end). Null with the reason when the range is no
// range: a step that is not positive, `a` below `da`, too many values.
inline constexpr std::size_t MassimoValori = 100000;
std::optional<std::string> ValoriAndamento(double da, double a, double passo, std::vector<double>& valori);

struct PuntoAndamento {
    double valore = 0;
    bool completato = false;
    std::string esito;  // "OK" or the messages of the stopped run: a gap, not a zero
    Modulo1 m;
};

// The case with `variata` set to `valore` (a heating value set here counts as typed).
IngressiCaso CasoCon(const IngressiCaso& caso, const Grandezza& variata, double valore);
// Runs the whole case for each value, each on a fresh record.
void CalcolaAndamento(const IngressiCaso& caso, const Grandezza& variata, std::span<const double> valori,
                      std::vector<PuntoAndamento>& punti);

struct Obiettivo {
    enum class Esito { Trovato, NessunIncrocio, PiuIncroci, Interrotto } esito = Esito::NessunIncrocio;
    double valore = 0;       // Trovato: the end of the last bracket on the side that meets the target
    bool finoA = true;       // the target is met up to `valore` (else from `valore` on)
    PuntoAndamento punto;    // Trovato: the run at `valore`
    std::string frase;       // what to tell the user
};

// Where TempFumi crosses `temperatura` among the sweep's points, refined by
// bisection on the exact calculation to 0.01 of the input's unit. The side
// that meets the target is the one at or above the temperature.
inline constexpr double PrecisioneObiettivo = 0.01;
Obiettivo TrovaObiettivo(const IngressiCaso& caso, const Grandezza& variata, std::span<const PuntoAndamento> punti,
                         double temperatura);

// The same search for any varied value and any temperature: `calcola` runs the
// case at a value, `leggi` reads the temperature compared with the target.
using CalcolaPunto = std::function<void(double, PuntoAndamento&)>;
using LeggiTemperatura = std::function<double(const PuntoAndamento&)>;
Obiettivo TrovaObiettivo(const Grandezza& variata, std::span<const PuntoAndamento> punti, double temperatura,
                         const CalcolaPunto& calcola, const LeggiTemperatura& leggi);

}  // namespace termix
