// The stack: how closely readings give back the excess air over many
// generated cases, the time one inversion takes, and the stack loss beside
// Siegert's formula (the README's table).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>

#include "combustion/Camino.h"
#include "support/Casi.h"

using namespace termix;

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 20000;
    std::mt19937_64 g(54);
    std::uniform_real_distribution<double> u(0, 1);
    double peggiore[3] = {};
    long long inversioni = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (int k = 0; k < n; ++k) {
        double f[8] = {0.1 + 0.8 * u(g), 0.01 + 0.15 * u(g), 0.4 * u(g), 0.15 * u(g) * (u(g) < 0.5),
                       0.05 * u(g) * (u(g) < 0.5), 0.03 * u(g), 0.4 * u(g), 0.6 * u(g) * (u(g) < 0.7)};
        double somma = 0;
        for (double x : f) somma += x;
        for (double& x : f) x /= somma;
        const Modulo1 base = prova::ponderale(1 + 1e4 * u(g), f, 1000 + 9000 * u(g),
                                              {0, -40 + 120 * u(g), 100 * u(g), 20, 10 * u(g)});
        const double e = std::exp(std::log(0.01) + (std::log(2000.0) - std::log(0.01)) * u(g));
        Modulo1 m = base;
        BilancioAdEccesso(m, e);
        const double letture[3] = {QuotaO2(m, BaseO2::Secco), QuotaO2(m, BaseO2::Umido), QuotaCO2(m)};
        for (int j = 0; j < 3; ++j) {
            const auto x = j < 2 ? EccessoPerQuota(base, QuotaO2, j ? BaseO2::Umido : BaseO2::Secco, letture[j])
                                 : EccessoPerQuota(base, [](const Modulo1& r, BaseO2) { return QuotaCO2(r); },
                                                   BaseO2::Secco, letture[j]);
            ++inversioni;
            peggiore[j] = std::max(peggiore[j], x ? std::fabs(*x - e) / e : INFINITY);
        }
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%d generated cases, excess air 0.01..2000 %%: worst relative error of the excess air\n", n);
    std::printf("  O2 dry %.3g   O2 wet %.3g   CO2 dry %.3g   (%.1f us per inversion)\n\n", peggiore[0], peggiore[1],
                peggiore[2], s / double(inversioni) * 1e6);

    std::printf("Stack loss [%% of the energy in]: program / Siegert (1. BImSchV, Anlage 2), air at 20 C\n");
    struct {
        const char* nome;
        Modulo1 base;
        double a2, b;
    } combustibili[] = {
        {"natural gas (methane)", prova::metano(), 0.66, 0.009},
        {"light oil", prova::ponderale(100, {0.86, 0.135, 0.002, 0, 0.002, 0.001, 0, 0}, 10200, {20, 20, 50, 20, 0}),
         0.68, 0.007}};
    for (auto& c : combustibili) {
        std::printf("%s\n  O2 dry |", c.nome);
        const double temperature[] = {120, 150, 200, 250};
        for (double t : temperature) std::printf("      %3.0f C       |", t);
        std::printf("\n");
        for (double o2 : {2.0, 4.0, 6.0, 8.0, 10.0}) {
            std::printf("  %4.0f %% |", o2);
            for (double t : temperature) {
                ParametriCamino p;
                p.o2 = o2, p.base = BaseO2::Secco, p.tempCamino = t;
                const double q = *CalcolaCamino(c.base, p, 2).risultati.PerditaCamino;
                const double siegert = (t - 20) * (c.a2 / (21 - o2) + c.b);
                std::printf(" %5.2f / %5.2f %+5.2f |", q, siegert, q - siegert);
            }
            std::printf("\n");
        }
    }
    return 0;
}
