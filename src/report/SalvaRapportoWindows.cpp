// The report file's calls on Windows: the C runtime's descriptors over the
// wide-character open, so that any name the user can type works.
#include "report/SalvaRapporto.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>

#include "report/TestoWindows.h"

namespace termix::descrittore {

int Apri(const std::string& percorso, bool soloNuovi) {
    return ::_wopen(windows::Utf16(percorso).c_str(),
                    _O_WRONLY | _O_CREAT | _O_BINARY | _O_NOINHERIT | (soloNuovi ? _O_EXCL : _O_TRUNC),
                    _S_IREAD | _S_IWRITE);
}

int Chiudi(int fd) { return ::_close(fd); }

long long Scrivi(int fd, std::string_view byte) {
    return ::_write(fd, byte.data(), static_cast<unsigned>(std::min<std::size_t>(byte.size(), INT_MAX)));
}

}  // namespace termix::descrittore
