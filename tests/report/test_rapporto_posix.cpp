// The report file on a POSIX disk: failures, and descriptors closed once.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>

#include "report/SalvaRapporto.h"
#include "support/TestiForm.h"

namespace termix {
namespace {

using prova::OrologioFisso;
using prova::TestiForm;

long Aperti() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator());
}

// On a real disk, in a fresh working directory.
TEST(SalvaSuDisco, FailuresLeaveTheDiskAsItWasAndEachDescriptorIsClosedOnce) {
    char modello[] = "/tmp/termix54-rapportoXXXXXX";
    ASSERT_NE(mkdtemp(modello), nullptr);
    const auto precedente = std::filesystem::current_path();
    std::filesystem::current_path(modello);
    Modulo1 m;
    TestiForm t = prova::TestiMetano(m);
    OrologioFisso orologio;
    FileSystemReale fs;
    auto salva = [&](const char* digitato) { return SalvaRapporto(NomeFileRapporto(digitato), t, orologio, fs); };
    std::filesystem::create_directory("X.TXT");
    std::filesystem::create_symlink("/dev/full", "F.TXT");
    const long aperti = Aperti();
    EXPECT_FALSE(salva("manca/R"));  // no such folder
    EXPECT_FALSE(std::filesystem::exists("manca"));
    EXPECT_FALSE(salva("X"));  // a folder with the file's name
    EXPECT_TRUE(std::filesystem::is_empty("X.TXT"));
    EXPECT_FALSE(salva("F"));  // disk full: the writes fail, the file is closed
    EXPECT_TRUE(std::filesystem::is_symlink("F.TXT"));
    EXPECT_EQ(Aperti(), aperti);

    // Closed twice, a descriptor would close the file opened meanwhile under the same number.
    auto file = fs.Crea("C.TXT");
    ASSERT_TRUE(file && file->Scrivi("x") && file->Chiudi());
    Descrittore dopo(::open("C.TXT", O_RDONLY | O_CLOEXEC));
    file.reset();
    Descrittore spostato(std::move(dopo));
    EXPECT_TRUE(dopo.Chiudi());  // the handle moved from owns nothing and closes nothing
    const int numero = spostato.fd();
    EXPECT_NE(::fcntl(numero, F_GETFD), -1);
    EXPECT_TRUE(spostato.Chiudi());
    EXPECT_EQ(::fcntl(numero, F_GETFD), -1);
    // Started with standard input closed, a report may get descriptor 0: it is closed all the same.
    const int ingresso = ::dup(0);
    ::close(0);
    Descrittore zero(::open("C.TXT", O_RDONLY));
    ASSERT_EQ(zero.fd(), 0);
    EXPECT_TRUE(zero.Chiudi() && ::fcntl(0, F_GETFD) == -1);
    ::dup2(ingresso, 0), ::close(ingresso);
    std::filesystem::current_path(precedente);
    std::filesystem::remove_all(modello);
}

}  // namespace
}  // namespace termix
