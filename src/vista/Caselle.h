#pragma once
// The rules of a box that takes a number, the same on every face: what typing
// may not leave in it, what leaving it does, what an empty box means, and
// which message a text that is no number gets.
#include <optional>
#include <string>
#include <string_view>

namespace termix::vista {

// The message for a text that does not read as a number: a '.' at the end is
// a decimal point typed for the comma ("Usare la virgola invece del punto !"),
// anything else "Usare i numeri !".
const char* RifiutoNumero(std::string_view testo);

// While the user types: a text ending in '.' is refused at once.
const char* RifiutoMentreScrive(std::string_view testo);

// Leaving a box of the fuel or conditions form: an empty box shows "0"; a text
// that is no number is refused, otherwise `valore` is what the record takes.
struct UscitaCampo {
    std::string testo;             // what the box shows now
    std::optional<double> valore;  // empty after a refusal
    const char* rifiuto = nullptr;
};
UscitaCampo LasciaCampo(std::string_view testo);

// A box of a window whose empty text means the rule's default (Verifica,
// Andamento): blanks around are ignored; empty gives no value and no refusal.
struct LetturaCasella {
    std::optional<double> valore;
    const char* rifiuto = nullptr;
    bool vuota() const { return !valore && !rifiuto; }
};
LetturaCasella LeggiCasella(std::string_view testo);

// A cell of the batch tool: the ';' convention reads as a box does, the ','
// convention with the decimal point. Empty: no value, no refusal.
LetturaCasella LeggiCella(std::string_view testo, char separatore);

}  // namespace termix::vista
