#include "vista/TestiForme.h"

#include <iterator>

namespace termix::vista {

const std::string& TestiForme::testo(Bersaglio b) const {
    if (const Quantita* q = std::get_if<Quantita>(&b)) return testi_[Indice(*q)];
    return testiRuoli_[static_cast<std::size_t>(std::get<Ruolo>(b))];
}

void TestiForme::imposta(Bersaglio b, std::string t) {
    if (const Quantita* q = std::get_if<Quantita>(&b)) testi_[Indice(*q)] = std::move(t);
    else testiRuoli_[static_cast<std::size_t>(std::get<Ruolo>(b))] = std::move(t);
}

std::size_t TestiForme::indice(Bersaglio b) {
    if (const Quantita* q = std::get_if<Quantita>(&b)) return Indice(*q);
    return NumeroGrandezze + static_cast<std::size_t>(std::get<Ruolo>(b));
}

void TestiForme::applica(const EsitoOperazione& e) {
    for (const auto& ef : e.effetti) {
        if (ef.tipo == Effetto::Tipo::Testo) imposta(ef.bersaglio, ef.testo);
        else if (ef.tipo == Effetto::Tipo::Colore) colori_[indice(ef.bersaglio)] = ef.colore;
        else if (ef.tipo == Effetto::Tipo::Selezione) seleziona(std::get<Ruolo>(ef.bersaglio), ef.selezionato);
    }
}

void TestiForme::svuota() {
    for (auto& t : testi_) t.clear();
    for (auto& t : testiRuoli_) t.clear();
    scelte_.fill(false);
    colori_.fill(Colore::Nero);
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

namespace {
// In the order of `Ruolo`.
constexpr const char* NomiRuoli[] = {"TipoMetano", "TipoAltri",    "ComposizioneAtomica", "ComposizionePonderale",
                                     "Continua",   "TotaleVolume", "TotalePeso"};
static_assert(std::size(NomiRuoli) == NumeroRuoli);
}  // namespace

const char* NomeRuolo(Ruolo r) { return NomiRuoli[static_cast<std::size_t>(r)]; }

std::optional<Ruolo> RuoloDiNome(std::string_view nome) {
    for (std::size_t r = 0; r < NumeroRuoli; ++r)
        if (nome == NomiRuoli[r]) return static_cast<Ruolo>(r);
    return std::nullopt;
}

}  // namespace termix::vista
