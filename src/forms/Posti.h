#pragma once
// Where the forms show what the core names: each quantity and role on one
// control of one form. Only the forms know that TempFumi is Form8.Text1.
#include <span>
#include <string>

#include "model/Effetti.h"

class QWidget;

namespace termix {

struct Posto {
    Bersaglio bersaglio;
    Finestra finestra;
    const char* controllo;
};

std::span<const Posto> Posti();
// The object name of a form ("Form2").
const char* NomeFinestra(Finestra f);
// The place of `b`, or null when no form shows it.
const Posto* PostoDi(Bersaglio b);
// The control of `b` on its form (created if need be); never null: a target
// without a control is a programming error and ends the program.
QWidget* ControlloDi(Bersaglio b);
// The text its box shows now (UTF-8).
std::string TestoDi(Bersaglio b);

}  // namespace termix
