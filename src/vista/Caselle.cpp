#include "vista/Caselle.h"

#include "model/Formato.h"
#include "model/Messaggi.h"

namespace termix::vista {

namespace {

std::string_view rifilato(std::string_view t) {
    constexpr std::string_view spazi = " \t\n\v\f\r";
    const auto inizio = t.find_first_not_of(spazi);
    if (inizio == std::string_view::npos) return {};
    return t.substr(inizio, t.find_last_not_of(spazi) - inizio + 1);
}

}  // namespace

const char* RifiutoNumero(std::string_view testo) {
    return !testo.empty() && testo.back() == '.' ? messaggi::UsareVirgola : messaggi::UsareNumeri;
}

const char* RifiutoMentreScrive(std::string_view testo) {
    return !testo.empty() && testo.back() == '.' ? messaggi::UsareVirgola : nullptr;
}

UscitaCampo LasciaCampo(std::string_view testo) {
    UscitaCampo u;
    u.testo = testo.empty() ? std::string("0") : std::string(testo);
    u.valore = LeggiNumero(u.testo);
    if (!u.valore) u.rifiuto = RifiutoNumero(u.testo);
    return u;
}

LetturaCasella LeggiCasella(std::string_view testo) {
    LetturaCasella l;
    testo = rifilato(testo);
    if (testo.empty()) return l;
    l.valore = LeggiNumero(testo);
    if (!l.valore) l.rifiuto = RifiutoNumero(testo);
    return l;
}

LetturaCasella LeggiCella(std::string_view testo, char separatore) {
    if (separatore == ';') {
        LetturaCasella l;
        if (Rifilato(testo).empty()) return l;
        l.valore = LeggiNumero(testo);
        if (!l.valore) l.rifiuto = RifiutoNumero(testo);
        return l;
    }
    LetturaCasella l;
    if (Rifilato(testo).empty()) return l;
    l.valore = LeggiNumeroPunto(testo);
    if (!l.valore) l.rifiuto = messaggi::UsareNumeri;
    return l;
}

}  // namespace termix::vista
