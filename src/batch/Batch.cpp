#include "batch/Batch.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "batch/Csv.h"
#include "batch/Record.h"
#include "batch/Variando.h"
#include "report/OrologioSistema.h"
#include "report/SalvaRapporto.h"

namespace termix::batch {

namespace {

constexpr const char* Programma = "termix54-batch";
// Records per batch and batches in flight: a few MB in all, whatever the file.
constexpr std::size_t RecordPerLotto = 512;
constexpr std::size_t BloccoLettura = 1 << 18;

struct Lotto {
    struct Rec {
        long long riga, linea;
        std::size_t primo, campi;
        bool nonTerminato;
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
        rec.push_back({riga, r.linea, fini.size(), r.campi.size(), r.nonTerminato});
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
    std::string Testo(Finestra f, std::string_view controllo) const override { return v_.testo(f, controllo); }

private:
    const VistaForme& v_;
};

// Per worker: what writing the report files needs.
struct Rapporti {
    const std::string* cartella = nullptr;  // null: no reports
    VistaForme vista;
    OrologioSistema orologio;
    FileSystemPosix fs;
};

void elabora(const Intestazione& h, Lotto& l, std::vector<std::string_view>& campi, RisultatoRecord& r,
             Rapporti& rapporti, const Variando* variando) {
    for (const auto& rec : l.rec) {
        campi.clear();
        std::size_t inizio = rec.primo == 0 ? 0 : l.fini[rec.primo - 1];
        for (std::size_t k = 0; k < rec.campi; ++k) {
            std::size_t fine = l.fini[rec.primo + k];
            campi.emplace_back(l.dati.data() + inizio, fine - inizio);
            inizio = fine;
        }
        if (variando)  // its records written already
            ElaboraVariando(h, campi, rec.nonTerminato, rec.riga, *variando, r, l.uscita);
        else
            ElaboraRecord(h, campi, rec.nonTerminato, r, rapporti.cartella ? &rapporti.vista : nullptr);
        if (!variando && rapporti.cartella && r.stato == RisultatoRecord::Stato::Completato) {
            const std::string file = (std::filesystem::path(*rapporti.cartella) / (std::to_string(rec.riga) + ".TXT")).string();
            bool scritto = false;
            try {
                scritto = SalvaRapporto(file, TestiVista(rapporti.vista), rapporti.orologio, rapporti.fs);
            } catch (const std::exception&) {
                scritto = false;  // no converter or no memory: this report is not written
            }
            if (!scritto) {
                r.esito += " | Rapporto non scritto";
                ++l.rapportiNonScritti;
                l.errori += std::string(Programma) + ": riga " + std::to_string(rec.riga) +
                            ": impossibile scrivere il rapporto " + file + "\n";
            }
        }
        if (!variando) ScriviRecord(l.uscita, h, rec.riga, campi, r);
        if (r.stato == RisultatoRecord::Stato::Malformato) {
            ++l.malformati;
            l.errori += std::string(Programma) + ": riga " + std::to_string(rec.riga) + " (linea " +
                        std::to_string(rec.linea) + "): " + r.diagnosi + "\n";
        }
    }
}

class Uscita {
public:
    bool apri(const std::string& nome, std::FILE* errori) {
        nome_ = nome.empty() ? "standard output" : nome;
        f_ = nome.empty() ? stdout : std::fopen(nome.c_str(), "wb");
        if (!f_) {
            std::fprintf(errori, "%s: impossibile aprire %s: %s\n", Programma, nome_.c_str(), std::strerror(errno));
            return false;
        }
        proprio_ = !nome.empty();
        std::setvbuf(f_, nullptr, _IOFBF, 1 << 16);
        return true;
    }
    bool scrivi(const std::string& s) { return s.empty() || std::fwrite(s.data(), 1, s.size(), f_) == s.size(); }
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
    std::FILE* f_ = nullptr;
    bool proprio_ = false;
    std::string nome_;
};

// The batches in flight: filled by the reader in order, computed by any
// worker, written by the writer in order.
class Catena {
public:
    Catena(const Intestazione& h, unsigned lavoratori, Uscita& uscita, const OpzioniBatch& o)
        : h_(h), slot_(2 * lavoratori + 2), uscita_(uscita), o_(o) {
        for (unsigned i = 0; i < lavoratori; ++i) thread_.emplace_back([this] { lavora(); });
        scrittore_ = std::thread([this] { scrivi(); });
    }

    // Hands a filled batch over; gives back an empty one to fill next.
    // False once writing has failed.
    bool consegna(Lotto& pieno) {
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
        scrittore_.join();
        return !guasto_;
    }

