// The forms as a user meets them: the walk and its way back, the exit
// confirmation, the numeric boxes (Enter chains, refusals, the pending
// LostFocus before every action), the fuel options, every message box, the
// screen fit, "&Salva", the About box, the "Andamento" window, printing
// through a real CUPS server.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QThread>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <functional>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

#include "combustion/Verifica.h"
#include "forms/AiutoForm.h"
#include "forms/AndamentoForm.h"
#include "forms/Form1.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/Form7.h"
#include "forms/Form8.h"
#include "forms/Posti.h"
#include "forms/RapportoForm.h"
#include "forms/CaminoForm.h"
#include "forms/VerificaForm.h"
#include "vista/Verifica.h"
#include "forms/StampaRapporto.h"
#include "forms/frmAbout.h"
#include "ui/AdattaSchermo.h"
#include "model/Formato.h"
#include "model/Messaggi.h"
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
    if (!mostraAttiva(f2)) QTest::qFail("Form2 not active", __FILE__, __LINE__);
    digita(f2, "Text1", QStringLiteral("Impianto Nord"));
    digita(f2, "Text20", QStringLiteral("100"));
    clicca(f2, "Option1");
    clicca(f2, "Command4");
    clicca(f2, "Command2");
    Form3& f3 = GestoreForm::form3();
    if (!QTest::qWaitForWindowActive(&f3)) QTest::qFail("Form3 not active", __FILE__, __LINE__);
    for (auto [b, v] : {std::pair{"Text2", "20"}, {"Text4", "20"}, {"Text5", "50"}, {"Text8", "20"}, {"Text10", "5"}})
        digita(f3, b, QString::fromLatin1(v));
    return f3;
}


// A program's output; null when it fails.
QString Esegui(const QString& programma, const QStringList& argomenti) {
    QProcess p;
    p.start(programma, argomenti);
    return p.waitForFinished(60000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput() + '\n') : QString();
}

// Text without blanks (the layout text may drop one between close words), ligatures undone.
QString Parole(const QString& s) {
    static const QRegularExpression spazi(R"(\s)");
    return s.normalized(QString::NormalizationForm_KC).remove(spazi);
}

QStringList Lavori(const QString& cartella) { return QDir(cartella).entryList({"job-*"}, QDir::Files); }

// Jobs the server knows of, finished or not; -1 when it does not answer.
int LavoriDelServer() {
    const QString o = Esegui("lpstat", {"-W", "all", "-o"});
    return o.isNull() ? -1 : static_cast<int>(o.split('\n', Qt::SkipEmptyParts).size());
}

}  // namespace

