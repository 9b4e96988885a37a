#pragma once
// "&Salva": the report as a Windows-1252 text file, CRLF after every line.
#include <memory>
#include <string>
#include <string_view>

#include "report/Rapporto.h"

namespace termix {

// An open file being written.
class FileScrittura {
public:
    virtual ~FileScrittura() = default;
    virtual bool Scrivi(std::string_view byte) = 0;
    virtual bool Chiudi() = 0;
};

// An open file descriptor owned by one handle and closed exactly once, by
// Chiudi() or at the end: a descriptor closed twice could be another
// thread's file by then (the batch tool writes reports on several threads).
class Descrittore {
public:
    explicit Descrittore(int fd = -1) noexcept : fd_(fd) {}
    Descrittore(Descrittore&& altro) noexcept : fd_(altro.rilascia()) {}
    Descrittore& operator=(Descrittore&&) = delete;  // one owner for life: nothing to close twice
    ~Descrittore() { Chiudi(); }
    int fd() const noexcept { return fd_; }
    // Closes it now; true when the close succeeded or nothing was open.
    bool Chiudi() noexcept;

private:
    int rilascia() noexcept;
    int fd_;
};

// The system's own calls under Descrittore and FileSystemReale (one file per
// platform): open for writing, binary and not inherited, emptied or (with
// `soloNuovi`) only new; close; write some of `byte`, giving how many went
// (0 or less: failed).
namespace descrittore {
int Apri(const std::string& percorso, bool soloNuovi);
int Chiudi(int fd);
long long Scrivi(int fd, std::string_view byte);
}  // namespace descrittore

// Creates (or empties) a file for writing; nullptr when it cannot be opened,
// in which case an existing file must be left as it was.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual std::unique_ptr<FileScrittura> Crea(const std::string& percorso) = 0;
};

// The real file system; a relative name is relative to the working directory,
// names are UTF-8 (the wide-character calls on Windows). With `soloNuovi`, an
// existing file is never opened (errno EEXIST).
class FileSystemReale : public FileSystem {
public:
    explicit FileSystemReale(bool soloNuovi = false) : soloNuovi_(soloNuovi) {}
    std::unique_ptr<FileScrittura> Crea(const std::string& percorso) override;

private:
    bool soloNuovi_;
};

// A file system of one file in memory: whatever is created is `byte`.
class FileSystemMemoria : public FileSystem {
public:
    std::unique_ptr<FileScrittura> Crea(const std::string&) override { return std::make_unique<File>(byte); }
    std::string byte;

private:
    class File : public FileScrittura {
    public:
        explicit File(std::string& byte) : byte_(byte) {}
        bool Scrivi(std::string_view b) override { return byte_.append(b), true; }
        bool Chiudi() override { return true; }

    private:
        std::string& byte_;
    };
};

// The file name for the typed text: as typed, plus ".TXT".
std::string NomeFileRapporto(std::string_view digitato);

// Calls `scrivi` for every physical line of the report in order, building
// each line (and so reading its boxes) just before; stops at the first
// `false`, which it returns.
bool ProduciRapporto(TipoUscita uscita, const SorgenteTesti& sorgente, Orologio& orologio,
                     const LarghezzaTesto& larghezza,
                     const std::function<bool(const RigaFisica&)>& scrivi);

// Writes the file variant into `percorso`. False on any failure: nothing
// opened (an existing file untouched), or a write or the close failed (the
// file closed with the lines written so far).
bool SalvaRapporto(const std::string& percorso, const SorgenteTesti& sorgente, Orologio& orologio,
                   FileSystem& fs);

}  // namespace termix
