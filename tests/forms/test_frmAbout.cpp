// The About box on a pinned offscreen screen (640 x 480 or 1024 x 768).
#include <QApplication>
#include <algorithm>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "forms/FakeSistema.h"
#include "forms/Form1.h"
#include "forms/frmAbout.h"
#include "forms/GestoreForm.h"
#include "forms/InfoSistema.h"
#include "ui/Controlli.h"
#include "ui/DialoghiScriptati.h"

using namespace termix;

namespace {

const QString NonDisponibili = QStringLiteral("Le informazioni sul sistema non sono disponibili in questa fase");

template <class T>
T* figlio(QWidget* w, const char* nome) {
    T* c = w->findChild<T*>(QString::fromLatin1(nome));
    if (!c)
        qFatal("control %s missing", nome);
    return c;
}

QPointer<frmAbout> apri() {
    QPointer<frmAbout> f = apriAbout();
    if (!QTest::qWaitForWindowActive(f))
        qWarning("About box not active");
    return f;
}

// Runs the deferred deletion of closed windows.
void smaltisci() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QColor pixel(const QImage& im, int x, int y) { return im.pixelColor(x, y); }

}  // namespace

class TestFrmAbout : public QObject {
    Q_OBJECT

private slots:
    void init() { impostaSistemaAbout(nullptr, nullptr, nullptr); }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* a = qobject_cast<frmAbout*>(w))
                a->close();
        smaltisci();
        impostaSistemaAbout(nullptr, nullptr, nullptr);
    }

    void testiEFinestra();
    void geometria_data();
    void geometria();
    void separatoreEColori();
    void tasti_data();
    void tasti();
    void dueAperture();
    void chiusuraSenzaDomande();
    void sysInfoSeam();
    void sysInfoLinuxUnaVoltaPerPressione();
    void sysInfoFinestraVera();
    void siAllUscitaConAboutAperto();
};

