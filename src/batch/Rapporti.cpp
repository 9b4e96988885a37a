#include "batch/Rapporti.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/ErroriSistema.h"
#include "batch/Interruzione.h"
#include "batch/Sistema.h"
#include "report/SalvaRapporto.h"

namespace termix::batch {

namespace fs = std::filesystem;

namespace {

// The tool's own names: digits, then ".TXT". A list naming anything else
// (or a path) was not written by the tool and is not obeyed.
bool NomeDiRapporto(const std::string& nome) {
    if (nome.size() < 5 || !nome.ends_with(".TXT")) return false;
    for (size_t i = 0; i + 4 < nome.size(); ++i)
        if (nome[i] < '0' || nome[i] > '9') return false;
    return true;
}

// Size and modification time as the list records them: a file touched since
// no longer matches.
std::string Impronta(const fs::path& p, std::error_code& ec) {
    const auto st = fs::symlink_status(p, ec);
    if (ec || !fs::is_regular_file(st)) return {};
    const auto dimensione = fs::file_size(p, ec);
    if (ec) return {};
    const auto istante = fs::last_write_time(p, ec);
    if (ec) return {};
    // (some libraries count file times in 128 bits: no to_string for those)
    return std::to_string(static_cast<unsigned long long>(dimensione)) + "\t" +
           std::to_string(static_cast<long long>(istante.time_since_epoch().count()));
}

}  // namespace

CartellaRapporti::~CartellaRapporti() {
    if (elenco_) std::fclose(elenco_);
}

void CartellaRapporti::Prepara(const std::string& cartella, std::FILE* errori) {
    cartella_ = cartella;
    std::error_code ec;
    fs::create_directories(Percorso(cartella), ec);
    if (ec) {
        perche_ = "impossibile creare la cartella " + cartella + ": " + TestoErrore(ec);
        std::fprintf(errori, "termix54-batch: %s\n", perche_.c_str());
        return;
    }
    const fs::path elenco = Percorso(cartella) / ElencoRapporti;
    {
        std::ifstream f(elenco);
        for (std::string riga; std::getline(f, riga);) {
            const auto tab = riga.find('\t');
            if (tab == std::string::npos) continue;
            const std::string nome = riga.substr(0, tab);
            const fs::path p = Percorso(cartella) / nome;
            std::error_code e;
            if (NomeDiRapporto(nome) && Impronta(p, e) == riga.substr(tab + 1)) fs::remove(p, e);
        }
    }
    interruzione::Cartella(cartella);
    elenco_ = ApriFile(TestoPercorso(elenco), "wb");
    if (!elenco_) {
        perche_ = "impossibile scrivere " + TestoPercorso(elenco) + ": " + TestoErrore(errno);
        std::fprintf(errori, "termix54-batch: %s\n", perche_.c_str());
    }
}

bool CartellaRapporti::Scrivi(long long riga, const SorgenteTesti& sorgente, Orologio& orologio, std::string& file,
                              std::string& perche) {
    const std::string nome = std::to_string(riga) + ".TXT";
    const fs::path p = Percorso(cartella_) / nome;
    file = TestoPercorso(p);
    if (!elenco_) {
        perche = perche_;
        return false;
    }
    // Made whole in memory, written under a temporary name, then given its
    // own only if nothing has taken it: a report never replaces a file, and a
    // stopped run leaves no report cut short.
    FileSystemMemoria memoria;
    try {
        SalvaRapporto(file, sorgente, orologio, memoria);
    } catch (const std::exception& e) {
        perche = e.what();  // no converter or no memory
        return false;
    }
    FileIntero f;
    std::FILE* uscita = f.Apri(file);
    const bool scritto = uscita && std::fwrite(memoria.byte.data(), 1, memoria.byte.size(), uscita) == memoria.byte.size() &&
                         f.Conferma(false);
    if (!scritto) {
        perche = TestoErrore(errno);
        return false;
    }
    interruzione::RapportoScritto(riga);
    std::error_code ec;
    const std::string impronta = Impronta(p, ec);
    std::lock_guard lk(mx_);
    // One line at a time, flushed: a run cut short still leaves a list of
    // what it wrote.
    std::fprintf(elenco_, "%s\t%s\n", nome.c_str(), impronta.c_str());
    std::fflush(elenco_);
    return true;
}

}  // namespace termix::batch
