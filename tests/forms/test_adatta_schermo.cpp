// Screen fit: the factors and products of the fit on given screen sizes, and
// the fit of the real forms on the pinned offscreen screen this run was
// started with (ctest runs this executable once per screen).
#include <QLabel>
#include <QScreen>
#include <QTest>

#include "forms/AiutoForm.h"
#include "forms/Form1.h"
#include "forms/Form2.h"
#include "forms/frmAbout.h"
#include "ui/Controlli.h"

using namespace termix;
using namespace termix::prova;

namespace {

// A form with one control of each kind the fit tells apart.
class FormProva : public FormBase {
public:
    FormProva() : FormBase(QStringLiteral("FormProva")) {
        pulsante("Command1", QStringLiteral("&Prova"), 6000, 5640, 1215, 615, 0, 12);
        immagine("Image1", QString(), 1680, 600, 6255, 1365);
        linea("Line1", 240, 4920, 9360, 4920);
    }
};

struct Atteso {
    QSize schermo;  // logical pixels
    bool scala;
    float fx, fy;
};

// Factors worked out by hand: screen pixels x 15 over 9600 and 7200.
const Atteso attesi[] = {
    {{640, 480}, false, 0, 0},
    {{800, 480}, false, 0, 0},
    {{800, 600}, true, 1.25f, 1.25f},
    {{1280, 1024}, true, 2.0f, 2.1333334f},
    {{1920, 1080}, true, 3.0f, 2.25f},
};

const Atteso* attesoPer(QSize s) {
    for (const auto& a : attesi)
        if (a.schermo == s) return &a;
    return nullptr;
}

}  // namespace

class TestAdattaSchermo : public QObject {
    Q_OBJECT
private slots:
    void prodotti_data();
    void prodotti();
    void lineeEImmagini();
    void schermoPrimario();
    void form1CentraLeEtichette();
    void aboutDueVolte();
};

void TestAdattaSchermo::prodotti_data() {
    QTest::addColumn<float>("larghezza");
    QTest::addColumn<float>("altezza");
    QTest::addColumn<bool>("scala");
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<double>("font");
    // Design screen: nothing changes.
    QTest::newRow("640x480") << 9600.f << 7200.f << false << 6000.f << 5640.f << 1215.f << 615.f << 12.0;
    // Same height, wider: the width is ignored.
    QTest::newRow("800x480") << 12000.f << 7200.f << false << 6000.f << 5640.f << 1215.f << 615.f << 12.0;
    // Both factors 1.25.
    QTest::newRow("800x600") << 12000.f << 9000.f << true << 7500.f << 7050.f << 1518.75f << 768.75f << 15.0;
    // FattoreX 2, FattoreY 32/15; font factor the mean, 2.0666...
    QTest::newRow("1280x1024") << 19200.f << 15360.f << true << 12000.f << 12032.f << 2430.f << 1312.f
                               << 12.0 * 2.0666667;
    QTest::newRow("1920x1080") << 28800.f << 16200.f << true << 18000.f << 12690.f << 3645.f << 1383.75f
                               << 12.0 * 2.625;
}

void TestAdattaSchermo::prodotti() {
    QFETCH(float, larghezza);
    QFETCH(float, altezza);
    QFETCH(bool, scala);
    FormProva f;
    QCOMPARE(AdattaSchermo(f, larghezza, altezza), scala);
    QCOMPARE(f.LarghezzaProgetto, std::int16_t(9600));
    QCOMPARE(f.AltezzaProgetto, std::int16_t(7200));
    const Controllo* c = f.controllo(QStringLiteral("Command1"));
    QTEST(c->Left, "left");
    QTEST(c->Top, "top");
    QTEST(c->Width, "width");
    QTEST(c->Height, "height");
    QFETCH(double, font);
    QVERIFY2(std::abs(c->FontSize - font) < 1e-5, qPrintable(QString::number(c->FontSize, 'g', 10)));
    // The restored size of the form follows the same factors.
    if (scala) QCOMPARE(f.Width, 4800.f * f.FattoreX);
    else QCOMPARE(f.Width, 4800.f);
    // Pixels are twips / 15.
    QCOMPARE(c->widget->geometry(), QRect(qRound(c->Left / 15), qRound(c->Top / 15), qRound(c->Width / 15),
                                          qRound(c->Height / 15)));
}

