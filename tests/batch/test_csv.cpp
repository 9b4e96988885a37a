// The CSV layer of the batch tool: splitting records, quoting, and the
// numbers of the two conventions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "batch/Csv.h"
#include "LetturaCsv.h"
#include "model/Formato.h"

using namespace termix::batch;
using namespace termix::batch::prova;

TEST(LettoreCsv, Record) {
    struct Caso {
        const char* nome;
        std::string testo;
        std::vector<Letto> attesi;
    };
    const Caso casi[] = {
        {"semplice", "a;b\n1;2\n", {{{"a", "b"}, 1, false, false}, {{"1", "2"}, 2, false, false}}},
        {"senza a capo finale", "a;b\n1;2", {{{"a", "b"}, 1, false, false}, {{"1", "2"}, 2, false, false}}},
        {"CRLF", "a;b\r\n1;2\r\n", {{{"a", "b"}, 1, false, false}, {{"1", "2"}, 2, false, false}}},
        {"CR da solo e' un dato", "a\rb;c\n", {{{"a\rb", "c"}, 1, false, false}}},
        {"CR finale senza LF", "a;b\r", {{{"a", "b\r"}, 1, false, false}}},
        {"BOM", "\xEF\xBB\xBFx;y\n", {{{"x", "y"}, 1, false, false}}},
        {"BOM solo all'inizio", "x\n\xEF\xBB\xBF\n", {{{"x"}, 1, false, false}, {{"\xEF\xBB\xBF"}, 2, false, false}}},
        {"inizio simile al BOM", "\xEF\xBBz\n", {{{"\xEF\xBBz"}, 1, false, false}}},
        {"virgolette", "\"a;b\";\"c\"\"d\"\n", {{{"a;b", "c\"d"}, 1, false, false}}},
        {"a capo tra virgolette", "\"r1\nr2\r\nr3\";x\ny\n",
         {{{"r1\nr2\r\nr3", "x"}, 1, false, false}, {{"y"}, 4, false, false}}},
        {"virgoletta dentro un campo", "ab\"c;d\n", {{{"ab\"c", "d"}, 1, false, false}}},
        {"testo dopo la chiusura", "\"ab\"c\";d\n", {{{"abc\"", "d"}, 1, false, true}}},
        {"campi vuoti", ";;\n", {{{"", "", ""}, 1, true, false}}},
        {"riga vuota", "a\n\nb\n", {{{"a"}, 1, false, false}, {{""}, 2, true, false}, {{"b"}, 3, false, false}}},
        {"solo spazi e separatori", "a;b\n  ;\t\n", {{{"a", "b"}, 1, false, false}, {{"  ", "\t"}, 2, true, false}}},
        {"virgolette vuote non sono vuote", "a;b\n\"\";\n", {{{"a", "b"}, 1, false, false}, {{"", ""}, 2, false, false}}},
        {"virgolette aperte alla fine", "a;b\n1;\"due\n3\n",
         {{{"a", "b"}, 1, false, false}, {{"1", "due"}, 2, false, true}, {{"3"}, 3, false, false}}},
        {"vuoto", "", {}},
        {"NUL e' un dato", std::string("a\0b;c\n", 6), {{{std::string("a\0b", 3), "c"}, 1, false, false}}},
    };
    for (const auto& c : casi) {
        for (size_t blocco : {size_t(0), size_t(1), size_t(2), size_t(3)})
            EXPECT_EQ(leggi(c.testo, blocco), c.attesi) << c.nome << ", blocchi di " << blocco;
    }
}

TEST(LettoreCsv, SeparatoreDallIntestazione) {
    struct Caso {
        const char* testo;
        char separatore;
        size_t campiSeconda;
    };
    const Caso casi[] = {
        {"a;b,c\n1;2,3\n", ';', 2},
        {"a,b;c\n1,2;3\n", ',', 2},
        {"\"a;b\",c\n1,2\n", ',', 2},  // inside quotes it does not count
        {"abc\n1,2;3\n", ';', 2},      // neither: ';'
    };
    for (const auto& c : casi) {
        char sep = 0;
        auto r = leggi(c.testo, 0, &sep);
        EXPECT_EQ(sep, c.separatore) << c.testo;
        ASSERT_EQ(r.size(), 2u);
        EXPECT_EQ(r[1].campi.size(), c.campiSeconda) << c.testo;
    }
}

