#pragma once
// What the forms show: the text of every box and the state of every choice,
// as the user typed them and the handlers' effects wrote them. The report is
// made from these texts, never from the record.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "fuel/CalcoloCombustibile.h"
#include "model/Effetti.h"

namespace termix::vista {

class TestiForme {
public:
    const std::string& testo(Bersaglio b) const;
    bool selezionato(Ruolo r) const { return scelte_[static_cast<std::size_t>(r)]; }
    // The text's colour as the effects left it (black until one says otherwise).
    Colore colore(Bersaglio b) const { return colori_[indice(b)]; }
    void imposta(Bersaglio b, std::string t);
    void seleziona(Ruolo r, bool s) { scelte_[static_cast<std::size_t>(r)] = s; }
    // Takes the texts, colours and selections of a core operation's effects, in order.
    void applica(const EsitoOperazione& e);
    void svuota();

    // The two groups as now selected.
    TipoCombustibile tipo() const;
    Composizione composizione() const;

private:
    static std::size_t indice(Bersaglio b);

    std::array<Colore, NumeroGrandezze + NumeroRuoli> colori_{};
    std::array<std::string, NumeroGrandezze> testi_;
    std::array<std::string, NumeroRuoli> testiRuoli_;
    std::array<bool, NumeroRuoli> scelte_{};
};

// The name of a role where a face needs one (the page's ids, a saved case).
const char* NomeRuolo(Ruolo r);
// The role of that name, or none.
std::optional<Ruolo> RuoloDiNome(std::string_view nome);

}  // namespace termix::vista
