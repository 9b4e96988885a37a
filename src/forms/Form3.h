#pragma once
// The combustion-conditions form: heating value, air, ashes, losses.
#include "ui/AdattaSchermo.h"

namespace termix {

class Form3 : public FormBase {
    Q_OBJECT
public:
    Form3();

    void Command6_Click();
    void Command7_Click();
    void Command2_Click();
    void Command4_Click();
    void Command1_Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    bool risultatiPreparati_ = false;
};

}  // namespace termix
