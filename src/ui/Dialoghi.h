#pragma once
// The one way the program shows a message box or asks for a line of text.
// The real side uses QMessageBox and QInputDialog; tests install a scripted
// one (app/DialoghiScriptati.h) that records what was shown and answers.
#include <QString>

namespace termix {

enum class Icona { Nessuna, Esclamazione, Domanda };
enum class Pulsanti { Ok, SiNo, OkAnnulla };
enum class Risposta { Ok, Si, No, Annulla };

inline const QString TitoloProgramma = QStringLiteral("Termix54");

class Dialoghi {
public:
    virtual ~Dialoghi() = default;
    // Modal message box; returns the button the user chose.
    virtual Risposta messaggio(const QString& testo, Icona icona, Pulsanti pulsanti = Pulsanti::Ok,
                               Risposta predefinito = Risposta::Ok, const QString& titolo = TitoloProgramma) = 0;
    // Modal input box: the typed text, or an empty string on Cancel.
    virtual QString chiediTesto(const QString& richiesta, const QString& titolo = TitoloProgramma,
                                const QString& predefinito = QString()) = 0;
    // Modal save-file box: the chosen path, or an empty string on Cancel.
    // `filtri` as Qt writes them ("Immagine PNG (*.png);;SVG (*.svg)").
    virtual QString chiediFile(const QString& titolo, const QString& predefinito, const QString& filtri) = 0;
};

// QMessageBox / QInputDialog, parented to the active window.
class DialoghiQt : public Dialoghi {
public:
    Risposta messaggio(const QString& testo, Icona icona, Pulsanti pulsanti, Risposta predefinito,
                       const QString& titolo) override;
    QString chiediTesto(const QString& richiesta, const QString& titolo, const QString& predefinito) override;
    QString chiediFile(const QString& titolo, const QString& predefinito, const QString& filtri) override;
};

// The installed implementation (the real one unless a test installed another).
Dialoghi& dialoghi();
// Installs `d` (not owned); nullptr puts the real one back.
void impostaDialoghi(Dialoghi* d);

// Loads Qt's own Italian translation so the standard buttons read "Sì",
// "No", "Annulla". Returns false (buttons stay in English) when it is missing.
bool caricaTraduzioneItaliana();

}  // namespace termix
