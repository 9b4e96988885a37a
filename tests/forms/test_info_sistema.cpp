// The system-information lookup of the About box: every branch of the
// registry lookup through a scripted registry and file system, and the real
// seams of this platform.
#include <QTemporaryDir>
#include <QtTest>
#include <map>
#include <optional>
#include <set>

#include "forms/InfoSistema.h"
#include "model/Messaggi.h"

using namespace termix;

namespace {

// key -> value name -> (type, bytes as stored, terminating NUL included if any)
struct RegistroFinto final : Registro {
    std::map<std::string, std::map<std::string, std::pair<std::uint32_t, std::string>>> chiavi;
    std::vector<std::string> aperte;
    int chiusure = 0;
    long ApriChiave(std::uint32_t radice, const std::string& chiave, std::uint32_t accesso, std::uintptr_t& h) override {
        aperte.push_back(chiave);
        h = aperte.size();
        return radice == RadiceHKLM && accesso == AccessoChiave && chiavi.count(chiave) ? 0 : 2;
    }
    long LeggiValore(std::uintptr_t h, const std::string& nome, std::uint32_t& tipo, char* buffer,
                     std::uint32_t& dimensione) override {
        const auto& valori = chiavi.at(aperte.at(h - 1));
        auto it = valori.find(nome);
        if (it == valori.end()) return 2;
        tipo = it->second.first;
        const auto n = static_cast<std::uint32_t>(it->second.second.size());
        if (n > dimensione) return dimensione = n, 234;  // ERROR_MORE_DATA
        it->second.second.copy(buffer, n);
        return dimensione = n, 0;
    }
    void ChiudiChiave(std::uintptr_t) override { ++chiusure; }
};

// A program starts when its file exists.
struct SistemaFinto final : ControlloFile, Avviatore {
    std::set<std::string> file;
    std::vector<std::string> avviati;
    bool EsisteFile(const std::string& p) override { return file.count(p) > 0; }
    bool Avvia(const std::string& p) override { return avviati.push_back(p), file.count(p) > 0; }
};

std::string nul(const std::string& s) { return s + '\0'; }
std::string dword(std::uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

const std::string Msinfo = "C:\\Programmi\\msinfo32.exe", Cartella = "C:\\WINDOWS\\system32",
                  NellaCartella = Cartella + "\\MSINFO32.EXE", Lungo(1024, 'x');
using Valore = std::optional<std::pair<std::uint32_t, std::string>>;
const std::pair<std::uint32_t, std::string> Testo(const std::string& s) { return {TipoTesto, s}; }

}  // namespace

class TestInfoSistema : public QObject {
    Q_OBJECT
private slots:
    void startSysInfo() {
        const struct { const char* nome; bool chiave1; Valore v1; bool chiave2; Valore v2; std::set<std::string> file;
                       std::vector<std::string> avviati; bool avviso; } casi[] = {
            {"first place found, second not looked at", true, Testo(nul(Msinfo)), true, Testo(nul(Cartella)),
             {Msinfo, NellaCartella}, {Msinfo}, false},
            {"first place names a missing file", true, Testo(nul(Msinfo)), true, Testo(nul(Cartella)), {NellaCartella},
             {Msinfo}, true},
            {"second place, program in the folder", false, {}, true, Testo(nul(Cartella)), {NellaCartella},
             {NellaCartella}, false},
            {"second place, folder without the program", false, {}, true, Testo(nul(Cartella)), {}, {}, true},
            {"keys without their values", true, {}, true, {}, {}, {}, true},
            {"no keys at all", false, {}, false, {}, {}, {}, true},
            {"first value of size zero", true, Testo(""), true, Testo(nul(Cartella)), {NellaCartella}, {}, true},
            {"1024 bytes without NUL taken whole", true, Testo(Lungo), false, {}, {Lungo}, {Lungo}, false},
            {"1025 bytes count as missing", true, Testo(nul(Lungo)), false, {}, {Lungo}, {}, true},
            {"too long first, second place used", true, Testo(nul(Lungo)), true, Testo(nul(Cartella)),
             {NellaCartella}, {NellaCartella}, false},
            {"number-typed value, last byte first", true, std::pair{TipoNumero, dword(0x12AB0F01)}, false, {}, {},
             {"&h12AB0F01"}, true},
            {"value of another type gives an empty path", true, std::pair{3u, nul(Msinfo)}, false, {}, {Msinfo}, {""}, true},
            {"second place of another type: the root", false, {}, true, std::pair{3u, nul(Cartella)},
             {"\\MSINFO32.EXE"}, {"\\MSINFO32.EXE"}, false},
            // The text up to its first NUL; 1023 bytes and NUL fit; bytes as stored.
            {"NUL inside", true, Testo(std::string("a\0b\0", 4)), false, {}, {std::string("a\0b", 3)},
             {std::string("a\0b", 3)}, false},
            {"1023 bytes and NUL", true, Testo(nul(std::string(1023, 'z'))), false, {}, {std::string(1023, 'z')},
             {std::string(1023, 'z')}, false},
            {"Windows-1252 path", true, Testo(nul("C:\\Caff\xE8")), false, {}, {"C:\\Caff\xE8"}, {"C:\\Caff\xE8"}, false},
            {"number with a top zero byte: the NUL rule", true, std::pair{TipoNumero, dword(0x00001234)}, false, {},
             {"&h001234"}, {"&h001234"}, false},
        };
        for (const auto& c : casi) {
            RegistroFinto reg;
            if (c.chiave1) reg.chiavi[ChiaveSysInfo];
            if (c.v1) reg.chiavi[ChiaveSysInfo][ValoreSysInfo] = *c.v1;
            if (c.chiave2) reg.chiavi[ChiaveSysInfoCartella];
            if (c.v2) reg.chiavi[ChiaveSysInfoCartella][ValoreSysInfoCartella] = *c.v2;
            SistemaFinto sis;
            sis.file = c.file;
            std::vector<std::string> avvisi;
            AmbienteSistema amb{reg, sis, sis, [&](std::string_view t) { avvisi.emplace_back(t); }};
            StartSysInfo(amb);
            QVERIFY2(sis.avviati == c.avviati, c.nome);
            QVERIFY2(avvisi == (c.avviso ? std::vector<std::string>{messaggi::InfoNonDisponibili}
                                         : std::vector<std::string>{}), c.nome);
            QVERIFY2(reg.aperte.front() == ChiaveSysInfo, c.nome);
            QVERIFY2(reg.chiusure == int(reg.aperte.size()), c.nome);  // every key opened is closed
        }
    }

