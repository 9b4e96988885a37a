#pragma once
// Results: fuel feed, energy and combustion air.
#include "ui/AdattaSchermo.h"

namespace termix {

class Form7 : public FormBase {
    Q_OBJECT
public:
    Form7();

    void Command3_Click();
    void Command2_Click();
    void Command1_Click();
};

}  // namespace termix
