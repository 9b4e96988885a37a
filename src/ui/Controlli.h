#pragma once
// Control kinds the forms need beyond the plain Qt widgets.
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <cstdint>
#include <utility>

namespace termix {

// &H00BBGGRR& colour value as the forms' tables give it.
QColor coloreVB(std::uint32_t bbggrr);

// A mouse press counts only when it finds its button holding the focus: the
// press moved the focus there first, and a numeric box that refused its text
// took it back (its message box also swallowed the release). Pressing then
// would leave the button drawn down with no release to come.
template <class Base>
class PressioneGuardata : public Base {
public:
    using Base::Base;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        premutoConFocus_ = this->window()->focusWidget() == this;
        if (premutoConFocus_) Base::mousePressEvent(e);
        else e->accept();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (std::exchange(premutoConFocus_, false)) Base::mouseReleaseEvent(e);
        else e->accept();
    }

private:
    bool premutoConFocus_ = false;
};

// Command button that behaves like a desktop button of its time: every action
// (mouse, access key, Enter) first takes the focus, so a numeric box left
// behind stores its value (or refuses it) before the action; after a refusal
// the focus is back in the box and the action does not run. Enter on the
// focused button (main or keypad Enter) presses it on key press.
//
// Handlers connect to azione(), emitted on every click once a value typed in
// a box of the form has been stored: even when the toolkit delivered the
// click before the box saw the focus go (a click that activates the window).
class Pulsante : public PressioneGuardata<QPushButton> {
    Q_OBJECT
public:
    explicit Pulsante(const QString& testo, QWidget* parent = nullptr);

signals:
    void azione();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

// Option button with the same care: a click refused by a numeric box neither
// selects it nor leaves it drawn pressed.
class Opzione : public PressioneGuardata<QRadioButton> {
    Q_OBJECT
public:
    explicit Opzione(QWidget* parent = nullptr) : PressioneGuardata<QRadioButton>(parent) {}
};

// A straight line between two points, in the coordinates of its parent.
class Linea : public QWidget {
    Q_OBJECT
public:
    explicit Linea(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }
    void impostaEstremi(QPoint a, QPoint b);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPoint a_, b_;
};

// Text colour of a label, text box or button.
void impostaColoreTesto(QWidget* w, const QColor& c);
QColor coloreTesto(const QWidget* w);
// Background colour, painted.
void impostaSfondo(QWidget* w, const QColor& c);

// The wait cursor for the length of a synchronous run. Qt hands the change to
// the display server at once, so it shows while the run blocks the event loop;
// a run of microseconds puts it up and down within one frame, never seen.
class CursoreAttesa {
public:
    CursoreAttesa();
    ~CursoreAttesa();
    CursoreAttesa(const CursoreAttesa&) = delete;
    CursoreAttesa& operator=(const CursoreAttesa&) = delete;
};

}  // namespace termix
