#include "batch/Sistema.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>

#include "batch/CodiciWindows.h"
#include "batch/ErroriSistema.h"
#include "batch/Interruzione.h"
#include "report/TestoWindows.h"

namespace termix::batch {

namespace {

HANDLE Maniglia(std::FILE* f) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f))); }

// Text for a console goes out in UTF-16 through the console API, whatever its
// code page: standard output and error, when they are a console, write into a
// pipe, and a thread of their own passes what comes out of it to the console.
struct VersoConsole {
    std::FILE* file = nullptr;  // set while its text goes through the pipe
    HANDLE console = INVALID_HANDLE_VALUE, lettura = nullptr;
    std::thread ripetitore;
};
VersoConsole verso[2];  // standard output, standard error

void ripeti(VersoConsole& v) {
    std::string resto;
    char buf[8192];
    DWORD n = 0;
    while (ReadFile(v.lettura, buf, sizeof buf, &n, nullptr) && n > 0)
        ScriviTutto(PerConsole(resto, {buf, n}), [&](std::u16string_view w) -> std::size_t {
            DWORD scritti = 0;
            return WriteConsoleW(v.console, w.data(), static_cast<DWORD>(w.size()), &scritti, nullptr) ? scritti : 0;
        });
    CloseHandle(v.lettura);
}

void devia(VersoConsole& v, std::FILE* f, DWORD quale) {
    const int fd = _fileno(f);
    DWORD modo;
    const HANDLE console = GetStdHandle(quale);
    HANDLE scrittura;
    if (!GetConsoleMode(console, &modo)) return;
    // A handle of our own: the descriptor's goes with it at the _dup2 below.
    if (!DuplicateHandle(GetCurrentProcess(), console, GetCurrentProcess(), &v.console, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return;
    if (!CreatePipe(&v.lettura, &scrittura, nullptr, 0)) return;
    const int nuovo = _open_osfhandle(reinterpret_cast<intptr_t>(scrittura), _O_BINARY | _O_WRONLY);
    if (nuovo < 0 || _dup2(nuovo, fd) != 0) {
        CloseHandle(v.lettura);
        if (nuovo >= 0) _close(nuovo); else CloseHandle(scrittura);
        return;
    }
    _close(nuovo);
    v.file = f;
    v.ripetitore = std::thread(ripeti, std::ref(v));
}

// Everything written reaches the console before the program ends.
void svuotaConsole() {
    std::fflush(stdout);
    std::fflush(stderr);
    for (VersoConsole& v : verso) {
        if (!v.file) continue;
        _close(_fileno(v.file));  // the pipe's last writer: the thread reads to its end
        v.file = nullptr;
        if (v.ripetitore.joinable()) v.ripetitore.join();
    }
}

}  // namespace

std::vector<std::string> ArgomentiUtf8(int argc, char** argv) {
    // argv is in the ANSI code page, which loses what it lacks ("?"): the
    // command line again, as the system keeps it, in UTF-16.
    int n = 0;
    LPWSTR* w = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!w) return {argv, argv + argc};
    std::vector<std::string> r;
    for (int i = 0; i < n; ++i) r.push_back(windows::Utf8(w[i]));
    LocalFree(w);
    return r;
}

void PreparaConsole() {
    // CRLF in a CSV must stay CRLF, and a UTF-16 file must not lose bytes.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    // Unbuffered, msvcrt writes a message a character at a time, each a
    // system call: buffered, each message goes out whole at its fflush.
    std::setvbuf(stderr, nullptr, _IOFBF, 1 << 12);
    devia(verso[0], stdout, STD_OUTPUT_HANDLE);
    devia(verso[1], stderr, STD_ERROR_HANDLE);
    std::atexit(svuotaConsole);
}

bool ConsoleSoloNostra() {
    DWORD processi[2];
    return GetConsoleProcessList(processi, std::size(processi)) == 1;
}

std::FILE* ApriFile(const std::string& percorso, const char* modo) {
    // Refused as Linux refuses it (the C runtime would say "invalid argument").
    if (const int e = ErroreNome(percorso, modo)) {
        errno = e;
        return nullptr;
    }
    std::FILE* f = _wfopen(windows::Utf16(percorso).c_str(), windows::Utf16(modo).c_str());
    if (!f) errno = ErroreApertura(percorso, GetLastError() == ERROR_SHARING_VIOLATION ? EBUSY : errno);
    return f;
}

bool FileRegolare(std::FILE* f) { return GetFileType(Maniglia(f)) == FILE_TYPE_DISK; }

