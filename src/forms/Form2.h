#pragma once
// The fuel form: plant and fuel names, flow, fuel type, composition.
#include "fuel/CalcoloCombustibile.h"
#include "ui/AdattaSchermo.h"

namespace termix {

class Form2 : public FormBase {
    Q_OBJECT
public:
    Form2();

    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Command4_Click();
    void Command2_Click();
    void Command1_Click();

    // The two choices as they stand, read when "&Calcola" runs.
    TipoCombustibile tipo() const;
    Composizione composizione() const;

private:
    bool scelto(const char* opzione) const;
};

}  // namespace termix
