// termix54-batch: the whole calculation for every record of a CSV file.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "batch/Batch.h"
#include "batch/Variando.h"

namespace {

constexpr const char* Uso =
    "Uso: termix54-batch [INGRESSO.csv|-] [-o USCITA.csv] [--rapporti CARTELLA]\n"
    "                    [--variando COLONNA=DA:A:PASSO [--obiettivo TEMPERATURA]]\n"
    "\n"
    "Calcola ogni riga del file CSV come la calcolerebbero le maschere di Termix54\n"
    "e scrive i risultati in CSV. Senza INGRESSO, o con -, legge lo standard input;\n"
    "senza -o, o con -o -, scrive sullo standard output.\n"
    "\n"
    "Il separatore dell'intestazione decide la convenzione: ';' con la virgola\n"
    "decimale, ',' con il punto decimale. L'uscita usa la stessa convenzione.\n"
    "\n"
    "Colonne lette (maiuscole indifferenti, in qualsiasi ordine, tutte facoltative):\n"
    "  Impianto Combustibile Tipo (Metano|Altri) Composizione (Atomica|Ponderale)\n"
    "  PortataComb AtomiC AtomiH AtomiO AtomiCl AtomiS AtomiN\n"
    "  FrazC FrazH FrazO FrazCl FrazS FrazN Inerti Acqua\n"
    "  PotereCalorifico EccessoAria TempAria UmiditaRelativa TempCeneri Dispersioni\n"
    "\n"
    "Stato di uscita: 0 tutte le righe lette; 1 una o piu' righe non valide;\n"
    "2 errore d'uso, colonna sconosciuta o ripetuta, file non apribile o non scrivibile.\n"
    "\n"
    "  -o FILE          scrive i risultati in FILE\n"
    "  --rapporti CARTELLA\n"
    "                   scrive in CARTELLA/<Riga>.TXT il rapporto di calcolo di ogni\n"
    "                   riga completata, come lo salverebbe \"&Salva\" (la cartella\n"
    "                   e' creata se manca)\n"
    "  --variando COLONNA=DA:A:PASSO\n"
    "                   ogni riga diventa una riga di uscita per ogni valore DA + k*PASSO\n"
    "                   (k = 0, 1, ... fino ad A) della colonna numerica COLONNA, in ordine;\n"
    "                   il valore e' scritto in una colonna COLONNA subito dopo Esito; ogni\n"
    "                   riga e' uguale a quella che darebbe lo stesso ingresso su una riga\n"
    "                   a se'. I numeri con la virgola o con il punto decimale\n"
    "  --obiettivo TEMPERATURA\n"
    "                   con --variando: una sola riga per riga di ingresso, al valore di\n"
    "                   COLONNA in cui TempFumi incrocia TEMPERATURA [°C] (bisezione sul\n"
    "                   calcolo esatto, a 0,01 dell'unita' della colonna), con i valori del\n"
    "                   calcolo in quel punto; senza un incrocio, o con piu' di uno, valori\n"
    "                   vuoti e il motivo in Esito (--rapporti non si usa con --variando)\n"
    "  -h, --help       mostra questo aiuto\n";

int erroreUso(const char* messaggio) {
    std::fprintf(stderr, "termix54-batch: %s\nProvare 'termix54-batch --help'.\n", messaggio);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string ingresso, uscita, rapporti;
    bool haIngresso = false, haUscita = false, haRapporti = false;
    termix::batch::Variando variando;
    bool haVariando = false;
    const char* obiettivo = nullptr;
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        if (a == "-h" || a == "--help") {
            std::fputs(Uso, stdout);
            return 0;
        }
        if (a == "-o") {
            if (haUscita) return erroreUso("opzione -o ripetuta");
            if (i + 1 >= argc) return erroreUso("manca il nome del file dopo -o");
            uscita = argv[++i];
            if (uscita.empty()) return erroreUso("nome del file di uscita vuoto");
            haUscita = true;
        } else if (a == "--rapporti" || a.starts_with("--rapporti=")) {
            if (haRapporti) return erroreUso("opzione --rapporti ripetuta");
            if (a == "--rapporti") {
                if (i + 1 >= argc) return erroreUso("manca il nome della cartella dopo --rapporti");
                rapporti = argv[++i];
            } else {
                rapporti = std::string(a.substr(std::string_view("--rapporti=").size()));
            }
            if (rapporti.empty()) return erroreUso("nome della cartella dei rapporti vuoto");
            haRapporti = true;
        } else if (a == "--variando" || a == "--obiettivo") {
            if (i + 1 >= argc) return erroreUso(a == "--variando" ? "manca COLONNA=DA:A:PASSO dopo --variando"
                                                                   : "manca la temperatura dopo --obiettivo");
            if (a == "--obiettivo") {
                obiettivo = argv[++i];
                continue;
            }
            if (haVariando) return erroreUso("opzione --variando ripetuta");
            if (auto errore = termix::batch::LeggiVariando(argv[++i], variando)) return erroreUso(errore->c_str());
            haVariando = true;
        } else if (a.size() > 1 && a[0] == '-') {
            std::string m = "opzione sconosciuta: " + std::string(a);
            return erroreUso(m.c_str());
        } else {
            if (haIngresso) return erroreUso("un solo file di ingresso");
            ingresso = std::string(a);
            haIngresso = true;
        }
    }

    if (obiettivo) {
        if (!haVariando) return erroreUso("--obiettivo si usa con --variando");
        if (auto errore = termix::batch::LeggiObiettivo(obiettivo, variando)) return erroreUso(errore->c_str());
    }
    if (haVariando && haRapporti) return erroreUso("--rapporti non si usa con --variando");

    termix::batch::OpzioniBatch o;
    if (haVariando) o.variando = &variando;
    if (!haIngresso || ingresso == "-") {
        o.ingresso = stdin;
        o.nomeIngresso = "standard input";
    } else {
        o.ingresso = std::fopen(ingresso.c_str(), "rb");
        o.nomeIngresso = ingresso;
        if (!o.ingresso) {
            std::fprintf(stderr, "termix54-batch: impossibile aprire %s: %s\n", ingresso.c_str(),
                         std::strerror(errno));
            return 2;
        }
    }
    o.nomeUscita = uscita == "-" ? std::string() : uscita;
    o.cartellaRapporti = rapporti;
    // Writing over the input would destroy it before it is read.
    struct stat si{}, su{};
    if (!o.nomeUscita.empty() && fstat(fileno(o.ingresso), &si) == 0 && stat(o.nomeUscita.c_str(), &su) == 0 &&
        si.st_dev == su.st_dev && si.st_ino == su.st_ino && S_ISREG(si.st_mode)) {
        std::fprintf(stderr, "termix54-batch: il file di uscita %s e' il file di ingresso\n", o.nomeUscita.c_str());
        if (o.ingresso != stdin) std::fclose(o.ingresso);
        return 2;
    }
    o.progresso = isatty(STDERR_FILENO) == 1;
    int esito = termix::batch::EseguiBatch(o);
    if (o.ingresso != stdin) std::fclose(o.ingresso);
    return esito;
}