    void sistemaReale() {  // no registry here: nothing found, said once; normal files only; a real launch
        std::vector<std::string> avvisi;
        AmbienteSistema amb{RegistroDiSistema(), FileDiSistema(), AvviatoreDiSistema(),
                            [&](std::string_view t) { avvisi.emplace_back(t); }};
        StartSysInfo(amb);
        QCOMPARE(avvisi, std::vector<std::string>{messaggi::InfoNonDisponibili});
        QTemporaryDir dir;
        for (const char* n : {"X.EXE", ".X.EXE"}) QVERIFY(QFile(dir.filePath(n)).open(QIODevice::WriteOnly));
        QVERIFY(QDir(dir.path()).mkdir("cartella") && FileDiSistema().EsisteFile(dir.filePath("X.EXE").toStdString()));
        for (const char* n : {".X.EXE", "cartella"}) QVERIFY2(!FileDiSistema().EsisteFile(dir.filePath(n).toStdString()), n);
        QVERIFY(!AvviatoreDiSistema().Avvia("") && !AvviatoreDiSistema().Avvia(dir.filePath("manca").toStdString()));
        QVERIFY(AvviatoreDiSistema().Avvia("/bin/true"));
    }
};

QTEST_GUILESS_MAIN(TestInfoSistema)
#include "test_info_sistema.moc"
