#pragma once
// The two computing handlers of the conditions form, as operations on the
// record returning their display effects in order.
#include "combustion/Combustione.h"
#include "model/Effetti.h"
#include "model/Modulo1.h"

namespace termix {

// "&No": the heating value estimated from the weight fractions, shown in red
// on Form3.Text1 with 2 decimals.
EsitoOperazione StimaPotereCalorifico(Modulo1& m);

// "&Calcola": humidity, temperature iteration (with mass and energy balance),
// composition and chlorine equilibrium, writing Form7.Text19 after the
// humidity, the rest of Form7 after the iteration, all of Form8 after the
// chlorine step, then showing Form7. Stops on the first arithmetic error or
// on a net energy that is not positive, with the messages the user sees.
// Whether the run builds the texts of the result boxes, or only makes the
// checked multiplication each display does (the same failure points, for a
// caller that needs the record and the messages but not the texts).
enum class TestiRisultati { Scrivi, SoloVerifica };

// `massimoPassi` bounds each iteration (tests lower it to keep random sweeps short).
EsitoOperazione EseguiCalcolo(Modulo1& m, long long massimoPassi = MassimoPassi,
                              TestiRisultati testi = TestiRisultati::Scrivi);

// Which record variable each result box shows, with its decimals.
struct CampoRisultato {
    Finestra finestra;
    const char* controllo;
    Numero Modulo1::*variabile;
    int decimali;
};
// Form7 boxes after the iteration (Text19 is written before it, on its own).
extern const CampoRisultato CampiForm7[17];
extern const CampoRisultato CampoUmidita;
// Form8 boxes in writing order, without the two fixed "100,00".
extern const CampoRisultato CampiForm8[33];

}  // namespace termix
