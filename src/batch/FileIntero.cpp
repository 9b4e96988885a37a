// Files written whole or not at all: the part every platform shares.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string_view>
#include <utility>

#include "batch/Interruzione.h"
#include "batch/Sistema.h"

#ifdef _WIN32
#include <io.h>
#define fdopen _fdopen
#define close _close
#else
#include <unistd.h>
#endif

namespace termix::batch {

std::FILE* FileIntero::Apri(const std::string& destinazione) {
    Scarta();
    tenuto_.clear();
    destinazione_ = destinazione;
    // A name nobody else is using: tried until an exclusive create succeeds.
    static unsigned long long contatore = 0;
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        unsigned long long x = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                               (++contatore * 0x9E3779B97F4A7C15ull);
        std::string nome = destinazione + ".termix54-";
        constexpr std::string_view Cifre = "0123456789abcdefghijklmnopqrstuvwxyz";
        for (int i = 0; i < 6; ++i, x /= Cifre.size()) nome += Cifre[x % Cifre.size()];
        int fd = -1;
        if (!interruzione::Crea(nome, [&] { return (fd = CreaEsclusivo(nome)) >= 0; })) {
            if (fd < 0 && errno == EEXIST) continue;
            return nullptr;  // errno from the create, or a stop under way
        }
        temporaneo_ = nome;
        f_ = fdopen(fd, "wb");
        if (!f_) {
            const int e = errno;
            close(fd);
            Scarta();
            errno = e;
        }
        return f_;
    }
    return nullptr;
}

bool FileIntero::Conferma(bool sostituisci, bool tieni) {
    if (temporaneo_.empty()) return false;
    int errore = 0;
    const bool chiuso = std::fflush(f_) == 0 && ConservaFile(f_) && std::fclose(std::exchange(f_, nullptr)) == 0;
    if (!chiuso) errore = errno;
    const std::string t = temporaneo_;
    const bool ok = chiuso && interruzione::Finisci(t, [&] {
        if (rinomina(sostituisci)) return true;
        errore = errno;
        if (!tieni) RimuoviFile(t);
        return false;
    });
    if (!ok && tieni && chiuso) tenuto_ = t;  // a file cut short is never kept
    if (ok || !tenuto_.empty()) temporaneo_.clear();
    if (!ok) {
        if (!chiuso) Scarta();
        errno = errore;
    }
    return ok;
}

void FileIntero::Scarta() {
    if (f_) std::fclose(f_);
    f_ = nullptr;
    if (temporaneo_.empty()) return;
    const std::string t = std::exchange(temporaneo_, {});
    interruzione::Finisci(t, [&] {
        RimuoviFile(t);
        return true;
    });
}

}  // namespace termix::batch
