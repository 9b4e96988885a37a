#pragma once
// The chain of batches between the reader, the workers and the writer, in one
// of three modes: threads (workers compute, one writer writes in order), in
// line (the reader's thread computes and writes each batch as it hands it
// over) or outside (the batches leave as bytes and their results come back
// through rientra, for the run in steps). Internal to the batch library.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "batch/Batch.h"
#include "batch/Elabora.h"
#include "batch/Lotto.h"
#include "batch/Rapporti.h"
#include "batch/Record.h"
#include "batch/Uscita.h"

namespace termix::batch {

// The batches in flight: filled by the reader in order, computed by any
// worker, written by the writer in order.
class Catena {
public:
    // `fuori`: the batches go out as bytes (Uscenti) and their results come
    // back through Rientra, computed elsewhere.
    Catena(const Intestazione& h, unsigned lavoratori, Uscita& uscita, const OpzioniBatch& o,
           CartellaRapporti* cartella, bool fuori = false);

    // Hands a filled batch over; gives back an empty one to fill next.
    // False once writing has failed.
    bool consegna(Lotto& pieno);

    // Waits for everything to be written. Returns false if writing failed.
    bool termina();

    long long malformati() const { return malformati_; }
    long long rapportiNonScritti() const { return rapportiNonScritti_; }

    std::deque<std::string>& uscenti() { return uscenti_; }
    // The counts and messages of the oldest batch still out.
    void rientra(std::string_view esito);

private:
    void lavora();
    void scrivi();
    // Its output, messages and counts; false when the output cannot be written.
    bool scriviLotto(const Lotto& l, bool& riga);
    // A batch's messages (over the progress line) and counts.
    void prendi(std::string_view errori, long long malformati, long long rapportiNonScritti, bool& riga);

    const Intestazione& h_;
    std::vector<Lotto> slot_;
    Uscita& uscita_;
    const OpzioniBatch& o_;
    CartellaRapporti* cartella_;
    std::mutex mx_;
    std::condition_variable cvLavoro_, cvFatto_, cvLibero_;
    long long inviati_ = 0, prossimo_ = 0;
    bool fineLettura_ = false, guasto_ = false;
    std::atomic<long long> malformati_{0};
    std::atomic<long long> rapportiNonScritti_{0};
    long long scritte_ = 0;  // records written, by the writer only
    std::vector<std::thread> thread_;
    std::thread scrittore_;
    // Outside only.
    bool fuori_;
    std::deque<std::string> uscenti_;
    // In line only.
    std::vector<std::string_view> campi_;
    RisultatoRecord r_;
    Rapporti inLinea_;
};

}  // namespace termix::batch
