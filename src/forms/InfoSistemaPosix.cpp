// The About box's registry, file and launch seams where there is no Windows
// registry (InfoSistemaWindows.cpp on Windows).
#include <QFileInfo>
#include <QProcess>
#include <QString>

#include "forms/InfoSistema.h"

namespace termix {

namespace {

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
    static RegistroVuoto r;
    return r;
}

ControlloFile& FileDiSistema() {
    static FilePosix f;
    return f;
}

Avviatore& AvviatoreDiSistema() {
    static AvviatoreQt a;
    return a;
}

}  // namespace termix
