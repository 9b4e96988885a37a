#include "forms/VerificaForm.h"

#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <cmath>

#include "forms/AndamentoForm.h"
#include "forms/FormRisultati.h"
#include "forms/Form8.h"
#include "forms/GestoreForm.h"
#include "model/Formato.h"
#include "model/Messaggi.h"
#include "report/Codifica.h"
#include "ui/Controlli.h"
#include "ui/Dialoghi.h"

namespace termix {

namespace {

QString q(const std::string& t) { return QString::fromStdString(t); }
QString q(const char* t) { return QString::fromUtf8(t); }

QString conUnita(const char* etichetta, const char* unita) {
    return *unita ? q(etichetta) + QStringLiteral(" [") + q(unita) + QStringLiteral("]") : q(etichetta);
}

// The result boxes: quantity name, and where.
struct Risultato {
    const char* nome;
    float x, y;
};
constexpr float RigaRisultati = 2820, PassoRisultati = 360;
constexpr Risultato Risultati[] = {
    {"TempFumi", 120, RigaRisultati},
    {"TempFumiRif", 120, RigaRisultati + PassoRisultati},
    {"Differenza", 120, RigaRisultati + 2 * PassoRisultati},
    {"VolumeCamera", 120, RigaRisultati + 3 * PassoRisultati},
    {"VelocitaCamera", 120, RigaRisultati + 4 * PassoRisultati},
    {"LunghezzaCamera", 120, RigaRisultati + 5 * PassoRisultati},
    {"O2Secco", 120, RigaRisultati + 6 * PassoRisultati},
    {"HClRif", 4800, RigaRisultati},
    {"SO2Rif", 4800, RigaRisultati + PassoRisultati},
    {"Cl2Rif", 4800, RigaRisultati + 2 * PassoRisultati},
    {"RugiadaAcqua", 4800, RigaRisultati + 3 * PassoRisultati},
    {"RugiadaSolforica", 4800, RigaRisultati + 4 * PassoRisultati},
    {"RugiadaCloridrica", 4800, RigaRisultati + 5 * PassoRisultati},
};

const char* const Frazioni[] = {"SupportoFrazC", "SupportoFrazH", "SupportoFrazO",  "SupportoFrazCl",
                                "SupportoFrazS", "SupportoFrazN", "SupportoInerti", "SupportoAcqua"};
const char* const NomiFrazioni[] = {"C", "H", "O", "Cl", "S", "N", "Inerti", "Acqua"};

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
    auto combo = [&](const char* nome, float x, float y, float w, std::initializer_list<const char*> voci) {
        auto* c = new QComboBox(this);
        for (const char* v : voci) c->addItem(q(v));
        aggiungi(c, {.nome = nome, .left = x, .top = y, .width = w, .height = 315, .tab = tab++});
        return c;
    };

    // The support fuel.
    label(q(Voce("SupportoTipo").etichetta).section(QStringLiteral(" ("), 0, 0), 120, 170, 1900);  // the choices are in the list
    tipo_ = combo("SupportoTipo", 2040, 120, 1500, {"Nessuno", "Metano", "Ponderale"});
    label(conUnita("Portata", Voce("SupportoPortata").unita), 3720, 170, 1200);
    box("SupportoPortata", 4920, 140, 1000)->setText(QStringLiteral("0"));
    label(conUnita("Potere calorifico", Voce("SupportoPotereCalorifico").unita), 6120, 170, 2000);
    box("SupportoPotereCalorifico", 8160, 140, 1200);
    label(QStringLiteral("Frazioni ponderali del supporto Ponderale (somma 1):"), 120, 510, 5000);
    for (int k = 0; k < 8; ++k) {
        label(q(NomiFrazioni[k]), 120 + 1170 * float(k), 750, 1000);
        box(Frazioni[k], 120 + 1170 * float(k), 960, 1000);
    }
    // The checks' parameters.
    label(conUnita(Voce("TempoPermanenza").etichetta, Voce("TempoPermanenza").unita), 120, 1430, 2100);
    box("TempoPermanenza", 2280, 1380, 800)->setText(QStringLiteral("2"));
    label(conUnita(Voce("DiametroCamera").etichetta, Voce("DiametroCamera").unita), 3240, 1430, 2100);
    box("DiametroCamera", 5400, 1380, 800);
    label(q(Voce("O2Riferimento").etichetta), 6420, 1430, 1500);
    o2_ = combo("O2Riferimento", 7980, 1380, 1380, {"11 %", "6 %", "3 %", "nessuno"});
    label(conUnita(Voce("ConversioneSO3").etichetta, Voce("ConversioneSO3").unita), 120, 1790, 2100);
    box("ConversioneSO3", 2280, 1740, 800)->setText(QStringLiteral("2"));
    label(QStringLiteral("Modello"), 3240, 1790, 700);
    modello_ = combo("Modello", 3960, 1740, 2300, {"entalpie NASA", "tabella del programma"});
    label(QStringLiteral("Obiettivo [°C]"), 6420, 1790, 1500);
    box("Obiettivo", 7980, 1740, 1380);
    auto* calcola = pulsante("Command1", QStringLiteral("&Calcola"), 120, 2160, 1215, 435, tab++);
    auto* trova = pulsante("Command2", QStringLiteral("&Trova supporto"), 1500, 2160, 1800, 435, tab++);
    linea("Line1", 120, 2700, 9480, 2700);

