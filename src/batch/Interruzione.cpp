#include "batch/Interruzione.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <vector>

#include "batch/Comune.h"
#include "batch/Sistema.h"

namespace termix::batch::interruzione {

namespace {

struct Stato {
    std::mutex mx;
    bool fermo = false;
    std::vector<std::string> temporanei;
    std::string uscita = "standard output", cartella;
    bool intera = false;
    std::atomic<long long> righe{0};
    std::vector<long long> rapporti;
};

Stato& S() {
    static Stato* s = new Stato;  // never destroyed: a stop can come while the program ends
    return *s;
}

// "1.TXT-4.TXT, 7.TXT": runs of consecutive records as ranges.
std::string Elenco(std::vector<long long> righe) {
    std::sort(righe.begin(), righe.end());
    std::string r;
    for (std::size_t i = 0; i < righe.size();) {
        std::size_t j = i;
        while (j + 1 < righe.size() && righe[j + 1] == righe[j] + 1) ++j;
        if (!r.empty()) r += ", ";
        r += std::to_string(righe[i]) + ".TXT";
        if (j > i) r += "-" + std::to_string(righe[j]) + ".TXT";
        i = j + 1;
    }
    return r;
}

}  // namespace

bool Crea(const std::string& temporaneo, const std::function<bool()>& crea) {
    std::lock_guard lk(S().mx);
    if (S().fermo || !crea()) return false;
    S().temporanei.push_back(temporaneo);
    return true;
}

bool Finisci(const std::string& temporaneo, const std::function<bool()>& fine) {
    std::lock_guard lk(S().mx);
    if (S().fermo) return false;
    std::erase(S().temporanei, temporaneo);
    return fine();
}

void Uscita(const std::string& nome, bool intera) {
    std::lock_guard lk(S().mx);
    S().uscita = nome;
    S().intera = intera;
}

void Cartella(const std::string& nome) {
    std::lock_guard lk(S().mx);
    S().cartella = nome;
}

void RigheScritte(long long n) { S().righe = n; }

void RapportoScritto(long long riga) {
    std::lock_guard lk(S().mx);
    S().rapporti.push_back(riga);
}

std::string Messaggio(const char* segnale, const std::string& uscita, bool intera, long long righe,
                      const std::string& cartella, std::vector<long long> rapporti) {
    std::string m = std::string(Programma) + ": interrotto (" + segnale + ") dopo " + std::to_string(righe) +
                    (righe == 1 ? " riga" : " righe");
    if (!intera)
        m += " scritte su " + uscita;
    else  // the temporary files are gone by now: what is left is the old file, if any
        m += ": " + uscita + (EsisteFile(uscita) ? " lasciato com'era" : " non creato");
    m += "\n";
    if (!cartella.empty()) {
        m += std::string(Programma) + ": rapporti già scritti in " + cartella + ": ";
        m += rapporti.empty() ? "nessuno" : Elenco(std::move(rapporti));
        m += "\n";
    }
    return m;
}

void Ferma(const char* segnale, std::FILE* errori) {
    Stato& s = S();
    s.mx.lock();  // for good: nothing is created or renamed any more
    s.fermo = true;
    for (const std::string& t : s.temporanei) RimuoviFile(t);
    const std::string m = Messaggio(segnale, s.uscita, s.intera, s.righe, s.cartella, s.rapporti);
    // Over a progress line, if one is on the screen.
    if (Terminale(errori)) std::fputs("\r\033[K", errori);
    std::fputs(m.c_str(), errori);
    std::fflush(errori);
}

}  // namespace termix::batch::interruzione
