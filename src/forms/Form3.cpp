#include "forms/Form3.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "combustion/CalcoloCondizioni.h"
#include "forms/ApplicaEffetti.h"
#include "forms/Form2.h"
#include "forms/GestoreForm.h"
#include "ui/CampoNumerico.h"
#include "ui/Controlli.h"

namespace termix {

namespace {

using Q = Quantita;

const VoceCampo campi[] = {
    {"Text1", Q::PotereCalorifico, "Text2", 7440, 670, 1},
    {"Text2", Q::EccessoAria, "Text4", 3000, 1150, 3},
    {"Text4", Q::TempAria, "Text5", 7440, 1150, 6},
    {"Text5", Q::UmiditaRelativa, "Text8", 3000, 1630, 8},
    {"Text8", Q::TempCeneri, "Text10", 7440, 1620, 11},
    {"Text10", Q::Dispersioni, "Command4", 3000, 2100, 12},
};

void suggerimento(QLabel* l) {
    impostaSfondo(l, Qt::white);
    impostaColoreTesto(l, QColor(0, 128, 0));
    l->setFrameShape(QFrame::Box);
    l->setLineWidth(1);
}

}  // namespace

Form3::Form3() : FormBase(QStringLiteral("Form3")) {
    setWindowTitle(QStringLiteral("Bilancio di massa e di energia della combustione"));
    impostaColoreTesto(this, Qt::black);

    creaCampi(*this, sessione(), campi);
    etichetta("Label2", QStringLiteral("Potere calorifico noto ?"), 360, 720, 1635, 195, 0);
    auto* si = pulsante("Command6", QStringLiteral("&Si"), 2280, 600, 735, 330, 16);
    auto* no = pulsante("Command7", QStringLiteral("&No"), 3360, 600, 735, 330, 17);
    etichetta("Label5", QStringLiteral("Potere calorifico [kcal/kg]"), 4560, 720, 1830, 195, 5);
    etichetta("Label4", QStringLiteral("Eccesso d'aria nell'inceneritore [%]"), 360, 1200, 2430, 195, 4);
    etichetta("Label3", QStringLiteral("Temperatura dell'aria [°C]"), 4560, 1200, 1770, 195, 2);
    etichetta("Label6", QStringLiteral("Umidità relativa dell'aria [%]"), 360, 1680, 1905, 195, 7);
    etichetta("Label7", QStringLiteral("Temperatura uscita ceneri [°C]"), 4560, 1680, 2145, 195, 9);
    etichetta("Label9", QStringLiteral("Dispersioni termiche [%]"), 360, 2160, 1665, 195, 10);
    suggerimento(etichetta("Label24", QStringLiteral(" Usare la virgola per i decimali "), 480, 2640, 2205, 255, 13));
    linea("Line1", 120, 3120, 9240, 3120);
    suggerimento(etichetta("Label11", QStringLiteral(" Clickare sul tasto Calcola  "), 4440, 3600, 1965, 255, 19));
    auto* calcola = pulsante("Command4", QStringLiteral("&Calcola"), 7200, 3360, 1215, 615, 18);
    auto* precedente = pulsante("Command2", QStringLiteral("&Precedente"), 6000, 5640, 1215, 615, 14);
    auto* esci = pulsante("Command1", QStringLiteral("&ESCI"), 7680, 5640, 1215, 615, 15);
    applicaGeometria();

    connect(si, &Pulsante::azione, this, &Form3::Command6_Click);
    connect(no, &Pulsante::azione, this, &Form3::Command7_Click);
    connect(calcola, &Pulsante::azione, this, &Form3::Command4_Click);
    connect(precedente, &Pulsante::azione, this, &Form3::Command2_Click);
    connect(esci, &Pulsante::azione, this, &Form3::Command1_Click);

    ordinaTab();
    primoDelTab()->setFocus();
}

void Form3::showEvent(QShowEvent* e) {
    FormBase::showEvent(e);
    if (risultatiPreparati_) return;
    risultatiPreparati_ = true;
    // The result forms are created (hidden, fitted to the screen) while the
    // user reads this form, one per pass of the event loop, so that the first
    // "&Calcola" costs what later ones cost. Tied to this form: a form torn
    // down before then creates nothing.
    QTimer::singleShot(0, this, [this] {
        GestoreForm::form7();
        QTimer::singleShot(0, this, [] { GestoreForm::form8(); });
    });
}

// "&Si": the heating value is known.
void Form3::Command6_Click() { ApplicaEffetti(sessione().Si()); }

// "&No": the heating value from the composition.
void Form3::Command7_Click() { ApplicaEffetti(sessione().No()); }

// "&Precedente": the heating value's box emptied, back to the fuel form.
void Form3::Command2_Click() { ApplicaEffetti(sessione().Precedente()); }

// "&Calcola"
void Form3::Command4_Click() {
    EsitoOperazione e;
    {
        CursoreAttesa attesa;  // down again before any message box comes up
        e = sessione().Calcola();
    }
    ApplicaEffetti(e);
}

// "&ESCI"
void Form3::Command1_Click() { close(); }

}  // namespace termix
