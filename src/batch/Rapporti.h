#pragma once
// --rapporti CARTELLA: a report file per completed record, and the rule that
// keeps the reports of an earlier run from passing for new ones. The tool
// lists every report it writes in CARTELLA/.termix54-batch (name, size,
// modification time). A run first removes the files of that list that are
// still exactly as the tool wrote them, then starts a new list. It never
// overwrites or removes any other file: a report whose name is taken by
// such a file is not written.
#include <cstdio>
#include <mutex>
#include <string>

#include "report/OrologioSistema.h"
#include "report/Rapporto.h"

namespace termix::batch {

inline constexpr const char* ElencoRapporti = ".termix54-batch";

class CartellaRapporti {
public:
    ~CartellaRapporti();
    // Makes the folder if missing, removes the earlier run's reports and
    // opens the new list. Messages on `errori`; when the folder cannot be
    // used, every report fails on its own, saying why.
    void Prepara(const std::string& cartella, std::FILE* errori);
    // Writes the report of record `riga` as <riga>.TXT; any thread. On
    // failure, `perche` says why.
    bool Scrivi(long long riga, const SorgenteTesti& sorgente, Orologio& orologio, std::string& file,
                std::string& perche);

private:
    std::string cartella_;
    std::FILE* elenco_ = nullptr;
    std::string perche_;  // why the folder is unusable
    std::mutex mx_;
};

}  // namespace termix::batch
