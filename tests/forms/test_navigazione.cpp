// The program's start, its walk through the forms, the exit confirmation on
// every working form and every way of closing it, and the About box opening.
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "forms/AiutoForm.h"
#include "forms/Form1.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/Form7.h"
#include "forms/Form8.h"
#include "forms/frmAbout.h"
#include "ui/Controlli.h"

using namespace termix;
using namespace termix::prova;

namespace {

int copie(const char* nome) {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) n += w->objectName() == QLatin1String(nome);
    return n;
}

QString attiva() {
    QWidget* w = QApplication::activeWindow();
    return w ? w->objectName() : QString();
}

FormBase& formPerNome(const QString& n) { return *GestoreForm::perNome(n); }

}  // namespace

class TestNavigazione : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(caricaTraduzioneItaliana()); }
    void avvio();
    void sequenza();
    void uscita_data();
    void uscita();
    void noLasciaTuttoComEra();
    void fineSessione();
    void info();
    void uscitaConAboutAperto();
    void dialoghiVeri();
};

void TestNavigazione::avvio() {
    Ambiente amb;
    Form1& f = GestoreForm::form1();
    QVERIFY(mostraAttiva(f));
    QVERIFY(!GestoreForm::esiste(QStringLiteral("Form2")));
    QCOMPARE(f.windowTitle().size(), 5);
    QVERIFY(f.windowState() & Qt::WindowMaximized);
    QCOMPARE(f.palette().color(QPalette::Window), QColor(128, 255, 255));
    QCOMPARE(ctl<QLabel>(f, "Label3")->text(), QStringLiteral(" BILANCIO DI MASSA E DI ENERGIA DELLA COMBUSTIONE "));
    QCOMPARE(ctl(f, "Label3")->palette().color(QPalette::Window), QColor(255, 255, 192));
    QCOMPARE(ctl(f, "Label4")->palette().color(QPalette::Window), QColor(255, 255, 192));
    QCOMPARE(ctl(f, "Label6")->palette().color(QPalette::Window),
             QApplication::palette().color(QPalette::Active, QPalette::HighlightedText));
    QCOMPARE(ctl(f, "Label6")->font().bold(), true);
    QCOMPARE(ctl<QPushButton>(f, "cmdCont")->text(), QStringLiteral("&Continua"));
    QCOMPARE(ctl<QPushButton>(f, "cmdExit")->text(), QStringLiteral("&ESCI"));
    QCOMPARE(ctl<QPushButton>(f, "Command1")->text(), QStringLiteral("&Info"));
    QCOMPARE(ctl(f, "cmdCont")->palette().color(QPalette::Button), QColor(Qt::white));
    const QPixmap titolo = ctl<QLabel>(f, "Image1")->pixmap();
    QCOMPARE(titolo.size(), QSize(415, 89));
    // "&Continua" has tab index 0 and holds the focus; then "&ESCI", then "&Info".
    QCOMPARE(focusName(), QStringLiteral("cmdCont"));
    QCOMPARE(ctl(f, "cmdCont")->nextInFocusChain()->objectName(), QStringLiteral("cmdExit"));
    QCOMPARE(ctl(f, "cmdExit")->nextInFocusChain()->objectName(), QStringLiteral("Command1"));
}

