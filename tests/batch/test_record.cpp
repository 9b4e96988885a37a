// One record through the batch path: the order of the steps, every kind of
// Esito, and the same doubles the core gives when driven by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "batch/Csv.h"
#include "batch/Record.h"
#include "combustion/CalcoloCondizioni.h"
#include "model/Messaggi.h"
#include "support/Casi.h"

using namespace termix;
using namespace termix::batch;

namespace {

struct Caso {
    Intestazione h;
    std::vector<std::string> campi;
    RisultatoRecord r;
    VistaForme vista;
};

// Header and one data record, computed.
Caso elabora(const std::string& csv) {
    Caso c;
    LettoreCsv l;
    int n = 0;
    Difetto aperto = Difetto::Nessuno;
    auto cb = [&](const RecordCsv& r) {
        if (n++ == 0) {
            auto errore = LeggiIntestazione(r.campi, l.separatore(), c.h);
            EXPECT_FALSE(errore.has_value()) << *errore;
            return;
        }
        for (auto f : r.campi) c.campi.emplace_back(f);
        aperto = r.difetto;
    };
    l.alimenta(csv.data(), csv.size(), cb);
    l.fine(cb);
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
    Modulo1 atteso = prova::metano();
    ASSERT_TRUE(EseguiCalcolo(atteso).completato);
    for (const char* csv : {MetanoIt, MetanoEn}) {
        Caso c = elabora(csv);
        ASSERT_EQ(c.r.stato, RisultatoRecord::Stato::Completato) << c.r.esito;
        EXPECT_EQ(c.r.esito, "OK");
        for (const auto& col : ColonneValori)
            EXPECT_TRUE(stessiBit((c.r.m.*col.variabile).v, (atteso.*col.variabile).v)) << col.nome;
        for (const auto& x : prova::scritti(prova::CasiLavorati[0]))  // the methane texts of the forms
            EXPECT_EQ(c.vista.testo(x.finestra, x.box), x.testo) << x.box;
        EXPECT_EQ(c.vista.testo(Finestra::Form2, "Text2"), "Metano");  // the preset writes over the typed name
        EXPECT_TRUE(c.vista.selezionato(Finestra::Form2, "Option1") && c.vista.selezionato(Finestra::Form2, "Option3"));
        EXPECT_FALSE(c.vista.selezionato(Finestra::Form2, "Option2") || c.vista.selezionato(Finestra::Form2, "Option4"));
    }
    const VistaForme v = elabora(MetanoIt).vista, e = elabora(MetanoEn).vista;
    EXPECT_EQ(v.testo(Finestra::Form2, "Text1"), "Forno");
    EXPECT_EQ(v.testo(Finestra::Form2, "Text20"), "100");
    EXPECT_EQ(v.testo(Finestra::Form3, "Text2"), "20");
    EXPECT_EQ(e.testo(Finestra::Form3, "Text2"), "20,00");  // as typed, with the comma
    EXPECT_EQ(e.testo(Finestra::Form3, "Text10"), "5,0");
    EXPECT_EQ(e.testo(Finestra::Form2, "Text3"), "1");  // preset over an absent cell
}

TEST(ElaboraRecord, PotereCalorificoStimatoODigitato) {
    // "&No": 7783 x 0.75 + 25016.73 x 0.25, the double itself, not the 12091,43 shown.
    Caso c = elabora("Tipo;Composizione;FrazC;FrazH;PortataComb;EccessoAria;TempAria;UmiditaRelativa;PotereCalorifico\n"
                     "Altri;Ponderale;0,75;0,25;100;20;20;50;  \n");
    ASSERT_EQ(c.r.stato, RisultatoRecord::Stato::Completato) << c.r.esito;
    EXPECT_TRUE(stessiBit(c.r.m.PotereCalorifico.v, ((7783 * 0.75 + 25016.73 * (0.25 - 0.0 / 8)) - 422.505 * 0.0) + 2501.673 * 0.0));
    EXPECT_EQ(c.vista.testo(Finestra::Form3, "Text1"), "12091,43");
    c = elabora("Tipo;PotereCalorifico;PortataComb;EccessoAria\nMetano;9.500,5;100;20\n");  // typed over the preset
    ASSERT_EQ(c.r.stato, RisultatoRecord::Stato::Completato) << c.r.esito;
    EXPECT_EQ(c.r.m.EnergiaIngresso.v, 950050.0);
    EXPECT_EQ(c.vista.testo(Finestra::Form3, "Text1"), "9.500,5");
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
    for (const auto& c : casi) {
        Caso r = elabora(c.csv);
        EXPECT_EQ(r.r.stato, c.stato) << c.nome;
        EXPECT_EQ(r.r.esito, c.esito) << c.nome;
        if (c.stato == RisultatoRecord::Stato::Malformato) {
            EXPECT_FALSE(r.r.diagnosi.empty()) << c.nome;
        }
    }
}
