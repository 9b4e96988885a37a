// The About box's system-information lookup on the real Windows registry
// (wine's, in the tests' throw-away prefix): the keys written with reg.exe,
// the program found by either rule, or the message.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "forms/InfoSistema.h"
#include "model/Messaggi.h"

namespace termix {
namespace {

struct AvviatoreFinto : Avviatore {
    std::vector<std::string> avviati;
    bool Avvia(const std::string& p) override { return avviati.push_back(p), true; }
};

int Reg(const std::string& argomenti) { return std::system(("reg " + argomenti + " >NUL 2>&1").c_str()); }

TEST(InfoSistemaWindows, RegistroVeroDelSistema) {
    const std::string primo = "\"HKLM\\" + std::string(ChiaveSysInfo) + "\"",
                      secondo = "\"HKLM\\" + std::string(ChiaveSysInfoCartella) + "\"";
    const std::string programma = "C:\\windows\\system32\\msinfo32.exe", cartella = "C:\\windows\\system32";
    const struct { const char* nome; std::string percorso, cartella; std::vector<std::string> avviati; } casi[] = {
        {"no keys", "", "", {}},
        {"first place, as it stands", programma, "", {programma}},
        {"second place, the program in the folder", "", cartella, {cartella + FileSysInfo}},
        {"second place, a folder without it", "", "C:\\users", {}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        Reg("delete " + primo + " /f");
        Reg("delete " + secondo + " /f");
        if (!c.percorso.empty()) {
            ASSERT_EQ(Reg("add " + primo + " /v PATH /d " + c.percorso + " /f"), 0);
        }
        if (!c.cartella.empty()) {
            ASSERT_EQ(Reg("add " + secondo + " /v MSINFO /d " + c.cartella + " /f"), 0);
        }
        AvviatoreFinto avviatore;
        std::vector<std::string> avvisi;
        AmbienteSistema amb{RegistroDiSistema(), FileDiSistema(), avviatore,
                            [&](std::string_view t) { avvisi.emplace_back(t); }};
        StartSysInfo(amb);
        EXPECT_EQ(avviatore.avviati, c.avviati);
        EXPECT_EQ(avvisi, c.avviati.empty() ? std::vector<std::string>{messaggi::InfoNonDisponibili}
                                            : std::vector<std::string>{});
    }
    Reg("delete " + primo + " /f");
    Reg("delete " + secondo + " /f");
}

}  // namespace
}  // namespace termix
