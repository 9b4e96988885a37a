// The conditions form and the calculation run seen from the user's side:
// whole walks to the result forms, the heating-value buttons, and every way
// the run stops, with what was written before the stop.
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <span>

#include "forms/AiutoForm.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/Form7.h"
#include "forms/Form8.h"
#include "ui/Controlli.h"
#include "ui/Dialoghi.h"

using namespace termix;
using namespace termix::prova;

namespace {

struct Scritto {
    int form;
    const char* box;
    const char* testo;
};

// Expected texts in writing order. Values with a worked example (humidity
// 0,00734, energies 1195800 and 1136010, air 2081,022, flue gas 79,203 kmol/h
// and 2195,335 kg/h, molecular weight 27,717, shares 7,9 / 16,89 / 3,16 /
// 72,03 %, 1314,6 °C, specific heat 0,399, 1775,261 Nm3/h) match it; every
// other text was derived from the written formulas evaluated step by step in
// double precision with an independent script (Python floats, math.pow and
// math.exp), then cut toward minus infinity to the box's decimals.
const Scritto Metano[] = {
    {7, "Text19", "0,00734"}, {7, "Text1", "74,87"}, {7, "Text2", "25,13"}, {7, "Text3", "0"},
    {7, "Text4", "0"}, {7, "Text5", "0"}, {7, "Text6", "0"}, {7, "Text7", "0"}, {7, "Text8", "0"},
    {7, "Text9", "1195800"}, {7, "Text10", "1136010"}, {7, "Text12", "398,928"}, {7, "Text13", "278,85"},
    {7, "Text14", "1734,185"}, {7, "Text15", "1327,86"}, {7, "Text16", "2081,022"}, {7, "Text17", "1593,432"},
    {7, "Text18", "15,294"}, {8, "Text1", "1314,6"}, {8, "Text3", "27,717"}, {8, "Text4", "0,399"},
    {8, "Text5", "0,023408"}, {8, "Text6", "0"}, {8, "Text7", "1775,261"}, {8, "Text8", "10319,366"},
    {8, "Text9", "57,052"}, {8, "Text10", "1598,37"}, {8, "Text11", "72,03"}, {8, "Text12", "72,8"},
    {8, "Text13", "2,505"}, {8, "Text14", "80,184"}, {8, "Text15", "3,16"}, {8, "Text16", "3,65"},
    {8, "Text17", "6,264"}, {8, "Text18", "275,712"}, {8, "Text19", "7,9"}, {8, "Text20", "12,55"},
    {8, "Text21", "13,38"}, {8, "Text22", "241,067"}, {8, "Text23", "16,89"}, {8, "Text24", "10,98"},
    {8, "Text25", "0"}, {8, "Text26", "0"}, {8, "Text27", "0"}, {8, "Text28", "0"}, {8, "Text29", "0"},
    {8, "Text30", "0"}, {8, "Text31", "0"}, {8, "Text32", "0"}, {8, "Text33", "79,203"},
    {8, "Text34", "2195,335"}, {8, "Text35", "100,00"}, {8, "Text36", "100,00"},
};
const Scritto CloruroDiVinile[] = {
    {7, "Text19", "0,00745"}, {7, "Text1", "19,217"}, {7, "Text2", "2,419"}, {7, "Text3", "0"},
    {7, "Text4", "28,362"}, {7, "Text5", "0"}, {7, "Text6", "0"}, {7, "Text7", "0"}, {7, "Text8", "0"},
    {7, "Text9", "198110,9"}, {7, "Text10", "192167,6"}, {7, "Text12", "64,001"}, {7, "Text13", "44,736"},
    {7, "Text14", "278,219"}, {7, "Text15", "213,031"}, {7, "Text16", "445,151"}, {7, "Text17", "340,851"},
    {7, "Text18", "3,319"}, {8, "Text1", "1121,3"}, {8, "Text3", "29,648"}, {8, "Text4", "0,348"},
    {8, "Text5", "0,044424"}, {8, "Text6", "442,303"}, {8, "Text7", "376,762"}, {8, "Text8", "1923,489"},
    {8, "Text9", "12,204"}, {8, "Text10", "341,907"}, {8, "Text11", "72,6"}, {8, "Text12", "68,6"},
    {8, "Text13", "1,206"}, {8, "Text14", "38,592"}, {8, "Text15", "7,17"}, {8, "Text16", "7,74"},
    {8, "Text17", "1,608"}, {8, "Text18", "70,77"}, {8, "Text19", "9,56"}, {8, "Text20", "14,2"},
    {8, "Text21", "0,987"}, {8, "Text22", "17,784"}, {8, "Text23", "5,87"}, {8, "Text24", "3,56"},
    {8, "Text25", "0"}, {8, "Text26", "0"}, {8, "Text27", "0"}, {8, "Text28", "0"}, {8, "Text29", "0,804"},
    {8, "Text30", "29,315"}, {8, "Text31", "4,78"}, {8, "Text32", "5,88"}, {8, "Text33", "16,809"},
    {8, "Text34", "498,37"}, {8, "Text35", "100,00"}, {8, "Text36", "100,00"},
};
const Scritto Ponderale[] = {
    {7, "Text19", "0,01204"}, {7, "Text1", "450"}, {7, "Text2", "60"}, {7, "Text3", "200"}, {7, "Text4", "5"},
    {7, "Text5", "3"}, {7, "Text6", "12"}, {7, "Text7", "120"}, {7, "Text8", "150"}, {7, "Text9", "4200000"},
    {7, "Text10", "3959032,5"}, {7, "Text12", "1476,957"}, {7, "Text13", "1032,393"},
    {7, "Text14", "6420,503"}, {7, "Text15", "4916,158"}, {7, "Text16", "11556,906"},
    {7, "Text17", "8849,086"}, {7, "Text18", "139,26"}, {8, "Text1", "967,1"}, {8, "Text3", "28,729"},
    {8, "Text4", "0,335"}, {8, "Text5", "0,085457"}, {8, "Text6", "0"}, {8, "Text7", "9785,213"},
    {8, "Text8", "44433,699"}, {8, "Text9", "317,267"}, {8, "Text10", "8888,571"}, {8, "Text11", "72,67"},
    {8, "Text12", "70,86"}, {8, "Text13", "37,108"}, {8, "Text14", "1187,473"}, {8, "Text15", "8,5"},
    {8, "Text16", "9,46"}, {8, "Text17", "37,652"}, {8, "Text18", "1657,145"}, {8, "Text19", "8,62"},
    {8, "Text20", "13,21"}, {8, "Text21", "44,302"}, {8, "Text22", "798,144"}, {8, "Text23", "10,14"},
    {8, "Text24", "6,36"}, {8, "Text25", "0,094"}, {8, "Text26", "6,024"}, {8, "Text27", "0,02"},
    {8, "Text28", "0,04"}, {8, "Text29", "0,141"}, {8, "Text30", "5,167"}, {8, "Text31", "0,03"},
    {8, "Text32", "0,04"}, {8, "Text33", "436,567"}, {8, "Text34", "12542,528"}, {8, "Text35", "100,00"},
    {8, "Text36", "100,00"},
};

const QString Verificare = QStringLiteral("Verificare che gli input siano corretti !");
const QString Inadeguato = QStringLiteral("Combustibile con inadeguato potere calorifico !");
const QColor Rosso(255, 0, 0);

FormBase& risultati(int n) { return n == 7 ? static_cast<FormBase&>(GestoreForm::form7()) : GestoreForm::form8(); }

// Records which result boxes the run writes, in order.
struct Registro {
    QStringList scritti;
    QList<QMetaObject::Connection> connessioni;
    Registro() {
        for (int n : {7, 8})
            for (QLineEdit* e : risultati(n).findChildren<QLineEdit*>()) {
                const QString nome = QStringLiteral("Form%1.%2").arg(n).arg(e->objectName());
                connessioni << QObject::connect(e, &QLineEdit::textChanged, [this, nome] { scritti << nome; });
            }
    }
    ~Registro() {
        for (auto& c : connessioni) QObject::disconnect(c);
    }
};

template <size_t N>
QStringList ordine(const Scritto (&t)[N]) {
    QStringList l;
    for (const Scritto& s : t) l << QStringLiteral("Form%1.%2").arg(s.form).arg(QString::fromLatin1(s.box));
    return l;
}

void confronta(std::span<const Scritto> t) {
    for (const Scritto& s : t)
        QVERIFY2(testo(risultati(s.form), s.box) == QString::fromUtf8(s.testo),
                 qPrintable(QStringLiteral("Form%1.%2: %3 invece di %4")
                                .arg(s.form)
                                .arg(QString::fromLatin1(s.box), testo(risultati(s.form), s.box),
                                     QString::fromUtf8(s.testo))));
}

void scriviTutti(FormBase& f, std::initializer_list<std::pair<const char*, const char*>> valori) {
    for (auto [b, v] : valori) digita(f, b, QString::fromUtf8(v));
}

// Form2 with methane and a flow of 100, then on to Form3.
Form3& metanoFinoAForm3() {
    Form2& f2 = GestoreForm::form2();
    if (!mostraAttiva(f2)) qFatal("Form2 non attivo");
    digita(f2, "Text20", QStringLiteral("100"));
    clicca(f2, "Option1");
    clicca(f2, "Command4");
    clicca(f2, "Command2");
    Form3& f3 = GestoreForm::form3();
    if (!QTest::qWaitForWindowActive(&f3)) qFatal("Form3 non attivo");
    return f3;
}

void condizioniMetano(Form3& f) {
    scriviTutti(f, {{"Text2", "20"}, {"Text4", "20"}, {"Text5", "50"}, {"Text8", "20"}, {"Text10", "5"}});
}

// Vinyl chloride C2H3Cl by its formula, 50 kg/h, then "&No" on Form3.
Form3& cloruroDiVinileFinoAForm3() {
    Form2& f2 = GestoreForm::form2();
    if (!mostraAttiva(f2)) qFatal("Form2 non attivo");
    digita(f2, "Text20", QStringLiteral("50"));
    clicca(f2, "Option2");
    clicca(f2, "Option3");
    scriviTutti(f2, {{"Text3", "2"}, {"Text5", "3"}, {"Text9", "1"}});
    clicca(f2, "Command4");
    clicca(f2, "Command2");
    Form3& f3 = GestoreForm::form3();
    if (!QTest::qWaitForWindowActive(&f3)) qFatal("Form3 non attivo");
    return f3;
}

QString attiva() {
    QWidget* w = QApplication::activeWindow();
    return w ? w->objectName() : QString();
}

}  // namespace

