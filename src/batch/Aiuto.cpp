#include "batch/Aiuto.h"

#include <cmath>

#include "batch/Colonne.h"
#include "batch/ColonneVerifica.h"
#include "combustion/Verifica.h"
#include "model/Formato.h"

namespace termix::batch {

namespace {

constexpr const char* Inizio = R"(Uso: termix54-batch [INGRESSO.csv|-] [-o USCITA.csv] [--rapporti CARTELLA]
                    [--conserva COL[,COL...]] [--codifica CODIFICA]
                    [--variando COLONNA=DA:A:PASSO [--obiettivo TEMPERATURA |
                     --obiettivo-rif TEMPERATURA]]
                    [--verifica [--modello tabella|nasa] [--permanenza S]
                     [--o2-riferimento P|nessuno] [--conversione-so3 P]
                     [--temp-equilibrio T]]
                    [--camino] [--applica-eccesso]

Calcola ogni riga di un file CSV come la calcolerebbero le maschere di
Termix54, su un record di calcolo nuovo per ogni riga, e scrive una riga di
risultati per ogni riga letta, nello stesso ordine. Senza INGRESSO, o con -,
legge lo standard input; senza -o, o con -o -, scrive sullo standard output.

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
)";

constexpr const char* TestaSupporto = R"(Gli intervalli sono quelli fisici, con il loro motivo: un valore fuori
intervallo non è rifiutato, la riga si calcola come nelle maschere (che
accettano qualsiasi numero) e la colonna Avvisi lo segnala.

Combustibile di supporto, bruciato insieme al combustibile della riga (la
miscela si calcola come un combustibile Ponderale: frazioni e potere calorifico
sono le medie pesate sulle portate, la portata è la somma; senza supporto, o
con portata 0, la riga si calcola esattamente come senza queste colonne; le
otto frazioni del supporto Ponderale sommano a 1, entro un millesimo; una
cella vuota o una colonna assente valgono 0):
)";

constexpr const char* TestaParametri = R"(Parametri della verifica, per riga (una cella vuota o una colonna assente
valgono come l'opzione omonima, o come il valore predefinito):
)";

constexpr const char* TestaCamino = R"(Letture al camino, per riga (con --camino o --applica-eccesso; una cella
vuota o una colonna assente: lettura non fatta; una lettura rifiutata non
ferma la riga, il motivo va in NoteCamino):
)";

constexpr const char* Fine = R"(Un valore che le regole della verifica non accettano ferma la riga con il
motivo in Esito, senza valori.

Ogni altra colonna ferma tutto (stato 2) e il messaggio nomina la colonna nota
più simile: un nome sbagliato non è mai letto come 0. Per copiarla nell'uscita
usare --conserva.

