#include "forms/VerificaForm.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <stdexcept>

#include "forms/AndamentoForm.h"
#include "forms/ApplicaEffetti.h"
#include "forms/CaminoForm.h"
#include "forms/Posti.h"
#include "model/Formato.h"
#include "forms/FormRisultati.h"
#include "forms/Form8.h"
#include "forms/GestoreForm.h"
#include "ui/Controlli.h"
#include "ui/Dialoghi.h"

namespace termix {

namespace {

using vista::CampoVerifica;
using Gruppo = CampoVerifica::Gruppo;

QString q(const std::string& t) { return QString::fromStdString(t); }
QString q(const char* t) { return QString::fromUtf8(t); }

// Where an input of each group stands: its caption and its control (twips).
struct PostoCampo {
    float x, y, xControllo, larghezza;
};
// The support fuel on one row; its fractions in a row of captions over boxes;
// the parameters in two columns.
constexpr PostoCampo PostiSupporto[] = {{120, 120, 2040, 1500}, {3720, 120, 4920, 1000}, {6120, 120, 8160, 1200}};
constexpr float RigaFrazioni = 690, PassoFrazioni = 1170, LarghezzaFrazione = 1000;
constexpr float RigaParametri = 1290, PassoParametri = 360;
constexpr PostoCampo ColonneParametri[] = {{120, 0, 2700, 1600}, {4620, 0, 7200, 2280}};
// The results under the commands, on two pages chosen by a tab bar: the
// checks', and the equilibrium's with the temperature it is taken at.
constexpr float RigaSchede = 2900, AltezzaSchede = 330;
constexpr float RigaRisultati = RigaSchede + AltezzaSchede + 40, PassoRisultati = 315, ColonnaRisultati = 4800,
                CasellaRisultato = 3120, LarghezzaRisultato = 1500;
// The verdict holds a warning's sentence and the target's note: four lines.
constexpr float AltezzaVerdetto = 800;

PostoCampo postoDi(const CampoVerifica& c, int k) {
    switch (c.gruppo) {
        case Gruppo::Supporto:
            if (k >= int(std::size(PostiSupporto))) break;
            return PostiSupporto[k];
        case Gruppo::Frazioni: {
            const float x = 120 + PassoFrazioni * float(k);
            if (x + LarghezzaFrazione > 9480) break;
            return {x, RigaFrazioni, x, LarghezzaFrazione};
        }
        case Gruppo::Parametri: {
            const PostoCampo& p = ColonneParametri[k % 2];
            return {p.x, RigaParametri + PassoParametri * float(k / 2), p.xControllo, p.larghezza};
        }
        case Gruppo::Equilibrio:
            if (k > 0) break;
            return {120, RigaRisultati, 120 + CasellaRisultato, LarghezzaRisultato};
        case Gruppo::Camino: break;  // the stack's window has them
    }
    throw std::logic_error(std::string("frmVerifica: nessun posto per ") + c.nome);
}

}  // namespace

QWidget* controlloCampo(FormBase& f, const CampoVerifica& c, float x, float y, float larghezza, int tab,
                        const std::function<void()>& invio) {
    if (c.scelte.empty()) {
        auto* e = new QLineEdit(&f);
        f.aggiungi(e, {.nome = c.nome, .left = x, .top = y, .width = larghezza, .height = 285, .tab = tab});
        QObject::connect(e, &QLineEdit::returnPressed, &f, invio);
        return e;
    }
    auto* l = new QComboBox(&f);
    for (const auto& v : c.scelte) l->addItem(q(v.testo), q(v.nome));
    f.aggiungi(l, {.nome = c.nome, .left = x, .top = y, .width = larghezza, .height = 315, .tab = tab});
    return l;
}

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
    auto label = [&](const QString& testo, float x, float y, float w) {
        const QByteArray nome = "Label" + QByteArray::number(n++);
        return etichetta(nome.constData(), testo, x, y, w, 195);
    };

