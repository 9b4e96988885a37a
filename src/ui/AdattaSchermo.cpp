#include "ui/AdattaSchermo.h"

#include <QGuiApplication>
#include <QScreen>

namespace termix {

QSizeF SchermoInTwips() {
    const QScreen* s = QGuiApplication::primaryScreen();
    const QSize z = s ? s->size() : QSize(640, 480);
    return QSizeF(z.width() * 15.0, z.height() * 15.0);
}

void AdattaSchermo(FormBase& form) {
    const QSizeF s = SchermoInTwips();
    AdattaSchermo(form, float(s.width()), float(s.height()));
}

bool AdattaSchermo(FormBase& form, float larghezzaSchermo, float altezzaSchermo) {
    form.LarghezzaProgetto = 9600;
    form.AltezzaProgetto = 7200;
    if (altezzaSchermo == float(form.AltezzaProgetto)) return false;
    form.FattoreY = altezzaSchermo / float(form.AltezzaProgetto);
    form.FattoreX = larghezzaSchermo / float(form.LarghezzaProgetto);
    const float fx = form.FattoreX, fy = form.FattoreY;
    form.Height = form.Height * fy;
    form.Width = form.Width * fx;
    form.Top = form.Top * fy;
    form.Left = form.Left * fx;
    const double fattoreFont = double(fy) * 0.5 + double(fx) * 0.5;
    for (auto& c : form.controlli()) {
        if (c.tipo != Controllo::Tipo::Linea) {
            c.Height = c.Height * fy;
            c.Width = c.Width * fx;
            c.Top = c.Top * fy;
            c.Left = c.Left * fx;
            if (c.tipo != Controllo::Tipo::Immagine) c.FontSize = c.FontSize * fattoreFont;
        } else {
            c.X1 = c.X1 * fx;
            c.X2 = c.X2 * fx;
            c.Y1 = c.Y1 * fy;
            c.Y2 = c.Y2 * fy;
        }
    }
    // Self-sizing labels take their new size from the new font here.
    form.applicaGeometria();
    return true;
}

}  // namespace termix
