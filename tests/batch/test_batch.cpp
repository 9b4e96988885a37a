// The batch tool end to end: the executable on files made here (exit codes,
// messages, the exact output text), and the multi-threaded run against the
// single-threaded one.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "batch/Batch.h"
#include "batch/Colonne.h"
#include "model/Messaggi.h"

namespace fs = std::filesystem;

namespace {

struct Cartella {
    fs::path p = mkdtemp((fs::temp_directory_path() / "termix54-batch-XXXXXX").string().data());
    ~Cartella() { fs::remove_all(p); }
    std::string operator/(const std::string& nome) const { return (p / nome).string(); }
};

void scrivi(const std::string& percorso, const std::string& testo) { std::ofstream(percorso, std::ios::binary) << testo; }

std::string leggi(const std::string& percorso) {
    std::ifstream f(percorso, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// Runs the tool through the shell; `argomenti` is shell text.
int esegui(const std::string& argomenti, const Cartella& c) {
    const std::string cmd = "'" TERMIX54_BATCH_EXE "' " + argomenti + " >'" + (c / "stdout") + "' 2>'" + (c / "stderr") + "'";
    const int s = std::system(cmd.c_str());
    return WIFEXITED(s) ? WEXITSTATUS(s) : -1;
}

// Output records end with CRLF; a bare LF may sit inside a quoted field.
std::vector<std::string> righe(const std::string& testo) {
    std::vector<std::string> r;
    size_t i = 0;
    for (size_t j; (j = testo.find("\r\n", i)) != std::string::npos; i = j + 2) r.push_back(testo.substr(i, j - i));
    EXPECT_EQ(i, testo.size()) << "testo dopo l'ultimo CRLF";
    return r;
}

const std::string Vuoti(termix::batch::NumeroColonneValori, ',');

const std::string Ingresso =
    "\xEF\xBB\xBFImpianto,Combustibile,Tipo,PortataComb,EccessoAria,TempAria,UmiditaRelativa,TempCeneri,Dispersioni\r\n"
    "\"Forno, 1\",gas,Metano,100,20,20,50,20,5\r\n"
    ",,,,,,,,\r\n"
    "\r\n"
    "F2,\"olio\nnuovo\",Altri,100,20,20,50,20,5\r\n"
    "F3,x,Gasolio,1,2,3,4,5,6\r\n"
    "F4,y,Metano,1.5.0,20,20,50,20,5\r\n"
    "F5,z,Metano,100\r\n";

}  // namespace

TEST(Batch, FileCompletoConvenzioneInternazionale) {
    Cartella c;
    scrivi(c / "in.csv", Ingresso);
    ASSERT_EQ(esegui("'" + (c / "in.csv") + "' -o '" + (c / "out.csv") + "'", c), 1);
    ASSERT_EQ(esegui("- < '" + (c / "in.csv") + "'", c), 1);  // the same from standard input
    EXPECT_EQ(leggi(c / "stdout"), leggi(c / "out.csv"));
    const auto r = righe(leggi(c / "out.csv"));
    ASSERT_EQ(r.size(), 6u);
    // The input's mark, then the header.
    EXPECT_EQ(r[0].rfind("\xEF\xBB\xBFRiga,Impianto,Combustibile,Esito,PesoMolecolare,FrazC,FrazH,", 0), 0u);
    // The methane preset as exact doubles, 0 for the molecular weight it does not compute.
    EXPECT_EQ(r[1].rfind("1,\"Forno, 1\",gas,OK,0,0.7487,0.2513,0,0,0,0,124.665,3.98928,11958,", 0), 0u) << r[1];
    EXPECT_NE(r[1].find(",1195800,1136010,"), std::string::npos) << r[1];
    EXPECT_EQ(r[2], "2,F2,\"olio\nnuovo\"," + std::string(termix::messaggi::VerificareInput) + Vuoti);
    EXPECT_EQ(r[3], "3,F3,x,Riga non valida" + Vuoti);
    EXPECT_EQ(r[4], "4,F4,y,Usare i numeri !" + Vuoti);
    EXPECT_EQ(r[5], "5,F5,z,Riga non valida" + Vuoti);
    const std::string errori = leggi(c / "stderr");
    EXPECT_NE(errori.find("riga 3 (linea 7)"), std::string::npos) << errori;
    EXPECT_NE(errori.find("riga 5 (linea 9)"), std::string::npos) << errori;
}

TEST(Batch, IngressoVuotoDaSoloLIntestazione) {
    Cartella c;
    scrivi(c / "in.csv", "");
    ASSERT_EQ(esegui("'" + (c / "in.csv") + "'", c), 0);
    const auto r = righe(leggi(c / "stdout"));
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].rfind("Riga;Impianto;", 0), 0u);
}