    // The results, each with its label and unit.
    for (const auto& r : Risultati) {
        QString testo;
        if (std::string_view(r.nome) == "TempFumi")
            testo = conUnita((std::string(Info(Quantita::TempFumi).etichetta) + " (tabella)").c_str(),
                             Info(Quantita::TempFumi).unita);
        else if (std::string_view(r.nome) == "Differenza") testo = QStringLiteral("Differenza NASA - tabella [°C]");
        else testo = conUnita(Voce(r.nome).etichetta, Voce(r.nome).unita);
        label(testo, r.x, r.y + 50, 3150);
        casellaRisultato(*this, r.nome, r.x + 3240, r.y, tab++)->setReadOnly(true);
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
    Modulo1 combustibile;
    CombustibileCaso(caso_, combustibile);
    findChild<QLineEdit*>(QStringLiteral("Obiettivo"))->setText(q(TestoNumero(ObiettivoNormativo(combustibile))));
    Command1_Click();
}

bool frmVerifica::leggi(const char* nome, std::optional<double>& valore) {
    QLineEdit* e = findChild<QLineEdit*>(QString::fromLatin1(nome));
    const QString t = e->text().trimmed();
    valore.reset();
    if (t.isEmpty()) return true;
    const QByteArray b = t.toUtf8();
    if (const auto v = LeggiNumero(std::string_view(b.constData(), size_t(b.size())))) {
        valore = *v;
        return true;
    }
    dialoghi().messaggio(q(t.endsWith(QLatin1Char('.')) ? messaggi::UsareVirgola : messaggi::UsareNumeri),
                         Icona::Esclamazione);
    e->setFocus(Qt::OtherFocusReason);
    e->selectAll();
    return false;
}

bool frmVerifica::leggiIngressi(Supporto& s, ParametriVerifica& p, double& obiettivo) {
    std::optional<double> v;
    s.tipo = static_cast<TipoSupporto>(tipo_->currentIndex());
    if (!leggi("SupportoPortata", v)) return false;
    s.portata = v.value_or(0);
    if (!leggi("SupportoPotereCalorifico", v)) return false;
    s.potereCalorifico = v.value_or(0);
    for (size_t k = 0; k < 8; ++k) {
        if (!leggi(Frazioni[k], v)) return false;
        s.frazioni[k] = v.value_or(0);
    }
    if (!leggi("TempoPermanenza", v)) return false;
    p.tempoPermanenza = v.value_or(0);
    if (!leggi("DiametroCamera", v)) return false;
    p.diametro = v;  // empty: no chamber bore given
    const double o2[] = {11, 6, 3};
    p.o2Riferimento = o2_->currentIndex() < 3 ? std::optional<double>(o2[o2_->currentIndex()]) : std::nullopt;
    if (!leggi("ConversioneSO3", v)) return false;
    p.conversioneSO3 = v.value_or(0);
    p.modello = modello_->currentIndex() == 0 ? ModelloTemperatura::Nasa : ModelloTemperatura::Tabella;
    if (!leggi("Obiettivo", v)) return false;
    obiettivo = v.value_or(0);
    p.obiettivo = obiettivo;
    std::optional<std::string> errore = ControllaSupporto(s);
    if (!errore) errore = ControllaParametri(p);
    if (errore) {
        dialoghi().messaggio(q(*errore), Icona::Esclamazione);
        return false;
    }
    return true;
}

std::string frmVerifica::descriviSupporto(const Supporto& s) const {
    if (!ConSupporto(s)) return "nessuno";
    std::string t = s.tipo == TipoSupporto::Metano ? "Metano" : "Ponderale";
    t += ", " + TestoNumero(s.portata) + " kg/h";
    if (s.tipo == TipoSupporto::Ponderale) {
        t += ", " + TestoNumero(s.potereCalorifico) + " kcal/kg, frazioni";
        for (size_t k = 0; k < 8; ++k) t += std::string(" ") + NomiFrazioni[k] + " " + TestoNumero(s.frazioni[k]);
    }
    return t;
}

void frmVerifica::mostra(const Modulo1* m, const RisultatiVerifica* r) {
    for (const auto& x : Risultati) {
        std::string testo;
        if (m && r) {
            const std::string_view n = x.nome;
            if (n == "TempFumi") testo = FormatoTroncato(m->TempFumi.v, 1);
            else if (n == "Differenza") testo = r->Differenza ? FormatoTroncato(*r->Differenza, 1) : "\u2014";
            else if (n == "TempFumiRif") testo = TestoVoce(x.nome, r->TempFumiRif);
            else if (n == "VolumeCamera") testo = TestoVoce(x.nome, r->VolumeCamera);
            else if (n == "VelocitaCamera") testo = TestoVoce(x.nome, r->VelocitaCamera);
            else if (n == "LunghezzaCamera") testo = TestoVoce(x.nome, r->LunghezzaCamera);
            else if (n == "O2Secco") testo = TestoVoce(x.nome, r->O2Secco);
            else if (n == "HClRif") testo = TestoVoce(x.nome, r->HClRif);
            else if (n == "SO2Rif") testo = TestoVoce(x.nome, r->SO2Rif);
            else if (n == "Cl2Rif") testo = TestoVoce(x.nome, r->Cl2Rif);
            else if (n == "RugiadaAcqua") testo = TestoVoce(x.nome, r->RugiadaAcqua);
            else if (n == "RugiadaSolforica") testo = TestoVoce(x.nome, r->RugiadaSolforica);
            else if (n == "RugiadaCloridrica") testo = TestoVoce(x.nome, r->RugiadaCloridrica);
        }
        findChild<QLineEdit*>(QString::fromLatin1(x.nome))->setText(q(testo));
    }
}

bool frmVerifica::Command1_Click() {
    Supporto s;
    ParametriVerifica p;
    double obiettivo = 0;
    if (!leggiIngressi(s, p, obiettivo)) return false;  // the results stay as they were
    Modulo1 m;
    EsitoOperazione e;
    {
        CursoreAttesa attesa;
        e = CalcolaCasoConSupporto(caso_, s, m);
    }
    righe_.clear();
    if (!e.completato) {  // the stop's message, and no verdict
        mostra(nullptr, nullptr);
        verdetto_->setText(QStringLiteral("Calcolo interrotto: ") + q(TestoEsito(e)));
        return false;
    }
    const RisultatiVerifica r = CalcolaVerifica(m, p);
    mostra(&m, &r);
    verdetto_->setText(q(r.nonRiferibile.empty() ? r.verdetto : r.verdetto + " | " + r.nonRiferibile));
    righe_ = RigheVerifica(m, r, p, descriviSupporto(s));
    return true;
}

bool frmVerifica::Command2_Click() {
    Supporto s;
    ParametriVerifica p;
    double obiettivo = 0;
    if (!leggiIngressi(s, p, obiettivo)) return false;
    if (s.tipo == TipoSupporto::Nessuno) {
        dialoghi().messaggio(QStringLiteral("Scegliere il combustibile di supporto (Metano o Ponderale)"),
                             Icona::Esclamazione);
        tipo_->setFocus(Qt::OtherFocusReason);
        return false;
    }
    RicercaSupporto r;
    {
        CursoreAttesa attesa;
        r = TrovaSupporto(caso_, s, p.modello, obiettivo);
    }
    if (r.esito == RicercaSupporto::Esito::Trovato) {
        // The case at the flow found (to 0.01 kg/h, on the side that meets the target).
        findChild<QLineEdit*>(QStringLiteral("SupportoPortata"))
            ->setText(q(TestoNumero(std::ceil(r.portata * 100) / 100)));
        Command1_Click();
    } else if (r.esito == RicercaSupporto::Esito::NonNecessario) {
        findChild<QLineEdit*>(QStringLiteral("SupportoPortata"))->setText(QStringLiteral("0"));
        Command1_Click();
    }
    risposta_->setText(q(r.frase));
    if (!righe_.empty()) righe_.push_back(r.frase);
    return r.esito == RicercaSupporto::Esito::Trovato || r.esito == RicercaSupporto::Esito::NonNecessario;
}

bool frmVerifica::Command3_Click() {
    if (righe_.empty()) {
        dialoghi().messaggio(QStringLiteral("Nessun risultato da salvare"), Icona::Esclamazione);
        return false;
    }
    QString nome = dialoghi().chiediFile(QStringLiteral("Salva"), QStringLiteral("verifica.txt"),
                                         QStringLiteral("Testo (*.txt)"));
    if (nome.isEmpty()) return false;
    std::string testo;
    for (const auto& r : righe_) testo += r + "\r\n";
    const std::string byte = InWindows1252(testo);
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
