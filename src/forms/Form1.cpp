#include "forms/Form1.h"

#include <QLabel>
#include <QShortcut>

#include "forms/Form2.h"
#include "forms/frmAbout.h"
#include "forms/GestoreForm.h"
#include "ui/Controlli.h"

// The title bitmap lives in a static library: register its resource by hand.
static void registraRisorse() { Q_INIT_RESOURCE(risorse); }

namespace termix {

Form1::Form1() : FormBase(QStringLiteral("Form1")) {
    registraRisorse();
    setWindowTitle(QStringLiteral("TMX54"));
    FontSize = 12;
    grassetto = true;
    impostaSfondo(this, coloreVB(0x00FFFF80));

    immagine("Image1", QStringLiteral(":/immagini/titolo.png"), 1680, 600, 6255, 1365);

    const QColor gialloChiaro = coloreVB(0x00C0FFFF);
    QLabel* l3 = etichetta("Label3", QStringLiteral(" BILANCIO DI MASSA E DI ENERGIA DELLA COMBUSTIONE "), 360, 2880,
                           8700, 420, 2, 13.5, true);
    QLabel* l4 = etichetta("Label4", QStringLiteral(" Termix54 versione 1.0.0 "), 3600, 4080, 2340, 360, 3);
    for (QLabel* l : {l3, l4}) {
        impostaSfondo(l, gialloChiaro);
        l->setFrameShape(QFrame::Box);
        l->setLineWidth(1);
    }
    QLabel* l6 = etichetta("Label6", QStringLiteral(" Premere Continua per iniziare "), 360, 5760, 2655, 195, 5,
                           8.25, true);
    impostaSfondo(l6, palette().color(QPalette::Active, QPalette::HighlightedText));
    // The borders changed the labels' own size: measure them again.
    applicaGeometria();

    auto* cont = pulsante("cmdCont", QStringLiteral("&Continua"), 6600, 5640, 1095, 615, 0, 9.75, true);
    auto* esci = pulsante("cmdExit", QStringLiteral("&ESCI"), 7920, 5640, 1095, 615, 1, 8.25, true);
    auto* info = pulsante("Command1", QStringLiteral("&Info"), 5280, 5640, 1095, 615, 6, 9.75, true);
    for (QPushButton* b : {cont, esci, info}) impostaSfondo(b, Qt::white);
    connect(cont, &Pulsante::azione, this, &Form1::cmdCont_Click);
    connect(esci, &Pulsante::azione, this, &Form1::cmdExit_Click);
    connect(info, &Pulsante::azione, this, &Form1::Command1_Click);
    // "&Info" is the form's cancel button: Esc opens the About box.
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, info, &QPushButton::click);

    ordinaTab();
    cont->setFocus();
}

void Form1::Form_Load() {
    const QSizeF s = SchermoInTwips();
    if (!AdattaSchermo(*this, float(s.width()), float(s.height()))) return;
    // Centre the two labels on the maximized form: twice the restored width.
    for (const char* nome : {"Label3", "Label4"}) {
        Controllo* c = controllo(QString::fromLatin1(nome));
        c->Left = (2 * Width - c->Width) / 2;
        applicaControllo(*c);
    }
}

// "&Continua"
void Form1::cmdCont_Click() { GestoreForm::mostra(GestoreForm::form2()); }

// "&Info"
void Form1::Command1_Click() { apriAbout(); }

// "&ESCI"
void Form1::cmdExit_Click() { close(); }

}  // namespace termix
