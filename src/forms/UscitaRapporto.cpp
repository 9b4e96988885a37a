#include "forms/UscitaRapporto.h"

namespace termix {

namespace {
UscitaRapporto* installata = nullptr;
}

UscitaRapporto* uscitaRapporto() { return installata; }
void impostaUscitaRapporto(UscitaRapporto* u) { installata = u; }

}  // namespace termix
