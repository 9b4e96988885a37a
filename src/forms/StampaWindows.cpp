// "Stam&pa" on Windows: the report is drawn straight onto Qt's printer for the
// default printer; ending the painter hands the job to the spooler.
#include <QPrinter>
#include <QPrinterInfo>

#include "forms/StampaRapporto.h"

namespace termix {

bool StampaRapporto(const SorgenteTesti& sorgente, Orologio& orologio) {
    const QPrinterInfo predefinita = QPrinterInfo::defaultPrinter();
    if (predefinita.isNull()) return false;
    QPrinter stampante(predefinita, QPrinter::HighResolution);
    return StampaRapportoSu(stampante, sorgente, orologio) > 0;
}

}  // namespace termix
