#include "batch/CodiciWindows.h"

#include <filesystem>

#include "batch/Sistema.h"

namespace termix::batch {

int ErrnoWindows(unsigned long codice, int altrimenti) {
    using namespace codiceWindows;
    struct Voce {
        unsigned long codice;
        int errore;
    };
    static constexpr Voce Voci[] = {
        {FileNonTrovato, ENOENT},         {PercorsoNonTrovato, ENOENT},   {UnitaNonValida, ENOENT},
        {PercorsoReteErrato, ENOENT},     {NomeReteErrato, ENOENT},       {AccessoNegato, EACCES},
        {ViolazioneCondivisione, EBUSY},  {ViolazioneBlocco, EBUSY},      {ProtettoDaScrittura, EROFS},
        {DiscoPieno, ENOSPC},             {DiscoPienoManiglia, ENOSPC},   {FileEsiste, EEXIST},
        {GiaEsistente, EEXIST},           {NonCartella, ENOTDIR},         {CartellaNonVuota, ENOTEMPTY},
        {NomeTroppoLungo, ENAMETOOLONG},  {NomeNonValido, EINVAL},        {MemoriaInsufficiente, ENOMEM},
        {MemoriaEsaurita, ENOMEM},        {TroppiFileAperti, EMFILE},     {NonPronto, ENODEV},
        {ErroreLettura, EIO},             {ErroreScrittura, EIO},         {Crc, EIO},
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

std::string SenzaCoda(std::string testo) {
    while (!testo.empty() && (testo.back() == '\n' || testo.back() == '\r' || testo.back() == ' ' || testo.back() == '.'))
        testo.pop_back();
    return testo;
}

}  // namespace termix::batch
