#include "report/Rapporto.h"

#include <stdexcept>

#include "report/Codifica.h"

namespace termix {

namespace {

constexpr const char* Titolo = "Bilancio di massa e di energia della combustione";

using Q = Quantita;

// A "label = value unit" line: label at column 6, framed value at `col`. The
// unit is the quantity's own after a blank, unless the line spells it its way.
struct RigaValore {
    const char* etichetta;
    int colonnaValore;
    Quantita quantita;
    const char* unita = nullptr;
};

// An element line: label at column 6, bare box text at column 35.
struct RigaElemento {
    const char* etichetta;
    Quantita quantita;
};

struct RigaTabella {
    const char* composto;
    int colonnaComposto;
    Bersaglio valori[4];
};

constexpr int PrimaColonnaTabella = 12, LarghezzaColonnaTabella = 12;

constexpr RigaTabella Tabella[7] = {
    {"N2", 3, {Q::KmoliN2, Q::PortataN2, Q::PercVolN2, Q::PercPesoN2}},
    {"O2", 3, {Q::KmoliO2, Q::PortataO2, Q::PercVolO2, Q::PercPesoO2}},
    {"CO2", 3, {Q::KmoliCO2, Q::PortataCO2, Q::PercVolCO2, Q::PercPesoCO2}},
    {"H2O", 3, {Q::KmoliH2O, Q::PortataH2O, Q::PercVolH2O, Q::PercPesoH2O}},
    {"SO2", 3, {Q::KmoliSO2, Q::PortataSO2, Q::PercVolSO2, Q::PercPesoSO2}},
    {"HCl", 3, {Q::KmoliHCl, Q::PortataHCl, Q::PercVolHCl, Q::PercPesoHCl}},
    {"Totale", 2, {Q::KmoliFumi, Q::PortataFumi, Ruolo::TotaleVolume, Ruolo::TotalePeso}},
};

RigaRapporto Valore(const RigaValore& r, const SorgenteTesti& s) {
    std::string unita;
    if (r.unita) unita = r.unita;
    else if (const char* u = Info(r.quantita).unita; *u) unita = std::string(" ") + u;
    return {{r.etichetta, 6}, {" = " + s.Testo(r.quantita) + unita, r.colonnaValore}};
}

RigaRapporto Specie(const RigaElemento& r, const SorgenteTesti& s) {
    return {{r.etichetta, 6}, {s.Testo(r.quantita), 35}};
}

}  // namespace

RigaRapporto RigaDelRapporto(int n, TipoUscita uscita, const SorgenteTesti& s, Orologio& orologio) {
    const bool file = uscita == TipoUscita::File;
    const int colonnaData = file ? 50 : 35;
    switch (n) {
        case 1: return {{Titolo, file ? 1 : 6}};
        case 2: case 21: case 28: case 40: case 49: case 58: return {};
        case 3: return {{"Data rapporto di calcolo", 6}, {" = " + orologio.Data(), colonnaData}};
        case 4: return {{"Ora  rapporto di calcolo", 6}, {" = " + orologio.Ora(), colonnaData}};
        case 5: return Valore({"Impianto", 35, Q::Impianto}, s);
        case 6: return Valore({"Combustibile", 35, Q::Combustibile}, s);
        case 7: return Valore({"Portata combustibile", 35, Q::PortataComb}, s);
        case 8: return {{"Proprietà combustibile :", 6}};
        case 9: return {{"Specie atomica          Frazione ponderale", 6}};
        case 10: return Specie({"   Carbonio", Q::FrazC}, s);
        case 11: return Specie({"   Idrogeno", Q::FrazH}, s);
        case 12: return Specie({"   Ossigeno", Q::FrazO}, s);
        case 13: return Specie({"   Cloro   ", Q::FrazCl}, s);
        case 14: return Specie({"   Zolfo   ", Q::FrazS}, s);
        case 15: return Specie({"   Azoto   ", Q::FrazN}, s);
        case 16: return Specie({"   Inerti  ", Q::Inerti}, s);
        case 17: return Specie({"   Acqua   ", Q::Acqua}, s);
        case 18: return Valore({"Ossigeno stechiometrico", 35, Q::OssigenoStechiom}, s);
        case 19: return Valore({"Ossigeno stechiometrico", 35, Q::OssigenoPonderale}, s);
        case 20: return Valore({"Potere calorifico inferiore", 35, Q::PotereCalorifico, " kal/kg"}, s);
        case 22: return Valore({"Eccesso d'aria", 35, Q::EccessoAria}, s);
        case 23: return Valore({"Temperatura aria", 35, Q::TempAria}, s);
        case 24: return Valore({"Umidità relativa aria", 35, Q::UmiditaRelativa}, s);
        case 25: return Valore({"Umidità specifica aria", 35, Q::UmiditaSpecifica}, s);
        case 26: return Valore({"Temperatura uscita ceneri", 35, Q::TempCeneri}, s);
        case 27: return Valore({"Dispersioni termiche", 35, Q::Dispersioni}, s);
        case 29: return {{"Proprietà del combustibile in alimentazione", 6}};
        case 30: return Valore({"Portata ponderale C  totale", 50, Q::PortataC}, s);
        case 31: return Valore({"Portata ponderale H  totale", 50, Q::PortataH}, s);
        case 32: return Valore({"Portata ponderale O  totale", 50, Q::PortataO}, s);
        case 33: return Valore({"Portata ponderale Cl totale", 50, Q::PortataCl}, s);
        case 34: return Valore({"Portata ponderale S  totale", 50, Q::PortataS}, s);
        case 35: return Valore({"Portata ponderale N  totale", 50, Q::PortataN}, s);
        case 36: return Valore({"Portata acqua  totale", 50, Q::PortataAcqua}, s);
        case 37: return Valore({"Portata inerti totale", 50, Q::PortataInerti}, s);
        case 38: return Valore({"Energia disponibile in ingresso", 50, Q::EnergiaIngresso}, s);
        case 39: return Valore({"Energia disponibile netta", 50, Q::EnergiaNetta}, s);
        case 41: return {{"Caratteristiche aria comburente in alimentazione", 6}};
        case 42: return Valore({"Portata ponderale   O2 stechiometrico", 50, Q::PortataO2Stech}, s);
        case 43: return Valore({"Portata volumetrica O2 stechiometrico", 50, Q::PortataVolO2Stech}, s);
        case 44: return Valore({"Portata ponderale   aria stechiometrica", 50, Q::PortataAriaStech}, s);
        case 45: return Valore({"Portata volumetrica aria stechiometrica", 50, Q::PortataVolAriaStech}, s);
        case 46: return Valore({"Portata ponderale   aria effettiva", 50, Q::PortataAriaEff}, s);
        case 47: return Valore({"Portata volumetrica aria effettiva", 50, Q::PortataVolAriaEff}, s);
        case 48: return Valore({"Portata acqua (umidità atmosferica)", 50, Q::PortataAcquaUmidita}, s);
        case 50: return {{"Caratteristiche fumi di combustione", 6}};
        case 51: return Valore({"Temperatura teorica fumi", 50, Q::TempFumi}, s);
        case 52: return Valore({"Peso molecolare medio fumi", 50, Q::PesoMolecolareFumi}, s);
        case 53: return Valore({"Calore specifico medio fumi", 50, Q::CaloreSpecificoFumi}, s);
        case 54: return Valore({"Costante equil.reazione cloro", 50, Q::CostanteCloro, "  v atm"}, s);
        case 55: return Valore({"Concentrazione Cl2 nei fumi", 50, Q::ConcCl2, "  ppm"}, s);
        case 56: return Valore({"Portata volumetrica fumi", 50, Q::PortataVolFumiNormale}, s);
        case 57: return Valore({"Portata volumetrica fumi", 50, Q::PortataVolFumi}, s);
        case 59: return {{"Composto", 1}, {" Portata ", 12}, {"Portata", 24}, {"% volume", 36}, {"% peso", 48}};
        case 60: return {{"        ", 1}, {"[kmoli/h]", 12}, {" [kg/h]", 24}};
        default: break;
    }
    if (n >= 61 && n <= 67) {
        const RigaTabella& r = Tabella[n - 61];
        RigaRapporto riga{{r.composto, r.colonnaComposto}};
        int colonna = PrimaColonnaTabella;
        for (const Bersaglio& b : r.valori) {
            riga.push_back({s.Testo(b), colonna});
            colonna += LarghezzaColonnaTabella;
        }
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
            if (posizione > col) righe.emplace_back();  // past its column: a line of its own
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
