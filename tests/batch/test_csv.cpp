// The CSV layer of the batch tool: splitting records, quoting, and the
// numbers of the two conventions.
#include <gtest/gtest.h>

#include <algorithm>
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
        char separatore = ';';  // the header's, outside quotes; neither: ';'
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
        {"campi vuoti", ";;\n", {{{"", "", ""}, 1, true, false}}, '\0'},  // a blank line decides nothing
        {"riga vuota", "a\n\nb\n", {{{"a"}, 1, false, false}, {{""}, 2, true, false}, {{"b"}, 3, false, false}}},
        {"solo spazi e separatori", "a;b\n  ;\t\n", {{{"a", "b"}, 1, false, false}, {{"  ", "\t"}, 2, true, false}}},
        {"virgolette vuote non sono vuote", "a;b\n\"\";\n", {{{"a", "b"}, 1, false, false}, {{"", ""}, 2, false, false}}},
        {"virgolette aperte alla fine", "a;b\n1;\"due\n3\n",
         {{{"a", "b"}, 1, false, false}, {{"1", "due"}, 2, false, true}, {{"3"}, 3, false, false}}},
        {"vuoto", "", {}},
        {"NUL e' un dato", std::string("a\0b;c\n", 6), {{{std::string("a\0b", 3), "c"}, 1, false, false}}},
        {"prima ';'", "a;b,c\n1;2,3\n", {{{"a", "b,c"}, 1, false, false}, {{"1", "2,3"}, 2, false, false}}},
        {"prima ','", "a,b;c\n1,2;3\n", {{{"a", "b;c"}, 1, false, false}, {{"1", "2;3"}, 2, false, false}}, ','},
        {"';' tra virgolette", "\"a;b\",c\n1,2\n", {{{"a;b", "c"}, 1, false, false}, {{"1", "2"}, 2, false, false}}, ','},
        {"nessun separatore", "abc\n1,2;3\n", {{{"abc"}, 1, false, false}, {{"1,2", "3"}, 2, false, false}}},
    };
    for (const auto& c : casi) {
        for (size_t blocco : {size_t(0), size_t(1), size_t(2), size_t(3)}) {
            char separatore = 0;
            EXPECT_EQ(leggi(c.testo, blocco, &separatore), c.attesi) << c.nome << ", blocchi di " << blocco;
            EXPECT_EQ(separatore, c.attesi.empty() ? separatore : c.separatore) << c.nome;
        }
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
    const struct { double x; const char* punto; } casi[] = {
        {0.0, "0"}, {-0.0, "0"}, {12091.4325, "12091.4325"}, {0.1 + 0.2, "0.30000000000000004"},
        {1195800.0, "1195800"}, {-2.5, "-2.5"}, {1e21, "1e+21"}, {1.5e-7, "1.5e-07"},
    };
    for (const auto& c : casi) {
        std::string p, v, atteso = c.punto;
        ScriviNumero(p, c.x, ',');
        ScriviNumero(v, c.x, ';');
        EXPECT_EQ(p, atteso);
        std::replace(atteso.begin(), atteso.end(), '.', ',');
        EXPECT_EQ(v, atteso);
    }
    // Each convention reads back the same double, the comma form through the numeric boxes' reader.
    for (double x : {1314.636070947159, 0.39969944113855016, 2.2250738585072014e-308, 4.9e-324,
                     1.7976931348623157e308, -123456789.125, 1e-5, 7.0 / 3.0}) {
        std::string p, v;
        ScriviNumero(p, x, ',');
        ScriviNumero(v, x, ';');
        auto a = LeggiNumeroPunto(p);
        auto b = termix::LeggiNumero(v);
        ASSERT_TRUE(a && b) << p;
        EXPECT_EQ(std::memcmp(&*a, &x, sizeof x), 0) << p;
        EXPECT_EQ(std::memcmp(&*b, &x, sizeof x), 0) << v;
    }
}

TEST(LeggiNumeroPunto, SoloLaFormaInternazionale) {
    const struct { const char* testo; double valore; } numeri[] = {
        {"5", 5}, {"5.", 5}, {".5", 0.5}, {" -2.25 ", -2.25}, {"+1.5e3", 1500}, {"1E-2", 0.01}, {"2.e1", 20},
        {"\t7\t", 7}, {"1e-400", 0}, {"0.000001e-319", 0},  // leading zeros count toward the exponent
        {"4.9e-324", 4.9e-324},                             // the smallest subnormal, not zero
    };
    for (const auto& c : numeri) {
        auto v = LeggiNumeroPunto(c.testo);
        ASSERT_TRUE(v.has_value()) << '"' << c.testo << '"';
        EXPECT_EQ(*v, c.valore) << c.testo;
    }
    for (const char* t : {"", "  ", ".", "-", "e5", "1e", "1e+", "1.2.3", "1,5", "1 000", "inf", "nan", "0x10",
                          "1e400", "-1e400", "--1", "+-1", "1.5x", "1_000", "Infinity",
                          "-123456789e301",  // many digits before a big exponent
                          "0.01e311"})       // 1e309: above the range
        EXPECT_FALSE(LeggiNumeroPunto(t).has_value()) << '"' << t << '"';
    for (const char* t : {"-0", "-1e-400"}) {  // zeros that keep their sign
        auto z = LeggiNumeroPunto(t);
        ASSERT_TRUE(z.has_value());
        EXPECT_EQ(*z, 0.0);
        EXPECT_TRUE(std::signbit(*z)) << t;
    }
}
