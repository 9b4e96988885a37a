#include "batch/Batch.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
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
        bool ok = std::fflush(f_) == 0 && !std::ferror(f_);
        if (proprio_ && std::fclose(f_) != 0) ok = false;
        f_ = nullptr;
        return ok;
    }
    ~Uscita() {
        if (f_ && proprio_) std::fclose(f_);
    }
    const std::string& nome() const { return nome_; }
    bool aperta() const { return f_ != nullptr; }

private:
    bool scriviByte(std::string_view s) { return s.empty() || std::fwrite(s.data(), 1, s.size(), f_) == s.size(); }

    CodificaUscita codifica_{CodificaTesto::Utf8, false};
    std::FILE* f_ = nullptr;
    bool proprio_ = false;
    std::string nome_;
};

// The batches in flight: filled by the reader in order, computed by any
// worker, written by the writer in order.
class Catena {
public:
    Catena(const Intestazione& h, unsigned lavoratori, Uscita& uscita, const OpzioniBatch& o,
           CartellaRapporti* cartella)
        : h_(h), slot_(2 * lavoratori + 2), uscita_(uscita), o_(o), cartella_(cartella) {
        inLinea_.cartella = cartella;
        if (lavoratori == 0) return;  // in line: the caller computes and writes
        for (unsigned i = 0; i < lavoratori; ++i) thread_.emplace_back([this] { lavora(); });
        scrittore_ = std::thread([this] { scrivi(); });
    }

    // Hands a filled batch over; gives back an empty one to fill next.
    // False once writing has failed.
    bool consegna(Lotto& pieno) {
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
        if (!l.errori.empty()) {
            std::fprintf(o_.errori, "%s%s", riga ? "\r\033[K" : "", l.errori.c_str());
            std::fflush(o_.errori);
            riga = false;
        }
        malformati_ += l.malformati;
        rapportiNonScritti_ += l.rapportiNonScritti;
        return true;
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
    explicit Esecuzione(const OpzioniBatch& o)
        : o_(o), err_(o.errori), lavoratori_(o.inLinea ? 0 : o.thread ? o.thread : std::max(1u, std::thread::hardware_concurrency())) {
        h_.verifica = o.verifica;
    }

    int esegui() {
        if (!ingresso_.Apri(o_.ingresso, o_.codifica)) return erroreLettura();
        uscita_.codifica(UscitaPer(ingresso_.codifica(), ingresso_.marchio()));
        auto suRecord = [this](const RecordCsv& r) { record(r); };
        for (std::string_view blocco;;) {
            if (!ingresso_.Leggi(blocco)) {
                erroreLettura();
                break;
            }
            if (blocco.empty()) break;
            lettore_.alimenta(blocco.data(), blocco.size(), suRecord);
            if (fase_ == Fase::Fine) break;
        }
        if (fase_ != Fase::Fine) lettore_.fine(suRecord);
        if (fase_ == Fase::Intestazione && esito_ == 0) senzaIntestazione();
        return termina();
    }

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
        if (!uscita_.apri(o_.nomeUscita, err_)) return false;
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
        catena_ = std::make_unique<Catena>(h_, lavoratori_, uscita_, o_, rapporti);
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
    }

    void record(const RecordCsv& r) {
        if (fase_ == Fase::Fine || r.vuoto) return;  // blank lines, before the header too
        if (fase_ == Fase::Intestazione) return intestazione(r);
        corrente_.aggiungi(r, ++riga_);
        if (corrente_.rec.size() >= RecordPerLotto && !catena_->consegna(corrente_)) ferma();
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

    int termina() {
        if (catena_) {
            if (esito_ == 0 && !corrente_.rec.empty() && !catena_->consegna(corrente_)) esito_ = 2;
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

    const OpzioniBatch& o_;
    std::FILE* err_;
    unsigned lavoratori_;
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

}  // namespace termix::batch
