// The report as the file holds it: content and layout of the 67 lines, the
// code page, and what a failed save leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "report/Codifica.h"
#include "report/SalvaRapporto.h"
#include "support/RapportoMetanoAtteso.h"
#include "support/TestiForm.h"

namespace termix {
namespace {

using prova::AttesoMetano;
using prova::OrologioFisso;
using prova::TestiForm;
using F = Finestra;

// Files kept in memory; fails on request.
class FileSystemMemoria : public FileSystem {
public:
    struct Stato {
        std::string contenuto;
        int scritture = 0;
        bool aperto = false;
        bool chiuso = false;
    };
    class File : public FileScrittura {
    public:
        File(Stato& s, int falliscePer, bool chiusuraFallisce)
            : s_(s), fallisce_(falliscePer), chiusuraFallisce_(chiusuraFallisce) {}
        bool Scrivi(std::string_view b) override {
            if (++s_.scritture == fallisce_) return false;
            s_.contenuto += b;
            return true;
        }
        bool Chiudi() override {
            s_.chiuso = true;
            return !chiusuraFallisce_;
        }

    private:
        Stato& s_;
        int fallisce_;
        bool chiusuraFallisce_;
    };

    std::unique_ptr<FileScrittura> Crea(const std::string& percorso) override {
        nomi.push_back(percorso);
        if (rifiutaApertura) return nullptr;
        stato.aperto = true;
        return std::make_unique<File>(stato, scritturaCheFallisce, chiusuraFallisce);
    }