Colonne scritte: Riga (numero della riga di dati, righe vuote escluse), le
colonne di --conserva, Impianto, Combustibile, Esito ("OK", oppure i messaggi
che le maschere avrebbero mostrato, separati da " | ", oppure "Riga non
valida"), poi i valori del record di calcolo, da PesoMolecolare a PortataFumi
(portate in kg/h, kmoli/h, Nm3/h e m3/h, energie in kcal/h, temperature in °C,
quote in %). Sono i valori a piena precisione, ciascuno scritto con le cifre
più brevi che si rileggono nello stesso numero, non i testi troncati delle
maschere; tra 1e-5 e 1e15 in valore assoluto senza esponente (500000,
0,0009), così che un foglio di calcolo li legga come numeri, fuori da lì con
l'esponente (1e-07, 2,5e+15). Le colonne di --conserva restano come sono
state lette. I valori sono vuoti quando la riga non è completata. Per una riga
fermata da un errore di calcolo lo standard error dice dove e perché (per
esempio "riga 12 (linea 13): temperatura fumi: 10000000 passaggi senza
assestarsi"); per una cella che non è un numero (Esito "Usare i numeri !")
dice quale: "riga 4 (linea 5): colonna FrazC: "1OO" non è un numero".
L'ultima colonna, Avvisi, dice per ogni riga quali numeri non sono da
prendere per buoni, una frase per avviso separate da " | " (vuota se non ce
ne sono): un ingresso fuori dal suo intervallo fisico, frazioni ponderali che
non sommano a 1, e sulla riga completata Cl2 oltre quanto il cloro presente
può dare, l'iterazione del cloro uscita per mancanza di ossigeno o portata a 0
(valori che possono differire tra piattaforme), portate, quote o
concentrazioni negative, O2 fuori da 0-21 %, fumi più freddi dell'aria, il
calore specifico oltre la sua tabella (1250 K), la temperatura NASA fuori dai
suoi polinomi (200-5000 K). Lo standard error ripete ogni avviso con la riga
("riga 3 (linea 4): avviso: ..."). I valori restano quelli del calcolo.

Codifica: un file che comincia con il marchio (BOM) UTF-16 è letto come UTF-16;
altrimenti come UTF-8, con o senza marchio, se è UTF-8 valido, se no come
Windows-1252 (il CSV dei fogli di calcolo con le impostazioni italiane). Da una
pipe decide il primo blocco (256 KiB); se è UTF-8, un byte non valido più
avanti diventa il carattere di sostituzione U+FFFD. Il CSV scritto ha una sola
codifica, quella dell'ingresso: Windows-1252 resta Windows-1252; UTF-8 resta
UTF-8, con il marchio se l'ingresso l'aveva; UTF-16 diventa UTF-8 con il
marchio. I rapporti sono sempre in Windows-1252, come li scrive "Salva": un
carattere che Windows-1252 non ha vi diventa "?".

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
  --verifica          aggiunge in fondo a ogni riga le colonne della verifica
                      (in fondo a questo aiuto) e Verdetto: "850 °C per 2 s:
                      raggiunti" oppure "non raggiunti", con la temperatura;
                      "non valutabile" e il primo avviso del caso finché ce
                      n'è uno; il motivo quando i carichi non sono
                      riferibili. Una cella vuota è un valore che non c'è:
                      specie assente, carichi non riferibili (O2 sul secco
                      pari o sopra 21), nessun diametro.
  --modello tabella|nasa
                      la temperatura del verdetto e della camera: nasa
                      (TempFumiRif, predefinito) o tabella (TempFumi)
  --permanenza S      tempo di permanenza, s (predefinito 2)
  --o2-riferimento P|nessuno
                      O2 di riferimento, % vol sul secco (predefinito 11)
  --conversione-so3 P quota di SO2 convertita in SO3, % (predefinito 2)
  --temp-equilibrio T temperatura della composizione di equilibrio, °C
                      (predefinita TempFumiEq; per la camera 850 o 1100)
  --camino            aggiunge in fondo a ogni riga (dopo la verifica) le
                      colonne del camino (in fondo a questo aiuto) e
                      NoteCamino: l'eccesso d'aria a cui il bilancio di massa
                      della riga (supporto e umidità compresi) dà l'O2 o la
                      CO2 misurati, e a quell'eccesso le perdite, il
                      rendimento, il calore recuperabile e la portata al
                      camino; anche quando il calcolo della riga si ferma
  --applica-eccesso   calcola ogni riga all'eccesso d'aria dato dall'O2
                      misurato (o, senza, dalla CO2), come se fosse scritto
                      in EccessoAria; letture che non ne danno uno fermano la
                      riga con il motivo in Esito; senza letture la riga
                      resta com'è
  -h, --help, -?      mostra questo aiuto (anche /? su Windows)

Il file di uscita è scritto intero o per niente: i risultati vanno in un file
temporaneo accanto, USCITA.csv.termix54-XXXXXX, che prende il nome di
USCITA.csv solo a lavoro finito. Un'esecuzione fermata (Ctrl+C, Ctrl+Break,
SIGTERM, SIGHUP, la finestra chiusa) o finita con stato 2 lascia il file di
prima com'era e nessun file temporaneo; lo standard error dice quante righe
erano fatte e quali rapporti erano già scritti. Ogni rapporto è scritto intero
sotto un nome temporaneo e prende il suo solo se nessun file l'ha preso nel
frattempo. Un dispositivo o una pipe (/dev/null, NUL) sono scritti man mano,
come lo standard output.

Stato di uscita:
  0  ogni riga letta e ogni rapporto scritto, anche se ogni riga si è fermata
     su un messaggio di calcolo (lo dice la colonna Esito)
  1  una o più righe non valide (il motivo e le linee del file su standard
     error), oppure uno o più rapporti non scritti
  2  errore d'uso; file vuoto o senza intestazione; colonna sconosciuta (tutte
     elencate, una per riga), ripetuta o da conservare assente; intestazione
     non valida; file non apribile, non leggibile o non scrivibile: nessun file
     di uscita scritto, quello di prima resta com'era
  un segnale (Ctrl+C, SIGTERM, SIGHUP): l'esecuzione finisce come quel segnale
     fa finire un programma (dalla shell 130, 143, 129; su Windows 0xC000013A)
)";

}  // namespace

