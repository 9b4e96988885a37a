#include "fuel/CalcoloCombustibile.h"

#include "model/Costanti.h"
#include "model/Formato.h"
#include "model/Messaggi.h"

namespace termix {

namespace {

using namespace costanti;
using Q = Quantita;

constexpr Quantita Frazioni[] = {Q::FrazC, Q::FrazH, Q::FrazO, Q::FrazCl, Q::FrazS, Q::FrazN};

void presetMetano(Modulo1& m, EsitoOperazione& e) {
    e.selezione(Ruolo::Atomica, true);
    e.selezione(Ruolo::Ponderale, false);
    // Every box from the atom count of carbon to the molecular weight, in the fuel form's order.
    constexpr Quantita scatole[] = {Q::AtomiC, Q::FrazC, Q::AtomiH, Q::FrazH, Q::AtomiO, Q::FrazO,
                                    Q::AtomiCl, Q::FrazCl, Q::AtomiS, Q::FrazS, Q::AtomiN, Q::FrazN,
                                    Q::Inerti, Q::Acqua, Q::OssigenoStechiom, Q::OssigenoPonderale,
                                    Q::PesoMolecolare};
    for (Quantita q : scatole) e.colore(q, Colore::Rosso);
    e.testo(Q::Combustibile, "Metano");
    e.testo(Q::AtomiC, "1");
    e.testo(Q::FrazC, "0,7487");
    e.testo(Q::AtomiH, "4");
    e.testo(Q::FrazH, "0,2513");
    for (std::size_t i = 4; i < 14; ++i) e.testo(scatole[i], "0");
    e.testo(Q::OssigenoStechiom, "124,665");
    e.testo(Q::OssigenoPonderale, "3,98928");
    e.testo(Q::PesoMolecolare, "16,043");

    m.FrazC = MetanoFrazC;
    m.FrazH = MetanoFrazH;
    m.FrazO = 0;
    m.FrazCl = 0;
    m.FrazS = 0;
    m.FrazN = 0;
    m.Inerti = 0;
    m.Acqua = 0;
    m.OssigenoStechiom = MetanoOssigenoStechiom;
    m.OssigenoPonderale = MetanoOssigenoPonderale;

    e.colore(Q::PotereCalorifico, Colore::Rosso);
    m.PotereCalorifico = MetanoPotereCalorifico;
    e.testo(Q::PotereCalorifico, "11958");
}

void composizioneAtomica(Modulo1& m, EsitoOperazione& e) {
    Passo passo("peso molecolare e frazioni ponderali");
    for (Quantita q : Frazioni) e.colore(q, Colore::Rosso);
    m.PesoMolecolare = PesoAtomicoC * m.AtomiC + PesoAtomicoH * m.AtomiH + PesoAtomicoO * m.AtomiO +
                       PesoAtomicoCl * m.AtomiCl + PesoAtomicoS * m.AtomiS + PesoAtomicoN * m.AtomiN;
    e.testo(Q::PesoMolecolare, FormatoTroncato(m.PesoMolecolare, Info(Q::PesoMolecolare).decimali));
    m.PesoMolecolareTalQuale = m.PesoMolecolare / ((1 - m.Inerti) - m.Acqua);
    m.FrazC = (PesoAtomicoC * m.AtomiC) / m.PesoMolecolareTalQuale;
    m.FrazH = (PesoAtomicoH * m.AtomiH) / m.PesoMolecolareTalQuale;
    m.FrazO = (PesoAtomicoO * m.AtomiO) / m.PesoMolecolareTalQuale;
    m.FrazCl = (PesoAtomicoCl * m.AtomiCl) / m.PesoMolecolareTalQuale;
    m.FrazS = (PesoAtomicoS * m.AtomiS) / m.PesoMolecolareTalQuale;
    m.FrazN = (m.AtomiN * PesoAtomicoN) / m.PesoMolecolareTalQuale;
    for (Quantita q : Frazioni) e.testo(q, FormatoTroncato(m.*Info(q).variabile, Info(q).decimali));
}

void ossigenoStechiometrico(Modulo1& m, EsitoOperazione& e) {
    Passo passo("ossigeno stechiometrico");
    m.MoliC = (GrammiPerKg * m.FrazC) / PesoAtomicoC;
    m.MoliH = (GrammiPerKg * m.FrazH) / PesoAtomicoH;
    m.MoliO = (GrammiPerKg * m.FrazO) / PesoAtomicoO;
    m.MoliCl = (GrammiPerKg * m.FrazCl) / PesoAtomicoCl;
    m.MoliS = (GrammiPerKg * m.FrazS) / PesoAtomicoS;
    m.MoliN = (m.FrazN * GrammiPerKg) / PesoAtomicoN;
    m.FattoreNormalizzazione = 1 / (m.FrazC + m.FrazH + m.FrazO + m.FrazCl + m.FrazS + m.FrazN);
    m.MassaBase = (PesoAtomicoC * m.MoliC + PesoAtomicoH * m.MoliH + PesoAtomicoO * m.MoliO +
                   PesoAtomicoCl * m.MoliCl + PesoAtomicoS * m.MoliS + PesoAtomicoN * m.MoliN) *
                  m.FattoreNormalizzazione;
    // Chlorine binds hydrogen as HCl as far as it goes; equal values take MoliCl.
    m.MoliHCl = m.MoliH < m.MoliCl ? m.MoliH : m.MoliCl;
    m.MoliO2 = (m.MoliC + m.MoliS) + (m.MoliH - m.MoliHCl) / AtomiHPerO2 - m.MoliO / AtomiOPerO2;
    m.OssigenoPonderale = (MassaMolareO2 * m.MoliO2) / m.MassaBase;
    m.OssigenoStechiom = m.OssigenoPonderale / MassaMolareO2Kg;
    for (Quantita q : {Q::OssigenoStechiom, Q::OssigenoPonderale})
        e.testo(q, FormatoTroncato(m.*Info(q).variabile, Info(q).decimali));
}

}  // namespace

EsitoOperazione CalcolaCombustibile(Modulo1& m, TipoCombustibile tipo, Composizione composizione) {
    EsitoOperazione e;
    e.effetti.reserve(48);
    try {
        if (tipo == TipoCombustibile::Metano) presetMetano(m, e);
        if (tipo == TipoCombustibile::Altri) {
            if (composizione == Composizione::Atomica) composizioneAtomica(m, e);
            ossigenoStechiometrico(m, e);
        }
        e.focus(Ruolo::Continua);
        e.completato = true;
    } catch (const ErroreAritmetico& err) {
        e.dettaglio = {err.passo(), err.causa()};
        e.messaggio(Finestra::Form2, messaggi::VerificareInput);
    }
    return e;
}

}  // namespace termix
