#pragma once
// Scripted registry, file system and launcher for the About box tests.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "forms/InfoSistema.h"

namespace termix::test {

struct ValoreFinto {
    std::uint32_t tipo = TipoTesto;
    std::string dati;  // the bytes as stored, terminating NUL included if any
};

class RegistroFinto final : public Registro {
public:
    // key → value name → value
    std::map<std::string, std::map<std::string, ValoreFinto>> chiavi;
    std::vector<std::string> aperte;  // keys asked for, in order
    std::vector<std::uint32_t> radici, accessi;
    int chiusure = 0;
    int aperteConSuccesso = 0;

    long ApriChiave(std::uint32_t radice, const std::string& chiave, std::uint32_t accesso,
                    std::uintptr_t& handle) override {
        aperte.push_back(chiave);
        radici.push_back(radice);
        accessi.push_back(accesso);
        auto it = chiavi.find(chiave);
        if (it == chiavi.end()) {
            handle = 0;
            return 2;  // ERROR_FILE_NOT_FOUND
        }
        ++aperteConSuccesso;
        handle = aperte.size();
        return 0;
    }
    long LeggiValore(std::uintptr_t handle, const std::string& nome, std::uint32_t& tipo, char* buffer,
                     std::uint32_t& dimensione) override {
        const auto& valori = chiavi.at(aperte.at(handle - 1));
        auto it = valori.find(nome);
        if (it == valori.end())
            return 2;
        tipo = it->second.tipo;
        const auto n = static_cast<std::uint32_t>(it->second.dati.size());
        if (n > dimensione) {
            dimensione = n;
            return 234;  // ERROR_MORE_DATA
        }
        it->second.dati.copy(buffer, n);
        dimensione = n;
        return 0;
    }
    void ChiudiChiave(std::uintptr_t) override { ++chiusure; }
};

// One set of existing files serves both the lookup and the launch: a program
// starts when its file exists.
class SistemaFinto final : public ControlloFile, public Avviatore {
public:
    std::set<std::string> file;
    std::vector<std::string> cercati, avviati;

    bool EsisteFile(const std::string& percorso) override {
        cercati.push_back(percorso);
        return file.count(percorso) > 0;
    }
    bool Avvia(const std::string& percorso) override {
        avviati.push_back(percorso);
        return file.count(percorso) > 0;
    }
};

}  // namespace termix::test
