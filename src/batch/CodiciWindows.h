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

// The console's repeater: the UTF-16 of the whole characters among the bytes
// read so far; the bytes of a character the last read cut wait in `resto`.
std::u16string PerConsole(std::string& resto, std::string_view letti);

// Gives `testo` to `scrivi` until all of it is written: `scrivi` takes what is
// left and answers how many units it wrote, 0 when it fails (the rest is then
// dropped: a console that refuses text will not take it on a second try).
template <class Scrivi>
void ScriviTutto(std::u16string_view testo, Scrivi scrivi) {
    for (std::size_t k = 0; k < testo.size();) {
        const std::size_t n = scrivi(testo.substr(k));
        if (n == 0) return;
        k += n;
    }
}

// A system message without the full stop, blanks and line ends after it.
std::string SenzaCoda(std::string testo);

}  // namespace termix::batch