    // The inputs, group by group, in the view model's order.
    label(q(vista::TitoloFrazioni), 120, RigaFrazioni - 210, 5000);
    int posizione[5] = {};
    for (const CampoVerifica& c : vista::CampiVerifica()) {
        if (c.gruppo == Gruppo::Camino) {
            campi_.push_back(nullptr);
            continue;
        }
        const PostoCampo p = postoDi(c, posizione[static_cast<int>(c.gruppo)]++);
        const bool sopra = c.gruppo == Gruppo::Frazioni;  // the caption over the box
        QLabel* didascalia =
            label(q(c.etichetta), p.x, sopra ? p.y : p.y + 50, sopra ? p.larghezza : p.xControllo - p.x - 120);
        const float y = sopra ? p.y + 210 : p.y;
        QWidget* w = controlloCampo(*this, c, p.xControllo, y, p.larghezza, tab++, [this] { Command1_Click(); });
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->setPlaceholderText(q(vista::TestoVuoto(c, caso_)));
        campi_.push_back(w);
        if (c.gruppo == Gruppo::Equilibrio) {
            pagine_[1].push_back(w);
            pagine_[1].push_back(didascalia);
        }
    }
    auto* calcola = pulsante("Command1", QStringLiteral("&Calcola"), 120, 2370, 1215, 435, tab++);
    auto* trova = pulsante("Command2", QStringLiteral("&Trova supporto"), 1500, 2370, 1800, 435, tab++);
    auto riga = [this](const char* nome, float x, float t, float w, float h, bool bold) {
        auto* l = new QLabel(this);
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        aggiungi(l, {.nome = nome, .left = x, .top = t, .width = w, .height = h, .grassetto = bold});
        return l;
    };
    auto* camino = pulsante("Command5", QStringLiteral("Ca&mino..."), 3480, 2370, 1300, 435, tab++);
    risposta_ = riga("Risposta", 4920, 2370, 4560, 435, false);

    // The two pages of results, each with its caption and unit, in two columns.
    schede_ = new QTabBar(this);
    schede_->addTab(QStringLiteral("Controlli"));
    schede_->addTab(q(vista::TitoloEquilibrio));
    schede_->setExpanding(false);
    aggiungi(schede_, {.nome = "SchedeRisultati", .left = 120, .top = RigaSchede, .width = 9360,
                       .height = AltezzaSchede, .tab = tab++});
    linea("Line1", 120, RigaSchede + AltezzaSchede, 9480, RigaSchede + AltezzaSchede);
    float sotto = RigaRisultati;
    for (const bool equilibrio : {false, true}) {
        std::vector<const Grandezza*> gruppo;
        for (const Grandezza* g : vista::RisultatiVerificaMostrati())
            if (g->ha(DiEquilibrio) == equilibrio) gruppo.push_back(g);
        auto& pagina = pagine_[equilibrio ? 1 : 0];
        const int salta = equilibrio ? 1 : 0;  // the equilibrium's temperature box comes first
        const int primaColonna = int(gruppo.size() + salta + 1) / 2;
        for (int k = 0; k < int(gruppo.size()); ++k) {
            const Grandezza& g = *gruppo[k];
            const int posto = k + salta;
            const bool prima = posto < primaColonna;
            const float x = prima ? 120 : ColonnaRisultati;
            const float y = RigaRisultati + PassoRisultati * float(prima ? posto : posto - primaColonna);
            pagina.push_back(label(q(vista::EtichettaRisultato(g)), x, y + 50, CasellaRisultato - 90));
            QLineEdit* e = casellaRisultato(*this, g.nome, x + CasellaRisultato, y, tab++);
            controlli().back().Width = LarghezzaRisultato;
            e->setReadOnly(true);
            risultati_.push_back(e);
            risultatiMostrati_.push_back(&g);
            pagina.push_back(e);
        }
        sotto = std::max(sotto, RigaRisultati + PassoRisultati * float(primaColonna));
    }
    connect(schede_, &QTabBar::currentChanged, this, [this](int k) { mostraPagina(k); });
    sotto += 40;
    verdetto_ = riga("Verdetto", 120, sotto, 9360, AltezzaVerdetto, true);
    // The case's warnings under the verdict they hold back.
    const float lista = sotto + AltezzaVerdetto + 40;
    label(q(vista::TitoloAvvisi), 120, lista + 40, 700);
    avvisi_ = new QListWidget(this);
    avvisi_->setWordWrap(true);
    avvisi_->setTextElideMode(Qt::ElideNone);
    avvisi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    constexpr float fondo = 6975;
    aggiungi(avvisi_, {.nome = "AvvisiVerifica", .left = 840, .top = lista, .width = 5400, .height = fondo - lista,
                       .tab = tab++});
    auto* salva = pulsante("Command3", QStringLiteral("&Salva"), 6420, fondo - 435, 1320, 435, tab++);
    auto* chiudi = pulsante("Command4", QStringLiteral("C&hiudi"), 8160, fondo - 435, 1320, 435, tab++);

    connect(calcola, &Pulsante::azione, this, [this] { Command1_Click(); });
    connect(trova, &Pulsante::azione, this, [this] { Command2_Click(); });
    connect(camino, &Pulsante::azione, this, [this] { Command5_Click(); });
    connect(salva, &Pulsante::azione, this, [this] { Command3_Click(); });
    connect(chiudi, &Pulsante::azione, this, &QWidget::close);
    applicaGeometria();
    ordinaTab();
    mostraPagina(0);
}

