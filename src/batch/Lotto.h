#pragma once
// A batch of records, the unit the reader hands to the workers and the writer
// takes back, and its wire format: a batch, its result and the header as bytes
// for a worker that shares no memory with the reader (a Web Worker). Both ends
// are the same program, so the arrays travel as they lie in memory.
// Internal to the batch library.
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "batch/Csv.h"
#include "report/Codifica.h"

namespace termix::batch {

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
    long long completati = 0;  // Esito "OK"
    long long conAvvisi = 0;   // a non-empty Avvisi
    enum class Stato { Libero, Pronto, Fatto } stato = Stato::Libero;

    void svuota() {
        dati.clear();
        fini.clear();
        rec.clear();
        uscita.clear();
        errori.clear();
        malformati = 0;
        rapportiNonScritti = 0;
        completati = 0;
        conAvvisi = 0;
    }
    void aggiungi(const RecordCsv& r, long long riga) {
        rec.push_back({riga, r.linea, r.ultimaLinea, fini.size(), r.campi.size(), r.difetto, r.ripreso});
        for (std::string_view c : r.campi) {
            dati.append(c);
            fini.push_back(dati.size());
        }
    }
};

// Reads the bytes back: counts, then the arrays, then the texts; a short or
// inconsistent input throws std::invalid_argument.
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

std::string LottoInByte(const Lotto& l);
void LottoDaByte(std::string_view s, Lotto& l);
// A computed batch's counts and messages.
std::string EsitoInByte(const Lotto& l);
std::vector<std::string> PrendiTesti(Lettura& x);
// The header for a worker: the output's encoding, the separator, the columns
// to copy, the header's fields.
std::string TestaInByte(CodificaTesto uscita, char sep, std::span<const std::string> conserva,
                        std::span<const std::string_view> campi);

}  // namespace termix::batch
