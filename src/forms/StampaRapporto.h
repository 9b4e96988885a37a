#pragma once
#include "report/Rapporto.h"

class QPrinter;

namespace termix {

// "Stam&pa": the report on the default printer, 12-point bold in the
// printer's default face, column n at 500 twips + (n - 1) average character
// widths from the page's left edge, first line 500 twips from its top, new
// pages as they fill, one job. False on any failure (no default printer, a
// queue that refuses jobs or is stopped, the print server gone, the painter
// not starting, a page or the job failing); the caller shows the message.
// On CUPS systems the report is drawn into a PDF on the default printer's
// page and submitted through libcups, so the server's answer is known.
bool StampaRapporto(const SorgenteTesti& sorgente, Orologio& orologio);

// The same on a printer already set up (the default one above; a PDF file
// for measurements). Returns the pages printed, or 0 on a failure.
int StampaRapportoSu(QPrinter& stampante, const SorgenteTesti& sorgente, Orologio& orologio);

}  // namespace termix
