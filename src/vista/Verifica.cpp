#include "vista/Verifica.h"

#include <cmath>
#include <stdexcept>

#include "model/Formato.h"
#include "report/Codifica.h"
#include "vista/Caselle.h"
#include "vista/Scelte.h"

namespace termix::vista {

namespace {

using Q = Quantita;
using Gruppo = CampoVerifica::Gruppo;

template <class E, std::size_t N>
std::vector<CampoVerifica::Voce> voci(const Scelta<E> (&scelte)[N]) {
    std::vector<CampoVerifica::Voce> v;
    for (const auto& s : scelte) v.push_back({s.nome, s.testo});
    return v;
}

std::string conUnita(std::string testo, const char* unita) {
    return *unita ? testo + " [" + unita + "]" : testo;
}

// The support fuel's fractions, in the table's order, which is Supporto::frazioni's.
std::span<const Grandezza* const> frazioni() {
    const auto f = ConUso(FrazioneSupporto);
    if (f.size() != Supporto{}.frazioni.size()) throw std::logic_error("frazioni del supporto: la tabella non ne ha 8");
    return f;
}

// Where fraction `q` sits in Supporto::frazioni.
std::optional<std::size_t> indiceFrazione(Quantita q) {
    std::size_t k = 0;
    for (const Grandezza* g : frazioni()) {
        if (g->id == q) return k;
        ++k;
    }
    return std::nullopt;
}

}  // namespace

void AssegnaVerifica(IngressiVerifica& in, Quantita q, double x) {
    Supporto& s = in.supporto;
    ParametriVerifica& p = in.parametri;
    switch (q) {
        case Q::SupportoPortata: s.portata = x; return;
        case Q::SupportoPotereCalorifico: s.potereCalorifico = x; return;
        case Q::TempoPermanenza: p.tempoPermanenza = x; return;
        case Q::DiametroCamera: p.diametro = x; return;
        case Q::O2Riferimento: p.o2Riferimento = x; return;
        case Q::ConversioneSO3: p.conversioneSO3 = x; return;
        case Q::ObiettivoRif: p.obiettivo = x; return;
        case Q::TempEquilibrio: p.tempEquilibrio = x; return;
        case Q::O2Misurato: in.camino.o2 = x; return;
        case Q::CO2Misurato: in.camino.co2 = x; return;
        case Q::COMisurato: in.camino.co = x; return;
        case Q::TempCamino: in.camino.tempCamino = x; return;
        default:
            if (const auto k = indiceFrazione(q)) s.frazioni[*k] = x;
    }
}

namespace {

// An input's number as the run uses it (empty: none).
std::optional<double> valore(const IngressiVerifica& in, Quantita q) {
    const Supporto& s = in.supporto;
    const ParametriVerifica& p = in.parametri;
    switch (q) {
        case Q::SupportoPortata: return s.portata;
        case Q::SupportoPotereCalorifico: return s.potereCalorifico;
        case Q::TempoPermanenza: return p.tempoPermanenza;
        case Q::DiametroCamera: return p.diametro;
        case Q::O2Riferimento: return p.o2Riferimento;
        case Q::ConversioneSO3: return p.conversioneSO3;
        case Q::ObiettivoRif: return p.obiettivo;
        case Q::TempEquilibrio: return p.tempEquilibrio;
        case Q::O2Misurato: return in.camino.o2;
        case Q::CO2Misurato: return in.camino.co2;
        case Q::COMisurato: return in.camino.co;
        case Q::TempCamino: return in.camino.tempCamino;
        default:
            if (const auto k = indiceFrazione(q)) return s.frazioni[*k];
            return std::nullopt;
    }
}

// The names of a list's choices for a message: "a, b o c".
std::string nomiScelte(const CampoVerifica& c) {
    std::string t;
    for (std::size_t k = 0; k < c.scelte.size(); ++k) {
        if (!*c.scelte[k].nome) continue;  // the empty choice
        if (!t.empty()) t += k + 1 == c.scelte.size() ? " o " : ", ";
        t += c.scelte[k].nome;
    }
    return t;
}

// A list's text into the inputs; false when it names no choice (the reference
// O2 also takes any number, as a batch cell gives it).
bool scegli(const CampoVerifica& c, std::string_view t, IngressiVerifica& in, bool& numero) {
    numero = false;
    if (!c.grandezza) {
        const auto m = SceltaDi(ScelteModello, t);
        if (m) in.parametri.modello = *m;
        return m.has_value();
    }
    switch (c.grandezza->id) {
        case Q::SupportoTipo: {
            const auto s = SceltaDi(ScelteSupporto, t);
            if (s) in.supporto.tipo = *s;
            return s.has_value();
        }
        case Q::BaseO2: {
            const auto b = SceltaDi(ScelteBaseO2, t);
            if (b) in.camino.base = *b;
            return b.has_value();
        }
        case Q::O2Riferimento: {
            const auto o = SceltaDi(ScelteO2, t);
            if (o) in.parametri.o2Riferimento = O2Di(*o);
            else numero = true;
            return true;
        }
        default: return false;
    }
}

std::vector<CampoVerifica> costruisciCampi() {
    std::vector<CampoVerifica> campi;
    for (const Grandezza* g : ConUso(IngressoVerifica)) {
        // The target's box keeps the id scripts know it by; its batch column is ObiettivoRif.
        CampoVerifica c{g, g->id == Q::ObiettivoRif ? "ObiettivoVerifica" : g->nome, {}, {}, Gruppo::Parametri};
        if (g->id == Q::SupportoTipo) c.scelte = voci(ScelteSupporto);
        if (g->id == Q::O2Riferimento) c.scelte = voci(ScelteO2);
        if (g->id == Q::BaseO2) {
            c.scelte = voci(ScelteBaseO2);
            c.scelte.insert(c.scelte.begin(), {"", ""});
        }
        c.gruppo = g->ha(FrazioneSupporto) ? Gruppo::Frazioni
                   : g->ha(DelSupporto)     ? Gruppo::Supporto
                   : g->ha(IngressoCamino)  ? Gruppo::Camino
                   : g->id == Q::TempEquilibrio ? Gruppo::Equilibrio  // beside the results it sets
                                                : Gruppo::Parametri;
        // A list's texts carry their unit, and the fractions' title theirs.
        const std::string testo = g->breve ? g->breve : g->etichetta;
        c.etichetta = c.scelte.empty() && c.gruppo != Gruppo::Frazioni ? conUnita(testo, g->unita) : testo;
        campi.push_back(std::move(c));
    }
    campi.push_back({nullptr, "Modello", "Modello", voci(ScelteModello), Gruppo::Parametri});
    return campi;
}

// The shown text of a list's choice.
template <class E, std::size_t N>
const char* testoDi(const Scelta<E> (&scelte)[N], E valore) {
    for (const auto& s : scelte)
        if (s.valore == valore) return s.testo;
    return "";
}

// The reference O2's choice of no reference ("nessuno").
const char* nessunO2() {
    for (const auto& s : ScelteO2)
        if (!O2Di(s.valore)) return s.testo;
    return "";
}

// A result's caption without its unit.
std::string nomeRisultato(const Grandezza& g) {
    return std::string(g.etichetta) + (g.variabile ? " (tabella)" : "");
}

}  // namespace

std::span<const CampoVerifica> CampiVerifica() {
    static const std::vector<CampoVerifica> campi = costruisciCampi();
    return campi;
}

const CampoVerifica& CampoDi(Quantita q) {
    for (const CampoVerifica& c : CampiVerifica())
        if (c.grandezza && c.grandezza->id == q) return c;
    throw std::logic_error(std::string("nessun campo della verifica per ") + Info(q).nome);
}

std::span<const Grandezza* const> RisultatiVerificaMostrati() { return ConUso(MostrataVerifica); }

std::string EtichettaRisultato(const Grandezza& g) {
    return conUnita(nomeRisultato(g), g.unita);
}

ObiettivoVerifica ObiettivoDi(const IngressiCaso& caso, const ParametriVerifica& p) {
    if (p.obiettivo) return {*p.obiettivo, false};
    // The waste's own fuel: a support fuel burnt with it never lowers the figure.
    Modulo1 rifiuto;
    CombustibileCaso(caso, rifiuto);
    return {ObiettivoNormativo(rifiuto), true};
}

std::string TestoVuoto(const CampoVerifica& c, const IngressiCaso& caso, const IngressiVerifica& predefiniti) {
    if (!c.grandezza || !c.scelte.empty()) return {};
    if (c.grandezza->id == Q::ObiettivoRif && !predefiniti.parametri.obiettivo)
        return TestoNumero(ObiettivoDi(caso, predefiniti.parametri).temperatura);
    if (c.grandezza->id == Q::TempEquilibrio && !predefiniti.parametri.tempEquilibrio) return TestoAdiabatica;
    const auto x = valore(predefiniti, c.grandezza->id);
    return x ? TestoNumero(*x) : std::string();
}

LetturaVerifica LeggiVerifica(const TestoCampo& testo, char separatore, const IngressiVerifica& predefiniti,
                              bool camino) {
    LetturaVerifica l;
    l.ingressi = predefiniti;
    for (const CampoVerifica& c : CampiVerifica()) {
        if ((c.gruppo == Gruppo::Camino) != camino) continue;
        const std::string t = testo(c);
        bool numero = c.scelte.empty();
        if (!numero && !Rifilato(t).empty() && !scegli(c, Rifilato(t), l.ingressi, numero)) {
            l.rifiuto = std::string(c.nome) + " sconosciuto: \"" + std::string(Rifilato(t)) + "\" (" + nomiScelte(c) + ")";
            l.campo = &c;
            l.sceltaSconosciuta = true;
            return l;
        }
        if (!numero) continue;
        const LetturaCasella v = separatore == ',' ? LeggiCella(t, ',') : LeggiCasella(t);
        if (v.rifiuto) {
            l.rifiuto = v.rifiuto;
            l.campo = &c;
            return l;
        }
        if (v.valore) AssegnaVerifica(l.ingressi, c.grandezza->id, *v.valore);
    }
    std::optional<RifiutoIngresso> errore;
    if (camino) errore = ControllaCamino(l.ingressi.camino);
    else if (!(errore = ControllaSupporto(l.ingressi.supporto))) errore = ControllaParametri(l.ingressi.parametri);
    if (errore) {
        l.rifiuto = errore->messaggio;
        if (errore->campo) l.campo = &CampoDi(*errore->campo);
    }
    return l;
}

std::string Verdetto(const ObiettivoVerifica& o, double tempo, std::optional<double> temperatura,
                     const std::vector<Avviso>& avvisi, const std::string& note) {
    std::string t = TestoNumero(o.temperatura) + " °C per " + TestoNumero(tempo) + " s: ";
    if (!avvisi.empty()) {
        t += "non valutabile: " + avvisi.front().testo;
        if (avvisi.size() == 2) t += " (e un altro avviso)";
        else if (avvisi.size() > 2) t += " (e altri " + std::to_string(avvisi.size() - 1) + " avvisi)";
    } else if (!temperatura) {
        t += "non valutabile";
    } else {
        t += *temperatura >= o.temperatura ? "raggiunti" : "non raggiunti";
        t += " (T = " + FormatoTroncato(*temperatura, 1) + " °C)";
    }
    // The program cannot tell organic chlorine from salt: the rules' 1100 °C is a presumption.
    if (o.presunto && o.temperatura == ObiettivoCloro)
        t += " | " + TestoNumero(o.temperatura) + " °C presunti: cloro del rifiuto oltre l'1 %, preso per organico " +
             "(per cloro inorganico indicare " + TestoNumero(ObiettivoBase) + ")";
    if (!note.empty()) t += " | " + note;
    return t;
}

GiudizioVerifica Giudica(const IngressiCaso& caso, const IngressiVerifica& in, const Modulo1& m,
                         std::vector<Avviso> avvisi) {
    GiudizioVerifica g;
    g.risultati = CalcolaVerifica(m, in.parametri);
    g.obiettivo = ObiettivoDi(caso, in.parametri);
    g.avvisi = std::move(avvisi);
    std::string note = g.risultati.nonRiferibile;
    if (!g.risultati.avvisoEquilibrio.empty())
        note += (note.empty() ? "" : " | ") + g.risultati.avvisoEquilibrio;
    g.verdetto = Verdetto(g.obiettivo, in.parametri.tempoPermanenza, g.risultati.Temperatura, g.avvisi, note);
    return g;
}

EsitoVerifica EseguiVerifica(const IngressiCaso& caso, const IngressiVerifica& in) {
    EsitoVerifica e;
    const EsitoOperazione run = CalcolaCasoConSupporto(caso, in.supporto, e.m);
    if (!run.completato) {  // the stop's message, and no verdict
        e.giudizio.avvisi = AvvisiCaso(caso, e.m, false);
        e.verdetto = "Calcolo interrotto: " + TestoEsito(run);
        return e;
    }
    e.giudizio = Giudica(caso, in, e.m, AvvisiCaso(caso, e.m, true));
    e.verdetto = e.giudizio.verdetto;
    e.completato = true;
    return e;
}

std::string TestoRisultato(const Grandezza& g, const EsitoVerifica& e) {
    if (!e.completato) return {};
    if (g.variabile) return FormatoTroncato(e.m.*g.variabile, g.decimali);
    const std::optional<double> x = e.giudizio.risultati.*g.risultato;
    return x ? FormatoTroncato(*x, g.decimali) : NessunValore;
}

std::string DescriviSupporto(const Supporto& s) {
    if (!ConSupporto(s)) return "nessuno";
    std::string t = NomeDi(ScelteSupporto, s.tipo);
    t += ", " + TestoNumero(s.portata) + " " + Info(Q::SupportoPortata).unita;
    if (s.tipo == TipoSupporto::Ponderale) {
        t += ", " + TestoNumero(s.potereCalorifico) + " " + Info(Q::SupportoPotereCalorifico).unita + ", frazioni";
        std::size_t k = 0;
        for (const Grandezza* g : frazioni()) t += std::string(" ") + g->breve + " " + TestoNumero(s.frazioni[k++]);
    }
    return t;
}

std::vector<std::string> RigheVerifica(const EsitoVerifica& e, const IngressiVerifica& in) {
    std::vector<std::string> righe;
    if (!e.completato) return righe;
    auto riga = [&](const std::string& etichetta, const std::string& valore, const char* unita) {
        std::string t = etichetta + ": " + valore;
        if (*unita && valore != NessunValore) t += std::string(" ") + unita;
        righe.push_back(t);
    };
    righe.push_back("Verifica - Termix54");
    righe.emplace_back();
    riga(Info(Q::SupportoTipo).breve, DescriviSupporto(in.supporto), "");
    for (const CampoVerifica& c : CampiVerifica()) {
        if (c.gruppo != Gruppo::Parametri) continue;
        if (!c.grandezza) {
            riga(c.etichetta, testoDi(ScelteModello, in.parametri.modello), "");
            continue;
        }
        const Grandezza& g = *c.grandezza;
        if (g.id == Q::ObiettivoRif) {
            const ObiettivoVerifica& o = e.giudizio.obiettivo;
            riga(g.etichetta, TestoNumero(o.temperatura) + " " + g.unita + (o.presunto ? " (presunta)" : ""), "");
            continue;
        }
        // No reference O2 is the list's "nessuno", with no unit.
        const auto x = valore(in, g.id);
        if (!x && !c.scelte.empty()) riga(g.etichetta, nessunO2(), "");
        else riga(g.etichetta, x ? TestoNumero(*x) : NessunValore, g.unita);
    }
    righe.emplace_back();
    bool equilibrio = false;
    for (const Grandezza* g : RisultatiVerificaMostrati()) {
        if (g->ha(DiEquilibrio) && !equilibrio) {  // its heading and the temperature it is taken at
            equilibrio = true;
            righe.emplace_back();
            righe.push_back(std::string(TitoloEquilibrio) + ":");
            const auto& t = e.giudizio.risultati.TempEquilibrio;
            riga(Info(Q::TempEquilibrio).etichetta,
                 t ? FormatoTroncato(*t, 1) + " °C" + (in.parametri.tempEquilibrio ? "" : std::string(" (") + TestoAdiabatica + ")")
                   : NessunValore, "");
        }
        riga(nomeRisultato(*g), TestoRisultato(*g, e), g->unita);
    }
    if (!e.giudizio.avvisi.empty()) {
        righe.emplace_back();
        righe.push_back(TitoloAvvisi);
        for (const Avviso& a : e.giudizio.avvisi) righe.push_back("- " + a.testo);
    }
    righe.emplace_back();
    righe.push_back(e.verdetto);
    return righe;
}

std::string ByteRighe(const std::vector<std::string>& righe) {
    std::string testo;
    for (const auto& r : righe) testo += r + "\r\n";
    return InWindows1252(testo);
}

EsitoTrova TrovaSupportoVerifica(const IngressiCaso& caso, const IngressiVerifica& in) {
    EsitoTrova t;
    if (in.supporto.tipo == TipoSupporto::Nessuno) {
        t.rifiuto = ScegliereSupporto;
        t.campo = &CampoDi(Q::SupportoTipo);
        return t;
    }
    // A search needs a figure the user chose: the presumed one is the verdict's only.
    if (!in.parametri.obiettivo) {
        t.rifiuto = IndicareObiettivo;
        t.campo = &CampoDi(Q::ObiettivoRif);
        return t;
    }
    t.ricerca = TrovaSupporto(caso, in.supporto, in.parametri.modello, *in.parametri.obiettivo);
    // The case again at the flow found (to 0.01 kg/h, on the side that meets the target).
    if (t.ricerca.esito == RicercaSupporto::Esito::Trovato)
        t.portata = TestoNumero(std::ceil(t.ricerca.portata * 100) / 100);
    else if (t.ricerca.esito == RicercaSupporto::Esito::NonNecessario)
        t.portata = "0";
    return t;
}

}  // namespace termix::vista