void TestFrmAbout::testiEFinestra() {
    DialoghiScriptati d;
    auto f = apri();
    QCOMPARE(f->windowTitle(), QStringLiteral("Informazioni su Termix54"));
    QCOMPARE(figlio<QLabel>(f, "lblTitle")->text(), QStringLiteral("Termix54"));
    QCOMPARE(figlio<QLabel>(f, "lblVersion")->text(), QStringLiteral("Versione 1.0.0"));
    QCOMPARE(figlio<QLabel>(f, "lblDescription")->text(),
             QStringLiteral("Bilancio di massa e di energia della combustione"));
    QVERIFY(!figlio<QLabel>(f, "Label1")->text().isEmpty());
    QCOMPARE(figlio<QPushButton>(f, "cmdOK")->text(), QStringLiteral("OK"));
    QCOMPARE(figlio<QPushButton>(f, "cmdSysInfo")->text(), QStringLiteral("&System Info..."));
    QCOMPARE(figlio<QLabel>(f, "picIcon")->pixmap().size(), QSize(32, 32));

    // Non-modal, over Form1, a fixed dialog without maximize or minimize.
    QVERIFY(!f->isModal());
    QCOMPARE(f->windowModality(), Qt::NonModal);
    QCOMPARE(f->parentWidget(), static_cast<QWidget*>(&GestoreForm::form1()));
    QCOMPARE(f->windowType(), Qt::Dialog);
    QVERIFY(!(f->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(f->windowFlags() & Qt::WindowMinimizeButtonHint));
    QCOMPARE(f->minimumSize(), f->maximumSize());
    QCOMPARE(f->focusWidget(), figlio<QWidget>(f, "cmdOK"));
    QVERIFY(d.mostrati.empty());
}

// Expected pixels worked out by hand: twips / 15, times 1.6 on 1024 x 768
// (both factors 1.6), rounded to the nearest pixel.
void TestFrmAbout::geometria_data() {
    QTest::addColumn<int>("altezzaSchermo");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QRect>("atteso");

    QTest::newRow("640 form") << 480 << "frmAbout" << QRect(156, 129, 382, 237);
    QTest::newRow("640 cmdOK") << 480 << "cmdOK" << QRect(283, 175, 84, 23);
    QTest::newRow("640 cmdSysInfo") << 480 << "cmdSysInfo" << QRect(284, 205, 83, 23);
    QTest::newRow("640 lblTitle") << 480 << "lblTitle" << QRect(72, 16, 243, 40);
    QTest::newRow("640 lblVersion") << 480 << "lblVersion" << QRect(70, 64, 259, 15);
    QTest::newRow("640 lblDescription") << 480 << "lblDescription" << QRect(72, 88, 275, 46);
    QTest::newRow("640 Label1") << 480 << "Label1" << QRect(16, 176, 257, 49);
    QTest::newRow("640 picIcon") << 480 << "picIcon" << QRect(16, 16, 32, 32);

    // 2340*1.6/15 = 249.6, 1935*1.6/15 = 206.4, 5730*1.6/15 = 611.2, 3555*1.6/15 = 379.2
    QTest::newRow("1024 form") << 768 << "frmAbout" << QRect(250, 206, 611, 379);
    // 4245*1.6/15 = 452.8, 2625*1.6/15 = 280, 1260*1.6/15 = 134.4, 345*1.6/15 = 36.8
    QTest::newRow("1024 cmdOK") << 768 << "cmdOK" << QRect(453, 280, 134, 37);
    // 4260*1.6/15 = 454.4, 3075*1.6/15 = 328, 1245*1.6/15 = 132.8
    QTest::newRow("1024 cmdSysInfo") << 768 << "cmdSysInfo" << QRect(454, 328, 133, 37);
    // 240*1.6/15 = 25.6; the picture box keeps the size of its picture
    QTest::newRow("1024 picIcon") << 768 << "picIcon" << QRect(26, 26, 32, 32);
    // 240, 2640 -> 25.6, 281.6; 3855, 735 -> 411.2, 78.4
    QTest::newRow("1024 Label1") << 768 << "Label1" << QRect(26, 282, 411, 78);
}

void TestFrmAbout::geometria() {
    QFETCH(int, altezzaSchermo);
    QFETCH(QString, nome);
    QFETCH(QRect, atteso);
    if (QGuiApplication::primaryScreen()->size().height() != altezzaSchermo)
        QSKIP("row for the other pinned screen");

    DialoghiScriptati d;
    auto f = apri();
    QWidget* w = nome == QLatin1String("frmAbout") ? static_cast<QWidget*>(f.data()) : figlio<QWidget>(f, qPrintable(nome));
    QCOMPARE(w->geometry(), atteso);
}

void TestFrmAbout::separatoreEColori() {
    DialoghiScriptati d;
    auto f = apri();
    const bool grande = QGuiApplication::primaryScreen()->size().height() == 768;
    const QImage im = f->grab().toImage();

    const QColor verde(128, 255, 128), ciano(128, 255, 255), grigio(128, 128, 128), bianco(255, 255, 255);
    // Grey line at 2445 twips, white two-pixel line from 2460 twips
    // (163 and 164-165 pixels; 260.8 and 262.4 on 1024 x 768).
    const int yGrigio = grande ? 261 : 163;
    const int yBianco = grande ? 262 : 164;
    const int x = grande ? 200 : 150;
    QCOMPARE(pixel(im, x, yGrigio - 2), verde);
    QCOMPARE(pixel(im, x, yGrigio), grigio);
    QCOMPARE(pixel(im, x, yBianco + 1), bianco);
    QCOMPARE(pixel(im, x, yBianco + 3), verde);
    // Line ends: grey from 90 twips (6 px), white from 105 (7 px), both to 5654 (377 px).
    if (!grande) {
        QCOMPARE(pixel(im, 5, yGrigio), verde);
        QCOMPARE(pixel(im, 6, yGrigio), grigio);
        QCOMPARE(pixel(im, 377, yGrigio), grigio);
        QCOMPARE(pixel(im, 379, yGrigio), verde);
        QCOMPARE(pixel(im, 6, yBianco), verde);
        QCOMPARE(pixel(im, 7, yBianco), bianco);
    }
    // Form background, and the picture box's cyan showing in its corner.
    QCOMPARE(pixel(im, f->width() - 3, 3), verde);
    const QRect pic = figlio<QWidget>(f, "picIcon")->geometry();
    QCOMPARE(pixel(im, pic.left(), pic.top()), ciano);
    // Buttons have a white face: the style shades it slightly, but well above
    // its own grey (239); the focused default one is tinted and left out.
    const QRect si = figlio<QWidget>(f, "cmdSysInfo")->geometry();
    const QColor faccia = pixel(im, si.left() + 4, si.center().y());
    QVERIFY2(std::min({faccia.red(), faccia.green(), faccia.blue()}) >= 248, qPrintable(faccia.name()));
}

void TestFrmAbout::tasti_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("tasto");
    QTest::addColumn<int>("modificatori");
    QTest::addColumn<bool>("chiuso");
    QTest::addColumn<bool>("avviato");

    QTest::newRow("Esc on OK") << "cmdOK" << int(Qt::Key_Escape) << 0 << true << false;
    QTest::newRow("Enter on OK") << "cmdOK" << int(Qt::Key_Return) << 0 << true << false;
    QTest::newRow("keypad Enter on OK") << "cmdOK" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true << false;
    QTest::newRow("space on OK") << "cmdOK" << int(Qt::Key_Space) << 0 << true << false;
    QTest::newRow("Esc on System Info") << "cmdSysInfo" << int(Qt::Key_Escape) << 0 << true << false;
    QTest::newRow("Enter on System Info") << "cmdSysInfo" << int(Qt::Key_Return) << 0 << false << true;
    QTest::newRow("Alt+S from OK") << "cmdOK" << int(Qt::Key_S) << int(Qt::AltModifier) << false << true;
    QTest::newRow("a letter does nothing") << "cmdOK" << int(Qt::Key_X) << 0 << false << false;
}

