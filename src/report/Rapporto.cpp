#include "report/Rapporto.h"

#include <stdexcept>

#include "report/Codifica.h"

namespace termix {

namespace {

constexpr const char* Titolo = "Bilancio di massa e di energia della combustione";

// A "label = value unit" line: label at column 6, framed value at `col`.
struct RigaValore {
    const char* etichetta;
    int colonnaValore;
    Finestra finestra;
    const char* controllo;
    const char* unita;
};

// A line carrying only a label at column 6.
struct RigaEtichetta {
    const char* etichetta;
};

// An element line: label at column 6, bare box text at column 35.
struct RigaElemento {
    const char* etichetta;
    const char* controllo;  // on Form2
};

struct RigaTabella {
    const char* composto;
    int colonnaComposto;
    const char* controlli[4];  // on Form8
};

constexpr int ColonneTabella[4] = {12, 24, 36, 48};

constexpr RigaTabella Tabella[7] = {
    {"N2", 3, {"Text9", "Text10", "Text11", "Text12"}},
    {"O2", 3, {"Text13", "Text14", "Text15", "Text16"}},
    {"CO2", 3, {"Text17", "Text18", "Text19", "Text20"}},
    {"H2O", 3, {"Text21", "Text22", "Text23", "Text24"}},
    {"SO2", 3, {"Text25", "Text26", "Text27", "Text28"}},
    {"HCl", 3, {"Text29", "Text30", "Text31", "Text32"}},
    {"Totale", 2, {"Text33", "Text34", "Text35", "Text36"}},
};

RigaRapporto Valore(const RigaValore& r, const SorgenteTesti& s) {
    return {{r.etichetta, 6},
            {std::string(" = ") + s.Testo(r.finestra, r.controllo) + r.unita, r.colonnaValore}};
}

RigaRapporto Specie(const RigaElemento& r, const SorgenteTesti& s) {
    return {{r.etichetta, 6}, {s.Testo(Finestra::Form2, r.controllo), 35}};
}

}  // namespace

RigaRapporto RigaDelRapporto(int n, TipoUscita uscita, const SorgenteTesti& s, Orologio& orologio) {
    using F = Finestra;
    const bool file = uscita == TipoUscita::File;
    const int colonnaData = file ? 50 : 35;
    switch (n) {
        case 1: return {{Titolo, file ? 1 : 6}};
        case 2: case 21: case 28: case 40: case 49: case 58: return {};
        case 3: return {{"Data rapporto di calcolo", 6}, {" = " + orologio.Data(), colonnaData}};
        case 4: return {{"Ora  rapporto di calcolo", 6}, {" = " + orologio.Ora(), colonnaData}};
        case 5: return Valore({"Impianto", 35, F::Form2, "Text1", ""}, s);
        case 6: return Valore({"Combustibile", 35, F::Form2, "Text2", ""}, s);
        case 7: return Valore({"Portata combustibile", 35, F::Form2, "Text20", " kg/h"}, s);
        case 8: return {{"Proprietà combustibile :", 6}};
        case 9: return {{"Specie atomica          Frazione ponderale", 6}};
        case 10: return Specie({"   Carbonio", "Text4"}, s);
        case 11: return Specie({"   Idrogeno", "Text6"}, s);
        case 12: return Specie({"   Ossigeno", "Text8"}, s);
        case 13: return Specie({"   Cloro   ", "Text10"}, s);
        case 14: return Specie({"   Zolfo   ", "Text12"}, s);
        case 15: return Specie({"   Azoto   ", "Text14"}, s);
        case 16: return Specie({"   Inerti  ", "Text15"}, s);
        case 17: return Specie({"   Acqua   ", "Text16"}, s);
        case 18: return Valore({"Ossigeno stechiometrico", 35, F::Form2, "Text17", " moli/kg comb."}, s);
        case 19: return Valore({"Ossigeno stechiometrico", 35, F::Form2, "Text18", " kg/kg comb."}, s);
        case 20: return Valore({"Potere calorifico inferiore", 35, F::Form3, "Text1", " kal/kg"}, s);
        case 22: return Valore({"Eccesso d'aria", 35, F::Form3, "Text2", " %"}, s);
        case 23: return Valore({"Temperatura aria", 35, F::Form3, "Text4", " °C"}, s);
        case 24: return Valore({"Umidità relativa aria", 35, F::Form3, "Text5", " %"}, s);
        case 25: return Valore({"Umidità specifica aria", 35, F::Form7, "Text19", " kgH2O/kg aria secca"}, s);
        case 26: return Valore({"Temperatura uscita ceneri", 35, F::Form3, "Text8", " °C"}, s);
        case 27: return Valore({"Dispersioni termiche", 35, F::Form3, "Text10", " %"}, s);
        case 29: return {{"Proprietà del combustibile in alimentazione", 6}};
        case 30: return Valore({"Portata ponderale C  totale", 50, F::Form7, "Text1", " kg/h"}, s);
        case 31: return Valore({"Portata ponderale H  totale", 50, F::Form7, "Text2", " kg/h"}, s);
        case 32: return Valore({"Portata ponderale O  totale", 50, F::Form7, "Text3", " kg/h"}, s);
        case 33: return Valore({"Portata ponderale Cl totale", 50, F::Form7, "Text4", " kg/h"}, s);
        case 34: return Valore({"Portata ponderale S  totale", 50, F::Form7, "Text5", " kg/h"}, s);
        case 35: return Valore({"Portata ponderale N  totale", 50, F::Form7, "Text6", " kg/h"}, s);
        case 36: return Valore({"Portata acqua  totale", 50, F::Form7, "Text7", " kg/h"}, s);
        case 37: return Valore({"Portata inerti totale", 50, F::Form7, "Text8", " kg/h"}, s);
        case 38: return Valore({"Energia disponibile in ingresso", 50, F::Form7, "Text9", " kcal/h"}, s);
        case 39: return Valore({"Energia disponibile netta", 50, F::Form7, "Text10", " kcal/h"}, s);
        case 41: return {{"Caratteristiche aria comburente in alimentazione", 6}};
        case 42: return Valore({"Portata ponderale   O2 stechiometrico", 50, F::Form7, "Text12", " kg/h"}, s);
        case 43: return Valore({"Portata volumetrica O2 stechiometrico", 50, F::Form7, "Text13", " Nm3/h"}, s);
        case 44: return Valore({"Portata ponderale   aria stechiometrica", 50, F::Form7, "Text14", " kg/h"}, s);
        case 45: return Valore({"Portata volumetrica aria stechiometrica", 50, F::Form7, "Text15", " Nm3/h"}, s);
        case 46: return Valore({"Portata ponderale   aria effettiva", 50, F::Form7, "Text16", " kg/h"}, s);
        case 47: return Valore({"Portata volumetrica aria effettiva", 50, F::Form7, "Text17", " Nm3/h"}, s);
        case 48: return Valore({"Portata acqua (umidità atmosferica)", 50, F::Form7, "Text18", " kg/h"}, s);
        case 50: return {{"Caratteristiche fumi di combustione", 6}};
        case 51: return Valore({"Temperatura teorica fumi", 50, F::Form8, "Text1", " °C"}, s);
        case 52: return Valore({"Peso molecolare medio fumi", 50, F::Form8, "Text3", " g/mole"}, s);
        case 53: return Valore({"Calore specifico medio fumi", 50, F::Form8, "Text4", " kcal/kg°C"}, s);
        case 54: return Valore({"Costante equil.reazione cloro", 50, F::Form8, "Text5", "  v atm"}, s);
        case 55: return Valore({"Concentrazione Cl2 nei fumi", 50, F::Form8, "Text6", "  ppm"}, s);
        case 56: return Valore({"Portata volumetrica fumi", 50, F::Form8, "Text7", " Nm3/h"}, s);
        case 57: return Valore({"Portata volumetrica fumi", 50, F::Form8, "Text8", " m3/h"}, s);
        case 59: return {{"Composto", 1}, {" Portata ", 12}, {"Portata", 24}, {"% volume", 36}, {"% peso", 48}};
        case 60: return {{"        ", 1}, {"[kmoli/h]", 12}, {" [kg/h]", 24}};
        default: break;
    }
    if (n >= 61 && n <= 67) {
        const RigaTabella& r = Tabella[n - 61];
        RigaRapporto riga{{r.composto, r.colonnaComposto}};
        for (int i = 0; i < 4; ++i) riga.push_back({s.Testo(Finestra::Form8, r.controlli[i]), ColonneTabella[i]});
        return riga;
    }
    throw std::out_of_range("report line out of range");
}

double LarghezzaCaratteri(std::string_view testo) {
    return static_cast<double>(CaratteriUtf8(testo));
}

std::vector<RigaFisica> Impagina(const RigaRapporto& riga, const LarghezzaTesto& larghezza) {
    std::vector<RigaFisica> righe(1);
    double posizione = 1;  // column of the next character
    for (const Elemento& e : riga) {
        if (e.colonna > 0) {
            const double col = e.colonna;
            if (posizione > col) {
                righe.emplace_back();
                posizione = 1;
            }
            posizione = col;
        }
        righe.back().push_back({posizione, e.testo});
        posizione += larghezza(e.testo);
    }
    return righe;
}

std::string TestoRiga(const RigaFisica& riga) {
    std::string t;
    double posizione = 1;
    for (const Tratto& tr : riga) {
        t.append(static_cast<std::size_t>(tr.colonna - posizione), ' ');
        t += tr.testo;
        posizione = tr.colonna + LarghezzaCaratteri(tr.testo);
    }
    return t;
}

std::vector<std::string> RigheTesto(const RigaRapporto& riga) {
    std::vector<std::string> testi;
    for (const RigaFisica& fisica : Impagina(riga, LarghezzaCaratteri)) testi.push_back(TestoRiga(fisica));
    return testi;
}

}  // namespace termix
