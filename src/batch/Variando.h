#pragma once
// --variando COLONNA=DA:A:PASSO: each input record becomes one output record
// per value of that column, in order, the value written right after Esito;
// with --obiettivo TEMPERATURA, one record at the value where the flue-gas
// temperature crosses it (--obiettivo-rif, or an ObiettivoRif column: where
// TempFumiRif does). SupportoPortata varies the support fuel's flow. The rest
// of each line is the tool's usual one.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/Record.h"
#include "combustion/Andamento.h"

namespace termix::batch {

struct Variando {
    const Grandezza* colonna = nullptr;  // any numeric input column; null for SupportoPortata
    std::vector<double> valori;
    std::optional<double> obiettivo;
};

// The varied column's name, as the header writes it.
const char* NomeColonnaVariata(const Variando& v);

// Reads "COLONNA=DA:A:PASSO" (numbers with the decimal comma or point); the
// message for the user when it is not usable.
std::optional<std::string> LeggiVariando(std::string_view testo, Variando& out);
// Reads the --obiettivo temperature, the same way.
std::optional<std::string> LeggiObiettivo(std::string_view testo, Variando& out);

// The output header with the varied column after Esito.
void ScriviIntestazioneVariando(std::string& out, char separatore, std::span<const std::string> conservati,
                                const Variando& v, const OpzioniVerifica& colonne = {});

// One input record: its output records (a record that does not read well
// gives one, as without --variando, with the varied column empty).
// The values whose run an arithmetic stop ended go to `fermati`, with where and why.
void ElaboraVariando(const Intestazione& h, std::span<const std::string_view> campi, Difetto difetto, long long riga,
                     const Variando& v, RisultatoRecord& r, std::string& out,
                     std::vector<std::pair<double, Dettaglio>>& fermati);

}  // namespace termix::batch
