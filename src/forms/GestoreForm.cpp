#include "forms/GestoreForm.h"

#include <QApplication>
#include <QScreen>
#include <QSessionManager>
#include <QWidget>
#include <memory>

#include "forms/Form1.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/Form7.h"
#include "forms/Form8.h"
#include "model/Messaggi.h"
#include "ui/Dialoghi.h"

namespace termix {

Modulo1& modulo1() {
    static Modulo1 m;
    return m;
}

namespace {

struct Forme {
    std::unique_ptr<Form1> f1;
    std::unique_ptr<Form2> f2;
    std::unique_ptr<Form3> f3;
    std::unique_ptr<Form7> f7;
    std::unique_ptr<Form8> f8;
};
Forme& forme() {
    static Forme f;
    return f;
}

template <class T>
T& crea(std::unique_ptr<T>& p) {
    if (!p) {
        // A close request on any working form is the program's exit question.
        static const bool collegato = (impostaRichiestaUscita([] {
                                           if (Form_QueryUnload()) terminaProgramma();
                                       }),
                                       true);
        (void)collegato;
        p = std::make_unique<T>();
        p->Form_Load();
    }
    return *p;
}

std::function<void()>& terminazione() {
    static std::function<void()> f;
    return f;
}

}  // namespace

namespace GestoreForm {

Form1& form1() { return crea(forme().f1); }
Form2& form2() { return crea(forme().f2); }
Form3& form3() { return crea(forme().f3); }
Form7& form7() { return crea(forme().f7); }
Form8& form8() { return crea(forme().f8); }

FormBase& form(Finestra f) {
    switch (f) {
        case Finestra::Form2: return form2();
        case Finestra::Form3: return form3();
        case Finestra::Form7: return form7();
        case Finestra::Form8: return form8();
    }
    return form2();
}

FormBase* perNome(const QString& nome) {
    if (nome == QLatin1String("Form1")) return &form1();
    if (nome == QLatin1String("Form2")) return &form2();
    if (nome == QLatin1String("Form3")) return &form3();
    if (nome == QLatin1String("Form7")) return &form7();
    if (nome == QLatin1String("Form8")) return &form8();
    return nullptr;
}

bool esiste(const QString& nome) {
    auto& f = forme();
    if (nome == QLatin1String("Form1")) return bool(f.f1);
    if (nome == QLatin1String("Form2")) return bool(f.f2);
    if (nome == QLatin1String("Form3")) return bool(f.f3);
    if (nome == QLatin1String("Form7")) return bool(f.f7);
    if (nome == QLatin1String("Form8")) return bool(f.f8);
    return false;
}

void mostra(FormBase& f) {
    // Without a window manager a maximized state is not honoured: cover the
    // screen anyway, so the form looks the same with or without one.
    if (!f.isVisible())
        if (const QScreen* s = QGuiApplication::primaryScreen()) f.setGeometry(s->availableGeometry());
    f.setWindowState((f.windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    f.show();
    f.raise();
    f.activateWindow();
}

void distruggiTutto() {
    auto& f = forme();
    f.f8.reset();
    f.f7.reset();
    f.f3.reset();
    f.f2.reset();
    f.f1.reset();
}

}  // namespace GestoreForm

bool Form_QueryUnload() {
    return dialoghi().messaggio(QString::fromUtf8(messaggi::ChiudereProgramma), Icona::Domanda, Pulsanti::SiNo,
                                Risposta::No) == Risposta::Si;
}

void terminaProgramma() {
    if (terminazione()) {
        terminazione()();
        return;
    }
    // Hiding runs no close handler; the event loop ends right after.
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    QCoreApplication::exit(0);
}

void impostaTerminazione(std::function<void()> f) { terminazione() = std::move(f); }

void fineSessione(bool puoChiedere, const std::function<void()>& annulla) {
    if (!puoChiedere) return;
    if (Form_QueryUnload())
        terminaProgramma();
    else
        annulla();
}

void fineSessione(QSessionManager& gestore) {
    fineSessione(gestore.allowsInteraction(), [&gestore] { gestore.cancel(); });
    gestore.release();
}

}  // namespace termix
