#pragma once
// What the Windows seam decides, in plain C++: built and tested on every
// platform, so that what only Windows runs is the API calls themselves.
#include <cerrno>
#include <cstddef>
#include <string>
#include <string_view>

namespace termix::batch {

// The system's error codes the file operations give (winerror.h; checked
// against it where windows.h is at hand).
namespace codiceWindows {
inline constexpr unsigned long FileNonTrovato = 2, PercorsoNonTrovato = 3, TroppiFileAperti = 4, AccessoNegato = 5,
                               MemoriaInsufficiente = 8, MemoriaEsaurita = 14, UnitaNonValida = 15,
                               ProtettoDaScrittura = 19, NonPronto = 21, Crc = 23, ErroreScrittura = 29,
                               ErroreLettura = 30, ViolazioneCondivisione = 32, ViolazioneBlocco = 33,
                               DiscoPienoManiglia = 39, PercorsoReteErrato = 53, NomeReteErrato = 67, FileEsiste = 80,
                               DiscoPieno = 112, NomeNonValido = 123, CartellaNonVuota = 145, GiaEsistente = 183,
                               NomeTroppoLungo = 206, NonCartella = 267;
}

// The errno that says what a system error code says; `altrimenti` for a code
// the table lacks.
int ErrnoWindows(unsigned long codice, int altrimenti = EIO);

// The console event a stop message names (Ctrl+C, Ctrl+Break, the window
// closed); null for the others (logoff, shutdown), left to the system.
const char* NomeEventoConsole(unsigned long evento);

// The errno a failed open gives, made what Linux says: the C runtime says
// "access denied" for a folder and "not found" below a file.
int ErroreApertura(const std::string& percorso, int errore);

// A name no open should be tried with: a NUL inside (EINVAL), or ending in a
// separator, which names a folder (EISDIR, ENOTDIR or ENOENT as Linux says for
// `modo`). 0 for any other name.
int ErroreNome(const std::string& percorso, const char* modo);

// How many bytes of `s` end with a whole UTF-8 character: the rest waits for
// the bytes that complete it.
std::size_t FineUtf8Intera(std::string_view s);

// A system message without the full stop, blanks and line ends after it.
std::string SenzaCoda(std::string testo);

}  // namespace termix::batch
