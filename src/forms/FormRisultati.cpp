#include "forms/FormRisultati.h"

#include "ui/Controlli.h"

namespace termix {

QLineEdit* casellaRisultato(FormBase& f, const char* nome, float l, float t, int tab) {
    QLineEdit* e = f.casella(nome, l, t, tab);
    impostaColoreTesto(e, QColor(255, 0, 0));
    return e;
}

}  // namespace termix
