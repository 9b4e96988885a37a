#include "forms/Form7.h"

#include <QLabel>
#include <QPushButton>

#include "forms/Form3.h"
#include "forms/Form8.h"
#include "forms/FormRisultati.h"
#include "forms/GestoreForm.h"
#include "ui/Controlli.h"

namespace termix {

namespace {

struct Riga {
    const char* casella;
    float x, y;
    const char* etichetta;
};

// Left column: label at 360, box at 3240; right column: label at 4680, box at 7920.
const Riga righe[] = {
    {"Text1", 3240, 910, "Portata ponderale C totale [kg/h]"},
    {"Text2", 7920, 910, "Portata ponderale H totale [kg/h]"},
    {"Text3", 3240, 1270, "Portata ponderale O totale [kg/h]"},
    {"Text4", 7920, 1270, "Portata ponderale Cl totale [kg/h]"},
    {"Text5", 3240, 1630, "Portata ponderale S totale [kg/h]"},
    {"Text6", 7920, 1630, "Portata ponderale N totale [kg/h]"},
    {"Text7", 3240, 1990, "Portata ponderale acqua totale [kg/h]"},
    {"Text8", 7920, 1990, "Portata ponderale inerti totale [kg/h]"},
    {"Text9", 3240, 2350, "Energia disponibile in ingresso [kcal/h]"},
    {"Text10", 7920, 2350, "Energia disponibile netta [kcal/h]"},
    {"Text12", 3240, 3550, "Portata ponderale O2 stech. [kg/h]"},
    {"Text13", 7920, 3550, "Portata volumetrica O2 stech. [Nm3/h]"},
    {"Text14", 3240, 3910, "Portata ponderale aria stech. [kg/h]"},
    {"Text15", 7920, 3910, "Portata volumetrica aria stech. [Nm3/h]"},
    {"Text16", 3240, 4270, "Portata ponderale aria effettiva [kg/h]"},
    {"Text17", 7920, 4270, "Portata volumetrica aria effettiva [Nm3/h]"},
    {"Text19", 3240, 4620, "&Umidità spec.[kgH2O/kg aria secca]"},
    {"Text18", 7920, 4620, "Portata acqua (umidità atmosf.) [kg/h]"},
};

}  // namespace

Form7::Form7() : FormBase(QStringLiteral("Form7")) {
    setWindowTitle(QStringLiteral("Bilancio di massa e di energia della combustione"));
    impostaColoreTesto(this, Qt::black);

    etichetta("Label1", QStringLiteral("Caratteristiche combustibile in alimentazione :"), 360, 480, 3300, 195, -1,
              8.25, true);
    etichetta("Label2", QStringLiteral("Caratteristiche aria comburente in alimentazione :"), 360, 3240, 3600, 195,
              -1, 8.25, true);
    int n = 3;
    for (const Riga& r : righe) {
        const int numero = QString::fromLatin1(r.casella).mid(4).toInt();
        QLineEdit* box = casellaRisultato(*this, r.casella, r.x, r.y, 2 + numero);
        const QByteArray nome = "Label" + QByteArray::number(n++);
        QLabel* l = etichetta(nome.constData(), QString::fromUtf8(r.etichetta), r.x < 4000 ? 360 : 4680, r.y + 50,
                              2500, 195);
        if (QByteArray(r.casella) == "Text19") {
            l->setTextFormat(Qt::PlainText);
            l->setBuddy(box);  // Alt+U puts the focus into the humidity box
        }
    }
    linea("Line1", 120, 5280, 9240, 5280);
    auto* precedente = pulsante("Command2", QStringLiteral("&Precedente"), 4800, 5640, 1215, 615, 2, 9.75);
    auto* continua = pulsante("Command3", QStringLiteral("&Continua"), 6240, 5640, 1215, 615, 1, 12);
    auto* esci = pulsante("Command1", QStringLiteral("&ESCI"), 7680, 5640, 1215, 615, 0, 12);

    connect(precedente, &Pulsante::azione, this, &Form7::Command2_Click);
    connect(continua, &Pulsante::azione, this, &Form7::Command3_Click);
    connect(esci, &Pulsante::azione, this, &Form7::Command1_Click);

    ordinaTab();
    esci->setFocus();
    focoVisibile = true;
}

// "&Continua"
void Form7::Command3_Click() { GestoreForm::mostra(GestoreForm::form8()); }
// "&Precedente"
void Form7::Command2_Click() { GestoreForm::mostra(GestoreForm::form3()); }
// "&ESCI"
void Form7::Command1_Click() { close(); }

}  // namespace termix
