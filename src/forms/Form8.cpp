#include "forms/Form8.h"

#include <QLabel>
#include <QPushButton>

#include "forms/AndamentoForm.h"
#include "forms/Form7.h"
#include "forms/VerificaForm.h"
#include "forms/FormRisultati.h"
#include "forms/GestoreForm.h"
#include "forms/UscitaRapporto.h"
#include "ui/Controlli.h"

namespace termix {

namespace {

struct Riga {
    const char* casella;
    float x, y;
};

}  // namespace

Form8::Form8() : FormBase(QStringLiteral("Form8")) {
    setWindowTitle(QStringLiteral("Bilancio di massa e di energia della combustione"));
    impostaColoreTesto(this, Qt::black);

    int n = 1;
    auto label = [&](const char* testo, float x, float y, double font = 0, bool bold = false) {
        const QByteArray nome = "Label" + QByteArray::number(n++);
        return etichetta(nome.constData(), QString::fromUtf8(testo), x, y, 1500, 195, -1, font, bold);
    };
    label("Caratteristiche fumi di combustione :", 360, 480, 8.25, true);

    // Tab order: "&ESCI", "&Precedente", the boxes in number order, then
    // "Stam&pa", "&Salva", "&Grafico" and "&Verifica".
    auto tab = [](int numero) { return numero == 1 ? 2 : numero + 1; };
    const struct {
        const char* casella;
        float x, y;
        const char* etichetta;
    } proprieta[] = {
        {"Text1", 3120, 1030, "Temperatura teorica fumi [°C]"},
        {"Text3", 3120, 1390, "Peso molecolare medio fumi [g/mole]"},
        {"Text4", 7680, 1390, nullptr},
        {"Text5", 3120, 1750, "Costante equilibrio reazione cloro "},
        {"Text6", 7680, 1750, "Concentrazione Cl2 nei fumi [ppm]"},
        {"Text7", 3120, 2110, "Portata volumetrica fumi [Nm3/h]"},
        {"Text8", 7680, 2110, "Portata volumetrica fumi [m3/h]"},
    };
    for (const auto& p : proprieta) {
        const int numero = QString::fromLatin1(p.casella).mid(4).toInt();
        casellaRisultato(*this, p.casella, p.x, p.y, tab(numero));
        if (p.etichetta) label(p.etichetta, p.x < 4000 ? 360 : 4680, p.y + 50);
    }
    label("Calore specifico medio fumi alla ", 4680, 1200);
    label("temperatura media dei fumi [kca/kg°C]", 4680, 1440);

    label("Composto", 360, 2520);
    label("Portata [kmoli/h]", 1440, 2520);
    label("Portata [kg/h]", 3120, 2520);
    label("% volume ", 4800, 2520);
    label("% peso ", 6360, 2520);
    const char* const composti[] = {"N2", "O2", "CO2", "H2O", "SO2", "HCl", "Totale fumi"};
    const float colonne[] = {1440, 3000, 4560, 6120};
    int numero = 9;
    for (int r = 0; r < 7; ++r) {
        const float y = 2880 + 360 * r;
        label(composti[r], r == 6 ? 360 : 480, y + 50);
        for (float x : colonne) {
            const QByteArray nome = "Text" + QByteArray::number(numero);
            casellaRisultato(*this, nome.constData(), x, y, tab(numero));
            ++numero;
        }
    }
    linea("Line1", 240, 5520, 9360, 5520);
    auto* verifica = pulsante("Command6", QStringLiteral("&Verifica"), 480, 5640, 1215, 615, 41, 12);
    auto* grafico = pulsante("Command4", QStringLiteral("&Grafico"), 1920, 5640, 1215, 615, 40, 12);
    auto* salva = pulsante("Command5", QStringLiteral("&Salva"), 3360, 5640, 1215, 615, 39, 12);
    auto* stampa = pulsante("Command3", QStringLiteral("Stam&pa"), 4800, 5640, 1215, 615, 38, 12);
    auto* precedente = pulsante("Command2", QStringLiteral("&Precedente"), 6240, 5640, 1215, 615, 1, 9.75);
    auto* esci = pulsante("Command1", QStringLiteral("&ESCI"), 7680, 5640, 1215, 615, 0, 12);

    connect(verifica, &Pulsante::azione, this, &Form8::Command6_Click);
    connect(grafico, &Pulsante::azione, this, &Form8::Command4_Click);
    connect(salva, &Pulsante::azione, this, &Form8::Command5_Click);
    connect(stampa, &Pulsante::azione, this, &Form8::Command3_Click);
    connect(precedente, &Pulsante::azione, this, &Form8::Command2_Click);
    connect(esci, &Pulsante::azione, this, &Form8::Command1_Click);

    ordinaTab();
    esci->setFocus();
    focoVisibile = true;
}

// "&Grafico"
void Form8::Command4_Click() { apriAndamento(); }
void Form8::Command6_Click() { apriVerifica(); }

// "&Salva"
void Form8::Command5_Click() {
    if (UscitaRapporto* u = uscitaRapporto()) u->salva();
}

// "Stam&pa"
void Form8::Command3_Click() {
    if (UscitaRapporto* u = uscitaRapporto()) u->stampa();
}

// "&Precedente"
void Form8::Command2_Click() { GestoreForm::mostra(GestoreForm::form7()); }
// "&ESCI"
void Form8::Command1_Click() { close(); }

}  // namespace termix
