#include "batch/Ingresso.h"

#include <algorithm>

#include "batch/Sistema.h"

namespace termix::batch {

namespace {
constexpr std::size_t Blocco = 1 << 18;
}

bool LetturaIngresso::riempi() {
    pieni_ = std::fread(grezzo_.data(), 1, grezzo_.size(), f_);
    inizio_ = 0;
    if (pieni_ < grezzo_.size()) {
        if (std::ferror(f_)) return false;
        fine_ = true;
    }
    return true;
}

bool LetturaIngresso::Apri(std::FILE* f, std::optional<CodificaTesto> forzata) {
    f_ = f;
    const long origine = std::ftell(f);  // -1 for a pipe
    grezzo_.resize(Blocco);
    if (!riempi()) return false;
    const std::string_view inizio(grezzo_.data(), pieni_);
    const std::optional<Marchio> m = MarchioIniziale(inizio);
    bool verificato = false;  // all of the input is known to be valid UTF-8
    if (forzata) {
        codifica_ = *forzata;
        // --codifica utf-16: the mark gives the byte order, little-endian
        // (as Windows writes it) without one.
        const bool sedici = codifica_ == CodificaTesto::Utf16LE || codifica_ == CodificaTesto::Utf16BE;
        if (m && (m->codifica == codifica_ || (sedici && m->codifica != CodificaTesto::Utf8))) {
            codifica_ = m->codifica;
            marchio_ = true;
        }
    } else if (m && m->codifica != CodificaTesto::Utf8) {
        codifica_ = m->codifica;
        marchio_ = true;
    } else {
        // With a UTF-8 mark the check only spares the converter.
        marchio_ = m.has_value();
        std::size_t troncati = 0;
        bool valido = Utf8Valido(inizio, troncati);
        bool tuttoLetto = false;
        if (valido && !fine_ && origine >= 0 && FileRegolare(f)) {
            // A regular file is checked whole, then read again from its start;
            // a pipe is judged by its first block.
            std::vector<char> b(Blocco + 4);
            std::size_t tenuti = troncati;
            std::copy(grezzo_.data() + pieni_ - troncati, grezzo_.data() + pieni_, b.data());
            for (bool fine = false; valido && !fine;) {
                const std::size_t n = std::fread(b.data() + tenuti, 1, Blocco, f);
                if (n < Blocco) {
                    if (std::ferror(f)) return false;
                    fine = true;
                }
                valido = Utf8Valido({b.data(), tenuti + n}, troncati);
                std::copy(b.data() + tenuti + n - troncati, b.data() + tenuti + n, b.data());
                tenuti = troncati;
            }
            if (tenuti > 0) valido = false;  // the file ends inside a character
            tuttoLetto = true;
            if (std::fseek(f, origine, SEEK_SET) != 0) return false;
            if (!riempi()) return false;
        } else if (fine_ && troncati > 0) {
            valido = false;
        }
        codifica_ = valido || marchio_ ? CodificaTesto::Utf8 : CodificaTesto::Windows1252;
        verificato = valido && (fine_ || tuttoLetto);
    }
    if (marchio_) inizio_ = m->lunghezza;
    // UTF-8 not checked whole (a pipe, or forced) still goes through the
    // converter: a stray byte later on must not reach the output raw.
    if (!verificato) conv_.emplace(codifica_);
    return true;
}

bool LetturaIngresso::Leggi(std::string_view& blocco) {
    blocco = {};
    while (blocco.empty()) {
        if (inizio_ >= pieni_) {
            if (fine_) {
                if (conv_) {
                    convertito_.clear();
                    conv_->Fine(convertito_);
                    conv_.reset();
                    blocco = convertito_;
                }
                return true;
            }
            if (!riempi()) return false;
            continue;
        }
        const std::string_view grezzo(grezzo_.data() + inizio_, pieni_ - inizio_);
        inizio_ = pieni_;
        if (!conv_) {
            blocco = grezzo;
        } else {
            convertito_.clear();
            conv_->Converti(grezzo, convertito_);
            blocco = convertito_;
        }
    }
    return true;
}

}  // namespace termix::batch
