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
#include "model/Grandezze.h"

namespace termix {

// The inputs the sweep window offers (EccessoAria first: the default) and the
// results it can plot (TempFumi first), in the window's order.
extern const std::array<Quantita, 7> IngressiAndamento;
extern const std::array<Quantita, 6> RisultatiAndamento;

// How a sentence names the varied input and its unit: the batch tool can vary
// any numeric input, and those the window does not offer go by their column.
const char* EtichettaVariata(const Grandezza& g);
const char* UnitaVariata(const Grandezza& g);

// Values da + k·passo for k = 0, 1, ... up to `a` (a hair beyond it counts, so
// that 0.1 steps reach their end). Null with the reason when the range is no
// range: a step that is not positive, `a` below `da`, too many values.
inline constexpr std::size_t MassimoValori = 100000;
std::optional<std::string> ValoriAndamento(double da, double a, double passo, std::vector<double>& valori);

struct PuntoAndamento {
    double valore = 0;
    bool completato = false;
    std::string esito;  // "OK" or the messages of the stopped run: a gap, not a zero
    Dettaglio dettaglio;  // where and why an arithmetic stop stopped it
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
// `variata` names the varied value in the sentences: label, unit, adjectives.
struct NomeVariata {
    const char* etichetta;
    const char* unita;
    const char* massimo;
    const char* minimo;
};
NomeVariata NomeDi(const Grandezza& g);
using CalcolaPunto = std::function<void(double, PuntoAndamento&)>;
using LeggiTemperatura = std::function<double(const PuntoAndamento&)>;
Obiettivo TrovaObiettivo(const NomeVariata& variata, std::span<const PuntoAndamento> punti, double temperatura,
                         const CalcolaPunto& calcola, const LeggiTemperatura& leggi);

}  // namespace termix
