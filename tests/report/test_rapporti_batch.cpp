// termix54-batch --rapporti: a report file per completed record, the same
// bytes "&Salva" writes for the same boxes, dates aside.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "batch/Batch.h"
#include "support/RapportoMetanoAtteso.h"

namespace termix {
namespace {

namespace fs = std::filesystem;

std::string Leggi(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Righe(const std::string& s) {
    std::vector<std::string> r;
    std::size_t i = 0, j;
    while ((j = s.find("\r\n", i)) != std::string::npos) {
        r.push_back(s.substr(i, j - i));
        i = j + 2;
    }
    return r;
}

// Lines 3 and 4 up to their value, so only the date and time themselves
// are left out of the comparison.
std::string SenzaDataEOra(const std::string& file) {
    std::vector<std::string> r = Righe(file);
    if (r.size() < 4) return file;
    for (int i : {2, 3}) r[i] = r[i].substr(0, 52);
    std::string s;
    for (const auto& x : r) s += x + "\r\n";
    return s;
}

class RapportiBatch : public ::testing::Test {
protected:
    void SetUp() override {
        char modello[] = "/tmp/termix54-rapporti-batchXXXXXX";
        ASSERT_NE(mkdtemp(modello), nullptr);
        cartella_ = modello;
    }
    void TearDown() override { fs::remove_all(cartella_); }

    // Runs the batch on `csv` with reports into `rapporti`; returns the exit
    // status and leaves the output CSV in `uscita_`.
    int Esegui(const std::string& csv, const fs::path& rapporti) {
        std::FILE* in = fmemopen(const_cast<char*>(csv.data()), csv.size(), "rb");
        std::FILE* err = std::tmpfile();
        batch::OpzioniBatch o;
        o.ingresso = in;
        o.nomeIngresso = "prova.csv";
        o.nomeUscita = (cartella_ / "uscita.csv").string();
        o.errori = err;
        o.thread = 2;
        o.cartellaRapporti = rapporti.string();
        const int esito = batch::EseguiBatch(o);
        std::fclose(in);
        std::rewind(err);
        errori_.clear();
        for (int c; (c = std::fgetc(err)) != EOF;) errori_ += static_cast<char>(c);
        std::fclose(err);
        uscita_ = Righe(Leggi(cartella_ / "uscita.csv"));
        return esito;
    }

    fs::path cartella_;
    std::vector<std::string> uscita_;
    std::string errori_;
};

const std::string Intestazione =
    "Impianto;Tipo;PortataComb;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;Dispersioni\r\n";
const std::string Metano = "Impianto Nord;Metano;100;20;20;50;20;5\r\n";

TEST_F(RapportiBatch, MetanoComeSalvatoDalleForm) {
    // Record 2 stops on the energy check: no file. The empty line is skipped
    // and takes no number, so the last methane record is number 3.
    const fs::path dir = cartella_ / "nuova" / "cartella";
    ASSERT_EQ(Esegui(Intestazione + Metano + "Vuoto;Altri;0;0;0;0;0;0\r\n;;;;;;;\r\n" + Metano, dir), 0) << errori_;
    const std::string atteso = SenzaDataEOra(prova::AttesoMetano());
    EXPECT_EQ(SenzaDataEOra(Leggi(dir / "1.TXT")), atteso);
    EXPECT_FALSE(fs::exists(dir / "2.TXT"));
    EXPECT_EQ(SenzaDataEOra(Leggi(dir / "3.TXT")), atteso);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);  // and the list

    // The date and time are there, each after " = " at column 50.
    const std::vector<std::string> righe = Righe(Leggi(dir / "1.TXT"));
    ASSERT_EQ(righe.size(), 67u);
    EXPECT_GT(righe[2].size(), 52u);
    EXPECT_GT(righe[3].size(), 52u);
    EXPECT_EQ(righe[3].substr(49, 3), " = ");
    ASSERT_EQ(uscita_.size(), 4u);
    EXPECT_EQ(uscita_[1].substr(0, 19), "1;Impianto Nord;;OK");
}

TEST_F(RapportiBatch, ConvenzioneConLaVirgolaEBoxDigitati) {
    // In the ',' convention the typed boxes show a comma; a name typed over
    // the preset is replaced by "Metano", the typed heating value stays.
    const std::string csv =
        "Impianto,Combustibile,Tipo,PortataComb,PotereCalorifico,EccessoAria,TempAria,UmiditaRelativa,TempCeneri,"
        "Dispersioni\r\n"
        "\" Forno 2 \",gas,metano,  100.5 ,12000.25,20,20,50,20,5\r\n";
    ASSERT_EQ(Esegui(csv, cartella_ / "r"), 0) << errori_;
    const std::vector<std::string> righe = Righe(Leggi(cartella_ / "r" / "1.TXT"));
    ASSERT_EQ(righe.size(), 67u);
    EXPECT_EQ(righe[4], "     Impianto" + std::string(21, ' ') + " =  Forno 2 ");
    EXPECT_EQ(righe[5], "     Combustibile" + std::string(17, ' ') + " = Metano");
    EXPECT_EQ(righe[6], "     Portata combustibile" + std::string(9, ' ') + " = 100,5 kg/h");
    EXPECT_EQ(righe[19], "     Potere calorifico inferiore   = 12000,25 kal/kg");
}

TEST_F(RapportiBatch, RapportoNonScritto) {
    // 2.TXT is a folder: that report cannot be written; the record keeps its
    // values, its Esito says so, and the exit status is 1.
    const fs::path dir = cartella_ / "r";
    fs::create_directories(dir / "2.TXT");
    ASSERT_EQ(Esegui(Intestazione + Metano + Metano + Metano, dir), 1);
    ASSERT_EQ(uscita_.size(), 4u);
    EXPECT_EQ(uscita_[1].substr(0, 19), "1;Impianto Nord;;OK");
    const std::string rec2 = uscita_[2];
    EXPECT_EQ(rec2.substr(0, 43), "2;Impianto Nord;;OK | Rapporto non scritto;");
    // Same values as the record written fine.
    EXPECT_EQ(rec2.substr(43), uscita_[1].substr(20));
    EXPECT_TRUE(fs::is_directory(dir / "2.TXT"));
    EXPECT_TRUE(fs::exists(dir / "3.TXT"));
    EXPECT_NE(errori_.find("riga 2"), std::string::npos) << errori_;
}

TEST_F(RapportiBatch, CartellaImpossibile) {
    // A file where the folder should be: every completed record is marked.
    std::ofstream(cartella_ / "file") << "x";
    ASSERT_EQ(Esegui(Intestazione + Metano + "Vuoto;Altri;0;0;0;0;0;0\r\n", cartella_ / "file"), 1);
    ASSERT_EQ(uscita_.size(), 3u);
    EXPECT_EQ(uscita_[1].substr(0, 42), "1;Impianto Nord;;OK | Rapporto non scritto");
    EXPECT_EQ(uscita_[2].find("Rapporto non scritto"), std::string::npos);
    EXPECT_NE(errori_.find("impossibile creare la cartella"), std::string::npos) << errori_;
}

}  // namespace
}  // namespace termix
