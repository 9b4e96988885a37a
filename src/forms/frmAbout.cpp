#include "forms/frmAbout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QVariant>
#include <cmath>

#include "forms/Form1.h"
#include "forms/GestoreForm.h"
#include "forms/InfoSistema.h"
#include "model/Messaggi.h"
#include "ui/Controlli.h"
#include "ui/Dialoghi.h"

// The resource lives in a static library: its initializer must be referenced.
static void caricaRisorseAbout() { Q_INIT_RESOURCE(about); }

namespace termix {

namespace {

// The user scale: how many twips one unit is, across and down.
constexpr double TwipsPerUnitaX = 5730.0 / 5380.766;
constexpr double TwipsPerUnitaY = 3555.0 / 2453.724;

float ux(double twips) { return float(twips / TwipsPerUnitaX); }
float uy(double twips) { return float(twips / TwipsPerUnitaY); }

const QColor VerdeChiaro = coloreVB(0x0080FF80);
const QColor CianoChiaro = coloreVB(0x00FFFF80);
const QColor Bianco = coloreVB(0x00FFFFFF);
const QColor Grigio = coloreVB(0x00808080);
const QColor Nero = coloreVB(0x00000000);

// A horizontal line drawn `spessore` pixels thick from its top edge.
class LineaSpessa : public Linea {
public:
    LineaSpessa(QWidget* parent, int spessore) : Linea(parent), spessore_(spessore) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(QRect(0, 0, width(), spessore_), palette().color(QPalette::WindowText));
    }

private:
    int spessore_;
};

struct SistemaAbout {
    Registro* registro = nullptr;
    ControlloFile* file = nullptr;
    Avviatore* avviatore = nullptr;
};
SistemaAbout& sistemaAbout() {
    static SistemaAbout s;
    return s;
}

QPointer<frmAbout>& aperto() {
    static QPointer<frmAbout> p;
    return p;
}

}  // namespace

void impostaSistemaAbout(Registro* registro, ControlloFile* file, Avviatore* avviatore) {
    sistemaAbout() = {registro, file, avviatore};
}

frmAbout::frmAbout()
    : FormBase(QStringLiteral("frmAbout"), nullptr,
               Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint) {
    caricaRisorseAbout();
    setAttribute(Qt::WA_DeleteOnClose);
    confermaUscita = false;
    impostaSfondo(this, VerdeChiaro);

    // Client area and its origin on the design screen, in twips.
    Left = 2340;
    Top = 1935;
    Width = 5730;
    Height = 3555;

    auto* pic = new QLabel(this);
    pic->setPixmap(QPixmap(QStringLiteral(":/about/picIcon.png")));
    pic->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    impostaSfondo(pic, CianoChiaro);
    // A picture box sizes itself to its picture.
    aggiungi(pic, {.nome = "picIcon", .left = ux(240), .top = uy(240), .width = ux(540), .height = uy(540), .tab = 1, .autoSize = true});

    const auto etichetta = [this](const char* nome, const QString& testo, double l, double t, double w, double h,
                                  int tab) {
        auto* lab = new QLabel(testo, this);
        lab->setTextFormat(Qt::PlainText);
        lab->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        lab->setWordWrap(true);
        impostaSfondo(lab, VerdeChiaro);
        impostaColoreTesto(lab, Nero);
        aggiungi(lab, {.nome = nome, .left = ux(l), .top = uy(t), .width = ux(w), .height = uy(h), .tab = tab});
        return lab;
    };
    lblTitle_ = etichetta("lblTitle", QStringLiteral("Titolo applicazione"), 1080, 240, 3645, 600, 4);
    lblVersion_ = etichetta("lblVersion", QStringLiteral("Versione"), 1050, 960, 3885, 225, 5);
    etichetta("lblDescription", QStringLiteral("Bilancio di massa e di energia della combustione"), 1080, 1320,
              4125, 690, 3);
    etichetta("Label1",
              QStringLiteral("Realizzato dal gruppo di sviluppo Termix54 per gli ingegneri di processo. "
                             "Distribuito senza alcuna garanzia."),
              240, 2640, 3855, 735, 6);

    cmdOK_ = pulsante("cmdOK", QStringLiteral("OK"), ux(4245), uy(2625), ux(1260), uy(345), 0);
    cmdSysInfo_ = pulsante("cmdSysInfo", QStringLiteral("&System Info..."), ux(4260), uy(3075), ux(1245), uy(345), 2);
    for (Pulsante* b : {cmdOK_, cmdSysInfo_}) {
        impostaSfondo(b, Bianco);
        impostaColoreTesto(b, Nero);
    }
    cmdOK_->setDefault(true);
    connect(cmdOK_, &Pulsante::azione, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo_, &Pulsante::azione, this, &frmAbout::cmdSysInfo_Click);

    // The etched separator: element 1 grey and 1 pixel, element 0 white and 2 pixels.
    const auto linea = [this](int indice, QWidget* w, const QColor& colore, double x1, double y1, double x2,
                              double y2) {
        impostaColoreTesto(w, colore);
        w->setProperty("Index", indice);
        Controllo& c = aggiungi(w, {.nome = "Line1", .tipo = Controllo::Tipo::Linea});
        c.X1 = ux(x1);
        c.Y1 = uy(y1);
        c.X2 = ux(x2);
        c.Y2 = uy(y2);
        applicaControllo(c);
    };
    linea(1, new Linea(this), Grigio, 90, 2445, 5654, 2445);
    linea(0, new LineaSpessa(this, 2), Bianco, 105, 2460, 5654, 2460);

    ordinaTab();
}

