#pragma once
// The title form: the program's first window.
#include "ui/AdattaSchermo.h"

namespace termix {

class Form1 : public FormBase {
    Q_OBJECT
public:
    Form1();
    void Form_Load() override;

    void cmdCont_Click();
    void Command1_Click();
    void cmdExit_Click();
};

}  // namespace termix
