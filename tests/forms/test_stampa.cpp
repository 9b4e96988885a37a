// "Stam&pa" through a real CUPS server (started by cups-prova.sh): the job's
// PDF carries every line's words in order, on more than one page; a queue or
// server that cannot take the job gives the message, never silence.
#include <QDir>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>
#include <csignal>

#include "forms/GestoreForm.h"
#include "forms/RapportoForm.h"
#include "forms/StampaRapporto.h"
#include "ui/DialoghiScriptati.h"
#include "report/SalvaRapporto.h"
#include "support/TestiForm.h"

using namespace termix;

namespace {

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

class TestStampa : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (lavori.isEmpty()) QSKIP("needs the CUPS server of cups-prova.sh (TERMIX54_LAVORI unset)");
    }

    void stampaMetano() {
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

QTEST_MAIN(TestStampa)
#include "test_stampa.moc"
