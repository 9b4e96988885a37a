#pragma once
// What the two result forms share: red, unlocked result boxes with a label
// to their left.
#include <QLineEdit>

#include "ui/AdattaSchermo.h"

namespace termix {

// Result box at (l, t) with its label at (lx, t + 50) when `etichetta` is set.
QLineEdit* casellaRisultato(FormBase& f, const char* nome, float l, float t, int tab);

}  // namespace termix
