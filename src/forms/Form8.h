#pragma once
// Results: flue-gas properties and composition; print and save the report.
#include "ui/AdattaSchermo.h"

namespace termix {

class Form8 : public FormBase {
    Q_OBJECT
public:
    Form8();

    void Command4_Click();
    void Command6_Click();  // "&Verifica"
    void Command5_Click();
    void Command3_Click();
    void Command2_Click();
    void Command1_Click();
};

}  // namespace termix
