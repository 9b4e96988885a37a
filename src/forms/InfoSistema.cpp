#include "forms/InfoSistema.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "model/Messaggi.h"

namespace termix {

namespace {

// Closes the key on every way out, the error of a zero-size value included.
class ChiaveAperta {
public:
    ChiaveAperta(Registro& r, std::uintptr_t h) : registro_(r), handle_(h) {}
    ~ChiaveAperta() { registro_.ChiudiChiave(handle_); }
    ChiaveAperta(const ChiaveAperta&) = delete;
    ChiaveAperta& operator=(const ChiaveAperta&) = delete;

private:
    Registro& registro_;
    std::uintptr_t handle_;
};

}  // namespace

bool GetKeyValue(Registro& registro, std::uint32_t radice, const std::string& chiave,
                 const std::string& nomeValore, std::string& valore) {
    std::uintptr_t handle = 0;
    const long apertura = registro.ApriChiave(radice, chiave, AccessoChiave, handle);
    ChiaveAperta chiusura(registro, handle);
    if (apertura != 0) {
        valore.clear();
        return false;
    }

    std::vector<char> buffer(DimensioneBuffer, '\0');
    std::uint32_t dimensione = DimensioneBuffer;
    std::uint32_t tipo = 0;
    if (registro.LeggiValore(handle, nomeValore, tipo, buffer.data(), dimensione) != 0) {
        valore.clear();
        return false;
    }

    // The size counts the terminating NUL of a text when there is one.
    if (dimensione == 0)
        throw std::out_of_range("registry value of size zero");
    const std::string tutto(buffer.data(), buffer.size());
    std::string testo;
    if (dimensione <= tutto.size() && tutto[dimensione - 1] == '\0')
        testo = tutto.substr(0, dimensione - 1);
    else
        testo = tutto.substr(0, dimensione);

    switch (tipo) {
    case TipoTesto:
        valore = testo;
        break;
    case TipoNumero: {
        // Bytes from the last to the first, two digits each, so the text is
        // the number's value whatever its leading zero bytes.
        std::string cifre = "&h";
        for (auto i = testo.size(); i > 0; --i) {
            char due[3];
            std::snprintf(due, sizeof due, "%02X", static_cast<unsigned char>(testo[i - 1]));
            cifre += due;
        }
        valore = cifre;
        break;
    }
    default:
        break;
    }
    return true;
}

void StartSysInfo(AmbienteSistema& ambiente) {
    std::string percorso;
    try {
        if (GetKeyValue(ambiente.registro, RadiceHKLM, ChiaveSysInfo, ValoreSysInfo, percorso)) {
            // found in the first place: launched as it stands
        } else if (GetKeyValue(ambiente.registro, RadiceHKLM, ChiaveSysInfoCartella,
                               ValoreSysInfoCartella, percorso) &&
                   ambiente.file.EsisteFile(percorso + FileSysInfo)) {
            percorso += FileSysInfo;
        } else {
            ambiente.avviso(messaggi::InfoNonDisponibili);
            return;
        }
        if (ambiente.avviatore.Avvia(percorso))
            return;
    } catch (const std::exception&) {
        // any failure of the lookup ends in the one message below
    }
    ambiente.avviso(messaggi::InfoNonDisponibili);
}

}  // namespace termix