void TestNavigazione::sequenza() {
    Ambiente amb;
    QVERIFY(mostraAttiva(GestoreForm::form1()));
    struct Passo {
        const char* form;
        const char* pulsante;
        const char* atteso;
    };
    // The walk of the form sequence; typing and choices in between are below.
    const Passo passi[] = {
        {"Form1", "cmdCont", "Form2"},     {"Form2", "Command2", "Form3"},  // nothing entered: still goes on
        {"Form3", "Command2", "Form2"},    {"Form2", "Command2", "Form3"},  {"Form3", "Command4", "Form7"},
        {"Form7", "Command3", "Form8"},    {"Form8", "Command2", "Form7"},  {"Form7", "Command2", "Form3"},
        {"Form3", "Command2", "Form2"},    {"Form2", "Command2", "Form3"},  {"Form3", "Command4", "Form7"},
        {"Form7", "Command3", "Form8"},
    };
    int n = 0;
    for (const Passo& p : passi) {
        FormBase& f = formPerNome(QString::fromLatin1(p.form));
        QCOMPARE(attiva(), f.objectName());
        if (n == 3) {
            // Back on Form2: name the plant and choose methane.
            digita(f, "Text1", QStringLiteral("Impianto A"));
            digita(f, "Text20", QStringLiteral("100"));
            clicca(f, "Option1");
            clicca(f, "Command4");
        }
        if (n == 4) {
            QCOMPARE(testo(f, "Text1"), QStringLiteral("11958"));
            const char* valori[][2] = {{"Text2", "20"}, {"Text4", "20"}, {"Text5", "50"}, {"Text8", "20"},
                                       {"Text10", "5"}};
            for (auto& v : valori) digita(f, v[0], QString::fromLatin1(v[1]));
        }
        clicca(f, p.pulsante);
        QTRY_COMPARE(attiva(), QString::fromLatin1(p.atteso));
        ++n;
    }
    // One copy of each form, texts kept across the walk, the heating value
    // box emptied by the last "&Precedente".
    for (const char* nome : {"Form1", "Form2", "Form3", "Form7", "Form8"}) QCOMPARE(copie(nome), 1);
    QCOMPARE(testo(GestoreForm::form2(), "Text1"), QStringLiteral("Impianto A"));
    QCOMPARE(testo(GestoreForm::form3(), "Text1"), QString());
    QCOMPARE(testo(GestoreForm::form3(), "Text2"), QStringLiteral("20"));
    QCOMPARE(modulo1().PotereCalorifico.v, 11958.0);
    QCOMPARE(testo(GestoreForm::form8(), "Text1"), QStringLiteral("1314,6"));
    QVERIFY(amb.dialoghi.mostrati.empty());
    for (const char* nome : {"Form1", "Form2", "Form3", "Form7"}) QVERIFY(formPerNome(nome).isVisible());
}

void TestNavigazione::uscita_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("modo");
    QTest::addColumn<bool>("si");
    const char* esci[] = {"cmdExit", "Command1", "Command1", "Command1", "Command1"};
    const char* forme[] = {"Form1", "Form2", "Form3", "Form7", "Form8"};
    for (int i = 0; i < 5; ++i)
        for (const char* modo : {"clic", "tasto", "tastierino", "chiusura"})
            for (bool si : {true, false})
                QTest::addRow("%s %s %s %s", forme[i], esci[i], modo, si ? "Si" : "No")
                    << QString::fromLatin1(forme[i]) << QString::fromLatin1(modo) << si;
}

void TestNavigazione::uscita() {
    QFETCH(QString, form);
    QFETCH(QString, modo);
    QFETCH(bool, si);
    Ambiente amb;
    FormBase& f = formPerNome(form);
    QVERIFY(mostraAttiva(f));
    amb.dialoghi.risposte.push_back(si ? Risposta::Si : Risposta::No);
    const char* esci = form == QLatin1String("Form1") ? "cmdExit" : "Command1";
    if (modo == QLatin1String("clic"))
        clicca(f, esci);
    else if (modo == QLatin1String("tasto"))
        QTest::keyClick(&f, Qt::Key_E, Qt::AltModifier);
    else if (modo == QLatin1String("tastierino")) {  // keypad Enter on the focused button
        ctl(f, esci)->setFocus();
        QTest::keyClick(ctl(f, esci), Qt::Key_Enter, Qt::KeypadModifier);
    } else
        f.close();  // the close box, Alt+F4 and the system menu all come here
    QCOMPARE(amb.dialoghi.mostrati.size(), size_t(1));
    const auto& m = amb.dialoghi.mostrati[0];
    QCOMPARE(m.testo, QStringLiteral("Chiudere il programma ?"));
    QCOMPARE(m.titolo, QStringLiteral("Termix54"));
    QVERIFY(m.icona == Icona::Domanda);
    QVERIFY(m.pulsanti == Pulsanti::SiNo);
    QVERIFY(m.predefinito == Risposta::No);
    QCOMPARE(amb.terminazioni, si ? 1 : 0);
    if (!si) {
        QVERIFY(f.isVisible());
        QCOMPARE(attiva(), form);
    }
}

void TestNavigazione::noLasciaTuttoComEra() {
    Ambiente amb;
    QVERIFY(mostraAttiva(GestoreForm::form1()));
    clicca(GestoreForm::form1(), "cmdCont");
    Form2& f = GestoreForm::form2();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    digita(f, "Text1", QStringLiteral("Linea 2"));
    clicca(f, "Option2");
    clicca(f, "Option4");
    digita(f, "Text4", QStringLiteral("0,8"));
    const QColor prima = coloreDi(f, "Text4");
    amb.dialoghi.risposte.push_back(Risposta::No);
    clicca(f, "Command1");
    QCOMPARE(amb.terminazioni, 0);
    QCOMPARE(attiva(), QStringLiteral("Form2"));
    QCOMPARE(testo(f, "Text1"), QStringLiteral("Linea 2"));
    QCOMPARE(testo(f, "Text4"), QStringLiteral("0,8"));
    QVERIFY(ctl<QRadioButton>(f, "Option2")->isChecked());
    QVERIFY(ctl<QRadioButton>(f, "Option4")->isChecked());
    QVERIFY(!ctl(f, "Frame1")->isHidden());
    QCOMPARE(coloreDi(f, "Text4"), prima);
    QVERIFY(GestoreForm::form1().isVisible());
}

