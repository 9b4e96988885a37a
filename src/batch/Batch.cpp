#include "batch/Batch.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <span>
#include <stdexcept>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "batch/Csv.h"
#include "batch/ErroriSistema.h"
#include "batch/Ingresso.h"
#include "batch/Rapporti.h"
#include "batch/Record.h"
#include "batch/Sistema.h"
#include "batch/Variando.h"
#include "report/OrologioSistema.h"

namespace termix::batch {

namespace {

constexpr const char* Programma = "termix54-batch";
// Records per batch and batches in flight: a few MB in all, whatever the file.
constexpr std::size_t RecordPerLotto = 512;

struct Lotto {
    struct Rec {
        long long riga, linea, ultimaLinea;
        std::size_t primo, campi;
        Difetto difetto;
        bool ripreso;
    };
    std::string dati;                // fields back to back
    std::vector<std::size_t> fini;   // end of each field in dati
    std::vector<Rec> rec;
    std::string uscita;
    std::string errori;
    long long malformati = 0;
    long long rapportiNonScritti = 0;
    enum class Stato { Libero, Pronto, Fatto } stato = Stato::Libero;

    void svuota() {
        dati.clear();
        fini.clear();
        rec.clear();
        uscita.clear();
        errori.clear();
        malformati = 0;
        rapportiNonScritti = 0;
    }
    void aggiungi(const RecordCsv& r, long long riga) {
        rec.push_back({riga, r.linea, r.ultimaLinea, fini.size(), r.campi.size(), r.difetto, r.ripreso});
        for (std::string_view c : r.campi) {
            dati.append(c);
            fini.push_back(dati.size());
        }
    }
};

// A batch, or its result, as bytes for a worker that shares no memory with the
// reader (a Web Worker): counts, then the arrays as they lie in memory, then
// the texts. Both ends are the same program.
template <class T>
void metti(std::string& s, const T* p, std::size_t n) {
    static_assert(std::is_trivially_copyable_v<T>);
    s.append(reinterpret_cast<const char*>(p), n * sizeof(T));
}
class Lettura {
public:
    explicit Lettura(std::string_view s) : s_(s) {}
    template <class T>
    void prendi(T* p, std::size_t n) {
        if (n > (s_.size() - pos_) / sizeof(T)) throw std::invalid_argument("lotto troncato");
        std::memcpy(static_cast<void*>(p), s_.data() + pos_, n * sizeof(T));
        pos_ += n * sizeof(T);
    }
    template <class T>
    T prendi() {
        T x;
        prendi(&x, 1);
        return x;
    }
    std::string_view resto() const { return s_.substr(pos_); }
    std::string_view testo(std::uint64_t n) {
        if (n > s_.size() - pos_) throw std::invalid_argument("lotto troncato");
        pos_ += n;
        return s_.substr(pos_ - n, n);
    }

private:
    std::string_view s_;
    std::size_t pos_ = 0;
};

std::string LottoInByte(const Lotto& l) {
    std::string s;
    const std::uint64_t n[] = {l.rec.size(), l.fini.size()};
    metti(s, n, 2);
    metti(s, l.rec.data(), l.rec.size());
    metti(s, l.fini.data(), l.fini.size());
    s += l.dati;
    return s;
}
void LottoDaByte(std::string_view s, Lotto& l) {
    Lettura x(s);
    l.svuota();
    const auto nRec = x.prendi<std::uint64_t>(), nFini = x.prendi<std::uint64_t>();
    if (nRec > s.size() || nFini > s.size()) throw std::invalid_argument("lotto troncato");
    l.rec.resize(nRec);
    x.prendi(l.rec.data(), l.rec.size());
    l.fini.resize(nFini);
    x.prendi(l.fini.data(), l.fini.size());
    l.dati = x.resto();
    for (const auto& r : l.rec)
        if (r.primo > l.fini.size() || r.campi > l.fini.size() - r.primo) throw std::invalid_argument("lotto incoerente");
    for (std::size_t i = 0, prima = 0; i < l.fini.size(); prima = l.fini[i++])
        if (l.fini[i] < prima || l.fini[i] > l.dati.size()) throw std::invalid_argument("lotto incoerente");
}
// A computed batch's counts and messages.
std::string EsitoInByte(const Lotto& l) {
    std::string s;
    const std::int64_t n[] = {l.malformati, l.rapportiNonScritti};
    metti(s, n, 2);
    s += l.errori;
    return s;
}
void MettiTesti(std::string& s, const auto& testi) {
    const std::uint64_t n = testi.size();
    metti(s, &n, 1);
    for (std::string_view t : testi) {
        const std::uint64_t k = t.size();
        metti(s, &k, 1);
        s += t;
    }
}
std::vector<std::string> PrendiTesti(Lettura& x) {
    const auto n = x.prendi<std::uint64_t>();
    std::vector<std::string> testi;
    for (std::uint64_t i = 0; i < n; ++i) testi.emplace_back(x.testo(x.prendi<std::uint64_t>()));
    return testi;
}
// The header for a worker: the output's encoding, the separator, the columns
// to copy, the header's fields.
std::string TestaInByte(CodificaTesto uscita, char sep, std::span<const std::string> conserva,
                        std::span<const std::string_view> campi) {
    std::string s{static_cast<char>(uscita), sep};
    MettiTesti(s, conserva);
    MettiTesti(s, campi);
    return s;
}

// The report's boxes as the forms would show them for this record.
class TestiVista : public SorgenteTesti {
public:
    explicit TestiVista(const VistaForme& v) : v_(v) {}
    std::string Testo(Bersaglio b) const override { return v_.testo(b); }

private:
    const VistaForme& v_;
};

// Per worker: what writing the report files needs.
struct Rapporti {
    CartellaRapporti* cartella = nullptr;  // null: no reports
    VistaForme vista;
    OrologioSistema orologio;
};

// "linea 4" or "linee 2-4": where a malformed record sits in the file.
std::string Linee(long long prima, long long ultima) {
    if (ultima <= prima) return "linea " + std::to_string(prima);
    return "linee " + std::to_string(prima) + "-" + std::to_string(ultima);
}

void elabora(const Intestazione& h, Lotto& l, std::vector<std::string_view>& campi, RisultatoRecord& r,
             Rapporti& rapporti, const Variando* variando) {
    std::vector<std::pair<double, Dettaglio>> fermati;
    for (const auto& rec : l.rec) {
        campi.clear();
        std::size_t inizio = rec.primo == 0 ? 0 : l.fini[rec.primo - 1];
        for (std::size_t k = 0; k < rec.campi; ++k) {
            std::size_t fine = l.fini[rec.primo + k];
            campi.emplace_back(l.dati.data() + inizio, fine - inizio);
            inizio = fine;
        }
        if (variando) {  // its records written already
            fermati.clear();
            ElaboraVariando(h, campi, rec.difetto, rec.riga, *variando, r, l.uscita, fermati);
            for (const auto& [valore, d] : fermati) {
                std::string x;
                ScriviNumero(x, valore, h.separatore);
                l.errori += std::string(Programma) + ": riga " + std::to_string(rec.riga) + " (" +
                            Linee(rec.linea, rec.ultimaLinea) + "), " + NomeColonnaVariata(*variando) + " = " + x + ": " +
                            d.testo() + "\n";
            }
        }
        else
            ElaboraRecord(h, campi, rec.difetto, r, rapporti.cartella ? &rapporti.vista : nullptr);
        if (!variando && rapporti.cartella && r.stato == RisultatoRecord::Stato::Completato) {
            std::string file, perche;
            if (!rapporti.cartella->Scrivi(rec.riga, TestiVista(rapporti.vista), rapporti.orologio, file, perche)) {
                r.esito += " | Rapporto non scritto";
                ++l.rapportiNonScritti;
                l.errori += std::string(Programma) + ": riga " + std::to_string(rec.riga) +
                            ": impossibile scrivere il rapporto " + file + ": " + perche + "\n";
            }
        }
        if (!variando) ScriviRecord(l.uscita, h, rec.riga, campi, r);
        if (r.stato == RisultatoRecord::Stato::Fermato && !r.dettaglio.causa.empty())
            l.errori += std::string(Programma) + ": riga " + std::to_string(rec.riga) + " (" +
                        Linee(rec.linea, rec.ultimaLinea) + "): " + r.dettaglio.testo() + "\n";
        if (!variando)
            for (const Avviso& a : r.avvisi)
                l.errori += std::string(Programma) + ": riga " + std::to_string(rec.riga) + " (" +
                            Linee(rec.linea, rec.ultimaLinea) + "): avviso: " + a.testo + "\n";
        if (r.stato == RisultatoRecord::Stato::Malformato) {
            ++l.malformati;
            l.errori += std::string(Programma) + ": riga " + std::to_string(rec.riga) + " (" +
                        Linee(rec.linea, rec.ultimaLinea) + "): " + r.diagnosi;
            if (rec.ripreso)
                l.errori += "; la linea " + std::to_string(rec.linea) + " è persa, la lettura riprende dalla linea " +
                            std::to_string(rec.linea + 1);
            l.errori += "\n";
        }
    }
}

class Uscita {
public:
    // Everything written goes out in `codifica`; a UTF-8 mark first when asked.
    void codifica(CodificaUscita c) { codifica_ = c; }
    // The run in steps: the output's first bytes kept for the caller (Inizio),
    // the rest written by the caller.
    void apriInMemoria() {
        inMemoria_ = true;
        if (codifica_.marchio) memoria_ = "\xEF\xBB\xBF";
    }
    std::string inizio() { return std::exchange(memoria_, {}); }
    bool apri(const std::string& nome, std::FILE* errori) {
        nome_ = nome.empty() ? "standard output" : nome;
        f_ = nome.empty() ? stdout : ApriFile(nome, "wb");
        if (!f_) {
            std::fprintf(errori, "%s: impossibile aprire %s: %s\n", Programma, nome_.c_str(), TestoErrore(errno).c_str());
            return false;
        }
        proprio_ = !nome.empty();
        std::setvbuf(f_, nullptr, _IOFBF, 1 << 16);
        return !codifica_.marchio || scriviByte("\xEF\xBB\xBF");
    }
    // `s` is UTF-8.
    bool scrivi(const std::string& s) {
        if (codifica_.codifica == CodificaTesto::Windows1252) return scriviByte(InWindows1252(s));
        return scriviByte(s);
    }
    bool chiudi() {
        if (inMemoria_) return true;
        bool ok = std::fflush(f_) == 0 && !std::ferror(f_);
        if (proprio_ && std::fclose(f_) != 0) ok = false;
        f_ = nullptr;
        return ok;
    }
    ~Uscita() {
        if (f_ && proprio_) std::fclose(f_);
    }
    const std::string& nome() const { return nome_; }
    bool aperta() const { return f_ != nullptr || inMemoria_; }

private:
    bool scriviByte(std::string_view s) {
        if (inMemoria_) return memoria_.append(s), true;
        return s.empty() || std::fwrite(s.data(), 1, s.size(), f_) == s.size();
    }

