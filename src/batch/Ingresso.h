#pragma once
// The input file as UTF-8, whatever it was written in: a UTF-16 byte-order
// mark decides UTF-16; otherwise the text is UTF-8 (with or without its mark)
// when it is valid UTF-8, else Windows-1252.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/Codifica.h"

namespace termix::batch {

class LetturaIngresso {
public:
    // Reads the start of `f` (and, for a regular file, checks all of it for
    // UTF-8 before going back to its start) to decide the encoding; `forzata`
    // skips the guess. False on a read error (errno set).
    bool Apri(std::FILE* f, std::optional<CodificaTesto> forzata);
    // The next block as UTF-8 (empty at the end). False on a read error.
    bool Leggi(std::string_view& blocco);

    CodificaTesto codifica() const { return codifica_; }
    bool marchio() const { return marchio_; }

private:
    bool riempi();

    std::FILE* f_ = nullptr;
    CodificaTesto codifica_ = CodificaTesto::Utf8;
    bool marchio_ = false;
    std::vector<char> grezzo_;
    std::size_t pieni_ = 0, inizio_ = 0;  // bytes read into grezzo_, first not yet handed out
    std::optional<VersoUtf8> conv_;
    std::string convertito_;
    bool fine_ = false;
};

}  // namespace termix::batch
