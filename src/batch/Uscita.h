#pragma once
// The output of a run: a file or standard output, in the output's encoding,
// or memory for the run in steps, whose caller writes the output itself.
// Internal to the batch library.
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "batch/Batch.h"

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
    // False, with the message on `errori`, when it cannot be opened.
    bool apri(const std::string& nome, std::FILE* errori);
    // `s` is UTF-8.
    bool scrivi(const std::string& s);
    bool chiudi();
    ~Uscita();
    const std::string& nome() const { return nome_; }
    bool aperta() const { return f_ != nullptr || inMemoria_; }

private:
    bool scriviByte(std::string_view s);

    CodificaUscita codifica_{CodificaTesto::Utf8, false};
    std::FILE* f_ = nullptr;
    bool proprio_ = false;
    std::string nome_;
    bool inMemoria_ = false;
    std::string memoria_;
};

}  // namespace termix::batch
