#include "batch/Variando.h"

#include "batch/Csv.h"
#include "model/Formato.h"

namespace termix::batch {

namespace {

std::optional<double> numero(std::string_view t) {
    return t.find(',') != std::string_view::npos ? LeggiNumero(t) : LeggiNumeroPunto(t);
}

// Writes the record as without --variando, then puts `valore` (or an empty
// cell) right after Esito: the values and the line end close every line.
void scriviConValore(std::string& out, const Intestazione& h, long long riga, std::span<const std::string_view> campi,
                     const RisultatoRecord& r, std::optional<double> valore) {
    ScriviRecord(out, h, riga, campi, r);
    std::string coda;
    ScriviValori(coda, r.stato == RisultatoRecord::Stato::Completato ? &r.m : nullptr, h.separatore);
    coda += "\r\n";
    std::string cella(1, h.separatore);
    if (valore) ScriviNumero(cella, *valore, h.separatore);
    out.insert(out.size() - coda.size(), cella);
}

}  // namespace

std::optional<std::string> LeggiVariando(std::string_view testo, Variando& out) {
    const size_t uguale = testo.find('=');
    if (uguale == std::string_view::npos) return "--variando vuole COLONNA=DA:A:PASSO";
    const std::string_view nome = Rifilato(testo.substr(0, uguale));
    const ColonnaIngresso* colonna = nullptr;
    for (const auto& c : ColonneIngresso) {
        const Grandezza g{c.nome, c.nome, "", c.variabile};
        if (c.tipo == ColonnaIngresso::Tipo::Numero && TrovaGrandezza(std::span(&g, 1), nome)) colonna = &c;
    }
    if (!colonna) return "--variando: colonna numerica sconosciuta: \"" + std::string(nome) + "\"";
    out.colonna = {colonna->nome, colonna->nome, "", colonna->variabile};
    if (const Grandezza* g = TrovaGrandezza(IngressiAndamento, colonna->nome)) out.colonna = *g;
    std::string_view resto = testo.substr(uguale + 1);
    double x[3];
    for (int k = 0; k < 3; ++k) {
        const size_t fine = k < 2 ? resto.find(':') : resto.size();
        if (fine == std::string_view::npos) return "--variando vuole COLONNA=DA:A:PASSO";
        const auto v = numero(resto.substr(0, fine));
        if (!v) return "--variando: numero non valido: \"" + std::string(resto.substr(0, fine)) + "\"";
        x[k] = *v;
        resto = k < 2 ? resto.substr(fine + 1) : std::string_view();
    }
    if (auto errore = ValoriAndamento(x[0], x[1], x[2], out.valori)) return "--variando: " + *errore;
    return std::nullopt;
}

std::optional<std::string> LeggiObiettivo(std::string_view testo, Variando& out) {
    const auto v = numero(testo);
    if (!v) return "--obiettivo: temperatura non valida: \"" + std::string(testo) + "\"";
    out.obiettivo = *v;
    return std::nullopt;
}

void ScriviIntestazioneVariando(std::string& out, char sep, std::span<const std::string> conservati,
                                const Variando& v) {
    ScriviIntestazione(out, sep, conservati);
    std::string coda;
    ScriviNomiValori(coda, sep);
    coda += "\r\n";
    out.insert(out.size() - coda.size(), std::string(1, sep) + v.colonna.nome);
}

void ElaboraVariando(const Intestazione& h, std::span<const std::string_view> campi, Difetto difetto, long long riga,
                     const Variando& v, RisultatoRecord& r, std::string& out) {
    IngressiCaso caso;
    ElaboraRecord(h, campi, difetto, r, nullptr, &caso);
    if (r.stato != RisultatoRecord::Stato::Completato) return scriviConValore(out, h, riga, campi, r, std::nullopt);
    std::vector<PuntoAndamento> punti;
    CalcolaAndamento(caso, v.colonna, v.valori, punti);
    auto scriviPunto = [&](PuntoAndamento& p, std::optional<double> valore) {
        r.m = p.m;
        r.esito = std::move(p.esito);
        r.stato = p.completato ? RisultatoRecord::Stato::Completato : RisultatoRecord::Stato::Fermato;
        scriviConValore(out, h, riga, campi, r, valore);
    };
    if (!v.obiettivo) {
        for (auto& p : punti) scriviPunto(p, p.valore);
        return;
    }
    Obiettivo o = TrovaObiettivo(caso, v.colonna, punti, *v.obiettivo);
    if (o.esito == Obiettivo::Esito::Trovato) {
        o.punto.esito = "OK";
        return scriviPunto(o.punto, o.valore);
    }
    PuntoAndamento nessuno;
    nessuno.esito = o.frase;
    scriviPunto(nessuno, std::nullopt);
}

}  // namespace termix::batch
