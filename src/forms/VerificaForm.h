#pragma once
// "Verifica - Termix54": the checks an incinerator engineer makes on the case
// now on the forms (a copy: the forms' record and texts are never touched):
// a support fuel, the reference temperature, the post-combustion chamber,
// raw-gas loads at the reference O2, the dew points and the verdict; the
// support-fuel flow for a target; the lines saved as a Windows-1252 text.
#include <optional>
#include <string>
#include <vector>

#include "combustion/Supporto.h"
#include "combustion/VerificaCaso.h"
#include "ui/AdattaSchermo.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QKeyEvent;

namespace termix {

class frmVerifica : public FormBase {
    Q_OBJECT
public:
    explicit frmVerifica(const IngressiCaso& caso, QWidget* padre = nullptr);
    void Form_Load() override;

    // "&Calcola": reads the inputs, runs the case with its support fuel, shows the checks.
    bool Command1_Click();
    // "&Trova supporto": the support-fuel flow for the target, then the case at it.
    bool Command2_Click();
    // "&Salva": the lines as a Windows-1252 text.
    bool Command3_Click();

    // The lines "Salva" writes, for the last completed calculation (empty before one).
    const std::vector<std::string>& righe() const { return righe_; }

private:
    // The inputs into `l`; false (after telling the user) on bad input.
    bool leggiIngressi(LetturaVerifica& l);

    IngressiCaso caso_;
    std::vector<std::string> righe_;
    QComboBox *tipo_ = nullptr, *o2_ = nullptr, *modello_ = nullptr;
    QLabel *verdetto_ = nullptr, *risposta_ = nullptr;
};

// Opens the window on a copy of the case now on the forms.
frmVerifica* apriVerifica();

}  // namespace termix
