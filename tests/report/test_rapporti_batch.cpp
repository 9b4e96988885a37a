// termix54-batch --rapporti: a report file per completed record, the same
// bytes "&Salva" writes for the same boxes, dates aside.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "batch/Batch.h"
#include "support/RapportoMetanoAtteso.h"

namespace termix {
namespace {

namespace fs = std::filesystem;

std::string Leggi(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Lines 3 and 4 cut after " = " at column 50: the date and time left out.
std::string SenzaDataEOra(std::string s) {
    for (std::size_t riga = 0, i = 0; riga < 4; ++riga, i = s.find("\r\n", i) + 2)
        if (riga >= 2) s.erase(i + 52, s.find("\r\n", i) - (i + 52));
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

    // Runs the batch on `csv` with reports into `rapporti`; returns the exit status.
    int Esegui(std::string csv, const fs::path& rapporti) {
        std::FILE* in = fmemopen(csv.data(), csv.size(), "rb");
        batch::OpzioniBatch o;
        o.ingresso = in;
        o.nomeUscita = (cartella_ / "uscita.csv").string();
        o.errori = std::tmpfile();
        o.thread = 2;
        o.cartellaRapporti = rapporti.string();
        const int esito = batch::EseguiBatch(o);
        std::fclose(in);
        std::fclose(o.errori);
        uscita_ = Leggi(cartella_ / "uscita.csv");
        return esito;
    }

    fs::path cartella_;
    std::string uscita_;
};

const std::string Intestazione = "Impianto;Tipo;PortataComb;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;Dispersioni\r\n";
const std::string Metano = "Impianto Nord;Metano;100;20;20;50;20;5\r\n";

TEST_F(RapportiBatch, MetanoComeSalvatoDalleForm) {
    // Record 2 stops on the energy check: no file. The empty line takes no number.
    const fs::path dir = cartella_ / "nuova" / "cartella";
    ASSERT_EQ(Esegui(Intestazione + Metano + "Vuoto;Altri;0;0;0;0;0;0\r\n;;;;;;;\r\n" + Metano, dir), 0);
    const std::string atteso = SenzaDataEOra(prova::AttesoMetano());
    const std::string primo = Leggi(dir / "1.TXT");
    EXPECT_EQ(SenzaDataEOra(primo), atteso);
    EXPECT_GT(primo.size(), atteso.size() + 10);  // the date and time are there
    EXPECT_EQ(SenzaDataEOra(Leggi(dir / "3.TXT")), atteso);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);  // and the list
}

TEST_F(RapportiBatch, RapportoNonScritto) {
    // 2.TXT is a folder: the record keeps its values, its Esito says so, the exit status is 1.
    fs::create_directories(cartella_ / "r" / "2.TXT");
    ASSERT_EQ(Esegui(Intestazione + Metano + Metano + Metano, cartella_ / "r"), 1);
    EXPECT_NE(uscita_.find("\r\n1;Impianto Nord;;OK;"), std::string::npos);
    EXPECT_NE(uscita_.find("\r\n2;Impianto Nord;;OK | Rapporto non scritto;"), std::string::npos);
    EXPECT_TRUE(fs::exists(cartella_ / "r" / "3.TXT"));
    // A file where the folder should be: every completed record is marked.
    std::ofstream(cartella_ / "file") << "x";
    ASSERT_EQ(Esegui(Intestazione + Metano + "Vuoto;Altri;0;0;0;0;0;0\r\n", cartella_ / "file"), 1);
    EXPECT_NE(uscita_.find("\r\n1;Impianto Nord;;OK | Rapporto non scritto;"), std::string::npos);
    EXPECT_EQ(uscita_.find("Rapporto non scritto", uscita_.find("\r\n2;Vuoto")), std::string::npos);
}

}  // namespace
}  // namespace termix
