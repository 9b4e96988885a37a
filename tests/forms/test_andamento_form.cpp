// "Andamento" with the real widgets: opened from Form8, input changed, target found, the CSV
// export equal to termix54-batch --variando, the image exports, Esc; the forms untouched.
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>
#include <cstring>

#include "forms/AndamentoForm.h"
#include "forms/Form2.h"
#include "forms/Form8.h"
#include "forms/AiutoForm.h"
#include "support/Casi.h"

using namespace termix;
using namespace termix::prova;

class TestAndamento : public QObject {
    Q_OBJECT
private slots:
    void giro() {
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
        QVERIFY(!QImage(dir.filePath("a.png")).isNull());
        QFile svg(dir.filePath("a.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly) && svg.readAll().contains("<svg"));

        QFile in(dir.filePath("in.csv"));
        QVERIFY(in.open(QIODevice::WriteOnly) &&
                in.write("Impianto;Tipo;PortataComb;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;Dispersioni\n"
                         "\"Forno \"\"A\"\"; 1\";Metano;100;20;20;50;20;5\n") > 0);
        in.close();
        const QString cmd = QStringLiteral("'%1' '%2' --variando Dispersioni=0:30:2,5 -o '%3'")
                                .arg(QStringLiteral(TERMIX54_BATCH_EXE), in.fileName(), dir.filePath("b.csv"));
        QCOMPARE(std::system(cmd.toLocal8Bit().constData()), 0);
        QFile a(dir.filePath("a.csv")), b(dir.filePath("b.csv"));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray esportato = a.readAll();
        QCOMPARE(esportato.count("\r\n"), 14);  // header and 0 to 30 % by 2.5
        QCOMPARE(esportato, b.readAll());

        QTest::keyClick(w, Qt::Key_Escape);
        QTRY_VERIFY(!w);
        QCOMPARE(std::memcmp(&prima, &modulo1(), sizeof prima), 0);
        QCOMPARE(testo(f8, "Text1"), testo8);
    }
};

QTEST_MAIN(TestAndamento)
#include "test_andamento_form.moc"