    CodificaUscita codifica_{CodificaTesto::Utf8, false};
    std::FILE* f_ = nullptr;
    bool proprio_ = false;
    std::string nome_;
    bool inMemoria_ = false;
    std::string memoria_;
};

// The batches in flight: filled by the reader in order, computed by any
// worker, written by the writer in order.
class Catena {
public:
    // `fuori`: the batches go out as bytes (Uscenti) and their results come
    // back through Rientra, computed elsewhere.
    Catena(const Intestazione& h, unsigned lavoratori, Uscita& uscita, const OpzioniBatch& o,
           CartellaRapporti* cartella, bool fuori = false)
        : h_(h), slot_(2 * lavoratori + 2), uscita_(uscita), o_(o), cartella_(cartella), fuori_(fuori) {
        inLinea_.cartella = cartella;
        if (lavoratori == 0) return;  // in line or outside: the caller computes and writes
        for (unsigned i = 0; i < lavoratori; ++i) thread_.emplace_back([this] { lavora(); });
        scrittore_ = std::thread([this] { scrivi(); });
    }

    // Hands a filled batch over; gives back an empty one to fill next.
    // False once writing has failed.
    bool consegna(Lotto& pieno) {
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

    // Waits for everything to be written. Returns false if writing failed.
    bool termina() {
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

    long long malformati() const { return malformati_; }
    long long rapportiNonScritti() const { return rapportiNonScritti_; }

    std::deque<std::string>& uscenti() { return uscenti_; }
    // The counts and messages of the oldest batch still out.
    void rientra(std::string_view esito) {
        Lettura x(esito);
        const auto malformati = x.prendi<std::int64_t>(), rapportiNonScritti = x.prendi<std::int64_t>();
        bool riga = false;  // no progress line
        prendi(x.resto(), malformati, rapportiNonScritti, riga);
    }

private:
    void lavora() {
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

    void scrivi() {
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

    // Its output, messages and counts; false when the output cannot be written.
    bool scriviLotto(const Lotto& l, bool& riga) {
        if (!uscita_.scrivi(l.uscita)) {
            std::fprintf(o_.errori, "%s%s: impossibile scrivere %s: %s\n", riga ? "\r\033[K" : "", Programma,
                         uscita_.nome().c_str(), TestoErrore(errno).c_str());
            return false;
        }
        prendi(l.errori, l.malformati, l.rapportiNonScritti, riga);
        return true;
    }

    // A batch's messages (over the progress line) and counts.
    void prendi(std::string_view errori, long long malformati, long long rapportiNonScritti, bool& riga) {
        if (!errori.empty()) {
            std::fprintf(o_.errori, "%s%.*s", riga ? "\r\033[K" : "", static_cast<int>(errori.size()), errori.data());
            std::fflush(o_.errori);
            riga = false;
        }
        malformati_ += malformati;
        rapportiNonScritti_ += rapportiNonScritti;
    }

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

}  // namespace

CodificaUscita UscitaPer(CodificaTesto ingresso, bool marchio) {
    switch (ingresso) {
        case CodificaTesto::Windows1252: return {CodificaTesto::Windows1252, false};
        case CodificaTesto::Utf16LE:
        case CodificaTesto::Utf16BE: return {CodificaTesto::Utf8, true};
        case CodificaTesto::Utf8: break;
    }
    return {CodificaTesto::Utf8, marchio};
}

namespace {

// One run of the tool: the header, then the records through the chain of
// batches, each failure an exit status of 2 and the end of the reading.
class Esecuzione {
public:
    // `recordPerLotto` > 0: the batches go out as bytes (see BatchDistribuito).
    explicit Esecuzione(const OpzioniBatch& o, std::size_t recordPerLotto = 0)
        : o_(o), err_(o.errori),
          lavoratori_(o.inLinea || recordPerLotto ? 0 : o.thread ? o.thread : std::max(1u, std::thread::hardware_concurrency())),
          recordPerLotto_(recordPerLotto ? recordPerLotto : RecordPerLotto), fuori_(recordPerLotto > 0) {
        h_.verifica = o.verifica;
    }

    int esegui() {
        if (apri())
            while (leggi()) {
            }
        return termina();
    }

    // Opens the input and settles its encoding. False on a read error.
    bool apri() {
        if (!ingresso_.Apri(o_.ingresso, o_.codifica)) {
            erroreLettura();
            return false;
        }
        uscita_.codifica(UscitaPer(ingresso_.codifica(), ingresso_.marchio()));
        return true;
    }

    // Reads one block and hands over its records. False once the reading is
    // over: the input's end, or a stop, with the last batch handed over.
    bool leggi() {
        auto suRecord = [this](const RecordCsv& r) { record(r); };
        std::string_view blocco;
        if (!ingresso_.Leggi(blocco)) {
            erroreLettura();
        } else if (!blocco.empty()) {
            lettore_.alimenta(blocco.data(), blocco.size(), suRecord);
            if (fase_ != Fase::Fine) return true;
        }
        if (fase_ != Fase::Fine) lettore_.fine(suRecord);
        if (fase_ == Fase::Intestazione && esito_ == 0) senzaIntestazione();
        if (catena_ && esito_ == 0 && !corrente_.rec.empty() && !catena_->consegna(corrente_)) esito_ = 2;
        fase_ = Fase::Fine;
        return false;
    }

    int termina() {
        if (catena_) {
            if (!catena_->termina()) esito_ = 2;
            if (esito_ == 0 && (catena_->malformati() > 0 || catena_->rapportiNonScritti() > 0)) esito_ = 1;
            catena_.reset();
        }
        if (uscita_.aperta() && !uscita_.chiudi() && esito_ != 2) {
            // A full disk often shows only when the last buffer goes out.
            erroreScrittura();
            esito_ = 2;
        }
        return esito_;
    }

    // Outside only: the batches read and not yet taken, and where their results come back.
    Catena* catena() { return catena_.get(); }
    // The header as the workers read it: the output's encoding, the separator, the columns to copy, its fields.
    const std::string& testa() const { return testa_; }
    std::string inizio() { return uscita_.inizio(); }

private:
    enum class Fase { Intestazione, Dati, Fine };

    // Stops the reading with exit status 2.
    void ferma() {
        fase_ = Fase::Fine;
        esito_ = 2;
    }
    int erroreLettura() {
        std::fprintf(err_, "%s: errore di lettura da %s: %s\n", Programma, o_.nomeIngresso.c_str(),
                     TestoErrore(errno).c_str());
        ferma();
        return esito_;
    }
    void erroreScrittura() {
        std::fprintf(err_, "%s: impossibile scrivere %s: %s\n", Programma, uscita_.nome().c_str(),
                     TestoErrore(errno).c_str());
    }

    // Opens the output and the report folder, writes the header, starts the workers.
    bool avvia(char sep) {
        if (fuori_)
            uscita_.apriInMemoria();
        else if (!uscita_.apri(o_.nomeUscita, err_))
            return false;
        // A folder that cannot be used shows up as reports not written,
        // record by record, with their values still computed.
        CartellaRapporti* rapporti = nullptr;
        if (!o_.cartellaRapporti.empty()) {
            cartella_.Prepara(o_.cartellaRapporti, err_);
            rapporti = &cartella_;
        }
        std::string testa;
        if (o_.variando)
            ScriviIntestazioneVariando(testa, sep, h_.nomiConservati, *o_.variando, h_.verifica.attiva);
        else
            ScriviIntestazione(testa, sep, h_.nomiConservati, nullptr, h_.verifica.attiva);
        if (!uscita_.scrivi(testa)) {
            erroreScrittura();
            return false;
        }
        catena_ = std::make_unique<Catena>(h_, lavoratori_, uscita_, o_, rapporti, fuori_);
        return true;
    }

    void intestazione(const RecordCsv& r) {
        if (r.difetto != Difetto::Nessuno) {
            std::fprintf(err_, "%s: %s: intestazione non valida (%s): %s\n", Programma, o_.nomeIngresso.c_str(),
                         Linee(r.linea, r.ultimaLinea).c_str(), DescriviDifetto(r.difetto));
            return ferma();
        }
        if (auto errore = LeggiIntestazione(r.campi, lettore_.separatore(), h_, o_.conserva)) {
            std::fprintf(err_, "%s: %s: %s\n", Programma, o_.nomeIngresso.c_str(), errore->c_str());
            return ferma();
        }
        if (!avvia(h_.separatore)) return ferma();
        fase_ = Fase::Dati;
        if (fuori_) testa_ = TestaInByte(UscitaPer(ingresso_.codifica(), ingresso_.marchio()).codifica, lettore_.separatore(), o_.conserva, r.campi);
    }

    void record(const RecordCsv& r) {
        if (fase_ == Fase::Fine || r.vuoto) return;  // blank lines, before the header too
        if (fase_ == Fase::Intestazione) return intestazione(r);
        corrente_.aggiungi(r, ++riga_);
        if (corrente_.rec.size() >= recordPerLotto_ && !catena_->consegna(corrente_)) ferma();
    }

    // No header at all: an empty input gives an output with its header only.
    void senzaIntestazione() {
        if (!o_.conserva.empty()) {
            std::fprintf(err_, "%s: %s: nessuna intestazione, quindi nessuna colonna da conservare\n", Programma,
                         o_.nomeIngresso.c_str());
            esito_ = 2;
        } else if (!avvia(lettore_.separatore() ? lettore_.separatore() : ';')) {
            esito_ = 2;
        }
    }

    const OpzioniBatch& o_;
    std::FILE* err_;
    unsigned lavoratori_;
    std::size_t recordPerLotto_;
    bool fuori_;
    std::string testa_;
    LetturaIngresso ingresso_;
    LettoreCsv lettore_;
    Intestazione h_;
    Uscita uscita_;
    CartellaRapporti cartella_;
    std::unique_ptr<Catena> catena_;
    Lotto corrente_;
    long long riga_ = 0;
    Fase fase_ = Fase::Intestazione;
    int esito_ = 0;
};

}  // namespace

int EseguiBatch(const OpzioniBatch& o) { return Esecuzione(o).esegui(); }

struct BatchDistribuito::Stato {
    Stato(const OpzioniBatch& o, std::size_t recordPerLotto) : e(o, recordPerLotto) {}
    Esecuzione e;
    bool aperto = false, letto = false;
    long long fuori = 0;  // batches out, their results not yet back
};

BatchDistribuito::BatchDistribuito(const OpzioniBatch& o, std::size_t recordPerLotto)
    : s_(std::make_unique<Stato>(o, std::max<std::size_t>(1, recordPerLotto))) {
    if (o.variando || o.verifica.attiva || !o.cartellaRapporti.empty())
        throw std::invalid_argument("BatchDistribuito: solo --conserva tra le opzioni");
}

BatchDistribuito::~BatchDistribuito() = default;

std::string BatchDistribuito::Prossimo() {
    if (!s_->aperto) {
        s_->aperto = true;
        s_->letto = !s_->e.apri();
    }
    for (;;) {
        if (Catena* c = s_->e.catena(); c && !c->uscenti().empty()) {
            std::string l = std::move(c->uscenti().front());
            c->uscenti().pop_front();
            ++s_->fuori;
            return l;
        }
        if (s_->letto) return {};
        s_->letto = !s_->e.leggi();
    }
}

const std::string& BatchDistribuito::Testa() const { return s_->e.testa(); }

std::string BatchDistribuito::Inizio() { return s_->e.inizio(); }

void BatchDistribuito::Rientra(std::string_view esito) {
    Catena* c = s_->e.catena();
    if (!c || s_->fuori == 0) throw std::logic_error("BatchDistribuito: nessun lotto fuori");
    --s_->fuori;
    c->rientra(esito);
}

int BatchDistribuito::Termina() {
    if (!s_->letto || s_->fuori != 0) throw std::logic_error("BatchDistribuito: lettura non finita");
    return s_->e.termina();
}

std::string ElaboraLotto(std::string_view testa, std::string_view lotto, std::string& uscita) {
    struct Posto {
        std::string testa;
        bool windows1252 = false;
        Intestazione h;
        Lotto l;
        std::vector<std::string_view> campi;
        RisultatoRecord r;
        Rapporti rapporti;
    };
    thread_local Posto p;
    if (p.testa != testa) {
        Lettura x(testa);
        p.windows1252 = static_cast<CodificaTesto>(x.prendi<char>()) == CodificaTesto::Windows1252;
        const char sep = x.prendi<char>();
        const std::vector<std::string> conserva = PrendiTesti(x);
        const std::vector<std::string> testi = PrendiTesti(x);
        const std::vector<std::string_view> campi(testi.begin(), testi.end());
        p.h = Intestazione{};
        if (auto errore = LeggiIntestazione(campi, sep, p.h, conserva)) throw std::invalid_argument(*errore);
        p.testa = testa;
    }
    LottoDaByte(lotto, p.l);
    elabora(p.h, p.l, p.campi, p.r, p.rapporti, nullptr);
    if (p.windows1252)
        uscita = InWindows1252(p.l.uscita);
    else
        uscita.swap(p.l.uscita);
    return EsitoInByte(p.l);
}

}  // namespace termix::batch
