#pragma once
// The whole batch run: CSV in, CSV out, in input order, with the records
// computed on several threads while memory stays flat.
#include <cstdio>
#include <string>

namespace termix::batch {

struct Variando;

struct OpzioniBatch {
    std::FILE* ingresso = nullptr;   // already open
    std::string nomeIngresso;        // for messages ("-" = standard input)
    std::string nomeUscita;          // empty: standard output
    std::FILE* errori = stderr;      // messages and the progress line
    unsigned thread = 0;             // computing threads; 0 = one per core
    bool progresso = false;          // show a progress line on `errori`
    std::string cartellaRapporti;    // non-empty: a report file per completed record
    const Variando* variando = nullptr;  // --variando (and --obiettivo)
};

// Exit status: 0 every record read (and every report written), 1 some
// malformed or some report not written, 2 header or I/O failure.
int EseguiBatch(const OpzioniBatch& opzioni);

}  // namespace termix::batch
