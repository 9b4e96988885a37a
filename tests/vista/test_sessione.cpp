// What the faces cannot show: a saved case that is damaged, cut or from
// another program restores nothing and leaves the case as it was; a saved
// case restores to the bit, including the box left mid-edit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "vista/Sessione.h"

using namespace termix;
using namespace termix::vista;

namespace {

// The methane walk as a face forwards it, the excess-air box left mid-edit.
Sessione metano() {
    Sessione s;
    s.Sceglie(Ruolo::Metano);
    for (auto [q, t] : {std::pair{Quantita::PortataComb, "100"}, {Quantita::EccessoAria, "20"},
                        {Quantita::TempAria, "20"}, {Quantita::UmiditaRelativa, "50"}, {Quantita::TempCeneri, "20"},
                        {Quantita::Dispersioni, "5"}}) {
        s.Entra(q);
        s.Scrive(q, t);
        s.Lascia();
        if (q == Quantita::PortataComb) s.CalcolaCombustibile();
    }
    EXPECT_TRUE(s.Calcola().completato);
    s.Entra(Quantita::EccessoAria);
    s.Scrive(Quantita::EccessoAria, "35");
    return s;
}

}  // namespace

TEST(Sessione, SalvataggioGuastoNonRipristinaNulla) {
    const std::string buono = metano().Salvato();
    const auto riga = [&](const char* inizio) {
        const auto a = buono.find(inizio);
        return buono.substr(a, buono.find('\n', a) - a + 1);
    };
    const std::string record = riga("record=");
    const struct {
        const char* caso;
        std::string testo;
    } guasti[] = {
        {"empty", ""},
        {"another program's", "{\"Tipo\":\"Metano\"}"},
        {"cut before the record", buono.substr(0, buono.find("record="))},
        {"record one digit short", std::string(buono).replace(buono.find(record), record.size(), record.substr(1))},
        {"record not hexadecimal", std::string(buono).replace(buono.find("record=") + 7, 1, "g")},
        {"unknown box", std::string(buono).replace(buono.find("testo.PortataComb"), 17, "testo.PortataGas")},
        {"a name's case changed", std::string(buono).replace(buono.find("testo.PortataComb"), 17, "testo.portatacomb")},
        {"unknown choice", std::string(buono).replace(buono.find("scelta=TipoMetano"), 17, "scelta=TipoCarbone")},
        {"another window's box with a blank in its id", std::string(buono).replace(buono.find("record="), 0,
                                                                                    "altro.Supporto Portata=49\n")},
        {"a result box as the one being edited", std::string(buono).replace(buono.find("modifica=EccessoAria"), 20,
                                                                            "modifica=TempFumi")},
    };
    for (const auto& g : guasti) {
        SCOPED_TRACE(g.caso);
        Sessione s;
        s.Entra(Quantita::PortataComb);
        s.Scrive(Quantita::PortataComb, "7");
        const std::string prima = s.Salvato();
        EsitoOperazione e;
        e.testo(Quantita::Impianto, "x");
        EXPECT_FALSE(s.Ripristina(g.testo, e));
        EXPECT_EQ(s.Salvato(), prima);
        EXPECT_TRUE(e.effetti.empty());
    }
}

TEST(Sessione, RipristinoAlBitConLaCasellaLasciata) {
    const Sessione a = metano();
    Sessione b;
    EsitoOperazione e;
    ASSERT_TRUE(b.Ripristina(a.Salvato(), e));
    // The box mid-edit was left on the way back: 35 went into the record, as leaving it would.
    EXPECT_EQ(b.record().EccessoAria.v, 35.0);
    EXPECT_FALSE(b.inModifica());
    Modulo1 atteso = a.record();
    atteso.EccessoAria = 35;
    EXPECT_EQ(std::memcmp(&atteso, &b.record(), sizeof atteso), 0);
    EXPECT_EQ(b.testi().testo(Quantita::TempFumi), "1314,6");
    EXPECT_EQ(b.testi().colore(Quantita::FrazC), Colore::Rosso);
    EXPECT_EQ(b.testi().tipo(), TipoCombustibile::Metano);
    EXPECT_EQ(b.avvisi().size(), a.avvisi().size());
    // A text with a line end or a backslash comes back as it was.
    Sessione c;
    c.Imposta(Quantita::Impianto, "Forno \\ 2\nsud\r");
    c.ImpostaAltro("SupportoPortata", "49");  // Verifica's boxes come back with the case
    Sessione d;
    ASSERT_TRUE(d.Ripristina(c.Salvato(), e));
    EXPECT_EQ(d.testi().testo(Quantita::Impianto), "Forno \\ 2\nsud\r");
    EXPECT_EQ(d.altri().at("SupportoPortata"), "49");
    // A box left mid-edit with a text that is no number comes back empty, with no message.
    Sessione f = metano();
    f.Entra(Quantita::Dispersioni);
    f.Scrive(Quantita::Dispersioni, "5a");
    Sessione g;
    ASSERT_TRUE(g.Ripristina(f.Salvato(), e));
    EXPECT_EQ(g.testi().testo(Quantita::Dispersioni), "");
    EXPECT_EQ(g.record().Dispersioni.v, f.record().Dispersioni.v);
    EXPECT_FALSE(g.inModifica());
    EXPECT_TRUE(e.messaggi().empty());
}
