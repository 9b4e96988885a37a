// The CSV layer of the batch tool (splitting records, quoting, the numbers of the two conventions), then one record
// through the batch path: every kind of Esito, and the same doubles the core gives when driven by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "batch/Csv.h"
#include "batch/Record.h"
#include "combustion/CalcoloCondizioni.h"
#include "LetturaCsv.h"
#include "model/Formato.h"
#include "model/Messaggi.h"
#include "support/Casi.h"

using namespace termix;
using namespace termix::batch;
using namespace termix::batch::prova;

TEST(LettoreCsv, Record) {
    // The separator is the header's, outside quotes; neither: ';'.
    const struct { const char* nome; std::string testo; std::vector<Letto> attesi; char separatore = ';'; } casi[] = {
        {"semplice", "a;b\n1;2\n", {{{"a", "b"}, 1, false, false}, {{"1", "2"}, 2, false, false}}},
        {"senza a capo finale", "a;b\n1;2", {{{"a", "b"}, 1, false, false}, {{"1", "2"}, 2, false, false}}},
        {"CRLF", "a;b\r\n1;2\r\n", {{{"a", "b"}, 1, false, false}, {{"1", "2"}, 2, false, false}}},
        {"CR da solo e' un dato", "a\rb;c\n", {{{"a\rb", "c"}, 1, false, false}}},
        {"CR finale senza LF", "a;b\r", {{{"a", "b\r"}, 1, false, false}}},
        {"CR da solo non e' una riga vuota", "a\n\r;\n", {{{"a"}, 1, false, false}, {{"\r", ""}, 2, false, false}}},
        {"BOM", "\xEF\xBB\xBFx;y\n", {{{"x", "y"}, 1, false, false}}},
        {"BOM solo all'inizio", "x\n\xEF\xBB\xBF\n", {{{"x"}, 1, false, false}, {{"\xEF\xBB\xBF"}, 2, false, false}}},
        {"inizio simile al BOM", "\xEF\xBBz\n", {{{"\xEF\xBBz"}, 1, false, false}}},
        {"inizio del BOM e basta", "\xEF\xBB", {{{"\xEF\xBB"}, 1, false, false}}},
        {"virgolette", "\"a;b\";\"c\"\"d\"\n", {{{"a;b", "c\"d"}, 1, false, false}}},
        {"a capo tra virgolette", "\"r1\nr2\r\nr3\";x\ny\n",
         {{{"r1\nr2\r\nr3", "x"}, 1, false, false}, {{"y"}, 4, false, false}}},
        {"virgoletta dentro un campo", "ab\"c;d\n", {{{"ab\"c", "d"}, 1, false, false}}},
        {"testo dopo la chiusura", "\"ab\"c\";d\n", {{{"abc\"", "d"}, 1, false, true}}},
        {"testo dopo la chiusura fino a capo", "\"ab\"c\ne\n", {{{"abc"}, 1, false, true}, {{"e"}, 2, false, false}}},
        {"CR dopo la chiusura", "\"x\"\ry;z\r\n\"w\"\r\n", {{{"x\ry", "z"}, 1, false, true}, {{"w"}, 2, false, false}}},
        {"CR alla fine dopo la chiusura", "\"x\"\r", {{{"x\r"}, 1, false, true}}},
        {"CR prima di virgolette aperte a fine linea", "a\r;\"\nx\"y\nz\n",
         {{{"a\r", ""}, 1, false, true}, {{"x\"y"}, 2, false, false}, {{"z"}, 3, false, false}}},
        {"testo dopo la chiusura, dopo un campo su due linee", "\"a\nb\";\"c\"x\ny\n",
         {{{"a\nb", "cx"}, 1, false, true}, {{"y"}, 3, false, false}}},
        {"campi vuoti", ";;\n", {{{"", "", ""}, 1, true, false}}, '\0'},  // a blank line decides nothing
        {"riga vuota", "a\n\nb\n", {{{"a"}, 1, false, false}, {{""}, 2, true, false}, {{"b"}, 3, false, false}}},
        {"solo spazi e separatori", "a;b\n  ;\t\n", {{{"a", "b"}, 1, false, false}, {{"  ", "\t"}, 2, true, false}}},
        {"virgolette vuote non sono vuote", "a;b\n\"\";\n", {{{"a", "b"}, 1, false, false}, {{"", ""}, 2, false, false}}},
        {"virgolette aperte alla fine", "a;b\n1;\"due\n3\n",
         {{{"a", "b"}, 1, false, false}, {{"1", "due"}, 2, false, true}, {{"3"}, 3, false, false}}},
        {"vuoto", "", {}}, {"NUL e' un dato", std::string("a\0b;c\n", 6), {{{std::string("a\0b", 3), "c"}, 1, false, false}}},
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

// A misspelt column names the one a person would mean, or none when it is another word. A swap
// of neighbours or a wrong letter is one edit (AtomiS, FrazH, not AtomiC, FrazC two edits away).
TEST(ColonnaSimile, Refusi) {
    const std::pair<const char*, const char*> casi[] = {
        {"EcessoAria", "EccessoAria"}, {"tempaira", "TempAria"}, {"Umidita Relativa", "UmiditaRelativa"},
        {"Dispersione", "Dispersioni"}, {"AtomSi", "AtomiS"},    {"FracH", "FrazH"},  {"FrazCll", "FrazCl"},
        {"Acuqa", "Acqua"},             {"acq", "Acqua"},        {"TempCenere", "TempCeneri"},
        {"PortataCombustibile", nullptr}, {"Pressione", nullptr}, {"ID", nullptr}, {"Ecc", nullptr},
        {"PotereCalori", "PotereCalorifico"}, {"Dispers", nullptr},  // four letters short: a third of a long name only
    };
    for (auto [refuso, atteso] : casi) EXPECT_STREQ(ColonnaSimile(refuso), atteso) << refuso;
}

TEST(ScriviCampo, VirgoletteSoloQuandoServono) {
    const struct { const char* campo; char sep; const char* atteso; } casi[] = {
        {"Forno 1", ';', "Forno 1"},   {"a;b", ';', "\"a;b\""},   {"a,b", ';', "a,b"},
        {"a,b", ',', "\"a,b\""},       {"a;b", ',', "a;b"},       {"di \"B\"", ';', "\"di \"\"B\"\"\""},
        {"r1\nr2", ',', "\"r1\nr2\""}, {"x\r", ';', "\"x\r\""},   {"", ';', ""},
    };
    for (const auto& c : casi) {
        std::string s;
        ScriviCampo(s, c.campo, c.sep);
        EXPECT_EQ(s, c.atteso) << c.campo;  // and it reads back as it was:
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
        ScriviNumero(p, c.x, ','), ScriviNumero(v, c.x, ';');
        EXPECT_EQ(p, atteso);
        std::replace(atteso.begin(), atteso.end(), '.', ',');
        EXPECT_EQ(v, atteso);
    }
    // Each convention reads back the same double, the comma form through the numeric boxes' reader.
    for (double x : {1314.636070947159, 0.39969944113855016, 2.2250738585072014e-308, 4.9e-324,
                     1.7976931348623157e308, -123456789.125, 1e-5, 7.0 / 3.0}) {
        std::string p, v;
        ScriviNumero(p, x, ','), ScriviNumero(v, x, ';');
        auto a = LeggiNumeroPunto(p), b = termix::LeggiNumero(v);
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
    for (const auto& c : numeri) EXPECT_EQ(LeggiNumeroPunto(c.testo), std::optional<double>(c.valore)) << '"' << c.testo << '"';
    for (const char* t : {"", "  ", ".", "-", "e5", "1e", "1e+", "1.2.3", "1,5", "1 000", "inf", "nan", "0x10",
                          "1e400", "-1e400", "--1", "+-1", "1.5x", "1_000", "Infinity",
                          "-123456789e301",  // many digits before a big exponent
                          "0.01e311"})       // 1e309: above the range
        EXPECT_FALSE(LeggiNumeroPunto(t).has_value()) << '"' << t << '"';
    for (const char* t : {"-0", "-1e-400"}) {  // zeros that keep their sign
        auto z = LeggiNumeroPunto(t);
        ASSERT_TRUE(z.has_value());
        EXPECT_TRUE(*z == 0.0 && std::signbit(*z)) << t;
    }
}

namespace {

struct Caso { Intestazione h; std::vector<std::string> campi; RisultatoRecord r; VistaForme vista; };

// Header and one data record, computed; on `riusato`'s record when given (a
// worker computes many rows on the same record).
Caso elabora(const std::string& csv, Caso* riusato = nullptr) {
    Caso c;
    if (riusato) c.r = std::move(riusato->r), c.vista = std::move(riusato->vista);
    LettoreCsv l;
    int n = 0;
    Difetto aperto = Difetto::Nessuno;
    auto cb = [&](const RecordCsv& r) {
        if (n++ == 0) {
            auto errore = LeggiIntestazione(r.campi, l.separatore(), c.h);
            EXPECT_FALSE(errore.has_value()) << *errore;
        } else {
            c.campi.assign(r.campi.begin(), r.campi.end()), aperto = r.difetto;
        }
    };
    l.alimenta(csv.data(), csv.size(), cb), l.fine(cb);
    EXPECT_EQ(n, 2) << csv;
    std::vector<std::string_view> viste(c.campi.begin(), c.campi.end());
    ElaboraRecord(c.h, viste, aperto, c.r, &c.vista);
    return c;
}

bool stessiBit(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

const char* const MetanoIt =
    "Impianto;Combustibile;Tipo;PortataComb;EccessoAria;TempAria;UmiditaRelativa;TempCeneri;Dispersioni\n"
    "Forno;gas;Metano;100;20;20;50;20;5\n";
const char* const MetanoEn =
    "dispersioni , TEMPCENERI,UmiditaRelativa,TempAria,EccessoAria,PortataComb,tipo,Impianto,\n"
    "5.0,2e1,50,20,20.00,1e2, metano ,Forno,\n";

}  // namespace

TEST(ElaboraRecord, MetanoComeNelCalcoloGuidatoETestiDelleMaschere) {
    // The methane worked run driven through the core by hand; both conventions give its doubles.
    Modulo1 atteso = termix::prova::metano();
    ASSERT_TRUE(EseguiCalcolo(atteso).completato);
    for (const char* csv : {MetanoIt, MetanoEn}) {
        Caso c = elabora(csv);
        ASSERT_EQ(c.r.stato, RisultatoRecord::Stato::Completato) << c.r.esito;
        EXPECT_EQ(c.r.esito, "OK");
        for (const Grandezza* col : ColonneValori())
            EXPECT_TRUE(stessiBit((c.r.m.*col->variabile).v, (atteso.*col->variabile).v)) << col->nome;
        for (const auto& x : termix::prova::scritti(termix::prova::CasiLavorati[0]))  // the methane texts of the forms
            EXPECT_EQ(c.vista.testo(x.bersaglio), x.testo) << x.testo;
        EXPECT_EQ(c.vista.testo(Quantita::Combustibile), "Metano");  // the preset writes over the typed name
        EXPECT_TRUE(c.vista.selezionato(Ruolo::Metano) && c.vista.selezionato(Ruolo::Atomica));
        EXPECT_FALSE(c.vista.selezionato(Ruolo::Altri) || c.vista.selezionato(Ruolo::Ponderale));
    }
    const VistaForme v = elabora(MetanoIt).vista, e = elabora(MetanoEn).vista;
    EXPECT_EQ(elabora(MetanoIt).h.campoDiColonna[Indice(Quantita::PotereCalorifico)], -1);  // a column the file lacks
    // As typed, with the comma; the preset over an absent cell.
    for (auto [vista, q, testo] : {std::tuple{&v, Quantita::Impianto, "Forno"}, {&v, Quantita::PortataComb, "100"},
                                   {&v, Quantita::EccessoAria, "20"}, {&e, Quantita::EccessoAria, "20,00"},
                                   {&e, Quantita::Dispersioni, "5,0"}, {&e, Quantita::AtomiC, "1"}})
        EXPECT_EQ(vista->testo(q), testo) << testo;
}

TEST(ElaboraRecord, PotereCalorificoStimatoODigitato) {
    // "&No": 7783 x 0.75 + 25016.73 x 0.25, the double itself, not the 12091,43 shown.
    Caso c = elabora("Tipo;Composizione;FrazC;FrazH;PortataComb;EccessoAria;TempAria;UmiditaRelativa;PotereCalorifico\n"
                     "Altri;Ponderale;0,75;0,25;100;20;20;50;  \n");
    ASSERT_EQ(c.r.stato, RisultatoRecord::Stato::Completato) << c.r.esito;
    EXPECT_DOUBLE_EQ(c.r.m.PotereCalorifico.v, 12091.4325);
    EXPECT_EQ(c.vista.testo(Quantita::PotereCalorifico), "12091,43");
    c = elabora("Tipo;PotereCalorifico;PortataComb;EccessoAria\nMetano;9.500,5;100;20\n");  // typed over the preset
    ASSERT_EQ(c.r.stato, RisultatoRecord::Stato::Completato) << c.r.esito;
    EXPECT_EQ(c.r.m.EnergiaIngresso.v, 950050.0);
    EXPECT_EQ(c.vista.testo(Quantita::PotereCalorifico), "9.500,5");
}

TEST(ElaboraRecord, OgniEsito) {
    using S = RisultatoRecord::Stato;
    const std::string v = messaggi::VerificareInput, numeri = messaggi::UsareNumeri, virgola = messaggi::UsareVirgola;
    const struct { const char* nome; std::string csv; S stato; std::string esito; } casi[] = {
        {"punto in italiano", "Tipo;EccessoAria\nMetano;1.5\n", S::Fermato, numeri},
        {"punto finale", "Tipo;EccessoAria\nMetano;20.\n", S::Fermato, virgola},
        {"punto finale in inglese", "Tipo,EccessoAria,PortataComb\nMetano,20.,100\n", S::Completato, "OK"},
        {"virgola in inglese", "Tipo,EccessoAria\nMetano,\"20,5\"\n", S::Fermato, numeri},
        {"prima cella nell'ordine del file", "TempAria;EccessoAria\nabc;5.\n", S::Fermato, numeri},
        {"stesse celle in ordine inverso", "EccessoAria;TempAria\n5.;abc\n", S::Fermato, virgola},
        {"numero fuori scala", "PortataComb\n1e999\n", S::Fermato, numeri},
        {"atomi tutti zero", "Tipo;Composizione\nAltri;Atomica\n", S::Fermato, v},
        {"inerti e acqua = 1", "Tipo;Composizione;AtomiC;Inerti;Acqua\nAltri;Atomica;1;0,5;0,5\n", S::Fermato, v},
        {"stima che trabocca", "FrazC;PortataComb\n1e308;100\n", S::Fermato, v},
        {"portata zero", "Tipo\nMetano\n", S::Fermato, std::string(messaggi::PotereInadeguato) + " | " + v},
        {"tipo vuoto", "Tipo;PortataComb;Composizione\n;100;\n", S::Fermato, std::string(messaggi::PotereInadeguato) + " | " + v},
        {"testo che trabocca", "Tipo;PortataComb;Dispersioni\nMetano;1e304;0\n", S::Fermato, v},  // checked, not shown
        {"cloro senza eccesso d'aria",
         "Tipo;Composizione;AtomiC;AtomiH;AtomiCl;PortataComb;EccessoAria;TempAria\nAltri;Atomica;1;3;1;100;0;20\n",
         S::Fermato, v},
        {"tipo sconosciuto", "Tipo;EccessoAria\nGasolio;abc\n", S::Malformato, RigaNonValida},
        {"composizione sconosciuta", "Composizione\nmolare\n", S::Malformato, RigaNonValida},
        {"campi in meno", "Tipo;EccessoAria\nMetano\n", S::Malformato, RigaNonValida},
        {"campi in piu'", "Tipo;EccessoAria\nMetano;1;2\n", S::Malformato, RigaNonValida},
        {"virgolette aperte", "Impianto;Tipo\n\"Forno;Metano\n", S::Malformato, RigaNonValida},
    };
    for (const auto& c : casi)
        for (bool dopoMetano : {false, true}) {  // nothing of the row before stays
            Caso prima = elabora(MetanoIt);
            Caso r = elabora(c.csv, dopoMetano ? &prima : nullptr);
            EXPECT_EQ(r.r.stato, c.stato) << c.nome;
            EXPECT_EQ(r.r.esito, c.esito) << c.nome;
            EXPECT_TRUE(c.stato != S::Malformato || !r.r.diagnosi.empty()) << c.nome;
        }
}
