#include "forms/AndamentoForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QSvgGenerator>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <cmath>

#include "combustion/Avvisi.h"
#include "forms/Form2.h"
#include "forms/Form8.h"
#include "forms/GestoreForm.h"
#include "forms/Posti.h"
#include "model/Formato.h"
#include "model/Messaggi.h"
#include "report/TabellaRisultati.h"
#include "ui/Controlli.h"
#include "ui/Dialoghi.h"

namespace termix {

namespace {

QString q(const char* t) { return QString::fromUtf8(t); }

QString titoloAsse(const Grandezza& g) {
    return *g.unita ? q(g.etichetta) + QStringLiteral(" [") + q(g.unita) + QStringLiteral("]") : q(g.etichetta);
}

// On the chart the unit goes on a line of its own, in a lighter face: at
// 640 x 480 the y axis has room for the label alone.
void titoloGrafico(QAbstractAxis* asse, const Grandezza& g) {
    asse->setTitleText(*g.unita ? q(g.etichetta).toHtmlEscaped() + QStringLiteral("<br>[") +
                                      q(g.unita).toHtmlEscaped() + QStringLiteral("]")
                                : q(g.etichetta).toHtmlEscaped());
    QFont f = asse->titleFont();
    f.setBold(false);
    asse->setTitleFont(f);
}

QString testoNumero(double x) { return QString::fromStdString(TestoNumero(x)); }

// A default range around the current value: excess air 0 to 200 % by 5, and
// ranges of the same spirit for the others.
void intervalloPredefinito(const Grandezza& g, double corrente, double& da, double& a, double& passo) {
    using Q = Quantita;
    auto intorno = [&](double meta, double p) {
        da = std::floor((corrente - meta) / p) * p;
        a = da + 2 * meta;
        passo = p;
    };
    if (g.id == Q::EccessoAria) da = 0, a = 200, passo = 5;
    else if (g.id == Q::UmiditaRelativa) da = 0, a = 100, passo = 5;
    else if (g.id == Q::Dispersioni) da = 0, a = 30, passo = 1;
    else if (g.id == Q::TempAria) intorno(40, 2);
    else if (g.id == Q::TempCeneri) da = 0, a = 1000, passo = 25;
    else if (corrente > 0) da = corrente / 2, a = corrente * 2, passo = corrente / 20;  // flow, heating value
    else da = 0, a = 1000, passo = 25;
}

}  // namespace

frmAndamento::frmAndamento(const IngressiCaso& caso, QWidget* padre)
    : FormBase(QStringLiteral("frmAndamento"), padre, Qt::Window), caso_(caso) {
    setAttribute(Qt::WA_DeleteOnClose);
    confermaUscita = false;
    chiudeConEsc = true;
    setWindowTitle(QStringLiteral("Andamento - Termix54"));
    impostaColoreTesto(this, Qt::black);
    attualeOk_ = CalcolaCaso(caso_, attuale_).completato;  // once: the copy never changes
    Left = 0;
    Top = 0;
    Width = 9600;
    Height = 7200;

    etichetta("Label1", QStringLiteral("Grandezza variata"), 120, 170, 1600, 195, -1);
    combo_ = new QComboBox(this);
    for (Quantita g : IngressiAndamento) combo_->addItem(titoloAsse(Info(g)), q(Info(g).nome));
    aggiungi(combo_, {.nome = "Combo1", .left = 1560, .top = 120, .width = 3000, .height = 315, .tab = 0});

    const struct {
        const char *etichetta, *nome, *casella;
        float x;
    } intervallo[] = {
        {"Label2", "da", "Text1", 120}, {"Label3", "a", "Text2", 1800}, {"Label4", "passo", "Text3", 3480}};
    int tab = 1;
    for (const auto& i : intervallo) {
        etichetta(i.etichetta, q(i.nome), i.x, 600, 500, 195, -1);
        auto* e = casella(i.casella, i.x + 480, 540, tab++);
        connect(e, &QLineEdit::returnPressed, this, [this] { Command1_Click(); });
    }
    auto* calcola = pulsante("Command1", QStringLiteral("&Calcola"), 5160, 480, 1215, 435, tab++);

    chart_ = new QChart();
    chart_->legend()->setAlignment(Qt::AlignBottom);
    QLocale italiano(QLocale::Italian, QLocale::Italy);  // decimal comma on the axes, no thousands points
    italiano.setNumberOptions(QLocale::OmitGroupSeparator);
    chart_->setLocale(italiano);
    chart_->setLocalizeNumbers(true);
    vista_ = new QChartView(chart_, this);
    vista_->setRenderHint(QPainter::Antialiasing);
    aggiungi(vista_, {.nome = "Grafico", .left = 120, .top = 1020, .width = 6840, .height = 5040});

    etichetta("Label5", QStringLiteral("Risultati"), 7080, 1020, 1900, 195, -1, 0, true);
    for (size_t k = 0; k < RisultatiAndamento.size(); ++k) {
        auto* c = new QCheckBox(q(Info(RisultatiAndamento[k]).etichetta), this);
        c->setChecked(k == 0);
        const QByteArray nome = "Check" + QByteArray::number(int(k) + 1);
        aggiungi(c, {.nome = nome.constData(), .left = 7080, .top = 1320 + 330 * float(k), .width = 2460,
                     .height = 285, .tab = tab++});
        connect(c, &QCheckBox::toggled, this, [this] { disegna(); });
        risultati_.push_back(c);
    }
    etichetta("Label6", QStringLiteral("Temperatura obiettivo [°C]"), 7080, 3480, 1980, 195, -1);
    auto* t4 = casella("Text4", 7080, 3780, tab++);
    t4->setText(QStringLiteral("1100"));
    auto* trova = pulsante("Command2", QStringLiteral("Trova"), 8280, 3750, 900, 375, tab++);
    connect(t4, &QLineEdit::returnPressed, this, [this] { Command2_Click(); });

    // Fixed boxes for texts that change: a self-sizing label keeps the size of its first text.
    auto riga = [this](const char* nome, float t, float w, bool bold) {
        auto* l = new QLabel(this);
        l->setTextFormat(Qt::PlainText);
        aggiungi(l, {.nome = nome, .left = 120, .top = t, .width = w, .height = 270, .grassetto = bold});
        return l;
    };
    risposta_ = riga("Label7", 6150, 9360, true);
    stato_ = riga("Label8", 6630, 4500, false);
    auto* csv = pulsante("Command3", QStringLiteral("Esporta CSV"), 4800, 6540, 1500, 435, tab++);
    auto* immagine = pulsante("Command4", QStringLiteral("Esporta immagine"), 6420, 6540, 1620, 435, tab++);
    auto* chiudi = pulsante("Command5", QStringLiteral("C&hiudi"), 8160, 6540, 1320, 435, tab++);

    connect(combo_, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(calcola, &Pulsante::azione, this, [this] { Command1_Click(); });
    connect(trova, &Pulsante::azione, this, &frmAndamento::Command2_Click);
    connect(csv, &Pulsante::azione, this, [this] { Command3_Click(); });
    connect(immagine, &Pulsante::azione, this, [this] { Command4_Click(); });
    connect(chiudi, &Pulsante::azione, this, &QWidget::close);
    applicaGeometria();
    ordinaTab();
}

void frmAndamento::Form_Load() {
    AdattaSchermo(*this);
    Combo1_Click();
}

const Grandezza& frmAndamento::variata() const {
    return Info(IngressiAndamento[size_t(std::max(0, combo_->currentIndex()))]);
}

void frmAndamento::Combo1_Click() {
    double da = 0, a = 0, passo = 0;
    intervalloPredefinito(variata(), (caso_.valori.*variata().variabile).v, da, a, passo);
    const std::pair<const char*, double> testi[] = {{"Text1", da}, {"Text2", a}, {"Text3", passo}};
    for (auto [nome, x] : testi) findChild<QLineEdit*>(QString::fromLatin1(nome))->setText(testoNumero(x));
    Command1_Click();
}

bool frmAndamento::leggi(const char* nome, double& valore) {
    QLineEdit* e = findChild<QLineEdit*>(QString::fromLatin1(nome));
    const QByteArray t = e->text().toUtf8();
    if (const auto v = LeggiNumero(std::string_view(t.constData(), size_t(t.size())))) {
        valore = *v;
        return true;
    }
    const bool punto = e->text().trimmed().endsWith(QLatin1Char('.'));
    dialoghi().messaggio(q(punto ? messaggi::UsareVirgola : messaggi::UsareNumeri), Icona::Esclamazione);
    e->setFocus(Qt::OtherFocusReason);
    e->selectAll();
    return false;
}

bool frmAndamento::Command1_Click() {
    double da = 0, a = 0, passo = 0;
    if (!leggi("Text1", da) || !leggi("Text2", a) || !leggi("Text3", passo)) return false;
    if (const auto errore = ValoriAndamento(da, a, passo, valori_)) {
        dialoghi().messaggio(QStringLiteral("Intervallo non valido: ") + q(errore->c_str()), Icona::Esclamazione);
        return false;
    }
    {
        CursoreAttesa attesa;  // runs that never settle take a second each
        CalcolaAndamento(caso_, variata(), valori_, punti_);
    }
    obiettivo_.reset();
    risposta_->clear();
    disegna();
    return true;
}

void frmAndamento::disegna() {
    chart_->removeAllSeries();
    for (QAbstractAxis* a : chart_->axes()) {
        chart_->removeAxis(a);
        delete a;
    }
    const Grandezza& x = variata();
    auto* asseX = new QValueAxis;
    titoloGrafico(asseX, x);
    if (!valori_.empty())  // one value: a unit wide
        asseX->setRange(valori_.front(), valori_.back() > valori_.front() ? valori_.back() : valori_.front() + 1);
    chart_->addAxis(asseX, Qt::AlignBottom);

    int lacune = 0;
    for (const auto& p : punti_) lacune += !p.completato;
    stato_->setText(QStringLiteral("%1 casi, %2 interrotti (lacune nel grafico)").arg(punti_.size()).arg(lacune));

    bool primo = true;
    for (size_t r = 0; r < RisultatiAndamento.size(); ++r) {
        if (!risultati_[r]->isChecked()) continue;
        const Grandezza& g = Info(RisultatiAndamento[r]);
        const QColor colore = QColor::fromHsv(int(r) * 60 % 360, 220, 200);
        auto* asseY = new QValueAxis;
        titoloGrafico(asseY, g);
        asseY->setLinePenColor(colore);
        chart_->addAxis(asseY, primo ? Qt::AlignLeft : Qt::AlignRight);
        double minimo = HUGE_VAL, massimo = -HUGE_VAL;
        auto aggiungiSerie = [&](QXYSeries* s) {
            chart_->addSeries(s);
            s->attachAxis(asseX);
            s->attachAxis(asseY);
        };
        // One line per run of completed points: a stopped run is a gap.
        QList<QPointF> tratto;
        bool legenda = true;
        auto chiudiTratto = [&] {
            if (tratto.isEmpty()) return;
            auto* s = new QLineSeries;
            s->setName(q(g.etichetta));
            s->setPen(QPen(colore, 2));
            s->replace(tratto);
            aggiungiSerie(s);
            if (!legenda) chart_->legend()->markers(s).first()->setVisible(false);
            legenda = false;
            tratto.clear();
        };
        for (const auto& p : punti_) {
            if (!p.completato) {
                chiudiTratto();
                continue;
            }
            const double y = (p.m.*g.variabile).v;
            minimo = std::min(minimo, y);
            massimo = std::max(massimo, y);
            tratto.append(QPointF(p.valore, y));
        }
        chiudiTratto();
        if (attualeOk_) {  // the case on the forms
            auto* s = new QScatterSeries;
            s->setName(QStringLiteral("Caso"));
            s->setColor(colore);
            s->setMarkerSize(10);
            const double y = (attuale_.*g.variabile).v;
            s->append((caso_.valori.*x.variabile).v, y);
            minimo = std::min(minimo, y);
            massimo = std::max(massimo, y);
            aggiungiSerie(s);
            if (!primo) chart_->legend()->markers(s).first()->setVisible(false);
        }
        if (g.id == Quantita::TempFumi && !valori_.empty()) {
            for (double t : {850.0, 1100.0}) {  // the incineration rules' minimum temperatures
                auto* s = new QLineSeries;
                s->setName(QStringLiteral("850 e 1100 °C"));  // one legend entry for the two
                s->setPen(QPen(t == 850 ? Qt::darkGray : Qt::black, 1, Qt::DashLine));
                s->append(valori_.front(), t);
                s->append(valori_.back(), t);
                aggiungiSerie(s);
                if (t == 1100) chart_->legend()->markers(s).first()->setVisible(false);
                minimo = std::min(minimo, t);
                massimo = std::max(massimo, t);
            }
            if (obiettivo_ && obiettivo_->esito == Obiettivo::Esito::Trovato) {
                auto* s = new QScatterSeries;
                s->setName(QStringLiteral("Obiettivo"));
                s->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
                s->setColor(Qt::red);
                s->append(obiettivo_->valore, obiettivo_->punto.m.TempFumi.v);
                aggiungiSerie(s);
                // The sentence under the chart names it; the legend keeps room for the results.
                chart_->legend()->markers(s).first()->setVisible(false);
            }
        }
        if (minimo <= massimo) {
            const double margine =
                massimo > minimo ? (massimo - minimo) * 0.05 : std::max(1.0, std::fabs(massimo) * 0.05);
            asseY->setRange(minimo - margine, massimo + margine);
            asseY->applyNiceNumbers();
        }
        primo = false;
    }
}

void frmAndamento::Command2_Click() {
    double t = 0;
    if (!leggi("Text4", t)) return;
    {
        CursoreAttesa attesa;
        obiettivo_ = TrovaObiettivo(caso_, variata(), punti_, t);
    }
    risposta_->setText(QString::fromStdString(obiettivo_->frase));
    if (!risultati_[0]->isChecked())
        risultati_[0]->setChecked(true);  // redraws
    else
        disegna();
}

std::string frmAndamento::tabellaCsv() const {
    // The batch tool's --variando output for one record typed as on the forms.
    const char sep = ';';
    std::string out;
    const std::string_view nomi[] = {"Riga", "Impianto", "Combustibile", "Esito"};
    ScriviIntestazioneTabella(out, sep, nomi, variata().nome);
    AggiungiUltimoCampo(out, "Avvisi", sep);
    const std::string impianto = TestoDi(Quantita::Impianto), combustibile = TestoDi(Quantita::Combustibile);
    for (const auto& p : punti_) {
        const std::string_view testi[] = {"1", impianto, combustibile, p.esito};
        ScriviRigaTabella(out, sep, testi, true, &p.valore, p.completato ? &p.m : nullptr);
        AggiungiUltimoCampo(out, TestoAvvisi(AvvisiCaso(CasoCon(caso_, variata(), p.valore), p.m, p.completato)), sep);
    }
    return out;
}

bool frmAndamento::Command3_Click() {
    QString nome = dialoghi().chiediFile(QStringLiteral("Esporta CSV"), QStringLiteral("andamento.csv"),
                                         QStringLiteral("CSV (*.csv)"));
    if (nome.isEmpty()) return false;
    if (!nome.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) nome += QStringLiteral(".csv");
    QFile f(nome);
    const std::string t = tabellaCsv();
    if (!f.open(QIODevice::WriteOnly) || f.write(t.data(), qint64(t.size())) != qint64(t.size()) || !f.flush()) {
        dialoghi().messaggio(QStringLiteral("Impossibile scrivere ") + nome, Icona::Esclamazione);
        return false;
    }
    return true;
}

bool frmAndamento::Command4_Click() {
    QString nome = dialoghi().chiediFile(QStringLiteral("Esporta immagine"), QStringLiteral("andamento.png"),
                                         QStringLiteral("Immagine PNG (*.png);;Immagine SVG (*.svg)"));
    if (nome.isEmpty()) return false;
    bool ok = false;
    if (nome.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(nome);
        svg.setSize(vista_->size());
        svg.setViewBox(QRect(QPoint(0, 0), vista_->size()));
        svg.setTitle(windowTitle());
        QPainter p;
        ok = p.begin(&svg);
        if (ok) {
            vista_->render(&p);
            ok = p.end();
        }
        ok = ok && QFile::exists(nome);
    } else {
        if (!nome.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) nome += QStringLiteral(".png");
        ok = vista_->grab().save(nome, "PNG");
    }
    if (!ok) dialoghi().messaggio(QStringLiteral("Impossibile scrivere ") + nome, Icona::Esclamazione);
    return ok;
}

IngressiCaso CasoDalleForme() { return sessione().Caso(); }

frmAndamento* apriAndamento() {
    auto* w = new frmAndamento(CasoDalleForme(), &GestoreForm::form8());
    GestoreForm::apri(*w);
    return w;
}

}  // namespace termix
