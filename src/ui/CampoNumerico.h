#pragma once
// The numeric input box of the fuel and conditions forms: hands every edit to
// the case the forms hold (vista::Sessione), whose rules refuse a trailing
// period and, when the focus leaves the box for another control of the same
// form, store its number into the record; moves on with Enter.
#include <QLineEdit>
#include <span>

#include "model/Grandezze.h"
#include "vista/Sessione.h"

namespace termix {

class FormBase;

class CampoNumerico : public QLineEdit {
    Q_OBJECT
public:
    // A quantity without a record variable (a name): a plain text box that
    // only takes part in the Enter chain.
    CampoNumerico(FormBase* form, vista::Sessione& sessione, Quantita quantita, const char* prossimo);

    Numero Modulo1::*variabile() const { return variabile_; }
    Quantita quantita() const { return quantita_; }
    const QString& prossimo() const { return prossimo_; }

    void Change();
    void KeyPress(int& codice);
    // Stores the value; false (after the message) when the text is no number.
    bool LostFocus();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void rifiuta(const char* messaggio);

    FormBase* form_;
    vista::Sessione& sessione_;
    Quantita quantita_;
    Numero Modulo1::*variabile_;
    QString prossimo_;
};

// One row of a form's field table: box, the quantity it holds (a name has no
// record variable), next on Enter, and where the box sits.
struct VoceCampo {
    const char* casella;
    Quantita quantita;
    const char* prossimo;
    float left, top;
    int tabIndex;
};

// Creates the boxes of a form's table at their design geometry, on the case `sessione`.
void creaCampi(FormBase& form, vista::Sessione& sessione, std::span<const VoceCampo> tabella);

}  // namespace termix