double frmAbout::unitaPerPixelX() const { return 15.0 / TwipsPerUnitaX; }
double frmAbout::unitaPerPixelY() const { return 15.0 / TwipsPerUnitaY; }

void frmAbout::Form_Load() {
    AdattaSchermo(*this);
    applicaFinestra();
    setWindowTitle(QStringLiteral("Informazioni su ") + TitoloProgramma);
    lblVersion_->setText(QStringLiteral("Versione %1.%2.%3")
                             .arg(VersioneMaggiore)
                             .arg(VersioneMinore)
                             .arg(VersioneRevisione));
    lblTitle_->setText(TitoloProgramma);
}

// The dialog's own geometry is in twips whatever the scale of its controls:
// a fixed client area at its stored place.
void frmAbout::applicaFinestra() {
    const QRect r(int(std::lround(Left / 15.0)), int(std::lround(Top / 15.0)), int(std::lround(Width / 15.0)),
                  int(std::lround(Height / 15.0)));
    setFixedSize(r.size());
    setGeometry(r);
}

// "OK"
void frmAbout::cmdOK_Click() { close(); }

// "&System Info..."
void frmAbout::cmdSysInfo_Click() {
    SistemaAbout& s = sistemaAbout();
    AmbienteSistema ambiente{s.registro ? *s.registro : RegistroDiSistema(), s.file ? *s.file : FileDiSistema(),
                             s.avviatore ? *s.avviatore : AvviatoreDiSistema(), [](std::string_view testo) {
                                 dialoghi().messaggio(QString::fromUtf8(testo.data(), qsizetype(testo.size())),
                                                      Icona::Nessuna, Pulsanti::Ok);
                             }};
    StartSysInfo(ambiente);
}

// "OK" is both the default and the cancel button. Enter on a focused button
// presses that button before it gets here.
void frmAbout::keyPressEvent(QKeyEvent* e) {
    const bool senzaModificatori = e->modifiers() == Qt::NoModifier || e->modifiers() == Qt::KeypadModifier;
    if (senzaModificatori &&
        (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
        e->accept();
        cmdOK_->click();
        return;
    }
    FormBase::keyPressEvent(e);
}

frmAbout* apriAbout() {
    QPointer<frmAbout>& p = aperto();
    if (!p) {
        // Over the title form, as its child window: it stays in front of it
        // and has no taskbar entry of its own.
        FormBase& padre = GestoreForm::form1();
        p = new frmAbout();
        p->setParent(&padre, p->windowFlags());
        p->Form_Load();
    }
    p->show();
    p->raise();
    p->activateWindow();
    return p;
}

}  // namespace termix
