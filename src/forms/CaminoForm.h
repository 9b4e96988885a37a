#pragma once
// "Camino - Termix54", opened from the Verifica window: the stack's readings
// (measured O2 or CO2, CO, stack temperature) on the Verifica window's case
// and support fuel, the excess air they give, the losses, the efficiency,
// the recoverable heat and the flow at the stack, with their notes; the
// excess air found applied to the case.
#include <vector>

#include "ui/AdattaSchermo.h"
#include "vista/Camino.h"

class QLineEdit;
class QListWidget;

namespace termix {

class frmVerifica;

class frmCamino : public FormBase {
    Q_OBJECT
public:
    explicit frmCamino(frmVerifica& verifica);

    // "&Calcola": reads the readings and the Verifica window's inputs, shows the results.
    bool Command1_Click();
    // "&Applica eccesso d'aria": the excess air found becomes the case's.
    bool Command2_Click();

private:
    frmVerifica& verifica_;
    std::vector<QWidget*> campi_;  // the readings' controls, in the view model's order (null: not a reading)
    std::vector<QLineEdit*> risultati_;
    QListWidget* note_ = nullptr;
    std::optional<std::string> eccesso_;  // what "Applica" writes, from the last "&Calcola"
};

}  // namespace termix
