// The numeric boxes of Form2 and Form3: the trailing period, the Enter chain,
// what leaving a box stores (or refuses), and every kind of button action
// running the pending LostFocus first.
#include <QClipboard>
#include <QMessageBox>
#include <QTimer>

#include "forms/AiutoForm.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/Form7.h"
#include "forms/Form8.h"
#include "ui/CampoNumerico.h"

using namespace termix;
using namespace termix::prova;

namespace {

const QString Virgola = QStringLiteral("Usare la virgola invece del punto !");
const QString Numeri = QStringLiteral("Usare i numeri !");

FormBase& formPerNome(const QString& n) { return *GestoreForm::perNome(n); }

// Pastes with Ctrl+V, as a user would bring in "1.5" from elsewhere.
void incolla(QLineEdit* e, const QString& t) {
    QGuiApplication::clipboard()->setText(t);
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
}

}  // namespace

class TestCampoNumerico : public QObject {
    Q_OBJECT
private slots:
    void catenaInvio_data();
    void catenaInvio();
    void punto();
    void uscita_data();
    void uscita();
    void rifiutoPoiVuoto();
    void azioneDopoValore_data();
    void azioneDopoValore();
    void azioneBloccataDalRifiuto_data();
    void azioneBloccataDalRifiuto();
    void opzioneDuranteRifiuto();
    void clicSuFinestraInattiva_data();
    void clicSuFinestraInattiva();
    void nomiSoloInvio();
    void precedenteSvuotaText1();
    void messaggioVero();
};

void TestCampoNumerico::catenaInvio_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QStringList>("catena");
    QTest::newRow("Form2 nomi e colonna atomica")
        << QStringLiteral("Form2")
        << QStringList{"Text1", "Text2", "Text20", "Text3", "Text5", "Text7", "Text9", "Text11", "Text13", "Command4"};
    QTest::newRow("Form2 colonna ponderale")
        << QStringLiteral("Form2")
        << QStringList{"Text4", "Text6", "Text8", "Text10", "Text12", "Text14", "Text15", "Text16", "Command4"};
    QTest::newRow("Form3") << QStringLiteral("Form3")
                           << QStringList{"Text1", "Text2", "Text4", "Text5", "Text8", "Text10", "Command4"};
}

void TestCampoNumerico::catenaInvio() {
    QFETCH(QString, form);
    QFETCH(QStringList, catena);
    Ambiente amb;
    FormBase& f = formPerNome(form);
    QVERIFY(mostraAttiva(f));
    QTest::mouseClick(box(f, qPrintable(catena.first())), Qt::LeftButton);
    for (int i = 1; i < catena.size(); ++i) {
        QTest::keyClicks(QApplication::focusWidget(), QString::number(i));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(focusName(), catena[i]);
    }
    QVERIFY(amb.dialoghi.mostrati.empty());
    // Each number typed on the way reached its record variable.
    if (form == QLatin1String("Form3")) {
        QCOMPARE(modulo1().PotereCalorifico.v, 1.0);
        QCOMPARE(modulo1().Dispersioni.v, 6.0);
    } else if (catena.first() == QLatin1String("Text1")) {
        QCOMPARE(modulo1().PortataComb.v, 3.0);
        QCOMPARE(modulo1().AtomiN.v, 9.0);
        QCOMPARE(modulo1().Inerti.v, 0.0);  // the atomic chain skips inerts and water
    } else {
        QCOMPARE(modulo1().FrazC.v, 1.0);
        QCOMPARE(modulo1().Acqua.v, 8.0);
    }
}

