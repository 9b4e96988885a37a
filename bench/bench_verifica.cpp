// Figures for the "Verifica" window on a real X display (run under Xvfb):
// "&Calcola" on the methane case, and "&Trova supporto" with methane on a wet
// waste (2 % chlorine, half water, 1500 kcal/kg) for 1100 °C; min, median and
// max in ms; the Camino window's "&Calcola" on the methane boiler's readings.
// With a file name, a picture of the screen (the window as it fits it) after
// the methane case is saved there, one of its equilibrium page beside it
// (FOTO-equilibrio.png) and one of the Camino window (FOTO-camino.png).
//   bench_verifica [FOTO.png]
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "forms/Form2.h"
#include "forms/GestoreForm.h"
#include "forms/CaminoForm.h"
#include "forms/VerificaForm.h"
#include "support/Casi.h"

using namespace termix;

namespace {

void misura(const char* finestra, const char* cosa, int volte, const std::function<void()>& f) {
    std::vector<double> ms;
    for (int i = 0; i < volte; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s, %s: min %.1f ms, mediana %.1f ms, max %.1f ms\n", finestra, cosa, ms.front(), ms[ms.size() / 2],
                ms.back());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    modulo1() = prova::metano();
    GestoreForm::form2().findChild<QRadioButton*>(QStringLiteral("Option1"))->setChecked(true);
    frmVerifica* w = apriVerifica();
    if (!QTest::qWaitForWindowExposed(w)) std::fprintf(stderr, "finestra non esposta\n");
    if (argc > 1) {
        w->findChild<QLineEdit*>(QStringLiteral("DiametroCamera"))->setText(QStringLiteral("1,2"));
        w->Command1_Click();
        QTest::qWait(300);
        const QString foto = QString::fromLocal8Bit(argv[1]);
        QGuiApplication::primaryScreen()->grabWindow(0).save(foto);
        auto* schede = w->findChild<QTabBar*>(QStringLiteral("SchedeRisultati"));
        QTest::mouseClick(schede, Qt::LeftButton, {}, schede->tabRect(1).center());
        QTest::qWait(300);
        QString altra = foto;
        altra.insert(foto.endsWith(QStringLiteral(".png")) ? foto.size() - 4 : foto.size(), QStringLiteral("-equilibrio"));
        QGuiApplication::primaryScreen()->grabWindow(0).save(altra);
        QTest::mouseClick(schede, Qt::LeftButton, {}, schede->tabRect(0).center());
    }
    misura("Verifica", "Calcola sul metano", 50, [&] { w->Command1_Click(); });
    frmCamino* c = w->Command5_Click();
    if (!QTest::qWaitForWindowExposed(c)) std::fprintf(stderr, "finestra del camino non esposta\n");
    for (auto [nome, testo] : {std::pair{"O2Misurato", "3,5"}, {"COMisurato", "50"}, {"TempCamino", "180"}})
        c->findChild<QLineEdit*>(QLatin1String(nome))->setText(QString::fromUtf8(testo));
    c->findChild<QComboBox*>(QStringLiteral("BaseO2"))->setCurrentIndex(1);
    c->Command1_Click();
    if (argc > 1) {
        QTest::qWait(300);
        QString foto = QString::fromLocal8Bit(argv[1]);
        foto.insert(foto.endsWith(QStringLiteral(".png")) ? foto.size() - 4 : foto.size(), QStringLiteral("-camino"));
        QGuiApplication::primaryScreen()->grabWindow(0).save(foto);
    }
    misura("Camino", "Calcola sul metano", 50, [&] { c->Command1_Click(); });
    w->close();

    const double f[8] = {0.2, 0.03, 0.1, 0.02, 0, 0, 0.15, 0.5};
    modulo1() = prova::ponderale(1000, f, 1500, {60, 20, 50, 300, 5});
    auto& f2 = GestoreForm::form2();
    f2.findChild<QRadioButton*>(QStringLiteral("Option2"))->setChecked(true);
    f2.findChild<QRadioButton*>(QStringLiteral("Option4"))->setChecked(true);
    w = apriVerifica();
    auto* tipo = w->findChild<QComboBox*>(QStringLiteral("SupportoTipo"));
    tipo->setCurrentIndex(tipo->findData(QStringLiteral("Metano")));
    w->findChild<QLineEdit*>(QStringLiteral("ObiettivoVerifica"))->setText(QStringLiteral("1100"));
    misura("Verifica", "Trova supporto per 1100 °C su un rifiuto umido", 5, [&] {
        w->findChild<QLineEdit*>(QStringLiteral("SupportoPortata"))->setText(QStringLiteral("0"));
        w->Command2_Click();
    });
    std::printf("%s\n", w->righe().back().c_str());
    GestoreForm::distruggiTutto();
    return 0;
}
