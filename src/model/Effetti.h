#pragma once
// Ordered display effects of a calculation: what a form applies, in order,
// after (or instead of) running the handler itself. The core knows nothing
// of widgets; a form maps each effect onto its controls.
#include <string>
#include <string_view>
#include <vector>

namespace termix {

enum class Finestra { Form2, Form3, Form7, Form8 };

enum class Colore { Nero, Rosso };

struct Effetto {
    enum class Tipo {
        Testo,      // set the text of `controllo`
        Colore,     // set the text colour of `controllo`
        Selezione,  // set an option button (`selezionato`), running its handler
        Focus,      // move the focus to `controllo`
        Messaggio,  // modal message box with `testo`, exclamation icon, OK
        Mostra,     // show `finestra` (non-modal, in front)
    };
    Tipo tipo;
    Finestra finestra;
    std::string_view controllo;  // always a literal control name
    std::string testo;
    Colore colore = Colore::Nero;
    bool selezionato = false;
};

// What one handler run produced: its effects in order, and whether it ran to
// its end (false after an arithmetic error or the energy stop).
struct EsitoOperazione {
    std::vector<Effetto> effetti;
    bool completato = false;

    void testo(Finestra f, std::string_view c, std::string t) {
        effetti.push_back({Effetto::Tipo::Testo, f, c, std::move(t)});
    }
    void colore(Finestra f, std::string_view c, Colore col) {
        effetti.push_back({Effetto::Tipo::Colore, f, c, {}, col});
    }
    void selezione(Finestra f, std::string_view c, bool s) {
        effetti.push_back({Effetto::Tipo::Selezione, f, c, {}, Colore::Nero, s});
    }
    void focus(Finestra f, std::string_view c) { effetti.push_back({Effetto::Tipo::Focus, f, c, {}}); }
    void messaggio(Finestra f, std::string t) {
        effetti.push_back({Effetto::Tipo::Messaggio, f, {}, std::move(t)});
    }
    void mostra(Finestra f) { effetti.push_back({Effetto::Tipo::Mostra, f, {}, {}}); }

    // Messages in the order the user sees them.
    std::vector<std::string> messaggi() const;
};

}  // namespace termix
