#pragma once
// "Verifica - Termix54": the checks an incinerator engineer makes on the case
// now on the forms (a copy: the forms' record and texts are never touched),
// drawn from the Verifica view model: the support fuel and the checks'
// parameters, the results, the case's warnings and the verdict; the
// support-fuel flow for a target; the lines saved as a Windows-1252 text.
#include <QPointer>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ui/AdattaSchermo.h"
#include "vista/Verifica.h"

class QLabel;
class QListWidget;
class QTabBar;
class QLineEdit;

namespace termix {

class frmCamino;

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

    // "Ca&mino": the stack's window on this case and these inputs.
    frmCamino* Command5_Click();

    // The lines "Salva" writes, for the last completed calculation (empty before one).
    const std::vector<std::string>& righe() const { return righe_; }

    // The inputs into `l`; false (after telling the user) on bad input.
    bool leggiIngressi(vista::LetturaVerifica& l);
    // A box's or list's text as the view model reads it.
    static std::string testoDi(const QWidget* w);
    const IngressiCaso& caso() const { return caso_; }
    // The case now at excess air `testo` (a box's text), as if typed on the
    // conditions form too; then "&Calcola" again.
    void applicaEccesso(const std::string& testo);

    // The refusal's message, then back to the input it names.
    void rifiuta(const std::string& messaggio, const vista::CampoVerifica* campo);
    QWidget* controlloDi(const vista::CampoVerifica& c) const;

private:

    IngressiCaso caso_;
    std::vector<std::string> righe_;
    std::vector<QWidget*> campi_;       // the inputs' controls, in the view model's order
    std::vector<QLineEdit*> risultati_;  // the result boxes, the equilibrium's last
    std::vector<const Grandezza*> risultatiMostrati_;  // what each shows
    QTabBar* schede_ = nullptr;                        // the checks' page, the equilibrium's
    std::array<std::vector<QWidget*>, 2> pagine_;      // the controls of each page
    void mostraPagina(int k);
    QLabel *verdetto_ = nullptr, *risposta_ = nullptr;
    QListWidget* avvisi_ = nullptr;
    QPointer<frmCamino> camino_;  // null again once closed (its destruction may come from ours)
};

// The control of an input of the checks on `f`: a box at (x, y) whose Enter
// runs `invio`, or the list of its choices.
QWidget* controlloCampo(FormBase& f, const vista::CampoVerifica& c, float x, float y, float larghezza, int tab,
                        const std::function<void()>& invio);

// Opens the window on a copy of the case now on the forms.
frmVerifica* apriVerifica();

}  // namespace termix
