#include "forms/Form2.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "forms/ApplicaEffetti.h"
#include "forms/Form3.h"
#include "forms/GestoreForm.h"
#include "fuel/CalcoloCombustibile.h"
#include "ui/CampoNumerico.h"
#include "ui/Controlli.h"

namespace termix {

namespace {

using Q = Quantita;

// Box, quantity, next on Enter, position, tab index.
const VoceCampo campi[] = {
    {"Text1", Q::Impianto, "Text2", 3000, 180, 0},
    {"Text2", Q::Combustibile, "Text20", 3000, 600, 1},
    {"Text20", Q::PortataComb, "Text3", 7800, 600, 53},
    {"Text3", Q::AtomiC, "Text5", 3000, 1990, 2},
    {"Text5", Q::AtomiH, "Text7", 3000, 2350, 16},
    {"Text7", Q::AtomiO, "Text9", 3000, 2710, 20},
    {"Text9", Q::AtomiCl, "Text11", 3000, 3070, 22},
    {"Text11", Q::AtomiS, "Text13", 3000, 3430, 24},
    {"Text13", Q::AtomiN, "Command4", 3000, 3790, 27},
    {"Text4", Q::FrazC, "Text6", 6000, 1990, 4},
    {"Text6", Q::FrazH, "Text8", 6000, 2350, 17},
    {"Text8", Q::FrazO, "Text10", 6000, 2710, 21},
    {"Text10", Q::FrazCl, "Text12", 6000, 3070, 23},
    {"Text12", Q::FrazS, "Text14", 6000, 3430, 26},
    {"Text14", Q::FrazN, "Text15", 6000, 3790, 28},
    {"Text15", Q::Inerti, "Text16", 6000, 4150, 29},
    {"Text16", Q::Acqua, "Command4", 6000, 4510, 30},
};

void suggerimento(QLabel* l, const QColor& testo) {
    impostaSfondo(l, Qt::white);
    impostaColoreTesto(l, testo);
    l->setFrameShape(QFrame::Box);
    l->setLineWidth(1);
}

}  // namespace

Form2::Form2() : FormBase(QStringLiteral("Form2")) {
    setWindowTitle(QStringLiteral("Bilancio di massa e di energia della della combustione"));
    impostaColoreTesto(this, Qt::black);

    creaCampi(*this, sessione(), campi);
    etichetta("Label2", QStringLiteral("Nome dell'impianto"), 360, 240, 1320, 195, 51);
    etichetta("Label25", QStringLiteral("Nome combustibile"), 360, 600, 1335, 195, 12);
    etichetta("Label1", QStringLiteral("Portata combustibile [kg/h]"), 4920, 600, 1905, 195, 52);

    QFrame* frame = cornice("Frame1", 4320, 960, 4215, 425, 42);
    etichetta("Label14", QStringLiteral("Composizione :   1- Atomica  "), 120, 120, 2040, 195, 43, 0, false, frame);
    QRadioButton* o3 = opzione("Option3", 2160, 120, 44, frame);
    etichetta("Label16", QStringLiteral("2 - Ponderale"), 2640, 120, 945, 195, 45, 0, false, frame);
    QRadioButton* o4 = opzione("Option4", 3720, 120, 46, frame);
    frame->hide();

    etichetta("Label4", QStringLiteral("Tipo di combustibile :"), 360, 1080, 1485, 195, 3);
    etichetta("Label23", QStringLiteral("1 - Metano "), 2040, 1080, 810, 195, 5);
    QRadioButton* o1 = opzione("Option1", 2880, 1080, 40);
    etichetta("Label8", QStringLiteral("2 - Altri "), 3360, 1080, 525, 195, 15);
    QRadioButton* o2 = opzione("Option2", 3960, 1080, 41);
    etichetta("Label18", QStringLiteral("Composizione del combustibile :"), 360, 1440, 2715, 195, 47, 8.25, true);
    suggerimento(etichetta("Label24", QStringLiteral(" Usare la virgola per i decimali "), 7080, 1440, 2205, 255, 6),
                 QColor(0, 128, 0));
    etichetta("Label7", QStringLiteral("Specie atomica"), 360, 1770, 1095, 195, 11);
    etichetta("Label15", QStringLiteral("Composizione atomica"), 2760, 1770, 1575, 195, 18);
    etichetta("Label19", QStringLiteral("Frazione ponderale"), 5880, 1770, 1350, 195, 25);
    etichetta("Label17", QStringLiteral("Carbonio"), 360, 2040, 630, 195, 19);
    etichetta("Label13", QStringLiteral("Idrogeno"), 360, 2400, 630, 195, 13);
    etichetta("Label27", QStringLiteral("Ossigeno"), 360, 2760, 660, 195, 36);
    etichetta("Label30", QStringLiteral("Cloro"), 360, 3120, 360, 195, 37);
    etichetta("Label31", QStringLiteral("Zolfo"), 360, 3480, 360, 195, 38);
    suggerimento(etichetta("Label11", QStringLiteral(" Clickare sul tasto Calcola  "), 7320, 3720, 1965, 255, 10),
                 QColor(0, 128, 0));
    etichetta("Label12", QStringLiteral("Azoto"), 360, 3840, 405, 195, 8);
    auto* calcola = pulsante("Command4", QStringLiteral("&Calcola"), 7560, 4080, 1215, 615, 9, 12);
    QLineEdit* t19 = casella("Text19", 3000, 4150, 48);
    impostaColoreTesto(t19, QColor(255, 0, 0));
    t19->hide();
    QLabel* l10 = etichetta("Label10", QStringLiteral("Peso molecolare [g/mole]"), 360, 4200, 1800, 195, 49);
    l10->hide();
    etichetta("Label28", QStringLiteral("Contenuto inerti"), 4560, 4200, 1110, 195, 31);
    etichetta("Label3", QStringLiteral("Contenuto acqua"), 4560, 4560, 1230, 195, 7);
    linea("Line1", 240, 4920, 9360, 4920);
    impostaColoreTesto(casella("Text17", 3000, 4990, 32), QColor(255, 0, 0));
    impostaColoreTesto(casella("Text18", 7440, 4990, 33), QColor(255, 0, 0));
    etichetta("Label5", QStringLiteral("Ossigeno stechiom.[moli/kg comb.]"), 360, 5040, 2475, 195, 14);
    etichetta("Label6", QStringLiteral("Ossigeno ponderale [kg/kg comb.]"), 4560, 5040, 2460, 195, 35);
    auto* continua = pulsante("Command2", QStringLiteral("&Continua"), 6000, 5640, 1215, 615, 39, 12);
    auto* esci = pulsante("Command1", QStringLiteral("&ESCI"), 7680, 5640, 1215, 615, 34, 12);
    suggerimento(etichetta("Label9", QStringLiteral(" Usare la virgola per i decimali "), 1320, 5880, 2205, 255, 50),
                 QColor(0, 0, 192));
    // Borders and colours changed the hint labels' own size: measure again.
    applicaGeometria();

    // Two option groups: the fuel type on the form, the composition in the
    // frame. Qt would otherwise see all four as one group (nested children).
    for (auto [a, b] : {std::pair{o1, o2}, std::pair{o3, o4}}) {
        auto* gruppo = new QButtonGroup(this);
        gruppo->addButton(a);
        gruppo->addButton(b);
    }
    connect(o1, &QRadioButton::toggled, this, [this](bool s) { if (s) Option1_Click(); });
    connect(o2, &QRadioButton::toggled, this, [this](bool s) { if (s) Option2_Click(); });
    connect(o3, &QRadioButton::toggled, this, [this](bool s) { if (s) Option3_Click(); });
    connect(o4, &QRadioButton::toggled, this, [this](bool s) { if (s) Option4_Click(); });
    connect(calcola, &Pulsante::azione, this, &Form2::Command4_Click);
    connect(continua, &Pulsante::azione, this, &Form2::Command2_Click);
    connect(esci, &Pulsante::azione, this, &Form2::Command1_Click);

    ordinaTab();
    primoDelTab()->setFocus();
}

TipoCombustibile Form2::tipo() const { return sessione().testi().tipo(); }

Composizione Form2::composizione() const { return sessione().testi().composizione(); }

bool Form2::scelto(const char* opzione) const {
    return findChild<QRadioButton*>(QString::fromLatin1(opzione))->isChecked();
}

// The options: what each shows or hides here; the boxes' texts, colours and
// the focus come from the case's own rule for the choice.

// "1 - Metano" chosen.
void Form2::Option1_Click() {
    findChild<QWidget*>(QStringLiteral("Frame1"))->hide();
    findChild<QWidget*>(QStringLiteral("Label10"))->show();
    findChild<QWidget*>(QStringLiteral("Text19"))->show();
    ApplicaEffetti(sessione().Sceglie(Ruolo::Metano));
}

// "2 - Altri" chosen.
void Form2::Option2_Click() {
    findChild<QWidget*>(QStringLiteral("Frame1"))->show();
    ApplicaEffetti(sessione().Sceglie(Ruolo::Altri));
}

// "1- Atomica" chosen.
void Form2::Option3_Click() {
    if (scelto("Option2")) {
        findChild<QWidget*>(QStringLiteral("Label10"))->show();
        findChild<QWidget*>(QStringLiteral("Text19"))->show();
    }
    ApplicaEffetti(sessione().Sceglie(Ruolo::Atomica));
}

// "2 - Ponderale" chosen.
void Form2::Option4_Click() {
    if (scelto("Option2")) {
        findChild<QWidget*>(QStringLiteral("Label10"))->hide();
        findChild<QWidget*>(QStringLiteral("Text19"))->hide();
    }
    ApplicaEffetti(sessione().Sceglie(Ruolo::Ponderale));
}

// "&Calcola"
void Form2::Command4_Click() { ApplicaEffetti(sessione().CalcolaCombustibile()); }

// "&Continua"
void Form2::Command2_Click() { GestoreForm::mostra(GestoreForm::form3()); }

// "&ESCI"
void Form2::Command1_Click() { close(); }

}  // namespace termix
