#pragma once
// CSV reading and writing for the batch tool (RFC 4180 with the usual
// leniencies of spreadsheet exports), and the numbers of the two conventions.
#include <cstddef>
#include <cstring>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/Formato.h"
#include "report/TabellaRisultati.h"

namespace termix::batch {

// What is wrong with a record the reader could not split as written.
enum class Difetto : std::uint8_t {
    Nessuno,
    VirgoletteAperte,     // a quote still open at the end of the input
    TestoDopoVirgolette,  // after a closing quote, neither the separator nor the line end
};

// One record as the reader hands it out. The views live until the next call
// into the reader.
struct RecordCsv {
    std::span<const std::string_view> campi;
    long long linea = 0;         // physical line (1-based) where the record starts
    long long ultimaLinea = 0;   // last line it reached (where the fault was found)
    bool vuoto = false;          // only separators and blanks: skipped, never numbered
    Difetto difetto = Difetto::Nessuno;
    // A quoted field that ran over line ends and then broke the rule: the
    // record keeps only its first line (its fields up to that line end) and
    // reading starts again at the line after it, so nothing else is lost.
    bool ripreso = false;
};

// Incremental reader: feed it blocks of any size, it calls back once per
// complete record. The separator is taken from the first record that is not
// blank (the header): the first ';' or ',' outside quotes, ';' when there is
// neither. A UTF-8 byte-order mark at the very start is dropped. Lines end
// with LF or CRLF; a CR not followed by LF is data. Inside quotes everything
// is data and "" is one quote; a quote inside an unquoted field is data.
// After a closing quote only the separator or the line end may follow:
// anything else makes the record faulty (TestoDopoVirgolette), and the rest
// of its line is split at the separators with every quote as data.
class LettoreCsv {
public:
    template <class F>
    void alimenta(const char* dati, std::size_t n, F&& suRecord) {
        std::size_t i = 0;
        while (i < n) {
            // Runs of plain data go in whole; the state machine sees only
            // the characters that can change something.
            if (bom_ == 3 && !crSospeso_) {
                std::size_t j = i;
                if (stato_ == Stato::Quotato) {
                    const void* q = std::memchr(dati + i, '"', n - i);
                    j = q ? static_cast<std::size_t>(static_cast<const char*>(q) - dati) : n;
                    if (ripeti_) {
                        ripresa_.append(dati + i, j - i);
                        for (std::size_t k = i; k < j; ++k)
                            if (dati[k] == '\n') ++lineaCorrente_;
                    } else if (const void* a = std::memchr(dati + i, '\n', j - i)) {
                        // The first line end inside the quotes goes one by one.
                        j = static_cast<std::size_t>(static_cast<const char*>(a) - dati);
                    }
                } else if (stato_ == Stato::NonQuotato && sep_ != 0) {
                    for (; j < n; ++j) {
                        const char c = dati[j];
                        if (c == sep_ || c == '\n' || c == '\r') break;
                        if (c != ' ' && c != '\t') vuoto_ = false;
                    }
                }
                if (j > i) {
                    buffer_.append(dati + i, j - i);
                    i = j;
                    continue;
                }
            }
            const auto c = static_cast<unsigned char>(dati[i++]);
            if (ripeti_) ripresa_.push_back(static_cast<char>(c));
            carattere(c, suRecord);
        }
    }
    // End of input: flushes a last record without a line end, or one left
    // inside an open quote.
    template <class F>
    void fine(F&& suRecord) {
        if (bom_ > 0 && bom_ < 3) {
            const unsigned char tenuti[] = {0xEF, 0xBB};
            int k = bom_;
            bom_ = 3;
            for (int j = 0; j < k; ++j) carattere(tenuti[j], suRecord);
        }
        if (crSospeso_) {
            crSospeso_ = false;
            if (stato_ == Stato::QuotaInQuotato) return rompi('\r', suRecord), fine(suRecord);
            dato('\r');
        }
        if (stato_ == Stato::Quotato && ripeti_) return riprendi(suRecord, Difetto::VirgoletteAperte), fine(suRecord);
        if (iniziato_)
            emetti(suRecord, stato_ == Stato::Quotato ? Difetto::VirgoletteAperte : difetto_, lineaCorrente_);
    }
    // 0 until the first record that is not blank has decided it.
    char separatore() const { return sep_; }

private:
    enum class Stato : std::uint8_t { InizioCampo, NonQuotato, Quotato, QuotaInQuotato, Rotto };

