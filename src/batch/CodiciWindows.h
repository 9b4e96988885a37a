#pragma once
// What the Windows seam decides, in plain C++: built and tested on every
// platform, so that what only Windows runs is the API calls themselves.
#include <cerrno>
#include <cstddef>
#include <string>
#include <string_view>

namespace termix::batch {

// The errno that says what one of the system's error codes (winerror.h) from
// a file operation says; `altrimenti` for a code the table lacks.
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
