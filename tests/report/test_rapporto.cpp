// The report as the file holds it: the 67 lines byte for byte, their layout,
// the code page, and what a failed save leaves behind.
#include <gtest/gtest.h>

#include <iterator>

#include "report/Codifica.h"
#include "report/SalvaRapporto.h"
#include "support/TestiForm.h"

namespace termix {
namespace {

using prova::AttesoMetano, prova::OrologioFisso, prova::TestiForm;

// Files kept in memory; a write, the open or the close fails on request.
struct FileSystemFinto : FileSystem {
    std::string contenuto;
    int scritture = 0, fallisceScrittura = 0;  // 1-based write that fails; 0 = none
    bool rifiutaApertura = false, chiusuraFallisce = false, chiuso = false;
    struct File : FileScrittura {
        FileSystemFinto& fs;
        explicit File(FileSystemFinto& f) : fs(f) {}
        bool Scrivi(std::string_view b) override { return ++fs.scritture != fs.fallisceScrittura && (fs.contenuto += b, true); }
        bool Chiudi() override { return fs.chiuso = true, !fs.chiusuraFallisce; }
    };
    std::unique_ptr<FileScrittura> Crea(const std::string&) override { return rifiutaApertura ? nullptr : std::make_unique<File>(*this); }
};

TEST(RapportoMetano, FileByteForByteAndThePrinterLines) {
    Modulo1 m;
    TestiForm t = prova::TestiMetano(m);
    OrologioFisso orologio;
    FileSystemFinto fs;
    ASSERT_TRUE(SalvaRapporto("M.TXT", t, orologio, fs));
    EXPECT_EQ(fs.contenuto, AttesoMetano());
    EXPECT_TRUE(fs.chiuso && orologio.chiamate == 2);
    // The printer's lines differ in 1 (title at column 6), 3 and 4 (" = " at column 35) only.
    for (int n = 1; n <= RigheRapporto; ++n) {
        const auto file = RigheTesto(RigaDelRapporto(n, TipoUscita::File, t, orologio));
        const std::vector<std::string> attese = n == 1 ? std::vector<std::string>{"     " + file[0]}
                                                : n == 3 || n == 4 ? std::vector<std::string>{file[0].substr(0, 34) + file[0].substr(49)}
                                                                   : file;
        EXPECT_EQ(RigheTesto(RigaDelRapporto(n, TipoUscita::Stampante, t, orologio)), attese) << "line " << n;
    }
}

std::string B(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

TEST(Rapporto, LayoutOfEmptyLongAndOverflowingValues) {
    const struct { int riga; std::vector<std::pair<const char*, std::string>> campi;
                   std::vector<std::string> attese; } casi[] = {
        {7, {}, {"     Portata combustibile" + B(9) + " =  kg/h"}},  // an empty box: the frame alone
        {10, {}, {"        Carbonio" + B(18)}},
        {5, {{"Impianto", std::string(200, 'N')}}, {"     Impianto" + B(21) + " = " + std::string(200, 'N')}},
        // Table values of 11, 12 and 13 characters in column 12; empty cells still pad.
        {61, {{"KmoliN2", "1234567,891"}, {"PortataN2", "1"}}, {"  N2" + B(7) + "1234567,891 1" + B(23)}},
        {61, {{"KmoliN2", "12345678,901"}, {"PortataN2", "1"}}, {"  N2" + B(7) + "12345678,9011" + B(23)}},
        {62, {{"KmoliO2", "123456789,012"}, {"PortataO2", "7"}, {"PercVolO2", "3"}, {"PercPesoO2", "4"}},
         {"  O2" + B(7) + "123456789,012", B(23) + "7" + B(11) + "3" + B(11) + "4"}},
        // Two value columns overflowing on the same row: two breaks.
        {67, {{"KmoliFumi", std::string(13, '1')}, {"PortataFumi", std::string(13, '2')},
              {"TotaleVolume", "100,00"}, {"TotalePeso", "100,00"}},
         {" Totale" + B(4) + std::string(13, '1'), B(23) + std::string(13, '2'), B(35) + "100,00" + B(6) + "100,00"}},
        // A long label: the value still starts at column 50.
        {48, {{"PortataAcquaUmidita", "15,294"}}, {"     Portata acqua (umidit\xC3\xA0 atmosferica)" + B(9) + " = 15,294 kg/h"}},
    };
    for (const auto& c : casi) {
        TestiForm t;
        for (const auto& [campo, testo] : c.campi) t(campo) = testo;
        OrologioFisso orologio;
        EXPECT_EQ(RigheTesto(RigaDelRapporto(c.riga, TipoUscita::File, t, orologio)), c.attese) << c.riga;
    }
    TestiForm t;
    OrologioFisso orologio;
    for (int fuori : {0, 68}) EXPECT_THROW(RigaDelRapporto(fuori, TipoUscita::File, t, orologio), std::out_of_range);
    // Exactly at the column nothing is added, past it a new line; no column: where the text ended.
    const auto w = LarghezzaCaratteri;
    EXPECT_EQ(Impagina({{"abcd", 1}, {"e", 5}}, w), (std::vector<RigaFisica>{{{1, "abcd"}, {5, "e"}}}));
    EXPECT_EQ(Impagina({{"abcde", 1}, {"f", 5}}, w), (std::vector<RigaFisica>{{{1, "abcde"}}, {{5, "f"}}}));
    EXPECT_EQ(Impagina({{"ab", 3}, {"cd", 0}}, w), (std::vector<RigaFisica>{{{3, "ab"}, {5, "cd"}}}));
    EXPECT_EQ(Impagina({{"ab", 3}, {"c", 1}}, w), (std::vector<RigaFisica>{{{3, "ab"}}, {{1, "c"}}}));
    // On the printer a wide label can pass the value's column although its character count does not.
    const LarghezzaTesto larga = [](std::string_view t) { return 1.5 * static_cast<double>(t.size()); };
    EXPECT_EQ(Impagina({{"abcdefgh", 6}, {" = 1", 12}}, larga), (std::vector<RigaFisica>{{{6, "abcdefgh"}}, {{12, " = 1"}}}));
    EXPECT_EQ(Impagina({{"abcd", 6}, {"x", 0}}, larga), (std::vector<RigaFisica>{{{6, "abcd"}, {12, "x"}}}));
}

// Into UTF-8 in blocks: every split of the input gives the same text, a character cut by a block end waits for the
// next, the end of input turns it into one U+FFFD.
TEST(Codifica, VersoUtf8InOgniTaglio) {
    using C = CodificaTesto;
    const std::string R = "\xEF\xBF\xBD";
    const struct { C da; std::string in, atteso; } casi[] = {
        {C::Windows1252, "Citt\xE0 \x80\x9F\xFF", "Città €Ÿÿ"},
        {C::Windows1252, "a\x81\x8D\x8F\x90\x9D" "b", "a" + R + R + R + R + R + "b"},  // undefined in the code page
        {C::Utf8, "\xC3\xA0\xF0\x9F\x98\x80", "à\xF0\x9F\x98\x80"},
        {C::Utf8, "\xE2\x82" "x\xED\xA0\x80\xF4\x90\x80\x80", R + R + "x" + R + R + R + R + R + R + R},
        {C::Utf8, "a\xE2\x82", "a" + R},  // cut short by the end of input
        {C::Utf8, "\xF0x\x80", R + "x" + R},  // too short for its lead, but already wrong
        {C::Utf16LE, std::string("C\0\xE0\0=\xD8\x00\xDE", 8), "Cà😀"},
        {C::Utf16BE, std::string("\0C\xD8\x3D\xDE\x00", 6), "C😀"},
        {C::Utf16LE, std::string("\x00\xDE" "a\0\x3D\xD8" "b\0\x3D\xD8", 10), R + "a" + R + "b" + R},  // unpaired
        {C::Utf16LE, std::string("\x3D\xD8\x00\xE0", 4), R + "\xEE\x80\x80"},  // U+E000 is no low surrogate
        {C::Utf16LE, std::string("a\0b", 3), "a" + R},  // odd byte at the end
    };
    for (const auto& c : casi)
        for (std::size_t i = 0; i <= c.in.size(); ++i)
            for (std::size_t j = i; j <= c.in.size(); ++j) {
                SCOPED_TRACE(c.atteso + " split at " + std::to_string(i) + ", " + std::to_string(j));
                VersoUtf8 v(c.da);
                std::string out;
                for (auto [da, n] : {std::pair{std::size_t{0}, i}, {i, j - i}, {j, c.in.size() - j}}) v.Converti(std::string_view(c.in).substr(da, n), out);
                v.Fine(out);
                EXPECT_EQ(out, c.atteso);
            }
}

TEST(Codifica, Windows1252) {
    const std::pair<const char*, std::string> casi[] = {
        {"Propriet\xC3\xA0", "Propriet\xE0"}, {"20 \xC2\xB0" "C", "20 \xB0" "C"},
        {"\xE2\x82\xAC", "\x80"},         // euro sign: 0x80 in this code page
        {"\xC3\xBC\xC3\xA8", "\xFC\xE8"}, {"\xE6\x97\xA5" "a", "?a"},  // CJK: not in the code page
        {"\xF0\x9F\x98\x80" "b", "?b"},   // outside the BMP
        {"\xC2\x81", "?"},                // a C1 control the code page lacks
        {"\xC5\xB8\xCB\x9C\xE2\x84\xA2", "\x9F\x98\x99"},  // the last entries of 0x80-0x9F
        {"\xED\xA0\x80" "c", "?c"}, {"\xF4\x90\x80\x80", "?"},   // a surrogate, beyond U+10FFFF
        {"a\xFF" "b", "a?b"}, {"\xC3", "?"}, {"\xE2\x82" "x", "?x"},  // malformed, cut short
        {"\xE2" "a\x82", "?a?"}, {"\xC3\xA0\x80", "\xE0?"},  // a stray continuation after a lead byte alone, a whole one
        {"\xE0\x80\x80\x80", "??"},  // overlong: the three bytes of its lead, then a stray byte
        {"\xF5\x80", "??"},  // F5 leads no sequence: it and the stray continuation are one "?" each
        {"\xEF\xBF\xBD", "?"},  // U+FFFD, the last lead byte of three
        {"", ""},
    };
    for (const auto& [in, atteso] : casi) {
        EXPECT_EQ(InWindows1252(in), atteso) << in;
        EXPECT_EQ(CaratteriUtf8(in), atteso.size()) << in;  // padding counts the file's bytes
    }
    const std::string lungo(5000, 'a');
    EXPECT_EQ(InWindows1252(lungo + "\xC3\xA0"), lungo + "\xE0");
    // Unrepresentable characters do not move the columns after them.
    TestiForm t;
    t("KmoliN2") = "\xE6\x97\xA5\xE6\x97\xA5", t("PortataN2") = "5";
    OrologioFisso orologio;
    FileSystemFinto fs;
    ASSERT_TRUE(SalvaRapporto("A.TXT", t, orologio, fs));
    EXPECT_EQ(prova::RigheCrLf(fs.contenuto)[60], "  N2" + B(7) + "??" + B(10) + "5" + B(23));
}

TEST(SalvaRapporto, FailuresKeepWhatWasWrittenAndClose) {
    Modulo1 m;
    TestiForm t = prova::TestiMetano(m);
    OrologioFisso orologio;
    FileSystemFinto niente;  // cannot open: nothing written
    niente.rifiutaApertura = true;
    EXPECT_FALSE(SalvaRapporto("A.TXT", t, orologio, niente));
    EXPECT_EQ(niente.scritture, 0);
    for (int k : {1, 2, 30, 67}) {  // a write fails: the lines before it stay, the file is closed
        FileSystemFinto fs;
        fs.fallisceScrittura = k;
        EXPECT_FALSE(SalvaRapporto("A.TXT", t, orologio, fs));
        EXPECT_TRUE(fs.chiuso && fs.scritture == k);
        EXPECT_EQ(prova::RigheCrLf(fs.contenuto).size(), static_cast<std::size_t>(k - 1));
        EXPECT_EQ(AttesoMetano().rfind(fs.contenuto, 0), 0u);
    }
    FileSystemFinto chiusura;
    chiusura.chiusuraFallisce = true;
    EXPECT_FALSE(SalvaRapporto("A.TXT", t, orologio, chiusura));
    EXPECT_EQ(chiusura.contenuto, AttesoMetano());
    // The name as typed plus ".TXT"; Cancel gives ".TXT".
    for (const auto& [digitato, nome] : {std::pair{"", ".TXT"}, {"abc.txt", "abc.txt.TXT"}, {" a b ", " a b .TXT"}})
        EXPECT_EQ(NomeFileRapporto(digitato), nome);
}

}  // namespace
}  // namespace termix
