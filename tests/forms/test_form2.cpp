// The fuel form: its starting state, the four option handlers and their
// colours, focus and visibility, and "&Calcola" with the core's effects.
#include <QLabel>

#include "forms/AiutoForm.h"
#include "forms/Form2.h"
#include "forms/Form3.h"

using namespace termix;
using namespace termix::prova;

namespace {

const QColor Rosso(255, 0, 0);
const QColor Nero(0, 0, 0);
const char* const Atomici[] = {"Text3", "Text5", "Text7", "Text9", "Text11", "Text13"};
const char* const Ponderali[] = {"Text4", "Text6", "Text8", "Text10", "Text12", "Text14"};

QString nomeBox(int i) { return QStringLiteral("Text%1").arg(i); }

bool selezionato(Form2& f, const char* o) { return ctl<QRadioButton>(f, o)->isChecked(); }

struct Giro {
    Ambiente amb;
    Form2& f = GestoreForm::form2();
    Giro() { QVERIFY2(mostraAttiva(f), "Form2 non attivo"); }
};

}  // namespace

class TestForm2 : public QObject {
    Q_OBJECT
private slots:
    void inizio();
    void calcolaSenzaScelta();
    void metanoPoiAltri();
    void atomicaPoiPonderale();
    void ponderalePoiAtomica();
    void calcoloAtomico_data();
    void calcoloAtomico();
    void metanoPoiPonderaleSenzaDigitare();
    void erroreAritmetico();
};

