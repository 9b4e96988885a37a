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

#include "forms/Form2.h"
#include "forms/Form8.h"
#include "forms/GestoreForm.h"
#include "forms/Posti.h"
#include "ui/Controlli.h"
#include "ui/Dialoghi.h"

namespace termix {

namespace {

QString q(const char* t) { return QString::fromUtf8(t); }

// On the chart the unit goes on a line of its own, in a lighter face: at
// 640 x 480 the y axis has room for the label alone.
void titoloGrafico(QAbstractAxis* asse, const std::string& etichetta, const std::string& unita) {
    const QString e = QString::fromStdString(etichetta).toHtmlEscaped();
    asse->setTitleText(unita.empty() ? e : e + QStringLiteral("<br>[") + QString::fromStdString(unita).toHtmlEscaped() +
                                               QStringLiteral("]"));
    QFont f = asse->titleFont();
    f.setBold(false);
    asse->setTitleFont(f);
}

// A refused box, by the view model's name.
const char* NomeControllo(vista::CasellaAndamento c) {
    switch (c) {
        case vista::CasellaAndamento::Da: return "Text1";
        case vista::CasellaAndamento::A: return "Text2";
        case vista::CasellaAndamento::Passo: return "Text3";
        case vista::CasellaAndamento::Obiettivo: return "Text4";
        case vista::CasellaAndamento::Nessuna: break;
    }
    return nullptr;
}

constexpr const char* CaselleIntervallo[] = {"Text1", "Text2", "Text3"};

}  // namespace

frmAndamento::frmAndamento(const IngressiCaso& caso, const std::string& impianto, const std::string& combustibile,
                           QWidget* padre)
    : FormBase(QStringLiteral("frmAndamento"), padre, Qt::Window), modello_(caso, impianto, combustibile) {
    setAttribute(Qt::WA_DeleteOnClose);
    confermaUscita = false;
    chiudeConEsc = true;
    setWindowTitle(QStringLiteral("Andamento - Termix54"));
    impostaColoreTesto(this, Qt::black);
    Left = 0;
    Top = 0;
    Width = 9600;
    Height = 7200;

    etichetta("Label1", QStringLiteral("Grandezza variata"), 120, 170, 1600, 195, -1);
    combo_ = new QComboBox(this);
    for (Quantita g : IngressiAndamento) combo_->addItem(q(vista::TitoloAsse(Info(g)).c_str()), q(Info(g).nome));
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
    aggiungi(vista_, {.nome = "Grafico", .left = 120, .top = 1020, .width = 6600, .height = 5040});

    etichetta("Label5", QStringLiteral("Risultati"), 6840, 1020, 1900, 195, -1, 0, true);
    for (size_t k = 0; k < vista::RisultatiGrafico.size(); ++k) {
        auto* c = new QCheckBox(q(Info(vista::RisultatiGrafico[k]).etichetta), this);
        c->setChecked(k == 0);
        const QByteArray nome = "Check" + QByteArray::number(int(k) + 1);
        aggiungi(c, {.nome = nome.constData(), .left = 6840, .top = 1260 + 300 * float(k), .width = 2700,
                     .height = 285, .tab = tab++});
        connect(c, &QCheckBox::toggled, this, [this] { disegna(); });
        risultati_.push_back(c);
    }
    const float sotto = 1260 + 300 * float(vista::RisultatiGrafico.size()) + 120;
    etichetta("Label6", QStringLiteral("Temperatura obiettivo [°C]"), 6840, sotto, 1980, 195, -1);
    auto* t4 = casella("Text4", 6840, sotto + 300, tab++);
    t4->setText(QStringLiteral("1100"));
    auto* trova = pulsante("Command2", QStringLiteral("Trova"), 8040, sotto + 270, 900, 375, tab++);
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
    connect(trova, &Pulsante::azione, this, [this] { Command2_Click(); });
    connect(csv, &Pulsante::azione, this, [this] { Command3_Click(); });
    connect(immagine, &Pulsante::azione, this, [this] { Command4_Click(); });
    connect(chiudi, &Pulsante::azione, this, &QWidget::close);
    applicaGeometria();
    ordinaTab();
}

void frmAndamento::Form_Load() {
    AdattaSchermo(*this);
    // On a small screen the legend takes the window's fitted face, smaller than the
    // chart's own: with two results and the marks it would elide every name at 640 x 480.
    if (stato_->font().pointSizeF() < chart_->legend()->font().pointSizeF()) chart_->legend()->setFont(stato_->font());
    chart_->legend()->setShowToolTips(true);  // the full name of an elided one
    Combo1_Click();
}

void frmAndamento::Combo1_Click() {
    const auto testi = modello_.scegli(IngressiAndamento[size_t(std::max(0, combo_->currentIndex()))]);
    for (size_t k = 0; k < testi.size(); ++k)
        findChild<QLineEdit*>(QString::fromLatin1(CaselleIntervallo[k]))->setText(QString::fromStdString(testi[k]));
    Command1_Click();
}

void frmAndamento::rifiuta(const vista::RifiutoAndamento& r) {
    dialoghi().messaggio(QString::fromStdString(r.messaggio), Icona::Esclamazione);
    if (const char* nome = NomeControllo(r.casella)) {
        QLineEdit* e = findChild<QLineEdit*>(QString::fromLatin1(nome));
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
    }
    risposta_->clear();  // the answer went with the refusal; the last sweep stays drawn
    disegna();
}

bool frmAndamento::Command1_Click() {
    auto testo = [this](const char* nome) { return findChild<QLineEdit*>(QString::fromLatin1(nome))->text().toStdString(); };
    vista::RifiutoAndamento r;
    {
        CursoreAttesa attesa;  // runs that never settle take a second each
        r = modello_.traccia(testo("Text1"), testo("Text2"), testo("Text3"));
    }
    if (r) {
        rifiuta(r);
        return false;
    }
    for (size_t k = 0; k < 3; ++k)  // an empty box shows the default it took
        findChild<QLineEdit*>(QString::fromLatin1(CaselleIntervallo[k]))
            ->setText(QString::fromStdString(modello_.testi()[k]));
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
    std::vector<Quantita> scelti;
    for (size_t r = 0; r < vista::RisultatiGrafico.size(); ++r)
        if (risultati_[r]->isChecked()) scelti.push_back(vista::RisultatiGrafico[r]);
    const vista::GraficoAndamento g = modello_.grafico(scelti);
    auto* asseX = new QValueAxis;
    titoloGrafico(asseX, g.titoloX, g.unitaX);
    if (modello_.tracciato()) asseX->setRange(g.da, g.a);
    chart_->addAxis(asseX, Qt::AlignBottom);
    stato_->setText(QString::fromStdString(modello_.stato()));

    std::vector<QValueAxis*> assi;
    for (const auto& a : g.assi) {
        auto* asse = new QValueAxis;
        titoloGrafico(asse, a.titolo, a.unita);
        chart_->addAxis(asse, assi.empty() ? Qt::AlignLeft : Qt::AlignRight);
        if (a.minimo <= a.massimo) {
            const double margine =
                a.massimo > a.minimo ? (a.massimo - a.minimo) * 0.05 : std::max(1.0, std::fabs(a.massimo) * 0.05);
            asse->setRange(a.minimo - margine, a.massimo + margine);
            asse->applyNiceNumbers();
        }
        assi.push_back(asse);
    }
    auto aggiungiSerie = [&](QXYSeries* s, size_t asse, bool inLegenda) {
        chart_->addSeries(s);
        s->attachAxis(asseX);
        s->attachAxis(assi[asse]);
        if (!inLegenda) chart_->legend()->markers(s).first()->setVisible(false);
    };
    std::vector<int> serieSuAsse(assi.size());
    for (const auto& s : g.serie) ++serieSuAsse[s.asse];
    bool primoCaso = true;
    for (const auto& s : g.serie) {
        const Grandezza& y = Info(s.risultato);
        const QColor colore(QString::fromLatin1(vista::ColoreRisultato(s.risultato)));
        if (serieSuAsse[s.asse] == 1) assi[s.asse]->setLinePenColor(colore);
        bool legenda = true;
        for (const auto& tratto : s.tratti) {  // one line per run of completed points: a stopped run is a gap
            auto* l = new QLineSeries;
            l->setName(q(y.etichetta));
            l->setPen(QPen(colore, 2));
            QList<QPointF> punti;
            punti.reserve(qsizetype(tratto.size()));
            for (const auto& p : tratto) punti.append(QPointF(p.x, p.y));
            l->replace(punti);
            aggiungiSerie(l, s.asse, legenda);
            legenda = false;
        }
        if (s.caso) {  // the case on the forms
            auto* c = new QScatterSeries;
            c->setName(QStringLiteral("Caso"));
            c->setColor(colore);
            c->setMarkerSize(10);
            c->append(s.caso->x, s.caso->y);
            aggiungiSerie(c, s.asse, primoCaso);
            primoCaso = false;
        }
        if (s.obiettivo) {
            auto* o = new QScatterSeries;
            o->setName(QStringLiteral("Obiettivo"));
            o->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
            o->setColor(Qt::black);
            o->append(s.obiettivo->x, s.obiettivo->y);
            // The sentence under the chart names it; the legend keeps room for the results.
            aggiungiSerie(o, s.asse, false);
        }
    }
    for (size_t k = 0; k < g.assi.size(); ++k) {
        for (double t : g.assi[k].soglie) {
            auto* l = new QLineSeries;
            l->setName(QStringLiteral("850 e 1100 °C"));  // one legend entry for the two
            l->setPen(QPen(t == vista::Soglie[0] ? Qt::darkGray : Qt::black, 1, Qt::DashLine));
            l->append(g.da, t);
            l->append(g.a, t);
            aggiungiSerie(l, k, t == vista::Soglie[0]);
        }
    }
}

bool frmAndamento::Command2_Click() {
    vista::RifiutoAndamento r;
    {
        CursoreAttesa attesa;
        r = modello_.trova(findChild<QLineEdit*>(QStringLiteral("Text4"))->text().toStdString());
    }
    if (r) {
        rifiuta(r);
        return false;
    }
    risposta_->setText(QString::fromStdString(modello_.risposta()));
    if (!risultati_[0]->isChecked())
        risultati_[0]->setChecked(true);  // redraws
    else
        disegna();
    return true;
}

bool frmAndamento::Command3_Click() {
    QString nome = dialoghi().chiediFile(QStringLiteral("Esporta CSV"), QStringLiteral("andamento.csv"),
                                         QStringLiteral("CSV (*.csv)"));
    if (nome.isEmpty()) return false;
    if (!nome.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) nome += QStringLiteral(".csv");
    QFile f(nome);
    const std::string t = modello_.csv();
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
    auto* w = new frmAndamento(CasoDalleForme(), TestoDi(Quantita::Impianto), TestoDi(Quantita::Combustibile),
                               &GestoreForm::form8());
    GestoreForm::apri(*w);
    return w;
}

}  // namespace termix