void TestCampoNumerico::punto() {
    Ambiente amb;
    Form2& f = GestoreForm::form2();
    QVERIFY(mostraAttiva(f));
    modulo1().PortataComb = 7;
    digita(f, "Text20", QStringLiteral("2"));
    QVERIFY(amb.dialoghi.mostrati.empty());
    QTest::keyClick(box(f, "Text20"), Qt::Key_Period);
    // As soon as the period is typed: the message, then an empty box with the focus.
    QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{Virgola});
    QVERIFY(amb.dialoghi.mostrati[0].icona == Icona::Esclamazione);
    QVERIFY(amb.dialoghi.mostrati[0].pulsanti == Pulsanti::Ok);
    QCOMPARE(amb.dialoghi.mostrati[0].titolo, QStringLiteral("Termix54"));
    QCOMPARE(testo(f, "Text20"), QString());
    QCOMPARE(focusName(), QStringLiteral("Text20"));
    QCOMPARE(modulo1().PortataComb.v, 7.0);
    // A period that is not the last character passes the check (pasted text).
    incolla(box(f, "Text20"), QStringLiteral("1.000,5"));
    QCOMPARE(amb.dialoghi.mostrati.size(), size_t(1));
    QTest::keyClick(box(f, "Text20"), Qt::Key_Return);
    QCOMPARE(modulo1().PortataComb.v, 1000.5);
}

void TestCampoNumerico::uscita_data() {
    QTest::addColumn<QString>("digitato");
    QTest::addColumn<QString>("testoDopo");
    QTest::addColumn<double>("valore");  // NaN: the variable keeps 7
    QTest::addColumn<QString>("messaggio");
    QTest::addColumn<bool>("incollato");  // typed, a period at the end would be refused at once
    const double resta = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("decimale") << "2,5" << "2,5" << 2.5 << QString() << false;
    QTest::newRow("vuoto") << "" << "0" << 0.0 << QString() << false;
    QTest::newRow("negativo") << "-12,75" << "-12,75" << -12.75 << QString() << false;
    QTest::newRow("esponente") << "1,5E3" << "1,5E3" << 1500.0 << QString() << false;
    QTest::newRow("migliaia") << "12.345" << "12.345" << 12345.0 << QString() << true;
    QTest::newRow("lettere") << "abc" << "" << resta << Numeri << false;
    QTest::newRow("punto decimale") << "1.5" << "" << resta << Numeri << true;
    QTest::newRow("due virgole") << "1,5,3" << "" << resta << Numeri << false;
}

void TestCampoNumerico::uscita() {
    QFETCH(QString, digitato);
    QFETCH(QString, testoDopo);
    QFETCH(double, valore);
    QFETCH(QString, messaggio);
    QFETCH(bool, incollato);
    Ambiente amb;
    Form3& f = GestoreForm::form3();
    QVERIFY(mostraAttiva(f));
    modulo1().EccessoAria = 7;
    if (incollato) {
        digita(f, "Text2", QString());
        incolla(box(f, "Text2"), digitato);
    } else {
        digita(f, "Text2", digitato);
    }
    QTest::mouseClick(box(f, "Text4"), Qt::LeftButton);  // leave the box for another
    QCOMPARE(testo(f, "Text2"), testoDopo);
    if (messaggio.isEmpty()) {
        QVERIFY(amb.dialoghi.mostrati.empty());
        QCOMPARE(modulo1().EccessoAria.v, valore);
        QCOMPARE(focusName(), QStringLiteral("Text4"));
    } else {
        QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{messaggio});
        QVERIFY(amb.dialoghi.mostrati[0].icona == Icona::Esclamazione);
        QCOMPARE(modulo1().EccessoAria.v, 7.0);
        QCOMPARE(focusName(), QStringLiteral("Text2"));
        // The box the user clicked into was not left by the user: it stays empty.
        QCOMPARE(testo(f, "Text4"), QString());
    }
}

void TestCampoNumerico::rifiutoPoiVuoto() {
    Ambiente amb;
    Form2& f = GestoreForm::form2();
    QVERIFY(mostraAttiva(f));
    modulo1().AtomiC = 3;
    digita(f, "Text3", QStringLiteral("carbonio"));
    QTest::keyClick(box(f, "Text3"), Qt::Key_Tab);
    QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{Numeri});
    QCOMPARE(modulo1().AtomiC.v, 3.0);
    QCOMPARE(focusName(), QStringLiteral("Text3"));
    // Left again while still empty: "0" and 0.
    QTest::keyClick(box(f, "Text3"), Qt::Key_Tab);
    QCOMPARE(testo(f, "Text3"), QStringLiteral("0"));
    QCOMPARE(modulo1().AtomiC.v, 0.0);
    QCOMPARE(amb.dialoghi.mostrati.size(), size_t(1));
}

