// termix54-batch: the whole calculation for every record of a CSV file.
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "batch/Aiuto.h"
#include "batch/Batch.h"
#include "batch/ErroriSistema.h"
#include "batch/Interruzione.h"
#include "batch/Sistema.h"
#include "batch/Variando.h"

namespace {

struct Argomenti {
    std::string ingresso, uscita, rapporti;
    bool haIngresso = false;
    std::optional<termix::CodificaTesto> codifica;
    std::vector<std::string> conserva;
    termix::batch::Variando variando;
    bool haVariando = false;
    std::optional<std::string> obiettivo;
    termix::batch::OpzioniVerifica verifica;
    bool haObiettivoRif = false, haParametriVerifica = false;
};

std::optional<std::string> parametroVerifica(Argomenti& a, std::string_view opzione, std::string_view v) {
    a.haParametriVerifica = true;
    return termix::batch::LeggiParametro(opzione, v, a.verifica);
}

// Each option with a value: its names and what it does with the value
// (an error message, or nothing).
struct Opzione {
    std::string_view nome;
    const char* valore;  // what the value is, for messages
    bool ripetibile;
    std::optional<std::string> (*applica)(Argomenti&, std::string_view);
};

const Opzione Opzioni[] = {
    {"-o", "il nome del file", false,
     [](Argomenti& a, std::string_view v) -> std::optional<std::string> {
         a.uscita = v;
         return std::nullopt;
     }},
    {"--rapporti", "il nome della cartella", false,
     [](Argomenti& a, std::string_view v) -> std::optional<std::string> {
         a.rapporti = v;
         return std::nullopt;
     }},
    {"--codifica", "la codifica", false,
     [](Argomenti& a, std::string_view v) -> std::optional<std::string> {
         if (v == "utf-8" || v == "UTF-8") a.codifica = termix::CodificaTesto::Utf8;
         else if (v == "windows-1252" || v == "WINDOWS-1252") a.codifica = termix::CodificaTesto::Windows1252;
         else if (v == "utf-16" || v == "UTF-16") a.codifica = termix::CodificaTesto::Utf16LE;
         else return "codifica sconosciuta: " + std::string(v) + " (utf-8, windows-1252 o utf-16)";
         return std::nullopt;
     }},
    {"--conserva", "l'elenco delle colonne", true,
     [](Argomenti& a, std::string_view v) -> std::optional<std::string> {
         for (std::size_t i = 0; i <= v.size();) {
             std::size_t j = v.find(',', i);
             if (j == std::string_view::npos) j = v.size();
             if (j == i) return "nome di colonna vuoto in --conserva";
             a.conserva.emplace_back(v.substr(i, j - i));
             i = j + 1;
         }
         return std::nullopt;
     }},
    {"--variando", "COLONNA=DA:A:PASSO", false,
     [](Argomenti& a, std::string_view v) -> std::optional<std::string> {
         a.haVariando = true;
         return termix::batch::LeggiVariando(v, a.variando);
     }},
    {"--obiettivo", "la temperatura", false,
     [](Argomenti& a, std::string_view v) -> std::optional<std::string> {
         a.obiettivo = std::string(v);
         return std::nullopt;
     }},
    {"--obiettivo-rif", "la temperatura", false,
     [](Argomenti& a, std::string_view v) -> std::optional<std::string> {
         a.haObiettivoRif = true;
         return termix::batch::LeggiParametro("--obiettivo-rif", v, a.verifica);
     }},
    {"--modello", "il modello", false,
     [](Argomenti& a, std::string_view v) -> std::optional<std::string> {
         a.haParametriVerifica = true;
         return termix::batch::LeggiModello(v, a.verifica);
     }},
    {"--permanenza", "il tempo", false,
     [](Argomenti& a, std::string_view v) { return parametroVerifica(a, "--permanenza", v); }},
    {"--o2-riferimento", "l'O2 di riferimento", false,
     [](Argomenti& a, std::string_view v) { return parametroVerifica(a, "--o2-riferimento", v); }},
    {"--conversione-so3", "la quota", false,
     [](Argomenti& a, std::string_view v) { return parametroVerifica(a, "--conversione-so3", v); }},
    {"--temp-equilibrio", "la temperatura", false,
     [](Argomenti& a, std::string_view v) { return parametroVerifica(a, "--temp-equilibrio", v); }},
};

int erroreUso(const std::string& messaggio) {
    std::fprintf(stderr, "termix54-batch: %s\nProvare 'termix54-batch --help'.\n", messaggio.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    termix::batch::PreparaConsole();
    termix::batch::interruzione::Installa();  // before any thread
    const std::vector<std::string> argomenti = termix::batch::ArgomentiUtf8(argc, argv);
    argc = static_cast<int>(argomenti.size());
    // Double-clicked: a console of its own would wait for a CSV on standard
    // input with no word; it says how the tool is used instead.
    if (argc == 1 && termix::batch::ConsoleSoloNostra()) return termix::batch::AvvioDaSolo(stdin, stdout);
    Argomenti a;
    bool viste[std::size(Opzioni)] = {};
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argomenti[i];
        if (arg == "-h" || arg == "--help" || arg == "-?" || (termix::batch::SuWindows && arg == "/?")) {
            std::fputs(termix::batch::TestoAiuto().c_str(), stdout);
            return 0;
        }
        bool* interruttore = arg == "--verifica"          ? &a.verifica.attiva
                             : arg == "--camino"          ? &a.verifica.camino
                             : arg == "--applica-eccesso" ? &a.verifica.applicaEccesso
                                                          : nullptr;
        if (interruttore) {
            if (*interruttore) return erroreUso("opzione " + std::string(arg) + " ripetuta");
            *interruttore = true;
            continue;
        }
        const Opzione* op = nullptr;
        std::optional<std::string_view> valore;
        for (const Opzione& o : Opzioni) {
            if (arg == o.nome) {
                op = &o;
            } else if (o.nome.starts_with("--") && arg.starts_with(o.nome) && arg[o.nome.size()] == '=') {
                op = &o;
                valore = arg.substr(o.nome.size() + 1);
            }
        }
        if (op) {
            bool& vista = viste[op - Opzioni];
            if (vista && !op->ripetibile) return erroreUso("opzione " + std::string(op->nome) + " ripetuta");
            vista = true;
            if (!valore) {
                if (i + 1 >= argc) return erroreUso("manca " + std::string(op->valore) + " dopo " + std::string(op->nome));
                valore = argomenti[++i];
            }
            if (valore->empty()) return erroreUso(std::string(op->valore) + " dopo " + std::string(op->nome) + " è vuoto");
            if (auto errore = op->applica(a, *valore)) return erroreUso(*errore);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return erroreUso("opzione sconosciuta: " + std::string(arg));
        } else {
            if (a.haIngresso) return erroreUso("un solo file di ingresso");
            a.ingresso = arg;
            a.haIngresso = true;
        }
    }

    if (a.obiettivo) {
        if (!a.haVariando) return erroreUso("--obiettivo si usa con --variando");
        if (auto errore = termix::batch::LeggiObiettivo(*a.obiettivo, a.variando)) return erroreUso(*errore);
    }
    if (a.haVariando && !a.rapporti.empty()) return erroreUso("--rapporti non si usa con --variando");
    if (a.haObiettivoRif && !a.haVariando) return erroreUso("--obiettivo-rif si usa con --variando");
    if (a.haObiettivoRif && a.obiettivo) return erroreUso("--obiettivo e --obiettivo-rif: usarne uno solo");
    const bool lettura = a.haVariando && a.variando.colonna && a.variando.colonna->ha(termix::IngressoCamino);
    if (lettura && !a.verifica.camino && !a.verifica.applicaEccesso)
        return erroreUso("--variando " + std::string(a.variando.colonna->nome) + " si usa con --camino o --applica-eccesso");
    if (lettura && (a.obiettivo || a.haObiettivoRif))
        return erroreUso("--obiettivo e --obiettivo-rif non si usano con --variando " +
                         std::string(a.variando.colonna->nome));
    if (a.haParametriVerifica && !a.verifica.attiva && !a.verifica.camino)
        return erroreUso("--modello, --permanenza, --o2-riferimento e --conversione-so3 si usano con --verifica");

    termix::batch::OpzioniBatch o;
    if (a.haVariando) o.variando = &a.variando;
    o.verifica = a.verifica;
    if (!a.haIngresso || a.ingresso == "-") {
        o.ingresso = stdin;
        o.nomeIngresso = "standard input";
    } else {
        o.ingresso = termix::batch::ApriFile(a.ingresso, "rb");
        o.nomeIngresso = a.ingresso;
        if (!o.ingresso) {
            std::fprintf(stderr, "termix54-batch: impossibile aprire %s: %s\n", a.ingresso.c_str(),
                         termix::batch::TestoErrore(errno).c_str());
            return 2;
        }
    }
    o.nomeUscita = a.uscita == "-" ? std::string() : a.uscita;
    o.cartellaRapporti = a.rapporti;
    o.codifica = a.codifica;
    o.conserva = a.conserva;
    // Writing over the input would destroy it before it is read.
    if (!o.nomeUscita.empty() && termix::batch::StessoFile(o.ingresso, o.nomeUscita)) {
        std::fprintf(stderr, "termix54-batch: il file di uscita %s è il file di ingresso\n", o.nomeUscita.c_str());
        return 2;
    }
    o.progresso = termix::batch::Terminale(stderr);
    return termix::batch::EseguiBatch(o);  // the input, read only, closes with the program
}