    long long malformati() const { return malformati_; }
    long long rapportiNonScritti() const { return rapportiNonScritti_; }

private:
    void lavora() {
        std::vector<std::string_view> campi;
        RisultatoRecord r;
        Rapporti rapporti;
        if (!o_.cartellaRapporti.empty()) rapporti.cartella = &o_.cartellaRapporti;
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
            if (!uscita_.scrivi(l->uscita)) {
                std::fprintf(o_.errori, "%s%s: impossibile scrivere %s: %s\n", riga ? "\r\033[K" : "", Programma,
                             uscita_.nome().c_str(), std::strerror(errno));
                std::lock_guard lk(mx_);
                guasto_ = true;
                cvLibero_.notify_all();
                cvLavoro_.notify_all();
                return;
            }
            if (!l->errori.empty()) {
                std::fprintf(o_.errori, "%s%s", riga ? "\r\033[K" : "", l->errori.c_str());
                riga = false;
            }
            malformati_ += l->malformati;
            rapportiNonScritti_ += l->rapportiNonScritti;
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

    const Intestazione& h_;
    std::vector<Lotto> slot_;
    Uscita& uscita_;
    const OpzioniBatch& o_;
    std::mutex mx_;
    std::condition_variable cvLavoro_, cvFatto_, cvLibero_;
    long long inviati_ = 0, prossimo_ = 0;
    bool fineLettura_ = false, guasto_ = false;
    std::atomic<long long> malformati_{0};
    std::atomic<long long> rapportiNonScritti_{0};
    std::vector<std::thread> thread_;
    std::thread scrittore_;
};

}  // namespace

int EseguiBatch(const OpzioniBatch& o) {
    std::FILE* err = o.errori;
    unsigned lavoratori = o.thread ? o.thread : std::max(1u, std::thread::hardware_concurrency());

    LettoreCsv lettore;
    Intestazione h;
    Uscita uscita;
    std::unique_ptr<Catena> catena;
    Lotto corrente;
    long long riga = 0;
    enum class Fase { Intestazione, Dati, Fine } fase = Fase::Intestazione;
    int esito = 0;

    auto avvia = [&](char sep) -> bool {
        if (!uscita.apri(o.nomeUscita, err)) return false;
        if (!o.cartellaRapporti.empty()) {
            // A folder that cannot be made shows up as reports not written,
            // record by record, with their values still computed.
            std::error_code ec;
            std::filesystem::create_directories(o.cartellaRapporti, ec);
            if (ec)
                std::fprintf(err, "%s: impossibile creare la cartella %s: %s\n", Programma,
                             o.cartellaRapporti.c_str(), ec.message().c_str());
        }
        std::string testa;
        if (o.variando)
            ScriviIntestazioneVariando(testa, sep, *o.variando);
        else
            ScriviIntestazione(testa, sep);
        if (!uscita.scrivi(testa)) {
            std::fprintf(err, "%s: impossibile scrivere %s: %s\n", Programma, uscita.nome().c_str(),
                         std::strerror(errno));
            return false;
        }
        catena = std::make_unique<Catena>(h, lavoratori, uscita, o);
        return true;
    };

    auto suRecord = [&](const RecordCsv& r) {
        if (fase == Fase::Fine) return;
        if (fase == Fase::Intestazione) {
            if (r.nonTerminato) {
                std::fprintf(err, "%s: %s: intestazione con virgolette non chiuse\n", Programma,
                             o.nomeIngresso.c_str());
                fase = Fase::Fine;
                esito = 2;
                return;
            }
            if (auto errore = LeggiIntestazione(r.campi, lettore.separatore(), h)) {
                std::fprintf(err, "%s: %s: %s\n", Programma, o.nomeIngresso.c_str(), errore->c_str());
                fase = Fase::Fine;
                esito = 2;
                return;
            }
            if (!avvia(h.separatore)) {
                fase = Fase::Fine;
                esito = 2;
                return;
            }
            fase = Fase::Dati;
            return;
        }
        if (r.vuoto) return;
        corrente.aggiungi(r, ++riga);
        if (corrente.rec.size() >= RecordPerLotto && !catena->consegna(corrente)) {
            fase = Fase::Fine;
            esito = 2;
        }
    };

    std::vector<char> blocco(BloccoLettura);
    for (;;) {
        std::size_t n = std::fread(blocco.data(), 1, blocco.size(), o.ingresso);
        if (n > 0) lettore.alimenta(blocco.data(), n, suRecord);
        if (fase == Fase::Fine) break;
        if (n < blocco.size()) {
            if (std::ferror(o.ingresso)) {
                std::fprintf(err, "%s: errore di lettura da %s: %s\n", Programma, o.nomeIngresso.c_str(),
                             std::strerror(errno));
                esito = 2;
                fase = Fase::Fine;
            }
            break;
        }
    }
    if (fase != Fase::Fine) lettore.fine(suRecord);
    if (fase == Fase::Intestazione && esito == 0) {
        // No header at all: an empty input gives an output with its header only.
        if (!avvia(lettore.separatore() ? lettore.separatore() : ';')) esito = 2;
    }
    if (catena) {
        if (esito == 0 && !corrente.rec.empty() && !catena->consegna(corrente)) esito = 2;
        if (!catena->termina()) esito = 2;
        if (esito == 0 && (catena->malformati() > 0 || catena->rapportiNonScritti() > 0)) esito = 1;
        catena.reset();
    }
    if (uscita.aperta() && !uscita.chiudi() && esito != 2) {
        // A full disk often shows only when the last buffer goes out.
        std::fprintf(err, "%s: impossibile scrivere %s: %s\n", Programma, uscita.nome().c_str(), std::strerror(errno));
        esito = 2;
    }
    return esito;
}

}  // namespace termix::batch
