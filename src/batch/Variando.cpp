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
    const Grandezza* colonna = TrovaGrandezza(nome);
    if (!colonna || !colonna->ha(Ingresso) || !colonna->variabile)
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
    ScriviIntestazione(out, sep, conservati, v.colonna->nome);
}

void ElaboraVariando(const Intestazione& h, std::span<const std::string_view> campi, Difetto difetto, long long riga,
                     const Variando& v, RisultatoRecord& r, std::string& out,
                     std::vector<std::pair<double, Dettaglio>>& fermati) {
    IngressiCaso caso;
    ElaboraRecord(h, campi, difetto, r, nullptr, &caso);
    if (r.stato != RisultatoRecord::Stato::Completato) return ScriviRecord(out, h, riga, campi, r, true);
    std::vector<PuntoAndamento> punti;
    CalcolaAndamento(caso, *v.colonna, v.valori, punti);
    for (const auto& p : punti)
        if (!p.dettaglio.causa.empty()) fermati.emplace_back(p.valore, p.dettaglio);
    auto scriviPunto = [&](PuntoAndamento& p, std::optional<double> valore) {
        r.m = p.m;
        r.esito = std::move(p.esito);
        r.stato = p.completato ? RisultatoRecord::Stato::Completato : RisultatoRecord::Stato::Fermato;
        ScriviRecord(out, h, riga, campi, r, true, valore ? &*valore : nullptr);
    };
    if (!v.obiettivo) {
        for (auto& p : punti) scriviPunto(p, p.valore);
        return;
    }
    Obiettivo o = TrovaObiettivo(caso, *v.colonna, punti, *v.obiettivo);
    if (o.esito == Obiettivo::Esito::Trovato) {
        o.punto.esito = "OK";
        return scriviPunto(o.punto, o.valore);
    }
    PuntoAndamento nessuno;
    nessuno.esito = o.frase;
    scriviPunto(nessuno, std::nullopt);
}

}  // namespace termix::batch
