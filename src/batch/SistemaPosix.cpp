#include "batch/Sistema.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "batch/ErroriSistema.h"

namespace termix::batch {

std::vector<std::string> ArgomentiUtf8(int argc, char** argv) { return {argv, argv + argc}; }

void PreparaConsole() {}

std::FILE* ApriFile(const std::string& percorso, const char* modo) {
    std::FILE* f = std::fopen(percorso.c_str(), modo);
    // A folder opens for reading here and fails only at the first read:
    // refuse it at the open, with the message Windows gives.
    struct stat st{};
    if (f && fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(f);
        errno = EISDIR;
        return nullptr;
    }
    return f;
}

bool FileRegolare(std::FILE* f) {
    struct stat st{};
    return fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
}

bool StessoFile(std::FILE* f, const std::string& percorso) {
    struct stat si{}, su{};
    return fstat(fileno(f), &si) == 0 && stat(percorso.c_str(), &su) == 0 && si.st_dev == su.st_dev &&
           si.st_ino == su.st_ino && S_ISREG(si.st_mode);
}

bool Terminale(std::FILE* f) { return isatty(fileno(f)) == 1; }

std::string TestoErrore(const std::error_code& ec) {
    if (ec.category() == std::generic_category() || ec.category() == std::system_category())
        return TestoErrore(ec.value());
    return ec.message();
}

}  // namespace termix::batch
