// The two result forms: boxes red from the start, labels, tab order and first
// focus, the humidity label's access key, and the report buttons' seam.
#include <QLabel>
#include <QStyleOptionButton>

#include "forms/AiutoForm.h"
#include "forms/Form7.h"
#include "forms/Form8.h"
#include "forms/UscitaRapporto.h"

using namespace termix;
using namespace termix::prova;

namespace {

struct UscitaContata : UscitaRapporto {
    int stampe = 0, salvataggi = 0;
    void stampa() override { ++stampe; }
    void salva() override { ++salvataggi; }
};

QStringList ordineTab(QWidget& f, const char* primo) {
    QStringList l;
    QWidget* w = ctl(f, primo);
    do {
        if (w->focusPolicy() != Qt::NoFocus && !w->objectName().isEmpty()) l << w->objectName();
        w = w->nextInFocusChain();
    } while (w != ctl(f, primo) && l.size() < 60);
    return l;
}

bool haEtichetta(QWidget& f, const QString& testo) {
    for (QLabel* l : f.findChildren<QLabel*>())
        if (l->text() == testo) return true;
    return false;
}

// Whether the style is told to draw the focus frame on "&ESCI" (Command1).
bool corniceFuoco(QWidget& f) {
    QStyleOptionButton o;
    o.initFrom(ctl(f, "Command1"));
    return (o.state & QStyle::State_HasFocus) && (o.state & QStyle::State_KeyboardFocusChange);
}

}  // namespace

class TestFormRisultati : public QObject {
    Q_OBJECT
private slots:
    void form7();
    void form8();
    void pulsantiDelRapporto();
};

void TestFormRisultati::form7() {
    Ambiente amb;
    Form7& f = GestoreForm::form7();
    QVERIFY(mostraAttiva(f));
    QCOMPARE(focusName(), QStringLiteral("Command1"));
    QVERIFY(corniceFuoco(f));
    QStringList attesa = {"Command1", "Command3", "Command2"};
    for (int i = 1; i <= 19; ++i)
        if (i != 11) attesa << QStringLiteral("Text%1").arg(i);
    QCOMPARE(ordineTab(f, "Command1"), attesa);
    QVERIFY(!f.findChild<QWidget*>(QStringLiteral("Text11")));
    for (int i : {1, 9, 12, 18, 19}) {
        QLineEdit* e = box(f, qPrintable(QStringLiteral("Text%1").arg(i)));
        QCOMPARE(e->palette().color(QPalette::Text), QColor(255, 0, 0));
        QVERIFY(!e->isReadOnly());
    }
    for (const char* t : {"Caratteristiche combustibile in alimentazione :",
                          "Caratteristiche aria comburente in alimentazione :", "Portata ponderale Cl totale [kg/h]",
                          "Portata acqua (umidità atmosf.) [kg/h]", "&Umidità spec.[kgH2O/kg aria secca]"})
        QVERIFY2(haEtichetta(f, QString::fromUtf8(t)), t);
    QTest::keyClick(&f, Qt::Key_U, Qt::AltModifier);
    QCOMPARE(focusName(), QStringLiteral("Text19"));
    clicca(f, "Command3");
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&GestoreForm::form8()));
}

void TestFormRisultati::form8() {
    Ambiente amb;
    Form8& f = GestoreForm::form8();
    QVERIFY(mostraAttiva(f));
    QCOMPARE(focusName(), QStringLiteral("Command1"));
    QVERIFY(corniceFuoco(f));
    QStringList attesa = {"Command1", "Command2", "Text1"};
    for (int i = 3; i <= 36; ++i) attesa << QStringLiteral("Text%1").arg(i);
    attesa << "Command3" << "Command5" << "Command4";
    QCOMPARE(ordineTab(f, "Command1"), attesa);
    QVERIFY(!f.findChild<QWidget*>(QStringLiteral("Text2")));
    QCOMPARE(ctl<QPushButton>(f, "Command3")->text(), QStringLiteral("Stam&pa"));
    QCOMPARE(ctl<QPushButton>(f, "Command5")->text(), QStringLiteral("&Salva"));
    QCOMPARE(ctl<QPushButton>(f, "Command4")->text(), QStringLiteral("&Grafico"));  // left of "&Salva", alike
    QCOMPARE(ctl(f, "Command4")->size(), ctl(f, "Command5")->size());
    QCOMPARE(ctl(f, "Command4")->font(), ctl(f, "Command5")->font());
    for (const char* t : {"Calore specifico medio fumi alla ", "temperatura media dei fumi [kca/kg°C]",
                          "Costante equilibrio reazione cloro ", "% volume ", "% peso ", "Totale fumi", "HCl"})
        QVERIFY2(haEtichetta(f, QString::fromUtf8(t)), t);
    // The composition table: row N2 at y 2880, its four columns.
    const Controllo* c = f.controllo(QStringLiteral("Text11"));
    const float fx = f.FattoreX > 0 ? f.FattoreX : 1, fy = f.FattoreY > 0 ? f.FattoreY : 1;
    QCOMPARE(c->Left, 4560.f * fx);
    QCOMPARE(c->Top, 2880.f * fy);
    QCOMPARE(box(f, "Text36")->palette().color(QPalette::Text), QColor(255, 0, 0));
    clicca(f, "Command2");
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&GestoreForm::form7()));
}

void TestFormRisultati::pulsantiDelRapporto() {
    Ambiente amb;
    Form8& f = GestoreForm::form8();
    QVERIFY(mostraAttiva(f));
    // Nothing installed: nothing happens, nothing breaks.
    clicca(f, "Command3");
    clicca(f, "Command5");
    QVERIFY(amb.dialoghi.mostrati.empty());
    QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&f));
    UscitaContata u;
    impostaUscitaRapporto(&u);
    clicca(f, "Command3");
    clicca(f, "Command5");
    QTest::keyClick(&f, Qt::Key_S, Qt::AltModifier);
    impostaUscitaRapporto(nullptr);
    QCOMPARE(u.stampe, 1);
    QCOMPARE(u.salvataggi, 2);
}

QTEST_MAIN(TestFormRisultati)
#include "test_form_risultati.moc"
