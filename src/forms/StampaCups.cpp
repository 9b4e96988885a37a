// "Stam&pa" where the print service is CUPS. Qt's own CUPS back end does not
// tell whether the server took the job, so the report is drawn into a PDF on
// the default printer's page (the same drawing as on any printer) and handed
// to the default destination through libcups: no job id, or a refused or
// lost request, is a failure the user is told about.
#include <cups/cups.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "forms/StampaRapporto.h"

namespace termix {

namespace {

constexpr const char* Titolo = "Termix54";

struct LiberaDestinazione {
    void operator()(cups_dest_t* d) const { cupsFreeDests(1, d); }
};
using Destinazione = std::unique_ptr<cups_dest_t, LiberaDestinazione>;

// The default destination, when it can take a job now: a queue that refuses
// jobs, or is stopped (paused by its administrator, or halted by a device
// error), would leave the report nowhere or waiting unseen. A queue that
// only holds new jobs (cupsdisable --hold) stays idle and keeps the job until
// it is released: that is not a failure.
Destinazione PredefinitaDisponibile() {
    Destinazione d(cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
    if (!d) return nullptr;
    const char* accetta = cupsGetOption("printer-is-accepting-jobs", d->num_options, d->options);
    const char* stato = cupsGetOption("printer-state", d->num_options, d->options);
    if ((accetta && std::strcmp(accetta, "false") == 0) ||
        (stato && std::atoi(stato) == IPP_PSTATE_STOPPED))
        return nullptr;
    return d;
}

bool Riuscita(ipp_status_t s) { return s < IPP_STATUS_REDIRECTION_OTHER_SITE; }

// One job with the PDF as its only document; a job left half-sent is cancelled.
bool Invia(const cups_dest_t& dest, const QByteArray& pdf) {
    const int lavoro = cupsCreateJob(CUPS_HTTP_DEFAULT, dest.name, Titolo, 0, nullptr);
    if (lavoro <= 0) return false;
    http_status_t stato = cupsStartDocument(CUPS_HTTP_DEFAULT, dest.name, lavoro, Titolo, CUPS_FORMAT_PDF, 1);
    if (stato == HTTP_STATUS_CONTINUE)
        stato = cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(), static_cast<std::size_t>(pdf.size()));
    if (stato == HTTP_STATUS_CONTINUE && Riuscita(cupsFinishDocument(CUPS_HTTP_DEFAULT, dest.name))) return true;
    cupsCancelJob2(CUPS_HTTP_DEFAULT, dest.name, lavoro, 0);
    return false;
}

}  // namespace

bool StampaRapporto(const SorgenteTesti& sorgente, Orologio& orologio) {
    const Destinazione dest = PredefinitaDisponibile();
    if (!dest) return false;

    // The page of the default printer, as Qt would have printed on it.
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromLocal8Bit(dest->name));
    const QPageLayout pagina = info.isNull() ? QPrinter(QPrinter::HighResolution).pageLayout()
                                             : QPrinter(info, QPrinter::HighResolution).pageLayout();

    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/termix54-XXXXXX.pdf"));
    if (!file.open()) return false;
    QPrinter stampante(QPrinter::HighResolution);
    stampante.setOutputFormat(QPrinter::PdfFormat);
    stampante.setOutputFileName(file.fileName());
    stampante.setPageLayout(pagina);
    if (StampaRapportoSu(stampante, sorgente, orologio) == 0) return false;

    QFile scritto(file.fileName());
    if (!scritto.open(QIODevice::ReadOnly)) return false;
    const QByteArray pdf = scritto.readAll();
    return !pdf.isEmpty() && Invia(*dest, pdf);
}

}  // namespace termix
