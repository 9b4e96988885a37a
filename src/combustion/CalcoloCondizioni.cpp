#include "combustion/CalcoloCondizioni.h"


#include "model/Costanti.h"
#include "model/Formato.h"
#include "model/Messaggi.h"

namespace termix {

namespace {

using Q = Quantita;

std::span<const Grandezza> daA(Quantita primo, Quantita ultimo) {
    return Grandezze().subspan(Indice(primo), Indice(ultimo) - Indice(primo) + 1);
}

void annotaErrore(EsitoOperazione& e, const ErroreAritmetico& err, Finestra f) {
    e.dettaglio = {err.passo(), err.causa()};
    e.messaggio(f, messaggi::VerificareInput);
}

}  // namespace

std::span<const Grandezza> RisultatiUmidita() { return daA(Q::UmiditaSpecifica, Q::UmiditaSpecifica); }
std::span<const Grandezza> RisultatiAlimentazione() { return daA(Q::PortataC, Q::PortataAcquaUmidita); }
std::span<const Grandezza> RisultatiFumi() { return daA(Q::TempFumi, Q::PortataFumi); }

EsitoOperazione StimaPotereCalorifico(Modulo1& m) {
    using namespace costanti;
    EsitoOperazione e;
    try {
        Passo passo("stima del potere calorifico");
        m.PotereCalorifico = ((PciCarbonio * m.FrazC + PciIdrogeno * (m.FrazH - m.FrazO / OssigenoPerIdrogeno)) -
                              PciCloro * m.FrazCl) +
                             PciZolfo * m.FrazS;
        e.colore(Q::PotereCalorifico, Colore::Rosso);
        e.testo(Q::PotereCalorifico, FormatoTroncato(m.PotereCalorifico, Info(Q::PotereCalorifico).decimali));
        e.completato = true;
    } catch (const ErroreAritmetico& err) {
        annotaErrore(e, err, Finestra::Form3);
    }
    return e;
}

EsitoOperazione EseguiCalcolo(Modulo1& m, long long massimoPassi, TestiRisultati testi) {
    EsitoOperazione e;
    const bool scrivi = testi == TestiRisultati::Scrivi;
    auto mostra = [&](std::span<const Grandezza> risultati) {
        // A box shows its value cut: the cut's multiplication can overflow.
        Passo p("visualizzazione di");
        for (const Grandezza& g : risultati) {
            p.oggetto(g.nome);
            if (scrivi)
                e.testo(g.id, FormatoTroncato(m.*g.variabile, g.decimali));
            else
                VerificaTroncato(m.*g.variabile, g.decimali);
        }
    };
    if (scrivi) e.effetti.reserve(56);
    try {
        CalcolaUmiditaAria(m);
        mostra(RisultatiUmidita());
        if (CalcolaTemperaturaFumi(m, massimoPassi) == EsitoCalcolo::EnergiaInsufficiente) {
            e.messaggio(Finestra::Form3, messaggi::PotereInadeguato);
            e.messaggio(Finestra::Form3, messaggi::VerificareInput);
            return e;
        }
        mostra(RisultatiAlimentazione());
        CalcolaComposizioneFumi(m);
        CalcolaEquilibrioCloro(m, massimoPassi);
        mostra(RisultatiFumi());
        if (scrivi) {
            e.testo(Ruolo::TotaleVolume, "100,00");
            e.testo(Ruolo::TotalePeso, "100,00");
        }
        e.mostra(Finestra::Form7);
        e.completato = true;
    } catch (const ErroreAritmetico& err) {
        annotaErrore(e, err, Finestra::Form3);
    }
    return e;
}

}  // namespace termix
