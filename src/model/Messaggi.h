#pragma once
// The program's fixed message texts, used exactly as they stand.

namespace termix::messaggi {

inline constexpr const char* Titolo = "Termix54";
inline constexpr const char* VerificareInput = "Verificare che gli input siano corretti !";
inline constexpr const char* PotereInadeguato = "Combustibile con inadeguato potere calorifico !";
inline constexpr const char* UsareVirgola = "Usare la virgola invece del punto !";
inline constexpr const char* UsareNumeri = "Usare i numeri !";
inline constexpr const char* ChiudereProgramma = "Chiudere il programma ?";
inline constexpr const char* InfoNonDisponibili =
    "Le informazioni sul sistema non sono disponibili in questa fase";

}  // namespace termix::messaggi
