#include "report/TabellaRisultati.h"

#include "model/NumeroTesto.h"

#include <cstring>

namespace termix {

std::span<const Grandezza* const> ColonneValori() { return ConUso(Uscita); }

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
    char* fine = TestoPosizionale(p, x);
    if (sep == ';')  // at most one point, before any exponent
        if (void* punto = std::memchr(p, '.', static_cast<std::size_t>(fine - p))) *static_cast<char*>(punto) = ',';
    return fine;
}

void ScriviNumero(std::string& out, double x, char sep) {
    char buf[LunghezzaMassimaNumero];
    out.append(buf, ScriviNumero(buf, x, sep));
}

void AggiungiUltimoCampo(std::string& riga, std::string_view campo, char sep) {
    riga.resize(riga.size() - 2);
    riga.push_back(sep);
    if (!campo.empty()) ScriviCampo(riga, campo, sep);
    riga += "\r\n";
}

void ScriviNomiValori(std::string& out, char sep) {
    for (const Grandezza* c : ColonneValori()) {
        out.push_back(sep);
        out += c->nome;
    }
}

void ScriviValori(std::string& out, const Modulo1* m, char sep) {
    // The values go through one buffer: one append per record, not per value.
    const std::span<const Grandezza* const> colonne = ColonneValori();
    char valori[NumeroGrandezze * (LunghezzaMassimaNumero + 1)];
    char* p = valori;
    for (const Grandezza* c : colonne) {
        *p++ = sep;
        if (m) p = ScriviNumero(p, ((*m).*c->variabile).v, sep);
    }
    out.append(valori, p);
}

namespace {

void scriviTesti(std::string& out, char sep, std::span<const std::string_view> testi) {
    for (std::size_t i = 0; i < testi.size(); ++i) {
        if (i) out.push_back(sep);
        ScriviCampo(out, testi[i], sep);
    }
}

}  // namespace

void ScriviIntestazioneTabella(std::string& out, char sep, std::span<const std::string_view> testi,
                               const char* variata) {
    scriviTesti(out, sep, testi);
    if (variata) {
        out.push_back(sep);
        out += variata;
    }
    ScriviNomiValori(out, sep);
    out += "\r\n";
}

void ScriviRigaTabella(std::string& out, char sep, std::span<const std::string_view> testi, bool conVariata,
                       const double* variata, const Modulo1* m) {
    scriviTesti(out, sep, testi);
    if (conVariata) {
        out.push_back(sep);
        if (variata) ScriviNumero(out, *variata, sep);
    }
    ScriviValori(out, m, sep);
    out += "\r\n";
}

}  // namespace termix
