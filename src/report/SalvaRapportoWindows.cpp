// The report file on Windows: the C runtime's descriptors over the
// wide-character open, so that any name the user can type works.
#include "report/SalvaRapporto.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <utility>

#include "report/TestoWindows.h"

namespace termix {

int Descrittore::rilascia() noexcept { return std::exchange(fd_, -1); }

bool Descrittore::Chiudi() noexcept {
    const int fd = rilascia();
    return fd < 0 || ::_close(fd) == 0;
}

namespace {

class FileDescrittore : public FileScrittura {
public:
    explicit FileDescrittore(Descrittore fd) : fd_(std::move(fd)) {}
    bool Scrivi(std::string_view byte) override {
        while (!byte.empty()) {
            const auto parte = static_cast<unsigned>(std::min<std::size_t>(byte.size(), INT_MAX));
            const int n = ::_write(fd_.fd(), byte.data(), parte);
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
    if (percorso.find('\0') != std::string::npos) return nullptr;
    // Binary: the lines carry their own CRLF. Not inherited by child processes.
    const int fd = ::_wopen(windows::Utf16(percorso).c_str(),
                            _O_WRONLY | _O_CREAT | _O_BINARY | _O_NOINHERIT | (soloNuovi_ ? _O_EXCL : _O_TRUNC),
                            _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    return std::make_unique<FileDescrittore>(Descrittore(fd));
}

}  // namespace termix
