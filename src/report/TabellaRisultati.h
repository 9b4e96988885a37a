#pragma once
// The results of many cases as a CSV table, as the batch tool writes it and
// the forms export a sweep: the value columns, fields quoted when needed, and
// numbers as the shortest digits that read back to the same double.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "model/Grandezze.h"

namespace termix {

// The full-precision value columns, after Riga, Impianto, Combustibile, Esito
// (and a varied input, if any): the quantities marked Uscita, in table order.
std::span<const Grandezza* const> ColonneValori();

// Appends a field, quoted when it holds the separator, a quote, CR or LF.
void ScriviCampo(std::string& out, std::string_view campo, char sep);

// Appends the shortest digits that read back to x ("0" for either zero),
// without an exponent from 1e-5 to 1e15, with the decimal comma when the
// separator is ';'.
void ScriviNumero(std::string& out, double x, char sep);
// The same into a buffer with room for LunghezzaMassimaNumero characters;
// returns the end of the text.
inline constexpr std::size_t LunghezzaMassimaNumero = 32;
char* ScriviNumero(char* p, double x, char sep);

// One line of a result table: the leading text fields (Riga, the columns
// copied, Impianto, Combustibile, Esito) quoted as needed, the varied input's
// value when there is one (an empty cell for a record without it), the values
// of `m` (empty cells without a record), CRLF. The header takes the names.
void ScriviIntestazioneTabella(std::string& out, char sep, std::span<const std::string_view> testi,
                               const char* variata = nullptr);
void ScriviRigaTabella(std::string& out, char sep, std::span<const std::string_view> testi, bool conVariata,
                       const double* variata, const Modulo1* m);

// Closes a line with one more field: `campo` (quoted as needed) after a
// separator, before the line's CRLF.
void AggiungiUltimoCampo(std::string& riga, std::string_view campo, char sep);

// Appends the value columns' names, each after a separator.
void ScriviNomiValori(std::string& out, char sep);
// Appends the values of `m`, each after a separator; empty cells without a record.
void ScriviValori(std::string& out, const Modulo1* m, char sep);

}  // namespace termix