bool StessoFile(std::FILE* f, const std::string& percorso) {
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    if (!FileRegolare(f) || !GetFileInformationByHandle(Maniglia(f), &a)) return false;
    // No access asked: this only reads the file's identity, even of a file
    // another program has open.
    const HANDLE h = CreateFileW(windows::Utf16(percorso).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(h, &b);
    CloseHandle(h);
    auto identita = [](const BY_HANDLE_FILE_INFORMATION& i) {
        return std::tie(i.dwVolumeSerialNumber, i.nFileIndexHigh, i.nFileIndexLow);
    };
    return ok && identita(a) == identita(b);
}

// A console, not the NUL device (which the C runtime's isatty counts too).
bool Terminale(std::FILE* f) {
    for (const VersoConsole& v : verso)
        if (v.file == f) return true;  // through the pipe
    DWORD modo;
    return GetConsoleMode(Maniglia(f), &modo) != 0;
}

bool EsisteFile(const std::string& percorso) {
    return GetFileAttributesW(windows::Utf16(percorso).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RimuoviFile(const std::string& percorso) { DeleteFileW(windows::Utf16(percorso).c_str()); }

bool Sostituibile(const std::string& percorso) {
    // What the final rename needs of an existing target: a program holding
    // it open without sharing it (a spreadsheet) is found now, before any work.
    const HANDLE h = CreateFileW(windows::Utf16(percorso).c_str(), GENERIC_WRITE | DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return true;
    }
    const int e = ErrnoWindows(GetLastError());
    if (e == ENOENT) return true;  // the open will say what is wrong
    errno = e;
    return false;
}

bool FileSpeciale(const std::string& percorso) {
    // NUL, CON, a pipe: whatever opens and is no file on a disk; a folder.
    const HANDLE h = CreateFileW(windows::Utf16(percorso).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION i{};
    const bool speciale = GetFileType(h) != FILE_TYPE_DISK ||
                          (GetFileInformationByHandle(h, &i) && (i.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY));
    CloseHandle(h);
    return speciale;
}

std::string DestinazioneReale(const std::string& percorso) { return percorso; }

namespace {

bool daCancellare(HANDLE h, bool si) {
    FILE_DISPOSITION_INFO d{};
    d.DeleteFile = si;
    return SetFileInformationByHandle(h, FileDispositionInfo, &d, sizeof d) != 0;
}

}  // namespace

int CreaEsclusivo(const std::string& percorso) {
    // Marked for deletion from the start: however the program ends (Ctrl+C,
    // killed from the task manager), the system removes it with its handle,
    // unless ConservaFile took the mark off. Shared for deletion, so that a
    // stop can also remove it while it is open.
    const HANDLE h = CreateFileW(windows::Utf16(percorso).c_str(), GENERIC_WRITE | DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        errno = ErroreApertura(percorso, ErrnoWindows(GetLastError()));
        return -1;
    }
    const int fd = daCancellare(h, true) ? _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY) : -1;
    if (fd < 0) {
        errno = EIO;
        CloseHandle(h);  // marked or not yet, it goes
    }
    return fd;
}

bool ConservaFile(std::FILE* f) { return daCancellare(Maniglia(f), false); }

bool FileIntero::rinomina(bool sostituisci) {
    if (MoveFileExW(windows::Utf16(temporaneo_).c_str(), windows::Utf16(destinazione_).c_str(),
                    sostituisci ? MOVEFILE_REPLACE_EXISTING : 0))
        return true;
    errno = ErrnoWindows(GetLastError());
    return false;
}

namespace interruzione {

namespace {

BOOL WINAPI SuEvento(DWORD evento) {
    const char* nome = NomeEventoConsole(evento);
    if (!nome) return FALSE;  // logoff and shutdown: the system's way
    // This runs on a thread of its own: the stop's work, then the end a
    // Ctrl+C gives a console program.
    Ferma(nome, stderr);
    svuotaConsole();
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

}  // namespace

void Installa() { SetConsoleCtrlHandler(SuEvento, TRUE); }

}  // namespace interruzione

std::string TestoErroreSistema(int codice) {
    if (const int e = ErrnoWindows(static_cast<DWORD>(codice), 0)) return TestoErrore(e);
    wchar_t* testo = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(codice), 0, reinterpret_cast<LPWSTR>(&testo), 0,
                                   nullptr);
    const std::string r = n > 0 ? windows::Utf8(std::wstring_view(testo, n)) : "errore " + std::to_string(codice);
    LocalFree(testo);
    return SenzaCoda(r);
}

}  // namespace termix::batch
