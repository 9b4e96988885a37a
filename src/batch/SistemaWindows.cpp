#include "batch/Sistema.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cerrno>
#include <cstdlib>

#include "batch/ErroriSistema.h"
#include "batch/Interruzione.h"
#include "report/TestoWindows.h"

namespace termix::batch {

namespace {

HANDLE Maniglia(std::FILE* f) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f))); }

UINT codicePaginaConsole = 0;

void RipristinaConsole() { SetConsoleOutputCP(codicePaginaConsole); }

// The C runtime says "access denied" for a folder and "not found" below a
// file; the messages say what they say on Linux.
int erroreApertura(const std::string& percorso, int errore) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (errore == EACCES && fs::is_directory(Percorso(percorso), ec)) return EISDIR;
    if (errore != ENOENT) return errore;
    // The deepest part of the path that exists decides: a file there means
    // the path goes on below a file.
    for (fs::path p = Percorso(percorso).parent_path(); !p.empty(); p = p.parent_path()) {
        const fs::file_status s = fs::status(p, ec);
        if (fs::exists(s)) return fs::is_directory(s) ? ENOENT : ENOTDIR;
        if (p == p.parent_path()) break;
    }
    return ENOENT;
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
    // The messages are UTF-8: the console shows them so while the tool runs,
    // and gets its own code page back at the end.
    DWORD modo;
    if (GetConsoleMode(Maniglia(stderr), &modo) || GetConsoleMode(Maniglia(stdout), &modo)) {
        codicePaginaConsole = GetConsoleOutputCP();
        if (codicePaginaConsole != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) std::atexit(RipristinaConsole);
    }
}

std::FILE* ApriFile(const std::string& percorso, const char* modo) {
    if (percorso.find('\0') != std::string::npos) {
        errno = EINVAL;
        return nullptr;
    }
    // A name ending in a separator names a folder: refused as Linux refuses it
    // (the C runtime would say "invalid argument").
    if (!percorso.empty() && (percorso.back() == '/' || percorso.back() == '\\')) {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::file_status s = fs::status(Percorso(percorso.substr(0, percorso.find_last_not_of("/\\") + 1)), ec);
        errno = modo[0] != 'r' || fs::is_directory(s) ? EISDIR : fs::exists(s) ? ENOTDIR : ENOENT;
        return nullptr;
    }
    std::FILE* f = _wfopen(windows::Utf16(percorso).c_str(), windows::Utf16(modo).c_str());
    if (!f) errno = GetLastError() == ERROR_SHARING_VIOLATION ? EBUSY : erroreApertura(percorso, errno);
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
    return ok && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

// A console, not the NUL device (which the C runtime's isatty counts too).
bool Terminale(std::FILE* f) {
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
    const DWORD e = GetLastError();
    if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) return true;  // the open will say what is wrong
    errno = e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION ? EBUSY : e == ERROR_ACCESS_DENIED ? EACCES : EIO;
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

int CreaEsclusivo(const std::string& percorso) {
    const int fd = _wopen(windows::Utf16(percorso).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                          _S_IREAD | _S_IWRITE);
    if (fd < 0) errno = erroreApertura(percorso, errno);
    return fd;
}

bool FileIntero::rinomina(bool sostituisci) {
    if (MoveFileExW(windows::Utf16(temporaneo_).c_str(), windows::Utf16(destinazione_).c_str(),
                    sostituisci ? MOVEFILE_REPLACE_EXISTING : 0))
        return true;
    const DWORD e = GetLastError();
    errno = e == ERROR_ALREADY_EXISTS || e == ERROR_FILE_EXISTS ? EEXIST
            : e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION ? EBUSY
            : e == ERROR_ACCESS_DENIED ? EACCES
                                         : EIO;
    return false;
}

namespace interruzione {

namespace {

BOOL WINAPI SuEvento(DWORD evento) {
    const char* nome = evento == CTRL_C_EVENT        ? "Ctrl+C"
                       : evento == CTRL_BREAK_EVENT  ? "Ctrl+Break"
                       : evento == CTRL_CLOSE_EVENT  ? "finestra chiusa"
                                                     : nullptr;
    if (!nome) return FALSE;  // logoff and shutdown: the system's way
    // This runs on a thread of its own: the stop's work, then the end a
    // Ctrl+C gives a console program.
    Ferma(nome, stderr);
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

}  // namespace

void Installa() { SetConsoleCtrlHandler(SuEvento, TRUE); }

}  // namespace interruzione

std::string TestoErrore(const std::error_code& ec) {
    if (ec.category() == std::generic_category()) return TestoErrore(ec.value());
    if (ec.category() != std::system_category()) return ec.message();
    // The system's codes that the file operations give, as their errno.
    struct Voce {
        DWORD codice;
        int errore;
    };
    static constexpr Voce Voci[] = {
        {ERROR_FILE_NOT_FOUND, ENOENT},     {ERROR_PATH_NOT_FOUND, ENOENT},  {ERROR_INVALID_DRIVE, ENOENT},
        {ERROR_BAD_NETPATH, ENOENT},        {ERROR_BAD_NET_NAME, ENOENT},    {ERROR_ACCESS_DENIED, EACCES},
        {ERROR_SHARING_VIOLATION, EBUSY},   {ERROR_LOCK_VIOLATION, EBUSY},   {ERROR_WRITE_PROTECT, EROFS},
        {ERROR_DISK_FULL, ENOSPC},          {ERROR_HANDLE_DISK_FULL, ENOSPC}, {ERROR_FILE_EXISTS, EEXIST},
        {ERROR_ALREADY_EXISTS, EEXIST},     {ERROR_DIRECTORY, ENOTDIR},      {ERROR_DIR_NOT_EMPTY, ENOTEMPTY},
        {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG}, {ERROR_INVALID_NAME, EINVAL}, {ERROR_NOT_ENOUGH_MEMORY, ENOMEM},
        {ERROR_OUTOFMEMORY, ENOMEM},        {ERROR_TOO_MANY_OPEN_FILES, EMFILE}, {ERROR_NOT_READY, ENODEV},
        {ERROR_READ_FAULT, EIO},            {ERROR_WRITE_FAULT, EIO},        {ERROR_CRC, EIO},
    };
    for (const Voce& v : Voci)
        if (v.codice == static_cast<DWORD>(ec.value())) return TestoErrore(v.errore);
    wchar_t* testo = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(ec.value()), 0, reinterpret_cast<LPWSTR>(&testo), 0,
                                   nullptr);
    std::string r = n > 0 ? windows::Utf8(std::wstring_view(testo, n)) : "errore " + std::to_string(ec.value());
    LocalFree(testo);
    while (!r.empty() && (r.back() == '\n' || r.back() == '\r' || r.back() == ' ' || r.back() == '.')) r.pop_back();
    return r;
}

}  // namespace termix::batch
