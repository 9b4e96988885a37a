// Figures for the "Andamento" window on a real X display (run under Xvfb):
// 1,000 values of the excess air recomputed on the methane case and the chart
// redrawn (a synchronous repaint of the chart view), repeated; min, median and
// max in ms. With a file name, a picture of the window with both flue-gas
// temperatures and 1100 °C found is saved there.
//   bench_andamento [FOTO.png]
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QtCharts/QChartView>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "forms/AndamentoForm.h"
#include "forms/Form2.h"
#include "forms/GestoreForm.h"
#include "support/Casi.h"

using namespace termix;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    modulo1() = prova::metano();
    GestoreForm::form2().findChild<QRadioButton*>(QStringLiteral("Option1"))->setChecked(true);
    GestoreForm::form2().findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("Forno 1"));
    frmAndamento* w = apriAndamento();
    if (!QTest::qWaitForWindowExposed(w)) std::fprintf(stderr, "finestra non esposta\n");
    auto* vista = w->findChild<QChartView*>(QStringLiteral("Grafico"));
    auto scrivi = [&](const char* nome, const char* testo) {
        w->findChild<QLineEdit*>(QString::fromLatin1(nome))->setText(QString::fromUtf8(testo));
    };
    if (argc > 1) {
        w->findChild<QCheckBox*>(QStringLiteral("Check7"))->setChecked(true);  // NASA's temperature too
        w->Command2_Click();
        QTest::qWait(300);
        w->grab().save(QString::fromLocal8Bit(argv[1]));
    }
    scrivi("Text1", "0");
    scrivi("Text2", "199,8");
    scrivi("Text3", "0,2");
    std::vector<double> ms;
    for (int i = 0; i < 30; ++i) {
        QElapsedTimer t;
        t.start();
        w->Command1_Click();
        vista->viewport()->repaint();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    std::sort(ms.begin(), ms.end());
    std::printf("Andamento: %zu punti ricalcolati e grafico ridisegnato: min %.1f ms, mediana %.1f ms, max %.1f ms\n",
                w->punti().size(), ms.front(), ms[ms.size() / 2], ms.back());
    GestoreForm::distruggiTutto();
    return 0;
}
