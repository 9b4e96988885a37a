#pragma once
// The forms' side of the report: box texts read from the widgets, and the
// output Form8's "&Salva" and "Stam&pa" use.
#include <memory>

#include "forms/UscitaRapporto.h"
#include "report/Rapporto.h"

namespace termix {

// Reads a box of a form at the moment the report asks for it.
class TestiDelleForm : public SorgenteTesti {
public:
    std::string Testo(Bersaglio b) const override;
};

class UscitaRapportoForm : public UscitaRapporto {
public:
    // `orologio` null: the system clock.
    explicit UscitaRapportoForm(Orologio* orologio = nullptr);
    ~UscitaRapportoForm() override;

    // "Stam&pa": the default printer; any failure gives the message.
    void stampa() override;
    // "&Salva": asks the name, writes name + ".TXT"; any failure gives the message.
    void salva() override;

private:
    std::unique_ptr<Orologio> proprio_;
    Orologio* orologio_;
};

// Installs the real report output for the program's lifetime.
void installaUscitaRapporto();

}  // namespace termix
