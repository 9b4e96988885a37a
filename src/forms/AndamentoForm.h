#pragma once
// "Andamento - Termix54": how the results of the case on the forms move with
// one input, as a chart; the input value for a target flue-gas temperature;
// the sweep exported as the batch tool's CSV or the chart as an image. Opened
// from Form8 afresh each time, on a copy of the case: the forms' record and
// texts are never touched.
#include <vector>

#include "combustion/Andamento.h"
#include "ui/AdattaSchermo.h"

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
    explicit frmAndamento(const IngressiCaso& caso, QWidget* padre = nullptr);
    void Form_Load() override;

    // The input chosen in Combo1: its default range, then the sweep.
    void Combo1_Click();
    // "&Calcola": the sweep over Text1..Text3, and the chart.
    bool Command1_Click();
    // "Trova": the target temperature of Text4.
    void Command2_Click();
    // "Esporta CSV", "Esporta immagine".
    bool Command3_Click();
    bool Command4_Click();

    const std::vector<PuntoAndamento>& punti() const { return punti_; }
    const Grandezza& variata() const;
    // The sweep as termix54-batch --variando writes it (';' convention).
    std::string tabellaCsv() const;
    // Redraws the chart from the points (the benchmark times it).
    void disegna();

private:
    bool leggi(const char* casella, double& valore);

    IngressiCaso caso_;
    Modulo1 attuale_;          // the case itself, marked on the chart
    bool attualeOk_ = false;
    std::vector<double> valori_;
    std::vector<PuntoAndamento> punti_;
    std::optional<Obiettivo> obiettivo_;
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
