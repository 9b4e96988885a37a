// The forms as a user meets them: the walk and its way back, the exit
// confirmation, the numeric boxes (Enter chains, refusals, the pending
// LostFocus before every action), "&Salva" and the About box.
#include <QClipboard>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QStyleOptionButton>
#include <QTemporaryDir>

#include "forms/AiutoForm.h"
#include "forms/Form1.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/Form7.h"
#include "forms/Form8.h"
#include "forms/RapportoForm.h"
#include "forms/frmAbout.h"
#include "ui/AdattaSchermo.h"
#include "model/Messaggi.h"
#include "support/RapportoMetanoAtteso.h"
#include "support/TestiForm.h"

using namespace termix;
using namespace termix::prova;

namespace {

const QString Virgola = QString::fromUtf8(messaggi::UsareVirgola), Numeri = QString::fromUtf8(messaggi::UsareNumeri);
const QStringList Energia = {QString::fromUtf8(messaggi::PotereInadeguato), QString::fromUtf8(messaggi::VerificareInput)};

FormBase& form(const QString& n) { return *GestoreForm::perNome(n); }

QByteArray leggi(const QString& nome) {
    QFile f(nome);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Form2 with methane and 100 kg/h, then Form3 with the worked conditions, last box still focused.
Form3& metanoFinoAForm3() {
    Form2& f2 = GestoreForm::form2();
    if (!mostraAttiva(f2)) qFatal("Form2 non attivo");
    digita(f2, "Text1", QStringLiteral("Impianto Nord"));
    digita(f2, "Text20", QStringLiteral("100"));
    clicca(f2, "Option1");
    clicca(f2, "Command4");
    clicca(f2, "Command2");
    Form3& f3 = GestoreForm::form3();
    if (!QTest::qWaitForWindowActive(&f3)) qFatal("Form3 non attivo");
    for (auto [b, v] : {std::pair{"Text2", "20"}, {"Text4", "20"}, {"Text5", "50"}, {"Text8", "20"}, {"Text10", "5"}})
        digita(f3, b, QString::fromLatin1(v));
    return f3;
}

}  // namespace

class TestForms : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(caricaTraduzioneItaliana()); }

    void giroMetanoEIndietro() {
        Ambiente amb;
        QVERIFY(mostraAttiva(GestoreForm::form1()));
        clicca(GestoreForm::form1(), "cmdCont");
        QTRY_COMPARE(attiva(), QStringLiteral("Form2"));
        Form3& f3 = metanoFinoAForm3();
        QCOMPARE(testo(f3, "Text1"), QStringLiteral("11958"));
        clicca(f3, "Command4");
        QTRY_COMPARE(attiva(), QStringLiteral("Form7"));
        QVERIFY(amb.dialoghi.mostrati.empty());
        QStyleOptionButton o;  // the style is told to draw the focus frame on "&ESCI"
        o.initFrom(ctl(GestoreForm::form7(), "Command1"));
        QVERIFY((o.state & QStyle::State_HasFocus) && (o.state & QStyle::State_KeyboardFocusChange));
        for (const Scritto& s : scritti(CasiLavorati[0]))
            QCOMPARE(testo(s.finestra == Finestra::Form7 ? static_cast<FormBase&>(GestoreForm::form7()) : GestoreForm::form8(),
                           s.box.c_str()), QString::fromStdString(s.testo));
        // Back and forth: one copy of each form, texts kept, the heating value emptied by "&Precedente".
        const char* passi[][3] = {{"Form7", "Command3", "Form8"}, {"Form8", "Command2", "Form7"},
                                  {"Form7", "Command2", "Form3"}, {"Form3", "Command2", "Form2"}, {"Form2", "Command2", "Form3"}};
        for (auto& p : passi) {
            clicca(form(p[0]), p[1]);
            QTRY_COMPARE(attiva(), QString::fromLatin1(p[2]));
        }
        QCOMPARE(testo(f3, "Text1"), QString());
        QCOMPARE(testo(f3, "Text2"), QStringLiteral("20"));
        QCOMPARE(modulo1().PotereCalorifico.v, 11958.0);
        for (const char* n : {"Form1", "Form2", "Form3", "Form7", "Form8"})
            QCOMPARE(std::ranges::count_if(QApplication::topLevelWidgets(), [&](QWidget* w) { return w->objectName() == n; }), 1);
    }

    void uscita_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("modo");
        QTest::addColumn<bool>("si");
        for (const char* f : {"Form1", "Form2", "Form3", "Form7", "Form8"})
            for (const char* modo : {"clic", "tasto", "tastierino", "chiusura"})
                for (bool si : {true, false}) QTest::addRow("%s %s %s", f, modo, si ? "Si" : "No") << f << modo << si;
    }
    void uscita() {  // every working form asks before ending the program, however it is closed
        QFETCH(QString, nome);
        QFETCH(QString, modo);
        QFETCH(bool, si);
        Ambiente amb;
        FormBase& f = form(nome);
        QVERIFY(mostraAttiva(f));
        amb.dialoghi.risposte.push_back(si ? Risposta::Si : Risposta::No);
        const char* esci = nome == QLatin1String("Form1") ? "cmdExit" : "Command1";
        if (modo == QLatin1String("clic")) clicca(f, esci);
        else if (modo == QLatin1String("tasto")) QTest::keyClick(&f, Qt::Key_E, Qt::AltModifier);
        else if (modo == QLatin1String("tastierino")) {  // keypad Enter on the focused button
            ctl(f, esci)->setFocus();
            QTest::keyClick(ctl(f, esci), Qt::Key_Enter, Qt::KeypadModifier);
        } else f.close();  // the close box, Alt+F4 and the system menu all come here
        QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{QStringLiteral("Chiudere il programma ?")});
        QVERIFY(amb.dialoghi.mostrati[0].pulsanti == Pulsanti::SiNo && amb.dialoghi.mostrati[0].predefinito == Risposta::No);
        QCOMPARE(amb.terminazioni, si ? 1 : 0);
        if (!si) QCOMPARE(attiva(), nome);
    }

    void uscitaConIlMessaggioVero() {  // Italian buttons, "No" the default; with the About box open
        for (bool si : {false, true}) {
            Ambiente amb;
            QVERIFY(mostraAttiva(GestoreForm::form1()));
            apriAbout();
            QStringList pulsanti;
            amb.dialoghiVeri({[&](QWidget* w) {
                auto* box = qobject_cast<QMessageBox*>(w);
                QVERIFY(box && box->text() == QStringLiteral("Chiudere il programma ?"));
                for (QAbstractButton* b : box->buttons()) pulsanti << b->text().remove(QLatin1Char('&'));
                QCOMPARE(box->defaultButton()->text().remove(QLatin1Char('&')), QStringLiteral("No"));
                box->button(si ? QMessageBox::Yes : QMessageBox::No)->click();
            }});
            GestoreForm::form1().close();
            pulsanti.sort();
            QCOMPARE(pulsanti, (QStringList{QStringLiteral("No"), QStringLiteral("Sì")}));
            QCOMPARE(amb.terminazioni, si ? 1 : 0);
        }
    }

    void catenaInvio_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QStringList>("catena");
        QTest::newRow("Form2 atomica") << "Form2" << QStringList{"Text1", "Text2", "Text20", "Text3", "Text5", "Text7",
                                                                 "Text9", "Text11", "Text13", "Command4"};
        QTest::newRow("Form2 ponderale") << "Form2" << QStringList{"Text4", "Text6", "Text8", "Text10", "Text12",
                                                                   "Text14", "Text15", "Text16", "Command4"};
        QTest::newRow("Form3") << "Form3" << QStringList{"Text1", "Text2", "Text4", "Text5", "Text8", "Text10", "Command4"};
    }
    void catenaInvio() {  // Enter moves on along the chain, storing each number typed on the way
        QFETCH(QString, nome);
        QFETCH(QStringList, catena);
        Ambiente amb;
        QVERIFY(mostraAttiva(form(nome)));
        QTest::mouseClick(box(form(nome), qPrintable(catena.first())), Qt::LeftButton);
        for (int i = 1; i < catena.size(); ++i) {
            QTest::keyClicks(QApplication::focusWidget(), QString::number(i));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(focusName(), catena[i]);
        }
        QVERIFY(amb.dialoghi.mostrati.empty());
        const Modulo1& m = modulo1();
        if (nome == QLatin1String("Form3")) QVERIFY(m.PotereCalorifico.v == 1 && m.Dispersioni.v == 6);
        else if (catena.size() == 10) QVERIFY(m.PortataComb.v == 3 && m.AtomiN.v == 9 && m.Inerti.v == 0);
        else QVERIFY(m.FrazC.v == 1 && m.Acqua.v == 8);
    }

    void uscitaDalCampo_data() {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("dopo");
        QTest::addColumn<double>("valore");  // NaN: refused, the variable keeps 7
        const double resta = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("decimale") << "2,5" << "2,5" << 2.5;
        QTest::newRow("vuoto") << "" << "0" << 0.0;
        QTest::newRow("esponente") << "-1,5E3" << "-1,5E3" << -1500.0;
        QTest::newRow("migliaia incollate") << "12.345" << "12.345" << 12345.0;
        QTest::newRow("lettere") << "abc" << "" << resta;
        QTest::newRow("punto decimale incollato") << "1.5" << "" << resta;
        QTest::newRow("due virgole") << "1,5,3" << "" << resta;
    }
    void uscitaDalCampo() {  // leaving a box stores its number, or refuses it and keeps the focus there
        QFETCH(QString, digitato);
        QFETCH(QString, dopo);
        QFETCH(double, valore);
        Ambiente amb;
        Form3& f = GestoreForm::form3();
        QVERIFY(mostraAttiva(f));
        modulo1().EccessoAria = 7;
        digita(f, "Text2", QString());
        QGuiApplication::clipboard()->setText(digitato);  // pasted: a period typed last is refused at once
        QTest::keyClick(box(f, "Text2"), Qt::Key_V, Qt::ControlModifier);
        QTest::mouseClick(box(f, "Text4"), Qt::LeftButton);
        QCOMPARE(testo(f, "Text2"), dopo);
        const bool rifiutato = std::isnan(valore);
        QCOMPARE(amb.dialoghi.testiMostrati(), rifiutato ? QStringList{Numeri} : QStringList{});
        QCOMPARE(modulo1().EccessoAria.v, rifiutato ? 7.0 : valore);
        QCOMPARE(focusName(), rifiutato ? QStringLiteral("Text2") : QStringLiteral("Text4"));
        if (!rifiutato) return;
        QTest::keyClick(box(f, "Text2"), Qt::Key_Tab);  // left again while empty: "0" and 0
        QCOMPARE(testo(f, "Text2"), QStringLiteral("0"));
        QCOMPARE(modulo1().EccessoAria.v, 0.0);
    }

    void puntoRifiutatoSubito() {
        Ambiente amb;
        Form2& f = GestoreForm::form2();
        QVERIFY(mostraAttiva(f));
        modulo1().PortataComb = 7;
        digita(f, "Text20", QStringLiteral("2."));
        QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{Virgola});
        QCOMPARE(testo(f, "Text20"), QString());
        QCOMPARE(focusName(), QStringLiteral("Text20"));
        QCOMPARE(modulo1().PortataComb.v, 7.0);
        digita(f, "Text1", QStringLiteral("Forno n. 3 rev."));  // a name box takes any text
        QTest::keyClick(box(f, "Text1"), Qt::Key_Tab);
        QCOMPARE(amb.dialoghi.mostrati.size(), size_t(1));
    }

    // An option clicked while a box refuses its text: the message's box took the
    // release, so the option must neither be selected nor stay drawn down.
    void opzioneDuranteRifiuto() {
        Ambiente amb;
        Form2& f = GestoreForm::form2();
        QVERIFY(mostraAttiva(f));
        digita(f, "Text20", QStringLiteral("cento"));
        auto* o = ctl<QAbstractButton>(f, "Option1");
        QTest::mousePress(o, Qt::LeftButton);
        QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{Numeri});
        QCOMPARE(focusName(), QStringLiteral("Text20"));
        QTest::mouseRelease(o, Qt::LeftButton);
        QVERIFY(!o->isDown() && !o->isChecked());
        digita(f, "Text20", QStringLiteral("100"));
        clicca(f, "Option1");
        QVERIFY(o->isChecked());
    }

    void azioneDopoIlCampo_data() {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<QString>("perdite");
        for (const char* modo : {"clic", "tasto", "invio", "tastierino", "finestra inattiva"})
            for (const char* perdite : {"5", "cinque"}) QTest::addRow("%s %s", modo, perdite) << modo << perdite;
    }
    // The last box typed and "&Calcola" at once: the value reaches the run first (5 % losses
    // give 1314,6 °C), or its refusal stops the action, however the button is pressed.
    void azioneDopoIlCampo() {
        QFETCH(QString, modo);
        QFETCH(QString, perdite);
        Ambiente amb;
        Form3& f = metanoFinoAForm3();
        digita(f, "Text10", perdite);
        QWidget altra;
        if (modo == QLatin1String("clic")) clicca(f, "Command4");
        else if (modo == QLatin1String("tasto")) QTest::keyClick(box(f, "Text10"), Qt::Key_C, Qt::AltModifier);
        else if (modo == QLatin1String("invio") || modo == QLatin1String("tastierino")) {  // Enter twice
            const bool t = modo == QLatin1String("tastierino");
            QTest::keyClick(box(f, "Text10"), t ? Qt::Key_Enter : Qt::Key_Return, t ? Qt::KeypadModifier : Qt::NoModifier);
            if (focusName() == QLatin1String("Command4"))
                QTest::keyClick(QApplication::focusWidget(), t ? Qt::Key_Enter : Qt::Key_Return, t ? Qt::KeypadModifier : Qt::NoModifier);
        } else {  // a click that activates the window moves no focus events
            altra.show();
            QVERIFY(QTest::qWaitForWindowActive(&altra));
            clicca(f, "Command4");
        }
        if (perdite == QLatin1String("5")) {
            QVERIFY(amb.dialoghi.mostrati.empty());
            QTRY_COMPARE(attiva(), QStringLiteral("Form7"));
            QCOMPARE(testo(GestoreForm::form8(), "Text1"), QStringLiteral("1314,6"));
        } else {
            QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{Numeri});
            QCOMPARE(f.focusWidget(), box(f, "Text10"));
            QCOMPARE(testo(GestoreForm::form7(), "Text19"), QString());  // the run wrote nothing
        }
    }

    void salva() {
        QTemporaryDir cartella;
        const QString prima = QDir::currentPath();
        QVERIFY(QDir::setCurrent(cartella.path()));
        Ambiente amb;
        OrologioFisso orologio;
        UscitaRapportoForm uscita(&orologio);
        impostaUscitaRapporto(&uscita);
        clicca(metanoFinoAForm3(), "Command4");
        Form8& f = GestoreForm::form8();
        QVERIFY(mostraAttiva(f));
        amb.dialoghi.testi = {QStringLiteral("abc.txt"), QStringLiteral("manca/R"), QStringLiteral("tasti")};
        clicca(f, "Command5");
        QCOMPARE(leggi("abc.txt.TXT"), QByteArray::fromStdString(AttesoMetano()));
        clicca(f, "Command5");  // no such folder: the message
        QTest::keyClick(&f, Qt::Key_S, Qt::AltModifier);
        const QString nome = QStringLiteral("Nome file - Max 8 caratteri");
        QCOMPARE(amb.dialoghi.testiMostrati(), (QStringList{nome, nome, Energia[1], nome}));
        QVERIFY(amb.dialoghi.mostrati[0].inputBox);
        QCOMPARE(leggi("tasti.TXT"), QByteArray::fromStdString(AttesoMetano()));
        // The real boxes: the input box, then the message for a save that fails.
        QString etichetta, messaggio;
        amb.dialoghiVeri({[&](QWidget* w) {
                              auto* d = qobject_cast<QInputDialog*>(w);
                              QVERIFY(d);
                              etichetta = d->labelText();
                              QFont grassetto;  // the title, the window icon and three title-bar buttons fit
                              grassetto.setBold(true);
                              const QFontMetrics m(grassetto);
                              QVERIFY(d->width() > m.horizontalAdvance(d->windowTitle()) + 4 * m.height());
                              d->setTextValue(QStringLiteral("manca/vero"));
                              d->accept();
                          },
                          [&](QWidget* w) {
                              auto* box = qobject_cast<QMessageBox*>(w);
                              QVERIFY(box && box->icon() == QMessageBox::Warning);
                              messaggio = box->text();
                              box->accept();
                          }});
        clicca(f, "Command5");
        QCOMPARE(etichetta, QStringLiteral("Nome file - Max 8 caratteri"));
        QCOMPARE(messaggio, Energia[1]);
        impostaUscitaRapporto(nullptr);
        QVERIFY(QDir::setCurrent(prima));
    }

    void about() {  // not modal; Esc on Form1 opens it too; System Info says once per press it is missing
        Ambiente amb;
        Form1& f = GestoreForm::form1();
        QVERIFY(mostraAttiva(f));
        for (int volta = 0; volta < 2; ++volta) {
            if (volta == 0) clicca(f, "Command1");
            else QTest::keyClick(&f, Qt::Key_Escape);
            QTRY_COMPARE(attiva(), QStringLiteral("frmAbout"));
            QVERIFY(!QApplication::activeModalWidget());
            QWidget* about = QApplication::activeWindow();
            if (volta == 0) clicca(*about, "cmdSysInfo"), QTest::keyClick(about, Qt::Key_S, Qt::AltModifier);
            QCOMPARE(amb.dialoghi.testiMostrati(), QStringList(2, QString::fromUtf8(messaggi::InfoNonDisponibili)));
            clicca(*about, "cmdOK");  // closing it asks nothing
            f.activateWindow();  // the offscreen platform does not hand the activation back
            QVERIFY(QTest::qWaitForWindowActive(&f));
        }
    }
};

QTEST_MAIN(TestForms)
#include "test_forms.moc"