void TestFrmAbout::tasti() {
    QFETCH(QString, focus);
    QFETCH(int, tasto);
    QFETCH(int, modificatori);
    QFETCH(bool, chiuso);
    QFETCH(bool, avviato);

    // A machine whose first registry place names a program that exists.
    test::RegistroFinto reg;
    reg.chiavi[ChiaveSysInfo][ValoreSysInfo] = {TipoTesto, std::string("C:\\msinfo32.exe", 15) + '\0'};
    test::SistemaFinto sis;
    sis.file = {"C:\\msinfo32.exe"};
    impostaSistemaAbout(&reg, &sis, &sis);

    DialoghiScriptati d;
    auto f = apri();
    QWidget* w = figlio<QWidget>(f, qPrintable(focus));
    w->setFocus();
    QVERIFY(w->hasFocus());
    if (tasto == Qt::Key_Space) {
        QTest::keyClick(w, Qt::Key_Space);
    } else {
        QTest::keyClick(w, Qt::Key(tasto), Qt::KeyboardModifiers(modificatori));
    }
    smaltisci();
    QCOMPARE(f.isNull(), chiuso);
    // Nothing else opened one again (Form1's own Esc belongs to Form1 alone).
    int aperti = 0;
    for (QWidget* t : QApplication::topLevelWidgets())
        aperti += qobject_cast<frmAbout*>(t) && t->isVisible();
    QCOMPARE(aperti, chiuso ? 0 : 1);
    QCOMPARE(sis.avviati, avviato ? std::vector<std::string>{"C:\\msinfo32.exe"} : std::vector<std::string>{});
    QVERIFY(d.mostrati.empty());
}

void TestFrmAbout::dueAperture() {
    DialoghiScriptati d;
    auto primo = apri();
    // Opening while open brings the same box to the front.
    QCOMPARE(apriAbout(), primo.data());
    figlio<QLabel>(primo, "lblVersion")->setText(QStringLiteral("cambiato"));
    primo->setWindowTitle(QStringLiteral("cambiato"));
    QTest::mouseClick(figlio<QPushButton>(primo, "cmdOK"), Qt::LeftButton);
    smaltisci();
    QVERIFY(primo.isNull());

    auto secondo = apri();
    QVERIFY(secondo);
    QCOMPARE(secondo->windowTitle(), QStringLiteral("Informazioni su Termix54"));
    QCOMPARE(figlio<QLabel>(secondo, "lblVersion")->text(), QStringLiteral("Versione 1.0.0"));
    QCOMPARE(figlio<QLabel>(secondo, "lblTitle")->text(), QStringLiteral("Termix54"));
    QCOMPARE(secondo->findChildren<Linea*>(QStringLiteral("Line1")).size(), 2);
    QVERIFY(d.mostrati.empty());
}

