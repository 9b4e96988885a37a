#include "ui/Controlli.h"

#include "ui/AdattaSchermo.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <utility>

namespace termix {

QColor coloreVB(std::uint32_t v) { return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF)); }

Pulsante::Pulsante(const QString& testo, QWidget* parent) : PressioneGuardata<QPushButton>(testo, parent) {
    connect(this, &QAbstractButton::clicked, this, [this] {
        auto* form = qobject_cast<FormBase*>(window());
        if (form && !form->confermaCampoPendente()) return;
        emit azione();
    });
}

bool Pulsante::event(QEvent* e) {
    if (e->type() == QEvent::Shortcut) {
        auto* se = static_cast<QShortcutEvent*>(e);
        if (!se->isAmbiguous()) {
            // Move the focus first: the box left behind runs its LostFocus,
            // and may refuse and take the focus back.
            setFocus(Qt::ShortcutFocusReason);
            if (hasFocus() && isEnabled()) click();
            return true;
        }
    }
    return QPushButton::event(e);
}

void Pulsante::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !(e->modifiers() & ~Qt::KeypadModifier)) {
        e->accept();
        click();
        return;
    }
    QPushButton::keyPressEvent(e);
}

void Linea::impostaEstremi(QPoint a, QPoint b) {
    // The widget covers the line's bounding box, one pixel wide at least.
    QRect r = QRect(a, b).normalized();
    r.setWidth(std::max(r.width(), 2));
    r.setHeight(std::max(r.height(), 2));
    setGeometry(r);
    a_ = a - r.topLeft();
    b_ = b - r.topLeft();
    update();
}

void Linea::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.drawLine(a_, b_);
}

void impostaColoreTesto(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    w->setPalette(p);
}

QColor coloreTesto(const QWidget* w) { return w->palette().color(QPalette::Text); }

void impostaSfondo(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Button, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

CursoreAttesa::CursoreAttesa() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
CursoreAttesa::~CursoreAttesa() { QGuiApplication::restoreOverrideCursor(); }

}  // namespace termix
