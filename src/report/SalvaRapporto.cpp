#include "report/SalvaRapporto.h"

#include <utility>

#include "report/Codifica.h"

namespace termix {

int Descrittore::rilascia() noexcept { return std::exchange(fd_, -1); }

bool Descrittore::Chiudi() noexcept {
    const int fd = rilascia();
    return fd < 0 || descrittore::Chiudi(fd) == 0;
}

namespace {

class FileDescrittore : public FileScrittura {
public:
    explicit FileDescrittore(Descrittore fd) : fd_(std::move(fd)) {}
    bool Scrivi(std::string_view byte) override {
        while (!byte.empty()) {
            const long long n = descrittore::Scrivi(fd_.fd(), byte);
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

std::unique_ptr<FileScrittura> FileSystemReale::Crea(const std::string& percorso) {
    // A name with a NUL cannot be a file name; refuse rather than cut it.
    if (percorso.find('\0') != std::string::npos) return nullptr;
    const int fd = descrittore::Apri(percorso, soloNuovi_);
    if (fd < 0) return nullptr;
    return std::make_unique<FileDescrittore>(Descrittore(fd));
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