void TestNavigazione::fineSessione() {
    {
        Ambiente amb;
        amb.dialoghi.risposte.push_back(Risposta::No);
        int annullata = 0;
        termix::fineSessione(true, [&] { ++annullata; });
        QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{QStringLiteral("Chiudere il programma ?")});
        QCOMPARE(annullata, 1);
        QCOMPARE(amb.terminazioni, 0);
    }
    {
        Ambiente amb;
        amb.dialoghi.risposte.push_back(Risposta::Si);
        int annullata = 0;
        termix::fineSessione(true, [&] { ++annullata; });
        QCOMPARE(annullata, 0);
        QCOMPARE(amb.terminazioni, 1);
    }
}

void TestNavigazione::info() {
    Ambiente amb;
    Form1& f = GestoreForm::form1();
    QVERIFY(mostraAttiva(f));
    clicca(f, "Command1");
    QWidget* about = nullptr;
    QTRY_VERIFY((about = QApplication::activeWindow()) && about->objectName() == QLatin1String("frmAbout"));
    QCOMPARE(about->windowTitle(), QStringLiteral("Informazioni su Termix54"));
    QVERIFY(!QApplication::activeModalWidget());  // not modal: Form1 stays usable
    QVERIFY(f.isEnabled());
    clicca(*about, "cmdOK");
    QTRY_COMPARE(copie("frmAbout"), 0);
    QVERIFY(amb.dialoghi.mostrati.empty());  // closing it asks nothing
    QVERIFY(f.isVisible());
    f.activateWindow();  // the offscreen platform does not hand the activation back
    QVERIFY(QTest::qWaitForWindowActive(&f));
    // Esc on Form1 is "&Info"'s key.
    QTest::keyClick(&f, Qt::Key_Escape);
    QTRY_COMPARE(attiva(), QStringLiteral("frmAbout"));
    QCOMPARE(copie("frmAbout"), 1);
    QApplication::activeWindow()->close();
    QTRY_COMPARE(copie("frmAbout"), 0);
    QVERIFY(amb.dialoghi.mostrati.empty());
}

void TestNavigazione::uscitaConAboutAperto() {
    Ambiente amb;
    Form1& f = GestoreForm::form1();
    QVERIFY(mostraAttiva(f));
    apriAbout();
    amb.dialoghi.risposte.push_back(Risposta::Si);
    f.close();
    QCOMPARE(amb.terminazioni, 1);
}

// The real QMessageBox, answered through the active modal widget: Italian
// buttons, "No" as the default, and both answers.
void TestNavigazione::dialoghiVeri() {
    for (bool si : {false, true}) {
        Ambiente amb;
        impostaDialoghi(nullptr);
        Form2& f = GestoreForm::form2();
        QVERIFY(mostraAttiva(f));
        QString testoVisto, titoloVisto, predefinito;
        QStringList pulsanti;
        QMessageBox::Icon icona = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            testoVisto = box->text();
            titoloVisto = box->windowTitle();
            icona = box->icon();
            for (QAbstractButton* b : box->buttons()) pulsanti << b->text().remove(QLatin1Char('&'));
            predefinito = box->defaultButton()->text().remove(QLatin1Char('&'));
            box->button(si ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        clicca(f, "Command1");
        QCOMPARE(testoVisto, QStringLiteral("Chiudere il programma ?"));
        QCOMPARE(titoloVisto, QStringLiteral("Termix54"));
        QCOMPARE(icona, QMessageBox::Question);
        pulsanti.sort();
        QCOMPARE(pulsanti, (QStringList{QStringLiteral("No"), QStringLiteral("Sì")}));
        QCOMPARE(predefinito, QStringLiteral("No"));
        QCOMPARE(amb.terminazioni, si ? 1 : 0);
        if (!si) QVERIFY(f.isVisible());
    }
}

QTEST_MAIN(TestNavigazione)
#include "test_navigazione.moc"
