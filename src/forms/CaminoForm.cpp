#include "forms/CaminoForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "forms/FormRisultati.h"
#include "forms/VerificaForm.h"
#include "ui/Controlli.h"
#include "ui/Dialoghi.h"

namespace termix {

namespace {

using vista::CampoVerifica;

QString q(const std::string& t) { return QString::fromStdString(t); }
QString q(const char* t) { return QString::fromUtf8(t); }

// Twips: the readings in two columns, the commands, the results in two columns, the notes.
constexpr float RigaIngressi = 120, PassoRighe = 360, Didascalia = 120, Casella = 2700, LarghezzaCasella = 1300;
constexpr float SecondaColonna = 4800, RigaComandi = 1320, RigaRisultati = 1980, PassoRisultati = 315,
                CasellaRisultato = 3120, LarghezzaRisultato = 1500, Fondo = 5400;

}  // namespace

frmCamino::frmCamino(frmVerifica& verifica)
    : FormBase(QStringLiteral("frmCamino"), &verifica, Qt::Window), verifica_(verifica) {
    setAttribute(Qt::WA_DeleteOnClose);
    confermaUscita = false;
    chiudeConEsc = true;
    setWindowTitle(q(vista::TitoloCamino));
    impostaColoreTesto(this, Qt::black);
    Left = 0;
    Top = 0;
    Width = 9600;
    Height = Fondo + 600;
    int tab = 0, n = 1, k = 0;
    auto label = [&](const QString& testo, float x, float y, float w) {
        const QByteArray nome = "Label" + QByteArray::number(n++);
        return etichetta(nome.constData(), testo, x, y, w, 195);
    };
    for (const CampoVerifica& c : vista::CampiVerifica()) {
        if (c.gruppo != CampoVerifica::Gruppo::Camino) {
            campi_.push_back(nullptr);
            continue;
        }
        const float x = k < 3 ? Didascalia : SecondaColonna, y = RigaIngressi + PassoRighe * float(k % 3);
        const float xc = x + Casella - Didascalia;
        ++k;
        label(q(c.etichetta), x, y + 50, xc - x - 120);
        campi_.push_back(controlloCampo(*this, c, xc, y, LarghezzaCasella, tab++, [this] { Command1_Click(); }));
    }
    auto* calcola = pulsante("Command1", QStringLiteral("&Calcola"), 120, RigaComandi, 1215, 435, tab++);
    auto* applica = pulsante("Command2", QStringLiteral("&Applica eccesso d'aria"), 1500, RigaComandi, 2600, 435, tab++);
    linea("Line1", 120, RigaRisultati - 120, 9480, RigaRisultati - 120);
    const auto mostrati = vista::RisultatiCaminoMostrati();
    const int prima = int(mostrati.size() + 1) / 2;
    for (int i = 0; i < int(mostrati.size()); ++i) {
        const Grandezza& g = *mostrati[i];
        const float x = i < prima ? 120 : SecondaColonna;
        const float y = RigaRisultati + PassoRisultati * float(i < prima ? i : i - prima);
        label(q(vista::EtichettaRisultato(g)), x, y + 50, CasellaRisultato - 90);
        QLineEdit* e = casellaRisultato(*this, g.nome, x + CasellaRisultato, y, tab++);
        controlli().back().Width = LarghezzaRisultato;
        e->setReadOnly(true);
        risultati_.push_back(e);
    }
    const float lista = RigaRisultati + PassoRisultati * float(prima) + 80;
    label(q(vista::TitoloNoteCamino), 120, lista + 40, 700);
    note_ = new QListWidget(this);
    note_->setWordWrap(true);
    note_->setTextElideMode(Qt::ElideNone);
    note_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    aggiungi(note_, {.nome = "NoteCamino", .left = 840, .top = lista, .width = 8640, .height = Fondo - 555 - lista,
                     .tab = tab++});
    auto* chiudi = pulsante("Command3", QStringLiteral("C&hiudi"), 8160, Fondo - 435, 1320, 435, tab++);
    connect(calcola, &Pulsante::azione, this, [this] { Command1_Click(); });
    connect(applica, &Pulsante::azione, this, [this] { Command2_Click(); });
    connect(chiudi, &Pulsante::azione, this, &QWidget::close);
    applicaGeometria();
    ordinaTab();
}

bool frmCamino::Command1_Click() {
    eccesso_.reset();
    // The readings are this window's boxes; the support fuel and SO3 conversion the Verifica window's.
    auto controllo = [this](const CampoVerifica& c) {
        QWidget* w = campi_.at(static_cast<std::size_t>(&c - vista::CampiVerifica().data()));
        return w ? w : verifica_.controlloDi(c);
    };
    vista::EsitoCaminoVista e;
    {
        CursoreAttesa attesa;
        e = vista::CaminoDaTesti(verifica_.caso(),
                                 [&](const CampoVerifica& c) { return frmVerifica::testoDi(controllo(c)); });
    }
    if (!e.calcolato) {  // the message, then back to the input it names; the results stay
        if (e.campo && e.campo->gruppo != CampoVerifica::Gruppo::Camino) {
            verifica_.rifiuta(e.rifiuto, e.campo);
            return false;
        }
        dialoghi().messaggio(q(e.rifiuto), Icona::Esclamazione);
        if (e.campo) {
            QWidget* w = controllo(*e.campo);
            w->setFocus(Qt::OtherFocusReason);
            if (auto* x = qobject_cast<QLineEdit*>(w)) x->selectAll();
        }
        return false;
    }
    const auto mostrati = vista::RisultatiCaminoMostrati();
    for (std::size_t k = 0; k < risultati_.size(); ++k) risultati_[k]->setText(q(vista::TestoRisultatoCamino(*mostrati[k], e)));
    note_->clear();
    for (const std::string& t : e.camino.note) note_->addItem(q(t));
    eccesso_ = vista::EccessoDaApplicare(e);
    return true;
}

bool frmCamino::Command2_Click() {
    if (!Command1_Click()) return false;
    if (!eccesso_) {
        dialoghi().messaggio(q(vista::NessunEccessoMisurato), Icona::Esclamazione);
        return false;
    }
    verifica_.applicaEccesso(*eccesso_);
    return true;
}

}  // namespace termix
