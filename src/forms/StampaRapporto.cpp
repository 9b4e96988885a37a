// The report drawn on a printer; how the job reaches the system's default
// printer is in the platform's own file (StampaCups.cpp, StampaWindows.cpp).
#include "forms/StampaRapporto.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include "report/SalvaRapporto.h"

namespace termix {

namespace {

constexpr double TwipsPerPollice = 1440.0;
constexpr double Inizio = 500.0;  // twips from the page's top-left

}  // namespace

int StampaRapportoSu(QPrinter& stampante, const SorgenteTesti& sorgente, Orologio& orologio) {
    // Coordinates from the paper's corner, so the start position is
    // measured from the page edge and not from the driver's margins.
    stampante.setFullPage(true);
    stampante.setDocName(QStringLiteral("Termix54"));

    QPainter pittore;
    if (!pittore.begin(&stampante)) return 0;

    QFont carattere = pittore.font();  // the printer's default face
    carattere.setPointSize(12);
    carattere.setBold(true);
    pittore.setFont(carattere);
    const QFontMetricsF metriche(carattere, &stampante);
    const double colonna = metriche.averageCharWidth();
    const double riga = metriche.height();
    const double dpiX = stampante.logicalDpiX();
    const double dpiY = stampante.logicalDpiY();
    const double sinistra = Inizio * dpiX / TwipsPerPollice;
    const double alto = Inizio * dpiY / TwipsPerPollice;
    const double fondo = stampante.pageLayout().fullRectPixels(stampante.resolution()).height() - alto;

    const auto larghezza = [&](std::string_view t) {
        return metriche.horizontalAdvance(QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()))) /
               colonna;
    };
    double y = alto;
    int pagine = 1;
    bool ok = ProduciRapporto(TipoUscita::Stampante, sorgente, orologio, larghezza, [&](const RigaFisica& fisica) {
        if (y + riga > fondo && y > alto) {
            if (!stampante.newPage()) return false;
            ++pagine;
            y = alto;
        }
        for (const Tratto& t : fisica)
            pittore.drawText(QPointF(sinistra + (t.colonna - 1) * colonna, y + metriche.ascent()),
                             QString::fromUtf8(t.testo.data(), static_cast<qsizetype>(t.testo.size())));
        y += riga;
        return stampante.printerState() != QPrinter::Error;
    });
    if (!ok) {
        // A report cut short is of no use on paper: drop the job.
        stampante.abort();
        pittore.end();
        return 0;
    }
    // Ending the painter releases the document as one job.
    return pittore.end() && stampante.printerState() != QPrinter::Error ? pagine : 0;
}

}  // namespace termix
