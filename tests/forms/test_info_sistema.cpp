// The system-information lookup of the About box, through scripted seams.
#include <QTemporaryDir>
#include <QtTest>

#include "forms/FakeSistema.h"
#include "forms/InfoSistema.h"
#include "model/Messaggi.h"

using namespace termix;
using termix::test::RegistroFinto;
using termix::test::SistemaFinto;
using termix::test::ValoreFinto;

namespace {

const std::string Msinfo = "C:\\Programmi\\MSInfo\\msinfo32.exe";
const std::string Cartella = "C:\\WINDOWS\\system32";
const std::string MsinfoCartella = "C:\\WINDOWS\\system32\\MSINFO32.EXE";

std::string conNul(const std::string& s) { return s + std::string(1, '\0'); }

std::string dword(std::uint32_t v) {
    std::string b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return b;
}

// A scripted machine: which values the two registry places hold and which
// files exist.
struct Scenario {
    bool primaChiave = false;
    std::optional<ValoreFinto> primo;
    bool secondaChiave = false;
    std::optional<ValoreFinto> secondo;
    std::set<std::string> file;
};

struct Esito {
    std::vector<std::string> messaggi;
    std::vector<std::string> avviati;
    std::vector<std::string> chiavi;
    int chiusure = 0;
    int aperteConSuccesso = 0;
};

Esito esegui(const Scenario& s) {
    RegistroFinto reg;
    if (s.primaChiave) {
        reg.chiavi[ChiaveSysInfo];
        if (s.primo)
            reg.chiavi[ChiaveSysInfo][ValoreSysInfo] = *s.primo;
    }
    if (s.secondaChiave) {
        reg.chiavi[ChiaveSysInfoCartella];
        if (s.secondo)
            reg.chiavi[ChiaveSysInfoCartella][ValoreSysInfoCartella] = *s.secondo;
    }
    SistemaFinto sis;
    sis.file = s.file;
    Esito e;
    AmbienteSistema amb{reg, sis, sis, [&](std::string_view t) { e.messaggi.emplace_back(t); }};
    StartSysInfo(amb);
    e.avviati = sis.avviati;
    e.chiavi = reg.aperte;
    e.chiusure = reg.chiusure;
    e.aperteConSuccesso = reg.aperteConSuccesso;
    return e;
}

}  // namespace

Q_DECLARE_METATYPE(Scenario)

class TestInfoSistema : public QObject {
    Q_OBJECT

private slots:
    void startSysInfo_data();
    void startSysInfo();
    void getKeyValue_data();
    void getKeyValue();
    void getKeyValueChiaveMancante();
    void sistemaReale();
};

