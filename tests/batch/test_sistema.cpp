// The operating system behind the seams, on the real disk and clock of each
// platform (this file runs on Linux and, cross-built, under wine).
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#endif

#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <ios>
#include <iterator>
#include <string>
#include <random>
#include <regex>
#include <vector>

#include "batch/CodiciWindows.h"
#include "batch/ErroriSistema.h"
#include "batch/Interruzione.h"
#include "batch/Sistema.h"
#include "report/OrologioSistema.h"
#include "report/SalvaRapporto.h"

namespace termix {
namespace {

namespace fs = std::filesystem;
using batch::Percorso;
using batch::TestoPercorso;

struct Cartella {
    fs::path d = fs::temp_directory_path() / ("termix54-sistema-" + std::to_string(std::random_device{}()));
    Cartella() { fs::create_directories(d); }
    ~Cartella() { fs::remove_all(d); }
    // A name outside Windows-1252 too: only the wide-character calls keep it.
    std::string nome(const char* n) const { return TestoPercorso(d / Percorso(n)); }
    std::string leggi(const char* n) const {
        std::ifstream f(Percorso(nome(n)), std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
};

TEST(SistemaReale, FileNuoviOSvuotatiConNomiAccentati) {
    Cartella c;
    std::ofstream(Percorso(c.nome("vecchio.TXT")), std::ios::binary) << "vecchio e lungo";
    const struct { const char* nome; bool soloNuovi; bool aperto; const char* contenuto; } casi[] = {
        {"Città di Forlì – Łódź.TXT", true, true, "x\r\n"},
        {"vecchio.TXT", true, false, "vecchio e lungo"},  // never opened: left as it was
        {"vecchio.TXT", false, true, "x\r\n"},           // emptied first, CRLF kept
        {"manca/R.TXT", false, false, ""},
    };
    for (const auto& k : casi) {
        SCOPED_TRACE(k.nome);
        FileSystemReale fs(k.soloNuovi);
        errno = 0;
        auto f = fs.Crea(c.nome(k.nome));
        ASSERT_EQ(f != nullptr, k.aperto);
        if (f) {
            EXPECT_TRUE(f->Scrivi("x\r\n") && f->Chiudi());
        }
        if (!k.aperto && k.soloNuovi) {
            EXPECT_EQ(errno, EEXIST);
        }
        EXPECT_EQ(c.leggi(k.nome), k.contenuto);
    }
    EXPECT_FALSE(fs::exists(c.d / "manca"));
}

TEST(SistemaReale, StessoFileERegolare) {
    Cartella c;
    const std::string a = c.nome("Città.csv"), b = c.nome("altro.csv");
    std::ofstream(Percorso(a)) << "a";
    std::ofstream(Percorso(b)) << "a";
    std::FILE* f = batch::ApriFile(a, "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(batch::FileRegolare(f));
    EXPECT_TRUE(batch::StessoFile(f, a));
    EXPECT_TRUE(batch::StessoFile(f, TestoPercorso(c.d / Percorso(".") / Percorso("Città.csv"))));
    EXPECT_FALSE(batch::StessoFile(f, b));  // same content, another file
    EXPECT_FALSE(batch::StessoFile(f, c.nome("manca.csv")));
    EXPECT_FALSE(batch::Terminale(f));
    std::fclose(f);
    // Each refusal with the errno Linux gives, so the message is the same.
    fs::create_directory(c.d / "Cartella");
    const struct { const char* nome; const char* modo; int errore; } rifiuti[] = {
        {"manca.csv", "rb", ENOENT},         {"manca/x.csv", "wb", ENOENT},
        {"Cartella", "rb", EISDIR},          {"Cartella", "wb", EISDIR},
        {"Città.csv/x.csv", "wb", ENOTDIR},  {"Città.csv/manca/x.csv", "wb", ENOTDIR},
    };
    for (const auto& r : rifiuti) {
        SCOPED_TRACE(std::string(r.nome) + " " + r.modo);
        errno = 0;
        EXPECT_EQ(batch::ApriFile(c.nome(r.nome), r.modo), nullptr);
        EXPECT_EQ(errno, r.errore);
    }
}

// A file written whole: the temporary one beside the target until it takes the target's name, replacing
// it or only while the name is free; discarded, nothing changes.
TEST(SistemaReale, FileInteroSostituisceOppureNiente) {
    Cartella c;
    const std::string bersaglio = c.nome("Città.csv");
    const struct { bool esiste, sostituisci, scarta, ok; const char* dopo; } casi[] = {
        {true, true, false, true, "nuovo"}, {false, false, false, true, "nuovo"},
        {true, false, false, false, "vecchio"},  // the name taken: never replaced (EEXIST)
        {true, true, true, true, "vecchio"},     // discarded
    };
    auto aperti = [] {  // the process's open descriptors, where the system lists them
        std::error_code ec;
        return std::distance(fs::directory_iterator("/proc/self/fd", ec), fs::directory_iterator());
    };
    for (const auto& k : casi) {
        SCOPED_TRACE(std::to_string(k.esiste) + std::to_string(k.sostituisci) + std::to_string(k.scarta));
        fs::remove(Percorso(bersaglio));
        if (k.esiste) std::ofstream(Percorso(bersaglio), std::ios::binary) << "vecchio";
        const auto prima = aperti();
        batch::FileIntero f;
        std::FILE* u = f.Apri(bersaglio);
        ASSERT_NE(u, nullptr);
        std::fputs("nuovo", u);
        std::size_t temporanei = 0;
        for (const auto& e : fs::directory_iterator(c.d))
            temporanei += std::regex_match(TestoPercorso(e.path().filename()), std::regex("Città\\.csv\\.termix54-[0-9a-z]{6}"));
        EXPECT_EQ(temporanei, 1u);
        if (k.scarta) {
            f.Scarta();
        } else {
            errno = 0;
            EXPECT_EQ(f.Conferma(k.sostituisci), k.ok);
            if (!k.ok) {
                EXPECT_EQ(errno, EEXIST);
            }
            EXPECT_TRUE(f.tenuto().empty());  // nothing kept unless asked
        }
        EXPECT_EQ(aperti(), prima);  // closed, not left to the end
        EXPECT_EQ(c.leggi("Città.csv"), k.dopo);
        EXPECT_EQ(std::distance(fs::directory_iterator(c.d), fs::directory_iterator()), 1);
    }
#ifdef _WIN32
    // Held open by another program without sharing (a spreadsheet): found before any work, and said so.
    const HANDLE h = CreateFileW(Percorso(bersaglio).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    errno = 0;
    EXPECT_FALSE(batch::Sostituibile(bersaglio));
    EXPECT_EQ(errno, EBUSY);
    EXPECT_EQ(batch::ApriFile(bersaglio, "rb"), nullptr);
    EXPECT_EQ(batch::TestoErrore(errno), "il file è aperto in un altro programma: chiuderlo e riprovare");
    CloseHandle(h);
#else
    // A link is written through: the file it points at is replaced, the link stays a link.
    fs::create_symlink(Percorso(bersaglio), c.d / "link.csv");
    fs::create_symlink(c.d / "manca.csv", c.d / "rotto.csv");
    EXPECT_EQ(batch::DestinazioneReale(c.nome("link.csv")), TestoPercorso(fs::canonical(Percorso(bersaglio))));
    for (const char* n : {"Città.csv", "rotto.csv", "manca.csv"}) EXPECT_EQ(batch::DestinazioneReale(c.nome(n)), c.nome(n));
    // Whatever the checks before it said, the rename never replaces anything but a regular file.
    ASSERT_EQ(mkfifo(c.nome("tubo").c_str(), 0600), 0);
    batch::FileIntero f;
    ASSERT_NE(f.Apri(c.nome("tubo")), nullptr);
    EXPECT_FALSE(f.Conferma(true));
    EXPECT_TRUE(fs::is_fifo(c.d / "tubo"));
    EXPECT_EQ(std::distance(fs::directory_iterator(c.d), fs::directory_iterator()), 4);  // Città.csv, 2 links, tubo
    // A file the system lets grow no further (a size limit, as a full disk): the last buffer fails at the close,
    // and the temporary file goes with its descriptor.
    rlimit limite{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limite), 0);
    const auto prima = aperti();
    batch::FileIntero g;
    std::FILE* u = g.Apri(bersaglio);
    ASSERT_NE(u, nullptr);
    std::fputs("nuovo", u);
    const auto segnale = std::signal(SIGXFSZ, SIG_IGN);
    rlimit zero = limite;
    zero.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &zero);
    errno = 0;
    const bool confermato = g.Conferma(true);
    const int errore = errno;
    setrlimit(RLIMIT_FSIZE, &limite);
    std::signal(SIGXFSZ, segnale);
    EXPECT_FALSE(confermato);
    EXPECT_EQ(errore, EFBIG);
    EXPECT_EQ(aperti(), prima);
    EXPECT_EQ(c.leggi("Città.csv"), "vecchio");
    EXPECT_EQ(std::distance(fs::directory_iterator(c.d), fs::directory_iterator()), 4);
#endif
    EXPECT_TRUE(batch::Sostituibile(bersaglio));
}

// What a stopped run says: how far it got, what became of the output, which reports are on disk (runs as ranges).
TEST(SistemaReale, MessaggioDiUnaCorsaFermata) {
    Cartella c;
    std::ofstream(Percorso(c.nome("c'era.csv"))) << "x";
    const std::string cera = c.nome("c'era.csv"), nuovo = c.nome("nuovo.csv");
    const struct { const char* segnale; std::string uscita; bool intera; long long righe; const char* cartella;
                   std::vector<long long> rapporti; std::string atteso; } casi[] = {
        {"SIGINT", cera, true, 512, "", {}, ": interrotto (SIGINT) dopo 512 righe: " + cera + " lasciato com'era\n"},
        {"Ctrl+C", nuovo, true, 1, "r", {9, 1, 3, 2, 5, 8},
         ": interrotto (Ctrl+C) dopo 1 riga: " + nuovo + " non creato\n"
         "termix54-batch: rapporti già scritti in r: 1.TXT-3.TXT, 5.TXT, 8.TXT-9.TXT\n"},
        {"SIGTERM", "standard output", false, 0, "r", {},
         ": interrotto (SIGTERM) dopo 0 righe scritte su standard output\n"
         "termix54-batch: rapporti già scritti in r: nessuno\n"},
    };
    for (const auto& k : casi)
        EXPECT_EQ(batch::interruzione::Messaggio(k.segnale, k.uscita, k.intera, k.righe, k.cartella, k.rapporti),
                  "termix54-batch" + k.atteso);
}

// What the Windows build decides about an error or an open, on every platform: the system's code and the C
// runtime's errno become the message Linux gives for the same fault.
TEST(SistemaWindows, ErroriComeSuLinux) {
    const struct { unsigned long codice; const char* testo; } codici[] = {  // winerror.h's numbers
        {2, "file o cartella inesistente"}, {3, "file o cartella inesistente"}, {4, "troppi file aperti"},
        {5, "permesso negato"}, {8, "memoria esaurita"}, {14, "memoria esaurita"}, {15, "file o cartella inesistente"},
        {19, "file system in sola lettura"}, {21, "dispositivo inesistente"}, {23, "errore di ingresso/uscita"},
        {29, "errore di ingresso/uscita"}, {30, "errore di ingresso/uscita"},
        {32, "il file è aperto in un altro programma: chiuderlo e riprovare"},
        {33, "il file è aperto in un altro programma: chiuderlo e riprovare"}, {39, "spazio esaurito sul dispositivo"},
        {53, "file o cartella inesistente"}, {67, "file o cartella inesistente"}, {80, "il file esiste già"},
        {112, "spazio esaurito sul dispositivo"}, {123, "argomento non valido"}, {145, "cartella non vuota"},
        {183, "il file esiste già"}, {206, "nome del file troppo lungo"}, {267, "non è una cartella"},
    };
    for (const auto& k : codici) EXPECT_EQ(batch::TestoErrore(batch::ErrnoWindows(k.codice, 0), true), k.testo) << k.codice;
    EXPECT_EQ(batch::ErrnoWindows(1), EIO);  // a code the table lacks: the system's words, or an I/O error
    EXPECT_EQ(batch::ErrnoWindows(1, 0), 0);
    EXPECT_EQ(batch::TestoErrore(EBUSY, false), "dispositivo o risorsa occupati");
    EXPECT_EQ(batch::TestoErrore(EILSEQ, false), std::strerror(EILSEQ));  // one the table lacks: the C library's words
#ifdef EDQUOT
    EXPECT_EQ(batch::TestoErrore(EDQUOT, false), "quota del disco superata");
#endif
    EXPECT_EQ(batch::TestoErrore(std::make_error_code(std::errc::permission_denied)), "permesso negato");
    EXPECT_EQ(batch::TestoErrore(std::error_code(batch::SuWindows ? 5 : EACCES, std::system_category())), "permesso negato");
    EXPECT_EQ(batch::TestoErrore(std::make_error_code(std::io_errc::stream)), std::make_error_code(std::io_errc::stream).message());
    EXPECT_EQ(batch::SenzaCoda("Accesso negato. \r\n"), "Accesso negato");
    // Ctrl+C, Ctrl+Break, the window closed; logoff and shutdown are the system's.
    const char* const eventi[] = {"Ctrl+C", "Ctrl+Break", "finestra chiusa", nullptr, nullptr, nullptr, nullptr};
    for (unsigned long e = 0; e < std::size(eventi); ++e)
        EXPECT_STREQ(batch::NomeEventoConsole(e) ? batch::NomeEventoConsole(e) : "-", eventi[e] ? eventi[e] : "-") << e;

    Cartella c;
    fs::create_directory(c.d / "Cartella");
    std::ofstream(Percorso(c.nome("file.csv"))) << "x";
    const struct { const char* nome; const char* modo; int errore, dopo; } aperture[] = {
        {"Cartella", "wb", EACCES, EISDIR},      {"file.csv", "wb", EACCES, EACCES},
        {"file.csv/x", "wb", ENOENT, ENOTDIR},   {"file.csv/manca/x", "rb", ENOENT, ENOTDIR},
        {"manca/x", "wb", ENOENT, ENOENT},       {"manca", "rb", EBUSY, EBUSY},
        // a name ending in a separator is a folder's (the C runtime would say "invalid argument")
        {"Cartella/", "rb", 0, EISDIR},          {"Cartella\\", "wb", 0, EISDIR},
        {"file.csv/", "rb", 0, ENOTDIR},         {"manca/", "rb", 0, ENOENT},
        {"manca//", "wb", 0, EISDIR},            {"file.csv", "rb", 0, 0},
    };
    for (const auto& k : aperture) {
        SCOPED_TRACE(k.nome);
        EXPECT_EQ(k.errore ? batch::ErroreApertura(c.nome(k.nome), k.errore) : batch::ErroreNome(c.nome(k.nome), k.modo),
                  k.dopo);
    }
    EXPECT_EQ(batch::ErroreNome(std::string("a\0b", 3), "rb"), EINVAL);
    EXPECT_EQ(batch::ErroreNome("", "rb"), 0);

    // The console's repeater passes on whole characters only: the rest waits for the next read.
    const struct { std::string_view testo; std::size_t interi; } utf8[] = {
        {"", 0}, {"abc", 3}, {"a\xC3", 1}, {"a\xC3\xA8", 3}, {"\xE2\x82", 0}, {"\xE2\x82\xAC", 3},
        {"x\xF0\x9F\x98", 1}, {"\xF0\x9F\x98\x80", 4}, {"\x80\x80\x80\x80", 4}, {"\xC3\xA8\xE2", 2},
    };
    for (const auto& k : utf8) EXPECT_EQ(batch::FineUtf8Intera(k.testo), k.interi) << k.testo;
    // Reads that cut characters, to a console that takes two units a call; one that takes nothing is asked once.
    std::string resto;
    std::u16string scritto;
    for (std::string_view letto : {"Umidit\xC3", "\xA0 \xE2\x82", "\xAC \xF0\x9F\x98\x80"})
        batch::ScriviTutto(batch::PerConsole(resto, letto), [&](std::u16string_view w) {
            scritto += w.substr(0, 2);
            return std::min<std::size_t>(w.size(), 2);
        });
    EXPECT_TRUE(scritto == u"Umidit\u00E0 \u20AC \U0001F600" && resto.empty());
    int chiamate = 0;
    batch::ScriviTutto(u"abc", [&](std::u16string_view) { return ++chiamate, std::size_t{0}; });
    EXPECT_EQ(chiamate, 1);
}

TEST(SistemaReale, OrologioConDataEOraDiOggi) {
    OrologioSistema o;
    const std::time_t t = std::time(nullptr);
    const std::string anno = std::to_string(std::localtime(&t)->tm_year % 100), data = o.Data(), ora = o.Ora();
    EXPECT_NE(data.find(anno.size() < 2 ? "0" + anno : anno), std::string::npos) << data;
    // Hours, minutes and seconds: at least three groups of digits.
    int gruppi = 0;
    for (std::size_t i = 0; i < ora.size(); ++i)
        if (std::isdigit(static_cast<unsigned char>(ora[i])) && (i == 0 || !std::isdigit(static_cast<unsigned char>(ora[i - 1]))))
            ++gruppi;
    EXPECT_GE(gruppi, 3) << ora;
}

}  // namespace
}  // namespace termix
