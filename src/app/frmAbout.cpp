#include "app/frmAbout.h"

#include <QPointer>

#include "app/Controlli.h"

namespace termix {

frmAbout::frmAbout() : FormBase(QStringLiteral("frmAbout"), nullptr, Qt::Dialog) {
    setAttribute(Qt::WA_DeleteOnClose);
    confermaUscita = false;
    setWindowTitle(QStringLiteral("Informazioni su Termix54"));
    Left = 2340;
    Top = 1800;
    Width = 5730;
    Height = 3900;
    auto* ok = pulsante("cmdOK", QStringLiteral("OK"), 4125, 2625, 1260, 345, 0);
    ok->setDefault(true);
    connect(ok, &Pulsante::azione, this, &frmAbout::cmdOK_Click);
    ordinaTab();
}

void frmAbout::Form_Load() {
    AdattaSchermo(*this);
    applicaGeometria();
}

void frmAbout::cmdOK_Click() { close(); }

frmAbout* apriAbout() {
    static QPointer<frmAbout> aperto;
    if (aperto) aperto->close();
    auto* f = new frmAbout();
    f->Form_Load();
    aperto = f;
    f->show();
    f->raise();
    f->activateWindow();
    return f;
}

}  // namespace termix
