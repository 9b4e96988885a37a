// The forms as a user meets them: the walk and its way back, the exit
// confirmation, the numeric boxes (Enter chains, refusals, the pending
// LostFocus before every action), "&Salva", the About box and its system
// information, the "Andamento" window, printing through a real CUPS server.
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "forms/AiutoForm.h"
#include "forms/AndamentoForm.h"
#include "forms/Form1.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/Form7.h"
#include "forms/Form8.h"
#include "forms/Posti.h"
#include "forms/RapportoForm.h"
#include "forms/VerificaForm.h"
#include "forms/StampaRapporto.h"
#include "forms/InfoSistema.h"
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


// key -> value name -> (type, bytes as stored, terminating NUL included if any)
struct RegistroFinto final : Registro {
    std::map<std::string, std::map<std::string, std::pair<std::uint32_t, std::string>>> chiavi;
    std::vector<std::string> aperte;
    int chiusure = 0;
    long ApriChiave(std::uint32_t radice, const std::string& chiave, std::uint32_t accesso, std::uintptr_t& h) override {
        aperte.push_back(chiave);
        h = aperte.size();
        return radice == RadiceHKLM && accesso == AccessoChiave && chiavi.count(chiave) ? 0 : 2;
    }
    long LeggiValore(std::uintptr_t h, const std::string& nome, std::uint32_t& tipo, char* buffer,
                     std::uint32_t& dimensione) override {
        const auto& valori = chiavi.at(aperte.at(h - 1));
        auto it = valori.find(nome);
        if (it == valori.end()) return 2;
        tipo = it->second.first;
        const auto n = static_cast<std::uint32_t>(it->second.second.size());
        if (n > dimensione) return dimensione = n, 234;  // ERROR_MORE_DATA
        it->second.second.copy(buffer, n);
        return dimensione = n, 0;
    }
    void ChiudiChiave(std::uintptr_t) override { ++chiusure; }
};

// A program starts when its file exists.
struct SistemaFinto final : ControlloFile, Avviatore {
    std::set<std::string> file;
    std::vector<std::string> avviati;
    bool EsisteFile(const std::string& p) override { return file.count(p) > 0; }
    bool Avvia(const std::string& p) override { return avviati.push_back(p), file.count(p) > 0; }
};

