#pragma once
// A batch computed record by record: each record's output line, its report
// file and its messages for stderr. Whoever computes a batch (a thread of the
// run, the run in line, a worker of the run in steps) calls elabora.
// Internal to the batch library.
#include <string>
#include <string_view>
#include <vector>

#include "batch/Lotto.h"
#include "batch/Rapporti.h"
#include "batch/Record.h"
#include "report/OrologioSistema.h"

namespace termix::batch {

struct Variando;

// Per worker: what writing the report files needs.
struct Rapporti {
    CartellaRapporti* cartella = nullptr;  // null: no reports
    VistaForme vista;
    OrologioSistema orologio;
};

// "linea 4" or "linee 2-4": where a malformed record sits in the file.
std::string Linee(long long prima, long long ultima);

// Computes every record of `l` into `l.uscita`, its messages into `l.errori`
// and its counts; `campi` and `r` are the caller's, reused from batch to batch.
void elabora(const Intestazione& h, Lotto& l, std::vector<std::string_view>& campi, RisultatoRecord& r,
             Rapporti& rapporti, const Variando* variando);

}  // namespace termix::batch
