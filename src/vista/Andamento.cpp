#include "vista/Andamento.h"

#include <algorithm>
#include <cmath>

#include "combustion/Avvisi.h"
#include "combustion/Verifica.h"
#include "model/Formato.h"
#include "report/TabellaRisultati.h"
#include "vista/Caselle.h"

namespace termix::vista {

namespace {

using Q = Quantita;

// The leading whole words two labels share ("Temperatura" for the two flue-gas temperatures).
std::string_view paroleComuni(std::string_view a, std::string_view b) {
    std::size_t fine = 0;
    for (std::size_t i = 0; i <= std::min(a.size(), b.size()); ++i) {
        if ((i == a.size() || a[i] == ' ') && (i == b.size() || b[i] == ' ')) fine = i;
        if (i == a.size() || i == b.size() || a[i] != b[i]) break;
    }
    return a.substr(0, fine);
}

void estendi(AsseGrafico& asse, double y) {
    if (asse.minimo > asse.massimo) {
        asse.minimo = asse.massimo = y;
        return;
    }
    asse.minimo = std::min(asse.minimo, y);
    asse.massimo = std::max(asse.massimo, y);
}

constexpr const char* MancaObiettivo = "Inserire la temperatura obiettivo";

}  // namespace

const char* NomeCasella(CasellaAndamento c) {
    switch (c) {
        case CasellaAndamento::Nessuna: return "";
        case CasellaAndamento::Da: return "da";
        case CasellaAndamento::A: return "a";
        case CasellaAndamento::Passo: return "passo";
        case CasellaAndamento::Obiettivo: return "obiettivo";
    }
    return "";
}

std::string TitoloAsse(const Grandezza& g) {
    return *g.unita ? std::string(g.etichetta) + " [" + g.unita + "]" : std::string(g.etichetta);
}

Intervallo IntervalloPredefinito(const Grandezza& g, double corrente) {
    Intervallo i;
    auto intorno = [&](double meta, double p) {
        i.da = std::floor((corrente - meta) / p) * p;
        i.a = i.da + 2 * meta;
        i.passo = p;
    };
    if (g.id == Q::EccessoAria) i = {0, 200, 5};
    else if (g.id == Q::UmiditaRelativa) i = {0, 100, 5};
    else if (g.id == Q::Dispersioni) i = {0, 30, 1};
    else if (g.id == Q::TempAria) intorno(40, 2);
    else if (g.id == Q::TempCeneri) i = {0, 1000, 25};
    else if (corrente > 0) i = {corrente / 2, corrente * 2, corrente / 20};  // flow, heating value
    else i = {0, 1000, 25};
    return i;
}

std::optional<double> ValoreRisultato(Quantita risultato, const Modulo1& m, const RisultatiVerifica& verifica) {
    const Grandezza& g = Info(risultato);
    if (g.risultato) return verifica.*g.risultato;
    return (m.*g.variabile).v;
}

const char* ColoreRisultato(Quantita risultato) {
    switch (risultato) {
        case Q::TempFumi: return "#d62728";
        case Q::ConcCl2: return "#2ca02c";
        case Q::PortataFumi: return "#8c564b";
        case Q::PercVolO2: return "#1f77b4";
        case Q::PercVolH2O: return "#17becf";
        case Q::CaloreSpecificoFumi: return "#9467bd";
        case Q::TempFumiRif: return "#ff7f0e";
        case Q::TempFumiEq: return "#bcbd22";
        case Q::ConcNOEq: return "#e377c2";
        case Q::ConcCOEq: return "#7f7f7f";
        default: return "#000000";
    }
}

Andamento::Andamento(const IngressiCaso& caso, std::string impianto, std::string combustibile, Quantita variata)
    : caso_(caso), impianto_(std::move(impianto)), combustibile_(std::move(combustibile)), variata_(variata),
      tracciata_(variata) {
    attualeOk_ = CalcolaCaso(caso_, attuale_).completato;  // once: the copy never changes
    testi_ = TestiPredefiniti(caso_, variata_);
}

std::array<std::string, 3> TestiPredefiniti(const IngressiCaso& caso, Quantita variata) {
    const Grandezza& g = Info(variata);
    const Intervallo i = IntervalloPredefinito(g, (caso.valori.*g.variabile).v);
    return {TestoNumero(i.da), TestoNumero(i.a), TestoNumero(i.passo)};
}

std::array<std::string, 3> Andamento::scegli(Quantita variata) {
    variata_ = variata;
    return TestiPredefiniti(caso_, variata_);
}

RifiutoAndamento Andamento::traccia(std::string_view da, std::string_view a, std::string_view passo) {
    const Grandezza& g = Info(variata_);
    const Intervallo p = IntervalloPredefinito(g, (caso_.valori.*g.variabile).v);
    const std::string_view testi[] = {da, a, passo};
    const double predefiniti[] = {p.da, p.a, p.passo};
    constexpr CasellaAndamento caselle[] = {CasellaAndamento::Da, CasellaAndamento::A, CasellaAndamento::Passo};
    double x[3];
    std::array<std::string, 3> mostrati;
    for (int k = 0; k < 3; ++k) {
        const LetturaCasella l = LeggiCasella(testi[k]);
        if (l.rifiuto) {
            obiettivo_.reset();
            return {l.rifiuto, caselle[k]};
        }
        x[k] = l.valore.value_or(predefiniti[k]);
        mostrati[k] = l.valore ? std::string(testi[k]) : TestoNumero(predefiniti[k]);
    }
    std::vector<double> valori;
    if (const auto errore = ValoriAndamento(x[0], x[1], x[2], valori)) {
        obiettivo_.reset();
        // Back to the box that can mend it: "a" below "da", otherwise the step.
        const bool rovescio = x[2] > 0 && x[1] < x[0];
        return {"Intervallo non valido: " + *errore, rovescio ? CasellaAndamento::A : CasellaAndamento::Passo};
    }
    valori_ = std::move(valori);
    CalcolaAndamento(caso_, g, valori_, punti_);
    tracciata_ = variata_;
    tracciato_ = true;
    testi_ = std::move(mostrati);
    obiettivo_.reset();
    return {};
}

RifiutoAndamento Andamento::trova(std::string_view obiettivo) {
    const LetturaCasella l = LeggiCasella(obiettivo);
    if (!l.valore) {
        obiettivo_.reset();
        return {l.rifiuto ? l.rifiuto : MancaObiettivo, CasellaAndamento::Obiettivo};
    }
    obiettivo_ = TrovaObiettivo(caso_, Info(tracciata_), punti_, *l.valore);
    return {};
}

std::string Andamento::risposta() const { return obiettivo_ ? obiettivo_->frase : std::string(); }

std::string Andamento::stato() const {
    const auto interrotti = std::count_if(punti_.begin(), punti_.end(), [](const auto& p) { return !p.completato; });
    return std::to_string(punti_.size()) + " casi, " + std::to_string(interrotti) + " interrotti (lacune nel grafico)";
}

GraficoAndamento Andamento::grafico(std::span<const Quantita> scelti) const {
    GraficoAndamento gr;
    const Grandezza& x = Info(tracciata_);
    gr.titoloX = x.etichetta;
    gr.unitaX = x.unita;
    if (!valori_.empty()) {
        gr.da = valori_.front();
        gr.a = valori_.back() > gr.da ? valori_.back() : gr.da + 1;
    }
    const double xCaso = (caso_.valori.*x.variabile).v;
    const bool casoVisibile = attualeOk_ && tracciato_ && !valori_.empty() && xCaso >= valori_.front() &&
                              xCaso <= valori_.back();
    // The checks, once per completed run, when a chosen result is one of theirs.
    const bool conVerifica =
        std::any_of(scelti.begin(), scelti.end(), [](Quantita r) { return Info(r).risultato != nullptr; });
    std::vector<RisultatiVerifica> verifiche(conVerifica ? punti_.size() : 0);
    for (std::size_t k = 0; k < verifiche.size(); ++k)
        if (punti_[k].completato) verifiche[k] = CalcolaVerifica(punti_[k].m, {});
    const RisultatiVerifica nessuna;
    auto verificaDi = [&](std::size_t k) -> const RisultatiVerifica& { return conVerifica ? verifiche[k] : nessuna; };
    const RisultatiVerifica verificaCaso =
        conVerifica && casoVisibile ? CalcolaVerifica(attuale_, {}) : RisultatiVerifica{};
    for (Quantita r : RisultatiGrafico) {
        if (std::find(scelti.begin(), scelti.end(), r) == scelti.end()) continue;
        const Grandezza& y = Info(r);
        auto stesso = std::find_if(gr.assi.begin(), gr.assi.end(), [&](const auto& a) { return a.unita == y.unita; });
        if (stesso == gr.assi.end()) {
            stesso = gr.assi.emplace(gr.assi.end());
            stesso->titolo = y.etichetta;
            stesso->unita = y.unita;
        } else if (const auto comuni = paroleComuni(stesso->titolo, y.etichetta); !comuni.empty()) {
            stesso->titolo = std::string(comuni);
        } else {
            stesso->titolo += std::string(", ") + y.etichetta;
        }
        AsseGrafico& asse = *stesso;
        SerieGrafico s;
        s.risultato = r;
        s.asse = std::size_t(stesso - gr.assi.begin());
        // One line per run of values with a result: a stopped run is a gap.
        std::vector<PuntoGrafico> tratto;
        for (std::size_t k = 0; k < punti_.size(); ++k) {
            const auto& p = punti_[k];
            const auto v = p.completato ? ValoreRisultato(r, p.m, verificaDi(k)) : std::nullopt;
            if (!v) {
                if (!tratto.empty()) s.tratti.push_back(std::move(tratto));
                tratto.clear();
                continue;
            }
            tratto.push_back({p.valore, *v});
            estendi(asse, *v);
        }
        if (!tratto.empty()) s.tratti.push_back(std::move(tratto));
        if (casoVisibile)
            if (const auto v = ValoreRisultato(r, attuale_, verificaCaso)) {
                s.caso = PuntoGrafico{xCaso, *v};
                estendi(asse, *v);
            }
        if (r == Q::TempFumi && obiettivo_ && obiettivo_->esito == Obiettivo::Esito::Trovato) {
            s.obiettivo = PuntoGrafico{obiettivo_->valore, obiettivo_->punto.m.TempFumi.v};
            estendi(asse, s.obiettivo->y);
        }
        if ((r == Q::TempFumi || r == Q::TempFumiRif || r == Q::TempFumiEq) && asse.soglie.empty() && !valori_.empty()) {
            asse.soglie.assign(std::begin(Soglie), std::end(Soglie));
            for (double t : Soglie) estendi(asse, t);
        }
        gr.serie.push_back(std::move(s));
    }
    return gr;
}

std::string Andamento::csv() const {
    const char sep = ';';
    std::string out;
    const std::string_view nomi[] = {"Riga", "Impianto", "Combustibile", "Esito"};
    const Grandezza& g = Info(tracciata_);
    ScriviIntestazioneTabella(out, sep, nomi, g.nome);
    AggiungiUltimoCampo(out, "Avvisi", sep);
    for (const auto& p : punti_) {
        const std::string_view testi[] = {"1", impianto_, combustibile_, p.esito};
        ScriviRigaTabella(out, sep, testi, true, &p.valore, p.completato ? &p.m : nullptr);
        AggiungiUltimoCampo(out, TestoAvvisi(AvvisiCaso(CasoCon(caso_, g, p.valore), p.m, p.completato)), sep);
    }
    return out;
}

}  // namespace termix::vista
