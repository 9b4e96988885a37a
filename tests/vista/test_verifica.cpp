// The Verifica view model, which the window, the page and the batch tool all
// read through: what an empty box means, the incineration rules' target read
// on the waste before its support fuel, the refusals, and the case's warnings
// holding the verdict back.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "batch/Aiuto.h"
#include "combustion/Avvisi.h"
#include "model/Messaggi.h"
#include "support/Casi.h"
#include "vista/Camino.h"
#include "vista/Verifica.h"

using namespace termix;
using namespace termix::vista;

namespace {

using Testi = std::map<std::string, std::string>;  // input name -> text as typed (a list: its choice's name)

// The boxes as typed: the text of each input named in `t`, empty for the others.
TestoCampo testi(const Testi& t) {
    return [&t](const CampoVerifica& c) {
        const auto i = t.find(c.nome);
        return i == t.end() ? std::string() : i->second;
    };
}

LetturaVerifica leggi(const Testi& t, char separatore = ';') { return LeggiVerifica(testi(t), separatore); }

}  // namespace

// One table: the inputs as typed on the 1,05 % chlorine waste (or methane) and
// what the run makes of them. The 1100 °C figure comes from the waste's own
// chlorine: 51 kg/h of support methane bring the blend under 1 % and must not
// bring the figure down.
TEST(VistaVerifica, EmptyBoxesMeanTheRulesAndTheTargetReadsTheWaste) {
    const struct Riga {
        const char* nome;
        IngressiCaso (*caso)();
        Testi testi;
        char separatore;
        const char* rifiuto;          // null: read well
        const char* campo;            // the input refused
        double obiettivo = 0;         // °C
        bool presunto = false;
        const char* verdetto = "";    // its start
        bool cloroMiscelaSopra1 = false;  // the blend's chlorine over 1 %
        bool rugiadaSolforica = false;
    } righe[] = {
        {"metano, tutto vuoto", prova::casoMetano, {}, ';', nullptr, nullptr, 850, true,
         "850 °C per 2 s: raggiunti (T = 16", false, false},
        {"1,05 % Cl, tutto vuoto", prova::casoRifiutoAlLimite, {}, ';', nullptr, nullptr, 1100, true,
         "1100 °C per 2 s: ", true, true},
        {"1,05 % Cl + 49 kg/h di metano", prova::casoRifiutoAlLimite,
         {{"SupportoTipo", "Metano"}, {"SupportoPortata", "49"}}, ';', nullptr, nullptr, 1100, true, "1100 °C per 2 s: ",
         true, true},
        {"1,05 % Cl + 51 kg/h di metano", prova::casoRifiutoAlLimite,
         {{"SupportoTipo", "Metano"}, {"SupportoPortata", "51"}}, ';', nullptr, nullptr, 1100, true, "1100 °C per 2 s: ",
         false, true},
        {"cloro inorganico: 850 scritto", prova::casoRifiutoAlLimite, {{"ObiettivoVerifica", "850"}}, ';', nullptr, nullptr,
         850, false, "850 °C per 2 s: ", true, true},
        {"SO3 0: nessuna rugiada solforica", prova::casoRifiutoAlLimite, {{"ConversioneSO3", "0"}}, ';', nullptr,
         nullptr, 1100, true, "1100 °C per 2 s: ", true, false},
        {"permanenza 3, O2 nessuno", prova::casoMetano, {{"TempoPermanenza", "3"}, {"O2Riferimento", "nessuno"}}, ';',
         nullptr, nullptr, 850, true, "850 °C per 3 s: raggiunti", false, false},
        {"cella con il punto", prova::casoMetano, {{"TempoPermanenza", " 2.5 "}}, ',', nullptr, nullptr, 850, true,
         "850 °C per 2,5 s: raggiunti", false, false},
        {"permanenza 0", prova::casoMetano, {{"TempoPermanenza", "0"}}, ';',
         "Il tempo di permanenza deve essere maggiore di 0", "TempoPermanenza"},
        {"punto finale", prova::casoMetano, {{"TempoPermanenza", "2."}}, ';', messaggi::UsareVirgola, "TempoPermanenza"},
        {"obiettivo non numerico", prova::casoMetano, {{"ObiettivoVerifica", "alto"}}, ';', messaggi::UsareNumeri,
         "ObiettivoVerifica"},
        {"supporto sconosciuto", prova::casoMetano, {{"SupportoTipo", "Gasolio"}}, ';',
         "SupportoTipo sconosciuto: \"Gasolio\" (Nessuno, Metano o Ponderale)", "SupportoTipo"},
        {"acqua del supporto oltre 1", prova::casoMetano, {{"SupportoTipo", "Ponderale"}, {"SupportoAcqua", "1,5"}},
         ';', "Le frazioni del combustibile di supporto devono essere tra 0 e 1", nullptr},
        {"frazioni del supporto vuote", prova::casoMetano, {{"SupportoTipo", "Ponderale"}}, ';',
         "Le frazioni del combustibile di supporto non sommano a 1 (somma 0)", nullptr},
    };
    for (const Riga& r : righe) {
        SCOPED_TRACE(r.nome);
        const IngressiCaso caso = r.caso();
        const LetturaVerifica l = leggi(r.testi, r.separatore);
        EXPECT_EQ(l.rifiuto, r.rifiuto ? r.rifiuto : "");
        EXPECT_STREQ(l.campo ? l.campo->nome : nullptr, r.campo);
        if (r.rifiuto) continue;
        const EsitoVerifica e = EseguiVerifica(caso, l.ingressi);
        ASSERT_TRUE(e.completato) << e.verdetto;
        EXPECT_EQ(e.giudizio.obiettivo.temperatura, r.obiettivo);
        EXPECT_EQ(e.giudizio.obiettivo.presunto, r.presunto);
        EXPECT_TRUE(e.verdetto.starts_with(r.verdetto)) << e.verdetto;
        // The presumption says so, and how to set it aside.
        EXPECT_EQ(e.verdetto.find("1100 °C presunti") != std::string::npos, r.presunto && r.obiettivo == 1100)
            << e.verdetto;
        EXPECT_EQ(e.m.FrazCl.v > 0.01, r.cloroMiscelaSopra1) << e.m.FrazCl.v;
        EXPECT_EQ(e.giudizio.risultati.RugiadaSolforica.has_value(), r.rugiadaSolforica);
        EXPECT_TRUE(e.giudizio.avvisi.empty()) << TestoAvvisi(e.giudizio.avvisi);
    }
    // The defaults the empty boxes stood for: 2 s, 2 % SO3, 11 % O2.
    const ParametriVerifica p = leggi({}).ingressi.parametri;
    EXPECT_TRUE(p.tempoPermanenza == 2 && p.conversioneSO3 == 2 && p.o2Riferimento == 11.0 && !p.obiettivo);
    // What the empty target box shows: the figure for this waste.
    EXPECT_EQ(TestoVuoto(CampoDi(Quantita::ObiettivoRif), prova::casoRifiutoAlLimite()), "1100");
    EXPECT_EQ(TestoVuoto(CampoDi(Quantita::ObiettivoRif), prova::casoMetano()), "850");
}

