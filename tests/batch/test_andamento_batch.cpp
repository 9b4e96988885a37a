// Every value of a sweep equals termix54-batch on a row of its own: same Esito,
// same doubles (shortest texts that read back to them), gaps included.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "batch/Colonne.h"
#include "combustion/Andamento.h"
#include "model/Formato.h"
#include "report/TabellaRisultati.h"

using namespace termix;

namespace {

// Chlorine fuel by weight fractions, heating value left to "&No".
const std::pair<const char*, const char*> Base[] = {
    {"PortataComb", "100"}, {"FrazC", "0,5"},         {"FrazH", "0,06"},    {"FrazO", "0,1"},
    {"FrazCl", "0,05"},     {"FrazS", "0,01"},        {"FrazN", "0,01"},    {"Inerti", "0,17"},
    {"Acqua", "0,1"},       {"EccessoAria", "50"},    {"TempAria", "20"},   {"UmiditaRelativa", "50"},
    {"TempCeneri", "400"},  {"Dispersioni", "5"},
};

std::string numero(double x) {
    std::string t;
    ScriviNumero(t, x, ';');
    return t;
}

// termix54-batch on `csv` with `opzioni`: its records after the header, from Esito on.
std::string batchDaEsito(const std::filesystem::path& dir, const std::string& csv, const std::string& opzioni) {
    std::ofstream(dir / "in.csv") << csv;
    const std::string cmd = std::string("'") + TERMIX54_BATCH_EXE + "' '" + (dir / "in.csv").string() + "' -o '" +
                            (dir / "out.csv").string() + "' " + opzioni + " 2>/dev/null";
    const int st = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0) << opzioni;
    std::ifstream in(dir / "out.csv");
    std::string r, intestazione;
    std::getline(in, intestazione);
    for (std::string l; std::getline(in, l);) {
        size_t p = 0;
        for (int k = 0; k < 3; ++k) p = l.find(';', p) + 1;
        r += l.substr(p) + "\n";
    }
    return r;
}

}  // namespace

TEST(Andamento, EachValueEqualsTheBatchRecordOfItsOwnRow) {
    IngressiCaso caso;
    caso.tipo = TipoCombustibile::Altri;
    caso.composizione = Composizione::Ponderale;
    for (auto [nome, testo] : Base)
        for (const auto& c : batch::ColonneIngresso)
            if (std::string_view(c.nome) == nome) caso.valori.*c.variabile = *LeggiNumero(testo);
    // Excess air 0 and losses of 100 % stop the run: gaps with their messages.
    const struct {
        const char* variata;
        double da, a, passo;
    } sweeps[] = {{"EccessoAria", 0, 100, 12.5}, {"Dispersioni", 0, 100, 10}, {"PotereCalorifico", 1000, 9000, 1000},
                  {"TempAria", -20, 40, 0.7}};
    const auto dir = std::filesystem::temp_directory_path() / ("termix54-andamento-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::vector<PuntoAndamento> punti;
    for (const auto& s : sweeps) {
        const Grandezza& g = *TrovaGrandezza(IngressiAndamento, s.variata);
        std::vector<double> valori;
        ASSERT_FALSE(ValoriAndamento(s.da, s.a, s.passo, valori));
        CalcolaAndamento(caso, g, valori, punti);

        std::string csv = "Tipo;Composizione", atteso;
        for (auto [nome, testo] : Base)
            if (nome != std::string_view(s.variata)) csv += std::string(";") + nome;
        csv += std::string(";") + s.variata + "\n";
        int gap = 0;
        for (const auto& p : punti) {
            csv += "Altri;Ponderale";
            for (auto [nome, testo] : Base)
                if (nome != std::string_view(s.variata)) csv += std::string(";") + testo;
            csv += ";" + numero(p.valore) + "\n";
            ScriviCampo(atteso, p.esito, ';');
            ScriviValori(atteso, p.completato ? &p.m : nullptr, ';');
            atteso += "\r\n";
            gap += !p.completato;
        }
        EXPECT_EQ(gap, s.variata == std::string_view("EccessoAria") || s.variata == std::string_view("Dispersioni"));
        EXPECT_EQ(batchDaEsito(dir, csv, ""), atteso) << s.variata;
    }
    // --obiettivo on the last sweep's case: the run at the crossing, or the reason and no values.
    std::string csv = "Tipo;Composizione", riga = "Altri;Ponderale";
    for (auto [nome, testo] : Base) csv += std::string(";") + nome, riga += std::string(";") + testo;
    for (double t : {std::round((punti.front().m.TempFumi.v + punti.back().m.TempFumi.v) / 2), 3000.0}) {
        const Obiettivo o = TrovaObiettivo(caso, IngressiAndamento[1], punti, t);
        EXPECT_EQ(o.esito == Obiettivo::Esito::Trovato, t < 2000) << o.frase;
        std::string atteso = o.esito == Obiettivo::Esito::Trovato ? "OK;" + numero(o.valore) : o.frase + ";";
        ScriviValori(atteso, o.esito == Obiettivo::Esito::Trovato ? &o.punto.m : nullptr, ';');
        EXPECT_EQ(batchDaEsito(dir, csv + "\n" + riga + "\n", "--variando TempAria=-20:40:0,7 --obiettivo " +
                                                                std::to_string(int(t))),
                  atteso + "\r\n");
    }
    std::filesystem::remove_all(dir);
}
