#include "vista/TestiForme.h"

namespace termix::vista {

const std::string& TestiForme::testo(Bersaglio b) const {
    if (const Quantita* q = std::get_if<Quantita>(&b)) return testi_[Indice(*q)];
    return testiRuoli_[static_cast<std::size_t>(std::get<Ruolo>(b))];
}

void TestiForme::imposta(Bersaglio b, std::string t) {
    if (const Quantita* q = std::get_if<Quantita>(&b)) testi_[Indice(*q)] = std::move(t);
    else testiRuoli_[static_cast<std::size_t>(std::get<Ruolo>(b))] = std::move(t);
}

void TestiForme::applica(const EsitoOperazione& e) {
    for (const auto& ef : e.effetti) {
        if (ef.tipo == Effetto::Tipo::Testo) imposta(ef.bersaglio, ef.testo);
        else if (ef.tipo == Effetto::Tipo::Selezione) seleziona(std::get<Ruolo>(ef.bersaglio), ef.selezionato);
    }
}

void TestiForme::svuota() {
    for (auto& t : testi_) t.clear();
    for (auto& t : testiRuoli_) t.clear();
    scelte_.fill(false);
}

TipoCombustibile TestiForme::tipo() const {
    return selezionato(Ruolo::Metano)  ? TipoCombustibile::Metano
           : selezionato(Ruolo::Altri) ? TipoCombustibile::Altri
                                       : TipoCombustibile::Nessuno;
}

Composizione TestiForme::composizione() const {
    return selezionato(Ruolo::Atomica)     ? Composizione::Atomica
           : selezionato(Ruolo::Ponderale) ? Composizione::Ponderale
                                           : Composizione::Nessuna;
}

}  // namespace termix::vista
