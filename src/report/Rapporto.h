#pragma once
// The calculation report: 67 lines of positioned items, built from the texts
// the forms show (never from the record), and the placing rule that turns
// items into text lines or printer positions.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Effetti.h"

namespace termix {

// Printer and file differ in lines 1, 3 and 4 only.
enum class TipoUscita { Stampante, File };

// A text (UTF-8) and, optionally, the column it must start at (1-based;
// 0 = no target column, written at the current position).
struct Elemento {
    std::string testo;
    int colonna = 0;
    bool operator==(const Elemento&) const = default;
};

using RigaRapporto = std::vector<Elemento>;

// The text a box shows at this moment. The forms read their widgets; the
// batch tool answers with the texts the forms would show.
class SorgenteTesti {
public:
    virtual ~SorgenteTesti() = default;
    virtual std::string Testo(Bersaglio b) const = 0;
};

// Date and time texts for lines 3 and 4, asked when those lines are written.
class Orologio {
public:
    virtual ~Orologio() = default;
    virtual std::string Data() = 0;  // short date of the user's locale
    virtual std::string Ora() = 0;   // time with hours, minutes and seconds
};

inline constexpr int RigheRapporto = 67;

// Line `numero` (1..67) of the report, reading its boxes (and the clock for
// lines 3 and 4) now.
RigaRapporto RigaDelRapporto(int numero, TipoUscita uscita, const SorgenteTesti& sorgente,
                             Orologio& orologio);

// A piece of text placed at a column. For the file the column is whole; on
// the printer an item without target column follows the previous text's real
// width, so it can fall between columns.
struct Tratto {
    double colonna;
    std::string testo;
    bool operator==(const Tratto&) const = default;
};
using RigaFisica = std::vector<Tratto>;

// Width of a text in columns: code points for the file, measured font width
// over the average character width for the printer.
using LarghezzaTesto = std::function<double(std::string_view)>;

// Code points of a UTF-8 text (each one byte in the file's code page).
double LarghezzaCaratteri(std::string_view testo);

// The placing rule: one report line becomes one physical line, or more when
// an item's target column is already passed (the line breaks and the next is
// padded to that column). Never empty: an empty report line is one empty
// physical line.
std::vector<RigaFisica> Impagina(const RigaRapporto& riga, const LarghezzaTesto& larghezza);

// A physical line as file text (UTF-8): blanks up to each run's column, then
// its text. Line ends are the writer's business.
std::string TestoRiga(const RigaFisica& riga);

// A report line as the file's text lines.
std::vector<std::string> RigheTesto(const RigaRapporto& riga);

}  // namespace termix
