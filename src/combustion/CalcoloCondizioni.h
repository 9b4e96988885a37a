#pragma once
// The two computing handlers of the conditions form, as operations on the
// record returning their display effects in order.
#include <span>

#include "combustion/Combustione.h"
#include "model/Effetti.h"
#include "model/Modulo1.h"

namespace termix {

// "&No": the heating value estimated from the weight fractions, shown in red
// with 2 decimals.
EsitoOperazione StimaPotereCalorifico(Modulo1& m);

// Whether the run builds the texts of the result boxes, or only makes the
// checked multiplication each display does (the same failure points, for a
// caller that needs the record and the messages but not the texts).
enum class TestiRisultati { Scrivi, SoloVerifica };

// "&Calcola": humidity, temperature iteration (with mass and energy balance),
// composition and chlorine equilibrium, showing the humidity after its step,
// the feed and air results after the iteration, the flue-gas results after
// the chlorine step, then bringing the feed and air results to the front.
// Stops on the first arithmetic error or on a net energy that is not
// positive, with the messages the user sees.
// `massimoPassi` bounds each iteration (tests lower it to keep random sweeps short).
EsitoOperazione EseguiCalcolo(Modulo1& m, long long massimoPassi = MassimoPassi,
                              TestiRisultati testi = TestiRisultati::Scrivi);

// The results the run shows, in the order it writes them: the humidity
// (before the iteration), the feed and air results, the flue-gas results.
std::span<const Grandezza> RisultatiUmidita();
std::span<const Grandezza> RisultatiAlimentazione();
std::span<const Grandezza> RisultatiFumi();

}  // namespace termix
