#pragma once
// The "Andamento" window as every face shows it: the range boxes and the target
// box read (what each refuses and the box to go back to), the sweep and the
// target search run on a copy of the case, the answer in words, what the chart
// draws for each chosen result, and the CSV "Esporta CSV" writes. The desktop
// window and the page only draw what this says.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "combustion/Andamento.h"

namespace termix::vista {

// The boxes of the window; a refusal names the one the focus goes back to.
enum class CasellaAndamento { Nessuna, Da, A, Passo, Obiettivo };
// "da", "a", "passo", "obiettivo" ("" for Nessuna).
const char* NomeCasella(CasellaAndamento c);

struct RifiutoAndamento {
    std::string messaggio;  // empty: accepted
    CasellaAndamento casella = CasellaAndamento::Nessuna;
    explicit operator bool() const { return !messaggio.empty(); }
};

// What the window's list of inputs shows for each: "Eccesso d'aria [%]".
std::string TitoloAsse(const Grandezza& g);

// The range the boxes show when an input is chosen, around its value in the
// case: excess air 0 to 200 % by 5, and ranges of the same spirit for the others.
struct Intervallo {
    double da = 0, a = 0, passo = 0;
};
Intervallo IntervalloPredefinito(const Grandezza& g, double corrente);
// The same as the three boxes show it, for `variata` in `caso`.
std::array<std::string, 3> TestiPredefiniti(const IngressiCaso& caso, Quantita variata);

// The results the chart can plot, in the window's order: the sweep's own, the
// flue-gas temperature from NASA enthalpies beside the table's, and the
// equilibrium's temperature, NO and CO.
inline constexpr std::array<Quantita, 10> RisultatiGrafico = {
    Quantita::TempFumi,  Quantita::ConcCl2,    Quantita::PortataFumi, Quantita::PercVolO2,
    Quantita::PercVolH2O, Quantita::CaloreSpecificoFumi, Quantita::TempFumiRif, Quantita::TempFumiEq,
    Quantita::ConcNOEq, Quantita::ConcCOEq};
// A result's value on a completed run; empty when it has none (TempFumiRif beyond the polynomials).
// A check's result is read from `verifica`, the run's checks with their default parameters.
std::optional<double> ValoreRisultato(Quantita risultato, const Modulo1& m, const RisultatiVerifica& verifica);
// The colour of a result's line, the same on every face ("#rrggbb").
const char* ColoreRisultato(Quantita risultato);

struct PuntoGrafico {
    double x = 0, y = 0;
};

// One chosen result: its line cut at every stopped run, the case itself, and
// (for TempFumi) the crossing "Trova" found.
struct SerieGrafico {
    Quantita risultato = Quantita::TempFumi;
    std::size_t asse = 0;  // into GraficoAndamento::assi
    std::vector<std::vector<PuntoGrafico>> tratti;
    std::optional<PuntoGrafico> caso;
    std::optional<PuntoGrafico> obiettivo;
};

// A y axis: the chosen results of one unit share it, so that both flue-gas
// temperatures are read on one scale.
struct AsseGrafico {
    std::string titolo;  // the label (the words the results share), without the unit
    std::string unita;
    std::vector<double> soglie;  // dashed lines: 850 and 1100 °C on a flue-gas temperature's axis
    // Everything drawn on it, marks and thresholds included; minimo > massimo when nothing is.
    double minimo = 0, massimo = -1;
};

struct GraficoAndamento {
    std::string titoloX, unitaX;
    double da = 0, a = 0;  // the x axis: the sweep's first and last value (one value: a unit wide)
    std::vector<AsseGrafico> assi;
    std::vector<SerieGrafico> serie;
};

inline constexpr double Soglie[] = {850, 1100};  // °C, the incineration rules' minimum temperatures

class Andamento {
public:
    // A copy of the case, with the names the CSV writes, and the input varied first.
    Andamento(const IngressiCaso& caso, std::string impianto, std::string combustibile,
              Quantita variata = IngressiAndamento[0]);

    // The input the next "Traccia" varies.
    Quantita variata() const { return variata_; }
    // Another input chosen: the texts of its default range for the three boxes
    // (the last sweep stays as it was until the next "Traccia").
    std::array<std::string, 3> scegli(Quantita variata);

    // "Traccia": the three range boxes read (an empty one takes the default
    // range's value) and the sweep run. A refusal leaves the last sweep as it
    // was and clears the answer; otherwise `testi()` is what the boxes show.
    RifiutoAndamento traccia(std::string_view da, std::string_view a, std::string_view passo);
    const std::array<std::string, 3>& testi() const { return testi_; }

    // "Trova": the target box read and the crossing of TempFumi searched on
    // the last sweep's values. An empty or unreadable target is refused and
    // clears the answer.
    RifiutoAndamento trova(std::string_view obiettivo);
    void annullaRisposta() { obiettivo_.reset(); }
    // The answer in words ("Eccesso d'aria massimo per 1100 °C: 73,36 %"), "" before one.
    std::string risposta() const;
    const std::optional<Obiettivo>& obiettivo() const { return obiettivo_; }

    bool tracciato() const { return tracciato_; }
    // The input the last sweep varied.
    Quantita tracciata() const { return tracciata_; }
    const std::vector<PuntoAndamento>& punti() const { return punti_; }
    // "41 casi, 0 interrotti (lacune nel grafico)".
    std::string stato() const;
    // What the chart draws for the chosen results, in the window's order.
    GraficoAndamento grafico(std::span<const Quantita> scelti) const;
    // The sweep as termix54-batch --variando writes it for one record (';' convention).
    std::string csv() const;

private:
    IngressiCaso caso_;
    std::string impianto_, combustibile_;
    Quantita variata_, tracciata_;
    Modulo1 attuale_;  // the case itself, marked on the chart
    bool attualeOk_ = false;
    bool tracciato_ = false;
    std::array<std::string, 3> testi_;
    std::vector<double> valori_;
    std::vector<PuntoAndamento> punti_;
    std::optional<Obiettivo> obiettivo_;
};

}  // namespace termix::vista