    Stato stato;
    std::vector<std::string> nomi;
    bool rifiutaApertura = false;
    int scritturaCheFallisce = 0;  // 1-based write that fails; 0 = none
    bool chiusuraFallisce = false;
};

std::vector<std::string> Righe(const std::string& contenuto) {
    std::vector<std::string> righe;
    std::size_t inizio = 0, fine;
    while ((fine = contenuto.find("\r\n", inizio)) != std::string::npos) {
        righe.push_back(contenuto.substr(inizio, fine - inizio));
        inizio = fine + 2;
    }
    EXPECT_EQ(inizio, contenuto.size()) << "bytes after the last CRLF";
    return righe;
}

TEST(RapportoMetano, MostraIValoriDegliEsempi) {
    // The boxes the report copies hold the worked values, cut as displayed.
    Modulo1 m;
    TestiForm t = prova::TestiMetano(m);
    const std::pair<std::pair<F, const char*>, const char*> attesi[] = {
        {{F::Form2, "Text2"}, "Metano"},      {{F::Form2, "Text4"}, "0,7487"},
        {{F::Form2, "Text6"}, "0,2513"},      {{F::Form2, "Text17"}, "124,665"},
        {{F::Form2, "Text18"}, "3,98928"},    {{F::Form3, "Text1"}, "11958"},
        {{F::Form7, "Text9"}, "1195800"},     {{F::Form7, "Text10"}, "1136010"},
        {{F::Form7, "Text16"}, "2081,022"},   {{F::Form8, "Text1"}, "1314,6"},
        {{F::Form8, "Text3"}, "27,717"},      {{F::Form8, "Text4"}, "0,399"},
        {{F::Form8, "Text7"}, "1775,261"},    {{F::Form8, "Text11"}, "72,03"},
        {{F::Form8, "Text15"}, "3,16"},       {{F::Form8, "Text19"}, "7,9"},
        {{F::Form8, "Text23"}, "16,89"},      {{F::Form8, "Text27"}, "0"},
        {{F::Form8, "Text31"}, "0"},          {{F::Form8, "Text33"}, "79,203"},
        {{F::Form8, "Text34"}, "2195,335"},   {{F::Form8, "Text35"}, "100,00"},
        {{F::Form8, "Text36"}, "100,00"},
        // 74.87 kg/h of carbon and 25.13 of hydrogen: 100 kg/h times the fractions.
        {{F::Form7, "Text1"}, "74,87"},       {{F::Form7, "Text2"}, "25,13"},
        {{F::Form7, "Text12"}, "398,928"},
    };
    for (const auto& [campo, testo] : attesi)
        EXPECT_EQ(t.Testo(campo.first, campo.second), testo) << campo.second;
    // 10319.367 m3/h in the worked run, to its shown precision.
    const std::string fumi = t.Testo(F::Form8, "Text8");
    EXPECT_TRUE(fumi == "10319,366" || fumi == "10319,367") << fumi;
}

TEST(RapportoMetano, FileByteForByte) {
    Modulo1 m;
    TestiForm t = prova::TestiMetano(m);
    OrologioFisso orologio;
    FileSystemMemoria fs;
    ASSERT_TRUE(SalvaRapporto("M.TXT", t, orologio, fs));
    EXPECT_EQ(fs.stato.contenuto, AttesoMetano());
    EXPECT_TRUE(fs.stato.chiuso);
    EXPECT_EQ(orologio.chiamate, 2);

    const std::vector<std::string> righe = Righe(fs.stato.contenuto);
    ASSERT_EQ(righe.size(), 67u);
    EXPECT_EQ(righe[0].rfind("Bilancio", 0), 0u);
    EXPECT_EQ(righe[59].substr(0, 12), std::string(11, ' ') + "[");
    EXPECT_EQ(righe[7], "     Propriet\xE0 combustibile :");
    EXPECT_EQ(righe[22].substr(righe[22].size() - 3), " \xB0" "C");
    // Lines 3 and 4: five blanks, the label, blanks, the value at column 50.
    EXPECT_EQ(righe[2].find(" = "), 49u);
    EXPECT_EQ(righe[3].find(" = "), 49u);
    EXPECT_EQ(fs.stato.contenuto.size(), 3326u);
}

TEST(RapportoMetano, StampanteDifferisceSoloNelleRighe1_3_4) {
    Modulo1 m;
    TestiForm t = prova::TestiMetano(m);
    OrologioFisso orologio;
    for (int n = 1; n <= RigheRapporto; ++n) {
        const auto file = RigheTesto(RigaDelRapporto(n, TipoUscita::File, t, orologio));
        const auto stampa = RigheTesto(RigaDelRapporto(n, TipoUscita::Stampante, t, orologio));
        if (n == 1) {
            EXPECT_EQ(stampa, std::vector<std::string>{"     " + file[0]});
        } else if (n == 3 || n == 4) {
            ASSERT_EQ(stampa.size(), 1u);
            EXPECT_EQ(stampa[0].find(" = "), 34u);
            EXPECT_EQ(stampa[0].substr(34), file[0].substr(49));
        } else {
            EXPECT_EQ(stampa, file) << "line " << n;
        }
    }
}

TEST(Rapporto, LeggeICampiQuandoScriveLaRiga) {
    // Each box is read while its own line is written, not before the file
    // is opened: a box the user changes meanwhile shows its new text.
    struct SorgenteCronologica : SorgenteTesti {
        const FileSystemMemoria::Stato* stato = nullptr;
        mutable std::vector<std::pair<std::string, int>> letture;
        std::string Testo(F f, std::string_view c) const override {
            letture.push_back({std::to_string(static_cast<int>(f)) + std::string(c), stato->scritture});
            return "x";
        }
    } sorgente;
    FileSystemMemoria fs;
    sorgente.stato = &fs.stato;
    OrologioFisso orologio;
    ASSERT_TRUE(SalvaRapporto("A.TXT", sorgente, orologio, fs));
    // Form2, Form3, Form7, Form8 and its table.
    ASSERT_EQ(sorgente.letture.size(), 13u + 6 + 18 + 7 + 28);
    EXPECT_EQ(sorgente.letture.front(), (std::pair<std::string, int>{"0Text1", 4}));
    EXPECT_EQ(sorgente.letture.back(), (std::pair<std::string, int>{"3Text36", 66}));
}

// Form field texts for one line, the rest empty.
struct CasoRiga {
    const char* nome;
    int riga;
    std::vector<std::pair<std::pair<F, std::string>, std::string>> campi;
    std::vector<std::string> attese;
};

class Impaginazione : public ::testing::TestWithParam<CasoRiga> {};

TEST_P(Impaginazione, RigheDelFile) {
    const CasoRiga& c = GetParam();
    TestiForm t;
    for (const auto& [campo, testo] : c.campi) t(campo.first, campo.second) = testo;
    OrologioFisso orologio;
    EXPECT_EQ(RigheTesto(RigaDelRapporto(c.riga, TipoUscita::File, t, orologio)), c.attese);
}

const std::string B(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

INSTANTIATE_TEST_SUITE_P(
    Casi, Impaginazione,
    ::testing::Values(
        // An empty box gives the frame alone.
        CasoRiga{"PortataVuota", 7, {}, {"     Portata combustibile" + B(9) + " =  kg/h"}},
        CasoRiga{"ElementoVuoto", 10, {}, {"        Carbonio" + B(18)}},
        CasoRiga{"ImpiantoVuoto", 5, {}, {"     Impianto" + B(21) + " = "}},
        // A name of any length is written whole, on one line.
        CasoRiga{"NomeLungo", 5, {{{F::Form2, "Text1"}, std::string(200, 'N')}},
                 {"     Impianto" + B(21) + " = " + std::string(200, 'N')}},
        // Table values of 11, 12 and 13 characters in column 12 (empty
        // cells still pad to their column).
        CasoRiga{"Tabella12", 61, {{{F::Form8, "Text9"}, "12345678,901"}, {{F::Form8, "Text10"}, "1"}},
                 {"  N2" + B(7) + "12345678,901" + "1" + B(23)}},
        CasoRiga{"Tabella11Caratteri", 61,
                 {{{F::Form8, "Text9"}, "1234567,891"}, {{F::Form8, "Text10"}, "1"}},
                 {"  N2" + B(7) + "1234567,891 1" + B(23)}},
        CasoRiga{"Tabella13", 62,
                 {{{F::Form8, "Text13"}, "123456789,012"}, {{F::Form8, "Text14"}, "7"},
                  {{F::Form8, "Text15"}, "3"}, {{F::Form8, "Text16"}, "4"}},
                 {"  O2" + B(7) + "123456789,012", B(23) + "7" + B(11) + "3" + B(11) + "4"}},
        // Two value columns overflowing on the same row: two breaks.
        CasoRiga{"TabellaDueVolte", 67,
                 {{{F::Form8, "Text33"}, std::string(13, '1')}, {{F::Form8, "Text34"}, std::string(13, '2')},
                  {{F::Form8, "Text35"}, "100,00"}, {{F::Form8, "Text36"}, "100,00"}},
                 {" Totale" + B(4) + std::string(13, '1'), B(23) + std::string(13, '2'),
                  B(35) + "100,00" + B(6) + "100,00"}},
        // A value past column 50 on a long-label line still starts at 50.
        CasoRiga{"Riga48", 48, {{{F::Form7, "Text18"}, "15,294"}},
                 {"     Portata acqua (umidit\xC3\xA0 atmosferica)" + B(9) + " = 15,294 kg/h"}},
        CasoRiga{"Riga60", 60, {}, {B(11) + "[kmoli/h]" + B(3) + " [kg/h]"}},
        CasoRiga{"Vuota", 2, {}, {""}}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(Impagina, ColonnaGiaRaggiuntaOSuperata) {
    // Exactly at the column: nothing added; past it: a new line.
    const auto w = LarghezzaCaratteri;
    EXPECT_EQ(Impagina({{"abcd", 1}, {"e", 5}}, w), (std::vector<RigaFisica>{{{1, "abcd"}, {5, "e"}}}));
    EXPECT_EQ(Impagina({{"abcde", 1}, {"f", 5}}, w),
              (std::vector<RigaFisica>{{{1, "abcde"}}, {{5, "f"}}}));
    // No target column: written where the previous text ended.
    EXPECT_EQ(Impagina({{"ab", 3}, {"cd", 0}}, w), (std::vector<RigaFisica>{{{3, "ab"}, {5, "cd"}}}));
    EXPECT_EQ(Impagina({}, w), (std::vector<RigaFisica>{{}}));
}

TEST(Impagina, LarghezzaDelCarattereDiStampa) {
    // On the printer a wide label can pass the value's column although its
    // character count does not.
    const LarghezzaTesto larga = [](std::string_view t) { return 1.5 * static_cast<double>(t.size()); };
    EXPECT_EQ(Impagina({{"abcdefgh", 6}, {" = 1", 12}}, larga),
              (std::vector<RigaFisica>{{{6, "abcdefgh"}}, {{12, " = 1"}}}));
    EXPECT_EQ(Impagina({{"abcd", 6}, {" = 1", 12}}, larga),
              (std::vector<RigaFisica>{{{6, "abcd"}, {12, " = 1"}}}));
    EXPECT_EQ(Impagina({{"abcd", 6}, {"x", 0}}, larga), (std::vector<RigaFisica>{{{6, "abcd"}, {12, "x"}}}));
}

TEST(Codifica, Windows1252) {
    const std::pair<const char*, std::string> casi[] = {
        {"Propriet\xC3\xA0", "Propriet\xE0"},
        {"20 \xC2\xB0" "C", "20 \xB0" "C"},
        {"\xE2\x82\xAC", "\x80"},                 // euro sign: 0x80 in this code page
        {"\xC3\xBC\xC3\xA8", "\xFC\xE8"},          // ü è
        {"\xE6\x97\xA5" "a", "?a"},                // CJK: not in the code page
        {"\xF0\x9F\x98\x80" "b", "?b"},            // outside the BMP
        {"\xC2\x81", "?"},                         // a C1 control the code page lacks
        {"a\xFF" "b", "a?b"},                      // malformed byte
        {"\xC3", "?"},                             // cut short at the end
        {"\xE2\x82" "x", "?x"},                    // cut short before a plain character
        {"", ""},
    };
    for (const auto& [in, atteso] : casi) {
        EXPECT_EQ(InWindows1252(in), atteso) << in;
        // Padding counts what the file will hold: one byte per character.
        EXPECT_EQ(CaratteriUtf8(in), atteso.size()) << in;
    }
    const std::string lungo(5000, 'a');
    EXPECT_EQ(InWindows1252(lungo + "\xC3\xA0"), lungo + "\xE0");
}

TEST(Codifica, CaratteriNonRappresentabiliNonSpostanoLeColonne) {
    TestiForm t;
    t(F::Form8, "Text9") = "\xE6\x97\xA5\xE6\x97\xA5";
    t(F::Form8, "Text10") = "5";
    OrologioFisso orologio;
    FileSystemMemoria fs;
    ASSERT_TRUE(SalvaRapporto("A.TXT", t, orologio, fs));
    EXPECT_EQ(Righe(fs.stato.contenuto)[60], "  N2" + B(7) + "??" + B(10) + "5" + B(23));
}

TEST(SalvaRapporto, Guasti) {
    Modulo1 m;
    TestiForm t = prova::TestiMetano(m);
    OrologioFisso orologio;
    const std::string atteso = AttesoMetano();
    {
        // Cannot open: nothing written.
        FileSystemMemoria fs;
        fs.rifiutaApertura = true;
        EXPECT_FALSE(SalvaRapporto("A.TXT", t, orologio, fs));
        EXPECT_TRUE(fs.stato.contenuto.empty());
        EXPECT_FALSE(fs.stato.aperto);
    }
    for (int k : {1, 2, 30, 67}) {
        // A write fails midway: the lines before it stay, the file is closed,
        // nothing more is written.
        FileSystemMemoria fs;
        fs.scritturaCheFallisce = k;
        EXPECT_FALSE(SalvaRapporto("A.TXT", t, orologio, fs));
        EXPECT_TRUE(fs.stato.chiuso);
        EXPECT_EQ(fs.stato.scritture, k);
        const std::vector<std::string> righe = Righe(fs.stato.contenuto);
        EXPECT_EQ(righe.size(), static_cast<std::size_t>(k - 1));
        EXPECT_EQ(atteso.rfind(fs.stato.contenuto, 0), 0u);
    }
    {
        FileSystemMemoria fs;
        fs.chiusuraFallisce = true;
        EXPECT_FALSE(SalvaRapporto("A.TXT", t, orologio, fs));
        EXPECT_EQ(fs.stato.contenuto, atteso);
    }
}

TEST(NomeFileRapporto, ComeDigitato) {
    const std::pair<const char*, const char*> casi[] = {
        {"", ".TXT"},              // Cancel
        {"abc", "abc.TXT"},
        {"abc.txt", "abc.txt.TXT"},
        {"nomelungo", "nomelungo.TXT"},
        {" a b ", " a b .TXT"},    // not trimmed
        {"sub/x", "sub/x.TXT"},
    };
    for (const auto& [digitato, nome] : casi) EXPECT_EQ(NomeFileRapporto(digitato), nome);
}

// Saves into a fresh directory made the working directory for the test.
class SalvaSuDisco : public ::testing::Test {
protected:
    void SetUp() override {
        precedente_ = std::filesystem::current_path();
        char modello[] = "/tmp/termix54-rapportoXXXXXX";
        ASSERT_NE(mkdtemp(modello), nullptr);
        cartella_ = modello;
        std::filesystem::current_path(cartella_);
    }
    void TearDown() override {
        for (const auto& f : immutabili_) ImpostaImmutabile(f, false);
        std::filesystem::current_path(precedente_);
        std::filesystem::remove_all(cartella_);
    }
    static bool ImpostaImmutabile(const std::string& percorso, bool si) {
        const int fd = ::open(percorso.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = si ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }
    static std::string Leggi(const std::string& percorso) {
        std::ifstream in(percorso, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static int DescrittoriAperti() {
        return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                              std::filesystem::directory_iterator()));
    }
    bool Salva(const std::string& digitato) {
        return SalvaRapporto(NomeFileRapporto(digitato), testi_, orologio_, fs_);
    }

    std::filesystem::path precedente_, cartella_;
    std::vector<std::string> immutabili_;
    Modulo1 m_;
    TestiForm testi_ = prova::TestiMetano(m_);
    OrologioFisso orologio_;
    FileSystemPosix fs_;
};

TEST_F(SalvaSuDisco, NomiComeDigitati) {
    const std::pair<const char*, const char*> casi[] = {
        {"", ".TXT"}, {"abc", "abc.TXT"}, {"abc.txt", "abc.txt.TXT"}, {"nomelungo", "nomelungo.TXT"}};
    for (const auto& [digitato, file] : casi) {
        ASSERT_TRUE(Salva(digitato)) << digitato;
        EXPECT_EQ(Leggi(file), AttesoMetano()) << file;
    }
    EXPECT_FALSE(std::filesystem::exists("abc.txt"));
    EXPECT_FALSE(std::filesystem::exists("abc.TXT.TXT"));
}

TEST_F(SalvaSuDisco, DueVolteResteSoloLaSeconda) {
    std::ofstream("R.TXT", std::ios::binary) << std::string(10000, '#');
    ASSERT_TRUE(Salva("R"));
    orologio_.ora = "03:04:59";
    testi_(F::Form2, "Text1") = "Secondo";
    ASSERT_TRUE(Salva("R"));
    const std::string s = Leggi("R.TXT");
    EXPECT_EQ(s.size(), AttesoMetano().size() - std::string("Impianto Nord").size() + 7);
    EXPECT_NE(s.find("= 03:04:59\r\n"), std::string::npos);
    EXPECT_NE(s.find("= Secondo\r\n"), std::string::npos);
    EXPECT_EQ(s.find('#'), std::string::npos);
}

TEST_F(SalvaSuDisco, CartellaInesistente) {
    EXPECT_FALSE(Salva("manca/R"));
    EXPECT_FALSE(std::filesystem::exists("manca"));
}

TEST_F(SalvaSuDisco, CartellaColNomeDelFile) {
    std::filesystem::create_directory("X.TXT");
    std::ofstream("X.TXT/dentro") << "resto";
    EXPECT_FALSE(Salva("X"));
    EXPECT_TRUE(std::filesystem::is_directory("X.TXT"));
    EXPECT_EQ(Leggi("X.TXT/dentro"), "resto");
}

TEST_F(SalvaSuDisco, FileImmutabileRestaComEra) {
    std::ofstream("B.TXT", std::ios::binary) << "vecchio\r\n";
    if (!ImpostaImmutabile("B.TXT", true))
        GTEST_SKIP() << "this file system or user cannot make a file immutable (chattr +i)";
    immutabili_.push_back("B.TXT");
    const int descrittori = DescrittoriAperti();
    EXPECT_FALSE(Salva("B"));
    EXPECT_EQ(Leggi("B.TXT"), "vecchio\r\n");
    EXPECT_EQ(DescrittoriAperti(), descrittori);
}

TEST_F(SalvaSuDisco, DiscoPienoChiudeIlFile) {
    std::filesystem::create_symlink("/dev/full", "F.TXT");
    const int descrittori = DescrittoriAperti();
    EXPECT_FALSE(Salva("F"));
    EXPECT_EQ(DescrittoriAperti(), descrittori);
    EXPECT_TRUE(std::filesystem::is_symlink("F.TXT"));
}

}  // namespace
}  // namespace termix
