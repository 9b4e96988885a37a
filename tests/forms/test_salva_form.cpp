// "&Salva" on Form8, after the methane walk typed into the real forms: the
// input box asked, the file written, and the failure message.
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "batch/Batch.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/Form7.h"
#include "forms/Form8.h"
#include "forms/GestoreForm.h"
#include "forms/RapportoForm.h"
#include "forms/StampaRapporto.h"
#include "model/Messaggi.h"
#include "support/RapportoMetanoAtteso.h"
#include "support/TestiForm.h"
#include "ui/AdattaSchermo.h"
#include "ui/DialoghiScriptati.h"

using namespace termix;

namespace {

template <class W>
W* trova(QWidget& form, const char* nome) {
    auto* w = form.findChild<W*>(QString::fromLatin1(nome));
    if (!w) qFatal("no control %s", nome);
    return w;
}

// Clicks into a box and types, as the user would.
void digita(QWidget& form, const char* casella, const QString& testo) {
    auto* c = trova<QLineEdit>(form, casella);
    QTest::mouseClick(c, Qt::LeftButton);
    c->selectAll();
    QTest::keyClicks(c, testo);
}

QByteArray leggi(const QString& nome) {
    QFile f(nome);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll();
}

const QByteArray atteso = QByteArray::fromStdString(prova::AttesoMetano());

}  // namespace

class TestSalvaForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(cartella_.isValid());
        precedente_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(cartella_.path()));
        impostaUscitaRapporto(&uscita_);

        // The methane walk, typed into the forms.
        Form2& f2 = GestoreForm::form2();
        GestoreForm::mostra(f2);
        QVERIFY(QTest::qWaitForWindowActive(&f2));
        digita(f2, "Text1", "Impianto Nord");
        digita(f2, "Text20", "100");
        QTest::mouseClick(trova<QRadioButton>(f2, "Option1"), Qt::LeftButton);
        QTest::mouseClick(trova<QPushButton>(f2, "Command4"), Qt::LeftButton);
        QCOMPARE(trova<QLineEdit>(f2, "Text17")->text(), QString("124,665"));

        Form3& f3 = GestoreForm::form3();
        GestoreForm::mostra(f3);
        QVERIFY(QTest::qWaitForWindowActive(&f3));
        digita(f3, "Text2", "20");
        digita(f3, "Text4", "20");
        digita(f3, "Text5", "50");
        digita(f3, "Text8", "20");
        digita(f3, "Text10", "5");
        QTest::mouseClick(trova<QPushButton>(f3, "Command4"), Qt::LeftButton);
        QVERIFY(dialoghi_.mostrati.empty());
        QCOMPARE(trova<QLineEdit>(GestoreForm::form8(), "Text1")->text(), QString("1314,6"));

        GestoreForm::mostra(GestoreForm::form8());
        QVERIFY(QTest::qWaitForWindowActive(&GestoreForm::form8()));
    }

    void cleanupTestCase() {
        impostaUscitaRapporto(nullptr);
        GestoreForm::distruggiTutto();
        QDir::setCurrent(precedente_);
    }

    void init() { dialoghi_.mostrati.clear(); }

    void salvaComeDigitato_data() {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("file");
        QTest::newRow("Annulla") << QString() << ".TXT";
        QTest::newRow("abc") << "abc" << "abc.TXT";
        QTest::newRow("abc.txt") << "abc.txt" << "abc.txt.TXT";
        QTest::newRow("nove caratteri") << "metano123" << "metano123.TXT";
    }
    void salvaComeDigitato() {
        QFETCH(QString, digitato);
        QFETCH(QString, file);
        dialoghi_.testi = {digitato};
        QTest::mouseClick(trova<QPushButton>(GestoreForm::form8(), "Command5"), Qt::LeftButton);
        QCOMPARE(dialoghi_.mostrati.size(), std::size_t(1));
        const auto& box = dialoghi_.mostrati.front();
        QVERIFY(box.inputBox);
        QCOMPARE(box.testo, QString("Nome file - Max 8 caratteri"));
        QCOMPARE(box.titolo, QString("Bilancio di massa e di energia della combustione"));
        QCOMPARE(leggi(file), atteso);
    }

    void accessKeySalva() {
        // Alt+S presses "&Salva" too.
        dialoghi_.testi = {"tasti"};
        QTest::keyClick(&GestoreForm::form8(), Qt::Key_S, Qt::AltModifier);
        QCOMPARE(leggi("tasti.TXT"), atteso);
    }

    void riportaIlTestoModificato() {
        // A box the user typed over is reported as it shows.
        auto* t1 = trova<QLineEdit>(GestoreForm::form8(), "Text1");
        const QString prima = t1->text();
        digita(GestoreForm::form8(), "Text1", "999,9");
        dialoghi_.testi = {"mod"};
        QTest::mouseClick(trova<QPushButton>(GestoreForm::form8(), "Command5"), Qt::LeftButton);
        QByteArray atteso2 = atteso;
        atteso2.replace("= 1314,6 \xB0" "C", "= 999,9 \xB0" "C");
        QCOMPARE(leggi("mod.TXT"), atteso2);
        digita(GestoreForm::form8(), "Text1", prima);
    }

    void fallimenti_data() {
        QTest::addColumn<QString>("digitato");
        QTest::newRow("cartella inesistente") << "manca/R";
        QTest::newRow("cartella col nome del file") << "X";
    }
    void fallimenti() {
        QFETCH(QString, digitato);
        QDir().mkpath("X.TXT");
        dialoghi_.testi = {digitato};
        QTest::mouseClick(trova<QPushButton>(GestoreForm::form8(), "Command5"), Qt::LeftButton);
        QCOMPARE(dialoghi_.mostrati.size(), std::size_t(2));
        const auto& msg = dialoghi_.mostrati.back();
        QVERIFY(!msg.inputBox);
        QCOMPARE(msg.testo, QString::fromUtf8(messaggi::VerificareInput));
        QCOMPARE(msg.titolo, QString("Termix54"));
        QCOMPARE(msg.icona, Icona::Esclamazione);
        QCOMPARE(msg.pulsanti, Pulsanti::Ok);
        QVERIFY(QFileInfo("X.TXT").isDir());
        QVERIFY(!QFileInfo::exists("manca"));
    }

    void discoPieno() {
        QVERIFY(QFile::link("/dev/full", "F.TXT"));
        dialoghi_.testi = {"F"};
        QTest::mouseClick(trova<QPushButton>(GestoreForm::form8(), "Command5"), Qt::LeftButton);
        QCOMPARE(dialoghi_.testiMostrati(),
                 QStringList({"Nome file - Max 8 caratteri", QString::fromUtf8(messaggi::VerificareInput)}));
    }

    void comeIlBatch() {
        // The batch tool's report for the same inputs, against the file the
        // forms saved with the real clock: the same bytes but the date and time.
        UscitaRapportoForm reale;
        impostaUscitaRapporto(&reale);
        dialoghi_.testi = {"gui"};
        QTest::mouseClick(trova<QPushButton>(GestoreForm::form8(), "Command5"), Qt::LeftButton);
        impostaUscitaRapporto(&uscita_);
        QVERIFY(dialoghi_.mostrati.size() == 1);

        QByteArray csv = "Impianto;Tipo;PortataComb;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;Dispersioni\r\n"
                         "Impianto Nord;Metano;100;20;20;50;20;5\r\n";
        std::FILE* in = fmemopen(csv.data(), static_cast<std::size_t>(csv.size()), "rb");
        batch::OpzioniBatch o;
        o.ingresso = in;
        o.nomeUscita = "batch.csv";
        o.cartellaRapporti = "batch";
        QCOMPARE(batch::EseguiBatch(o), 0);
        std::fclose(in);

        auto senzaDataEOra = [](QByteArray b) {
            QList<QByteArray> righe = b.split('\n');
            if (righe.size() < 4) return b;
            righe[2] = righe[2].left(52);
            righe[3] = righe[3].left(52);
            return righe.join('\n');
        };
        const QByteArray gui = leggi("gui.TXT");
        QCOMPARE(gui.count("\r\n"), 67);
        QVERIFY(gui.split('\n')[2].size() > 53);
        QCOMPARE(senzaDataEOra(leggi("batch/1.TXT")), senzaDataEOra(gui));
    }

    void dialoghiReali() {
        // The real input box and message box, answered through the active
        // modal widget.
        impostaDialoghi(nullptr);
        QString etichetta, titolo, predefinito;
        int larghezza = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!box) return;
            larghezza = box->width();
            etichetta = box->labelText();
            titolo = box->windowTitle();
            predefinito = box->textValue();
            box->setTextValue("vero");
            box->accept();
        });
        QTest::mouseClick(trova<QPushButton>(GestoreForm::form8(), "Command5"), Qt::LeftButton);
        QCOMPARE(etichetta, QString("Nome file - Max 8 caratteri"));
        QCOMPARE(titolo, QString("Bilancio di massa e di energia della combustione"));
        QFont grassetto;  // the title, the window icon and three title-bar buttons fit
        grassetto.setBold(true);
        const QFontMetrics m(grassetto);
        QVERIFY2(larghezza > m.horizontalAdvance(titolo) + 4 * m.height(), qPrintable(QString::number(larghezza)));
        QCOMPARE(predefinito, QString());
        QCOMPARE(leggi("vero.TXT"), atteso);
        riattiva();

        // A failing save: the real message box.
        QString testo, titoloMsg;
        QMessageBox::Icon icona = QMessageBox::NoIcon;
        QMessageBox::StandardButtons pulsanti;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!box) return;
            box->setTextValue("manca/vero");
            box->accept();
            QTimer::singleShot(0, [&] {
                auto* msg = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!msg) return;
                testo = msg->text();
                titoloMsg = msg->windowTitle();
                icona = msg->icon();
                pulsanti = msg->standardButtons();
                msg->accept();
            });
        });
        QTest::mouseClick(trova<QPushButton>(GestoreForm::form8(), "Command5"), Qt::LeftButton);
        impostaDialoghi(&dialoghi_);
        riattiva();
        QCOMPARE(testo, QString::fromUtf8(messaggi::VerificareInput));
        QCOMPARE(titoloMsg, QString("Termix54"));
        QCOMPARE(icona, QMessageBox::Warning);
        QCOMPARE(pulsanti, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void stampaSenzaStampante() {
        // No CUPS server reachable: no default printer, the message.
        qputenv("CUPS_SERVER", QFile::encodeName(cartella_.filePath("nessun-server.sock")));
        QTest::mouseClick(trova<QPushButton>(GestoreForm::form8(), "Command3"), Qt::LeftButton);
        QCOMPARE(dialoghi_.testiMostrati(), QStringList({QString::fromUtf8(messaggi::VerificareInput)}));
        QCOMPARE(dialoghi_.mostrati.front().icona, Icona::Esclamazione);
        QVERIFY(GestoreForm::form8().isVisible());
    }

    void stampaConPittoreCheNonParte() {
        // A document that cannot be started: no pages, a failure.
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(cartella_.filePath("manca/rapporto.pdf"));
        QCOMPARE(StampaRapportoSu(pdf, TestiDelleForm(), orologio_), 0);
        QVERIFY(!QFileInfo::exists(cartella_.filePath("manca")));
        // The same into a folder that exists: the whole report, on two pages.
        pdf.setOutputFileName(cartella_.filePath("rapporto.pdf"));
        QCOMPARE(StampaRapportoSu(pdf, TestiDelleForm(), orologio_), 2);
        QVERIFY(QFileInfo(cartella_.filePath("rapporto.pdf")).size() > 0);
    }

private:
    // The offscreen platform does not give the activation back to the form
    // when a real modal box closes (a window manager would): do it here.
    static void riattiva() {
        GestoreForm::mostra(GestoreForm::form8());
        QVERIFY(QTest::qWaitForWindowActive(&GestoreForm::form8()));
    }

    QTemporaryDir cartella_;
    QString precedente_;
    DialoghiScriptati dialoghi_;
    prova::OrologioFisso orologio_;
    UscitaRapportoForm uscita_{&orologio_};
};

QTEST_MAIN(TestSalvaForm)
#include "test_salva_form.moc"
