#pragma once
// Every choice a user makes, once: its name as a batch cell and a page value,
// the option of the fuel form that shows it, and the core's value. A face
// reads a choice through these, never by an index of its own.
#include <optional>
#include <span>
#include <string_view>

#include "combustion/Camino.h"
#include "combustion/Supporto.h"
#include "combustion/Verifica.h"
#include "fuel/CalcoloCombustibile.h"
#include "model/Effetti.h"

namespace termix::vista {

template <class E>
struct Scelta {
    E valore;
    const char* nome;    // the batch cell and the page's value ("Metano")
    const char* testo;   // what a list shows ("11 %", "entalpie NASA")
};

// The fuel form's two groups; the option of each value (none for the empty choice).
inline constexpr Scelta<TipoCombustibile> ScelteTipo[] = {
    {TipoCombustibile::Metano, "Metano", "1 - Metano"}, {TipoCombustibile::Altri, "Altri", "2 - Altri"}};
inline constexpr Scelta<Composizione> ScelteComposizione[] = {
    {Composizione::Atomica, "Atomica", "1- Atomica"}, {Composizione::Ponderale, "Ponderale", "2 - Ponderale"}};
Ruolo RuoloDi(TipoCombustibile t);   // t not Nessuno
Ruolo RuoloDi(Composizione c);       // c not Nessuna

// Verifica's lists, in the order they are shown (the first is the default).
inline constexpr Scelta<TipoSupporto> ScelteSupporto[] = {
    {TipoSupporto::Nessuno, "Nessuno", "Nessuno"},
    {TipoSupporto::Metano, "Metano", "Metano"},
    {TipoSupporto::Ponderale, "Ponderale", "Ponderale"}};
// The reference O2 [% vol dry]: 11 % (the default: the incineration rules'
// figure for waste), 6 %, 3 %, or loads not referred.
inline constexpr Scelta<double> ScelteO2[] = {
    {11, "11", "11 %"}, {6, "6", "6 %"}, {3, "3", "3 %"}, {-1, "nessuno", "nessuno"}};
// The measured O2's basis: no default, a reading must say which.
inline constexpr Scelta<BaseO2> ScelteBaseO2[] = {{BaseO2::Secco, "secco", "secco"}, {BaseO2::Umido, "umido", "umido"}};
inline constexpr Scelta<ModelloTemperatura> ScelteModello[] = {
    {ModelloTemperatura::Nasa, "nasa", "entalpie NASA"},
    {ModelloTemperatura::Tabella, "tabella", "tabella del programma"}};

// A choice by its name (case aside), or nothing; the empty name is no choice.
template <class E, std::size_t N>
std::optional<E> SceltaDi(const Scelta<E> (&scelte)[N], std::string_view nome) {
    for (const auto& s : scelte)
        if (StessoNome(nome, s.nome)) return s.valore;
    return std::nullopt;
}
// The name of a value ("" when none has it).
template <class E, std::size_t N>
const char* NomeDi(const Scelta<E> (&scelte)[N], E valore) {
    for (const auto& s : scelte)
        if (s.valore == valore) return s.nome;
    return "";
}
// The reference O2 of an entry of ScelteO2: empty for "nessuno".
std::optional<double> O2Di(double scelta);

}  // namespace termix::vista
