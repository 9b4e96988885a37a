// termix54: opens the title form; everything else follows from its buttons.
#include <QApplication>
#include <QSessionManager>

#include "forms/Form1.h"
#include "forms/GestoreForm.h"
#include "forms/RapportoForm.h"
#include "ui/Dialoghi.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Termix54"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    QApplication::setQuitOnLastWindowClosed(false);
    termix::caricaTraduzioneItaliana();
    termix::installaUscitaRapporto();
    QObject::connect(&app, &QGuiApplication::commitDataRequest,
                     [](QSessionManager& g) { termix::fineSessione(g); });

    termix::GestoreForm::mostra(termix::GestoreForm::form1());
    const int esito = QApplication::exec();
    termix::GestoreForm::distruggiTutto();
    return esito;
}
