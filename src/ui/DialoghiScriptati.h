#pragma once
// Test side of the dialogs seam: records every box shown and answers from a
// queue (or with the box's default button when the queue is empty).
#include <deque>
#include <vector>

#include "ui/Dialoghi.h"

namespace termix {

class DialoghiScriptati : public Dialoghi {
public:
    struct Mostrato {
        QString testo;
        QString titolo;
        Icona icona = Icona::Nessuna;
        Pulsanti pulsanti = Pulsanti::Ok;
        Risposta predefinito = Risposta::Ok;
        bool inputBox = false;
    };

    std::vector<Mostrato> mostrati;
    std::deque<Risposta> risposte;   // for message boxes
    std::deque<QString> testi;       // for input boxes; empty string = Cancel

    DialoghiScriptati() { impostaDialoghi(this); }
    ~DialoghiScriptati() override { impostaDialoghi(nullptr); }
    DialoghiScriptati(const DialoghiScriptati&) = delete;
    DialoghiScriptati& operator=(const DialoghiScriptati&) = delete;

    Risposta messaggio(const QString& testo, Icona icona, Pulsanti pulsanti, Risposta predefinito,
                       const QString& titolo) override {
        mostrati.push_back({testo, titolo, icona, pulsanti, predefinito, false});
        if (risposte.empty()) return predefinito;
        Risposta r = risposte.front();
        risposte.pop_front();
        return r;
    }

    QString chiediTesto(const QString& richiesta, const QString& titolo, const QString&) override {
        mostrati.push_back({richiesta, titolo, Icona::Nessuna, Pulsanti::OkAnnulla, Risposta::Ok, true});
        if (testi.empty()) return QString();
        QString t = testi.front();
        testi.pop_front();
        return t;
    }

    // Save-file boxes take their answers from `testi` too.
    QString chiediFile(const QString& titolo, const QString&, const QString&) override {
        return chiediTesto(titolo, titolo, QString());
    }

    // Texts of the boxes shown, in order.
    QStringList testiMostrati() const {
        QStringList l;
        for (const auto& m : mostrati) l << m.testo;
        return l;
    }
};

}  // namespace termix