void TestCampoNumerico::azioneDopoValore_data() {
    QTest::addColumn<QString>("modo");
    QTest::newRow("clic") << "clic";
    QTest::newRow("tasto di accesso") << "tasto";
    QTest::newRow("Invio due volte") << "invio";
    QTest::newRow("Invio del tastierino due volte") << "tastierino";
}

// The methane walk with the last value typed and "&Calcola" pressed at once:
// the value must reach the calculation (losses of 5 % give 1314,6 °C).
void TestCampoNumerico::azioneDopoValore() {
    QFETCH(QString, modo);
    Ambiente amb;
    Form2& f2 = GestoreForm::form2();
    QVERIFY(mostraAttiva(f2));
    digita(f2, "Text20", QStringLiteral("100"));
    clicca(f2, "Option1");
    clicca(f2, "Command4");
    Form3& f = GestoreForm::form3();
    QVERIFY(mostraAttiva(f));
    for (auto [b, v] : {std::pair{"Text2", "20"}, {"Text4", "20"}, {"Text5", "50"}, {"Text8", "20"}})
        digita(f, b, QString::fromLatin1(v));
    digita(f, "Text10", QStringLiteral("5"));
    if (modo == QLatin1String("clic"))
        clicca(f, "Command4");
    else if (modo == QLatin1String("tasto"))
        QTest::keyClick(box(f, "Text10"), Qt::Key_C, Qt::AltModifier);
    else {
        const bool tastierino = modo == QLatin1String("tastierino");
        const auto tasto = tastierino ? Qt::Key_Enter : Qt::Key_Return;
        const auto mod = tastierino ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(box(f, "Text10"), tasto, mod);
        QCOMPARE(focusName(), QStringLiteral("Command4"));
        QTest::keyClick(QApplication::focusWidget(), tasto, mod);
    }
    QVERIFY(amb.dialoghi.mostrati.empty());
    QCOMPARE(modulo1().Dispersioni.v, 5.0);
    QVERIFY(GestoreForm::esiste(QStringLiteral("Form7")));
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&GestoreForm::form7()));
    QCOMPARE(testo(GestoreForm::form8(), "Text1"), QStringLiteral("1314,6"));
}

void TestCampoNumerico::azioneBloccataDalRifiuto_data() {
    QTest::addColumn<QString>("modo");
    QTest::newRow("clic") << "clic";
    QTest::newRow("tasto di accesso") << "tasto";
}

// A refused value stops the action: the user sees the message and the box.
void TestCampoNumerico::azioneBloccataDalRifiuto() {
    QFETCH(QString, modo);
    Ambiente amb;
    Form3& f = GestoreForm::form3();
    QVERIFY(mostraAttiva(f));
    digita(f, "Text10", QStringLiteral("cinque"));
    if (modo == QLatin1String("clic"))
        clicca(f, "Command4");
    else
        QTest::keyClick(box(f, "Text10"), Qt::Key_C, Qt::AltModifier);
    QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{Numeri});
    QCOMPARE(focusName(), QStringLiteral("Text10"));
    QCOMPARE(testo(GestoreForm::form7(), "Text19"), QString());  // the run wrote nothing
    // The next click on the button works normally.
    digita(f, "Text10", QStringLiteral("5"));
    clicca(f, "Command4");
    QCOMPARE(amb.dialoghi.testiMostrati(),
             (QStringList{Numeri, QStringLiteral("Combustibile con inadeguato potere calorifico !"),
                          QStringLiteral("Verificare che gli input siano corretti !")}));
}

// An option clicked while a box refuses its text: the message's box took
// the release, so the option must neither be selected nor stay drawn down.
void TestCampoNumerico::opzioneDuranteRifiuto() {
    Ambiente amb;
    Form2& f = GestoreForm::form2();
    QVERIFY(mostraAttiva(f));
    digita(f, "Text20", QStringLiteral("cento"));
    auto* o = ctl<QRadioButton>(f, "Option1");
    QTest::mousePress(o, Qt::LeftButton);
    QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{Numeri});
    QCOMPARE(focusName(), QStringLiteral("Text20"));
    QVERIFY(!o->isDown());
    QTest::mouseRelease(o, Qt::LeftButton);
    QVERIFY(!o->isDown() && !o->isChecked());
    digita(f, "Text20", QStringLiteral("100"));
    clicca(f, "Option1");
    QVERIFY(o->isChecked());
}