class TestForm3 : public QObject {
    Q_OBJECT
private slots:
    void aspetto();
    void giroMetano();
    void cloroConNo();
    void ponderaleConInertiEAcqua();
    void siDopoNo();
    void erroreNelNo();
    void calcolaSenzaDati();
    void arrestoEnergiaDopoUnGiro();
    void erroreNelCloro();
    void dueCalcoliUguali();
    void arrestoConDialoghiVeri();
};

void TestForm3::aspetto() {
    Ambiente amb;
    Form3& f = GestoreForm::form3();
    QVERIFY(mostraAttiva(f));
    QCOMPARE(f.windowTitle(), QStringLiteral("Bilancio di massa e di energia della combustione"));
    QCOMPARE(ctl<QLabel>(f, "Label2")->text(), QStringLiteral("Potere calorifico noto ?"));
    QCOMPARE(ctl<QLabel>(f, "Label6")->text(), QStringLiteral("Umidità relativa dell'aria [%]"));
    QCOMPARE(ctl<QPushButton>(f, "Command6")->text(), QStringLiteral("&Si"));
    QCOMPARE(ctl<QPushButton>(f, "Command7")->text(), QStringLiteral("&No"));
    QCOMPARE(focusName(), QStringLiteral("Text1"));
    const Controllo* c = f.controllo(QStringLiteral("Command4"));
    // 1024 x 768: both factors 1.6.
    QCOMPARE(QRectF(c->Left, c->Top, c->Width, c->Height), QRectF(11520, 5376, 1944, 984));
}

