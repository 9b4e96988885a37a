#include "batch/Variando.h"

#include "batch/Csv.h"
#include "model/Formato.h"

namespace termix::batch {

namespace {

std::optional<double> numero(std::string_view t) {
    return t.find(',') != std::string_view::npos ? LeggiNumero(t) : LeggiNumeroPunto(t);
}

}  // namespace

std::optional<std::string> LeggiVariando(std::string_view testo, Variando& out) {
    const size_t uguale = testo.find('=');
    if (uguale == std::string_view::npos) return "--variando vuole COLONNA=DA:A:PASSO";
    const std::string_view nome = Rifilato(testo.substr(0, uguale));
    const bool supporto = StessoNome(nome, Info(Quantita::SupportoPortata).nome);
    const Grandezza* colonna = supporto ? nullptr : TrovaGrandezza(nome);
    // The stack's readings vary too, but their basis, which is a choice.
    const bool lettura = colonna && colonna->ha(IngressoCamino) && colonna->id != Quantita::BaseO2;
    if (!supporto && !lettura && (!colonna || !colonna->ha(Ingresso) || !colonna->variabile))
        return "--variando: colonna numerica sconosciuta: \"" + std::string(nome) + "\"";
    out.colonna = colonna;
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
    if (supporto && x[0] < 0) return "--variando: la portata del combustibile di supporto non puo' essere negativa";
    return std::nullopt;
}

std::optional<std::string> LeggiObiettivo(std::string_view testo, Variando& out) {
    const auto v = numero(testo);
    if (!v) return "--obiettivo: temperatura non valida: \"" + std::string(testo) + "\"";
    out.obiettivo = *v;
    return std::nullopt;
}

const char* NomeColonnaVariata(const Variando& v) {
    return v.colonna ? v.colonna->nome : Info(Quantita::SupportoPortata).nome;
}

void ScriviIntestazioneVariando(std::string& out, char sep, std::span<const std::string> conservati,
                                const Variando& v, const OpzioniVerifica& colonne) {
    ScriviIntestazione(out, sep, conservati, NomeColonnaVariata(v), colonne);
}

void ElaboraVariando(const Intestazione& h, std::span<const std::string_view> campi, Difetto difetto, long long riga,
                     const Variando& v, RisultatoRecord& r, std::string& out,
                     std::vector<std::pair<double, Dettaglio>>& fermati) {
    IngressiCaso caso;
    ElaboraRecord(h, campi, difetto, r, nullptr, &caso);
    if (r.stato != RisultatoRecord::Stato::Completato) return ScriviRecord(out, h, riga, campi, r, true);
    const bool portataSupporto = v.colonna == nullptr;
    const Supporto supporto = r.extra.supporto;
    if (portataSupporto && supporto.tipo == TipoSupporto::Nessuno) {
        r.stato = RisultatoRecord::Stato::Fermato;
        r.esito = "SupportoTipo mancante (Metano o Ponderale): non c'e' un combustibile di supporto da variare";
        return ScriviRecord(out, h, riga, campi, r, true);
    }
    // One value's case and checks' inputs, and the stack's readings on them
    // (with --applica-eccesso, the case at their excess air). The search's
    // values need the stack only for that case; the written ones for its columns.
    struct Valore {
        IngressiCaso caso;
        vista::IngressiVerifica in;
        std::optional<vista::EsitoCaminoVista> camino;
        std::string fermo;  // readings that give no excess air to apply
    };
    auto valoreDi = [&](double x, bool scritto) {
        Valore w{caso, r.extra, {}, {}};
        if (portataSupporto) w.in.supporto.portata = x;
        else if (v.colonna->ha(IngressoCamino)) vista::AssegnaVerifica(w.in, v.colonna->id, x);
        else w.caso = CasoCon(caso, *v.colonna, x);
        if (scritto || h.verifica.applicaEccesso)
            CaminoDelRecord(h.verifica, w.in, r.rifiutoCamino, w.caso, w.camino, w.fermo);
        return w;
    };
    // Each value on a fresh record, with the record's support fuel if it has one.
    auto calcola = [&](double x, PuntoAndamento& p) {
        p.valore = x;
        const Valore w = valoreDi(x, false);
        if (!w.fermo.empty()) {  // not completed
            p.esito = w.fermo;
            return;
        }
        const EsitoOperazione e = CalcolaCasoConSupporto(w.caso, w.in.supporto, p.m);
        p.completato = e.completato;
        p.esito = e.completato ? "OK" : TestoEsito(e);
        p.dettaglio = e.dettaglio;
    };
    std::vector<PuntoAndamento> punti(v.valori.size());
    for (size_t k = 0; k < punti.size(); ++k) calcola(v.valori[k], punti[k]);
    for (const auto& p : punti)
        if (!p.dettaglio.causa.empty()) fermati.emplace_back(p.valore, p.dettaglio);
    auto scriviPunto = [&](PuntoAndamento& p, std::optional<double> valore) {
        r.m = p.m;
        r.avvisi.clear();
        r.verifica.reset();
        r.camino.reset();
        if (valore) {  // the warnings, the checks and the stack on this value's case
            Valore w = valoreDi(*valore, true);
            r.camino = std::move(w.camino);
            r.avvisi = AvvisiCaso(w.caso, r.m, p.completato);
            if (p.completato && h.verifica.attiva) r.verifica = vista::Giudica(w.caso, w.in, r.m, r.avvisi);
        }
        r.esito = std::move(p.esito);
        r.stato = p.completato ? RisultatoRecord::Stato::Completato : RisultatoRecord::Stato::Fermato;
        ScriviRecord(out, h, riga, campi, r, true, valore ? &*valore : nullptr);
    };
    // The record's ObiettivoRif, or --obiettivo-rif, aims at TempFumiRif (and is the
    // verdict's target); --obiettivo at TempFumi.
    const std::optional<double> obiettivo = r.extra.parametri.obiettivo ? r.extra.parametri.obiettivo : v.obiettivo;
    if (!obiettivo) {
        for (auto& p : punti) scriviPunto(p, p.valore);
        return;
    }
    const auto modello = r.extra.parametri.obiettivo ? ModelloTemperatura::Nasa : ModelloTemperatura::Tabella;
    Obiettivo o = TrovaObiettivo(portataSupporto ? PortataSupporto : NomeDi(*v.colonna), punti, *obiettivo, calcola,
                                 [&](const PuntoAndamento& p) { return TemperaturaModello(p.m, modello); });
    if (o.esito == Obiettivo::Esito::Trovato) return scriviPunto(o.punto, o.valore);  // a completed run: "OK"
    PuntoAndamento nessuno;
    nessuno.esito = o.frase;
    scriviPunto(nessuno, std::nullopt);
}

}  // namespace termix::batch
