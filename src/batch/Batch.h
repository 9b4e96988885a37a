#pragma once
// The whole batch run: CSV in, CSV out, in input order, with the records
// computed on several threads while memory stays flat.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "batch/ColonneVerifica.h"
#include "report/Codifica.h"

namespace termix::batch {

struct Variando;

struct OpzioniBatch {
    std::FILE* ingresso = nullptr;   // already open
    std::string nomeIngresso;        // for messages ("-" = standard input)
    std::string nomeUscita;          // empty: standard output
    std::FILE* errori = stderr;      // messages and the progress line
    unsigned thread = 0;             // computing threads; 0 = one per core
    bool inLinea = false;            // no threads: read, compute, write in turn (where there are none)
    bool progresso = false;          // show a progress line on `errori`
    std::string cartellaRapporti;    // non-empty: a report file per completed record
    std::optional<CodificaTesto> codifica;  // the input's, when not guessed
    std::vector<std::string> conserva;      // columns copied into the output
    const Variando* variando = nullptr;  // --variando (and --obiettivo)
    OpzioniVerifica verifica;            // --verifica and the checks' options
};

// The output's encoding for an input in `ingresso` (with a byte-order mark
// or not): Windows-1252 stays Windows-1252; UTF-8 stays UTF-8, with a mark
// when the input had one; UTF-16 becomes UTF-8 with a mark.
struct CodificaUscita {
    CodificaTesto codifica;
    bool marchio;
};
CodificaUscita UscitaPer(CodificaTesto ingresso, bool marchio);

// Exit status: 0 every record read (and every report written), 1 some
// malformed or some report not written, 2 header or I/O failure.
int EseguiBatch(const OpzioniBatch& opzioni);

}  // namespace termix::batch
