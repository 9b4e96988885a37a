// The real registry, file and launch seams of the About box.
#include <QFileInfo>
#include <QProcess>
#include <QString>

#include "forms/InfoSistema.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace termix {

namespace {

#ifdef _WIN32

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
    long LeggiValore(std::uintptr_t handle, const std::string& nome, std::uint32_t& tipo,
                     char* buffer, std::uint32_t& dimensione) override {
        DWORD t = 0;
        DWORD n = dimensione;
        const LONG rc = RegQueryValueExA(reinterpret_cast<HKEY>(handle), nome.c_str(), nullptr, &t,
                                         reinterpret_cast<LPBYTE>(buffer), &n);
        tipo = t;
        dimensione = n;
        return rc;
    }
    void ChiudiChiave(std::uintptr_t handle) override {
        if (handle != 0)
            RegCloseKey(reinterpret_cast<HKEY>(handle));
    }
};

class FileWindows final : public ControlloFile {
public:
    bool EsisteFile(const std::string& percorso) override {
        const DWORD a = GetFileAttributesA(percorso.c_str());
        if (a == INVALID_FILE_ATTRIBUTES)
            return false;
        return (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
    }
};

#else

// No system registry here: every key is missing, as on a Windows machine
// without the system-information program.
class RegistroVuoto final : public Registro {
public:
    long ApriChiave(std::uint32_t, const std::string&, std::uint32_t, std::uintptr_t& handle) override {
        handle = 0;
        return 2;  // ERROR_FILE_NOT_FOUND
    }
    long LeggiValore(std::uintptr_t, const std::string&, std::uint32_t&, char*, std::uint32_t&) override {
        return 2;
    }
    void ChiudiChiave(std::uintptr_t) override {}
};

class FilePosix final : public ControlloFile {
public:
    bool EsisteFile(const std::string& percorso) override {
        const QFileInfo info(QString::fromLocal8Bit(percorso));
        return info.isFile() && !info.isHidden();
    }
};

#endif

class AvviatoreQt final : public Avviatore {
public:
    bool Avvia(const std::string& percorso) override {
        if (percorso.empty())
            return false;
        // The registry text is in the system code page.
        return QProcess::startDetached(QString::fromLocal8Bit(percorso), {});
    }
};

}  // namespace

Registro& RegistroDiSistema() {
#ifdef _WIN32
    static RegistroWindows r;
#else
    static RegistroVuoto r;
#endif
    return r;
}

ControlloFile& FileDiSistema() {
#ifdef _WIN32
    static FileWindows f;
#else
    static FilePosix f;
#endif
    return f;
}

Avviatore& AvviatoreDiSistema() {
    static AvviatoreQt a;
    return a;
}

}  // namespace termix