    template <class F>
    void carattere(unsigned char c, F& suRecord) {
        if (bom_ < 3) {
            static constexpr unsigned char marchio[] = {0xEF, 0xBB, 0xBF};
            if (c == marchio[bom_]) {
                ++bom_;
                return;
            }
            // Not a mark after all: replay what was held back.
            int k = bom_;
            bom_ = 3;
            for (int j = 0; j < k; ++j) carattere(marchio[j], suRecord);
        }
        if (crSospeso_) {
            crSospeso_ = false;
            if (c == '\n') {
                ++lineaCorrente_;
                emetti(suRecord, difetto_);
                return;
            }
            if (stato_ == Stato::QuotaInQuotato) {
                if (!rompi('\r', suRecord)) return;  // c was replayed with the rest
            } else {
                dato('\r');
                vuoto_ = false;
                if (stato_ == Stato::InizioCampo) stato_ = Stato::NonQuotato;
            }
        }
        iniziato_ = true;
        switch (stato_) {
            case Stato::Quotato:
                if (c == '"') {
                    stato_ = Stato::QuotaInQuotato;
                } else {
                    if (c == '\n') {
                        if (!ripeti_) {
                            // Keep what follows, to read it again should this
                            // field turn out to be a stray quote.
                            ripeti_ = true;
                            lineaApertura_ = lineaCorrente_;
                            taglioBuffer_ = buffer_.size();
                            if (taglioBuffer_ > inizioCampo() && buffer_.back() == '\r') --taglioBuffer_;
                            taglioFini_ = fini_.size();
                        }
                        ++lineaCorrente_;
                    }
                    dato(static_cast<char>(c));
                }
                return;
            case Stato::QuotaInQuotato:
                if (c == '"') {
                    dato('"');
                    stato_ = Stato::Quotato;
                    return;
                }
                if (c == '\r') {
                    crSospeso_ = true;
                    return;
                }
                if ((sep_ == 0 && (c == ';' || c == ',')) || c == static_cast<unsigned char>(sep_) || c == '\n') {
                    ripeti_ = false;
                    ripresa_.clear();
                    break;
                }
                rompi(c, suRecord);
                return;
            case Stato::Rotto:  // the record is lost: quotes are data now
                if (c == '\n') break;
                if (sep_ == 0 && (c == ';' || c == ',')) sep_ = static_cast<char>(c);
                if (c == '\r') crSospeso_ = true;
                else if (c == static_cast<unsigned char>(sep_)) chiudiCampo();
                else dato(static_cast<char>(c));
                return;
            case Stato::InizioCampo:
                if (c == '"') {
                    vuoto_ = false;
                    stato_ = Stato::Quotato;
                    return;
                }
                break;
            case Stato::NonQuotato:
                break;
        }
        // Outside quotes.
        if (sep_ == 0 && (c == ';' || c == ',')) sep_ = static_cast<char>(c);
        if (c == '\n') {
            ++lineaCorrente_;
            emetti(suRecord, difetto_);
        } else if (sep_ != 0 && c == static_cast<unsigned char>(sep_)) {
            chiudiCampo();
            stato_ = Stato::InizioCampo;
        } else if (c == '\r') {
            crSospeso_ = true;
        } else {
            if (c != ' ' && c != '\t') vuoto_ = false;
            dato(static_cast<char>(c));
            stato_ = Stato::NonQuotato;
        }
    }

    // `c` follows a closing quote and is neither the separator nor a line
    // end. True when reading goes on with the next character; false when the
    // record was cut and the text after its first line read again.
    template <class F>
    bool rompi(unsigned char c, F& suRecord) {
        if (ripeti_) {
            riprendi(suRecord, Difetto::TestoDopoVirgolette);
            return false;
        }
        difetto_ = Difetto::TestoDopoVirgolette;
        stato_ = Stato::Rotto;
        dato(static_cast<char>(c));
        return true;
    }

    // The quoted field opened on line lineaApertura_ ran over line ends and
    // never closed properly: the record ends with that line, and what came
    // after it is read again.
    template <class F>
    void riprendi(F& suRecord, Difetto d) {
        std::string testo = std::move(ripresa_);
        ripresa_.clear();
        ripeti_ = false;
        buffer_.resize(taglioBuffer_);
        fini_.resize(taglioFini_);
        const long long ultima = lineaCorrente_;
        lineaCorrente_ = lineaApertura_ + 1;
        crSospeso_ = false;
        emetti(suRecord, d, ultima, true);
        alimenta(testo.data(), testo.size(), suRecord);
    }

    std::size_t inizioCampo() const { return fini_.empty() ? 0 : fini_.back(); }
    void dato(char c) { buffer_.push_back(c); }
    void chiudiCampo() { fini_.push_back(buffer_.size()); }

    template <class F>
    void emetti(F& suRecord, Difetto d, long long ultima = 0, bool ripreso = false) {
        chiudiCampo();
        viste_.clear();
        std::size_t inizio = 0;
        for (std::size_t f : fini_) {
            viste_.emplace_back(buffer_.data() + inizio, f - inizio);
            inizio = f;
        }
        if (!sepDeciso_) {
            // Blank lines before the header decide nothing.
            if (vuoto_) sep_ = 0;
            else if (sep_ == 0) sep_ = ';';
            sepDeciso_ = !vuoto_;
        }
        if (ultima == 0) ultima = lineaCorrente_ - 1;  // the line end just read
        RecordCsv r{viste_, lineaRecord_, ultima, vuoto_, d, ripreso};
        suRecord(static_cast<const RecordCsv&>(r));
        buffer_.clear();
        fini_.clear();
        iniziato_ = false;
        vuoto_ = true;
        difetto_ = Difetto::Nessuno;
        ripeti_ = false;
        ripresa_.clear();
        stato_ = Stato::InizioCampo;
        lineaRecord_ = lineaCorrente_;
    }

    std::string buffer_;
    std::vector<std::size_t> fini_;
    std::vector<std::string_view> viste_;
    bool iniziato_ = false;  // a record has begun: its first character never takes the fast path
    long long lineaRecord_ = 1, lineaCorrente_ = 1;
    Stato stato_ = Stato::InizioCampo;
    Difetto difetto_ = Difetto::Nessuno;
    char sep_ = 0;
    bool sepDeciso_ = false;
    int bom_ = 0;
    bool crSospeso_ = false;
    bool vuoto_ = true;
    // A quoted field running over a line end: the raw text after the line it
    // opened on, and where to cut the record should it have to be read again.
    bool ripeti_ = false;
    std::string ripresa_;
    long long lineaApertura_ = 0;
    std::size_t taglioBuffer_ = 0, taglioFini_ = 0;
};

// Fields and numbers are written as the forms' export writes them.
using termix::LunghezzaMassimaNumero;
using termix::ScriviCampo;
using termix::ScriviNumero;

using termix::LeggiNumeroPunto;
using termix::Rifilato;

}  // namespace termix::batch
