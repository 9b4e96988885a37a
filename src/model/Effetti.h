#pragma once
// Ordered display effects of a calculation: what a front end applies, in
// order, after (or instead of) running the handler itself. The core names
// quantities and roles, never widgets; the forms (and the page) map each
// target onto their own controls.
#include <string>
#include <variant>
#include <vector>

#include "model/Grandezze.h"

namespace termix {

// The screens a message belongs to, or that a run brings to the front.
enum class Finestra { Form2, Form3, Form7, Form8 };

enum class Colore { Nero, Rosso };

// What an effect acts on besides a quantity's box.
enum class Ruolo : std::uint8_t {
    Metano, Altri,           // the fuel type choice
    Atomica, Ponderale,      // the composition choice
    Continua,                // the fuel form's way on, focused after its "&Calcola"
    TotaleVolume, TotalePeso,  // the flue-gas table's total shares, a fixed text
};
inline constexpr std::size_t NumeroRuoli = static_cast<std::size_t>(Ruolo::TotalePeso) + 1;

using Bersaglio = std::variant<Quantita, Ruolo>;

struct Effetto {
    enum class Tipo {
        Testo,      // set the text shown for `bersaglio`
        Colore,     // set its text colour
        Selezione,  // select or clear a choice (`selezionato`), running its handler
        Focus,      // move the focus to it
        Messaggio,  // modal message box with `testo`, exclamation icon, OK, over `finestra`
        Mostra,     // show `finestra` (non-modal, in front)
    };
    Tipo tipo;
    Bersaglio bersaglio{};
    Finestra finestra = Finestra::Form2;
    std::string testo;
    Colore colore = Colore::Nero;
    bool selezionato = false;
};

// Where and why an arithmetic stop happened, for whoever can show more than
// the fixed message (the batch tool's stderr, the tests).
struct Dettaglio {
    std::string passo;  // the calculation (and quantity) that stopped
    std::string causa;  // which operation, or how many passes, or the cycle
    std::string testo() const { return passo.empty() ? causa : passo + ": " + causa; }
};

// What one handler run produced: its effects in order, and whether it ran to
// its end (false after an arithmetic error or the energy stop).
struct EsitoOperazione {
    std::vector<Effetto> effetti;
    bool completato = false;
    Dettaglio dettaglio;  // after an arithmetic stop

    void testo(Bersaglio b, std::string t) { effetti.push_back({Effetto::Tipo::Testo, b, {}, std::move(t)}); }
    void colore(Bersaglio b, Colore c) { effetti.push_back({Effetto::Tipo::Colore, b, {}, {}, c}); }
    void selezione(Ruolo r, bool s) { effetti.push_back({Effetto::Tipo::Selezione, r, {}, {}, Colore::Nero, s}); }
    void focus(Bersaglio b) { effetti.push_back({Effetto::Tipo::Focus, b, {}, {}}); }
    void messaggio(Finestra f, std::string t) { effetti.push_back({Effetto::Tipo::Messaggio, {}, f, std::move(t)}); }
    void mostra(Finestra f) { effetti.push_back({Effetto::Tipo::Mostra, {}, f, {}}); }

    // Messages in the order the user sees them.
    std::vector<std::string> messaggi() const;
};

}  // namespace termix