std::string nul(const std::string& s) { return s + '\0'; }
std::string dword(std::uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

const std::string Msinfo = "C:\\Programmi\\msinfo32.exe", Cartella = "C:\\WINDOWS\\system32",
                  NellaCartella = Cartella + "\\MSINFO32.EXE", Lungo(1024, 'x');
using Valore = std::optional<std::pair<std::uint32_t, std::string>>;
const std::pair<std::uint32_t, std::string> Testo(const std::string& s) { return {TipoTesto, s}; }


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

        auto* combo = ctl<QComboBox>(*w, "Combo1");
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
        const QString cmd = QStringLiteral("'%1' '%2' --variando Dispersioni=0:30:2,5 -o '%3'")
                                .arg(QStringLiteral(TERMIX54_BATCH_EXE), dir.filePath("in.csv"), dir.filePath("b.csv"));
        QCOMPARE(std::system(cmd.toLocal8Bit().constData()), 0);
        QCOMPARE(leggi(dir.filePath("a.csv")).count("\r\n"), 14);  // header and 0 to 30 % by 2.5
        QCOMPARE(leggi(dir.filePath("a.csv")), leggi(dir.filePath("b.csv")));

        QTest::keyClick(w, Qt::Key_Escape);
        QTRY_VERIFY(!w);
        QCOMPARE(std::memcmp(&prima, &modulo1(), sizeof prima), 0);
        QCOMPARE(testo(f8, "Text1"), testo8);
    }

    // "Verifica" from Form8: the boxes and the verdict equal termix54-batch
    // --verifica on the same case, a bad box refused with the results left as
    // shown, the support target, "Salva" in Windows-1252, Esc; the forms untouched.
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
        for (const Grandezza& g : Grandezze())  // each check's quantity has its control, by its name
            if (g.ha(Verifica)) QVERIFY2(w->findChild<QWidget*>(QString::fromLatin1(g.nome)), g.nome);
        QCOMPARE(testo(*w, "Obiettivo"), QStringLiteral("850"));  // methane has no chlorine
        digita(*w, "DiametroCamera", QStringLiteral("1,2"));
        QTest::keyClick(box(*w, "DiametroCamera"), Qt::Key_Return);
        auto* verdetto = ctl<QLabel>(*w, "Verdetto");
        QVERIFY(verdetto->text().startsWith(QStringLiteral("850 °C per 2 s: raggiunti (T = 167")));

        QTemporaryDir dir;
        std::ofstream(dir.filePath("in.csv").toStdString())
            << "Tipo;PortataComb;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;Dispersioni;DiametroCamera\n"
               "Metano;100;20;20;50;20;5;1,2\n";
        const QString cmd = QStringLiteral("'%1' '%2' --verifica -o '%3'")
                                .arg(QStringLiteral(TERMIX54_BATCH_EXE), dir.filePath("in.csv"), dir.filePath("b.csv"));
        QCOMPARE(std::system(cmd.toLocal8Bit().constData()), 0);
        const QList<QByteArray> righe = leggi(dir.filePath("b.csv")).split('\n');
        const QList<QByteArray> nomi = righe[0].trimmed().split(';'), valori = righe[1].trimmed().split(';');
        QCOMPARE(nomi.size(), valori.size());
        for (const char* n : {"TempFumiRif", "VolumeCamera", "VelocitaCamera", "LunghezzaCamera", "O2Secco", "HClRif",
                              "SO2Rif", "Cl2Rif", "RugiadaAcqua", "RugiadaSolforica", "RugiadaCloridrica"}) {
            const QByteArray cella = valori[nomi.indexOf(n)];
            std::optional<double> x;
            if (!cella.isEmpty()) x = LeggiNumero(cella.toStdString());
            QCOMPARE(testo(*w, n), QString::fromStdString(TestoVoce(n, x)));
        }
        QCOMPARE(verdetto->text(), QString::fromUtf8(valori.last()));
        QCOMPARE(testo(*w, "RugiadaSolforica"), QStringLiteral("\u2014"));  // no sulphur

        const QString prime = testo(*w, "TempFumiRif");
        for (auto [casella, t, messaggio] :
             {std::tuple{"TempoPermanenza", "0", "Il tempo di permanenza deve essere maggiore di 0"},
              {"TempoPermanenza", "2.", messaggi::UsareVirgola},
              {"SupportoPortata", "-5", "La portata del combustibile di supporto non puo' essere negativa"}}) {
            digita(*w, casella, QString::fromUtf8(t));
            clicca(*w, "Command1");
            QCOMPARE(amb.dialoghi.testiMostrati().last(), QString::fromUtf8(messaggio));
            QCOMPARE(testo(*w, "TempFumiRif"), prime);
            digita(*w, casella, QStringLiteral("2"));
        }
        ctl<QComboBox>(*w, "SupportoTipo")->setCurrentIndex(1);  // Metano
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

    // The About box's system-information lookup: every branch of the registry
    // lookup through a scripted registry and file system, and the real seams.
    void startSysInfo() {
        const struct { const char* nome; bool chiave1; Valore v1; bool chiave2; Valore v2; std::set<std::string> file;
                       std::vector<std::string> avviati; bool avviso; } casi[] = {
            {"first place found, second not looked at", true, Testo(nul(Msinfo)), true, Testo(nul(Cartella)),
             {Msinfo, NellaCartella}, {Msinfo}, false},
            {"first place names a missing file", true, Testo(nul(Msinfo)), true, Testo(nul(Cartella)), {NellaCartella},
             {Msinfo}, true},
            {"second place, program in the folder", false, {}, true, Testo(nul(Cartella)), {NellaCartella},
             {NellaCartella}, false},
            {"second place, folder without the program", false, {}, true, Testo(nul(Cartella)), {}, {}, true},
            {"keys without their values", true, {}, true, {}, {}, {}, true},
            {"no keys at all", false, {}, false, {}, {}, {}, true},
            {"first value of size zero", true, Testo(""), true, Testo(nul(Cartella)), {NellaCartella}, {}, true},
            {"1024 bytes without NUL taken whole", true, Testo(Lungo), false, {}, {Lungo}, {Lungo}, false},
            {"1025 bytes count as missing", true, Testo(nul(Lungo)), false, {}, {Lungo}, {}, true},
            {"too long first, second place used", true, Testo(nul(Lungo)), true, Testo(nul(Cartella)),
             {NellaCartella}, {NellaCartella}, false},
            {"number-typed value, last byte first", true, std::pair{TipoNumero, dword(0x12AB0F01)}, false, {}, {},
             {"&h12AB0F01"}, true},
            {"value of another type gives an empty path", true, std::pair{3u, nul(Msinfo)}, false, {}, {Msinfo}, {""}, true},
            {"second place of another type: the root", false, {}, true, std::pair{3u, nul(Cartella)},
             {"\\MSINFO32.EXE"}, {"\\MSINFO32.EXE"}, false},
            // The text up to its first NUL; 1023 bytes and NUL fit; bytes as stored.
            {"NUL inside", true, Testo(std::string("a\0b\0", 4)), false, {}, {std::string("a\0b", 3)},
             {std::string("a\0b", 3)}, false},
            {"1023 bytes and NUL", true, Testo(nul(std::string(1023, 'z'))), false, {}, {std::string(1023, 'z')},
             {std::string(1023, 'z')}, false},
            {"Windows-1252 path", true, Testo(nul("C:\\Caff\xE8")), false, {}, {"C:\\Caff\xE8"}, {"C:\\Caff\xE8"}, false},
            {"number with a top zero byte: the NUL rule", true, std::pair{TipoNumero, dword(0x00001234)}, false, {},
             {"&h001234"}, {"&h001234"}, false},
        };
        for (const auto& c : casi) {
            RegistroFinto reg;
            if (c.chiave1) reg.chiavi[ChiaveSysInfo];
            if (c.v1) reg.chiavi[ChiaveSysInfo][ValoreSysInfo] = *c.v1;
            if (c.chiave2) reg.chiavi[ChiaveSysInfoCartella];
            if (c.v2) reg.chiavi[ChiaveSysInfoCartella][ValoreSysInfoCartella] = *c.v2;
            SistemaFinto sis;
            sis.file = c.file;
            std::vector<std::string> avvisi;
            AmbienteSistema amb{reg, sis, sis, [&](std::string_view t) { avvisi.emplace_back(t); }};
            StartSysInfo(amb);
            QVERIFY2(sis.avviati == c.avviati, c.nome);
            QVERIFY2(avvisi == (c.avviso ? std::vector<std::string>{messaggi::InfoNonDisponibili}
                                         : std::vector<std::string>{}), c.nome);
            QVERIFY2(reg.aperte.front() == ChiaveSysInfo, c.nome);
            QVERIFY2(reg.chiusure == int(reg.aperte.size()), c.nome);  // every key opened is closed
        }
    }

    // "Stam&pa" through a real CUPS server (the ctest "stampa" runs these under
    // cups-prova.sh): the job's PDF carries every line's words in order, on more than
    // one page; a queue or server that cannot take the job gives the message.
    void stampaMetano() {
        if (lavori.isEmpty()) QSKIP("needs the CUPS server of cups-prova.sh (TERMIX54_LAVORI unset)");
        Modulo1 m;
        prova::TestiForm testi = prova::TestiMetano(m);
        prova::OrologioFisso orologio;
        QVERIFY(!QPrinterInfo::defaultPrinter().isNull());
        QVERIFY(StampaRapporto(testi, orologio));
        QTRY_COMPARE_WITH_TIMEOUT(QDir(lavori).entryList({"job-*.pdf"}, QDir::Files).size(), 1, 60000);
        const QString pdf = QDir(lavori).filePath(Lavori(lavori).first());

        // The printer's lines, empty ones left out (text extraction drops them).
        QStringList attese;
        for (int n = 1; n <= RigheRapporto; ++n)
            for (const RigaFisica& r : Impagina(RigaDelRapporto(n, TipoUscita::Stampante, testi, orologio), LarghezzaCaratteri)) {
                QString riga;
                for (const Tratto& t : r) riga += QString::fromStdString(t.testo);
                if (!Parole(riga).isEmpty()) attese << Parole(riga);
            }
        const QString layout = Esegui("pdftotext", {"-layout", pdf, "-"});
        QStringList stampate;
        for (const QString& r : layout.split('\n'))
            if (!Parole(r).isEmpty()) stampate << Parole(r);
        QCOMPARE(stampate, attese);
        QVERIFY(layout.count(QChar('\f')) >= 2);  // 67 lines of 12-point text do not fit one page
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
        QTest::qWait(300);
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
