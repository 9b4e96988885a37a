// termix54-batch on the files spreadsheet programs write: encodings, stray
// quotes, blank lines before the header, own and misspelt columns, and the
// report folder rule; the executable on files made here.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Prova {
    fs::path d = [] {
        std::string m = (fs::temp_directory_path() / "termix54-codifiche-XXXXXX").string();
        return fs::path(mkdtemp(m.data()));
    }();
    ~Prova() { fs::remove_all(d); }
    std::string out, err;
    // Writes `csv` as in.csv, runs the tool on it with `opzioni` (shell text).
    int esegui(const std::string& csv, const std::string& opzioni = "") {
        std::ofstream(d / "in.csv", std::ios::binary) << csv;
        const std::string cmd = std::string("cd '") + d.string() + "' && '" + TERMIX54_BATCH_EXE + "' in.csv " +
                                opzioni + " >out.csv 2>err.txt";
        const int s = std::system(cmd.c_str());
        out = leggi("out.csv");
        err = leggi("err.txt");
        return WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    }
    std::string leggi(const fs::path& nome) const {
        std::stringstream s;
        s << std::ifstream(d / nome, std::ios::binary).rdbuf();
        return s.str();
    }
};

const std::string Testa = "Impianto;Tipo;PortataComb;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;Dispersioni\r\n";
const std::string Dati = ";Metano;100;20;20;50;20;5\r\n";

