#pragma once
// The numeric input box of the fuel and conditions forms: refuses a trailing
// period, moves on with Enter, and stores its number into one variable of the
// record when the focus leaves it for another control of the same form.
#include <QLineEdit>
#include <span>

#include "model/Grandezze.h"
#include "model/Modulo1.h"

namespace termix {

class FormBase;

class CampoNumerico : public QLineEdit {
    Q_OBJECT
public:
    // `variabile` null: a plain text box that only takes part in the Enter chain.
    CampoNumerico(FormBase* form, Modulo1& record, Numero Modulo1::*variabile, const char* prossimo);

    Numero Modulo1::*variabile() const { return variabile_; }
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
    Modulo1& record_;
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

// Creates the boxes of a form's table at their design geometry; they store
// into `record`.
void creaCampi(FormBase& form, Modulo1& record, std::span<const VoceCampo> tabella);

}  // namespace termix
