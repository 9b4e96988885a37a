// Figures for the calculation core: the methane run with and without its
// display texts, the chlorine worked case, two chlorine rows that never
// settle, the fuel calculation and the display rule alone.
#include <benchmark/benchmark.h>

#include "combustion/CalcoloCondizioni.h"
#include "combustion/Combustione.h"
#include "fuel/CalcoloCombustibile.h"
#include "model/Formato.h"
#include "support/Casi.h"

using namespace termix;

namespace {

void BM_MetanoSoloNumeri(benchmark::State& s) {
    Modulo1 m = prova::metano();
    for (auto _ : s) {
        CalcolaUmiditaAria(m);
        CalcolaTemperaturaFumi(m);
        CalcolaComposizioneFumi(m);
        CalcolaEquilibrioCloro(m);
        benchmark::DoNotOptimize(m.ConcCl2.v);
    }
}
BENCHMARK(BM_MetanoSoloNumeri);

void BM_MetanoConTesti(benchmark::State& s) {
    Modulo1 m = prova::metano();
    for (auto _ : s) {
        auto e = EseguiCalcolo(m);
        benchmark::DoNotOptimize(e.effetti.data());
    }
}
BENCHMARK(BM_MetanoConTesti);

void BM_CasoCloro(benchmark::State& s) {
    Modulo1 m = prova::combustibileClorurato();
    for (auto _ : s) {
        auto e = EseguiCalcolo(m);
        benchmark::DoNotOptimize(e.effetti.data());
    }
}
BENCHMARK(BM_CasoCloro);

// Two rows whose chlorine iteration never settles: one falls into an exact
// cycle, one wanders until the pass guard.
void BM_CloroCiclico(benchmark::State& s) {
    const Modulo1 caso = prova::cloroCiclico();
    for (auto _ : s) {
        Modulo1 m = caso;
        auto e = EseguiCalcolo(m, MassimoPassi, TestiRisultati::SoloVerifica);
        benchmark::DoNotOptimize(e.completato);
    }
    s.counters["passi"] = static_cast<double>(UltimiPassi().cloro);
}
BENCHMARK(BM_CloroCiclico)->Unit(benchmark::kMillisecond);

void BM_CloroErrante(benchmark::State& s) {
    // No value repeats for more than ten million passes.
    const Modulo1 caso = prova::ponderale(2922.5, {0.3842, 0.0747, 0.0237, 0.0093, 0.0016, 0.0189, 0.057, 0.131}, 9448,
                                          {33.8, 0.5, 57, 446, 8.2});
    for (auto _ : s) {
        Modulo1 m = caso;
        auto e = EseguiCalcolo(m, MassimoPassi, TestiRisultati::SoloVerifica);
        benchmark::DoNotOptimize(e.completato);
    }
    s.counters["passi"] = static_cast<double>(UltimiPassi().cloro);
}
BENCHMARK(BM_CloroErrante)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_CombustibileAtomico(benchmark::State& s) {
    Modulo1 m;
    m.AtomiC = 6;
    m.AtomiH = 5;
    m.AtomiCl = 1;
    m.Inerti = 0.1;
    m.Acqua = 0.05;
    for (auto _ : s) {
        auto e = CalcolaCombustibile(m, TipoCombustibile::Altri, Composizione::Atomica);
        benchmark::DoNotOptimize(e.effetti.data());
    }
}
BENCHMARK(BM_CombustibileAtomico);

void BM_FormatoTroncato(benchmark::State& s) {
    double x = 10319.367123;
    for (auto _ : s) {
        auto t = FormatoTroncato(x, 3);
        benchmark::DoNotOptimize(t.data());
        x += 0.001;
    }
}
BENCHMARK(BM_FormatoTroncato);

}  // namespace

BENCHMARK_MAIN();