void TestForm3::giroMetano() {
    Ambiente amb;
    Form3& f = metanoFinoAForm3();
    QCOMPARE(testo(f, "Text1"), QStringLiteral("11958"));
    QCOMPARE(coloreDi(f, "Text1"), Rosso);
    condizioniMetano(f);
    Registro reg;  // creates both result forms, so every write is seen
    clicca(f, "Command4");
    QVERIFY(amb.dialoghi.mostrati.empty());
    QCOMPARE(reg.scritti, ordine(Metano));
    confronta(Metano);
    QTRY_COMPARE(attiva(), QStringLiteral("Form7"));
    QCOMPARE(GestoreForm::form7().focusWidget()->objectName(), QStringLiteral("Command1"));
    QVERIFY(!GestoreForm::form8().isVisible());  // reached through "&Continua"
    QCOMPARE(modulo1().TempFumi.v > 1314.63 && modulo1().TempFumi.v < 1314.64, true);
}

void TestForm3::cloroConNo() {
    Ambiente amb;
    Form3& f = cloruroDiVinileFinoAForm3();
    QCOMPARE(testo(f, "Text1"), QString());
    clicca(f, "Command7");
    // 7783 * 0.38436 + 25016.73 * 0.048385 - 422.505 * 0.567257 = 3962.21...
    QCOMPARE(testo(f, "Text1"), QStringLiteral("3962,21"));
    QCOMPARE(coloreDi(f, "Text1"), Rosso);
    scriviTutti(f, {{"Text2", "60"}, {"Text4", "15"}, {"Text5", "70"}, {"Text8", "300"}, {"Text10", "3"}});
    clicca(f, "Command4");
    QVERIFY(amb.dialoghi.mostrati.empty());
    confronta(CloruroDiVinile);
    QTRY_COMPARE(attiva(), QStringLiteral("Form7"));
}

