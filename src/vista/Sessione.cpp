#include "vista/Sessione.h"

#include <cstring>
#include <type_traits>

#include "combustion/CalcoloCondizioni.h"
#include "fuel/CalcoloCombustibile.h"
#include "vista/Caselle.h"

namespace termix::vista {

namespace {

using Q = Quantita;

constexpr Quantita Atomi[] = {Q::AtomiC, Q::AtomiH, Q::AtomiO, Q::AtomiCl, Q::AtomiS, Q::AtomiN};
constexpr Quantita Frazioni[] = {Q::FrazC, Q::FrazH, Q::FrazO, Q::FrazCl, Q::FrazS, Q::FrazN};
// "2 - Altri" empties every box from the carbon atoms to the molecular weight.
constexpr Quantita SvuotateDaAltri[] = {Q::AtomiC, Q::AtomiH, Q::AtomiO, Q::AtomiCl, Q::AtomiS, Q::AtomiN,
                                        Q::FrazC,  Q::FrazH,  Q::FrazO,  Q::FrazCl,  Q::FrazS,  Q::FrazN,
                                        Q::Inerti, Q::Acqua,  Q::OssigenoStechiom, Q::OssigenoPonderale,
                                        Q::PesoMolecolare};

// The form a box of the fuel or conditions form stands on.
Finestra FinestraDi(Quantita q) { return q >= Q::PotereCalorifico ? Finestra::Form3 : Finestra::Form2; }

constexpr const char* Intestazione = "termix54 caso 1";

static_assert(std::is_trivially_copyable_v<Modulo1> && sizeof(Modulo1) % sizeof(double) == 0);

// Texts may hold any character but a line end: those two are escaped.
std::string protetto(std::string_view t) {
    std::string r;
    for (char c : t) {
        if (c == '\\') r += "\\\\";
        else if (c == '\n') r += "\\n";
        else if (c == '\r') r += "\\r";
        else r.push_back(c);
    }
    return r;
}

std::string chiaro(std::string_view t) {
    std::string r;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] != '\\' || i + 1 == t.size()) {
            r.push_back(t[i]);
            continue;
        }
        const char c = t[++i];
        r.push_back(c == 'n' ? '\n' : c == 'r' ? '\r' : c);
    }
    return r;
}

std::string esadecimale(const Modulo1& m) {
    unsigned char b[sizeof(Modulo1)];
    std::memcpy(b, &m, sizeof b);
    static constexpr char cifre[] = "0123456789abcdef";
    std::string t;
    t.reserve(2 * sizeof b);
    for (unsigned char c : b) {
        t.push_back(cifre[c >> 4]);
        t.push_back(cifre[c & 15]);
    }
    return t;
}

bool daEsadecimale(std::string_view t, Modulo1& m) {
    if (t.size() != 2 * sizeof(Modulo1)) return false;
    unsigned char b[sizeof(Modulo1)];
    auto cifra = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    for (std::size_t i = 0; i < sizeof b; ++i) {
        const int a = cifra(t[2 * i]), c = cifra(t[2 * i + 1]);
        if (a < 0 || c < 0) return false;
        b[i] = static_cast<unsigned char>(a * 16 + c);
    }
    std::memcpy(&m, b, sizeof b);
    return true;
}

}  // namespace

bool Sessione::numerica(Quantita q) const {
    const Grandezza& g = Info(q);
    return g.ha(Ingresso) && g.variabile != nullptr;
}

EsitoOperazione Sessione::rifiuta(Quantita q, const char* messaggio) {
    EsitoOperazione e;
    e.messaggio(FinestraDi(q), messaggio);
    e.testo(q, "");
    e.focus(q);
    testi_.imposta(q, "");
    pendente_ = q;
    return e;
}

void Sessione::Entra(Quantita q) {
    if (numerica(q)) pendente_ = q;
}

EsitoOperazione Sessione::Scrive(Quantita q, std::string testo) {
    if (!numerica(q)) {
        testi_.imposta(q, std::move(testo));
        return {};
    }
    if (const char* r = RifiutoMentreScrive(testo)) return rifiuta(q, r);
    testi_.imposta(q, std::move(testo));
    EsitoOperazione e;
    e.completato = true;
    return e;
}

