#include "model/Numero.h"

namespace termix {

void sollevaErroreAritmetico() { throw ErroreAritmetico(); }

Numero pow(Numero base, Numero esponente) { return verificato(std::pow(base.v, esponente.v)); }
Numero exp(Numero x) { return verificato(std::exp(x.v)); }
// log(0) is -inf and log of a negative number is NaN: both are refused.
Numero log(Numero x) { return verificato(std::log(x.v)); }
Numero sqrt(Numero x) { return verificato(std::sqrt(x.v)); }

}  // namespace termix