void TestForm3::ponderaleConInertiEAcqua() {
    Ambiente amb;
    Form2& f2 = GestoreForm::form2();
    QVERIFY(mostraAttiva(f2));
    digita(f2, "Text20", QStringLiteral("1000"));
    clicca(f2, "Option2");
    clicca(f2, "Option4");
    scriviTutti(f2, {{"Text4", "0,45"},
                     {"Text6", "0,06"},
                     {"Text8", "0,2"},
                     {"Text10", "0,005"},
                     {"Text12", "0,003"},
                     {"Text14", "0,012"},
                     {"Text15", "0,15"},
                     {"Text16", "0,12"}});
    clicca(f2, "Command4");
    QCOMPARE(testo(f2, "Text17"), QStringLiteral("46,154"));
    QCOMPARE(testo(f2, "Text18"), QStringLiteral("1,476"));
    clicca(f2, "Command2");
    Form3& f = GestoreForm::form3();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    clicca(f, "Command6");
    scriviTutti(f, {{"Text1", "4200"}, {"Text2", "80"}, {"Text4", "25"}, {"Text5", "60"}, {"Text8", "350"},
                    {"Text10", "4"}});
    clicca(f, "Command4");
    QVERIFY(amb.dialoghi.mostrati.empty());
    confronta(Ponderale);
}

void TestForm3::siDopoNo() {
    Ambiente amb;
    Form3& f = cloruroDiVinileFinoAForm3();
    clicca(f, "Command7");
    QCOMPARE(coloreDi(f, "Text1"), Rosso);
    clicca(f, "Command6");
    QCOMPARE(coloreDi(f, "Text1"), QColor(0, 0, 0));
    QCOMPARE(focusName(), QStringLiteral("Text1"));
    QCOMPARE(testo(f, "Text1"), QStringLiteral("3962,21"));  // only the colour and the focus change
    box(f, "Text1")->selectAll();
    QTest::keyClicks(box(f, "Text1"), QStringLiteral("4100,5"));
    QTest::keyClick(box(f, "Text1"), Qt::Key_Return);
    QCOMPARE(modulo1().PotereCalorifico.v, 4100.5);
}

void TestForm3::erroreNelNo() {
    Ambiente amb;
    Form2& f2 = GestoreForm::form2();
    QVERIFY(mostraAttiva(f2));
    clicca(f2, "Option2");
    clicca(f2, "Option4");
    digita(f2, "Text4", QStringLiteral("1E308"));  // 7783 times this overflows
    clicca(f2, "Command2");
    Form3& f = GestoreForm::form3();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    digita(f, "Text1", QStringLiteral("5000"));
    clicca(f, "Command7");
    QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{Verificare});
    QVERIFY(amb.dialoghi.mostrati[0].icona == Icona::Esclamazione);
    QCOMPARE(testo(f, "Text1"), QStringLiteral("5000"));
    QCOMPARE(coloreDi(f, "Text1"), QColor(0, 0, 0));
}

void TestForm3::calcolaSenzaDati() {
    Ambiente amb;
    Form3& f = GestoreForm::form3();
    QVERIFY(mostraAttiva(f));
    clicca(f, "Command4");
    QCOMPARE(amb.dialoghi.testiMostrati(), (QStringList{Inadeguato, Verificare}));
    for (const auto& m : amb.dialoghi.mostrati) QVERIFY(m.icona == Icona::Esclamazione && m.pulsanti == Pulsanti::Ok);
    // Only the humidity was written (0 °C, 0 %: none), Form8 never touched.
    QCOMPARE(testo(GestoreForm::form7(), "Text19"), QStringLiteral("0"));
    QCOMPARE(testo(GestoreForm::form7(), "Text1"), QString());
    QCOMPARE(testo(GestoreForm::form8(), "Text1"), QString());
    QVERIFY(!GestoreForm::form7().isVisible());
    QCOMPARE(attiva(), QStringLiteral("Form3"));
}

