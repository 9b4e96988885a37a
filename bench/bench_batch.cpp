// End-to-end figures of termix54-batch: records per second and peak resident
// memory on a generated file of 1,000,000 records (or the count given).
//
//   bench_batch [RECORD] [--uscita FILE] [--ripeti N] [--cloro] [--ingresso FILE]
//               [--programma EXE] [--emulatore PROGRAMMA]
//
// --cloro: chlorine in the weight-fraction rows too, so some rows never settle.
// --ingresso: this file instead of the generated one (RECORD its record count),
// e.g. the generated one recoded to Windows-1252. --programma: another build
// of the tool; --emulatore: run it through this program (wine for the .exe).
//
// The input is made once in the temporary folder and reused. The output goes
// to /dev/null unless --uscita names a file (then the disk counts too). The
// load average is printed alongside: on a shared machine the figure is only
// as good as the share of the cores the tool got.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "GeneraCsv.h"

extern char** environ;

namespace {

std::string caricoMedio() {
    std::ifstream f("/proc/loadavg");
    std::string a, b, c;
    f >> a >> b >> c;
    return a + " " + b + " " + c;
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long long record = 1000000;
    std::string uscita = "/dev/null";
    int ripeti = 3;
    bool cloro = false;
    std::string ingresso, programma = TERMIX54_BATCH_EXE, emulatore;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--uscita" && i + 1 < argc) uscita = argv[++i];
        else if (a == "--ripeti" && i + 1 < argc) ripeti = std::atoi(argv[++i]);
        else if (a == "--cloro") cloro = true;
        else if (a == "--ingresso" && i + 1 < argc) ingresso = argv[++i];
        else if (a == "--programma" && i + 1 < argc) programma = argv[++i];
        else if (a == "--emulatore" && i + 1 < argc) emulatore = argv[++i];
        else record = std::strtoull(a.c_str(), nullptr, 10);
    }
    const char* tmp = std::getenv("TMPDIR");
    if (ingresso.empty())
        ingresso = std::string(tmp ? tmp : "/tmp") + "/termix54-bench-" + std::to_string(record) +
                              (cloro ? "-cloro" : "") + ".csv";
    struct stat st{};
    if (stat(ingresso.c_str(), &st) != 0) {
        std::printf("generating %s\n", ingresso.c_str());
        std::FILE* f = std::fopen(ingresso.c_str(), "wb");
        if (!f || !termix::bench::GeneraCsv(f, record, ';', 54, cloro) || std::fclose(f) != 0) {
            std::perror(ingresso.c_str());
            std::remove(ingresso.c_str());
            return 1;
        }
        stat(ingresso.c_str(), &st);
    }
    std::printf("input: %s, %llu records, %.1f MB; cores: %ld\n", ingresso.c_str(), record, st.st_size / 1e6,
                sysconf(_SC_NPROCESSORS_ONLN));

    std::printf("program: %s%s%s\n", emulatore.c_str(), emulatore.empty() ? "" : " ", programma.c_str());
    for (int r = 0; r < ripeti; ++r) {
        std::vector<char*> args = {const_cast<char*>(programma.c_str()), const_cast<char*>(ingresso.c_str()),
                                   const_cast<char*>("-o"), const_cast<char*>(uscita.c_str()), nullptr};
        if (!emulatore.empty()) args.insert(args.begin(), const_cast<char*>(emulatore.c_str()));
        posix_spawn_file_actions_t azioni;
        posix_spawn_file_actions_init(&azioni);
        posix_spawn_file_actions_addopen(&azioni, 2, "/dev/null", O_WRONLY, 0);  // no progress line
        const std::string prima = caricoMedio();
        auto t0 = std::chrono::steady_clock::now();
        pid_t pid;
        if (posix_spawnp(&pid, args[0], &azioni, nullptr, args.data(), environ) != 0) {
            std::perror(args[0]);
            return 1;
        }
        int stato = 0;
        struct rusage ru{};
        wait4(pid, &stato, 0, &ru);
        const double secondi = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        posix_spawn_file_actions_destroy(&azioni);
        const int codice = WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
        const double cpu = ru.ru_utime.tv_sec + ru.ru_utime.tv_usec / 1e6 + ru.ru_stime.tv_sec + ru.ru_stime.tv_usec / 1e6;
        std::printf("run %d: exit %d, %.2f s, %.0f records/s, CPU %.2f s (%.2f us/record), peak RSS %.1f MB, "
                    "load average before: %s\n",
                    r + 1, codice, secondi, record / secondi, cpu, cpu * 1e6 / record, ru.ru_maxrss / 1024.0,
                    prima.c_str());
    }
    return 0;
}
