// The chain of batches (see Catena.h): the only part of the run with threads
// and locks, kept apart so the reading and the drivers stay plain code.
#include "batch/Catena.h"

#include <chrono>
#include <cerrno>
#include <cstdio>
#include <utility>

#include "batch/Comune.h"
#include "batch/ErroriSistema.h"
#include "batch/Interruzione.h"

namespace termix::batch {

Catena::Catena(const Intestazione& h, unsigned lavoratori, Uscita& uscita, const OpzioniBatch& o,
               CartellaRapporti* cartella, bool fuori)
    : h_(h), slot_(2 * lavoratori + 2), uscita_(uscita), o_(o), cartella_(cartella), fuori_(fuori) {
    inLinea_.cartella = cartella;
    if (lavoratori == 0) return;  // in line or outside: the caller computes and writes
    for (unsigned i = 0; i < lavoratori; ++i) thread_.emplace_back([this] { lavora(); });
    scrittore_ = std::thread([this] { scrivi(); });
}

bool Catena::consegna(Lotto& pieno) {
    if (fuori_) {
        uscenti_.push_back(LottoInByte(pieno));
        pieno.svuota();
        return !guasto_;
    }
    if (!scrittore_.joinable()) {
        elabora(h_, pieno, campi_, r_, inLinea_, o_.variando);
        bool riga = false;
        const bool ok = scriviLotto(pieno, riga);
        pieno.svuota();
        return ok;
    }
    std::unique_lock lk(mx_);
    Lotto& s = slot_[inviati_ % slot_.size()];
    cvLibero_.wait(lk, [&] { return s.stato == Lotto::Stato::Libero || guasto_; });
    if (guasto_) return false;
    std::swap(s, pieno);
    s.stato = Lotto::Stato::Pronto;
    ++inviati_;
    cvLavoro_.notify_one();
    pieno.svuota();
    return true;
}

bool Catena::termina() {
    {
        std::lock_guard lk(mx_);
        fineLettura_ = true;
    }
    cvLavoro_.notify_all();
    cvFatto_.notify_all();
    for (auto& t : thread_) t.join();
    if (scrittore_.joinable()) scrittore_.join();
    return !guasto_;
}

void Catena::rientra(std::string_view esito) {
    Lettura x(esito);
    const auto malformati = x.prendi<std::int64_t>(), rapportiNonScritti = x.prendi<std::int64_t>();
    bool riga = false;  // no progress line
    prendi(x.resto(), malformati, rapportiNonScritti, riga);
}

void Catena::lavora() {
    std::vector<std::string_view> campi;
    RisultatoRecord r;
    Rapporti rapporti;
    rapporti.cartella = cartella_;
    for (;;) {
        std::unique_lock lk(mx_);
        cvLavoro_.wait(lk, [&] { return prossimo_ < inviati_ || fineLettura_ || guasto_; });
        if (guasto_ || prossimo_ == inviati_) return;
        Lotto& l = slot_[prossimo_++ % slot_.size()];
        lk.unlock();
        elabora(h_, l, campi, r, rapporti, o_.variando);
        lk.lock();
        l.stato = Lotto::Stato::Fatto;
        cvFatto_.notify_all();
    }
}

void Catena::scrivi() {
    using Orologio = std::chrono::steady_clock;
    auto ultimo = Orologio::now();
    long long record = 0;
    bool riga = false;  // progress line on screen
    for (long long n = 0;; ++n) {
        Lotto* l;
        {
            std::unique_lock lk(mx_);
            l = &slot_[n % slot_.size()];
            cvFatto_.wait(lk, [&] { return l->stato == Lotto::Stato::Fatto || (fineLettura_ && n == inviati_); });
            if (l->stato != Lotto::Stato::Fatto) break;
        }
        if (!scriviLotto(*l, riga)) {
            std::lock_guard lk(mx_);
            guasto_ = true;
            cvLibero_.notify_all();
            cvLavoro_.notify_all();
            return;
        }
        record += static_cast<long long>(l->rec.size());
        if (o_.progresso && Orologio::now() - ultimo > std::chrono::milliseconds(250)) {
            ultimo = Orologio::now();
            std::fprintf(o_.errori, "\r%s: %lld record elaborati", Programma, record);
            std::fflush(o_.errori);
            riga = true;
        }
        std::lock_guard lk(mx_);
        l->stato = Lotto::Stato::Libero;
        cvLibero_.notify_all();
    }
    if (riga) {
        std::fprintf(o_.errori, "\r\033[K");
        std::fflush(o_.errori);
    }
}

bool Catena::scriviLotto(const Lotto& l, bool& riga) {
    if (!uscita_.scrivi(l.uscita)) {
        std::fprintf(o_.errori, "%s%s: impossibile scrivere %s: %s\n", riga ? "\r\033[K" : "", Programma,
                     uscita_.nome().c_str(), TestoErrore(errno).c_str());
        return false;
    }
    // Counted before its messages go out: a stop seen after them counts it.
    interruzione::RigheScritte(scritte_ += static_cast<long long>(l.rec.size()));
    prendi(l.errori, l.malformati, l.rapportiNonScritti, riga);
    return true;
}

void Catena::prendi(std::string_view errori, long long malformati, long long rapportiNonScritti, bool& riga) {
    if (!errori.empty()) {
        std::fprintf(o_.errori, "%s%.*s", riga ? "\r\033[K" : "", static_cast<int>(errori.size()), errori.data());
        std::fflush(o_.errori);
        riga = false;
    }
    malformati_ += malformati;
    rapportiNonScritti_ += rapportiNonScritti;
}

}  // namespace termix::batch
