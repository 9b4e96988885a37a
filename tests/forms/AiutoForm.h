#pragma once
// What the form tests share: a clean program state per test, scripted
// dialogs, a watchdog for real modal boxes, and user-like actions on
// controls found by name.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <type_traits>

#include "forms/GestoreForm.h"
#include "forms/UscitaRapporto.h"
#include "ui/AdattaSchermo.h"
#include "ui/DialoghiScriptati.h"

namespace termix::prova {

// Every 20 ms: a modal box on screen goes to the next expected answer; one
// nobody expected is closed and noted, so a failing test ends instead of
// waiting for a click that never comes.
struct Guardia {
    std::deque<std::function<void(QWidget*)>> risposte;
    QStringList inattesi;
    QTimer timer;
    Guardia() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget* m = QApplication::activeModalWidget();
            if (!m) return;
            if (risposte.empty()) {
                inattesi << m->metaObject()->className() + QStringLiteral(": ") + m->windowTitle();
                if (auto* d = qobject_cast<QDialog*>(m)) d->reject();
                else m->close();
                return;
            }
            auto r = std::move(risposte.front());
            risposte.pop_front();
            r(m);
        });
        timer.start(20);
    }
};

// Fresh record and forms; a scripted dialog; program end only counted.
struct Ambiente {
    DialoghiScriptati dialoghi;
    Guardia guardia;
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
        impostaDialoghi(nullptr);
        // Checked here so that every test using the environment is covered.
        if (!guardia.inattesi.isEmpty() || !guardia.risposte.empty())
            QTest::qFail(qPrintable(QStringLiteral("unexpected boxes [%1], %2 expected ones not shown")
                                        .arg(guardia.inattesi.join(QStringLiteral("; ")))
                                        .arg(guardia.risposte.size())),
                         __FILE__, __LINE__);
    }
    // The real message and input boxes, answered by `risposte` in order.
    void dialoghiVeri(std::initializer_list<std::function<void(QWidget*)>> risposte) {
        impostaDialoghi(nullptr);
        guardia.risposte.insert(guardia.risposte.end(), risposte);
    }
    Ambiente(const Ambiente&) = delete;
    Ambiente& operator=(const Ambiente&) = delete;
};

// A control by name. A name not found fails the test and hands back a
// stand-in, so the test goes on to its end instead of stopping the run.
template <class T = QWidget>
T* ctl(QWidget& form, const char* nome) {
    if (T* w = form.findChild<T*>(QString::fromLatin1(nome))) return w;
    QTest::qFail(qPrintable(QStringLiteral("no %1 in %2").arg(QLatin1String(nome), form.objectName())), __FILE__, __LINE__);
    static T* sostituto = new std::conditional_t<std::is_abstract_v<T>, QPushButton, T>;
    return sostituto;
}

// The test's own working folder for as long as it lives.
struct CartellaDiLavoro {
    QTemporaryDir dir;
    const QString prima = QDir::currentPath();
    CartellaDiLavoro() { QDir::setCurrent(dir.path()); }
    ~CartellaDiLavoro() { QDir::setCurrent(prima); }
};

// The report output of Form8 for as long as it lives.
struct UscitaImpostata {
    explicit UscitaImpostata(UscitaRapporto* u) { impostaUscitaRapporto(u); }
    ~UscitaImpostata() { impostaUscitaRapporto(nullptr); }
};

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

inline QString attiva() {
    QWidget* w = QApplication::activeWindow();
    return w ? w->objectName() : QString();
}

}  // namespace termix::prova
