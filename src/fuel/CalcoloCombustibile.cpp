#include "fuel/CalcoloCombustibile.h"

#include "model/Formato.h"
#include "model/Messaggi.h"

namespace termix {

namespace {

constexpr Finestra F2 = Finestra::Form2;

void presetMetano(Modulo1& m, EsitoOperazione& e) {
    e.selezione(F2, "Option3", true);
    e.selezione(F2, "Option4", false);
    static constexpr const char* boxes[] = {"Text3",  "Text4",  "Text5",  "Text6",  "Text7",  "Text8",
                                            "Text9",  "Text10", "Text11", "Text12", "Text13", "Text14",
                                            "Text15", "Text16", "Text17", "Text18", "Text19"};
    for (const char* b : boxes) e.colore(F2, b, Colore::Rosso);
    e.testo(F2, "Text2", "Metano");
    e.testo(F2, "Text3", "1");
    e.testo(F2, "Text4", "0,7487");
    e.testo(F2, "Text5", "4");
    e.testo(F2, "Text6", "0,2513");
    for (int i = 7; i <= 16; ++i) e.testo(F2, boxes[i - 3], "0");
    e.testo(F2, "Text17", "124,665");
    e.testo(F2, "Text18", "3,98928");
    e.testo(F2, "Text19", "16,043");

    m.FrazC = 0.7487;
    m.FrazH = 0.2513;
    m.FrazO = 0;
    m.FrazCl = 0;
    m.FrazS = 0;
    m.FrazN = 0;
    m.Inerti = 0;
    m.Acqua = 0;
    m.OssigenoStechiom = 124.665;
    m.OssigenoPonderale = 3.98928;

    e.colore(Finestra::Form3, "Text1", Colore::Rosso);
    m.PotereCalorifico = 11958;
    e.testo(Finestra::Form3, "Text1", "11958");
}

void composizioneAtomica(Modulo1& m, EsitoOperazione& e) {
    for (const char* b : {"Text4", "Text6", "Text8", "Text10", "Text12", "Text14"}) e.colore(F2, b, Colore::Rosso);
    m.PesoMolecolare = 12.011 * m.AtomiC + 1.008 * m.AtomiH + 16 * m.AtomiO + 35.453 * m.AtomiCl +
                       32.06 * m.AtomiS + 14.0067 * m.AtomiN;
    e.testo(F2, "Text19", FormatoTroncato(m.PesoMolecolare, 4));
    m.PesoMolecolareTalQuale = m.PesoMolecolare / ((1 - m.Inerti) - m.Acqua);
    m.FrazC = (12.011 * m.AtomiC) / m.PesoMolecolareTalQuale;
    m.FrazH = (1.008 * m.AtomiH) / m.PesoMolecolareTalQuale;
    m.FrazO = (16 * m.AtomiO) / m.PesoMolecolareTalQuale;
    m.FrazCl = (35.453 * m.AtomiCl) / m.PesoMolecolareTalQuale;
    m.FrazS = (32.06 * m.AtomiS) / m.PesoMolecolareTalQuale;
    m.FrazN = (m.AtomiN * 14.0067) / m.PesoMolecolareTalQuale;
    e.testo(F2, "Text4", FormatoTroncato(m.FrazC, 4));
    e.testo(F2, "Text6", FormatoTroncato(m.FrazH, 4));
    e.testo(F2, "Text8", FormatoTroncato(m.FrazO, 4));
    e.testo(F2, "Text10", FormatoTroncato(m.FrazCl, 4));
    e.testo(F2, "Text12", FormatoTroncato(m.FrazS, 4));
    e.testo(F2, "Text14", FormatoTroncato(m.FrazN, 4));
}

void ossigenoStechiometrico(Modulo1& m, EsitoOperazione& e) {
    m.MoliC = (1000 * m.FrazC) / 12.011;
    m.MoliH = (1000 * m.FrazH) / 1.008;
    m.MoliO = (1000 * m.FrazO) / 16;
    m.MoliCl = (1000 * m.FrazCl) / 35.453;
    m.MoliS = (1000 * m.FrazS) / 32.06;
    m.MoliN = (m.FrazN * 1000) / 14.0067;
    m.FattoreNormalizzazione = 1 / (m.FrazC + m.FrazH + m.FrazO + m.FrazCl + m.FrazS + m.FrazN);
    m.MassaBase = (12.011 * m.MoliC + 1.008 * m.MoliH + 16 * m.MoliO + 35.453 * m.MoliCl + 32.06 * m.MoliS +
                   14.0067 * m.MoliN) *
                  m.FattoreNormalizzazione;
    // Chlorine binds hydrogen as HCl as far as it goes; equal values take MoliCl.
    m.MoliHCl = m.MoliH < m.MoliCl ? m.MoliH : m.MoliCl;
    m.MoliO2 = (m.MoliC + m.MoliS) + (m.MoliH - m.MoliHCl) / 4 - m.MoliO / 2;
    m.OssigenoPonderale = (32 * m.MoliO2) / m.MassaBase;
    m.OssigenoStechiom = m.OssigenoPonderale / 0.032;
    e.testo(F2, "Text17", FormatoTroncato(m.OssigenoStechiom, 3));
    e.testo(F2, "Text18", FormatoTroncato(m.OssigenoPonderale, 3));
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
        e.focus(F2, "Command2");
        e.completato = true;
    } catch (const ErroreAritmetico&) {
        e.messaggio(F2, messaggi::VerificareInput);
    }
    return e;
}

}  // namespace termix
