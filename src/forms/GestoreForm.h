#pragma once
// The five working forms: each exists once, is created on first use (its
// Form_Load runs the screen fit first) and lives until the program ends.
// Navigation only shows, raises and activates.
#include <QString>
#include <functional>

#include "model/Effetti.h"
#include "model/Modulo1.h"
#include "vista/Sessione.h"

class QSessionManager;

namespace termix {

class FormBase;
class Form1;
class Form2;
class Form3;
class Form7;
class Form8;

// The case the forms hold, for the whole run: the record, every box's text,
// the choices, the box being edited. The forms only show it and forward what
// the user does.
vista::Sessione& sessione();
// Its calculation record, shared by every form.
Modulo1& modulo1();

namespace GestoreForm {

Form1& form1();
Form2& form2();
Form3& form3();
Form7& form7();
Form8& form8();
FormBase& form(Finestra f);
// By name ("Form1" ... "Form8"), creating it; nullptr for an unknown name.
FormBase* perNome(const QString& nome);
// Whether the form was created already (does not create it).
bool esiste(const QString& nome);

// Shows a form maximized (restoring it if minimized), in front, active.
void mostra(FormBase& f);

// Opens a tool window over the forms (Andamento, Verifica): load, show, in front.
void apri(FormBase& finestra);

// Destroys every form and starts a fresh case (program end; tests between cases).
void distruggiTutto();

}  // namespace GestoreForm

// Form_QueryUnload of the five working forms: asks "Chiudere il programma ?";
// true when the answer is Yes.
bool Form_QueryUnload();
// Ends the program at once: every window goes, no further close handlers run.
void terminaProgramma();
// Replaces what terminaProgramma does (tests); an empty function restores it.
void impostaTerminazione(std::function<void()> f);
// The session manager asks to quit: the same question; No cancels the logout.
void fineSessione(QSessionManager& gestore);
// The same, for a session manager seen as: may we ask? and how to refuse.
void fineSessione(bool puoChiedere, const std::function<void()>& annulla);

}  // namespace termix
