// "Stam&pa" through a real CUPS server (started by cups-prova.sh): the job's
// PDF must carry every line's words in order, each item at its column; a
// queue or server that cannot take the job gives the message, never silence.
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <csignal>

#include "forms/GestoreForm.h"
#include "forms/RapportoForm.h"
#include "ui/DialoghiScriptati.h"

#include "forms/StampaRapporto.h"
#include "report/SalvaRapporto.h"
#include "support/TestiForm.h"

using namespace termix;

namespace {

struct Parola {
    int pagina;
    double x, y;
    QString testo;
};

QString Esegui(const QString& programma, const QStringList& argomenti) {
    QProcess p;
    p.start(programma, argomenti);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Words of `pdftotext -bbox`, with their page, left edge and top in points.
QList<Parola> ParoleBbox(const QString& pdf) {
    const QString html = Esegui("pdftotext", {"-bbox", pdf, "-"});
    QList<Parola> parole;
    int pagina = 0;
    static const QRegularExpression re(
        R"re(<page |<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">([^<]*)</word>)re");
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith("<page")) {
            ++pagina;
            continue;
        }
        QString t = m.captured(3);
        t.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'");
        // The font's "fi" ligature comes back as one character: undo it.
        parole.push_back({pagina, m.captured(1).toDouble(), m.captured(2).toDouble(),
                          t.normalized(QString::NormalizationForm_KC)});
    }
    return parole;
}

// Words grouped into text lines: same page, tops within half a line.
QList<QList<Parola>> RigheBbox(QList<Parola> parole) {
    std::stable_sort(parole.begin(), parole.end(), [](const Parola& a, const Parola& b) {
        if (a.pagina != b.pagina) return a.pagina < b.pagina;
        if (std::abs(a.y - b.y) > 4) return a.y < b.y;
        return a.x < b.x;
    });
    QList<QList<Parola>> righe;
    for (const Parola& p : parole) {
        if (righe.isEmpty() || righe.back().front().pagina != p.pagina || std::abs(righe.back().front().y - p.y) > 4)
            righe.push_back({});
        righe.back().push_back(p);
    }
    return righe;
}

QString SenzaSpazi(QString s) {
    static const QRegularExpression spazi(R"(\s)");
    return s.remove(spazi);
}