EsitoOperazione Sessione::Digita(Quantita q, std::string testo) {
    if (EsitoOperazione l = Lascia(); !l.completato) return l;
    Entra(q);
    EsitoOperazione e = Scrive(q, testo);
    if (!e.completato) return e;
    e = Lascia();
    if (e.completato && e.effetti.empty()) e.testo(q, testi_.testo(q));
    return e;
}

EsitoOperazione Sessione::Lascia() {
    EsitoOperazione e;
    e.completato = true;
    if (!pendente_) return e;
    const Quantita q = *pendente_;
    pendente_.reset();
    const UscitaCampo u = LasciaCampo(testi_.testo(q));
    if (u.rifiuto) return rifiuta(q, u.rifiuto);
    if (u.testo != testi_.testo(q)) e.testo(q, u.testo);
    testi_.imposta(q, u.testo);
    m_.*Info(q).variabile = Numero(*u.valore);
    return e;
}

EsitoOperazione Sessione::Sceglie(Ruolo r) {
    EsitoOperazione e;
    e.completato = true;
    auto gruppo = [&](Ruolo a, Ruolo b) {
        e.selezione(a, r == a);
        e.selezione(b, r == b);
    };
    const bool altri = testi_.selezionato(Ruolo::Altri) || r == Ruolo::Altri;
    switch (r) {
        case Ruolo::Metano: gruppo(Ruolo::Metano, Ruolo::Altri); break;
        case Ruolo::Altri:
            gruppo(Ruolo::Metano, Ruolo::Altri);
            for (Quantita q : SvuotateDaAltri) e.testo(q, "");
            break;
        case Ruolo::Atomica:
            gruppo(Ruolo::Atomica, Ruolo::Ponderale);
            if (!altri) break;
            e.focus(Q::AtomiC);
            for (Quantita q : Atomi) e.colore(q, Colore::Nero);
            break;
        case Ruolo::Ponderale:
            gruppo(Ruolo::Atomica, Ruolo::Ponderale);
            if (!altri) break;
            e.focus(Q::FrazC);
            for (Quantita q : Frazioni) e.colore(q, Colore::Nero);
            for (Quantita q : Atomi) e.testo(q, "");
            break;
        default: break;
    }
    Applica(e);
    return e;
}

void Sessione::Applica(const EsitoOperazione& e) {
    testi_.applica(e);
    for (const Effetto& f : e.effetti)
        if (f.tipo == Effetto::Tipo::Focus)
            if (const Quantita* q = std::get_if<Quantita>(&f.bersaglio); q && numerica(*q)) pendente_ = *q;
}

EsitoOperazione Sessione::CalcolaCombustibile() {
    if (EsitoOperazione l = Lascia(); !l.completato) return l;
    EsitoOperazione e = termix::CalcolaCombustibile(m_, testi_.tipo(), testi_.composizione());
    Applica(e);
    return e;
}

EsitoOperazione Sessione::Si() {
    if (EsitoOperazione l = Lascia(); !l.completato) return l;
    EsitoOperazione e;
    e.colore(Q::PotereCalorifico, Colore::Nero);
    e.focus(Q::PotereCalorifico);
    e.completato = true;
    Applica(e);
    return e;
}

EsitoOperazione Sessione::No() {
    if (EsitoOperazione l = Lascia(); !l.completato) return l;
    EsitoOperazione e = StimaPotereCalorifico(m_);
    Applica(e);
    return e;
}

EsitoOperazione Sessione::Calcola() {
    if (EsitoOperazione l = Lascia(); !l.completato) return l;
    EsitoOperazione e = EseguiCalcolo(m_);
    Applica(e);
    completato_ = e.completato;
    avvisi_ = AvvisiCaso(Caso(), m_, completato_);
    return e;
}

EsitoOperazione Sessione::Precedente() {
    if (EsitoOperazione l = Lascia(); !l.completato) return l;
    // The heating value's box is emptied as a typed edit would empty it: the
    // record keeps its number until the box is left again.
    EsitoOperazione e;
    e.testo(Q::PotereCalorifico, "");
    e.mostra(Finestra::Form2);
    e.completato = true;
    Applica(e);
    return e;
}

namespace {
bool idValido(std::string_view id) {
    if (id.empty()) return false;
    for (char c : id)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    return true;
}
}  // namespace

void Sessione::ImpostaAltro(const std::string& id, std::string testo) {
    if (idValido(id)) altri_[id] = std::move(testo);
}

