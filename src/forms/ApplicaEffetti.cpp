#include "forms/ApplicaEffetti.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>

#include "forms/GestoreForm.h"
#include "forms/Posti.h"
#include "ui/Controlli.h"
#include "ui/Dialoghi.h"
#include "ui/FormBase.h"

namespace termix {

namespace {

// Clears an option button; an exclusive one cannot be cleared directly.
void deseleziona(QRadioButton* o) {
    if (QButtonGroup* g = o->group()) {
        g->setExclusive(false);
        o->setChecked(false);
        g->setExclusive(true);
    } else {
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
}

// The control of an effect's target, of the kind the effect needs.
template <class T>
T* controllo(const Effetto& e) {
    T* c = qobject_cast<T*>(ControlloDi(e.bersaglio));
    if (!c) qFatal("effect on a control of the wrong kind: %s", qPrintable(ControlloDi(e.bersaglio)->objectName()));
    return c;
}

}  // namespace

void ApplicaEffetti(const EsitoOperazione& esito) {
    for (const Effetto& e : esito.effetti) {
        switch (e.tipo) {
            case Effetto::Tipo::Testo: controllo<QLineEdit>(e)->setText(QString::fromStdString(e.testo)); break;
            case Effetto::Tipo::Colore:
                impostaColoreTesto(ControlloDi(e.bersaglio),
                                   e.colore == Colore::Rosso ? QColor(255, 0, 0) : QColor(0, 0, 0));
                break;
            case Effetto::Tipo::Selezione:
                if (e.selezionato)
                    controllo<QRadioButton>(e)->setChecked(true);  // its handler runs on the change
                else
                    deseleziona(controllo<QRadioButton>(e));
                break;
            case Effetto::Tipo::Focus: ControlloDi(e.bersaglio)->setFocus(Qt::OtherFocusReason); break;
            case Effetto::Tipo::Messaggio:
                dialoghi().messaggio(QString::fromStdString(e.testo), Icona::Esclamazione);
                break;
            case Effetto::Tipo::Mostra: GestoreForm::mostra(GestoreForm::form(e.finestra)); break;
        }
    }
}

}  // namespace termix