void TestCampoNumerico::clicSuFinestraInattiva_data() {
    QTest::addColumn<QString>("digitato");
    QTest::addColumn<bool>("rifiutato");
    QTest::newRow("numero") << "7" << false;
    QTest::newRow("lettere") << "sette" << true;
}

// A click that reaches the button before the window is active (a click that
// activates it) moves no focus events: the typed value must still be stored,
// or refused, before the action.
void TestCampoNumerico::clicSuFinestraInattiva() {
    QFETCH(QString, digitato);
    QFETCH(bool, rifiutato);
    Ambiente amb;
    Form3& f = GestoreForm::form3();
    QVERIFY(mostraAttiva(f));
    digita(f, "Text10", digitato);
    QWidget altra;
    altra.show();
    altra.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&altra));
    QVERIFY(!f.isActiveWindow());
    clicca(f, "Command4");
    if (rifiutato) {
        QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{Numeri});
        QCOMPARE(f.focusWidget(), box(f, "Text10"));
        QCOMPARE(modulo1().Dispersioni.v, 0.0);
    } else {
        QCOMPARE(modulo1().Dispersioni.v, 7.0);
        // The run went ahead (and stopped for lack of a fuel).
        QCOMPARE(amb.dialoghi.testiMostrati(),
                 (QStringList{QStringLiteral("Combustibile con inadeguato potere calorifico !"),
                              QStringLiteral("Verificare che gli input siano corretti !")}));
    }
}

void TestCampoNumerico::nomiSoloInvio() {
    Ambiente amb;
    Form2& f = GestoreForm::form2();
    QVERIFY(mostraAttiva(f));
    digita(f, "Text1", QStringLiteral("Forno n. 3 rev."));
    QTest::keyClick(box(f, "Text1"), Qt::Key_Tab);
    QTest::keyClick(box(f, "Text2"), Qt::Key_Tab);
    QVERIFY(amb.dialoghi.mostrati.empty());
    QCOMPARE(testo(f, "Text1"), QStringLiteral("Forno n. 3 rev."));
    QCOMPARE(testo(f, "Text2"), QString());  // a name box left empty stays empty
}

void TestCampoNumerico::precedenteSvuotaText1() {
    Ambiente amb;
    Form3& f = GestoreForm::form3();
    QVERIFY(mostraAttiva(f));
    digita(f, "Text1", QStringLiteral("9500"));
    digita(f, "Text2", QStringLiteral("30"));
    clicca(f, "Command2");
    QCOMPARE(testo(f, "Text1"), QString());
    QCOMPARE(modulo1().PotereCalorifico.v, 9500.0);
    Form2& f2 = GestoreForm::form2();
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&f2));
    clicca(f2, "Command2");
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&f));
    QCOMPARE(testo(f, "Text1"), QString());
    QCOMPARE(testo(f, "Text2"), QStringLiteral("30"));
    QCOMPARE(modulo1().PotereCalorifico.v, 9500.0);
    QVERIFY(amb.dialoghi.mostrati.empty());
}

// The real message box for a refused value, closed with Enter on its OK.
void TestCampoNumerico::messaggioVero() {
    Ambiente amb;
    impostaDialoghi(nullptr);
    Form3& f = GestoreForm::form3();
    QVERIFY(mostraAttiva(f));
    QString visto;
    QMessageBox::Icon icona = QMessageBox::NoIcon;
    int pulsanti = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        visto = box->text();
        icona = box->icon();
        pulsanti = int(box->buttons().size());
        QTest::keyClick(box, Qt::Key_Return);
    });
    digita(f, "Text5", QStringLiteral("molta"));
    QTest::keyClick(box(f, "Text5"), Qt::Key_Return);
    QCOMPARE(visto, Numeri);
    QCOMPARE(icona, QMessageBox::Warning);
    QCOMPARE(pulsanti, 1);
    QCOMPARE(testo(f, "Text5"), QString());
    QCOMPARE(f.focusWidget(), box(f, "Text5"));
}

QTEST_MAIN(TestCampoNumerico)
#include "test_campo_numerico.moc"