void frmVerifica::mostraPagina(int k) {
    for (int p = 0; p < 2; ++p)
        for (QWidget* w : pagine_[p]) w->setVisible(p == k);
}

void frmVerifica::Form_Load() {
    AdattaSchermo(*this);
    Command1_Click();
}

QWidget* frmVerifica::controlloDi(const CampoVerifica& c) const {
    return campi_.at(static_cast<std::size_t>(&c - vista::CampiVerifica().data()));
}

void frmVerifica::rifiuta(const std::string& messaggio, const CampoVerifica* campo) {
    dialoghi().messaggio(q(messaggio), Icona::Esclamazione);
    if (!campo) return;
    QWidget* w = controlloDi(*campo);
    w->setFocus(Qt::OtherFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
}

std::string frmVerifica::testoDi(const QWidget* w) {
    if (const auto* e = qobject_cast<const QLineEdit*>(w)) return e->text().toStdString();
    return static_cast<const QComboBox*>(w)->currentData().toString().toStdString();
}

bool frmVerifica::leggiIngressi(vista::LetturaVerifica& l) {
    l = vista::LeggiVerifica([this](const CampoVerifica& c) { return testoDi(controlloDi(c)); });
    if (l.rifiuto.empty()) return true;
    rifiuta(l.rifiuto, l.campo);
    return false;
}

bool frmVerifica::Command1_Click() {
    vista::LetturaVerifica l;
    if (!leggiIngressi(l)) return false;  // the results stay as they were
    vista::EsitoVerifica e;
    {
        CursoreAttesa attesa;
        e = vista::EseguiVerifica(caso_, l.ingressi);
    }
    for (std::size_t k = 0; k < risultati_.size(); ++k)
        risultati_[k]->setText(q(vista::TestoRisultato(*risultatiMostrati_[k], e)));
    verdetto_->setText(q(e.verdetto));
    avvisi_->clear();
    for (const Avviso& a : e.giudizio.avvisi) avvisi_->addItem(q(a.testo));
    righe_ = vista::RigheVerifica(e, l.ingressi);
    return e.completato;
}

bool frmVerifica::Command2_Click() {
    vista::LetturaVerifica l;
    if (!leggiIngressi(l)) return false;
    vista::EsitoTrova t;
    {
        CursoreAttesa attesa;
        t = vista::TrovaSupportoVerifica(caso_, l.ingressi);
    }
    if (!t.rifiuto.empty()) {
        rifiuta(t.rifiuto, t.campo);
        return false;
    }
    if (t.portata) {
        static_cast<QLineEdit*>(controlloDi(vista::CampoDi(Quantita::SupportoPortata)))->setText(q(*t.portata));
        Command1_Click();
    }
    risposta_->setText(q(t.ricerca.frase));
    if (!righe_.empty()) righe_.push_back(t.ricerca.frase);
    return t.portata.has_value();
}

bool frmVerifica::Command3_Click() {
    if (righe_.empty()) {
        dialoghi().messaggio(q(vista::NessunRisultato), Icona::Esclamazione);
        return false;
    }
    QString nome = dialoghi().chiediFile(QStringLiteral("Salva"), QStringLiteral("verifica.txt"),
                                         QStringLiteral("Testo (*.txt)"));
    if (nome.isEmpty()) return false;
    const std::string byte = vista::ByteRighe(righe_);
    QFile f(nome);
    if (!f.open(QIODevice::WriteOnly) || f.write(byte.data(), qint64(byte.size())) != qint64(byte.size()) ||
        !f.flush()) {
        dialoghi().messaggio(QStringLiteral("Impossibile scrivere ") + nome, Icona::Esclamazione);
        return false;
    }
    return true;
}

frmCamino* frmVerifica::Command5_Click() {
    if (!camino_) camino_ = new frmCamino(*this);
    GestoreForm::apri(*camino_);
    return camino_;
}

void frmVerifica::applicaEccesso(const std::string& testo) {
    if (const auto x = LeggiNumero(testo)) caso_.valori.EccessoAria = *x;
    ApplicaEffetti(sessione().Digita(Quantita::EccessoAria, testo));
    Command1_Click();
}

frmVerifica* apriVerifica() {
    auto* w = new frmVerifica(CasoDalleForme(), &GestoreForm::form8());
    GestoreForm::apri(*w);
    return w;
}

}  // namespace termix