const char* NotaColonna(Quantita q) {
    switch (q) {
        case Quantita::Impianto:
        case Quantita::Combustibile: return "testo libero";
        case Quantita::AtomiC: return "composizione Atomica";
        case Quantita::FrazC: return "composizione Ponderale";
        case Quantita::PotereCalorifico:
            return "inferiore, per kg di combustibile con la sua acqua, ma senza toglierne il calore di "
                   "evaporazione: il calcolo toglie 539 kcal per kg di Acqua (CaloreEvaporazione). Un potere "
                   "calorifico inferiore tal quale, che l'ha già tolto (come di solito quello dei rifiuti), va "
                   "scritto più 539 × Acqua: 2500 kcal/kg al 30 % di acqua si scrive 2500 + 539 × 0,3 = 2661,7. "
                   "Vuoto o assente: stimato dalla composizione, come rispondendo \"No\" a \"Potere calorifico "
                   "noto ?\" (per il Metano: 11958)";
        default: return nullptr;
    }
}

namespace {

// What a check's column says beyond its label, unit and range: what its
// cell takes, and what an empty one means.
std::string notaVerifica(const Grandezza& g) {
    const ParametriVerifica p;
    switch (g.id) {
        case Quantita::SupportoTipo:
            return "Metano (la composizione del programma, 11958 kcal/kg) oppure Ponderale; vuoto: nessun supporto";
        case Quantita::SupportoPotereCalorifico: return "inferiore, del supporto Ponderale";
        case Quantita::TempoPermanenza: return "vuoto: " + TestoNumero(p.tempoPermanenza) + " o --permanenza";
        case Quantita::DiametroCamera: return "vuoto: nessun diametro, né velocità né lunghezza";
        case Quantita::O2Riferimento:
            return "oppure nessuno (carichi non riferiti); vuoto: " + TestoNumero(*p.o2Riferimento) +
                   " o --o2-riferimento";
        case Quantita::ConversioneSO3:
            return "quota dell'SO2 che diventa SO3; vuoto: " + TestoNumero(p.conversioneSO3) + " o --conversione-so3";
        case Quantita::ObiettivoRif:
            return "del verdetto, e con --variando SupportoPortata quella da raggiungere su TempFumiRif; vuoto: "
                   "--obiettivo-rif, altrimenti " + TestoNumero(ObiettivoBase) + ", o " + TestoNumero(ObiettivoCloro) +
                   " se il combustibile della riga, senza il supporto, ha più dell'1 % di cloro (presunto organico: "
                   "il verdetto lo dice; per cloro inorganico scrivere " + TestoNumero(ObiettivoBase) + ")";
        case Quantita::O2Misurato: return "con BaseO2";
        case Quantita::BaseO2: return "secco oppure umido: la base dell'O2 misurato";
        case Quantita::COMisurato: return "per la perdita per incombusti";
        case Quantita::TempCamino: return "non sotto TempAria";
        case Quantita::EccessoAriaMisurato:
        case Quantita::EccessoAriaDaCO2: return "vuoto: lettura non fatta o non raggiungibile";
        case Quantita::IncertezzaEccessoO2:
        case Quantita::IncertezzaEccessoCO2:
            return "quanto sposta l'eccesso d'aria una lettura di ±0,1 % vol (metà dell'intervallo)";
        case Quantita::PerditaCamino:
            return "calore sensibile dei fumi KmoliCO2 ... KmoliN2 da TempAria a TempCamino (entalpie NASA), in % "
                   "di EnergiaIngresso";
        case Quantita::PerditaIncombusti: return "CO misurato sui fumi secchi per 282,98 kJ/mol, in % di EnergiaIngresso";
        case Quantita::RendimentoCombustione: return "100 - PerditaCamino - PerditaIncombusti";
        case Quantita::CaloreRecuperabile:
            return "calore dei fumi da TempFumiRif (all'eccesso misurato) a TempCamino";
        case Quantita::PortataFumiCamino: return "portata reale dei fumi a TempCamino";
        case Quantita::TempFumiRif:
            return "la temperatura a cui i fumi KmoliCO2 ... KmoliN2, scaldati da TempAria con le entalpie dei "
                   "polinomi NASA, assorbono EnergiaNetta";
        case Quantita::VolumeCamera:
            return "portata reale dei fumi alla temperatura del modello per il tempo di permanenza";
        case Quantita::VelocitaCamera:
        case Quantita::LunghezzaCamera: return "con DiametroCamera";
        case Quantita::HClRif:
        case Quantita::SO2Rif:
        case Quantita::Cl2Rif: return "sul secco, riferiti a O2Riferimento";
        case Quantita::TempEquilibrio:
            return "la temperatura della composizione di equilibrio (ConcCOEq ... Cl2RifEq); vuoto: "
                   "--temp-equilibrio, altrimenti TempFumiEq; fuori dall'intervallo dei dati la riga prosegue "
                   "senza valori di equilibrio e il Verdetto dice perché";
        case Quantita::TempFumiEq:
            return "la temperatura a cui l'equilibrio chimico dei fumi (energia di Gibbs, 19 specie, polinomi "
                   "NASA) ha l'entalpia dei fumi KmoliCO2 ... KmoliN2 a TempAria più EnergiaNetta: TempFumiRif con "
                   "la dissociazione";
        case Quantita::ConcCOEq:
        case Quantita::ConcNOEq:
        case Quantita::ConcNO2Eq:
        case Quantita::ConcCl2Eq:
        case Quantita::ConcHClEq:
        case Quantita::ConcSO2Eq:
        case Quantita::ConcSO3Eq: return "in volume sui fumi umidi, all'equilibrio a TempEquilibrio";
        case Quantita::CORifEq:
        case Quantita::Cl2RifEq:
            return "sul secco dell'equilibrio a TempEquilibrio, riferiti a O2Riferimento con il suo O2";
        case Quantita::NOxRifEq:
            return "NO e NO2 come NO2, sul secco dell'equilibrio a TempEquilibrio, riferiti a O2Riferimento con il "
                   "suo O2";
        default: return {};
    }
}

// "da 0 a 1", "da 0", or nothing when any value makes sense.
std::string intervalloDi(const Grandezza& g) {
    if (!std::isfinite(g.minimo)) return {};
    std::string t = "da " + TestoNumero(g.minimo);
    if (std::isfinite(g.massimo)) t += " a " + TestoNumero(g.massimo);
    return t;
}

// "intervallo fisico da 0 a 1 (motivo)", or nothing when any value makes sense.
std::string intervalloFisico(const Grandezza& g) {
    const std::string t = intervalloDi(g);
    if (t.empty()) return t;
    return "intervallo fisico " + t + (g.motivo ? std::string(" (") + g.motivo + ")" : std::string());
}

// A column's line: its name, then the description from column 27, wrapped
// at 79 columns with the continuation under the description.
void colonna(std::string& t, const Grandezza& g, const std::string& descrizione) {
    constexpr std::size_t Rientro = 26, Larghezza = 79;
    std::string riga = "  " + std::string(g.nome);
    riga.append(riga.size() < Rientro ? Rientro - riga.size() : 1, ' ');
    std::size_t inizio = 0;
    while (descrizione.size() - inizio > Larghezza - riga.size()) {
        std::size_t taglio = descrizione.rfind(' ', inizio + (Larghezza - riga.size()));
        if (taglio == std::string::npos || taglio <= inizio) break;
        t += riga + descrizione.substr(inizio, taglio - inizio) + "\n";
        riga.assign(Rientro, ' ');
        inizio = taglio + 1;
    }
    t += riga + descrizione.substr(inizio) + "\n";
}

}  // namespace

