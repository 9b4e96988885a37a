// genera_csv [RECORD] [;|,] > file.csv: the benchmark's input file.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "GeneraCsv.h"

int main(int argc, char** argv) {
    unsigned long long n = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000ULL;
    char sep = argc > 2 && std::strcmp(argv[2], ",") == 0 ? ',' : ';';
    return termix::bench::GeneraCsv(stdout, n, sep) ? 0 : 1;
}
