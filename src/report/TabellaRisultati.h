#pragma once
// The results of many cases as a CSV table, as the batch tool writes it and
// the forms export a sweep: the value columns, fields quoted when needed, and
// numbers as the shortest text that reads back to the same double.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "model/Modulo1.h"

namespace termix {

struct ColonnaUscita {
    const char* nome;
    Numero Modulo1::*variabile;
};

inline constexpr std::size_t NumeroColonneValori = 61;
// After Riga, Impianto, Combustibile, Esito (and a varied input, if any).
extern const std::array<ColonnaUscita, NumeroColonneValori> ColonneValori;

// Appends a field, quoted when it holds the separator, a quote, CR or LF.
void ScriviCampo(std::string& out, std::string_view campo, char sep);

// Appends the shortest text that reads back to x ("0" for either zero),
// with the decimal comma when the separator is ';'.
void ScriviNumero(std::string& out, double x, char sep);
// The same into a buffer with room for LunghezzaMassimaNumero characters;
// returns the end of the text.
inline constexpr std::size_t LunghezzaMassimaNumero = 32;
char* ScriviNumero(char* p, double x, char sep);

// Appends the value columns' names, each after a separator.
void ScriviNomiValori(std::string& out, char sep);
// Appends the values of `m`, each after a separator; empty cells without a record.
void ScriviValori(std::string& out, const Modulo1* m, char sep);

}  // namespace termix
