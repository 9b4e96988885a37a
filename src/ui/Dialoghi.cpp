#include "ui/Dialoghi.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTranslator>

namespace termix {

namespace {

DialoghiQt& reali() {
    static DialoghiQt d;
    return d;
}
Dialoghi* installati = nullptr;

QMessageBox::StandardButton pulsanteQt(Risposta r) {
    switch (r) {
        case Risposta::Ok: return QMessageBox::Ok;
        case Risposta::Si: return QMessageBox::Yes;
        case Risposta::No: return QMessageBox::No;
        case Risposta::Annulla: return QMessageBox::Cancel;
    }
    return QMessageBox::NoButton;
}

}  // namespace

Dialoghi& dialoghi() { return installati ? *installati : reali(); }

void impostaDialoghi(Dialoghi* d) { installati = d; }

Risposta DialoghiQt::messaggio(const QString& testo, Icona icona, Pulsanti pulsanti, Risposta predefinito,
                               const QString& titolo) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(titolo);
    box.setText(testo);
    switch (icona) {
        case Icona::Nessuna: box.setIcon(QMessageBox::NoIcon); break;
        case Icona::Esclamazione: box.setIcon(QMessageBox::Warning); break;
        case Icona::Domanda: box.setIcon(QMessageBox::Question); break;
    }
    switch (pulsanti) {
        case Pulsanti::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case Pulsanti::SiNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case Pulsanti::OkAnnulla: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    }
    if (auto* b = qobject_cast<QPushButton*>(box.button(pulsanteQt(predefinito)))) box.setDefaultButton(b);
    // Closing a Yes/No box by its close box or Esc must not read as Yes.
    if (pulsanti == Pulsanti::SiNo) box.setEscapeButton(QMessageBox::No);
    switch (box.exec()) {
        case QMessageBox::Yes: return Risposta::Si;
        case QMessageBox::No: return Risposta::No;
        case QMessageBox::Cancel: return Risposta::Annulla;
        case QMessageBox::Ok: return Risposta::Ok;
        default: return pulsanti == Pulsanti::Ok ? Risposta::Ok : pulsanti == Pulsanti::SiNo ? Risposta::No
                                                                                             : Risposta::Annulla;
    }
}

QString DialoghiQt::chiediTesto(const QString& richiesta, const QString& titolo, const QString& predefinito) {
    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(titolo);
    box.setLabelText(richiesta);
    box.setTextValue(predefinito);
    box.setInputMode(QInputDialog::TextInput);
    // The window manager draws the title in a font of its own and cuts it to
    // the window's width. Leave room for it in a bold face a point larger than
    // the application's (title bars seldom use more), plus the window icon and
    // the title bar's buttons. The prompt spans the box, so its minimum width
    // sets the box's.
    QFont carattereTitolo = QApplication::font("QMdiSubWindowTitleBar");
    carattereTitolo.setBold(true);
    if (carattereTitolo.pointSizeF() > 0) carattereTitolo.setPointSizeF(carattereTitolo.pointSizeF() + 1);
    const QFontMetrics metriche(carattereTitolo);
    const int perTitolo = metriche.horizontalAdvance(titolo) + 8 * metriche.height();
    if (auto* etichetta = box.findChild<QLabel*>()) {
        const QStyle* stile = box.style();
        etichetta->setMinimumWidth(perTitolo - stile->pixelMetric(QStyle::PM_LayoutLeftMargin) -
                                   stile->pixelMetric(QStyle::PM_LayoutRightMargin));
    }
    if (box.exec() != QDialog::Accepted) return QString();
    return box.textValue();
}

QString DialoghiQt::chiediFile(const QString& titolo, const QString& predefinito, const QString& filtri) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), titolo, predefinito, filtri);
}

bool caricaTraduzioneItaliana() {
    auto* t = new QTranslator(qApp);
    if (t->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(t))
        return true;
    delete t;
    return false;
}

}  // namespace termix
