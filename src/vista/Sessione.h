#pragma once
// The case as the user holds it on the fuel and conditions forms, the same
// for every face: the record, what every box shows (text and colour), the
// choices, and the box being edited. A face forwards what the user did
// (typed, entered or left a box, chose, pressed) and applies the effects that
// come back; the box rules run here, once, whatever the face.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "combustion/Avvisi.h"
#include "combustion/Caso.h"
#include "model/Effetti.h"
#include "model/Modulo1.h"
#include "vista/TestiForme.h"

namespace termix::vista {

class Sessione {
public:
    Modulo1& record() { return m_; }
    const Modulo1& record() const { return m_; }
    const TestiForme& testi() const { return testi_; }

    // The box being edited: a numeric input box that got the focus and has
    // not yet been left (empty when none).
    std::optional<Quantita> inModifica() const { return pendente_; }

    // The focus came into box `q`: a numeric input box becomes the one being edited.
    void Entra(Quantita q);
    // The user typed: `testo` is the box's whole text now. A '.' at the end is
    // refused at once: the message, the box emptied, the focus kept there.
    EsitoOperazione Scrive(Quantita q, std::string testo);
    // The box being edited is left, however (Tab, Enter, a click, a tab of
    // the page, a reload, a button): an empty box shows "0"; a text that is no
    // number is refused (the message, the box emptied, the focus back to it),
    // otherwise its number goes into the record. `completato` false after a refusal.
    EsitoOperazione Lascia();
    // Box `q` typed over whole with `testo` and left, as a user would (the box
    // being edited left first): the effects include the box's new text.
    EsitoOperazione Digita(Quantita q, std::string testo);
    // A text set without the box rules (a name, a result box typed over).
    void Imposta(Bersaglio b, std::string testo) { testi_.imposta(b, std::move(testo)); }
    // A box of another window, kept with the case for a reload (Verifica's),
    // by its id: letters and digits only.
    void ImpostaAltro(const std::string& id, std::string testo);
    const std::map<std::string, std::string>& altri() const { return altri_; }

    // An option of the fuel form chosen, and what its handler does to the boxes.
    EsitoOperazione Sceglie(Ruolo r);

    // The buttons: each first leaves the box being edited and does nothing
    // more when that is refused.
    EsitoOperazione CalcolaCombustibile();  // the fuel form's "&Calcola"
    EsitoOperazione Si();                   // "&Si": the heating value is typed
    EsitoOperazione No();                   // "&No": the heating value estimated
    EsitoOperazione Calcola();              // the conditions form's "&Calcola"
    EsitoOperazione Precedente();           // the conditions form's "&Precedente"
    // Applies effects that came from elsewhere (a face's own handler).
    void Applica(const EsitoOperazione& e);

    // The case now held, as Andamento and Verifica take a copy of it.
    IngressiCaso Caso() const;
    // The warnings of the last "&Calcola" (its inputs, and its results when it completed).
    const std::vector<Avviso>& avvisi() const { return avvisi_; }

    // Everything above as one text, and back: what a reload restores. The
    // text is the program's own (a version line, then one item a line); a
    // text that is not one restores nothing (false). `Ripristina` gives the
    // effects that show the restored case (choices, then texts and colours),
    // and leaves the box that was being edited as a reload leaves it.
    std::string Salvato() const;
    bool Ripristina(std::string_view salvato, EsitoOperazione& effetti);

private:
    bool numerica(Quantita q) const;
    EsitoOperazione rifiuta(Quantita q, const char* messaggio);

    Modulo1 m_;
    TestiForme testi_;
    std::optional<Quantita> pendente_;
    std::map<std::string, std::string> altri_;
    bool completato_ = false;  // the last "&Calcola" ran to its end
    std::vector<Avviso> avvisi_;
};

}  // namespace termix::vista
