#pragma once
// What the batch tool asks of the operating system, one file per platform
// (SistemaPosix.cpp, SistemaWindows.cpp). Texts and paths are UTF-8 here.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace termix::batch {

// The command line as UTF-8 (on Windows read again in UTF-16, so that a
// name outside the user's code page arrives whole).
std::vector<std::string> ArgomentiUtf8(int argc, char** argv);

// Standard input and output carry bytes as they are (no CRLF translation);
// messages to a console show their accents.
void PreparaConsole();

// std::fopen for a UTF-8 path.
std::FILE* ApriFile(const std::string& percorso, const char* modo);

// A regular file on disk (not a pipe, a console or a device).
bool FileRegolare(std::FILE* f);

// Whether `percorso` names the same regular file `f` has open.
bool StessoFile(std::FILE* f, const std::string& percorso);

// Whether `f` is an interactive console (for the progress line).
bool Terminale(std::FILE* f);

// UTF-8 to a path and back, on every platform.
inline std::filesystem::path Percorso(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string TestoPercorso(const std::filesystem::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

}  // namespace termix::batch