// While the case has a warning the verdict is not given: the first warning
// says why, and the count of the others follows.
TEST(VistaVerifica, WarningsHoldTheVerdictBack) {
    IngressiCaso caso = prova::casoMetano();
    caso.valori.TempAria = -60;  // below the physical range: computed, and warned about
    const EsitoVerifica e = EseguiVerifica(caso, {});
    ASSERT_TRUE(e.completato);
    ASSERT_EQ(e.giudizio.avvisi.size(), 1u);
    EXPECT_EQ(e.verdetto, "850 °C per 2 s: non valutabile: " + e.giudizio.avvisi[0].testo);
    const std::vector<std::string> righe = RigheVerifica(e, {});
    EXPECT_NE(std::find(righe.begin(), righe.end(), "- " + e.giudizio.avvisi[0].testo), righe.end());
    EXPECT_EQ(righe.back(), e.verdetto);
    const Avviso a{Quantita::TempAria, "a"}, b{Quantita::EccessoAria, "b"};
    const ObiettivoVerifica o{850, true};
    EXPECT_EQ(Verdetto(o, 2, 900, {a, b}), "850 °C per 2 s: non valutabile: a (e un altro avviso)");
    EXPECT_EQ(Verdetto(o, 2, 900, {a, b, b}), "850 °C per 2 s: non valutabile: a (e altri 2 avvisi)");
    EXPECT_EQ(Verdetto(o, 2, std::nullopt, {}), "850 °C per 2 s: non valutabile");
    EXPECT_EQ(Verdetto(o, 2, 849.96, {}), "850 °C per 2 s: non raggiunti (T = 849,9 °C)");
}

// The inputs, the result boxes (the Camino window's too), the batch columns
// and the help come from the table: every check's quantity is on them, each once.
TEST(VistaVerifica, ListsAreTheTablesOwn) {
    std::map<std::string, int> volte;
    for (const CampoVerifica& c : CampiVerifica())
        if (c.grandezza) ++volte[c.grandezza->nome];
    for (const Grandezza* g : RisultatiVerificaMostrati()) ++volte[g->nome];
    for (const Grandezza* g : RisultatiCaminoMostrati()) ++volte[g->nome];
    const std::string aiuto = batch::TestoAiuto();
    for (const Grandezza& g : Grandezze()) {
        if (!g.ha(Verifica)) continue;
        SCOPED_TRACE(g.nome);
        EXPECT_EQ(volte[g.nome], 1);
        if (g.ha(IngressoVerifica) || g.ha(UscitaVerifica) || g.ha(UscitaCamino)) {
            EXPECT_NE(aiuto.find("\n  " + std::string(g.nome) + " "), std::string::npos);
        }
        EXPECT_EQ(g.risultato != nullptr, g.ha(MostrataVerifica) || g.ha(UscitaVerifica) || g.ha(UscitaCamino));
    }
}

