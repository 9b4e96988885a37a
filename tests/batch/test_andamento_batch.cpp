// The sweep against the batch tool: every value of a sweep run as a row of its
// own by termix54-batch gives the same Esito and the same doubles (written as
// the shortest text that reads back to them), gaps included.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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

std::string testoNumero(double x) {
    std::string t;
    ScriviNumero(t, x, ';');
    return t;
}

// The tool's output records from Esito on (the columns a sweep shares with it).
std::vector<std::string> daEsito(const std::string& csv) {
    std::vector<std::string> r;
    std::istringstream in(csv);
    for (std::string l; std::getline(in, l);) {
        size_t p = 0;
        for (int k = 0; k < 3; ++k) p = l.find(';', p) + 1;
        r.push_back(l.substr(p));
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
    for (const auto& s : sweeps) {
        const Grandezza& g = *TrovaGrandezza(IngressiAndamento, s.variata);
        std::vector<double> valori;
        ASSERT_FALSE(ValoriAndamento(s.da, s.a, s.passo, valori));
        std::vector<PuntoAndamento> punti;
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
            csv += ";" + testoNumero(p.valore) + "\n";
            ScriviCampo(atteso, p.esito, ';');
            ScriviValori(atteso, p.completato ? &p.m : nullptr, ';');
            atteso += "\r\n";
            gap += !p.completato;
        }
        EXPECT_EQ(gap, s.variata == std::string_view("EccessoAria") || s.variata == std::string_view("Dispersioni"));
        std::ofstream(dir / "in.csv") << csv;
        const std::string cmd = std::string("'") + TERMIX54_BATCH_EXE + "' '" + (dir / "in.csv").string() + "' -o '" +
                                (dir / "out.csv").string() + "' 2>/dev/null";
        const int st = std::system(cmd.c_str());
        ASSERT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0) << s.variata;
        std::stringstream out;
        out << std::ifstream(dir / "out.csv").rdbuf();
        auto righe = daEsito(out.str());
        ASSERT_EQ(righe.size(), punti.size() + 1);
        righe.erase(righe.begin());
        std::string uscita;
        for (const auto& r : righe) uscita += r + "\n";
        EXPECT_EQ(uscita, atteso) << s.variata;
    }
    std::filesystem::remove_all(dir);
}
