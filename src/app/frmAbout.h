#pragma once
// The About box: created afresh at every opening, non-modal, closes without
// asking.
#include "app/AdattaSchermo.h"

namespace termix {

class frmAbout : public FormBase {
    Q_OBJECT
public:
    frmAbout();
    void Form_Load() override;
    void cmdOK_Click();
};

// Opens a new About box over the active form and returns it.
frmAbout* apriAbout();

}  // namespace termix
