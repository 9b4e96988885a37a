#pragma once
// Measuring helpers shared by the forms benchmarks.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <cstdlib>
#include <fstream>
#include <string>

namespace termix::misure {

inline double residenteMB() {
    std::ifstream f("/proc/self/status");
    std::string riga;
    while (std::getline(f, riga))
        if (riga.rfind("VmRSS:", 0) == 0) return std::atof(riga.c_str() + 6) / 1024.0;
    return 0;
}

// Notes that a widget has been painted since the flag was cleared.
class Vernice : public QObject {
public:
    bool dipinto = false;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) dipinto = true;
        return false;
    }
};

inline void aspettaPittura(Vernice& v) {
    while (!v.dipinto) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

}  // namespace termix::misure
