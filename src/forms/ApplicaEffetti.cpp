#include "forms/ApplicaEffetti.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>

#include "forms/GestoreForm.h"
#include "ui/AdattaSchermo.h"
#include "ui/Controlli.h"
#include "ui/Dialoghi.h"

namespace termix {

namespace {

QWidget* trova(const Effetto& e) {
    FormBase& f = GestoreForm::form(e.finestra);
    return f.findChild<QWidget*>(QString::fromLatin1(e.controllo.data(), qsizetype(e.controllo.size())));
}

}  // namespace

void ApplicaEffetti(const EsitoOperazione& esito) {
    for (const Effetto& e : esito.effetti) {
        switch (e.tipo) {
            case Effetto::Tipo::Testo:
                if (auto* c = qobject_cast<QLineEdit*>(trova(e))) c->setText(QString::fromStdString(e.testo));
                break;
            case Effetto::Tipo::Colore:
                if (QWidget* w = trova(e))
                    impostaColoreTesto(w, e.colore == Colore::Rosso ? QColor(255, 0, 0) : QColor(0, 0, 0));
                break;
            case Effetto::Tipo::Selezione:
                if (auto* o = qobject_cast<QRadioButton*>(trova(e))) {
                    if (e.selezionato) {
                        o->setChecked(true);  // its handler runs on the change
                    } else {
                        // An exclusive option cannot be cleared directly.
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
                }
                break;
            case Effetto::Tipo::Focus:
                if (QWidget* w = trova(e)) w->setFocus(Qt::OtherFocusReason);
                break;
            case Effetto::Tipo::Messaggio:
                dialoghi().messaggio(QString::fromStdString(e.testo), Icona::Esclamazione);
                break;
            case Effetto::Tipo::Mostra: GestoreForm::mostra(GestoreForm::form(e.finestra)); break;
        }
    }
}

}  // namespace termix
