#include "report/TabellaRisultati.h"

#include "model/NumeroTesto.h"

#include <cstring>

namespace termix {

namespace {
using M = Modulo1;
}  // namespace

const std::array<ColonnaUscita, NumeroColonneValori> ColonneValori = {{
    {"PesoMolecolare", &M::PesoMolecolare},
    {"FrazC", &M::FrazC},
    {"FrazH", &M::FrazH},
    {"FrazO", &M::FrazO},
    {"FrazCl", &M::FrazCl},
    {"FrazS", &M::FrazS},
    {"FrazN", &M::FrazN},
    {"OssigenoStechiom", &M::OssigenoStechiom},
    {"OssigenoPonderale", &M::OssigenoPonderale},
    {"PotereCalorifico", &M::PotereCalorifico},
    {"UmiditaSpecifica", &M::UmiditaSpecifica},
    {"PortataC", &M::PortataC},
    {"PortataH", &M::PortataH},
    {"PortataO", &M::PortataO},
    {"PortataCl", &M::PortataCl},
    {"PortataS", &M::PortataS},
    {"PortataN", &M::PortataN},
    {"PortataAcqua", &M::PortataAcqua},
    {"PortataInerti", &M::PortataInerti},
    {"EnergiaIngresso", &M::EnergiaIngresso},
    {"EnergiaNetta", &M::EnergiaNetta},
    {"PortataO2Stech", &M::PortataO2Stech},
    {"PortataVolO2Stech", &M::PortataVolO2Stech},
    {"PortataAriaStech", &M::PortataAriaStech},
    {"PortataVolAriaStech", &M::PortataVolAriaStech},
    {"PortataAriaEff", &M::PortataAriaEff},
    {"PortataVolAriaEff", &M::PortataVolAriaEff},
    {"PortataAcquaUmidita", &M::PortataAcquaUmidita},
    {"TempFumi", &M::TempFumi},
    {"PesoMolecolareFumi", &M::PesoMolecolareFumi},
    {"CaloreSpecificoFumi", &M::CaloreSpecificoFumi},
    {"CostanteCloro", &M::CostanteCloro},
    {"ConcCl2", &M::ConcCl2},
    {"PortataVolFumiNormale", &M::PortataVolFumiNormale},
    {"PortataVolFumi", &M::PortataVolFumi},
    {"KmoliN2", &M::KmoliN2},
    {"PortataN2", &M::PortataN2},
    {"PercVolN2", &M::PercVolN2},
    {"PercPesoN2", &M::PercPesoN2},
    {"KmoliO2", &M::KmoliO2},
    {"PortataO2", &M::PortataO2},
    {"PercVolO2", &M::PercVolO2},
    {"PercPesoO2", &M::PercPesoO2},
    {"KmoliCO2", &M::KmoliCO2},
    {"PortataCO2", &M::PortataCO2},
    {"PercVolCO2", &M::PercVolCO2},
    {"PercPesoCO2", &M::PercPesoCO2},
    {"KmoliH2O", &M::KmoliH2O},
    {"PortataH2O", &M::PortataH2O},
    {"PercVolH2O", &M::PercVolH2O},
    {"PercPesoH2O", &M::PercPesoH2O},
    {"KmoliSO2", &M::KmoliSO2},
    {"PortataSO2", &M::PortataSO2},
    {"PercVolSO2", &M::PercVolSO2},
    {"PercPesoSO2", &M::PercPesoSO2},
    {"KmoliHCl", &M::KmoliHCl},
    {"PortataHCl", &M::PortataHCl},
    {"PercVolHCl", &M::PercVolHCl},
    {"PercPesoHCl", &M::PercPesoHCl},
    {"KmoliFumi", &M::KmoliFumi},
    {"PortataFumi", &M::PortataFumi},
}};

void ScriviCampo(std::string& out, std::string_view campo, char sep) {
    if (campo.find_first_of(sep == ';' ? std::string_view(";\"\r\n") : std::string_view(",\"\r\n")) ==
        std::string_view::npos) {
        out.append(campo);
        return;
    }
    out.push_back('"');
    for (char c : campo) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

char* ScriviNumero(char* p, double x, char sep) {
    if (x == 0.0) {  // negative zero too
        *p = '0';
        return p + 1;
    }
    char* fine = TestoBreve(p, x);
    if (sep == ';')  // at most one point, before any exponent
        if (void* punto = std::memchr(p, '.', static_cast<std::size_t>(fine - p))) *static_cast<char*>(punto) = ',';
    return fine;
}

void ScriviNumero(std::string& out, double x, char sep) {
    char buf[LunghezzaMassimaNumero];
    out.append(buf, ScriviNumero(buf, x, sep));
}

void ScriviNomiValori(std::string& out, char sep) {
    for (const auto& c : ColonneValori) {
        out.push_back(sep);
        out += c.nome;
    }
}

void ScriviValori(std::string& out, const Modulo1* m, char sep) {
    // The values go through one buffer: one append per record, not per value.
    char valori[NumeroColonneValori * (LunghezzaMassimaNumero + 1)];
    char* p = valori;
    for (const auto& c : ColonneValori) {
        *p++ = sep;
        if (m) p = ScriviNumero(p, ((*m).*c.variabile).v, sep);
    }
    out.append(valori, p);
}

}  // namespace termix