class TestForms : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(caricaTraduzioneItaliana()); }

    void posti() {  // every target the core names has its own control, of the kind its effects need
        Ambiente amb;
        std::set<std::pair<int, QString>> visti;
        auto verifica = [&](Bersaglio b, const char* tipo) {
            const Posto* p = PostoDi(b);
            QVERIFY2(p, tipo);
            QObject* w = GestoreForm::form(p->finestra).findChild<QWidget*>(QString::fromLatin1(p->controllo));
            QVERIFY2(w && w->inherits(tipo), p->controllo);
            QVERIFY2(visti.insert({int(p->finestra), QString::fromLatin1(p->controllo)}).second, p->controllo);
        };
        for (const Grandezza& g : Grandezze())  // the checks' quantities live in the Verifica window
            if (g.id != Quantita::Tipo && g.id != Quantita::Composizione && !g.ha(Verifica)) verifica(g.id, "QLineEdit");
        for (Ruolo r : {Ruolo::Metano, Ruolo::Altri, Ruolo::Atomica, Ruolo::Ponderale}) verifica(r, "QRadioButton");
        verifica(Ruolo::Continua, "QPushButton");
        for (Ruolo r : {Ruolo::TotaleVolume, Ruolo::TotalePeso}) verifica(r, "QLineEdit");
        QCOMPARE(visti.size(), Posti().size());
    }

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
        // The result boxes in writing order: Form7 from the humidity box, then Form8.
        std::vector<std::pair<FormBase*, QString>> caselle;
        for (int n : {19, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18})
            caselle.emplace_back(&GestoreForm::form7(), QStringLiteral("Text%1").arg(n));
        for (int n = 1; n <= 36; ++n)
            if (n != 2) caselle.emplace_back(&GestoreForm::form8(), QStringLiteral("Text%1").arg(n));
        const std::vector<Scritto> attesi = scritti(CasiLavorati[0]);
        QCOMPARE(attesi.size(), caselle.size());
        for (size_t i = 0; i < attesi.size(); ++i)
            QCOMPARE(testo(*caselle[i].first, caselle[i].second.toLatin1().constData()),
                     QString::fromStdString(attesi[i].testo));
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

    // A period typed last is refused at once. An option clicked while a box refuses its
    // text: the message's box took the release, so it is neither selected nor drawn down.
    void rifiutiSuForm2() {
        Ambiente amb;
        Form2& f = GestoreForm::form2();
        QVERIFY(mostraAttiva(f));
        modulo1().PortataComb = 7;
        digita(f, "Text20", QStringLiteral("2."));
        QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{Virgola});
        QVERIFY(testo(f, "Text20").isEmpty() && focusName() == QLatin1String("Text20") && modulo1().PortataComb.v == 7);
        digita(f, "Text1", QStringLiteral("Forno n. 3 rev."));  // a name box takes any text
        QTest::keyClick(box(f, "Text1"), Qt::Key_Tab);
        QCOMPARE(amb.dialoghi.mostrati.size(), size_t(1));
        digita(f, "Text20", QStringLiteral("cento"));
        auto* o = ctl<QAbstractButton>(f, "Option1");
        QTest::mousePress(o, Qt::LeftButton);
        QCOMPARE(amb.dialoghi.testiMostrati(), (QStringList{Virgola, Numeri}));
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
            for (const char* perdite : {"5", "cinque", "100"}) QTest::addRow("%s %s", modo, perdite) << modo << perdite;
    }
    // The last box typed and "&Calcola" at once: the value reaches the run first (5 % losses
    // give 1314,6 °C, 100 % stop it on the energy check: Form3 stays in front), or its refusal
    // stops the action, however the button is pressed.
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
        } else if (perdite == QLatin1String("100")) {
            QCOMPARE(amb.dialoghi.testiMostrati(), Energia);
            QVERIFY(!GestoreForm::form7().isVisible() && f.isVisible());
            if (modo != QLatin1String("finestra inattiva")) QCOMPARE(attiva(), QStringLiteral("Form3"));
        } else {
            QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{Numeri});
            QCOMPARE(f.focusWidget(), box(f, "Text10"));
            QCOMPARE(testo(GestoreForm::form7(), "Text19"), QString());  // the run wrote nothing
        }
    }

    void salva() {
        CartellaDiLavoro cartella;
        Ambiente amb;
        OrologioFisso orologio;
        UscitaRapportoForm uscita(&orologio);
        UscitaImpostata hook(&uscita);
        clicca(metanoFinoAForm3(), "Command4");
        Form8& f = GestoreForm::form8();
        QVERIFY(mostraAttiva(f));
        amb.dialoghi.testi = {"abc.txt", "abc.txt", "manca/R", "tasti"};
        clicca(f, "Command5");
        QCOMPARE(leggi("abc.txt.TXT"), QByteArray::fromStdString(AttesoMetano()));
        // Again under the same name, the plant's name shorter: only the second report is left.
        box(GestoreForm::form2(), "Text1")->setText(QStringLiteral("N"));
        clicca(f, "Command5");
        std::string secondo = AttesoMetano();
        QCOMPARE(leggi("abc.txt.TXT"), QByteArray::fromStdString(secondo.replace(secondo.find("Impianto Nord"), 13, "N")));
        box(GestoreForm::form2(), "Text1")->setText(QStringLiteral("Impianto Nord"));
        clicca(f, "Command5");  // no such folder: the message
        QTest::keyClick(&f, Qt::Key_S, Qt::AltModifier);
        const QString nome = QStringLiteral("Nome file - Max 8 caratteri");
        QCOMPARE(amb.dialoghi.testiMostrati(), (QStringList{nome, nome, nome, Energia[1], nome}));
        QVERIFY(amb.dialoghi.mostrati[0].inputBox);
        QCOMPARE(leggi("tasti.TXT"), QByteArray::fromStdString(AttesoMetano()));
        // The real boxes: the input box, then the message for a save that fails.
        QString etichetta, messaggio;
        amb.dialoghiVeri({[&](QWidget* w) {
            auto* d = qobject_cast<QInputDialog*>(w);
            QFont grassetto;  // the title, the window icon and three title-bar buttons fit
            grassetto.setBold(true);
            const QFontMetrics m(grassetto);
            QVERIFY(d && d->width() > m.horizontalAdvance(d->windowTitle()) + 4 * m.height());
            etichetta = d->labelText();
            d->setTextValue(QStringLiteral("manca/vero"));
            d->accept();
        }, [&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box && box->icon() == QMessageBox::Warning);
            messaggio = box->text();
            box->accept();
        }});
        clicca(f, "Command5");
        QCOMPARE(etichetta, QStringLiteral("Nome file - Max 8 caratteri"));
        QCOMPARE(messaggio, Energia[1]);
    }

    // The fuel form's options by the user's clicks: Metano computed, then Altri empties Text3 to
    // Text19; Ponderale empties the atom boxes, hides the molecular weight and goes to Text4, which
    // "&Calcola" leaves empty: 0 carbon, the methane's 0,2513 hydrogen still in the record
    // (251,3 / 1,008 / 4 = 62,326 mol/kg, 1,994 kg/kg); Atomica computes CH4 from its atoms
    // (12,011 + 4 x 1,008 = 16,043, carbon 0,74867 cut to 0,7486).
    void opzioniCombustibile() {
        Ambiente amb;
        Form2& f = GestoreForm::form2();
        QVERIFY(mostraAttiva(f));
        const QString tutte = QStringLiteral("Text3= Text4= Text5= Text6= Text7= Text8= Text9= Text10= Text11= Text12= "
                                             "Text13= Text14= Text15= Text16= Text17= Text18= Text19=");
        const struct { const char* azioni; QString testi; const char* fuoco; char pesoMolecolare; } passi[] = {
            {"Option1 Command4", "Text18=3,98928", "", 'v'},  {"Option2", tutte, "", '-'},
            {"Option4", "Text3= Text5=", "Text4", 'h'},     {"Command4", "Text17=62,326 Text18=1,994 Text4=0 Text6=", "", 'h'},
            {"Option3", "", "Text3", 'v'},                  {"Text3=1 Text5=4 Command4", "Text19=16,043 Text4=0,7486", "", 'v'},
            {"Option4", "Text3= Text5= Text4=0,7486", "Text4", 'h'}, {"Option1 Option2", tutte, "", '-'},
        };
        for (const auto& p : passi) {
            for (const QString& a : QString::fromLatin1(p.azioni).split(' '))
                if (a.contains('=')) digita(f, qPrintable(a.section('=', 0, 0)), a.section('=', 1));
                else clicca(f, qPrintable(a));
            for (const QString& t : p.testi.split(' ', Qt::SkipEmptyParts))
                QVERIFY2(testo(f, qPrintable(t.section('=', 0, 0))) == t.section('=', 1),
                         qPrintable(p.azioni + (" " + t) + ": " + testo(f, qPrintable(t.section('=', 0, 0)))));
            if (*p.fuoco) QCOMPARE(focusName(), QString::fromLatin1(p.fuoco));
            if (p.pesoMolecolare != '-') QCOMPARE(ctl(f, "Text19")->isVisible(), p.pesoMolecolare == 'v');
        }
        QVERIFY(amb.dialoghi.mostrati.empty());
    }

    // "&No" estimates the heating value (red, 0,75 C and 0,25 H: 12091,43); "&Si" turns the
    // box black and puts the focus in it.
    void potereSiNo() {
        Ambiente amb;
        Form3& f = GestoreForm::form3();
        QVERIFY(mostraAttiva(f));
        modulo1().FrazC = 0.75, modulo1().FrazH = 0.25;
        QTest::mouseClick(box(f, "Text2"), Qt::LeftButton);
        for (auto [tasto, colore] : {std::pair{Qt::Key_N, Qt::red}, {Qt::Key_S, Qt::black}}) {
            QTest::keyClick(&f, tasto, Qt::AltModifier);
            QCOMPARE(testo(f, "Text1"), QStringLiteral("12091,43"));
            QCOMPARE(box(f, "Text1")->palette().color(QPalette::Text), QColor(colore));
        }
        QCOMPARE(focusName(), QStringLiteral("Text1"));
        QCOMPARE(modulo1().PotereCalorifico.v, 12091.4325);
    }

    // Every kind of message box as the user sees it: the real box's text, title and icon.
    void titoliEIcone() {
        const QString T = QStringLiteral("Termix54");
        using I = QMessageBox::Icon;
        auto form2 = [] { mostraAttiva(GestoreForm::form2()); return &GestoreForm::form2(); };
        const struct { const char* nome; std::function<void()> azione; QStringList testi; I icona; } casi[] = {
            {"uscita, con il box About aperto", [] { mostraAttiva(GestoreForm::form1()); apriAbout(); GestoreForm::form1().close(); },
             {QStringLiteral("Chiudere il programma ?")}, I::Question},
            {"punto", [&] { digita(*form2(), "Text20", QStringLiteral("2.")); }, {Virgola}, I::Warning},
            {"lettere", [&] { digita(*form2(), "Text20", QStringLiteral("x")); clicca(*form2(), "Option1"); }, {Numeri},
             I::Warning},
            {"nessun atomo", [&] { clicca(*form2(), "Option2"); clicca(*form2(), "Option3"); clicca(*form2(), "Command4"); },
             {Energia[1]}, I::Warning},
            {"energia", [] { mostraAttiva(GestoreForm::form3()); clicca(GestoreForm::form3(), "Command4"); }, Energia,
             I::Warning},
            {"informazioni", [] { mostraAttiva(GestoreForm::form1()); clicca(*apriAbout(), "cmdSysInfo"); },
             {QString::fromUtf8(messaggi::InfoNonDisponibili)}, I::NoIcon},
        };
        for (const auto& c : casi) {
            Ambiente amb;
            QStringList testi;
            impostaDialoghi(nullptr);
            for (qsizetype k = 0; k < c.testi.size(); ++k)
                amb.guardia.risposte.push_back([&](QWidget* w) {
                    auto* b = qobject_cast<QMessageBox*>(w);
                    if (!b) return w->close(), void();
                    QStringList pulsanti;  // Italian; "No" the default of the question
                    for (QAbstractButton* p : b->buttons()) pulsanti << p->text().remove('&');
                    pulsanti.sort();
                    pulsanti << b->defaultButton()->text().remove('&');
                    QVERIFY2(pulsanti == (c.icona == I::Question ? QStringList{"No", "Sì", "No"} : QStringList{"OK", "OK"}), c.nome);
                    QVERIFY2(b->windowTitle() == T && b->icon() == c.icona, c.nome);
                    testi << b->text();
                    b->defaultButton()->click();
                });
            c.azione();
            QTRY_COMPARE(testi, c.testi);
        }
    }

    // The screen fit on the examples: the "&Continua" button (6000, 5640, 1215 x 615, 12 points),
    // a self-sizing label's font (8,25 points) and the line's end points (240, 4920)-(9360, 4920).
    void adattaSchermo() {
        const struct { float larghezza, altezza; bool scala; float pulsante[4]; double font, etichetta; float linea[4]; } casi[] = {
            {12000, 9000, true, {7500, 7050, 1518.75, 768.75}, 15, 10.3125, {300, 6150, 11700, 6150}},      // 800 x 600
            {19200, 15360, true, {12000, 12032, 2430, 1312}, 24.8, 17.05, {480, 10496, 18720, 10496}},     // 1280 x 1024
            {12000, 7200, false, {6000, 5640, 1215, 615}, 12, 8.25, {240, 4920, 9360, 4920}},             // 800 x 480
        };
        for (const auto& c : casi) {
            const QByteArray riga = QByteArray::number(c.larghezza) + " x " + QByteArray::number(c.altezza);
            Form2 f;
            QCOMPARE(AdattaSchermo(f, c.larghezza, c.altezza), c.scala);
            const Controllo *p = f.controllo("Command2"), *e = f.controllo("Label1"), *l = f.controllo("Line1");
            QVERIFY2(p && e && l, riga);
            const float pulsante[] = {p->Left, p->Top, p->Width, p->Height}, linea[] = {l->X1, l->Y1, l->X2, l->Y2};
            for (int k = 0; k < 4; ++k) {
                QVERIFY2(qFuzzyCompare(pulsante[k], c.pulsante[k]), riga + " pulsante " + QByteArray::number(pulsante[k]));
                QVERIFY2(qFuzzyCompare(linea[k], c.linea[k]), riga + " linea " + QByteArray::number(linea[k]));
            }
            QVERIFY2(qFuzzyCompare(float(p->FontSize), float(c.font)) && qFuzzyCompare(float(e->FontSize), float(c.etichetta)),
                     riga + " " + QByteArray::number(p->FontSize) + " " + QByteArray::number(e->FontSize));
            QVERIFY2(p->widget->pos() == QPoint(qRound(c.pulsante[0] / 15), qRound(c.pulsante[1] / 15)), riga);
        }
    }

    // Form1's title labels are centred on the maximized form once the screen fit scaled it,
    // and keep their places (360 and 3600) on the design screen.
    void etichetteCentrate() {
        Ambiente amb;
        FormBase& f = GestoreForm::form1();
        const bool scala = SchermoInTwips().height() != 7200;
        for (auto [nome, sinistra] : {std::pair{"Label3", 360.f}, {"Label4", 3600.f}}) {
            const Controllo* c = f.controllo(QString::fromLatin1(nome));
            QVERIFY(c);
            if (scala) QCOMPARE(c->Left + c->Width / 2, f.Width);
            else QCOMPARE(c->Left, sinistra);
        }
        if (scala) QCOMPARE(f.Width, 4800 * SchermoInTwips().width() / 9600);
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

    // "Andamento" from Form8: input changed, target found, the CSV export equal to
    // termix54-batch --variando, the image exports, Esc; the forms untouched.
    void andamento() {
        Ambiente amb;
        modulo1() = metano();
        ctl<QRadioButton>(GestoreForm::form2(), "Option1")->setChecked(true);
        box(GestoreForm::form2(), "Text1")->setText(QStringLiteral("Forno \"A\"; 1"));
        Form8& f8 = GestoreForm::form8();
        QVERIFY(mostraAttiva(f8));
        const Modulo1 prima = modulo1();
        const QString testo8 = testo(f8, "Text1");

        clicca(f8, "Command4");
        QPointer<frmAndamento> w = f8.findChild<frmAndamento*>();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Andamento - Termix54"));
        QCOMPARE(w->punti().size(), size_t(41));  // excess air 0 to 200 % by 5
        QVERIFY(QTest::qWaitForWindowActive(w));

        auto* combo = ctl<QComboBox>(*w, "Combo1");  // its boxes' refusals and answers are the scenario table's
        w->activateWindow();  // the offscreen platform leaves Form8 active after its button
        QTRY_COMPARE(attiva(), QStringLiteral("frmAndamento"));

        // NASA's flue-gas temperature beside the table's, on the same axes.
        combo->setCurrentIndex(0);
        w->Combo1_Click();
        auto* nasa = ctl<QCheckBox>(*w, "Check7");
        QCOMPARE(nasa->text(), QStringLiteral("Temperatura fumi (entalpie NASA)"));
        QTest::mouseClick(nasa, Qt::LeftButton);
        QVERIFY(nasa->isChecked());
        QLineSeries *tabella = nullptr, *rif = nullptr;
        for (QAbstractSeries* s : ctl<QChartView>(*w, "Grafico")->chart()->series())
            if (auto* l = qobject_cast<QLineSeries*>(s)) {
                if (l->name() == QStringLiteral("Temperatura teorica fumi")) tabella = l;
                if (l->name() == nasa->text()) rif = l;
            }
        QVERIFY(tabella && rif);
        QCOMPARE(rif->count(), 41);  // the view model's points (tests/vista)
        QCOMPARE(rif->attachedAxes(), tabella->attachedAxes());

        combo->setFocus();
        for (int k = 0; k < 4; ++k) QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(w->variata().nome, "Dispersioni");
        QCOMPARE(testo(*w, "Text2"), QStringLiteral("30"));
        digita(*w, "Text3", QStringLiteral("2,5"));
        QTest::keyClick(box(*w, "Text3"), Qt::Key_Return);
        QCOMPARE(w->punti().size(), size_t(13));
        digita(*w, "Text4", QStringLiteral("1300"));
        clicca(*w, "Command2");
        QVERIFY(ctl<QLabel>(*w, "Label7")->text().startsWith(QStringLiteral("Dispersioni termiche massime per 1300 °C: ")));

        QTemporaryDir dir;
        for (const char* f : {"a.csv", "a.png", "a.svg"}) amb.dialoghi.testi.push_back(dir.filePath(f));
        clicca(*w, "Command3");
        clicca(*w, "Command4");
        clicca(*w, "Command4");
        QVERIFY(amb.dialoghi.testiMostrati().filter(QStringLiteral("Impossibile")).isEmpty());
        QVERIFY(!QImage(dir.filePath("a.png")).isNull() && leggi(dir.filePath("a.svg")).contains("<svg"));

        std::ofstream(dir.filePath("in.csv").toStdString())
            << "Impianto;Tipo;PortataComb;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;Dispersioni\n"
               "\"Forno \"\"A\"\"; 1\";Metano;100;20;20;50;20;5\n";
        const QString cmd = QStringLiteral("timeout 60 '%1' '%2' --variando Dispersioni=0:30:2,5 -o '%3'")
                                .arg(QStringLiteral(TERMIX54_BATCH_EXE), dir.filePath("in.csv"), dir.filePath("b.csv"));
        QCOMPARE(std::system(cmd.toLocal8Bit().constData()), 0);
        QCOMPARE(leggi(dir.filePath("a.csv")).count("\r\n"), 14);  // header and 0 to 30 % by 2.5
        QCOMPARE(leggi(dir.filePath("a.csv")), leggi(dir.filePath("b.csv")));

        QTest::keyClick(w, Qt::Key_Escape);
        QTRY_VERIFY(!w);
        QCOMPARE(std::memcmp(&prima, &modulo1(), sizeof prima), 0);
        QCOMPARE(testo(f8, "Text1"), testo8);
    }

    // "Verifica" from Form8 (its boxes against the tool are the scenario table's):
    // a bad box refused with the results left as shown, the support target,
    // "Salva" in Windows-1252, Esc; the forms untouched.
    void verifica() {
        Ambiente amb;
        modulo1() = metano();
        ctl<QRadioButton>(GestoreForm::form2(), "Option1")->setChecked(true);
        Form8& f8 = GestoreForm::form8();
        QVERIFY(mostraAttiva(f8));
        const Modulo1 prima = modulo1();
        clicca(f8, "Command6");
        QPointer<frmVerifica> w = f8.findChild<frmVerifica*>();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Verifica - Termix54"));
        clicca(*w, "Command5");
        auto* camino = w->findChild<frmCamino*>();
        QVERIFY(camino);
        QCOMPARE(camino->windowTitle(), QStringLiteral("Camino - Termix54"));
        // Each check's quantity has its control, by its name; the stack's on the Camino window.
        for (const Grandezza& g : Grandezze())
            if (g.ha(Verifica)) {
                const char* nome = g.id == Quantita::ObiettivoRif ? "ObiettivoVerifica" : g.nome;  // its own id
                const QWidget* dove = g.ha(IngressoCamino) || g.ha(UscitaCamino) ? static_cast<QWidget*>(camino) : w;
                QVERIFY2(dove->findChild<QWidget*>(QString::fromLatin1(nome)), nome);
            }
        camino->close();
        QVERIFY(mostraAttiva(*w));
        // Empty boxes say what they stand for: methane has no chlorine.
        QCOMPARE(box(*w, "ObiettivoVerifica")->placeholderText(), QStringLiteral("850"));
        QCOMPARE(box(*w, "TempoPermanenza")->placeholderText(), QStringLiteral("2"));
        // A refusal (the scenario table has them) leaves the results as they were.
        const QString prime = testo(*w, "TempFumiRif");
        digita(*w, "TempoPermanenza", QStringLiteral("0"));
        clicca(*w, "Command1");
        QCOMPARE(testo(*w, "TempFumiRif"), prime);
        digita(*w, "TempoPermanenza", QString());
        QTest::keyClick(box(*w, "TempoPermanenza"), Qt::Key_Delete);
        QTemporaryDir dir;
        auto* tipo = ctl<QComboBox>(*w, "SupportoTipo");
        tipo->setCurrentIndex(tipo->findData(QStringLiteral("Metano")));
        digita(*w, "ObiettivoVerifica", QStringLiteral("850"));
        clicca(*w, "Command2");
        QVERIFY(ctl<QLabel>(*w, "Risposta")->text().startsWith(QStringLiteral("Combustibile di supporto non necessario")));

        amb.dialoghi.testi.push_back(dir.filePath("v.txt"));
        clicca(*w, "Command3");
        const QByteArray salvato = leggi(dir.filePath("v.txt"));
        QVERIFY(salvato.startsWith("Verifica - Termix54\r\n"));
        QVERIFY(salvato.contains(" \xB0" "C\r\n") && !salvato.contains("\xC2\xB0"));  // Windows-1252 degrees
        QVERIFY(salvato.contains("Combustibile di supporto non necessario"));

        QTest::keyClick(w, Qt::Key_Escape);
        QTRY_VERIFY(!w);
        QCOMPARE(std::memcmp(&prima, &modulo1(), sizeof prima), 0);
    }

    // "Stam&pa" clicked after the methane walk, through a real CUPS server (the ctest "stampa"
    // runs these under cups-prova.sh): the job's PDF carries the words of the hand-laid report
    // in order (the printer moves only the title and the date and time), on more than one page,
    // and the table's words start at 500 twips + (column - 1) x one character width.
    void stampaMetano() {
        if (lavori.isEmpty()) QSKIP("needs the CUPS server of cups-prova.sh (TERMIX54_LAVORI unset)");
        Ambiente amb;
        OrologioFisso orologio;
        UscitaRapportoForm uscita(&orologio);
        UscitaImpostata hook(&uscita);
        clicca(metanoFinoAForm3(), "Command4");
        QVERIFY(mostraAttiva(GestoreForm::form8()));
        clicca(GestoreForm::form8(), "Command3");
        QTRY_COMPARE_WITH_TIMEOUT(QDir(lavori).entryList({"job-*.pdf"}, QDir::Files).size(), 1, 60000);
        const QString pdf = QDir(lavori).filePath(Lavori(lavori).first());
        auto righe = [](const QString& testo, const char* fine) {  // the lines' words, empty lines left out
            QStringList l;
            for (const QString& r : testo.split(QLatin1String(fine))) if (!Parole(r).isEmpty()) l << Parole(r);
            return l;
        };
        const QString layout = Esegui("pdftotext", {"-layout", pdf, "-"});
        QCOMPARE(righe(layout, "\n"), righe(QString::fromLatin1(AttesoMetano().c_str()), "\r\n"));
        QVERIFY(layout.count(QChar('\f')) >= 2);  // 67 lines of 12-point text do not fit one page

        // Words of the table rows by their line: x in points from the page's left edge.
        static const QRegularExpression parola(R"x(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)x");
        std::map<std::pair<int, int>, QList<std::pair<double, QString>>> parole;  // (page, y) -> words
        int pagina = 0;
        for (const QString& r : Esegui("pdftotext", {"-bbox", pdf, "-"}).split('\n')) {
            pagina += r.contains(QStringLiteral("<page "));
            if (auto m = parola.match(r); m.hasMatch())
                parole[{pagina, qRound(m.captured(2).toDouble())}] << std::pair{m.captured(1).toDouble(), m.captured(3)};
        }
        const QList<int> colonne = {3, 12, 24, 36, 48};
        double larghezza = 0;  // one column, from the N2 row's first and last value
        int controllate = 0;
        for (const auto& [y, p] : parole) {
            if (p.size() != 5 || !QStringList{"N2", "O2", "CO2", "H2O", "SO2", "HCl", "Totale"}.contains(p[0].second)) continue;
            if (larghezza == 0) larghezza = (p[4].first - p[1].first) / (48 - 12);
            for (int k = 0; k < 5; ++k) {
                const int colonna = k == 0 && p[0].second == QLatin1String("Totale") ? 2 : colonne[k];
                QVERIFY2(std::abs(p[k].first - (25 + (colonna - 1) * larghezza)) < 0.5, qPrintable(p[k].second));
            }
            ++controllate;
        }
        QCOMPARE(controllate, 7);
    }

    // "Stam&pa" through Form8's output against each state of the default
    // queue: the job count is the server's (held jobs included).
    void esiti_data() {
        QTest::addColumn<QString>("prepara");
        QTest::addColumn<int>("nuovi");  // jobs the server gains; 0: the message instead
        QTest::newRow("accetta") << "true" << 1;
        QTest::newRow("in pausa: tiene i lavori") << "cupsdisable --hold Termix54Prova" << 1;
        QTest::newRow("rifiuta (cupsreject)") << "cupsreject Termix54Prova" << 0;
        QTest::newRow("ferma (cupsdisable)") << "cupsdisable Termix54Prova" << 0;
        QTest::newRow("nessuna predefinita") << "lpadmin -x Termix54Prova" << 0;
        QTest::newRow("server sparito dopo la scelta")  // last: kills cupsd
            << "lpadmin -p Termix54Prova -E -v archivio:/ -m raw && lpadmin -d Termix54Prova" << -1;
    }
    void esiti() {
        QFETCH(QString, prepara);
        QFETCH(int, nuovi);
        if (lavori.isEmpty()) QSKIP("needs the CUPS server of cups-prova.sh (TERMIX54_LAVORI unset)");
        QCOMPARE(QProcess::execute("sh", {"-c", prepara}), 0);
        const int prima = LavoriDelServer(), file = static_cast<int>(QDir(lavori).entryList(QDir::Files).size());
        DialoghiScriptati dialoghi;
        struct : prova::OrologioFisso {
            bool uccidi = false;
            std::string Data() override {  // the printer is chosen, the report being drawn
                if (uccidi && ::kill(qEnvironmentVariable("TERMIX54_CUPSD_PID").toInt(), SIGKILL) == 0)
                    QThread::msleep(300);
                uccidi = false;
                return OrologioFisso::Data();
            }
        } orologio;
        orologio.uccidi = nuovi < 0;
        UscitaRapportoForm(&orologio).stampa();
        GestoreForm::distruggiTutto();
        QCOMPARE(dialoghi.testiMostrati(), nuovi > 0 ? QStringList() : QStringList{"Verificare che gli input siano corretti !"});
        if (nuovi >= 0) QCOMPARE(LavoriDelServer() - prima, nuovi);  // -1: the server is gone
        if (nuovi <= 0) QCOMPARE(static_cast<int>(QDir(lavori).entryList(QDir::Files).size()), file);
        if (nuovi < 0) return;
        // Back to an accepting queue with no job pending, for the next row.
        QProcess::execute("sh", {"-c", "cancel -a; cupsenable --release Termix54Prova; cupsenable Termix54Prova; "
                                       "cupsaccept Termix54Prova; true"});
        for (int i = 0; i < 100 && !Esegui("lpstat", {"-o"}).trimmed().isEmpty(); ++i) QTest::qWait(100);
    }

private:
    const QString lavori = qEnvironmentVariable("TERMIX54_LAVORI");
};

QTEST_MAIN(TestForms)
#include "test_forms.moc"
