// The flue gas's chemical equilibrium on generated cases: the time of the
// adiabatic problem and of the composition at 850 °C (median per case), and
// over every case the whole run completes, whether the equilibrium completes
// too, closes its elements and holds its enthalpy.
//   bench_equilibrio [CASI]   (default 1,000,000)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "combustion/Caso.h"
#include "combustion/Equilibrio.h"
#include "combustion/Verifica.h"
#include "model/Costanti.h"

using namespace termix;
using namespace termix::equilibrio;

int main(int argc, char** argv) {
    const long casi = argc > 1 ? std::atol(argv[1]) : 1000000;
    std::mt19937_64 rng(2026);
    std::uniform_real_distribution<double> u(0, 1);
    long completati = 0, risolti = 0, fuori = 0, nonRisolti = 0, conCloro = 0, negativi = 0;
    double peggiorElementi = 0, peggiorEntalpia = 0;
    std::vector<double> tempi;
    tempi.reserve(static_cast<std::size_t>(casi));
    for (long k = 0; k < casi; ++k) {
        // Weight fractions: each element present or not, chlorine up to 30 %.
        IngressiCaso in;
        in.tipo = TipoCombustibile::Altri;
        in.composizione = Composizione::Ponderale;
        Modulo1& v = in.valori;
        double f[6];
        for (double& x : f) x = u(rng) < 0.25 ? 0 : u(rng);
        f[3] *= 0.3 / (u(rng) < 0.5 ? 1 : 10);  // Cl
        f[4] *= 0.05;                            // S
        f[5] *= 0.05;                            // N
        const double inerti = u(rng) * 0.2, acqua = u(rng) * 0.4;
        double somma = 0;
        for (double x : f) somma += x;
        if (!(somma > 0)) continue;
        const double resto = 1 - inerti - acqua;
        v.FrazC = f[0] / somma * resto, v.FrazH = f[1] / somma * resto, v.FrazO = f[2] / somma * resto;
        v.FrazCl = f[3] / somma * resto, v.FrazS = f[4] / somma * resto, v.FrazN = f[5] / somma * resto;
        v.Inerti = inerti, v.Acqua = acqua;
        v.PortataComb = 100 + u(rng) * 5000;
        v.PotereCalorifico = 1000 + u(rng) * 10000;
        in.potereDigitato = true;
        v.EccessoAria = u(rng) * 1000, v.TempAria = -20 + u(rng) * 80, v.UmiditaRelativa = u(rng) * 100;
        v.TempCeneri = 20 + u(rng) * 500, v.Dispersioni = u(rng) * 10;
        Modulo1 m;
        if (!CalcolaCaso(in, m).completato) continue;
        ++completati;
        if (v.FrazCl.v > 0) ++conCloro;

        const auto [n, H] = FumiPerEquilibrio(m);
        // A fuel with more oxygen than it burns gives negative air and flue-gas
        // flows: the case warns of them, and the equilibrium has no figure.
        if (std::any_of(n.begin(), n.end(), [](double x) { return x < 0; })) {
            ++negativi;
            continue;
        }
        const Elementi b = ElementiDi(n);
        const auto rif = TemperaturaFumiRif(m);
        const auto t0 = std::chrono::steady_clock::now();
        const Soluzione hp = EquilibrioHP(b, H, rif ? *rif + costanti::ZeroCelsius : 0, &n);
        const Soluzione tp = hp ? EquilibrioTP(b, 850 + costanti::ZeroCelsius, &hp.stato.n) : hp;
        tempi.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
        if (hp.esito == Esito::FuoriIntervallo) {
            ++fuori;
            continue;
        }
        if (!hp || !tp) {
            ++nonRisolti;
            if (nonRisolti <= 5) {
                std::printf("non risolto: caso %ld, esito %d/%d, elementi", k, int(hp.esito), int(tp.esito));
                for (double x : b) std::printf(" %g", x);
                std::printf(", kmoli");
                for (int s = 0; s < costanti::NumeroSpecie; ++s) std::printf(" %g", n[s]);
                std::printf("\n");
            }
            continue;
        }
        ++risolti;
        double totale = 0;
        for (double x : b) totale += x;
        for (const Soluzione* s : {&hp, &tp}) {
            const Elementi c = ElementiDi(s->stato.n);
            for (int e = 0; e < NumeroElementi; ++e)
                peggiorElementi = std::max(peggiorElementi, std::abs(c[e] - b[e]) / totale);
        }
        // The enthalpy as a temperature: what 1 K of the gas holds.
        const double perKelvin = EntalpiaMiscela(hp.stato.n, hp.stato.T + 0.5) - EntalpiaMiscela(hp.stato.n, hp.stato.T - 0.5);
        peggiorEntalpia = std::max(peggiorEntalpia, std::abs(EntalpiaMiscela(hp.stato.n, hp.stato.T) - H) / perKelvin);
    }
    std::sort(tempi.begin(), tempi.end());
    const auto q = [&](double p) { return tempi.empty() ? 0 : tempi[std::size_t(p * double(tempi.size() - 1))]; };
    std::printf("casi generati %ld, completati dal calcolo %ld (%ld con cloro)\n", casi, completati, conCloro);
    std::printf("portate dei fumi negative (nessun equilibrio, come il caso avvisa) %ld\n", negativi);
    std::printf("equilibrio: risolti %ld, fuori dai dati (oltre 5000 K o sotto 200 K) %ld, non risolti %ld\n", risolti,
                fuori, nonRisolti);
    std::printf("peggior bilancio degli elementi %.3g (relativo), peggior entalpia %.3g K\n", peggiorElementi,
                peggiorEntalpia);
    std::printf("HP + TP a 850 °C: mediana %.2f us, 90%% %.2f us, 99%% %.2f us, massimo %.1f us\n", q(0.5), q(0.9),
                q(0.99), q(1));
    return nonRisolti == 0 ? 0 : 1;
}
