#include "batch/CodiciWindows.h"

#include <filesystem>
#include <iterator>

#include "batch/Sistema.h"
#include "report/Codifica.h"

namespace termix::batch {

int ErrnoWindows(unsigned long codice, int altrimenti) {
    struct Voce {
        unsigned long codice;
        int errore;
    };
    static constexpr Voce Voci[] = {
        {2, ENOENT},         // ERROR_FILE_NOT_FOUND
        {3, ENOENT},         // ERROR_PATH_NOT_FOUND
        {4, EMFILE},         // ERROR_TOO_MANY_OPEN_FILES
        {5, EACCES},         // ERROR_ACCESS_DENIED
        {8, ENOMEM},         // ERROR_NOT_ENOUGH_MEMORY
        {14, ENOMEM},        // ERROR_OUTOFMEMORY
        {15, ENOENT},        // ERROR_INVALID_DRIVE
        {19, EROFS},         // ERROR_WRITE_PROTECT
        {21, ENODEV},        // ERROR_NOT_READY
        {23, EIO},           // ERROR_CRC
        {29, EIO},           // ERROR_WRITE_FAULT
        {30, EIO},           // ERROR_READ_FAULT
        {32, EBUSY},         // ERROR_SHARING_VIOLATION
        {33, EBUSY},         // ERROR_LOCK_VIOLATION
        {39, ENOSPC},        // ERROR_HANDLE_DISK_FULL
        {53, ENOENT},        // ERROR_BAD_NETPATH
        {67, ENOENT},        // ERROR_BAD_NET_NAME
        {80, EEXIST},        // ERROR_FILE_EXISTS
        {112, ENOSPC},       // ERROR_DISK_FULL
        {123, EINVAL},       // ERROR_INVALID_NAME
        {145, ENOTEMPTY},    // ERROR_DIR_NOT_EMPTY
        {183, EEXIST},       // ERROR_ALREADY_EXISTS
        {206, ENAMETOOLONG}, // ERROR_FILENAME_EXCED_RANGE
        {267, ENOTDIR},      // ERROR_DIRECTORY
    };
    for (const Voce& v : Voci)
        if (v.codice == codice) return v.errore;
    return altrimenti;
}

const char* NomeEventoConsole(unsigned long evento) {
    // CTRL_C_EVENT, CTRL_BREAK_EVENT, CTRL_CLOSE_EVENT
    static constexpr const char* Nomi[] = {"Ctrl+C", "Ctrl+Break", "finestra chiusa"};
    return evento < std::size(Nomi) ? Nomi[evento] : nullptr;
}

int ErroreApertura(const std::string& percorso, int errore) {
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

int ErroreNome(const std::string& percorso, const char* modo) {
    if (percorso.find('\0') != std::string::npos) return EINVAL;
    if (percorso.empty() || (percorso.back() != '/' && percorso.back() != '\\')) return 0;
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status s = fs::status(Percorso(percorso.substr(0, percorso.find_last_not_of("/\\") + 1)), ec);
    return modo[0] != 'r' || fs::is_directory(s) ? EISDIR : fs::exists(s) ? ENOTDIR : ENOENT;
}

std::size_t FineUtf8Intera(std::string_view s) {
    for (std::size_t k = 1; k <= 3 && k <= s.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(s[s.size() - k]);
        if ((c & 0xC0) != 0x80) {  // the last lead byte: is its character whole?
            const std::size_t lunghezza = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            return lunghezza > k ? s.size() - k : s.size();
        }
    }
    return s.size();
}

std::u16string PerConsole(std::string& resto, std::string_view letti) {
    resto.append(letti);
    const std::size_t fine = FineUtf8Intera(resto);
    std::u16string r = Utf16DaUtf8(std::string_view(resto).substr(0, fine));
    resto.erase(0, fine);
    return r;
}

std::string SenzaCoda(std::string testo) {
    while (!testo.empty() && (testo.back() == '\n' || testo.back() == '\r' || testo.back() == ' ' || testo.back() == '.'))
        testo.pop_back();
    return testo;
}

}  // namespace termix::batch
