// Figures for the About box on a real X display (run under Xvfb):
//   bench_about [DIR]   time from "&Info" to the About box shown and painted,
//                       over 50 openings (each closed by "OK"); with DIR, a
//                       screenshot of the box over the title form, and one of
//                       the message of "&System Info..." (no registry here).
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "forms/Form1.h"
#include "forms/frmAbout.h"
#include "forms/GestoreForm.h"
#include "ui/Dialoghi.h"

using namespace termix;

namespace {

frmAbout* aboutAperto() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* a = qobject_cast<frmAbout*>(w); a && a->isVisible())
            return a;
    return nullptr;
}

void attendi(int ms) {
    for (int i = 0; i < ms / 10; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    caricaTraduzioneItaliana();
    Form1& f1 = GestoreForm::form1();
    GestoreForm::mostra(f1);
    if (!QTest::qWaitForWindowActive(&f1)) {
        std::fprintf(stderr, "Form1 not shown\n");
        GestoreForm::distruggiTutto();
        return 1;
    }
    auto* info = f1.findChild<QPushButton*>(QStringLiteral("Command1"));

    std::vector<double> tempi;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(info, Qt::LeftButton);
        frmAbout* a = aboutAperto();
        if (!a || !QTest::qWaitForWindowExposed(a)) {
            std::fprintf(stderr, "About box not shown\n");
            GestoreForm::distruggiTutto();
            return 1;
        }
        a->repaint();
        tempi.push_back(double(t.nsecsElapsed()) / 1e6);
        QTest::mouseClick(a->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // No window manager under Xvfb gives the title form the focus back.
        f1.activateWindow();
        static_cast<void>(QTest::qWaitForWindowActive(&f1));
    }
    std::sort(tempi.begin(), tempi.end());
    std::printf("About box, \"&Info\" to shown and painted: median %.2f ms, max %.2f ms (%zu openings)\n",
                tempi[tempi.size() / 2], tempi.back(), tempi.size());

    if (argc > 1) {
        QTest::mouseClick(info, Qt::LeftButton);
        attendi(300);
        const QString dir = QString::fromLocal8Bit(argv[1]);
        QGuiApplication::primaryScreen()->grabWindow(0).save(dir + QStringLiteral("/about.png"));
        // The message of "&System Info..." where there is no registry.
        if (frmAbout* a = aboutAperto()) {
            QTimer::singleShot(300, [dir] {
                QGuiApplication::primaryScreen()->grabWindow(0).save(dir + QStringLiteral("/sysinfo.png"));
                if (QWidget* m = QApplication::activeModalWidget())
                    m->close();
            });
            QTest::mouseClick(a->findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
        }
    }
    GestoreForm::distruggiTutto();
    return 0;
}
