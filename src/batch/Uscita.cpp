// The output file and the output's encoding, apart from the run that fills it.
#include "batch/Uscita.h"

#include <cerrno>

#include "batch/Comune.h"
#include "batch/ErroriSistema.h"
#include "batch/Interruzione.h"
#include "batch/Sistema.h"

namespace termix::batch {

CodificaUscita UscitaPer(CodificaTesto ingresso, bool marchio) {
    switch (ingresso) {
        case CodificaTesto::Windows1252: return {CodificaTesto::Windows1252, false};
        case CodificaTesto::Utf16LE:
        case CodificaTesto::Utf16BE: return {CodificaTesto::Utf8, true};
        case CodificaTesto::Utf8: break;
    }
    return {CodificaTesto::Utf8, marchio};
}

bool Uscita::apri(const std::string& nome, std::FILE* errori) {
    nome_ = nome.empty() ? "standard output" : nome;
    errori_ = errori;
    intera_ = !nome.empty() && !FileSpeciale(nome);
    if (nome.empty())
        f_ = stdout;
    else if (!intera_)
        f_ = ApriFile(nome, "wb");
    else if (Sostituibile(nome))
        f_ = intero_.Apri(DestinazioneReale(nome));
    if (!f_) {
        std::fprintf(errori, "%s: impossibile aprire %s: %s\n", Programma, nome_.c_str(), TestoErrore(errno).c_str());
        return false;
    }
    interruzione::Uscita(nome_, intera_);
    proprio_ = !nome.empty() && !intera_;
    std::setvbuf(f_, nullptr, _IOFBF, 1 << 16);
    return !codifica_.marchio || scriviByte("\xEF\xBB\xBF");
}

bool Uscita::scrivi(const std::string& s) {
    if (codifica_.codifica == CodificaTesto::Windows1252) return scriviByte(InWindows1252(s));
    return scriviByte(s);
}

bool Uscita::chiudi(bool completa) {
    if (inMemoria_) return true;
    bool ok = std::fflush(f_) == 0 && !std::ferror(f_);
    if (intera_) {
        // A failed run leaves the old file as it was.
        if (!completa) intero_.Scarta();
        else ok = ok && intero_.Conferma(true, true);
    } else if (proprio_ && std::fclose(f_) != 0) {
        ok = false;
    }
    f_ = nullptr;
    if (ok || !completa) return true;  // a failed run has said why already
    // A full disk often shows only when the last buffer goes out.
    std::fprintf(errori_, "%s: impossibile scrivere %s: %s", Programma, nome_.c_str(), TestoErrore(errno).c_str());
    if (!intero_.tenuto().empty()) std::fprintf(errori_, "; i risultati sono in %s", intero_.tenuto().c_str());
    std::fputs("\n", errori_);
    return false;
}

Uscita::~Uscita() {
    if (f_ && proprio_) std::fclose(f_);
}

bool Uscita::scriviByte(std::string_view s) {
    if (inMemoria_) return memoria_.append(s), true;
    return s.empty() || std::fwrite(s.data(), 1, s.size(), f_) == s.size();
}

}  // namespace termix::batch
