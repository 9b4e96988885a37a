#pragma once
// "Andamento - Termix54": how the results of the case on the forms move with
// one input, as a chart; the input value for a target flue-gas temperature;
// the sweep exported as the batch tool's CSV or the chart as an image. Opened
// from Form8 afresh each time, on a copy of the case: the forms' record and
// texts are never touched.
#include <vector>

#include "ui/AdattaSchermo.h"
#include "vista/Andamento.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QKeyEvent;

class QChart;
class QChartView;

namespace termix {

class frmAndamento : public FormBase {
    Q_OBJECT
public:
    frmAndamento(const IngressiCaso& caso, const std::string& impianto, const std::string& combustibile,
                 QWidget* padre = nullptr);
    void Form_Load() override;

    // The input chosen in Combo1: its default range, then the sweep.
    void Combo1_Click();
    // "&Calcola": the sweep over Text1..Text3, and the chart.
    bool Command1_Click();
    // "Trova": the target temperature of Text4.
    bool Command2_Click();
    // "Esporta CSV", "Esporta immagine".
    bool Command3_Click();
    bool Command4_Click();

    const std::vector<PuntoAndamento>& punti() const { return modello_.punti(); }
    const Grandezza& variata() const { return Info(modello_.variata()); }
    const vista::Andamento& modello() const { return modello_; }
    // Redraws the chart from the points (the benchmark times it).
    void disegna();

private:
    // A refusal's message, then the focus back in its box.
    void rifiuta(const vista::RifiutoAndamento& r);

    vista::Andamento modello_;
    QComboBox* combo_ = nullptr;
    std::vector<QCheckBox*> risultati_;
    QChart* chart_ = nullptr;
    QChartView* vista_ = nullptr;
    QLabel* risposta_ = nullptr;
    QLabel* stato_ = nullptr;
};

// The case now on the forms: its options, its record's inputs, the heating value it used.
IngressiCaso CasoDalleForme();

// Opens the window on a copy of the case now on the forms.
frmAndamento* apriAndamento();

}  // namespace termix
