#include "batch/Sistema.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <thread>

#include "batch/ErroriSistema.h"
#include "batch/Interruzione.h"

namespace termix::batch {

std::vector<std::string> ArgomentiUtf8(int argc, char** argv) { return {argv, argv + argc}; }

void PreparaConsole() {}

bool ConsoleSoloNostra() { return false; }

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

bool EsisteFile(const std::string& percorso) {
    struct stat st{};
    return lstat(percorso.c_str(), &st) == 0;
}

void RimuoviFile(const std::string& percorso) { unlink(percorso.c_str()); }

bool Sostituibile(const std::string& percorso) {
    // A rename would replace even a file its owner made read-only: refused, as
    // opening it for writing was.
    return access(percorso.c_str(), W_OK) == 0 || errno == ENOENT;
}

bool FileSpeciale(const std::string& percorso) {
    struct stat st{};
    return stat(percorso.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

std::string DestinazioneReale(const std::string& percorso) {
    struct stat st{};
    if (lstat(percorso.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return percorso;
    char* reale = realpath(percorso.c_str(), nullptr);
    if (!reale) return percorso;
    std::string r = reale;
    std::free(reale);
    return r;
}

int CreaEsclusivo(const std::string& percorso) {
    int fd;
    do {
        fd = open(percorso.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool ConservaFile(std::FILE*) { return true; }  // only the rename decides here

bool FileIntero::rinomina(bool sostituisci) {
    const char *da = temporaneo_.c_str(), *a = destinazione_.c_str();
    if (sostituisci) {
        // The replaced file's permissions go on (the temporary one has the umask's).
        struct stat st{};
        if (stat(a, &st) == 0) {
            // Only a regular file is ever replaced: a device, written directly from the start, stays a device.
            if (!S_ISREG(st.st_mode)) return errno = EINVAL, false;
            chmod(da, st.st_mode & 07777);
        }
        return std::rename(da, a) == 0;
    }
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (renameat2(AT_FDCWD, da, AT_FDCWD, a, RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    // A file system without the flag: a second link fails on a name taken.
    if (link(da, a) != 0) return false;
    unlink(da);
    return true;
}

namespace interruzione {

void Installa() {
    // The signals wait for one thread of their own, which does the stop's work
    // outside any handler, then ends the program by the same signal.
    static sigset_t insieme;
    sigemptyset(&insieme);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&insieme, s);
    pthread_sigmask(SIG_BLOCK, &insieme, nullptr);  // inherited by every thread started after
    std::thread([] {
        int s = 0;
        while (sigwait(&insieme, &s) != 0) {
        }
        Ferma(s == SIGINT ? "SIGINT" : s == SIGTERM ? "SIGTERM" : "SIGHUP", stderr);
        signal(s, SIG_DFL);
        sigset_t uno;
        sigemptyset(&uno);
        sigaddset(&uno, s);
        pthread_sigmask(SIG_UNBLOCK, &uno, nullptr);
        raise(s);
    }).detach();
}

}  // namespace interruzione

std::string TestoErroreSistema(int codice) { return TestoErrore(codice); }

}  // namespace termix::batch
