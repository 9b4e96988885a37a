#pragma once
// Applies a core operation's display effects, in their order, to the forms.
#include "model/Effetti.h"

namespace termix {

void ApplicaEffetti(const EsitoOperazione& esito);

}  // namespace termix