std::string TestoAvvio() {
    return "termix54-batch calcola ogni riga di un file CSV con il calcolo di Termix54\n"
           "e scrive i risultati in un altro file CSV. Si usa dal Prompt dei comandi,\n"
           "per esempio:\n\n"
           "  termix54-batch casi.csv -o risultati.csv\n\n"
           "\"termix54-batch --help\" elenca le colonne, le opzioni e gli stati di uscita;\n"
           "LEGGIMI.txt, accanto al programma, dice lo stesso.\n\n"
           "Premere Invio per chiudere.\n";
}

int AvvioDaSolo(std::FILE* ingresso, std::FILE* uscita) {
    std::fputs(TestoAvvio().c_str(), uscita);
    std::fflush(uscita);
    for (int c; (c = std::getc(ingresso)) != '\n' && c != EOF;) {
    }
    return 0;
}

std::string TestoAiuto() {
    std::string t = Inizio;
    for (const Grandezza* g : ColonneIngresso()) {
        std::string d = g->etichetta;
        if (*g->unita) d += std::string(", ") + g->unita;
        for (const std::string& extra : {intervalloFisico(*g), std::string(NotaColonna(g->id) ? NotaColonna(g->id) : "")})
            if (!extra.empty()) d += "; " + extra;
        colonna(t, *g, d);
    }
    auto conUnita = [](const Grandezza& g) {
        return std::string(g.etichetta) + (*g.unita ? std::string(", ") + g.unita : "");
    };
    auto verifica = [&](const Grandezza& g, bool intervallo) {
        std::string d = conUnita(g);
        for (const std::string& extra : {intervallo ? intervalloDi(g) : std::string(), notaVerifica(g)})
            if (!extra.empty()) d += "; " + extra;
        colonna(t, g, d);
    };
    t += TestaSupporto;
    for (const Grandezza* g : ConUso(IngressoVerifica))
        if (g->ha(DelSupporto)) verifica(*g, true);
    t += TestaParametri;
    for (const Grandezza* g : ConUso(IngressoVerifica))
        if (!g->ha(DelSupporto) && !g->ha(IngressoCamino)) verifica(*g, true);
    t += TestaCamino;
    for (const Grandezza* g : ConUso(IngressoCamino)) verifica(*g, true);
    t += Fine;
    t += "\nColonne dei valori, nell'ordine, con le unità:\n";
    for (const Grandezza* g : ColonneValori()) colonna(t, *g, conUnita(*g));
    t += "\nColonne della verifica (--verifica), dopo i valori:\n";
    for (const Grandezza* g : ConUso(UscitaVerifica)) verifica(*g, false);
    t += "  Verdetto                il giudizio, vedi --verifica\n";
    t += "\nColonne del camino (--camino), dopo quelle della verifica:\n";
    for (const Grandezza* g : ConUso(UscitaCamino)) verifica(*g, false);
    t += std::string("  ") + ColonnaNoteCamino +
         "              letture rifiutate o non raggiungibili, O2 e CO2 in\n"
         "                          disaccordo, camino sotto un punto di rugiada\n";
    return t;
}

}  // namespace termix::batch
