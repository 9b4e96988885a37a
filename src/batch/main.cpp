// termix54-batch: the whole calculation for every record of a CSV file.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "batch/Batch.h"
#include "batch/ErroriSistema.h"
#include "batch/Variando.h"

namespace {

constexpr const char* Uso = R"(Uso: termix54-batch [INGRESSO.csv|-] [-o USCITA.csv] [--rapporti CARTELLA]
                    [--conserva COL[,COL...]] [--codifica CODIFICA]
                    [--variando COLONNA=DA:A:PASSO [--obiettivo TEMPERATURA |
                     --obiettivo-rif TEMPERATURA]]
                    [--verifica [--modello tabella|nasa] [--permanenza S]
                     [--o2-riferimento P|nessuno] [--conversione-so3 P]]

Calcola ogni riga di un file CSV come la calcolerebbero le maschere di Termix54,
su un record di calcolo nuovo per ogni riga, e scrive una riga di risultati per
ogni riga letta, nello stesso ordine. Senza INGRESSO, o con -, legge lo standard
input; senza -o, o con -o -, scrive sullo standard output.

Il separatore dell'intestazione decide la convenzione: ';' con la virgola
decimale (i numeri si leggono come nelle caselle delle maschere: 1.000,5 è
mille e mezzo) oppure ',' con il punto decimale. L'uscita usa la stessa
convenzione. Le righe vuote, anche prima dell'intestazione, sono saltate.
Un campo tra virgolette può contenere il separatore e andare a capo; "" vale
una virgoletta. Dopo le virgolette di chiusura possono venire solo il
separatore o la fine della riga: altrimenti la riga non è valida e, se il campo
andava a capo, la lettura riprende dalla linea dopo quella delle virgolette di
apertura, così che si perde solo quella.

Colonne lette (maiuscole indifferenti, in qualsiasi ordine, tutte facoltative;
una cella vuota o una colonna assente valgono 0, come una casella vuota):
  Impianto, Combustibile  nomi, testo libero
  Tipo                    Metano oppure Altri
  Composizione            Atomica oppure Ponderale
  PortataComb             portata di combustibile, kg/h
  AtomiC AtomiH AtomiO AtomiCl AtomiS AtomiN
                          atomi per molecola (composizione Atomica)
  FrazC FrazH FrazO FrazCl FrazS FrazN
                          frazioni ponderali, da 0 a 1 (composizione Ponderale)
  Inerti Acqua            frazioni ponderali di inerti e di acqua, da 0 a 1
  PotereCalorifico        potere calorifico inferiore, kcal/kg; vuoto o assente:
                          stimato dalla composizione, come rispondendo "No" a
                          "Potere calorifico noto ?" (per il Metano: 11958)
  EccessoAria             eccesso d'aria, %
  TempAria                temperatura dell'aria, °C
  UmiditaRelativa         umidità relativa dell'aria, % (da 0 a 100)
  TempCeneri              temperatura di uscita delle ceneri, °C
  Dispersioni             dispersioni termiche, % dell'energia in ingresso
Combustibile di supporto, bruciato insieme al combustibile della riga (la
miscela si calcola come un combustibile Ponderale: frazioni e potere calorifico
sono le medie pesate sulle portate, la portata è la somma; senza supporto, o
con portata 0, la riga si calcola esattamente come senza queste colonne):
  SupportoTipo            Metano (la composizione del programma, 11958 kcal/kg)
                          oppure Ponderale; vuoto: nessun supporto
  SupportoPortata         portata del supporto, kg/h (non negativa)
  SupportoPotereCalorifico
                          potere calorifico inferiore del supporto Ponderale,
                          kcal/kg
  SupportoFrazC SupportoFrazH SupportoFrazO SupportoFrazCl SupportoFrazS
  SupportoFrazN SupportoInerti SupportoAcqua
                          frazioni ponderali del supporto Ponderale (somma 1,
                          entro un millesimo)
Parametri della verifica, per riga (vincono sulle opzioni omonime):
  TempoPermanenza         s (> 0); DiametroCamera  m (> 0, facoltativo)
  O2Riferimento           % vol sul secco, da 0 a 21 escluso, o "nessuno"
  ConversioneSO3          % dell'SO2 che diventa SO3, da 0 a 100
  ObiettivoRif            °C, come --obiettivo-rif per questa riga
Un valore fuori intervallo ferma la riga con il motivo in Esito, senza valori.
Ogni altra colonna ferma tutto (stato 2) e il messaggio nomina la colonna nota
più simile: un nome sbagliato non è mai letto come 0. Per copiarla nell'uscita
usare --conserva.

Colonne scritte: Riga (numero della riga di dati, righe vuote escluse), le
colonne di --conserva, Impianto, Combustibile, Esito ("OK", oppure i messaggi
che le maschere avrebbero mostrato, separati da " | ", oppure "Riga non
valida"), poi i valori del record di calcolo, da PesoMolecolare a PortataFumi
(portate in kg/h, kmoli/h, Nm3/h e m3/h, energie in kcal/h, temperature in °C,
quote in %). Sono i valori a piena precisione, ciascuno scritto con il testo
più corto che si rilegge nello stesso numero, non i testi troncati delle
maschere; sono vuoti quando la riga non è completata.

Codifica: un file che comincia con il marchio (BOM) UTF-16 è letto come UTF-16;
altrimenti come UTF-8, con o senza marchio, se è UTF-8 valido, se no come
Windows-1252 (il CSV dei fogli di calcolo con le impostazioni italiane). Da una
pipe decide il primo blocco (256 KiB); se è UTF-8, un byte non valido più
avanti diventa il carattere di sostituzione U+FFFD. Il CSV scritto ha una sola codifica,
quella dell'ingresso: Windows-1252 resta Windows-1252; UTF-8 resta UTF-8, con il
marchio se l'ingresso l'aveva; UTF-16 diventa UTF-8 con il marchio. I rapporti
sono sempre in Windows-1252, come li scrive "Salva": un carattere che
Windows-1252 non ha vi diventa "?".

  -o FILE             scrive i risultati in FILE
  --conserva COL[,COL...]
                      copia nell'uscita, invariate e subito dopo Riga, queste
                      colonne dell'ingresso (nell'ordine dell'ingresso)
  --codifica CODIFICA impone la codifica dell'ingresso: utf-8, windows-1252 o
                      utf-16 (senza marchio: little-endian)
  --rapporti CARTELLA scrive in CARTELLA/<Riga>.TXT il rapporto di calcolo di
                      ogni riga completata, come lo salverebbe "Salva" (un a
                      capo in un nome vi diventa uno spazio); crea la cartella
                      se manca. Annota ogni rapporto che scrive in
                      CARTELLA/.termix54-batch e all'esecuzione successiva
                      cancella prima di tutto quei rapporti, se sono ancora
                      come li ha scritti. Non sovrascrive né cancella mai un
                      altro file: un rapporto il cui nome è preso da un file
                      non suo non è scritto.
  --variando COLONNA=DA:A:PASSO
                      ogni riga diventa una riga di uscita per ogni valore
                      DA + k·PASSO (k = 0, 1, ... fino ad A) della colonna
                      numerica COLONNA, in ordine; il valore è scritto in una
                      colonna COLONNA subito dopo Esito, e ogni riga è uguale a
                      quella che darebbe lo stesso ingresso su una riga a sé.
                      I numeri con la virgola o con il punto decimale. Non si
                      usa con --rapporti.
  --obiettivo TEMPERATURA
                      con --variando: una sola riga per riga di ingresso, al
                      valore di COLONNA in cui TempFumi incrocia TEMPERATURA
                      [°C] (bisezione sul calcolo esatto, a 0,01 dell'unità
                      della colonna), con i valori del calcolo in quel punto;
                      senza un incrocio, o con più di uno, valori vuoti e il
                      motivo in Esito
  --obiettivo-rif TEMPERATURA
                      come --obiettivo, ma sulla temperatura TempFumiRif
                      (entalpie NASA, vedi --verifica); con
                      --variando SupportoPortata=DA:A:PASSO dà la portata di
                      combustibile di supporto per raggiungere TEMPERATURA
  --verifica          aggiunge in fondo a ogni riga le colonne della verifica:
                      TempFumiRif (°C: la temperatura a cui i fumi KmoliCO2 ...
                      KmoliN2, scaldati da TempAria con le entalpie dei
                      polinomi NASA, assorbono EnergiaNetta), VolumeCamera
                      (m3: portata reale dei fumi alla temperatura del modello
                      per il tempo di permanenza), VelocitaCamera (m/s) e
                      LunghezzaCamera (m) con DiametroCamera, O2Secco (% vol),
                      HClRif SO2Rif Cl2Rif (mg/Nm3 sul secco riferiti all'O2 di
                      riferimento), RugiadaAcqua RugiadaSolforica
                      RugiadaCloridrica (°C), Verdetto (850 °C per 2 s:
                      raggiunti, oppure non raggiunti, con la temperatura, e
                      il motivo quando i carichi non sono riferibili). Una cella vuota
                      è un valore che non c'è: specie assente, carichi non
                      riferibili (O2 sul secco pari o sopra 21), nessun
                      diametro. L'obiettivo del verdetto è 850 °C, 1100 °C
                      per un combustibile con più dell'1 % di cloro.
  --modello tabella|nasa
                      la temperatura del verdetto e della camera: nasa
                      (TempFumiRif, predefinito) o tabella (TempFumi)
  --permanenza S      tempo di permanenza, s (predefinito 2)
  --o2-riferimento P|nessuno
                      O2 di riferimento, % vol sul secco (predefinito 11)
  --conversione-so3 P quota di SO2 convertita in SO3, % (predefinito 2)
  -h, --help          mostra questo aiuto

Stato di uscita:
  0  ogni riga letta e ogni rapporto scritto, anche se ogni riga si è fermata
     su un messaggio di calcolo (lo dice la colonna Esito)
  1  una o più righe non valide (il motivo e le linee del file su standard
     error), oppure uno o più rapporti non scritti
  2  errore d'uso; colonna sconosciuta, ripetuta o da conservare assente;
     intestazione non valida; file non apribile, non leggibile o non scrivibile
)";

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
    {"--conserva", "i nomi delle colonne", true,
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
};

int erroreUso(const std::string& messaggio) {
    std::fprintf(stderr, "termix54-batch: %s\nProvare 'termix54-batch --help'.\n", messaggio.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Argomenti a;
    bool viste[std::size(Opzioni)] = {};
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(Uso, stdout);
            return 0;
        }
        if (arg == "--verifica") {
            if (a.verifica.attiva) return erroreUso("opzione --verifica ripetuta");
            a.verifica.attiva = true;
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
                valore = argv[++i];
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
    if (a.haParametriVerifica && !a.verifica.attiva)
        return erroreUso("--modello, --permanenza, --o2-riferimento e --conversione-so3 si usano con --verifica");

    termix::batch::OpzioniBatch o;
    if (a.haVariando) o.variando = &a.variando;
    o.verifica = a.verifica;
    if (!a.haIngresso || a.ingresso == "-") {
        o.ingresso = stdin;
        o.nomeIngresso = "standard input";
    } else {
        o.ingresso = std::fopen(a.ingresso.c_str(), "rb");
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
    struct stat si{}, su{};
    if (!o.nomeUscita.empty() && fstat(fileno(o.ingresso), &si) == 0 && stat(o.nomeUscita.c_str(), &su) == 0 &&
        si.st_dev == su.st_dev && si.st_ino == su.st_ino && S_ISREG(si.st_mode)) {
        std::fprintf(stderr, "termix54-batch: il file di uscita %s è il file di ingresso\n", o.nomeUscita.c_str());
        if (o.ingresso != stdin) std::fclose(o.ingresso);
        return 2;
    }
    o.progresso = isatty(STDERR_FILENO) == 1;
    int esito = termix::batch::EseguiBatch(o);
    if (o.ingresso != stdin) std::fclose(o.ingresso);
    return esito;
}
