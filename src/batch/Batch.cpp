// The two drivers of a run: EseguiBatch, which reads, computes on threads and
// writes in one call, and the run in steps (BatchDistribuito, ElaboraLotto)
// for the browser's workers. Both are the same Esecuzione: the header, then
// the records in batches through the Catena; the batches' wire format, their
// processing, the output and the chain each live in their own file.
#include "batch/Batch.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "batch/Catena.h"
#include "batch/Comune.h"
#include "batch/Csv.h"
#include "batch/Elabora.h"
#include "batch/ErroriSistema.h"
#include "batch/Ingresso.h"
#include "batch/Lotto.h"
#include "batch/Rapporti.h"
#include "batch/Record.h"
#include "batch/Uscita.h"
#include "batch/Variando.h"

namespace termix::batch {

namespace {

// Records per batch and batches in flight: a few MB in all, whatever the file.
constexpr std::size_t RecordPerLotto = 512;

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
            qualcosa_ = true;
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
        // A failed run leaves the old output as it was.
        if (uscita_.aperta() && !uscita_.chiudi(esito_ < 2)) esito_ = 2;
        return esito_;
    }

    // Outside only: the batches read and not yet taken, and where their results come back.
    Catena* catena() { return catena_.get(); }
    // The header as the workers read it: the output's encoding, the separator, the columns to copy, its fields.
    const std::string& testa() const { return testa_; }
    std::string inizio() { return uscita_.inizio(); }
    long long letti() const { return riga_; }

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
            ScriviIntestazioneVariando(testa, sep, h_.nomiConservati, *o_.variando, h_.verifica);
        else
            ScriviIntestazione(testa, sep, h_.nomiConservati, nullptr, h_.verifica);
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
        if (auto errore = LeggiIntestazione(r.campi, lettore_.separatore(), h_, o_.conserva, o_.consigli)) {
            for (std::size_t i = 0; i < errore->size();) {  // a line each, each with the file's name
                const std::size_t fine = std::min(errore->find('\n', i), errore->size());
                std::fprintf(err_, "%s: %s: %.*s\n", Programma, o_.nomeIngresso.c_str(), static_cast<int>(fine - i),
                             errore->data() + i);
                i = fine + 1;
            }
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

    // No header at all: refused, and no output written (an output with a
    // header only would pass for a run over nothing).
    void senzaIntestazione() {
        std::fprintf(err_, "%s: %s: nessuna intestazione: %s\n", Programma, o_.nomeIngresso.c_str(),
                     qualcosa_ ? "il file ha solo righe vuote" : "il file è vuoto");
        esito_ = 2;
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
    bool qualcosa_ = false;  // any byte read
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

long long BatchDistribuito::Letti() const { return s_->e.letti(); }

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

std::string ElaboraLotto(std::string_view testa, std::string_view lotto, std::string& uscita, ContiLotto* conti) {
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
    if (conti) *conti = {static_cast<long long>(p.l.rec.size()), p.l.completati, p.l.conAvvisi};
    if (p.windows1252)
        uscita = InWindows1252(p.l.uscita);
    else
        uscita.swap(p.l.uscita);
    return EsitoInByte(p.l);
}

}  // namespace termix::batch