void TestForm3::arrestoEnergiaDopoUnGiro() {
    Ambiente amb;
    Form3& f = metanoFinoAForm3();
    condizioniMetano(f);
    clicca(f, "Command4");
    QTRY_COMPARE(attiva(), QStringLiteral("Form7"));
    clicca(GestoreForm::form7(), "Command2");
    QTRY_COMPARE(attiva(), QStringLiteral("Form3"));
    // Losses of 100 % leave no energy; the humidity changes to 80 %.
    digita(f, "Text5", QStringLiteral("80"));
    digita(f, "Text10", QStringLiteral("100"));
    Registro reg;
    clicca(f, "Command4");
    QCOMPARE(amb.dialoghi.testiMostrati(), (QStringList{Inadeguato, Verificare}));
    QCOMPARE(reg.scritti, QStringList{QStringLiteral("Form7.Text19")});
    // 20 °C, 80 %: 0.00622 * 80 * 17.545 / (760 - 17.545) = 0.011759
    QCOMPARE(testo(GestoreForm::form7(), "Text19"), QStringLiteral("0,01175"));
    confronta(std::span(Metano).subspan(1));  // the rest is from the first run
    QCOMPARE(attiva(), QStringLiteral("Form3"));
}

void TestForm3::erroreNelCloro() {
    Ambiente amb;
    Form3& f = cloruroDiVinileFinoAForm3();
    clicca(f, "Command7");
    scriviTutti(f, {{"Text2", "60"}, {"Text4", "15"}, {"Text5", "70"}, {"Text8", "300"}, {"Text10", "3"}});
    clicca(f, "Command4");
    QTRY_COMPARE(attiva(), QStringLiteral("Form7"));
    clicca(GestoreForm::form7(), "Command2");
    QTRY_COMPARE(attiva(), QStringLiteral("Form3"));
    // No excess air: no oxygen left for the chlorine equilibrium.
    digita(f, "Text2", QStringLiteral("0"));
    QTest::keyClick(box(f, "Text2"), Qt::Key_Return);
    Registro reg;
    clicca(f, "Command4");
    QCOMPARE(amb.dialoghi.testiMostrati(), QStringList{Verificare});
    QVERIFY(!reg.scritti.isEmpty());
    for (const QString& s : reg.scritti) QVERIFY2(s.startsWith(QLatin1String("Form7.")), qPrintable(s));
    // Actual air equals stoichiometric air now; all of Form8 is the first run's.
    QCOMPARE(testo(GestoreForm::form7(), "Text16"), QStringLiteral("278,219"));
    QCOMPARE(testo(GestoreForm::form7(), "Text17"), QStringLiteral("213,031"));
    confronta(std::span(CloruroDiVinile).subspan(18));  // Form8 only
    QCOMPARE(attiva(), QStringLiteral("Form3"));
}

void TestForm3::dueCalcoliUguali() {
    Ambiente amb;
    Form3& f = metanoFinoAForm3();
    condizioniMetano(f);
    clicca(f, "Command4");
    QStringList prima;
    for (int n : {7, 8})
        for (QLineEdit* e : risultati(n).findChildren<QLineEdit*>()) prima << e->text();
    clicca(GestoreForm::form7(), "Command2");
    QTRY_COMPARE(attiva(), QStringLiteral("Form3"));
    Registro reg;
    clicca(f, "Command4");
    QStringList dopo;
    for (int n : {7, 8})
        for (QLineEdit* e : risultati(n).findChildren<QLineEdit*>()) dopo << e->text();
    QCOMPARE(dopo, prima);
    QVERIFY(reg.scritti.isEmpty());  // same texts: nothing changed
    confronta(Metano);
}

// The energy stop with the real message boxes: two boxes, one after the
// other, each answered through the active modal widget.
void TestForm3::arrestoConDialoghiVeri() {
    QVERIFY(caricaTraduzioneItaliana());
    Ambiente amb;
    impostaDialoghi(nullptr);
    Form3& f = GestoreForm::form3();
    QVERIFY(mostraAttiva(f));
    QStringList visti, pulsanti;
    QList<QMessageBox::Icon> icone;
    std::function<void()> rispondi = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, rispondi);
            return;
        }
        visti << box->text();
        icone << box->icon();
        for (QAbstractButton* b : box->buttons()) pulsanti << b->text();
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        if (visti.size() < 2) QTimer::singleShot(0, rispondi);
        ok->click();
    };
    QTimer::singleShot(0, rispondi);
    clicca(f, "Command4");
    QCOMPARE(visti, (QStringList{Inadeguato, Verificare}));
    QCOMPARE(icone, (QList<QMessageBox::Icon>{QMessageBox::Warning, QMessageBox::Warning}));
    QCOMPARE(pulsanti, (QStringList{QStringLiteral("OK"), QStringLiteral("OK")}));
    QVERIFY(f.isVisible());  // still in front: nothing else was shown
    QVERIFY(!GestoreForm::form7().isVisible());
}

QTEST_MAIN(TestForm3)
#include "test_form3.moc"
