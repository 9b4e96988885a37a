// genera_csv [RECORD] [;|,] [cloro] > file.csv: the benchmark's input file
// (cloro: chlorine in the weight fractions too, with rows that never settle).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "GeneraCsv.h"

int main(int argc, char** argv) {
    unsigned long long n = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000ULL;
    char sep = argc > 2 && std::strcmp(argv[2], ",") == 0 ? ',' : ';';
    bool cloro = argc > 3 && std::strcmp(argv[3], "cloro") == 0;
    return termix::bench::GeneraCsv(stdout, n, sep, 54, cloro) ? 0 : 1;
}
