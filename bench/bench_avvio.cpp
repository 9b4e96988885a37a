// Cold start on a real X display (run under Xvfb): from just before a fresh
// process is started to Form1 shown and painted, and the resident memory then.
// Links only what termix54 links, so the start-up cost is the program's.
//   bench_avvio [N]     N fresh starts (default 5)
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "forms/Form1.h"
#include "forms/GestoreForm.h"
#include "Misure.h"
#include "ui/Dialoghi.h"

using namespace termix;
using namespace termix::misure;

namespace {

long long oraNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}


int figlioAvvio(int argc, char** argv, long long t0) {
    const double inizio = (oraNs() - t0) / 1e6;
    QApplication app(argc, argv);
    const double applicazione = (oraNs() - t0) / 1e6;
    caricaTraduzioneItaliana();
    Vernice v;
    Form1& f1 = GestoreForm::form1();
    const double creato = (oraNs() - t0) / 1e6;
    f1.installEventFilter(&v);
    GestoreForm::mostra(f1);
    aspettaPittura(v);
    const double ms = (oraNs() - t0) / 1e6;
    std::printf("avvio: Form1 mostrato e dipinto dopo %.1f ms dal lancio del processo; memoria residente %.1f MB "
                "(main a %.1f ms, QApplication a %.1f ms, Form1 creato e adattato a %.1f ms)\n",
                ms, residenteMB(), inizio, applicazione, creato);
    GestoreForm::distruggiTutto();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::string(argv[1]) == "figlio") {
        int n = 1;
        return figlioAvvio(n, argv, std::atoll(argv[2]));
    }
    const int prove = argc > 1 ? std::atoi(argv[1]) : 5;
    for (int i = 0; i < prove; ++i) {
        const long long t0 = oraNs();
        const pid_t pid = fork();
        if (pid == 0) {
            const std::string t = std::to_string(t0);
            execl("/proc/self/exe", argv[0], "figlio", t.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int stato = 0;
        waitpid(pid, &stato, 0);
        if (!WIFEXITED(stato) || WEXITSTATUS(stato) != 0) return 1;
    }
    return 0;
}