// Each result box of the check, cut to its own decimals (trailing zeros go, "240,1", "32"): the 1,05 % chlorine
// waste in a 1,5 m chamber, and the 5 % chlorine fuel of the whole-run example in a 1,2 m one, so that every box shows
// a digit other than 0 after its last one in one of the two; the stack's.
TEST(VistaVerifica, ResultBoxesCutToTheirDecimals) {
    IngressiCaso cloro = prova::casoRifiuto();
    const double f[8] = {0.5, 0.06, 0.1, 0.05, 0.01, 0.01, 0.17, 0.1};
    for (int k = 0; k < 8; ++k) cloro.valori.*FrazioniPonderali[k] = f[k];
    cloro.valori.PortataComb = 100, cloro.valori.PotereCalorifico = 5000;
    prova::condizioni(cloro.valori, 50, 20, 50, 400, 5);
    const struct { IngressiCaso caso; const char* diametro; std::map<std::string, std::string> attesi; } casi[] = {
        {prova::casoRifiutoAlLimite(), "1,5",
         {{"TempFumi", "664,6"},     {"TempFumiRif", "726,8"},     {"Differenza", "62,2"},    {"VolumeCamera", "9,25"},
          {"VelocitaCamera", "2,61"}, {"LunghezzaCamera", "5,23"}, {"O2Secco", "8,01"},       {"HClRif", "2355,6"},
          {"SO2Rif", "2179,3"},      {"Cl2Rif", "53,2"},          {"RugiadaAcqua", "62,4"},  {"RugiadaSolforica", "149,5"},
          {"RugiadaCloridrica", "69,2"}, {"TempFumiEq", "727,4"}, {"ConcCOEq", "0"},         {"ConcNOEq", "15,38"},
          {"ConcNO2Eq", "0,45"},     {"ConcCl2Eq", "0,82"},       {"ConcHClEq", "1464,86"},  {"ConcSO2Eq", "532,33"},
          {"ConcSO3Eq", "240,1"},    {"CORifEq", "0"},            {"NOxRifEq", "32"},        {"Cl2RifEq", "2,5"}}},
        {cloro, "1,2",
         {{"TempFumi", "1096,7"},    {"TempFumiRif", "1363,3"},    {"Differenza", "266,6"},   {"VolumeCamera", "3,09"},
          {"VelocitaCamera", "1,36"}, {"LunghezzaCamera", "2,73"}, {"O2Secco", "7,13"},       {"HClRif", "4422,7"},
          {"SO2Rif", "1718,5"},      {"Cl2Rif", "42,8"},          {"RugiadaAcqua", "45"},    {"RugiadaSolforica", "140,9"},
          {"RugiadaCloridrica", "56,2"}, {"TempFumiEq", "1359,5"}, {"ConcCOEq", "12,02"},    {"ConcNOEq", "1183,27"},
          {"ConcNO2Eq", "2,43"},     {"ConcCl2Eq", "0,62"},       {"ConcHClEq", "3308,05"},  {"ConcSO2Eq", "751,04"},
          {"ConcSO3Eq", "3,84"},     {"CORifEq", "11,9"},         {"NOxRifEq", "1928,2"},    {"Cl2RifEq", "1,5"}}},
    };
    std::map<std::string, std::string> mostrati;
    for (const auto& c : casi) {
        const EsitoVerifica e = EseguiVerifica(c.caso, leggi({{"DiametroCamera", c.diametro}}).ingressi);
        mostrati.clear();
        for (const Grandezza* g : RisultatiVerificaMostrati()) mostrati[g->nome] = TestoRisultato(*g, e);
        EXPECT_EQ(mostrati, c.attesi) << c.diametro;
    }
    // The stack's, at the methane boiler's readings.
    const Testi letture = {{"O2Misurato", "3,5"}, {"BaseO2", "secco"}, {"CO2Misurato", "7"}, {"COMisurato", "50"},
                           {"TempCamino", "190"}};
    const EsitoCaminoVista c = CaminoDaTesti(prova::casoMetano(), testi(letture));
    mostrati.clear();
    for (const Grandezza* g : RisultatiCaminoMostrati()) mostrati[g->nome] = TestoRisultatoCamino(*g, c);
    EXPECT_EQ(mostrati, (std::map<std::string, std::string>{
                            {"EccessoAriaMisurato", "18,06"}, {"IncertezzaEccessoO2", "0,62"}, {"EccessoAriaDaCO2", "59,4"},
                            {"IncertezzaEccessoCO2", "2,12"}, {"CO2Massima", "11,64"},     {"PerditaCamino", "8,21"},
                            {"PerditaIncombusti", "0,018"},   {"RendimentoCombustione", "91,76"},
                            {"CaloreRecuperabile", "1206,9"}, {"PortataFumiCamino", "2965,3"}}));
}
