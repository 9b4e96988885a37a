#include "report/SalvaRapporto.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <utility>

#include "report/Codifica.h"

namespace termix {

int Descrittore::rilascia() noexcept { return std::exchange(fd_, -1); }

bool Descrittore::Chiudi() noexcept {
    const int fd = rilascia();
    return fd < 0 || ::close(fd) == 0;
}

namespace {

class FilePosix : public FileScrittura {
public:
    explicit FilePosix(Descrittore fd) : fd_(std::move(fd)) {}
    bool Scrivi(std::string_view byte) override {
        while (!byte.empty()) {
            const ssize_t n = ::write(fd_.fd(), byte.data(), byte.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            byte.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }
    bool Chiudi() override { return fd_.Chiudi(); }

private:
    Descrittore fd_;
};

}  // namespace

std::unique_ptr<FileScrittura> FileSystemPosix::Crea(const std::string& percorso) {
    // A name with a NUL cannot be a file name; refuse rather than cut it.
    if (percorso.find('\0') != std::string::npos) return nullptr;
    int fd;
    do {
        fd = ::open(percorso.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (soloNuovi_ ? O_EXCL : O_TRUNC), 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return nullptr;
    return std::make_unique<FilePosix>(Descrittore(fd));
}

std::string NomeFileRapporto(std::string_view digitato) {
    return std::string(digitato) + ".TXT";
}

bool ProduciRapporto(TipoUscita uscita, const SorgenteTesti& sorgente, Orologio& orologio,
                     const LarghezzaTesto& larghezza,
                     const std::function<bool(const RigaFisica&)>& scrivi) {
    for (int n = 1; n <= RigheRapporto; ++n)
        for (const RigaFisica& fisica : Impagina(RigaDelRapporto(n, uscita, sorgente, orologio), larghezza))
            if (!scrivi(fisica)) return false;
    return true;
}

bool SalvaRapporto(const std::string& percorso, const SorgenteTesti& sorgente, Orologio& orologio,
                   FileSystem& fs) {
    std::unique_ptr<FileScrittura> file = fs.Crea(percorso);
    if (!file) return false;
    const bool scritto = ProduciRapporto(
        TipoUscita::File, sorgente, orologio, LarghezzaCaratteri, [&](const RigaFisica& riga) {
            return file->Scrivi(InWindows1252(TestoRiga(riga)) + "\r\n");
        });
    const bool chiuso = file->Chiudi();
    return scritto && chiuso;
}

}  // namespace termix