void TestAdattaSchermo::lineeEImmagini() {
    FormProva f;
    const double fontImmagine = f.controllo(QStringLiteral("Image1"))->FontSize;
    AdattaSchermo(f, 19200, 15360);
    const Controllo* im = f.controllo(QStringLiteral("Image1"));
    QCOMPARE(im->Left, 3360.f);
    QCOMPARE(im->Width, 12510.f);
    QCOMPARE(im->Top, 1280.f);
    QCOMPARE(im->FontSize, fontImmagine);  // an image has no font to scale
    const Controllo* li = f.controllo(QStringLiteral("Line1"));
    QCOMPARE(li->X1, 480.f);
    QCOMPARE(li->X2, 18720.f);
    QCOMPARE(li->Y1, 10496.f);
    QCOMPARE(li->Y2, 10496.f);
    // A line has no position or size of its own to scale.
    QCOMPARE(li->Left, 0.f);
    QCOMPARE(li->Width, 0.f);
}

void TestAdattaSchermo::schermoPrimario() {
    QScreen* s = QGuiApplication::primaryScreen();
    const Atteso* a = attesoPer(s->size());
    QVERIFY2(a, "schermo non previsto dalla tabella");
    // Logical size, whatever the device pixel ratio.
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) QCOMPARE(s->devicePixelRatio(), 2.0);
    QCOMPARE(SchermoInTwips(), QSizeF(s->size().width() * 15.0, s->size().height() * 15.0));

    Ambiente amb;
    Form2& f = GestoreForm::form2();
    const Controllo* calcola = f.controllo(QStringLiteral("Command4"));
    if (!a->scala) {
        QCOMPARE(f.FattoreX, 0.f);
        QCOMPARE(calcola->Left, 7560.f);
        QCOMPARE(calcola->Top, 4080.f);
        QCOMPARE(calcola->FontSize, 12.0);
        return;
    }
    QCOMPARE(f.FattoreX, a->fx);
    QCOMPARE(f.FattoreY, a->fy);
    QCOMPARE(calcola->Left, 7560.f * a->fx);
    QCOMPARE(calcola->Top, 4080.f * a->fy);
    QVERIFY(std::abs(calcola->FontSize - 12.0 * (double(a->fy) * 0.5 + double(a->fx) * 0.5)) < 1e-9);
    // Controls inside the frame scale with it, relative to it.
    const Controllo* o4 = f.controllo(QStringLiteral("Option4"));
    QCOMPARE(o4->Left, 3720.f * a->fx);
    QCOMPARE(o4->widget->parentWidget()->objectName(), QStringLiteral("Frame1"));
    const Controllo* li = f.controllo(QStringLiteral("Line1"));
    QCOMPARE(li->Y1, 4920.f * a->fy);
}

void TestAdattaSchermo::form1CentraLeEtichette() {
    const Atteso* a = attesoPer(QGuiApplication::primaryScreen()->size());
    QVERIFY(a);
    Ambiente amb;
    Form1& f = GestoreForm::form1();
    const Controllo* l3 = f.controllo(QStringLiteral("Label3"));
    const Controllo* l4 = f.controllo(QStringLiteral("Label4"));
    if (!a->scala) {
        // No scaling, no centring: the design left edges.
        QCOMPARE(l3->Left, 360.f);
        QCOMPARE(l4->Left, 3600.f);
        QCOMPARE(l3->FontSize, 13.5);
        return;
    }
    const float W = 4800.f * a->fx;  // restored outer width, half the maximized form
    QCOMPARE(f.Width, W);
    for (const Controllo* l : {l3, l4}) {
        // Width read after the fit: the label grew with its font.
        QCOMPARE(l->Width, float(l->widget->width() * 15));
        QCOMPARE(l->Left, (2 * W - l->Width) / 2);
    }
    QVERIFY(l3->FontSize > 13.5);
}

void TestAdattaSchermo::aboutDueVolte() {
    Ambiente amb;
    frmAbout* a = apriAbout();
    const Controllo primo = *a->controllo(QStringLiteral("cmdOK"));
    const QRect g1 = primo.widget->geometry();
    a->close();
    QCoreApplication::processEvents();
    frmAbout* b = apriAbout();
    const Controllo* secondo = b->controllo(QStringLiteral("cmdOK"));
    QCOMPARE(secondo->Left, primo.Left);
    QCOMPARE(secondo->Top, primo.Top);
    QCOMPARE(secondo->FontSize, primo.FontSize);
    QCOMPARE(secondo->widget->geometry(), g1);
    b->close();
}

QTEST_MAIN(TestAdattaSchermo)
#include "test_adatta_schermo.moc"
