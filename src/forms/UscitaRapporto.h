#pragma once
// Where Form8's "Stam&pa" and "&Salva" send the report. The report room
// installs its implementation at start; with none installed the buttons do
// nothing.

namespace termix {

class UscitaRapporto {
public:
    virtual ~UscitaRapporto() = default;
    virtual void stampa() = 0;
    virtual void salva() = 0;
};

// The installed output, or nullptr.
UscitaRapporto* uscitaRapporto();
// Installs `u` (not owned); nullptr removes it.
void impostaUscitaRapporto(UscitaRapporto* u);

}  // namespace termix
