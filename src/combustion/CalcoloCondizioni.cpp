#include "combustion/CalcoloCondizioni.h"

#include "combustion/Combustione.h"
#include "model/Formato.h"
#include "model/Messaggi.h"

namespace termix {

namespace {
constexpr Finestra F7 = Finestra::Form7;
constexpr Finestra F8 = Finestra::Form8;
using M = Modulo1;
}  // namespace

const CampoRisultato CampoUmidita{F7, "Text19", &M::UmiditaSpecifica, 5};

const CampoRisultato CampiForm7[17] = {
    {F7, "Text1", &M::PortataC, 3},
    {F7, "Text2", &M::PortataH, 3},
    {F7, "Text3", &M::PortataO, 3},
    {F7, "Text4", &M::PortataCl, 3},
    {F7, "Text5", &M::PortataS, 3},
    {F7, "Text6", &M::PortataN, 3},
    {F7, "Text7", &M::PortataAcqua, 3},
    {F7, "Text8", &M::PortataInerti, 3},
    {F7, "Text9", &M::EnergiaIngresso, 1},
    {F7, "Text10", &M::EnergiaNetta, 1},
    {F7, "Text12", &M::PortataO2Stech, 3},
    {F7, "Text13", &M::PortataVolO2Stech, 3},
    {F7, "Text14", &M::PortataAriaStech, 3},
    {F7, "Text15", &M::PortataVolAriaStech, 3},
    {F7, "Text16", &M::PortataAriaEff, 3},
    {F7, "Text17", &M::PortataVolAriaEff, 3},
    {F7, "Text18", &M::PortataAcquaUmidita, 3},
};

const CampoRisultato CampiForm8[33] = {
    {F8, "Text1", &M::TempFumi, 1},
    {F8, "Text3", &M::PesoMolecolareFumi, 3},
    {F8, "Text4", &M::CaloreSpecificoFumi, 3},
    {F8, "Text5", &M::CostanteCloro, 6},
    {F8, "Text6", &M::ConcCl2, 3},
    {F8, "Text7", &M::PortataVolFumiNormale, 3},
    {F8, "Text8", &M::PortataVolFumi, 3},
    {F8, "Text9", &M::KmoliN2, 3},
    {F8, "Text10", &M::PortataN2, 3},
    {F8, "Text11", &M::PercVolN2, 2},
    {F8, "Text12", &M::PercPesoN2, 2},
    {F8, "Text13", &M::KmoliO2, 3},
    {F8, "Text14", &M::PortataO2, 3},
    {F8, "Text15", &M::PercVolO2, 2},
    {F8, "Text16", &M::PercPesoO2, 2},
    {F8, "Text17", &M::KmoliCO2, 3},
    {F8, "Text18", &M::PortataCO2, 3},
    {F8, "Text19", &M::PercVolCO2, 2},
    {F8, "Text20", &M::PercPesoCO2, 2},
    {F8, "Text21", &M::KmoliH2O, 3},
    {F8, "Text22", &M::PortataH2O, 3},
    {F8, "Text23", &M::PercVolH2O, 2},
    {F8, "Text24", &M::PercPesoH2O, 2},
    {F8, "Text25", &M::KmoliSO2, 3},
    {F8, "Text26", &M::PortataSO2, 3},
    {F8, "Text27", &M::PercVolSO2, 2},
    {F8, "Text28", &M::PercPesoSO2, 2},
    {F8, "Text29", &M::KmoliHCl, 3},
    {F8, "Text30", &M::PortataHCl, 3},
    {F8, "Text31", &M::PercVolHCl, 2},
    {F8, "Text32", &M::PercPesoHCl, 2},
    {F8, "Text33", &M::KmoliFumi, 3},
    {F8, "Text34", &M::PortataFumi, 3},
};

EsitoOperazione StimaPotereCalorifico(Modulo1& m) {
    EsitoOperazione e;
    try {
        m.PotereCalorifico =
            ((7783 * m.FrazC + 25016.73 * (m.FrazH - m.FrazO / 8)) - 422.505 * m.FrazCl) + 2501.673 * m.FrazS;
        e.colore(Finestra::Form3, "Text1", Colore::Rosso);
        e.testo(Finestra::Form3, "Text1", FormatoTroncato(m.PotereCalorifico, 2));
        e.completato = true;
    } catch (const ErroreAritmetico&) {
        e.messaggio(Finestra::Form3, messaggi::VerificareInput);
    }
    return e;
}

EsitoOperazione EseguiCalcolo(Modulo1& m, long long massimoPassi, TestiRisultati testi) {
    EsitoOperazione e;
    auto scrivi = [&](const CampoRisultato& c) {
        if (testi == TestiRisultati::Scrivi)
            e.testo(c.finestra, c.controllo, FormatoTroncato(m.*c.variabile, c.decimali));
        else
            VerificaTroncato(m.*c.variabile, c.decimali);
    };
    if (testi == TestiRisultati::Scrivi) e.effetti.reserve(56);
    try {
        CalcolaUmiditaAria(m);
        scrivi(CampoUmidita);
        if (CalcolaTemperaturaFumi(m, massimoPassi) == EsitoCalcolo::EnergiaInsufficiente) {
            e.messaggio(Finestra::Form3, messaggi::PotereInadeguato);
            e.messaggio(Finestra::Form3, messaggi::VerificareInput);
            return e;
        }
        for (const auto& c : CampiForm7) scrivi(c);
        CalcolaComposizioneFumi(m);
        CalcolaEquilibrioCloro(m, massimoPassi);
        for (const auto& c : CampiForm8) scrivi(c);
        if (testi == TestiRisultati::Scrivi) {
            e.testo(F8, "Text35", "100,00");
            e.testo(F8, "Text36", "100,00");
        }
        e.mostra(F7);
        e.completato = true;
    } catch (const ErroreAritmetico&) {
        e.messaggio(Finestra::Form3, messaggi::VerificareInput);
    }
    return e;
}

}  // namespace termix