void TestInfoSistema::startSysInfo_data() {
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<QString>("avviato");  // last launch attempted, empty = none
    QTest::addColumn<bool>("messaggio");
    QTest::addColumn<bool>("secondaCercata");

    const std::string lungo1024(1024, 'x');
    const auto q = [](const std::string& s) { return QString::fromStdString(s); };
    Scenario s;

    s = {};
    s.primaChiave = true;
    s.primo = ValoreFinto{TipoTesto, conNul(Msinfo)};
    s.secondaChiave = true;
    s.secondo = ValoreFinto{TipoTesto, conNul(Cartella)};
    s.file = {Msinfo, MsinfoCartella};
    QTest::newRow("first place found, second not looked at") << s << q(Msinfo) << false << false;

    s = {};
    s.primaChiave = true;
    s.primo = ValoreFinto{TipoTesto, conNul(Msinfo)};
    s.secondaChiave = true;
    s.secondo = ValoreFinto{TipoTesto, conNul(Cartella)};
    s.file = {MsinfoCartella};
    QTest::newRow("first place names a missing file") << s << q(Msinfo) << true << false;

    s = {};
    s.secondaChiave = true;
    s.secondo = ValoreFinto{TipoTesto, conNul(Cartella)};
    s.file = {MsinfoCartella};
    QTest::newRow("second place, program in the folder") << s << q(MsinfoCartella) << false << true;

    s = {};
    s.secondaChiave = true;
    s.secondo = ValoreFinto{TipoTesto, conNul(Cartella)};
    s.file = {Cartella + "\\msinfo.exe"};
    QTest::newRow("second place, folder without the program") << s << QString() << true << true;

    s = {};
    s.primaChiave = true;
    s.secondaChiave = true;
    QTest::newRow("keys without their values") << s << QString() << true << true;

    s = {};
    QTest::newRow("no keys at all") << s << QString() << true << true;

    s = {};
    s.primaChiave = true;
    s.primo = ValoreFinto{TipoTesto, ""};
    s.secondaChiave = true;
    s.secondo = ValoreFinto{TipoTesto, conNul(Cartella)};
    s.file = {MsinfoCartella};
    QTest::newRow("first value of size zero") << s << QString() << true << false;

    s = {};
    s.primaChiave = true;
    s.primo = ValoreFinto{TipoTesto, lungo1024};
    s.file = {lungo1024};
    QTest::newRow("1024 bytes without NUL taken whole") << s << q(lungo1024) << false << false;

    s = {};
    s.primaChiave = true;
    s.primo = ValoreFinto{TipoTesto, conNul(lungo1024)};
    s.file = {lungo1024};
    QTest::newRow("1025 bytes count as missing") << s << QString() << true << true;

    s = {};
    s.primaChiave = true;
    s.primo = ValoreFinto{TipoTesto, conNul(lungo1024)};
    s.secondaChiave = true;
    s.secondo = ValoreFinto{TipoTesto, conNul(Cartella)};
    s.file = {MsinfoCartella};
    QTest::newRow("too long first, second place used") << s << q(MsinfoCartella) << false << true;

    s = {};
    s.primaChiave = true;
    s.primo = ValoreFinto{TipoNumero, dword(0x12AB0F01)};
    QTest::newRow("number-typed value is not a program") << s << "&h12AB0F01" << true << false;

    s = {};
    s.primaChiave = true;
    s.primo = ValoreFinto{3, conNul(Msinfo)};  // REG_BINARY
    s.file = {Msinfo};
    QTest::newRow("value of another type gives an empty path") << s << "" << true << false;

    s = {};
    s.secondaChiave = true;
    s.secondo = ValoreFinto{3, conNul(Cartella)};
    s.file = {MsinfoCartella, "\\MSINFO32.EXE"};
    // The folder stays empty, so the program is looked for at the root.
    QTest::newRow("second place of another type") << s << "\\MSINFO32.EXE" << false << true;
}

void TestInfoSistema::startSysInfo() {
    QFETCH(Scenario, scenario);
    QFETCH(QString, avviato);
    QFETCH(bool, messaggio);
    QFETCH(bool, secondaCercata);

    const Esito e = esegui(scenario);

    if (messaggio) {
        QCOMPARE(e.messaggi.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(e.messaggi[0]),
                 QStringLiteral("Le informazioni sul sistema non sono disponibili in questa fase"));
    } else {
        QVERIFY(e.messaggi.empty());
    }
    // An empty expected path with a message means either no launch or the
    // launch of an empty path, told apart by the row's name.
    if (avviato.isNull()) {
        QVERIFY(e.avviati.empty());
    } else {
        QCOMPARE(e.avviati.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(e.avviati[0]), avviato);
    }
    QCOMPARE(e.chiavi.front(), std::string(ChiaveSysInfo));
    QCOMPARE(e.chiavi.size(), secondaCercata ? std::size_t{2} : std::size_t{1});
    if (secondaCercata)
        QCOMPARE(e.chiavi.back(), std::string(ChiaveSysInfoCartella));
    // Every key opened is closed again.
    QCOMPARE(e.chiusure, static_cast<int>(e.chiavi.size()));
}

void TestInfoSistema::getKeyValue_data() {
    QTest::addColumn<quint32>("tipo");
    QTest::addColumn<QByteArray>("dati");
    QTest::addColumn<QByteArray>("atteso");

    const auto b = [](const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); };
    QTest::newRow("text with its NUL") << quint32(TipoTesto) << b(conNul("C:\\A B\\x.exe")) << b("C:\\A B\\x.exe");
    QTest::newRow("text stored without NUL") << quint32(TipoTesto) << b("C:\\x.exe") << b("C:\\x.exe");
    QTest::newRow("single NUL is the empty text") << quint32(TipoTesto) << b(std::string(1, '\0')) << b("");
    QTest::newRow("inner NUL kept") << quint32(TipoTesto) << b(std::string("a\0b\0", 4)) << b(std::string("a\0b", 3));
    QTest::newRow("8-bit bytes kept") << quint32(TipoTesto) << b(conNul("C:\\Caff\xE8")) << b("C:\\Caff\xE8");
    QTest::newRow("exactly 1024 bytes") << quint32(TipoTesto) << b(std::string(1024, 'z')) << b(std::string(1024, 'z'));
    QTest::newRow("1023 bytes and NUL") << quint32(TipoTesto) << b(conNul(std::string(1023, 'z')))
                                        << b(std::string(1023, 'z'));
    QTest::newRow("number, last to first byte") << quint32(TipoNumero) << b(dword(0x12345678)) << b("&h12345678");
    QTest::newRow("number, low bytes two digits") << quint32(TipoNumero) << b(dword(0x7F0A0B01)) << b("&h7F0A0B01");
    // The top zero byte falls to the NUL rule; the text keeps the value.
    QTest::newRow("number with zero top byte") << quint32(TipoNumero) << b(dword(0x00001234)) << b("&h001234");
    QTest::newRow("other type leaves the value") << quint32(7) << b(conNul("x")) << b("prima");
}