// Jobs the server knows of, finished or not; -1 when it does not answer.
int LavoriDelServer() {
    QProcess p;
    p.start("lpstat", {"-W", "all", "-o"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return -1;
    return static_cast<int>(QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).size());
}

QString Testo(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

class TestStampa : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        lavori_ = qEnvironmentVariable("TERMIX54_LAVORI");
        if (lavori_.isEmpty()) QSKIP("needs the CUPS server of cups-prova.sh (TERMIX54_LAVORI unset)");
    }

    void stampaMetano() {
        Modulo1 m;
        prova::TestiForm testi = prova::TestiMetano(m);
        prova::OrologioFisso orologio;
        QVERIFY(!QPrinterInfo::defaultPrinter().isNull());
        QVERIFY(StampaRapporto(testi, orologio));

        // Wait for the backend to store the job.
        QString pdf;
        for (int i = 0; i < 600 && pdf.isEmpty(); ++i) {
            const QStringList file = QDir(lavori_).entryList({"job-*.pdf"}, QDir::Files);
            if (!file.isEmpty()) pdf = QDir(lavori_).filePath(file.first());
            else QTest::qWait(100);
        }
        QVERIFY2(!pdf.isEmpty(), "no job reached the queue's backend");
        QCOMPARE(QDir(lavori_).entryList({"job-*.pdf"}, QDir::Files).size(), 1);

        // The lines as placed for the printer, empty lines left out (text
        // extraction drops them).
        std::vector<RigaFisica> attese;
        for (int n = 1; n <= RigheRapporto; ++n)
            for (RigaFisica& r : Impagina(RigaDelRapporto(n, TipoUscita::Stampante, testi, orologio), LarghezzaCaratteri))
                if (!r.empty()) attese.push_back(std::move(r));

        // Words of every line, in order. The layout text may drop a blank
        // between close words, so lines are compared without blanks; the
        // word boundaries are checked on the positioned words below.
        const QString layout = Esegui("pdftotext", {"-layout", pdf, "-"});
        QVERIFY2(!layout.isEmpty(), "pdftotext -layout gave nothing");
        QStringList righeLayout;
        for (const QString& r : layout.split('\n'))
            if (!r.trimmed().isEmpty())
                righeLayout << SenzaSpazi(r.normalized(QString::NormalizationForm_KC));
        QCOMPARE(righeLayout.size(), static_cast<qsizetype>(attese.size()));
        for (std::size_t i = 0; i < attese.size(); ++i) {
            QString parole;
            for (const Tratto& t : attese[i]) parole += Testo(t.testo) + ' ';
            QCOMPARE(righeLayout[static_cast<qsizetype>(i)], SenzaSpazi(parole));
        }
        const int pagine = static_cast<int>(layout.count(QChar('\f')));
        qInfo("printed methane report: %d page(s)", pagine);

        // Each item's first word at its column: 500 twips (25 pt) plus
        // (column - 1) average widths of the 12-point bold font, plus the
        // item's own leading blanks.
        QFont carattere;
        carattere.setPointSize(12);
        carattere.setBold(true);
        QPrinter stampante(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        const QFontMetricsF metriche(carattere, &stampante);
        const double punti = 72.0 / stampante.logicalDpiX();
        const double colonna = metriche.averageCharWidth() * punti;
        QVERIFY(colonna > 3 && colonna < 12);

        const QList<QList<Parola>> righe = RigheBbox(ParoleBbox(pdf));
        QCOMPARE(righe.size(), static_cast<qsizetype>(attese.size()));
        int controllati = 0;
        for (std::size_t i = 0; i < attese.size(); ++i) {
            const QList<Parola>& riga = righe[static_cast<qsizetype>(i)];
            qsizetype k = 0;
            for (const Tratto& t : attese[i]) {
                const QString testo = Testo(t.testo);
                const QStringList parole = testo.split(' ', Qt::SkipEmptyParts);
                if (parole.isEmpty()) continue;
                QVERIFY2(k < riga.size(), qPrintable(QString("line %1: missing %2").arg(i + 1).arg(testo)));
                const qsizetype blanks = testo.indexOf(parole.first());
                const double x = 25.0 + (t.colonna - 1) * colonna + metriche.horizontalAdvance(testo.left(blanks)) * punti;
                QVERIFY2(std::abs(riga[k].x - x) < 1.5,
                         qPrintable(QString("line %1, \"%2\": x %3, expected %4")
                                        .arg(i + 1).arg(riga[k].testo).arg(riga[k].x).arg(x)));
                QCOMPARE(riga[k].testo, parole.first());
                k += parole.size();
                ++controllati;
            }
            QCOMPARE(k, riga.size());
        }
        QVERIFY(controllati > 100);
        // The first line starts 500 twips from the top of the page.
        QVERIFY2(std::abs(righe.front().front().y - 25.0) < 1.0,
                 qPrintable(QString::number(righe.front().front().y)));
        // Each page after a break starts again 500 twips from the top.
        int inizioPagina = 0;
        for (qsizetype i = 1; i < righe.size(); ++i)
            if (righe[i].front().pagina != righe[i - 1].front().pagina) {
                ++inizioPagina;
                QVERIFY2(std::abs(righe[i].front().y - 25.0) < 1.0, qPrintable(QString::number(righe[i].front().y)));
            }
        QCOMPARE(inizioPagina, pagine - 1);
        QVERIFY(pagine >= 2);  // 67 lines of 12-point text do not fit one page
        if (!qEnvironmentVariableIsEmpty("TERMIX54_COPIA_PDF")) QFile::copy(pdf, qEnvironmentVariable("TERMIX54_COPIA_PDF"));
    }

    // "Stam&pa" through Form8's output against each state of the default
    // queue: the job count is the server's (held jobs included).
    void esiti_data() {
        QTest::addColumn<QString>("prepara");
        QTest::addColumn<int>("lavori");  // jobs the server gains; 0: the message instead
        const QString crea = "lpadmin -p Termix54Prova -E -v archivio:/ -m raw && lpadmin -d Termix54Prova";
        QTest::newRow("accetta") << "true" << 1;
        QTest::newRow("in pausa: tiene i lavori") << "cupsdisable --hold Termix54Prova" << 1;
        QTest::newRow("rifiuta (cupsreject)") << "cupsreject Termix54Prova" << 0;
        QTest::newRow("ferma (cupsdisable)") << "cupsdisable Termix54Prova" << 0;
        QTest::newRow("nessuna predefinita") << "lpadmin -x Termix54Prova" << 0;
        QTest::newRow("server sparito dopo la scelta") << crea << -1;  // last: kills cupsd
    }
    void esiti() {
        QFETCH(QString, prepara);
        QFETCH(int, lavori);
        QCOMPARE(QProcess::execute("sh", {"-c", prepara}), 0);
        const int prima = LavoriDelServer(), file = static_cast<int>(QDir(lavori_).entryList(QDir::Files).size());
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
        orologio.uccidi = lavori < 0;
        UscitaRapportoForm(&orologio).stampa();
        GestoreForm::distruggiTutto();
        QCOMPARE(dialoghi.testiMostrati(), lavori > 0 ? QStringList() : QStringList{"Verificare che gli input siano corretti !"});
        if (lavori >= 0) QCOMPARE(LavoriDelServer() - prima, lavori);  // -1: the server is gone
        QTest::qWait(300);
        if (lavori <= 0) QCOMPARE(static_cast<int>(QDir(lavori_).entryList(QDir::Files).size()), file);
        if (lavori < 0) return;
        // Back to an accepting queue with no job pending, for the next row.
        QProcess::execute("sh", {"-c", "cancel -a; cupsenable --release Termix54Prova; cupsenable Termix54Prova; "
                                        "cupsaccept Termix54Prova; true"});
        for (int i = 0; i < 100 && !Esegui("lpstat", {"-o"}).trimmed().isEmpty(); ++i) QTest::qWait(100);
    }

private:
    QString lavori_;
};

QTEST_MAIN(TestStampa)
#include "test_stampa.moc"
