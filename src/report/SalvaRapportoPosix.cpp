// The report file on a POSIX system.
#include "report/SalvaRapporto.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace termix {

int Descrittore::rilascia() noexcept { return std::exchange(fd_, -1); }

bool Descrittore::Chiudi() noexcept {
    const int fd = rilascia();
    return fd < 0 || ::close(fd) == 0;
}

namespace {

class FileDescrittore : public FileScrittura {
public:
    explicit FileDescrittore(Descrittore fd) : fd_(std::move(fd)) {}
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

std::unique_ptr<FileScrittura> FileSystemReale::Crea(const std::string& percorso) {
    // A name with a NUL cannot be a file name; refuse rather than cut it.
    if (percorso.find('\0') != std::string::npos) return nullptr;
    int fd;
    do {
        fd = ::open(percorso.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (soloNuovi_ ? O_EXCL : O_TRUNC), 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return nullptr;
    return std::make_unique<FileDescrittore>(Descrittore(fd));
}

}  // namespace termix
