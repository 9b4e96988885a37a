#include "forms/VerificaForm.h"

#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "forms/AndamentoForm.h"
#include "forms/FormRisultati.h"
#include "forms/Form8.h"
#include "forms/GestoreForm.h"
#include "ui/Controlli.h"
#include "ui/Dialoghi.h"

namespace termix {

namespace {

QString q(const std::string& t) { return QString::fromStdString(t); }
QString q(const char* t) { return QString::fromUtf8(t); }

QString e(const char* nome) { return q(EtichettaVerifica(nome)); }

// Where the result boxes stand: two columns of the window.
constexpr float RigaRisultati = 2820, PassoRisultati = 360;
constexpr int RisultatiPrimaColonna = 7;

}  // namespace

frmVerifica::frmVerifica(const IngressiCaso& caso, QWidget* padre)
    : FormBase(QStringLiteral("frmVerifica"), padre, Qt::Window), caso_(caso) {
    setAttribute(Qt::WA_DeleteOnClose);
    confermaUscita = false;
    chiudeConEsc = true;
    setWindowTitle(QStringLiteral("Verifica - Termix54"));
    impostaColoreTesto(this, Qt::black);
    Left = 0;
    Top = 0;
    Width = 9600;
    Height = 7200;
    int tab = 0;
    int n = 1;
    auto label = [&](const QString& testo, float x, float y, float w, bool bold = false) {
        const QByteArray nome = "Label" + QByteArray::number(n++);
        return etichetta(nome.constData(), testo, x, y, w, 195, -1, 0, bold);
    };
    auto box = [&](const char* nome, float x, float y, float w) {
        auto* e = new QLineEdit(this);
        aggiungi(e, {.nome = nome, .left = x, .top = y, .width = w, .height = 285, .tab = tab++});
        connect(e, &QLineEdit::returnPressed, this, [this] { Command1_Click(); });
        return e;
    };
    auto combo = [&](const char* nome, float x, float y, float w, std::span<const char* const> voci) {
        auto* c = new QComboBox(this);
        for (const char* v : voci) c->addItem(q(v));
        aggiungi(c, {.nome = nome, .left = x, .top = y, .width = w, .height = 315, .tab = tab++});
        return c;
    };

    // The support fuel.
    label(e("SupportoTipo"), 120, 170, 1900);
    tipo_ = combo("SupportoTipo", 2040, 120, 1500, ScelteSupporto);
    label(e("SupportoPortata"), 3720, 170, 1200);
    box("SupportoPortata", 4920, 140, 1000)->setText(QStringLiteral("0"));
    label(e("SupportoPotereCalorifico"), 6120, 170, 2000);
    box("SupportoPotereCalorifico", 8160, 140, 1200);
    label(QStringLiteral("Frazioni ponderali del supporto Ponderale (somma 1):"), 120, 510, 5000);
    for (int k = 0; k < 8; ++k) {
        label(e(CaselleVerifica[2 + k]), 120 + 1170 * float(k), 750, 1000);
        box(CaselleVerifica[2 + k], 120 + 1170 * float(k), 960, 1000);
    }
    // The checks' parameters.
    label(e("TempoPermanenza"), 120, 1430, 2100);
    box("TempoPermanenza", 2280, 1380, 800)->setText(QStringLiteral("2"));
    label(e("DiametroCamera"), 3240, 1430, 2100);
    box("DiametroCamera", 5400, 1380, 800);
    label(e("O2Riferimento"), 6420, 1430, 1500);
    o2_ = combo("O2Riferimento", 7980, 1380, 1380, ScelteO2);
    label(e("ConversioneSO3"), 120, 1790, 2100);
    box("ConversioneSO3", 2280, 1740, 800)->setText(QStringLiteral("2"));
    label(e("Modello"), 3240, 1790, 700);
    modello_ = combo("Modello", 3960, 1740, 2300, ScelteModello);
    label(e("Obiettivo"), 6420, 1790, 1500);
    box("Obiettivo", 7980, 1740, 1380);
    auto* calcola = pulsante("Command1", QStringLiteral("&Calcola"), 120, 2160, 1215, 435, tab++);
    auto* trova = pulsante("Command2", QStringLiteral("&Trova supporto"), 1500, 2160, 1800, 435, tab++);
    linea("Line1", 120, 2700, 9480, 2700);

    // The results, each with its label and unit.
    for (int k = 0; k < int(std::size(RisultatiVerificaNomi)); ++k) {
        const char* nome = RisultatiVerificaNomi[k];
        const bool prima = k < RisultatiPrimaColonna;
        const float x = prima ? 120 : 4800, y = RigaRisultati + PassoRisultati * float(prima ? k : k - RisultatiPrimaColonna);
        label(e(nome), x, y + 50, 3150);
        casellaRisultato(*this, nome, x + 3240, y, tab++)->setReadOnly(true);
    }
    auto riga = [this](const char* nome, float t, bool bold) {
        auto* l = new QLabel(this);
        l->setTextFormat(Qt::PlainText);
        aggiungi(l, {.nome = nome, .left = 120, .top = t, .width = 9360, .height = 270, .grassetto = bold});
        return l;
    };
    verdetto_ = riga("Verdetto", 5460, true);
    risposta_ = riga("Risposta", 5820, false);
    auto* salva = pulsante("Command3", QStringLiteral("&Salva"), 6420, 6540, 1320, 435, tab++);
    auto* chiudi = pulsante("Command4", QStringLiteral("C&hiudi"), 8160, 6540, 1320, 435, tab++);

    connect(calcola, &Pulsante::azione, this, [this] { Command1_Click(); });
    connect(trova, &Pulsante::azione, this, [this] { Command2_Click(); });
    connect(salva, &Pulsante::azione, this, [this] { Command3_Click(); });
    connect(chiudi, &Pulsante::azione, this, &QWidget::close);
    applicaGeometria();
    ordinaTab();
}

void frmVerifica::Form_Load() {
    AdattaSchermo(*this);
    // The incineration rules' temperature for this fuel: 1100 °C over 1 % chlorine.
    findChild<QLineEdit*>(QStringLiteral("Obiettivo"))->setText(q(TestoObiettivoNormativo(caso_)));
    Command1_Click();
}

bool frmVerifica::leggiIngressi(LetturaVerifica& l) {
    l = LeggiVerifica(
        [this](const char* casella) { return findChild<QLineEdit*>(QString::fromLatin1(casella))->text().toStdString(); },
        {tipo_->currentIndex(), o2_->currentIndex(), modello_->currentIndex()});
    if (l.messaggio.empty()) return true;
    dialoghi().messaggio(q(l.messaggio), Icona::Esclamazione);
    if (!l.casella.empty()) {
        QLineEdit* e = findChild<QLineEdit*>(QString::fromStdString(l.casella));
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
    }
    return false;
}

bool frmVerifica::Command1_Click() {
    LetturaVerifica l;
    if (!leggiIngressi(l)) return false;  // the results stay as they were
    EsitoVerifica e;
    {
        CursoreAttesa attesa;
        e = EseguiVerifica(caso_, l);
    }
    for (const auto& [nome, testo] : e.testi) findChild<QLineEdit*>(QString::fromStdString(nome))->setText(q(testo));
    verdetto_->setText(q(e.verdetto));
    righe_ = std::move(e.righe);
    return e.completato;
}

bool frmVerifica::Command2_Click() {
    LetturaVerifica l;
    if (!leggiIngressi(l)) return false;
    EsitoTrova t;
    {
        CursoreAttesa attesa;
        t = TrovaSupportoVerifica(caso_, l);
    }
    if (!t.messaggio.empty()) {
        dialoghi().messaggio(q(t.messaggio), Icona::Esclamazione);
        tipo_->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (t.portata) {
        findChild<QLineEdit*>(QStringLiteral("SupportoPortata"))->setText(q(*t.portata));
        Command1_Click();
    }
    risposta_->setText(q(t.ricerca.frase));
    if (!righe_.empty()) righe_.push_back(t.ricerca.frase);
    return t.portata.has_value();
}

bool frmVerifica::Command3_Click() {
    if (righe_.empty()) {
        dialoghi().messaggio(q(NessunRisultato), Icona::Esclamazione);
        return false;
    }
    QString nome = dialoghi().chiediFile(QStringLiteral("Salva"), QStringLiteral("verifica.txt"),
                                         QStringLiteral("Testo (*.txt)"));
    if (nome.isEmpty()) return false;
    const std::string byte = ByteRighe(righe_);
    QFile f(nome);
    if (!f.open(QIODevice::WriteOnly) || f.write(byte.data(), qint64(byte.size())) != qint64(byte.size()) ||
        !f.flush()) {
        dialoghi().messaggio(QStringLiteral("Impossibile scrivere ") + nome, Icona::Esclamazione);
        return false;
    }
    return true;
}

frmVerifica* apriVerifica() {
    auto* w = new frmVerifica(CasoDalleForme(), &GestoreForm::form8());
    GestoreForm::apri(*w);
    return w;
}

}  // namespace termix
