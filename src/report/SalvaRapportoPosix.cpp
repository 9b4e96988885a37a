// The report file's system calls on a POSIX system.
#include "report/SalvaRapporto.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace termix::descrittore {

int Apri(const std::string& percorso, bool soloNuovi) {
    int fd;
    do {
        fd = ::open(percorso.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (soloNuovi ? O_EXCL : O_TRUNC), 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int Chiudi(int fd) { return ::close(fd); }

long long Scrivi(int fd, std::string_view byte) {
    ssize_t n;
    do {
        n = ::write(fd, byte.data(), byte.size());
    } while (n < 0 && errno == EINTR);
    return n;
}

}  // namespace termix::descrittore
