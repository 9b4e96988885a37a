#pragma once
// The About box: title, version, description, maker information, and the
// launch of the system-information program. Created afresh at every opening,
// non-modal, closed by "OK" or its close box without a question.
#include "ui/AdattaSchermo.h"

class QLabel;

namespace termix {

class Pulsante;
struct AmbienteSistema;
class Registro;
class ControlloFile;
class Avviatore;

// The program's version as its About box writes it.
inline constexpr int VersioneMaggiore = 1;
inline constexpr int VersioneMinore = 0;
inline constexpr int VersioneRevisione = 0;

class frmAbout : public FormBase {
    Q_OBJECT
public:
    frmAbout();
    void Form_Load() override;

    void cmdOK_Click();
    void cmdSysInfo_Click();

    // Controls and lines are measured in the form's user scale: 5380.766 x
    // 2453.724 units over the 5730 x 3555-twip client area.
    double unitaPerPixelX() const override;
    double unitaPerPixelY() const override;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void applicaFinestra();

    QLabel* lblTitle_ = nullptr;
    QLabel* lblVersion_ = nullptr;
    Pulsante* cmdOK_ = nullptr;
    Pulsante* cmdSysInfo_ = nullptr;
};

// Shows the About box over Form1: a new one, loaded afresh, unless one is
// open already, which is brought to the front.
frmAbout* apriAbout();

// The registry, file and launch seams the About box uses: the platform's
// unless a test installed others (not owned; nullptr puts the platform's back).
void impostaSistemaAbout(Registro* registro, ControlloFile* file, Avviatore* avviatore);

}  // namespace termix
