#include "model/Numero.h"

#include <cstdio>

namespace termix {

namespace {

thread_local const Passo* passoCorrente = nullptr;

std::string testo(double x) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", x);
    return buf;
}

std::string descrivi(Operazione op, double a, double b) {
    switch (op) {
        case Operazione::Divisione:
            if (b == 0) return a == 0 ? "divisione 0/0" : "divisione per zero (" + testo(a) + " / 0)";
            return "divisione fuori scala (" + testo(a) + " / " + testo(b) + ")";
        case Operazione::Somma: return "somma fuori scala (" + testo(a) + " + " + testo(b) + ")";
        case Operazione::Sottrazione: return "sottrazione fuori scala (" + testo(a) + " - " + testo(b) + ")";
        case Operazione::Prodotto: return "prodotto fuori scala (" + testo(a) + " * " + testo(b) + ")";
        case Operazione::Potenza:
            return "potenza non finita (" + testo(a) + " elevato a " + testo(b) + ")";
        case Operazione::Esponenziale: return "esponenziale fuori scala (exp di " + testo(a) + ")";
        case Operazione::Logaritmo: return "logaritmo di un numero non positivo (" + testo(a) + ")";
        case Operazione::Radice: return "radice quadrata di un numero negativo (" + testo(a) + ")";
    }
    return "operazione non finita";
}

}  // namespace

ErroreAritmetico::ErroreAritmetico(std::string passo, std::string causa)
    : std::runtime_error(passo.empty() ? causa : passo + ": " + causa), passo_(std::move(passo)),
      causa_(std::move(causa)) {}

Passo::Passo(const char* nome, const char* oggetto)
    : nome_(nome), oggetto_(oggetto), posto_(&passoCorrente), precedente_(*posto_) {
    *posto_ = this;
}
Passo::~Passo() { *posto_ = precedente_; }

std::string PassoCorrente() {
    const Passo* p = passoCorrente;
    if (!p) return {};
    std::string t = p->nome_;
    if (p->oggetto_) t += std::string(" ") + p->oggetto_;
    return t;
}

void sollevaErroreAritmetico(Operazione op, double a, double b) { throw ErroreAritmetico(PassoCorrente(), descrivi(op, a, b)); }

void sollevaErroreAritmetico(std::string causa) { throw ErroreAritmetico(PassoCorrente(), std::move(causa)); }

Numero pow(Numero base, Numero esponente) {
    return verificato(std::pow(base.v, esponente.v), Operazione::Potenza, base.v, esponente.v);
}
Numero exp(Numero x) { return verificato(std::exp(x.v), Operazione::Esponenziale, x.v); }
// log(0) is -inf and log of a negative number is NaN: both are refused.
Numero log(Numero x) { return verificato(std::log(x.v), Operazione::Logaritmo, x.v); }
Numero sqrt(Numero x) { return verificato(std::sqrt(x.v), Operazione::Radice, x.v); }

}  // namespace termix