// UTF-16 bytes of an ASCII or Latin-1 text, with or without the mark.
std::string Utf16(const std::string& latino, bool grande, bool marchio = true) {
    std::string r = marchio ? (grande ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (unsigned char c : latino) r += grande ? std::string{'\0', char(c)} : std::string{char(c), '\0'};
    return r;
}

TEST(CodificheCsv, IngressoUscitaERapporto) {
    const std::string w = Testa + "Citt\xE0 \x80" + Dati;  // Windows-1252, with the euro sign
    const std::string lungo(300000, '\n');                  // blank lines past the first block read
    // "à" cut by the end of the first and of the second block of 256 KiB.
    std::string taglio = Testa + std::string(262139 - Testa.size(), '\n') + "Città" + Dati;
    taglio += std::string(524283 - taglio.size(), '\n') + "Città" + Dati;
    struct Caso {
        const char* nome;
        std::string ingresso, opzioni, marchio, nome_uscita, nome_rapporto;
    };
    const Caso casi[] = {
        {"UTF-8", Testa + "Città" + Dati, "", "", "Città", "Citt\xE0"},
        {"UTF-8 con BOM", "\xEF\xBB\xBF" + Testa + "Città" + Dati, "", "\xEF\xBB\xBF", "Città", "Citt\xE0"},
        {"Windows-1252", w, "", "", "Citt\xE0 \x80", "Citt\xE0 \x80"},
        {"Windows-1252 dopo 256 KiB", Testa + lungo + "Citt\xE0" + Dati, "", "", "Citt\xE0", "Citt\xE0"},
        {"UTF-8 tagliato tra due blocchi", taglio, "", "", "Città", "Citt\xE0"},
        {"UTF-16LE", Utf16(Testa + "Citt\xE0" + Dati, false), "", "\xEF\xBB\xBF", "Città", "Citt\xE0"},
        {"UTF-16BE", Utf16(Testa + "Citt\xE0" + Dati, true), "", "\xEF\xBB\xBF", "Città", "Citt\xE0"},
        {"utf-16 senza BOM", Utf16(Testa + "Citt\xE0" + Dati, false, false), "--codifica utf-16", "\xEF\xBB\xBF",
         "Città", "Citt\xE0"},
        {"windows-1252 imposta", Testa + "Città" + Dati, "--codifica windows-1252", "", "Citt\xC3\xA0",
         "Citt\xC3\xA0"},
    };
    for (const auto& c : casi) {
        Prova p;
        ASSERT_EQ(p.esegui(c.ingresso, c.opzioni + " --rapporti r"), 0) << c.nome << p.err;
        EXPECT_EQ(p.out.rfind(c.marchio + "Riga;Impianto;", 0), 0u) << c.nome;
        EXPECT_NE(p.out.find("\r\n1;" + c.nome_uscita + ";;OK;"), std::string::npos) << c.nome;
        EXPECT_NE(p.leggi("r/1.TXT").find("Impianto" + std::string(21, ' ') + " = " + c.nome_rapporto + "\r\n"),
                  std::string::npos) << c.nome;
    }
}

TEST(CodificheCsv, VirgolettaSpaiataPerdeSoloLaSuaRiga) {
    Prova p;
    const std::string m = ";gas;Metano;100;20;20;50;20;5\r\n";
    ASSERT_EQ(p.esegui("Impianto;Combustibile;Tipo;PortataComb;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;"
                       "Dispersioni\r\n\"Forno 1" + m + "Forno 2" + m + "Forno \"3\"" + m + "Forno 4" + m),
              1);
    EXPECT_NE(p.out.find("\r\n1;\"Forno 1;gas;Metano;100;20;20;50;20;5\";;Riga non valida;"), std::string::npos) << p.out;
    EXPECT_NE(p.out.find("\r\n2;Forno 2;gas;OK;"), std::string::npos) << p.out;
    EXPECT_NE(p.out.find("\r\n3;\"Forno \"\"3\"\"\";gas;OK;"), std::string::npos) << p.out;
    EXPECT_NE(p.out.find("\r\n4;Forno 4;gas;OK;"), std::string::npos) << p.out;
    EXPECT_NE(p.err.find("riga 1 (linee 2-4)"), std::string::npos) << p.err;
    EXPECT_NE(p.err.find("riprende dalla linea 3"), std::string::npos) << p.err;
}

TEST(CodificheCsv, IntestazioniEColonneProprie) {
    struct Caso {
        std::string csv, opzioni;
        int stato;
        bool suErrori;  // where to find `atteso`: stderr or the output
        std::string atteso;
    };
    const Caso casi[] = {
        {"\r\n;;\r\n , \r\nImpianto,Tipo\r\nA,Metano\r\n", "", 0, false, "Riga,Impianto,Combustibile,Esito,"},
        {"\n\nImpianto;Tipo\nA;Metano\n", "", 0, false, "\r\n1;A;;"},
        {"EcessoAria;Tipo\r\n", "", 2, true, "colonna sconosciuta: \"EcessoAria\": forse EccessoAria?"},
        {"Impianto;tempaira\r\n", "", 2, true, "\"tempaira\": forse TempAria?"},
        {"ID;Tipo\r\n", "", 2, true, "\"ID\" (per copiarla nell'uscita: --conserva ID)"},
        {"ID;Tipo;Nota\r\n7;Metano;\"a;b\"\r\n", "--conserva nota,ID", 0, false, "Riga;ID;Nota;Impianto;Combustibile;Esito;"},
        {"ID;Tipo;Nota\r\n7;Metano;\"a;b\"\r\n", "--conserva=Nota --conserva id", 0, false, "\r\n1;7;\"a;b\";;;"},
        {"Tipo\r\nMetano\r\n", "--conserva ID", 2, true, "colonna da conservare assente nell'intestazione: \"ID\""},
        {"Impianto;Tipo\r\n\"a\" b;Metano\r\nB;Metano\r\n", "", 1, true, "riga 1 (linea 2): dopo le virgolette"},
        {"Impianto;Tipo\r\n\"a\" b;Metano\r\nB;Metano\r\n", "", 1, false, "\r\n2;B;;"},
    };
    for (const auto& c : casi) {
        Prova p;
        EXPECT_EQ(p.esegui(c.csv, c.opzioni), c.stato) << c.csv << p.err;
        EXPECT_NE((c.suErrori ? p.err : p.out).find(c.atteso), std::string::npos)
            << c.csv << "\n" << p.out << p.err;
    }
}

TEST(CodificheCsv, RapportiSoloDiQuestaEsecuzione) {
    Prova p;
    ASSERT_EQ(p.esegui(Testa + "\"a\r\nb\"" + Dati + "B" + Dati, "--rapporti r"), 0) << p.err;
    // A line break in a name is a blank in the report, which keeps 67 lines.
    const std::string primo = p.leggi("r/1.TXT");
    EXPECT_NE(primo.find(" = a b\r\n"), std::string::npos) << primo;
    EXPECT_EQ(std::count(primo.begin(), primo.end(), '\n'), 67);
    ASSERT_TRUE(fs::exists(p.d / "r/2.TXT"));
    // Files of the user's, and a report of the tool's the user changed.
    for (const char* f : {"r/9.TXT", "r/note.txt", "r/1.TXT"}) std::ofstream(p.d / f) << "mio";
    // Record 2 now stops: no report for it, and none left from before.
    EXPECT_EQ(p.esegui(Testa + "A" + Dati + "B;Metano;0;20;20;50;20;5\r\n", "--rapporti r"), 1);
    EXPECT_FALSE(fs::exists(p.d / "r/2.TXT"));
    for (const char* f : {"r/9.TXT", "r/note.txt", "r/1.TXT"}) EXPECT_EQ(p.leggi(f), "mio") << f;
    EXPECT_NE(p.err.find("1.TXT: il file esiste già"), std::string::npos) << p.err;
    EXPECT_NE(p.out.find("\r\n1;A;;OK | Rapporto non scritto;"), std::string::npos) << p.out;
}

}  // namespace
