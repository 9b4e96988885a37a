#pragma once
// Finding and launching the system-information program from the About box.
// The registry, the file lookup and the launch sit behind small seams so the
// lookup can be driven by tests; the real ones are in InfoSistemaWindows.cpp
// (plain Win32) and InfoSistemaPosix.cpp.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace termix {

// Root keys are passed as the 32-bit handle values of the registry API.
inline constexpr std::uint32_t RadiceHKLM = 0x80000002u;
inline constexpr std::uint32_t AccessoChiave = 0x2003Fu;
inline constexpr std::uint32_t DimensioneBuffer = 1024;

// Registry value types that the lookup tells apart.
inline constexpr std::uint32_t TipoTesto = 1;   // REG_SZ
inline constexpr std::uint32_t TipoNumero = 4;  // REG_DWORD

inline constexpr const char* ChiaveSysInfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* ValoreSysInfo = "PATH";
inline constexpr const char* ChiaveSysInfoCartella = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char* ValoreSysInfoCartella = "MSINFO";
inline constexpr const char* FileSysInfo = "\\MSINFO32.EXE";

class Registro {
public:
    virtual ~Registro() = default;
    // Status 0 and a handle on success, a non-zero status otherwise.
    virtual long ApriChiave(std::uint32_t radice, const std::string& chiave, std::uint32_t accesso,
                            std::uintptr_t& handle) = 0;
    // Reads the value into `buffer` (at most `dimensione` bytes). On return
    // `tipo` is the value's type and `dimensione` the number of bytes written.
    virtual long LeggiValore(std::uintptr_t handle, const std::string& nome, std::uint32_t& tipo,
                             char* buffer, std::uint32_t& dimensione) = 0;
    virtual void ChiudiChiave(std::uintptr_t handle) = 0;
};

class ControlloFile {
public:
    virtual ~ControlloFile() = default;
    // True when `percorso` names an existing normal file (not a folder,
    // not a hidden or system file).
    virtual bool EsisteFile(const std::string& percorso) = 0;
};

class Avviatore {
public:
    virtual ~Avviatore() = default;
    // Starts the program in a normal window with the focus, without waiting;
    // false when it cannot be started.
    virtual bool Avvia(const std::string& percorso) = 0;
};

// Everything StartSysInfo reaches outside the program. `avviso` shows the
// "not available" message (OK only, no icon, title Termix54).
struct AmbienteSistema {
    Registro& registro;
    ControlloFile& file;
    Avviatore& avviatore;
    std::function<void(std::string_view)> avviso;
};

// Reads one registry value as text. True when it was read; a failed open or
// read gives the empty string. A value of another type than text or number
// leaves `valore` as passed. Throws std::out_of_range for a value of size 0.
bool GetKeyValue(Registro& registro, std::uint32_t radice, const std::string& chiave,
                 const std::string& nomeValore, std::string& valore);

// Launches the system-information program, or tells the user it cannot.
void StartSysInfo(AmbienteSistema& ambiente);

// The platform's own seams: the Windows registry on Windows builds, an empty
// registry elsewhere; the file system; QProcess for the launch.
Registro& RegistroDiSistema();
ControlloFile& FileDiSistema();
Avviatore& AvviatoreDiSistema();

}  // namespace termix