TEST(Batch, ErroriDUsoEDiFile) {
    Cartella c;
    scrivi(c / "buono.csv", "Tipo\nMetano\n");
    scrivi(c / "sconosciuta.csv", "Tipo;Costo\nMetano;1\n");
    scrivi(c / "ripetuta.csv", "Tipo; TIPO \nMetano;Metano\n");
    scrivi(c / "aperta.csv", "Tipo;\"Eccesso\nMetano;1\n");
    fs::create_directory(c / "cartella");
    auto q = [&](const char* nome) { return "'" + (c / nome) + "'"; };
    const std::string buono = q("buono.csv");
    const std::pair<std::string, const char*> casi[] = {
        {q("sconosciuta.csv") + " -o " + q("no1.csv"), "colonna sconosciuta: \"Costo\""},
        {q("ripetuta.csv") + " -o " + q("no2.csv"), "colonna ripetuta: \"TIPO\""},
        {q("aperta.csv") + " -o " + q("no3.csv"), "virgolette"}, {q("manca.csv"), "impossibile aprire"},
        {buono + " --rapporti", "manca il nome della cartella dopo --rapporti"},
        {buono + " --rapporti=", "il nome della cartella dopo --rapporti è vuoto"},
        {buono + " --rapporti a --rapporti=b", "opzione --rapporti ripetuta"}, {buono + " -x", "opzione sconosciuta: -x"},
        {buono + " altro.csv", "un solo file"}, {buono + " -o", "manca il nome"}, {buono + " -o a -o b", "ripetuta"},
        {buono + " -o " + q("cartella"), "impossibile aprire"}, {buono + " -o /dev/full", "impossibile scrivere"},
        {buono + " -o " + buono, "è il file di ingresso"}, {"-o " + buono + " < " + buono, "è il file di ingresso"},
    };
    for (const auto& [argomenti, messaggio] : casi) {
        EXPECT_EQ(esegui(argomenti, c), 2) << argomenti;
        EXPECT_NE(leggi(c / "stderr").find(messaggio), std::string::npos) << argomenti << "\n" << leggi(c / "stderr");
    }
    ASSERT_EQ(esegui("--help", c), 0);
    EXPECT_NE(leggi(c / "stdout").find("termix54-batch [INGRESSO.csv|-] [-o USCITA.csv]"), std::string::npos);
    // A bad header leaves the output file alone.
    for (const char* n : {"no1.csv", "no2.csv", "no3.csv"}) EXPECT_FALSE(fs::exists(c / n)) << n;
    EXPECT_EQ(leggi(c / "buono.csv"), "Tipo\nMetano\n");
}

TEST(Batch, PiuThreadStessaUscitaInOrdine) {
    // Enough records for many batches, of every kind, some slow (the temperature
    // iteration) next to quick ones (a bad number); long names make the input
    // several of the blocks it is read in.
    std::string csv = "Impianto;Tipo;Composizione;AtomiC;AtomiH;AtomiCl;FrazC;FrazH;PortataComb;EccessoAria;"
                      "TempAria;UmiditaRelativa\n";
    const int n = 6000;
    for (int i = 0; i < n; ++i) {
        const std::string id = "r" + std::to_string(i) + std::string(150, 'x');
        switch (i % 7) {
            case 0: csv += id + ";Metano;;;;;;;" + std::to_string(50 + i) + ";20;15;60\n"; break;
            case 1: csv += id + ";Altri;Atomica;" + std::to_string(1 + i % 5) + ";4;1;;;100;" + std::to_string(i % 90) + ";20;50\n"; break;
            case 2: csv += id + ";Altri;Ponderale;;;;0,6;0,1;100;30;20;50\n"; break;
            case 3: csv += id + ";Metano;;;;;;;1.5;20;20;50\n"; break;
            case 4: csv += id + ";Altro;;;;;;;100;20;20;50\n"; break;
            case 5: csv += ";;;;;;;;;;;\n"; break;
            default: csv += id + ";Metano;;;;;;;0;20;20;50\n"; break;
        }
    }
    ASSERT_GT(csv.size(), 3u << 18);
    Cartella c;
    scrivi(c / "in.csv", csv);
    std::string uscite[2];
    for (int k = 0; k < 2; ++k) {
        std::FILE* in = std::fopen((c / "in.csv").c_str(), "rb");
        std::FILE* err = std::fopen((c / "err.txt").c_str(), "wb");
        ASSERT_TRUE(in && err);
        termix::batch::OpzioniBatch o;
        o.ingresso = in;
        o.nomeIngresso = "in.csv";
        o.nomeUscita = c / ("out" + std::to_string(k) + ".csv");
        o.errori = err;
        o.thread = k == 0 ? 1 : 4;
        EXPECT_EQ(termix::batch::EseguiBatch(o), 1);
        std::fclose(in);
        std::fclose(err);
        uscite[k] = leggi(o.nomeUscita);
        // Malformed records are reported in order too.
        std::istringstream e(leggi(c / "err.txt"));
        std::string linea;
        long long prec = 0, contate = 0;
        while (std::getline(e, linea)) {
            long long riga = std::stoll(linea.substr(linea.find("riga ") + 5));
            EXPECT_GT(riga, prec);
            prec = riga;
            ++contate;
        }
        EXPECT_EQ(contate, (n + 2) / 7);  // the i % 7 == 4 ones
    }
    EXPECT_EQ(uscite[0], uscite[1]);
    const auto r = righe(uscite[1]);
    const long long attese = n - (n + 1) / 7;  // the blank ones get no number
    ASSERT_EQ(static_cast<long long>(r.size()), attese + 1);
    for (long long i = 1; i <= attese; ++i) ASSERT_EQ(r[i].substr(0, r[i].find(';')), std::to_string(i));
}
