#pragma once
// What the batch tool asks of the operating system, one file per platform
// (SistemaPosix.cpp, SistemaWindows.cpp). Texts and paths are UTF-8 here.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace termix::batch {

// Built for Windows: "/?" asks for the help (elsewhere it is a path), EBUSY
// is a file another program holds.
#ifdef _WIN32
inline constexpr bool SuWindows = true;
#else
inline constexpr bool SuWindows = false;
#endif

// The command line as UTF-8 (on Windows read again in UTF-16, so that a
// name outside the user's code page arrives whole).
std::vector<std::string> ArgomentiUtf8(int argc, char** argv);

// Standard input and output carry bytes as they are (no CRLF translation);
// messages to a console show their accents.
void PreparaConsole();

// Whether the console belongs to the tool alone: started from the file
// manager, not from a command prompt (Windows only; elsewhere false).
bool ConsoleSoloNostra();

// std::fopen for a UTF-8 path.
std::FILE* ApriFile(const std::string& percorso, const char* modo);

// A regular file on disk (not a pipe, a console or a device).
bool FileRegolare(std::FILE* f);

// Whether `percorso` names the same regular file `f` has open.
bool StessoFile(std::FILE* f, const std::string& percorso);

// Whether `f` is an interactive console (for the progress line).
bool Terminale(std::FILE* f);

// Whether something exists under this name; removes a file, quietly (for
// temporary files).
bool EsisteFile(const std::string& percorso);
void RimuoviFile(const std::string& percorso);

// Before any work: whether the file could be replaced at the end (not if it
// is read-only, or on Windows held open by another program); false with
// errno set when not. A name not yet taken can.
bool Sostituibile(const std::string& percorso);

// A file written whole or not at all: the bytes go into a temporary file
// beside the target ("<target>.termix54-XXXXXX"), which takes the target's
// name only at Conferma. A stop of the run removes it (see Interruzione.h).
class FileIntero {
public:
    FileIntero() = default;
    FileIntero(const FileIntero&) = delete;
    FileIntero& operator=(const FileIntero&) = delete;
    ~FileIntero() { Scarta(); }
    // Opens the temporary file; null, errno set, when it cannot be made.
    std::FILE* Apri(const std::string& destinazione);
    // Closes it and gives it the target's name, replacing the file there, or
    // with `sostituisci` false only while the name is free (else EEXIST).
    // False, errno set, when the close or the rename fails: the temporary file
    // is then removed, unless the rename failed and `tieni` (then tenuto()
    // is its name).
    bool Conferma(bool sostituisci, bool tieni = false);
    // Closes and removes the temporary file.
    void Scarta();
    const std::string& tenuto() const { return tenuto_; }

private:
    // Gives the closed temporary file the target's name (one file per platform).
    bool rinomina(bool sostituisci);

    std::FILE* f_ = nullptr;
    std::string temporaneo_, destinazione_, tenuto_;
};

// Names that are written as they go, never through a temporary file: what
// exists and is no regular file (a device, a pipe; a folder, refused at the open).
bool FileSpeciale(const std::string& percorso);
// The file a name stands for: through a symbolic link, the file it points
// to (a rename must not replace the link).
std::string DestinazioneReale(const std::string& percorso);

// A new file, not there before: opens it exclusively, binary, not inherited
// by child processes. -1 and errno when it cannot. On Windows it is marked to
// go when the program ends, however it ends, until ConservaFile.
int CreaEsclusivo(const std::string& percorso);
bool ConservaFile(std::FILE* f);

// UTF-8 to a path and back, on every platform.
inline std::filesystem::path Percorso(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string TestoPercorso(const std::filesystem::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

}  // namespace termix::batch
