#pragma once
// The whole batch run: CSV in, CSV out, in input order, with the records
// computed on several threads while memory stays flat.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/ColonneVerifica.h"
#include "batch/Record.h"
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
    Consigli consigli;  // what the messages advise, in this face's words
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
// malformed or some report not written, 2 no header, a bad header or an I/O
// failure.
int EseguiBatch(const OpzioniBatch& opzioni);

// The same run cut in steps, for a host whose workers share no memory (the
// browser's Web Workers): the records go out in batches as bytes, any worker
// computes one with ElaboraLotto, and the results come back in the order the
// batches went out. The caller writes the output: Inizio, then each batch's
// lines. Output, messages and exit status are EseguiBatch's.
// Plain runs and `conserva` only: no reports, --variando or --verifica.
class BatchDistribuito {
public:
    BatchDistribuito(const OpzioniBatch& opzioni, std::size_t recordPerLotto);
    ~BatchDistribuito();
    // Reads on to the next batch; empty once the reading is over. The first
    // call reads the header (or reports its fault on `errori`).
    std::string Prossimo();
    // The records read so far, the header aside (the batches hold them in
    // order): for a host that tells how far into the file a batch reaches.
    long long Letti() const;
    // What a worker needs besides the batch: the header (after the first Prossimo).
    const std::string& Testa() const;
    // The output's first bytes (its mark and header line), once, after the first Prossimo.
    std::string Inizio();
    // ElaboraLotto's result for the oldest batch still out: its messages go to
    // `errori` (its output lines are the caller's to write next).
    void Rientra(std::string_view esito);
    // Every batch read and back: the exit status.
    int Termina();

private:
    struct Stato;
    std::unique_ptr<Stato> s_;
};

// A computed batch's records by outcome, for a host that shows how the run goes.
struct ContiLotto {
    long long record = 0;
    long long completati = 0;  // Esito "OK"
    long long conAvvisi = 0;   // a non-empty Avvisi
};

// One batch computed: its output lines, in the output's encoding, into
// `uscita`; its counts and messages as bytes for Rientra; with `conti`, its
// records by outcome there.
std::string ElaboraLotto(std::string_view testa, std::string_view lotto, std::string& uscita,
                         ContiLotto* conti = nullptr);

}  // namespace termix::batch
