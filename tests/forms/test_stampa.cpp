// "Stam&pa" through a real CUPS server (started by cups-prova.sh): the job's
// PDF carries every line's words in order, on more than one page; without a
// default printer nothing is sent.
#include <QDir>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include "forms/StampaRapporto.h"
#include "report/SalvaRapporto.h"
#include "support/TestiForm.h"

using namespace termix;

namespace {

QString Esegui(const QString& programma, const QStringList& argomenti) {
    QProcess p;
    p.start(programma, argomenti);
    return p.waitForFinished(60000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

// Text without blanks (the layout text may drop one between close words), ligatures undone.
QString Parole(const QString& s) {
    static const QRegularExpression spazi(R"(\s)");
    return s.normalized(QString::NormalizationForm_KC).remove(spazi);
}

QStringList Lavori(const QString& cartella) { return QDir(cartella).entryList({"job-*"}, QDir::Files); }

}  // namespace

class TestStampa : public QObject {
    Q_OBJECT
private slots:
    void stampaMetanoPoiSenzaStampante() {
        const QString lavori = qEnvironmentVariable("TERMIX54_LAVORI");
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

        QCOMPARE(Esegui("lpadmin", {"-x", "Termix54Prova"}), QString());
        QVERIFY(QPrinterInfo::defaultPrinter().isNull());
        QVERIFY(!StampaRapporto(testi, orologio));
        QTest::qWait(500);
        QCOMPARE(Lavori(lavori).size(), 1);
    }
};

QTEST_MAIN(TestStampa)
#include "test_stampa.moc"
