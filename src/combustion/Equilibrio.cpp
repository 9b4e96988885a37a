#include "combustion/Equilibrio.h"

#include <algorithm>
#include <cmath>

namespace termix::equilibrio {

namespace {

constexpr int MaxIncognite = NumeroElementi + 2;  // element potentials, Δln n, Δln T

// RP-1311 eq. 3.1-3.2: a species below 1e-8 of the moles is "trace" and may
// grow only to 1e-4 of them in one step.
constexpr double LogTraccia = -18.420680743952367;  // ln 1e-8
constexpr double LogTetto = -9.210340371976184;     // ln 1e-4
constexpr int MaxIterazioni = 200;
// Converged: every weighted correction below this (far tighter than RP-1311's
// 0.5e-5, so that the element balance closes to the last digits).
constexpr double Tolleranza = 1e-13;

struct Termo {
    double h, s, cp;  // h/RT, s/R, cp/R
};

Termo termo(Molecola m, double T) {
    const std::array<double, 7>& a = nasa::Coefficienti(m, T);
    const double T2 = T * T, T3 = T2 * T, T4 = T3 * T;
    return {nasa::Entalpia(m, T) / (nasa::CostanteGas * T),
            a[0] * std::log(T) + a[1] * T + a[2] * T2 / 2 + a[3] * T3 / 3 + a[4] * T4 / 4 + a[6],
            a[0] + a[1] * T + a[2] * T2 + a[3] * T3 + a[4] * T4};
}

// Gaussian elimination with partial pivoting; false when singular.
bool risolvi(std::array<std::array<double, MaxIncognite + 1>, MaxIncognite>& a, int n,
             std::array<double, MaxIncognite>& x) {
    for (int c = 0; c < n; ++c) {
        int p = c;
        for (int r = c + 1; r < n; ++r)
            if (std::abs(a[r][c]) > std::abs(a[p][c])) p = r;
        if (!(std::abs(a[p][c]) > 0)) return false;
        std::swap(a[p], a[c]);
        for (int r = c + 1; r < n; ++r) {
            const double f = a[r][c] / a[c][c];
            for (int k = c; k <= n; ++k) a[r][k] -= f * a[c][k];
        }
    }
    for (int r = n - 1; r >= 0; --r) {
        double s = a[r][n];
        for (int k = r + 1; k < n; ++k) s -= a[r][k] * x[k];
        x[r] = s / a[r][r];
    }
    for (int r = 0; r < n; ++r)
        if (!std::isfinite(x[r])) return false;
    return true;
}

// The problem on the elements present and the species made only of them, the
// totals scaled to one mole of atoms for the conditioning.
struct Problema {
    int ne = 0, ns = 0;
    std::array<int, NumeroElementi> elementi{};
    std::array<int, NumeroMolecole> specie{};
    std::array<double, NumeroElementi> b{};  // scaled
    std::array<std::array<double, NumeroMolecole>, NumeroElementi> a{};
    double scala = 1;  // scaled = real * scala
    double logPressione = 0;  // ln(P/P°): the data refer to 1 bar
};

std::optional<Problema> imposta(const Elementi& b) {
    Problema p;
    double totale = 0;
    for (double x : b) {
        if (!(x >= 0) || !std::isfinite(x)) return std::nullopt;
        totale += x;
    }
    if (!(totale > 0)) return std::nullopt;
    // Carbon and sulphur exist here only with oxygen (CO, SO at the least).
    const auto di = [&](Elemento e) { return b[static_cast<int>(e)]; };
    if ((di(Elemento::C) > 0 || di(Elemento::S) > 0) && !(di(Elemento::O) > di(Elemento::C) + di(Elemento::S)))
        return std::nullopt;
    p.scala = 1 / totale;
    for (int e = 0; e < NumeroElementi; ++e)
        if (b[e] > 0) p.elementi[p.ne++] = e;
    for (int j = 0; j < NumeroMolecole; ++j) {
        bool presente = true;
        for (int e = 0; e < NumeroElementi; ++e)
            if (Atomi(Molecola(j), Elemento(e)) > 0 && !(b[e] > 0)) presente = false;
        if (presente) p.specie[p.ns++] = j;
    }
    for (int i = 0; i < p.ne; ++i) {
        p.b[i] = b[p.elementi[i]] * p.scala;
        for (int k = 0; k < p.ns; ++k) p.a[i][k] = Atomi(Molecola(p.specie[k]), Elemento(p.elementi[i]));
    }
    return p;
}

// Newton's iteration of RP-1311 on ln n_j, ln n and (HP) ln T. `hScalato`:
// the enthalpy / R [K · scaled kmol] for HP, empty for TP.
bool itera(const Problema& p, std::array<double, NumeroMolecole>& lnN, double& lnTot, double& T,
           std::optional<double> hScalato, int& iterazioni) {
    const int ne = p.ne, ns = p.ns;
    const bool hp = hScalato.has_value();
    const int n = ne + 1 + (hp ? 1 : 0);
    for (iterazioni = 1; iterazioni <= MaxIterazioni; ++iterazioni) {
        const double tot = std::exp(lnTot);
        std::array<double, NumeroMolecole> nj{}, mu{}, h{}, cp{};
        double somma = 0;
        for (int k = 0; k < ns; ++k) {
            const Termo t = termo(Molecola(p.specie[k]), T);
            nj[k] = std::exp(lnN[k]);
            h[k] = t.h;
            cp[k] = t.cp;
            mu[k] = t.h - t.s + lnN[k] - lnTot + p.logPressione;
            somma += nj[k];
        }
        std::array<std::array<double, MaxIncognite + 1>, MaxIncognite> m{};
        for (int r = 0; r < ne; ++r) {
            double rhs = 0, an = 0, ah = 0;  // Σ a n μ, Σ a n (the element's atoms now), Σ a n h
            for (int k = 0; k < ns; ++k) {
                const double ank = p.a[r][k] * nj[k];
                for (int c = 0; c < ne; ++c) m[r][c] += ank * p.a[c][k];
                an += ank;
                ah += ank * h[k];
                rhs += ank * mu[k];
            }
            m[r][ne] = an;
            if (hp) m[r][ne + 1] = ah;
            m[r][n] = p.b[r] - an + rhs;
        }
        double nh = 0, nmu = 0, nhmu = 0, ncp = 0, nh2 = 0;
        for (int k = 0; k < ns; ++k) {
            nh += nj[k] * h[k];
            nmu += nj[k] * mu[k];
            nhmu += nj[k] * h[k] * mu[k];
            ncp += nj[k] * cp[k];
            nh2 += nj[k] * h[k] * h[k];
        }
        for (int c = 0; c < ne; ++c) m[ne][c] = m[c][ne];
        m[ne][ne] = somma - tot;
        if (hp) m[ne][ne + 1] = nh;
        m[ne][n] = tot - somma + nmu;
        if (hp) {
            for (int c = 0; c < ne; ++c) m[ne + 1][c] = m[c][ne + 1];
            m[ne + 1][ne] = nh;
            m[ne + 1][ne + 1] = ncp + nh2;
            m[ne + 1][n] = *hScalato / T - nh + nhmu;
        }
        std::array<double, MaxIncognite> x{};
        if (!risolvi(m, n, x)) return false;
        const double dlnTot = x[ne], dlnT = hp ? x[ne + 1] : 0;
        std::array<double, NumeroMolecole> d{};
        double errore = 0, grande = std::max(5 * std::abs(dlnT), 5 * std::abs(dlnTot));
        double lambda2 = 1;
        for (int k = 0; k < ns; ++k) {
            double s = -mu[k] + dlnTot + h[k] * dlnT;
            for (int i = 0; i < ne; ++i) s += p.a[i][k] * x[i];
            d[k] = s;
            errore = std::max(errore, nj[k] * std::abs(s) / somma);
            const double frazione = lnN[k] - lnTot;
            if (frazione > LogTraccia) {
                if (s > 0) grande = std::max(grande, s);
            } else if (s - dlnTot > 0) {
                lambda2 = std::min(lambda2, std::abs((-frazione + LogTetto) / (s - dlnTot)));
            }
        }
        errore = std::max({errore, std::abs(dlnTot), std::abs(dlnT)});
        const double lambda1 = grande > 2 ? 2 / grande : 1;
        const double lambda = std::min({1.0, lambda1, lambda2});
        for (int k = 0; k < ns; ++k) lnN[k] += lambda * d[k];
        lnTot += lambda * dlnTot;
        // A temperature the data do not reach is no answer: the gas there is
        // beyond what they say.
        if (hp) T = std::clamp(T * std::exp(lambda * dlnT), nasa::TemperaturaMinima / 2, 2 * nasa::TemperaturaMassima);
        if (errore <= Tolleranza && lambda == 1) return true;
    }
    return false;
}

Soluzione risolviProblema(const Elementi& b, std::optional<double> H, double T, const Moli* inizio,
                          double pressione) {
    Soluzione s;
    auto p = imposta(b);
    if (!p || !(pressione > 0)) {
        s.esito = Esito::ElementiNegativi;
        return s;
    }
    p->logPressione = std::log(pressione / nasa::PressioneStandard);
    const std::optional<double> hScalato =
        H ? std::optional<double>(*H * p->scala / nasa::CostanteGas) : std::nullopt;
    auto prova = [&](bool caldo) {
        std::array<double, NumeroMolecole> lnN{};
        double tot = 0.1;  // RP-1311's own start: 0.1 mol in equal parts
        if (caldo) {
            double somma = 0;
            for (int k = 0; k < p->ns; ++k) somma += std::max((*inizio)[p->specie[k]], 0.0) * p->scala;
            if (!(somma > 0) || !std::isfinite(somma)) return false;
            for (int k = 0; k < p->ns; ++k)
                lnN[k] = std::log(std::max((*inizio)[p->specie[k]] * p->scala, 1e-6 * somma));
            tot = somma;
        } else {
            for (int k = 0; k < p->ns; ++k) lnN[k] = std::log(tot / p->ns);
        }
        double lnTot = std::log(tot);
        s.stato.T = T;
        if (!itera(*p, lnN, lnTot, s.stato.T, hScalato, s.stato.iterazioni)) return false;
        s.stato.n = {};
        for (int k = 0; k < p->ns; ++k) s.stato.n[p->specie[k]] = std::exp(lnN[k]) / p->scala;
        return true;
    };
    const bool ok = (inizio && prova(true)) || prova(false) ||
                    (H && (T = 3800, prova(false)));  // RP-1311's first guess for HP
    // A given temperature was checked before; a found one may lie beyond the data.
    const bool dentro = !H || (s.stato.T >= nasa::TemperaturaMinima && s.stato.T <= nasa::TemperaturaMassima);
    if (!dentro) {
        s.esito = Esito::FuoriIntervallo;
    } else if (!ok) {
        s.esito = Esito::NonConverge;
    } else {
        s.esito = Esito::Ok;
    }
    return s;
}

}  // namespace

int Atomi(Molecola s, Elemento e) { return nasa::Formule[static_cast<int>(s)][static_cast<int>(e)]; }

Elementi ElementiDi(const Moli& n) {
    Elementi b{};
    for (int j = 0; j < NumeroMolecole; ++j)
        for (int e = 0; e < NumeroElementi; ++e) b[e] += Atomi(Molecola(j), Elemento(e)) * n[j];
    return b;
}

double GibbsRidotta(Molecola s, double T) {
    const Termo t = termo(s, T);
    return t.h - t.s;
}

double EntalpiaMiscela(const Moli& n, double T) {
    double h = 0;
    for (int j = 0; j < NumeroMolecole; ++j)
        if (n[j] != 0) h += n[j] * nasa::Entalpia(Molecola(j), T);
    return h;
}

Soluzione EquilibrioTP(const Elementi& b, double T, const Moli* inizio, double pressione) {
    if (!(T >= nasa::TemperaturaMinima && T <= nasa::TemperaturaMassima)) {
        Soluzione s;
        s.esito = Esito::FuoriIntervallo;
        s.stato.T = T;
        return s;
    }
    return risolviProblema(b, std::nullopt, T, inizio, pressione);
}

Soluzione EquilibrioHP(const Elementi& b, double H, double Tinizio, const Moli* inizio, double pressione) {
    const double T = Tinizio >= nasa::TemperaturaMinima && Tinizio <= nasa::TemperaturaMassima ? Tinizio : 3800;
    return risolviProblema(b, H, T, inizio, pressione);
}

}  // namespace termix::equilibrio