void TestInfoSistema::getKeyValue() {
    QFETCH(quint32, tipo);
    QFETCH(QByteArray, dati);
    QFETCH(QByteArray, atteso);

    RegistroFinto reg;
    reg.chiavi["K"]["V"] = ValoreFinto{tipo, dati.toStdString()};
    std::string valore = "prima";
    QVERIFY(GetKeyValue(reg, RadiceHKLM, "K", "V", valore));
    QCOMPARE(QByteArray(valore.data(), qsizetype(valore.size())), atteso);
    QCOMPARE(reg.radici.at(0), quint32(0x80000002));
    QCOMPARE(reg.accessi.at(0), quint32(0x2003F));
    QCOMPARE(reg.chiusure, 1);
}

void TestInfoSistema::getKeyValueChiaveMancante() {
    struct Caso {
        const char* nome;
        bool chiave;
        std::string dati;  // value present when not empty
    };
    const Caso casi[] = {
        {"missing key", false, ""},
        {"missing value", true, ""},
        {"1025 bytes", true, std::string(1025, 'y')},
    };
    for (const auto& c : casi) {
        RegistroFinto reg;
        if (c.chiave)
            reg.chiavi["K"];
        if (!c.dati.empty())
            reg.chiavi["K"]["V"] = ValoreFinto{TipoTesto, c.dati};
        std::string valore = "prima";
        QVERIFY2(!GetKeyValue(reg, RadiceHKLM, "K", "V", valore), c.nome);
        QVERIFY2(valore.empty(), c.nome);
        QVERIFY2(reg.chiusure == 1, c.nome);
    }

    // Size zero is an error of its own, not a quiet False.
    RegistroFinto reg;
    reg.chiavi["K"]["V"] = ValoreFinto{TipoTesto, ""};
    std::string valore = "prima";
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, GetKeyValue(reg, RadiceHKLM, "K", "V", valore));
    QCOMPARE(reg.chiusure, 1);
}

void TestInfoSistema::sistemaReale() {
#ifndef _WIN32
    // No registry here: the lookup finds nothing and says so, once.
    std::vector<std::string> messaggi;
    AmbienteSistema amb{RegistroDiSistema(), FileDiSistema(), AvviatoreDiSistema(),
                        [&](std::string_view t) { messaggi.emplace_back(t); }};
    StartSysInfo(amb);
    QCOMPARE(messaggi.size(), std::size_t{1});
    QCOMPARE(messaggi[0], std::string(messaggi::InfoNonDisponibili));

    std::string valore = "prima";
    QVERIFY(!GetKeyValue(RegistroDiSistema(), RadiceHKLM, ChiaveSysInfo, ValoreSysInfo, valore));
    QVERIFY(valore.empty());

    // Normal files only.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString normale = dir.filePath("MSINFO32.EXE");
    const QString nascosto = dir.filePath(".MSINFO32.EXE");
    for (const QString& p : {normale, nascosto}) {
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkdir("cartella"));
    QVERIFY(FileDiSistema().EsisteFile(normale.toStdString()));
    QVERIFY(!FileDiSistema().EsisteFile(nascosto.toStdString()));
    QVERIFY(!FileDiSistema().EsisteFile(dir.filePath("cartella").toStdString()));
    QVERIFY(!FileDiSistema().EsisteFile(dir.filePath("manca").toStdString()));

    // The launch: a missing or empty path fails, a real program starts.
    QVERIFY(!AvviatoreDiSistema().Avvia(""));
    QVERIFY(!AvviatoreDiSistema().Avvia(dir.filePath("manca").toStdString()));
    QVERIFY(AvviatoreDiSistema().Avvia("/bin/true"));
#endif
}

QTEST_GUILESS_MAIN(TestInfoSistema)
#include "test_info_sistema.moc"
