#pragma once
// The output of a run: a file or standard output, in the output's encoding,
// or memory for the run in steps, whose caller writes the output itself.
// Internal to the batch library.
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "batch/Batch.h"
#include "batch/Sistema.h"

namespace termix::batch {

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
    // False, with the message on `errori`, when it cannot be opened. A file
    // on disk (or a new name) is written whole: into a temporary file beside
    // it, which replaces it at chiudi; a device or a pipe as it goes.
    bool apri(const std::string& nome, std::FILE* errori);
    // `s` is UTF-8.
    bool scrivi(const std::string& s);
    // Flushes; a file written whole replaces the old one only when the run is
    // `completa` (else the old one stays). False when the last bytes could not
    // be written (errno set): the old file stays then too. A failed rename is
    // said on `errori` here, the temporary file kept under the name given.
    bool chiudi(bool completa = true);
    ~Uscita();
    const std::string& nome() const { return nome_; }
    bool aperta() const { return f_ != nullptr || inMemoria_; }

private:
    bool scriviByte(std::string_view s);

    CodificaUscita codifica_{CodificaTesto::Utf8, false};
    std::FILE* f_ = nullptr;
    std::FILE* errori_ = nullptr;  // the run's, from apri
    bool proprio_ = false;
    FileIntero intero_;
    bool intera_ = false;
    std::string nome_;
    bool inMemoria_ = false;
    std::string memoria_;
};

}  // namespace termix::batch
