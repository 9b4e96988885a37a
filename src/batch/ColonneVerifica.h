#pragma once
// The batch tool's support-fuel and "Verifica" columns: read from a record
// beside the usual ones, written after the usual values with --verifica.
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "combustion/Supporto.h"
#include "combustion/Verifica.h"

namespace termix::batch {

// The extra input columns, in this order.
enum IndiceExtra : int {
    ExSupportoTipo,
    ExSupportoPortata,
    ExSupportoPotere,
    ExPrimaFrazione,  // SupportoFrazC ... SupportoAcqua
    ExUltimaFrazione = ExPrimaFrazione + 7,
    ExTempoPermanenza,
    ExDiametroCamera,
    ExO2Riferimento,
    ExConversioneSO3,
    ExObiettivoRif,
    NumeroColonneExtra,
};
extern const std::array<const char*, NumeroColonneExtra> ColonneExtra;
// No extra column in the header.
inline constexpr std::array<int, NumeroColonneExtra> NessunaExtra = [] {
    std::array<int, NumeroColonneExtra> a{};
    a.fill(-1);
    return a;
}();

// The command line's part: --verifica, --modello, --permanenza,
// --o2-riferimento, --conversione-so3, --obiettivo-rif.
struct OpzioniVerifica {
    bool attiva = false;  // the check columns are written
    ParametriVerifica parametri;
    std::optional<double> obiettivoRif;  // °C on TempFumiRif
};

// The options' values: numbers with the decimal comma or point; the
// reference O2 also "nessuno". A message when not usable.
std::optional<std::string> LeggiModello(std::string_view testo, OpzioniVerifica& o);
std::optional<std::string> LeggiParametro(std::string_view opzione, std::string_view testo, OpzioniVerifica& o);

// One record's support fuel and parameters: the options, overridden by the
// record's own cells where present.
struct ExtraRecord {
    Supporto supporto;
    ParametriVerifica parametri;
    std::optional<double> obiettivoRif;
};

enum class DifettoExtra { Nessuno, NonNumero, PuntoInvece, Sconosciuto, FuoriIntervallo };
// Reads the extra cells (field position per extra column, -1 when absent);
// on a defect, `messaggio` says what the user is told.
DifettoExtra LeggiExtra(std::span<const int> campoExtra, std::span<const std::string_view> campi, char sep,
                        const OpzioniVerifica& o, ExtraRecord& out, std::string& messaggio);

// The check columns' names, and one record's values (empty cells without them),
// each after a separator.
void ScriviNomiVerifica(std::string& out, char sep);
void ScriviVerifica(std::string& out, const RisultatiVerifica* r, char sep);

}  // namespace termix::batch
