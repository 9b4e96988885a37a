#pragma once
// CSV reading and writing for the batch tool (RFC 4180 with the usual
// leniencies of spreadsheet exports), and the numbers of the two conventions.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "report/TabellaRisultati.h"

namespace termix::batch {

// One record as the reader hands it out. The views live until the next call
// into the reader.
struct RecordCsv {
    std::span<const std::string_view> campi;
    long long linea = 0;         // physical line (1-based) where the record starts
    bool vuoto = false;          // only separators and blanks: skipped, never numbered
    bool nonTerminato = false;   // a quote still open at the end of the input
};

// Incremental reader: feed it blocks of any size, it calls back once per
// complete record. The separator is taken from the first record (the header):
// the first ';' or ',' outside quotes, ';' when there is neither. A UTF-8
// byte-order mark at the very start is dropped. Lines end with LF or CRLF; a
// CR not followed by LF is data. Inside quotes everything is data and "" is
// one quote; a quote inside an unquoted field, or text after a closing quote,
// is kept as data.
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
                    for (; j < n && dati[j] != '"'; ++j)
                        if (dati[j] == '\n') ++lineaCorrente_;
                } else if (stato_ == Stato::NonQuotato && sep_ != 0) {
                    for (; j < n; ++j) {
                        const char c = dati[j];
                        if (c == sep_ || c == '\n' || c == '\r') break;
                        if (c != ' ' && c != '\t') vuoto_ = false;
                    }
                }
                if (j > i) {
                    buffer_.append(dati + i, j - i);
                    caratteri_ += j - i;
                    i = j;
                    continue;
                }
            }
            carattere(static_cast<unsigned char>(dati[i++]), suRecord);
        }
    }
    // End of input: flushes a last record without a line end, or one left
    // inside an open quote (marked nonTerminato).
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
            dato('\r');
        }
        if (caratteri_ > 0) emetti(suRecord, stato_ == Stato::Quotato);
    }
    // 0 until the first record has decided it.
    char separatore() const { return sep_; }

private:
    enum class Stato : std::uint8_t { InizioCampo, NonQuotato, Quotato, QuotaInQuotato };

    template <class F>
    void carattere(unsigned char c, F& suRecord) {
        if (bom_ < 3) {
            static constexpr unsigned char marchio[] = {0xEF, 0xBB, 0xBF};
            if (c == marchio[bom_]) {
                if (++bom_ == 3) return;
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
                emetti(suRecord, false);
                return;
            }
            dato('\r');
            vuoto_ = false;
            if (stato_ == Stato::InizioCampo || stato_ == Stato::QuotaInQuotato) stato_ = Stato::NonQuotato;
        }
        ++caratteri_;
        switch (stato_) {
            case Stato::Quotato:
                if (c == '"') {
                    stato_ = Stato::QuotaInQuotato;
                } else {
                    if (c == '\n') ++lineaCorrente_;
                    dato(static_cast<char>(c));
                }
                return;
            case Stato::QuotaInQuotato:
                if (c == '"') {
                    dato('"');
                    stato_ = Stato::Quotato;
                    return;
                }
                break;
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
        if (sep_ != 0 && c == static_cast<unsigned char>(sep_)) {
            chiudiCampo();
            stato_ = Stato::InizioCampo;
        } else if (c == '\n') {
            ++lineaCorrente_;
            emetti(suRecord, false);
        } else if (c == '\r') {
            crSospeso_ = true;
        } else {
            if (c != ' ' && c != '\t') vuoto_ = false;
            dato(static_cast<char>(c));
            stato_ = Stato::NonQuotato;
        }
    }

    void dato(char c) { buffer_.push_back(c); }
    void chiudiCampo() { fini_.push_back(buffer_.size()); }

    template <class F>
    void emetti(F& suRecord, bool nonTerminato) {
        chiudiCampo();
        viste_.clear();
        std::size_t inizio = 0;
        for (std::size_t f : fini_) {
            viste_.emplace_back(buffer_.data() + inizio, f - inizio);
            inizio = f;
        }
        if (sep_ == 0) sep_ = ';';
        RecordCsv r{viste_, lineaRecord_, vuoto_, nonTerminato};
        suRecord(static_cast<const RecordCsv&>(r));
        buffer_.clear();
        fini_.clear();
        caratteri_ = 0;
        vuoto_ = true;
        stato_ = Stato::InizioCampo;
        lineaRecord_ = lineaCorrente_;
    }

    std::string buffer_;
    std::vector<std::size_t> fini_;
    std::vector<std::string_view> viste_;
    std::size_t caratteri_ = 0;
    long long lineaRecord_ = 1, lineaCorrente_ = 1;
    Stato stato_ = Stato::InizioCampo;
    char sep_ = 0;
    int bom_ = 0;
    bool crSospeso_ = false;
    bool vuoto_ = true;
};

// Fields and numbers are written as the forms' export writes them.
using termix::LunghezzaMassimaNumero;
using termix::ScriviCampo;
using termix::ScriviNumero;

// The ',' convention: optional blanks, optional sign, digits with at most one
// '.', at least one digit, optional exponent e/E with optional sign. Nothing
// else; a value beyond the double range is not a number (one below it reads
// as zero, as in the numeric boxes).
std::optional<double> LeggiNumeroPunto(std::string_view testo);

// Blanks (space, tab) removed at both ends.
std::string_view Rifilato(std::string_view s);

}  // namespace termix::batch
