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
#include "forms/Posti.h"
#include "model/Messaggi.h"
#include "ui/CampoNumerico.h"
#include "ui/Dialoghi.h"

#include <QLineEdit>

namespace termix {

vista::Sessione& sessione() {
    static vista::Sessione s;
    return s;
}

Modulo1& modulo1() { return sessione().record(); }

namespace {

// The working forms, each created on first use; one list, in the order of the walk.
struct VoceForma {
    const char* nome;
    std::unique_ptr<FormBase> (*nuova)();
    std::unique_ptr<FormBase> forma;
};

template <class T>
std::unique_ptr<FormBase> nuova() {
    return std::make_unique<T>();
}

VoceForma (&forme())[5] {
    static VoceForma f[5] = {
        {"Form1", nuova<Form1>, nullptr}, {"Form2", nuova<Form2>, nullptr}, {"Form3", nuova<Form3>, nullptr},
        {"Form7", nuova<Form7>, nullptr}, {"Form8", nuova<Form8>, nullptr},
    };
    return f;
}

FormBase& crea(VoceForma& v) {
    if (!v.forma) {
        // A close request on any working form is the program's exit question.
        static const bool collegato = (impostaRichiestaUscita([] {
                                           if (Form_QueryUnload()) terminaProgramma();
                                       }),
                                       true);
        (void)collegato;
        v.forma = v.nuova();
        v.forma->Form_Load();
        // A result box the user types over is what the report prints: the case follows it.
        for (const Posto& p : Posti()) {
            if (QLatin1String(NomeFinestra(p.finestra)) != QLatin1String(v.nome)) continue;
            auto* casella = v.forma->findChild<QLineEdit*>(QString::fromLatin1(p.controllo));
            if (!casella || qobject_cast<CampoNumerico*>(casella)) continue;
            QObject::connect(casella, &QLineEdit::textChanged, casella,
                             [b = p.bersaglio](const QString& t) { sessione().Imposta(b, t.toStdString()); });
        }
    }
    return *v.forma;
}

VoceForma* voce(const QString& nome) {
    for (VoceForma& v : forme())
        if (nome == QLatin1String(v.nome)) return &v;
    return nullptr;
}

std::function<void()>& terminazione() {
    static std::function<void()> f;
    return f;
}

}  // namespace

namespace GestoreForm {

Form1& form1() { return static_cast<Form1&>(crea(forme()[0])); }
Form2& form2() { return static_cast<Form2&>(crea(forme()[1])); }
Form3& form3() { return static_cast<Form3&>(crea(forme()[2])); }
Form7& form7() { return static_cast<Form7&>(crea(forme()[3])); }
Form8& form8() { return static_cast<Form8&>(crea(forme()[4])); }

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
    VoceForma* v = voce(nome);
    return v ? &crea(*v) : nullptr;
}

bool esiste(const QString& nome) {
    const VoceForma* v = voce(nome);
    return v && v->forma;
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

void apri(FormBase& finestra) {
    finestra.Form_Load();
    finestra.show();
    finestra.raise();
    finestra.activateWindow();
}

void distruggiTutto() {
    // Last created first: a result form may still point at the forms before it.
    auto& f = forme();
    for (auto v = std::rbegin(f); v != std::rend(f); ++v) v->forma.reset();
    sessione() = vista::Sessione();
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
