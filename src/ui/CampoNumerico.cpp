#include "ui/CampoNumerico.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include "ui/FormBase.h"
#include "ui/Dialoghi.h"

namespace termix {

namespace {
// Set while a refused box takes the focus back: the control that had just
// received the focus is being left only because of that, not by the user.
bool ripristino = false;
}  // namespace

CampoNumerico::CampoNumerico(FormBase* form, vista::Sessione& sessione, Quantita quantita, const char* prossimo)
    : QLineEdit(form),
      form_(form),
      sessione_(sessione),
      quantita_(quantita),
      variabile_(Info(quantita).variabile),
      prossimo_(QString::fromLatin1(prossimo)) {
    connect(this, &QLineEdit::textChanged, this, &CampoNumerico::Change);
}

void CampoNumerico::rifiuta(const char* messaggio) {
    dialoghi().messaggio(QString::fromUtf8(messaggio), Icona::Esclamazione);
    setText(QString());
    ripristino = true;
    setFocus(Qt::OtherFocusReason);
    ripristino = false;
    form_->campoPendente = this;
}

void CampoNumerico::Change() {
    const EsitoOperazione e = sessione_.Scrive(quantita_, text().toStdString());
    for (const Effetto& f : e.effetti)
        if (f.tipo == Effetto::Tipo::Messaggio) rifiuta(f.testo.c_str());
}

void CampoNumerico::KeyPress(int& codice) {
    if (codice != 13) return;
    if (QWidget* w = form_->findChild<QWidget*>(prossimo_)) w->setFocus(Qt::TabFocusReason);
}

bool CampoNumerico::LostFocus() {
    if (form_->campoPendente == this) form_->campoPendente = nullptr;
    sessione_.Entra(quantita_);  // this box is the one being left
    const EsitoOperazione e = sessione_.Lascia();
    for (const Effetto& f : e.effetti) {
        if (f.tipo == Effetto::Tipo::Messaggio) {
            rifiuta(f.testo.c_str());
            return false;
        }
        if (f.tipo == Effetto::Tipo::Testo) setText(QString::fromStdString(f.testo));
    }
    return true;
}

void CampoNumerico::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !(e->modifiers() & ~Qt::KeypadModifier)) {
        int codice = 13;
        KeyPress(codice);
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void CampoNumerico::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (!variabile_) return;
    form_->campoPendente = this;
    sessione_.Entra(quantita_);
}

void CampoNumerico::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (!variabile_ || ripristino) return;
    // Only a move to another control of this form counts as leaving the box:
    // a message box, a popup or another window does not.
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    QWidget* nuovo = QApplication::focusWidget();
    if (!nuovo || nuovo == this || nuovo->window() != window()) return;
    LostFocus();
}

void creaCampi(FormBase& form, vista::Sessione& sessione, std::span<const VoceCampo> tabella) {
    for (const auto& v : tabella) {
        auto* c = new CampoNumerico(&form, sessione, v.quantita, v.prossimo);
        form.aggiungi(c, {.nome = v.casella, .left = v.left, .top = v.top, .width = 1095, .height = 285, .tab = v.tabIndex});
    }
}

}  // namespace termix