void TestFrmAbout::chiusuraSenzaDomande() {
    // Whatever the dialogs would answer, nothing is asked.
    DialoghiScriptati d;
    d.risposte = {Risposta::No, Risposta::No};
    GestoreForm::mostra(GestoreForm::form1());
    auto f = apri();
    QTest::mouseClick(figlio<QPushButton>(f, "cmdOK"), Qt::LeftButton);
    smaltisci();
    QVERIFY(f.isNull());

    f = apri();
    QVERIFY(f->close());  // the close box's request
    smaltisci();
    QVERIFY(f.isNull());
    QVERIFY(d.mostrati.empty());
    QVERIFY(GestoreForm::form1().isVisible());
}

void TestFrmAbout::sysInfoSeam() {
    // Second place only, the folder holds the program: it starts, no message.
    test::RegistroFinto reg;
    reg.chiavi[ChiaveSysInfoCartella][ValoreSysInfoCartella] = {TipoTesto, std::string("D:\\Strumenti") + '\0'};
    test::SistemaFinto sis;
    sis.file = {"D:\\Strumenti\\MSINFO32.EXE"};
    impostaSistemaAbout(&reg, &sis, &sis);

    DialoghiScriptati d;
    auto f = apri();
    QTest::mouseClick(figlio<QPushButton>(f, "cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(sis.avviati, std::vector<std::string>{"D:\\Strumenti\\MSINFO32.EXE"});
    QVERIFY(d.mostrati.empty());
    QVERIFY(f);
}

void TestFrmAbout::sysInfoLinuxUnaVoltaPerPressione() {
#ifdef _WIN32
    QSKIP("the real registry is the machine's own");
#endif
    DialoghiScriptati d;
    auto f = apri();
    auto* b = figlio<QPushButton>(f, "cmdSysInfo");
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(d.mostrati.size(), std::size_t{1});
    QTest::keyClick(b, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(d.mostrati.size(), std::size_t{2});
    for (const auto& m : d.mostrati) {
        QCOMPARE(m.testo, NonDisponibili);
        QCOMPARE(m.titolo, QStringLiteral("Termix54"));
        QCOMPARE(m.icona, Icona::Nessuna);
        QCOMPARE(m.pulsanti, Pulsanti::Ok);
        QVERIFY(!m.inputBox);
    }
    // The box keeps working: still open, and OK still closes it.
    QVERIFY(f && f->isVisible());
    QTest::mouseClick(figlio<QPushButton>(f, "cmdOK"), Qt::LeftButton);
    smaltisci();
    QVERIFY(f.isNull());
    QCOMPARE(d.mostrati.size(), std::size_t{2});
}

void TestFrmAbout::sysInfoFinestraVera() {
#ifdef _WIN32
    QSKIP("the real registry is the machine's own");
#endif
    // The real message box: text, title, no icon, OK alone.
    impostaDialoghi(nullptr);
    auto f = apri();
    QString testo, titolo;
    QMessageBox::Icon icona = QMessageBox::Warning;
    QMessageBox::StandardButtons pulsanti;
    int viste = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        ++viste;
        testo = box->text();
        titolo = box->windowTitle();
        icona = box->icon();
        pulsanti = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(figlio<QPushButton>(f, "cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(viste, 1);
    QCOMPARE(testo, NonDisponibili);
    QCOMPARE(titolo, QStringLiteral("Termix54"));
    QCOMPARE(icona, QMessageBox::NoIcon);
    QCOMPARE(pulsanti, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(f && f->isVisible());
}

void TestFrmAbout::siAllUscitaConAboutAperto() {
    // No first: everything stays; then Yes ends the run with the box open.
    DialoghiScriptati d;
    d.risposte = {Risposta::No, Risposta::Si};
    Form1& form1 = GestoreForm::form1();
    GestoreForm::mostra(form1);
    auto f = apri();

    QVERIFY(!form1.close());
    QVERIFY(f && f->isVisible());
    QVERIFY(form1.isVisible());

    QTimer::singleShot(0, [&] { form1.close(); });
    QTimer guardia;  // ends a run that failed to end
    guardia.setSingleShot(true);
    connect(&guardia, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guardia.start(5000);
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(d.testiMostrati(), QStringList({QStringLiteral("Chiudere il programma ?"),
                                              QStringLiteral("Chiudere il programma ?")}));
    QCOMPARE(d.mostrati.back().icona, Icona::Domanda);
    QVERIFY(!form1.isVisible());
    QVERIFY(!f || !f->isVisible());
}

QTEST_MAIN(TestFrmAbout)
#include "test_frmAbout.moc"