void TestForm2::inizio() {
    Giro g;
    Form2& f = g.f;
    QCOMPARE(f.windowTitle(), QStringLiteral("Bilancio di massa e di energia della della combustione"));
    QVERIFY(ctl(f, "Frame1")->isHidden());
    QVERIFY(ctl(f, "Label10")->isHidden());
    QVERIFY(ctl(f, "Text19")->isHidden());
    for (const char* o : {"Option1", "Option2", "Option3", "Option4"}) QVERIFY(!selezionato(f, o));
    QCOMPARE(focusName(), QStringLiteral("Text1"));
    for (const char* r : {"Text17", "Text18", "Text19"}) QCOMPARE(coloreDi(f, r), Rosso);
    for (int i = 1; i <= 20; ++i) QCOMPARE(box(f, qPrintable(nomeBox(i)))->text(), QString());
    QCOMPARE(ctl<QLabel>(f, "Label24")->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    QCOMPARE(ctl<QLabel>(f, "Label9")->palette().color(QPalette::WindowText), QColor(0, 0, 192));
    QCOMPARE(ctl<QLabel>(f, "Label14")->text(), QStringLiteral("Composizione :   1- Atomica  "));
    QCOMPARE(ctl(f, "Option3")->parentWidget(), ctl(f, "Frame1"));
    // Tab order by tab index, focusable controls only.
    const QStringList attesa = {"Text1",   "Text2",   "Text3",   "Text4",   "Command4", "Text5",  "Text6",
                                "Text7",   "Text8",   "Text9",   "Text10",  "Text11",   "Text12", "Text13",
                                "Text14",  "Text15",  "Text16",  "Text17",  "Text18",   "Command1", "Command2",
                                "Option1", "Option2", "Option3", "Option4", "Text19",   "Text20"};
    QStringList vista;
    QWidget* w = ctl(f, "Text1");
    do {
        if (w->focusPolicy() != Qt::NoFocus && w->window() == &f && !w->objectName().isEmpty()) vista << w->objectName();
        w = w->nextInFocusChain();
    } while (w != ctl(f, "Text1") && vista.size() < 40);
    QCOMPARE(vista, attesa);
}

void TestForm2::calcolaSenzaScelta() {
    Giro g;
    digita(g.f, "Text3", QStringLiteral("2"));
    clicca(g.f, "Command4");
    QCOMPARE(focusName(), QStringLiteral("Command2"));
    QCOMPARE(testo(g.f, "Text3"), QStringLiteral("2"));
    for (int i = 4; i <= 19; ++i) QCOMPARE(box(g.f, qPrintable(nomeBox(i)))->text(), QString());
    QVERIFY(!GestoreForm::esiste(QStringLiteral("Form3")));
    QVERIFY(g.amb.dialoghi.mostrati.empty());
}

void TestForm2::metanoPoiAltri() {
    Giro g;
    Form2& f = g.f;
    clicca(f, "Option1");
    QVERIFY(ctl(f, "Frame1")->isHidden());
    QVERIFY(!ctl(f, "Label10")->isHidden());
    QVERIFY(!ctl(f, "Text19")->isHidden());
    QCOMPARE(testo(f, "Text3"), QString());  // nothing filled before "&Calcola"
    clicca(f, "Command4");
    const char* attesi[][2] = {{"Text2", "Metano"},   {"Text3", "1"},        {"Text4", "0,7487"}, {"Text5", "4"},
                               {"Text6", "0,2513"},   {"Text17", "124,665"}, {"Text18", "3,98928"},
                               {"Text19", "16,043"}};
    for (auto& a : attesi) QCOMPARE(testo(f, a[0]), QString::fromLatin1(a[1]));
    for (int i = 7; i <= 16; ++i) QCOMPARE(box(f, qPrintable(nomeBox(i)))->text(), QStringLiteral("0"));
    for (int i = 3; i <= 19; ++i) QCOMPARE(coloreDi(f, qPrintable(nomeBox(i))), Rosso);
    QCOMPARE(coloreDi(f, "Text2"), Nero);
    QCOMPARE(focusName(), QStringLiteral("Command2"));
    QVERIFY(selezionato(f, "Option3"));
    QVERIFY(!selezionato(f, "Option4"));
    QVERIFY(ctl(f, "Frame1")->isHidden());
    const Modulo1& m = modulo1();
    QCOMPARE(m.FrazC.v, 0.7487);
    QCOMPARE(m.FrazH.v, 0.2513);
    QCOMPARE(m.OssigenoPonderale.v, 3.98928);
    QCOMPARE(m.PotereCalorifico.v, 11958.0);
    // The heating value reached Form3, created but not shown.
    QVERIFY(GestoreForm::esiste(QStringLiteral("Form3")));
    Form3& f3 = GestoreForm::form3();
    QVERIFY(!f3.isVisible());
    QCOMPARE(testo(f3, "Text1"), QStringLiteral("11958"));
    QCOMPARE(coloreDi(f3, "Text1"), Rosso);

    clicca(f, "Option2");
    QVERIFY(!selezionato(f, "Option1"));
    QVERIFY(!ctl(f, "Frame1")->isHidden());
    QVERIFY(selezionato(f, "Option3"));  // Atomica already selected
    for (int i = 3; i <= 19; ++i) {
        QCOMPARE(box(f, qPrintable(nomeBox(i)))->text(), QString());
        QCOMPARE(coloreDi(f, qPrintable(nomeBox(i))), Rosso);  // emptied, still red
    }
    QCOMPARE(testo(f, "Text2"), QStringLiteral("Metano"));
    QCOMPARE(m.FrazC.v, 0.7487);  // emptying a box leaves its variable alone
    QVERIFY(g.amb.dialoghi.mostrati.empty());
}

void TestForm2::atomicaPoiPonderale() {
    Giro g;
    Form2& f = g.f;
    clicca(f, "Option2");
    clicca(f, "Option3");
    QCOMPARE(focusName(), QStringLiteral("Text3"));
    QVERIFY(!ctl(f, "Text19")->isHidden());
    for (const char* b : Atomici) QCOMPARE(coloreDi(f, b), Nero);
    digita(f, "Text3", QStringLiteral("1"));
    digita(f, "Text5", QStringLiteral("4"));
    clicca(f, "Command4");
    for (const char* b : Ponderali) QCOMPARE(coloreDi(f, b), Rosso);
    QCOMPARE(testo(f, "Text4"), QStringLiteral("0,7486"));
    clicca(f, "Option4");
    QCOMPARE(focusName(), QStringLiteral("Text4"));
    QVERIFY(ctl(f, "Label10")->isHidden());
    QVERIFY(ctl(f, "Text19")->isHidden());
    for (const char* b : Atomici) QCOMPARE(box(f, b)->text(), QString());
    for (const char* b : Ponderali) QCOMPARE(coloreDi(f, b), Nero);
    QCOMPARE(testo(f, "Text4"), QStringLiteral("0,7486"));  // the weight boxes keep their texts
}

void TestForm2::ponderalePoiAtomica() {
    Giro g;
    Form2& f = g.f;
    clicca(f, "Option2");
    clicca(f, "Option4");
    QCOMPARE(focusName(), QStringLiteral("Text4"));
    digita(f, "Text4", QStringLiteral("0,75"));
    digita(f, "Text6", QStringLiteral("0,25"));
    clicca(f, "Option3");
    QCOMPARE(focusName(), QStringLiteral("Text3"));
    QCOMPARE(testo(f, "Text4"), QStringLiteral("0,75"));
    QCOMPARE(testo(f, "Text6"), QStringLiteral("0,25"));
    QCOMPARE(coloreDi(f, "Text4"), Nero);  // recoloured only by a calculation
    QVERIFY(!ctl(f, "Text19")->isHidden());
    QCOMPARE(modulo1().FrazH.v, 0.25);
}

void TestForm2::calcoloAtomico_data() {
    QTest::addColumn<QStringList>("digitati");  // box=value, typed in this order
    QTest::addColumn<QStringList>("attesi");    // box=text after "&Calcola"
    // Methane typed as a formula (worked example): truncated, not the preset.
    QTest::newRow("CH4") << QStringList{"Text3=1", "Text5=4"}
                         << QStringList{"Text19=16,043", "Text4=0,7486", "Text6=0,2513", "Text8=0", "Text17=124,664",
                                        "Text18=3,989"};
    // Vinyl chloride C2H3Cl: M = 2*12.011 + 3*1.008 + 35.453 = 62.499; C 24.022/62.499 = 0.38436;
    // H 3.024/62.499 = 0.04838; Cl 0.56726. Per kg: C 32.0 mol, H 48.0, Cl 16.0; HCl binds 16 H,
    // O2 = 32 + 32/4 = 40 mol/kg = 1.28 kg/kg.
    QTest::newRow("C2H3Cl") << QStringList{"Text3=2", "Text5=3", "Text9=1"}
                            << QStringList{"Text19=62,499", "Text4=0,3843", "Text6=0,0483", "Text10=0,5672",
                                           "Text12=0", "Text17=40", "Text18=1,28"};
    // Chlorine beyond hydrogen, C H Cl2: all H goes to HCl, O2 only for C: 1 mol per formula.
    // M = 12.011 + 1.008 + 70.906 = 83.925; 1000/83.925 = 11.9154 mol/kg -> 0,3812 kg/kg.
    QTest::newRow("CHCl2") << QStringList{"Text3=1", "Text5=1", "Text9=2"}
                           << QStringList{"Text19=83,925", "Text17=11,915", "Text18=0,381"};
    // Inerts and water 0.1 each: fractions of the fuel as fed sum to 0.8.
    // C: 12.011 / (16.043 / 0.8) = 0.59894; O2 per kg: 124.6649 * 0.8 = 99.73 mol.
    QTest::newRow("CH4 con inerti e acqua")
        << QStringList{"Text3=1", "Text5=4", "Text15=0,1", "Text16=0,1"}
        << QStringList{"Text19=16,043", "Text4=0,5989", "Text6=0,201", "Text17=99,731", "Text18=3,191"};
}

void TestForm2::calcoloAtomico() {
    QFETCH(QStringList, digitati);
    QFETCH(QStringList, attesi);
    Giro g;
    Form2& f = g.f;
    clicca(f, "Option2");
    clicca(f, "Option3");
    for (const QString& d : digitati) {
        const QStringList kv = d.split(QLatin1Char('='));
        digita(f, qPrintable(kv[0]), kv[1]);
    }
    clicca(f, "Command4");
    QVERIFY(g.amb.dialoghi.mostrati.empty());
    for (const QString& a : attesi) {
        const QStringList kv = a.split(QLatin1Char('='));
        QCOMPARE(testo(f, qPrintable(kv[0])), kv[1]);
    }
    for (const char* b : Ponderali) QCOMPARE(coloreDi(f, b), Rosso);
    for (const char* b : Atomici) QCOMPARE(coloreDi(f, b), Nero);
    QCOMPARE(focusName(), QStringLiteral("Command2"));
}

void TestForm2::metanoPoiPonderaleSenzaDigitare() {
    Giro g;
    Form2& f = g.f;
    clicca(f, "Option1");
    clicca(f, "Command4");
    clicca(f, "Option2");
    clicca(f, "Option4");  // puts the focus into the empty carbon box
    clicca(f, "Command4");
    // Leaving the empty carbon box for the button stores 0 there first; the
    // rest comes from the methane fractions still in the record: hydrogen
    // only, 251.3 / 1.008 / 4 = 62.3264 mol/kg, 32 * 62.3264 / 1000 = 1.99444 kg/kg.
    QCOMPARE(testo(f, "Text4"), QStringLiteral("0"));
    QCOMPARE(modulo1().FrazC.v, 0.0);
    QCOMPARE(modulo1().FrazH.v, 0.2513);
    QCOMPARE(testo(f, "Text17"), QStringLiteral("62,326"));
    QCOMPARE(testo(f, "Text18"), QStringLiteral("1,994"));
    for (const char* b : {"Text6", "Text8", "Text10", "Text12", "Text14"}) QCOMPARE(box(f, b)->text(), QString());
}

void TestForm2::erroreAritmetico() {
    Giro g;
    Form2& f = g.f;
    clicca(f, "Option2");
    clicca(f, "Option3");
    digita(f, "Text3", QStringLiteral("1"));
    digita(f, "Text15", QStringLiteral("0,5"));
    digita(f, "Text16", QStringLiteral("0,5"));
    clicca(f, "Command4");
    QCOMPARE(g.amb.dialoghi.testiMostrati(), QStringList{QStringLiteral("Verificare che gli input siano corretti !")});
    QVERIFY(g.amb.dialoghi.mostrati[0].icona == Icona::Esclamazione);
    // Written before the failing division: the colours and the molecular weight.
    // 12.011 is stored a hair below itself, so four decimals cut to 12,0109.
    QCOMPARE(testo(f, "Text19"), QStringLiteral("12,0109"));
    for (const char* b : Ponderali) {
        QCOMPARE(coloreDi(f, b), Rosso);
        QCOMPARE(box(f, b)->text(), QString());
    }
    QCOMPARE(testo(f, "Text17"), QString());
    QCOMPARE(modulo1().PesoMolecolare.v, 12.011);
    QCOMPARE(focusName(), QStringLiteral("Command4"));  // not moved on to "&Continua"
}

QTEST_MAIN(TestForm2)
#include "test_form2.moc"
