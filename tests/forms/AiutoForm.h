#pragma once
// What the form tests share: a clean program state per test, scripted
// dialogs, and user-like actions on controls found by name.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "forms/GestoreForm.h"
#include "ui/AdattaSchermo.h"
#include "ui/DialoghiScriptati.h"

namespace termix::prova {

// Fresh record and forms; a scripted dialog; program end only counted.
struct Ambiente {
    DialoghiScriptati dialoghi;
    int terminazioni = 0;

    Ambiente() {
        GestoreForm::distruggiTutto();
        modulo1() = Modulo1{};
        impostaTerminazione([this] { ++terminazioni; });
    }
    ~Ambiente() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("frmAbout")) delete w;
        GestoreForm::distruggiTutto();
        impostaTerminazione({});
    }
    Ambiente(const Ambiente&) = delete;
    Ambiente& operator=(const Ambiente&) = delete;
};

template <class T = QWidget>
T* ctl(QWidget& form, const char* nome) {
    T* w = form.findChild<T*>(QString::fromLatin1(nome));
    if (!w) qFatal("controllo %s non trovato in %s", nome, qPrintable(form.objectName()));
    return w;
}

inline QLineEdit* box(QWidget& form, const char* nome) { return ctl<QLineEdit>(form, nome); }
inline QString testo(QWidget& form, const char* nome) { return box(form, nome)->text(); }

// Shows a form the way the program does and waits until it is active.
inline bool mostraAttiva(FormBase& f) {
    GestoreForm::mostra(f);
    return QTest::qWaitForWindowActive(&f);
}

// Clicks into a box, selects what it holds and types over it, as a user would.
inline void digita(QWidget& form, const char* nome, const QString& t) {
    QLineEdit* e = box(form, nome);
    QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(5, e->height() / 2));
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(e, t);
}

inline void clicca(QWidget& form, const char* nome) {
    QTest::mouseClick(ctl<QAbstractButton>(form, nome), Qt::LeftButton);
}

inline QString focusName() {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

inline QColor coloreDi(QWidget& form, const char* nome) {
    return ctl(form, nome)->palette().color(QPalette::Text);
}

}  // namespace termix::prova
