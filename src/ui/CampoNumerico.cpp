#include "ui/CampoNumerico.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include "vista/Caselle.h"
#include "ui/FormBase.h"
#include "ui/Dialoghi.h"

namespace termix {

namespace {
// Set while a refused box takes the focus back: the control that had just
// received the focus is being left only because of that, not by the user.
bool ripristino = false;
}  // namespace

CampoNumerico::CampoNumerico(FormBase* form, Modulo1& record, Numero Modulo1::*variabile, const char* prossimo)
    : QLineEdit(form), form_(form), record_(record), variabile_(variabile), prossimo_(QString::fromLatin1(prossimo)) {
    if (variabile_) connect(this, &QLineEdit::textChanged, this, &CampoNumerico::Change);
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
    if (const char* r = vista::RifiutoMentreScrive(text().toStdString())) rifiuta(r);
}

void CampoNumerico::KeyPress(int& codice) {
    if (codice != 13) return;
    if (QWidget* w = form_->findChild<QWidget*>(prossimo_)) w->setFocus(Qt::TabFocusReason);
}

bool CampoNumerico::LostFocus() {
    if (form_->campoPendente == this) form_->campoPendente = nullptr;
    const vista::UscitaCampo u = vista::LasciaCampo(text().toStdString());
    if (text().isEmpty()) setText(QString::fromStdString(u.testo));
    if (u.rifiuto) {
        rifiuta(u.rifiuto);
        return false;
    }
    record_.*variabile_ = Numero(*u.valore);
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
    if (variabile_) form_->campoPendente = this;
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

void creaCampi(FormBase& form, Modulo1& record, std::span<const VoceCampo> tabella) {
    for (const auto& v : tabella) {
        auto* c = new CampoNumerico(&form, record, Info(v.quantita).variabile, v.prossimo);
        form.aggiungi(c, {.nome = v.casella, .left = v.left, .top = v.top, .width = 1095, .height = 285, .tab = v.tabIndex});
    }
}

}  // namespace termix
