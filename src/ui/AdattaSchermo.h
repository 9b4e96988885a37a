#pragma once
// The screen fit: a form's design geometry scaled to the real screen when the
// form loads.
#include <QSizeF>

#include "ui/FormBase.h"

namespace termix {

// Fits `form` to the primary screen (its logical size in twips).
void AdattaSchermo(FormBase& form);
// The same for a given screen size in twips; returns whether it scaled.
bool AdattaSchermo(FormBase& form, float larghezzaSchermo, float altezzaSchermo);
// The primary screen's logical size in twips.
QSizeF SchermoInTwips();

}  // namespace termix