TEST(ScriviCampo, VirgoletteSoloQuandoServono) {
    struct Caso {
        const char* campo;
        char sep;
        const char* atteso;
    };
    const Caso casi[] = {
        {"Forno 1", ';', "Forno 1"},   {"a;b", ';', "\"a;b\""},   {"a,b", ';', "a,b"},
        {"a,b", ',', "\"a,b\""},       {"a;b", ',', "a;b"},       {"di \"B\"", ';', "\"di \"\"B\"\"\""},
        {"r1\nr2", ',', "\"r1\nr2\""}, {"x\r", ';', "\"x\r\""},   {"", ';', ""},
    };
    for (const auto& c : casi) {
        std::string s;
        ScriviCampo(s, c.campo, c.sep);
        EXPECT_EQ(s, c.atteso) << c.campo;
        // and it reads back as it was
        auto r = leggi(std::string("h") + c.sep + "k\n" + s + "\n");
        ASSERT_EQ(r.size(), 2u);
        EXPECT_EQ(r[1].campi, std::vector<std::string>{c.campo});
    }
}

TEST(ScriviNumero, PiuCortoCheSiRilegge) {
    struct Caso {
        double x;
        const char* punto;
        const char* virgola;
    };
    const Caso casi[] = {
        {0.0, "0", "0"},
        {-0.0, "0", "0"},
        {12091.4325, "12091.4325", "12091,4325"},
        {0.1 + 0.2, "0.30000000000000004", "0,30000000000000004"},
        {1195800.0, "1195800", "1195800"},
        {-2.5, "-2.5", "-2,5"},
        {1e21, "1e+21", "1e+21"},
        {1.5e-7, "1.5e-07", "1,5e-07"},
    };
    for (const auto& c : casi) {
        std::string p, v;
        ScriviNumero(p, c.x, ',');
        ScriviNumero(v, c.x, ';');
        EXPECT_EQ(p, c.punto);
        EXPECT_EQ(v, c.virgola);
    }
}

TEST(ScriviNumero, OgniConvenzioneRileggeLoStessoDouble) {
    const double valori[] = {1314.636070947159, 0.39969944113855016, 2.2250738585072014e-308, 4.9e-324,
                             1.7976931348623157e308, -123456789.125, 1e-5, 7.0 / 3.0};
    for (double x : valori) {
        std::string p, v;
        ScriviNumero(p, x, ',');
        ScriviNumero(v, x, ';');
        auto a = LeggiNumeroPunto(p);
        auto b = termix::LeggiNumero(v);
        ASSERT_TRUE(a.has_value()) << p;
        EXPECT_EQ(std::memcmp(&*a, &x, sizeof x), 0) << p;
        // The numeric boxes read the comma form back to the same double.
        ASSERT_TRUE(b.has_value()) << v;
        EXPECT_EQ(std::memcmp(&*b, &x, sizeof x), 0) << v;
    }
}

TEST(LeggiNumeroPunto, SoloLaFormaInternazionale) {
    struct Caso {
        const char* testo;
        bool numero;
        double valore;
    };
    const Caso casi[] = {
        {"5", true, 5},          {"5.", true, 5},          {".5", true, 0.5},      {" -2.25 ", true, -2.25},
        {"+1.5e3", true, 1500},  {"1E-2", true, 0.01},     {"2.e1", true, 20},     {"\t7\t", true, 7},
        {"1e-400", true, 0},     {"", false, 0},           {"  ", false, 0},       {".", false, 0},
        {"-", false, 0},         {"e5", false, 0},         {"1e", false, 0},       {"1e+", false, 0},
        {"1.2.3", false, 0},     {"1,5", false, 0},        {"1 000", false, 0},    {"inf", false, 0},
        {"nan", false, 0},       {"0x10", false, 0},       {"1e400", false, 0},    {"--1", false, 0},
        {"+-1", false, 0},       {"1.5x", false, 0},       {"1_000", false, 0},    {"Infinity", false, 0},
    };
    for (const auto& c : casi) {
        auto v = LeggiNumeroPunto(c.testo);
        EXPECT_EQ(v.has_value(), c.numero) << '"' << c.testo << '"';
        if (v && c.numero) {
            EXPECT_EQ(*v, c.valore) << c.testo;
        }
    }
    auto z = LeggiNumeroPunto("-0");
    ASSERT_TRUE(z.has_value());
    EXPECT_TRUE(std::signbit(*z));
    auto u = LeggiNumeroPunto("-1e-400");  // below the range: a zero that keeps its sign
    ASSERT_TRUE(u.has_value());
    EXPECT_EQ(*u, 0.0);
    EXPECT_TRUE(std::signbit(*u));
    EXPECT_FALSE(LeggiNumeroPunto("-1e400").has_value());
    EXPECT_FALSE(LeggiNumeroPunto("-123456789e301").has_value());  // many digits before a big exponent
    EXPECT_EQ(*LeggiNumeroPunto("0.000001e-319"), 0.0);       // leading zeros count toward the exponent
    EXPECT_FALSE(LeggiNumeroPunto("0.01e311").has_value());  // 1e309: above the range
    auto s = LeggiNumeroPunto("4.9e-324");  // the smallest subnormal, not zero
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(*s, 4.9e-324);
}