IngressiCaso Sessione::Caso() const { return CasoMostrato(testi_.tipo(), testi_.composizione(), m_); }

std::string Sessione::Salvato() const {
    std::string t = Intestazione;
    t += '\n';
    for (std::size_t r = 0; r < NumeroRuoli; ++r)
        if (testi_.selezionato(static_cast<Ruolo>(r))) t += std::string("scelta=") + NomeRuolo(static_cast<Ruolo>(r)) + '\n';
    for (const Grandezza& g : Grandezze()) {
        if (const std::string& x = testi_.testo(g.id); !x.empty()) t += std::string("testo.") + g.nome + '=' + protetto(x) + '\n';
        if (testi_.colore(g.id) == Colore::Rosso) t += std::string("rosso=") + g.nome + '\n';
    }
    for (const auto& [id, testo] : altri_) t += "altro." + id + '=' + protetto(testo) + '\n';
    if (pendente_) t += std::string("modifica=") + Info(*pendente_).nome + '\n';
    if (completato_) t += "calcolato=1\n";
    t += "record=" + esadecimale(m_) + '\n';
    return t;
}

bool Sessione::Ripristina(std::string_view salvato, EsitoOperazione& effetti) {
    effetti = {};
    Sessione s;
    bool conRecord = false;
    std::size_t inizio = 0;
    bool prima = true;
    while (inizio < salvato.size()) {
        std::size_t fine = salvato.find('\n', inizio);
        if (fine == std::string_view::npos) fine = salvato.size();
        const std::string_view riga = salvato.substr(inizio, fine - inizio);
        inizio = fine + 1;
        if (prima) {
            if (riga != Intestazione) return false;
            prima = false;
            continue;
        }
        const std::size_t uguale = riga.find('=');
        if (uguale == std::string_view::npos) return false;
        const std::string_view chiave = riga.substr(0, uguale), valore = riga.substr(uguale + 1);
        auto grandezza = [](std::string_view nome) {
            const Grandezza* g = TrovaGrandezza(nome);
            return g && nome == g->nome ? g : nullptr;
        };
        if (chiave == "scelta") {
            const auto r = RuoloDiNome(valore);
            if (!r) return false;
            s.testi_.seleziona(*r, true);
        } else if (chiave.starts_with("testo.")) {
            const Grandezza* g = grandezza(chiave.substr(6));
            if (!g) return false;
            s.testi_.imposta(g->id, chiaro(valore));
        } else if (chiave == "rosso" || chiave == "modifica") {
            const Grandezza* g = grandezza(valore);
            if (!g) return false;
            if (chiave == "modifica") {
                if (!s.numerica(g->id)) return false;
                s.pendente_ = g->id;
            } else {
                EsitoOperazione c;
                c.colore(g->id, Colore::Rosso);
                s.testi_.applica(c);
            }
        } else if (chiave.starts_with("altro.")) {
            const std::string id(chiave.substr(6));
            if (!idValido(id)) return false;
            s.altri_[id] = chiaro(valore);
        } else if (chiave == "calcolato") {
            s.completato_ = valore == "1";
        } else if (chiave == "record") {
            if (!daEsadecimale(valore, s.m_)) return false;
            conRecord = true;
        } else {
            return false;
        }
    }
    if (prima || !conRecord) return false;
    *this = std::move(s);
    if (completato_) avvisi_ = AvvisiCaso(Caso(), m_, true);
    for (std::size_t r = 0; r < NumeroRuoli; ++r)
        if (testi_.selezionato(static_cast<Ruolo>(r))) effetti.selezione(static_cast<Ruolo>(r), true);
    for (const Grandezza& g : Grandezze()) {
        if (!testi_.testo(g.id).empty()) effetti.testo(g.id, testi_.testo(g.id));
        if (testi_.colore(g.id) == Colore::Rosso) effetti.colore(g.id, Colore::Rosso);
    }
    // The reload left the box being edited: its leaving rule runs now, a refusal
    // emptying the box without a message (nobody is typing in it any more).
    if (pendente_) {
        const Quantita q = *pendente_;
        Lascia();
        pendente_.reset();
        effetti.testo(q, testi_.testo(q));
    }
    effetti.completato = true;
    return true;
}

}  // namespace termix::vista
