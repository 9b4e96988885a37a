// The About box's registry, file and launch seams on Windows: plain Win32,
// no Qt, so the build of the batch tool compiles and tests them too.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "forms/InfoSistema.h"

namespace termix {

namespace {

class RegistroWindows final : public Registro {
public:
    long ApriChiave(std::uint32_t radice, const std::string& chiave, std::uint32_t accesso,
                    std::uintptr_t& handle) override {
        // Predefined roots are 32-bit values sign-extended to a handle.
        const HKEY root = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(radice)));
        HKEY h = nullptr;
        const LONG rc = RegOpenKeyExA(root, chiave.c_str(), 0, static_cast<REGSAM>(accesso), &h);
        handle = reinterpret_cast<std::uintptr_t>(h);
        return rc;
    }
    long LeggiValore(std::uintptr_t handle, const std::string& nome, std::uint32_t& tipo, char* buffer,
                     std::uint32_t& dimensione) override {
        DWORD t = 0;
        DWORD n = dimensione;
        const LONG rc = RegQueryValueExA(reinterpret_cast<HKEY>(handle), nome.c_str(), nullptr, &t,
                                         reinterpret_cast<LPBYTE>(buffer), &n);
        tipo = t;
        dimensione = n;
        return rc;
    }
    void ChiudiChiave(std::uintptr_t handle) override {
        if (handle != 0) RegCloseKey(reinterpret_cast<HKEY>(handle));
    }
};

class FileWindows final : public ControlloFile {
public:
    bool EsisteFile(const std::string& percorso) override {
        const DWORD a = GetFileAttributesA(percorso.c_str());
        if (a == INVALID_FILE_ATTRIBUTES) return false;
        return (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
    }
};

class AvviatoreWindows final : public Avviatore {
public:
    bool Avvia(const std::string& percorso) override {
        if (percorso.empty()) return false;
        // The registry text is in the system code page; the program starts
        // in a normal window and is not waited for.
        const int n = MultiByteToWideChar(CP_ACP, 0, percorso.c_str(), -1, nullptr, 0);
        std::wstring w(static_cast<std::size_t>(n), L'\0');
        MultiByteToWideChar(CP_ACP, 0, percorso.c_str(), -1, w.data(), n);
        return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", w.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
    }
};

}  // namespace

Registro& RegistroDiSistema() {
    static RegistroWindows r;
    return r;
}

ControlloFile& FileDiSistema() {
    static FileWindows f;
    return f;
}

Avviatore& AvviatoreDiSistema() {
    static AvviatoreWindows a;
    return a;
}

}  // namespace termix
