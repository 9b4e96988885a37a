#include "combustion/Combustione.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace termix {

namespace {
thread_local ContaPassi passi;

// Each pass of the two iterations is a function of the inputs and of one
// value carried from the pass before. Once that value comes back bit for bit
// (bits, not ==: 0.0 and -0.0 compare equal but need not give the same next
// pass), the passes repeat for ever and only the guard would end them. Brent's
// method finds the repeat with one saved value and a power-of-two counter.
class RivelaCiclo {
    // std::bit_cast is missing from the browser build's C++ library.
    static std::uint64_t Bit(double v) {
        std::uint64_t b;
        std::memcpy(&b, &v, sizeof b);
        return b;
    }

public:
    explicit RivelaCiclo(Numero primo) : salvato_(Bit(primo.v)) {}

    // The value carried into the next pass; the length of the cycle once it
    // repeats an earlier one, otherwise 0.
    long long passa(Numero x) {
        const auto b = Bit(x.v);
        ++distanza_;
        if (b == salvato_) return distanza_;
        if (distanza_ == potenza_) {
            salvato_ = b;
            potenza_ *= 2;
            distanza_ = 0;
        }
        return 0;
    }

private:
    std::uint64_t salvato_;
    long long potenza_ = 1;
    long long distanza_ = 0;
};

// Passes after which to give up, once `fatti` passes have been made and the
// carried value repeats every `ciclo` passes: as many more as bring the run to
// the same point of the cycle where the guard would have stopped it, so the
// record is left exactly as the guard leaves it (fewer than `ciclo` passes;
// the detector cannot fire again before: its next match is `ciclo` away).
long long limiteInCiclo(long long fatti, long long ciclo, long long massimoPassi) {
    return fatti + (massimoPassi - fatti) % ciclo;
}

}  // namespace

const ContaPassi& UltimiPassi() { return passi; }

void CalcolaUmiditaAria(Modulo1& m) {
    m.TempAriaK = m.TempAria + 273.15;
    const Numero T = m.TempAriaK;
    const Numero E = 16.373 - 2818.6 / T - (log(T) * 1.6908) / log(10.0) - 0.0057546 * T + 4.007e-06 * pow(T, 2.0);
    m.PressioneVapore = pow(10.0, E);
    // The denominator takes the full saturation pressure, as the correlation was fitted.
    m.UmiditaSpecifica = (0.00622 * m.UmiditaRelativa) * m.PressioneVapore / (760 - m.PressioneVapore);
}

void CalcolaBilancioMassa(Modulo1& m) {
    m.PortataC = m.FrazC * m.PortataComb;
    m.PortataH = m.FrazH * m.PortataComb;
    m.PortataO = m.FrazO * m.PortataComb;
    m.PortataCl = m.FrazCl * m.PortataComb;
    m.PortataS = m.FrazS * m.PortataComb;
    m.PortataN = m.FrazN * m.PortataComb;
    m.PortataInerti = m.Inerti * m.PortataComb;
    m.PortataAcqua = m.Acqua * m.PortataComb;
    m.PortataO2Stech = m.OssigenoPonderale * m.PortataComb;

    m.PortataVolO2Stech = m.PortataO2Stech * 0.699;
    m.PortataVolAriaStech = m.PortataVolO2Stech / 0.21;
    m.PortataAriaStech = 1.306 * m.PortataVolAriaStech;
    m.PortataVolAriaEff = m.PortataVolAriaStech * (1 + m.EccessoAria / 100);
    m.KmoliO2Stech = m.PortataO2Stech / 32;
    m.PortataAriaEff = (1 + m.EccessoAria / 100) * m.PortataAriaStech;
    m.PortataAcquaUmidita = m.UmiditaSpecifica * m.PortataAriaEff;
    m.FattoreFumi = 1.005;

    m.KmoliCO2 = (m.PortataC * 1.005) / 12.011;
    m.PortataCO2 = m.KmoliCO2 * 44.011;
    m.KmoliHCl = (m.FattoreFumi * m.PortataCl) / 35.453;
    m.PortataHCl = m.KmoliHCl * 36.461;
    m.KmoliH2OIdrogeno = (m.PortataH / 1.008 - m.KmoliHCl) / 2;
    m.PortataH2OIdrogeno = m.KmoliH2OIdrogeno * 18.016;
    m.PortataH2O = m.FattoreFumi * ((m.PortataAcqua + m.PortataAcquaUmidita) + m.PortataH2OIdrogeno);
    m.KmoliH2O = m.PortataH2O / 18.016;
    m.KmoliSO2 = (m.FattoreFumi * m.PortataS) / 32.06;
    m.PortataSO2 = m.KmoliSO2 * 64.06;
    m.KmoliO2 = ((m.FattoreFumi * m.KmoliO2Stech) * m.EccessoAria) / 100;
    m.PortataO2 = m.KmoliO2 * 32;
    m.KmoliN2 = (m.PortataN / 28.016 + (m.PortataAriaEff / 28.96) * 0.79) * m.FattoreFumi;
    m.PortataN2 = m.KmoliN2 * 28.016;
    m.KmoliFumi = m.KmoliCO2 + m.KmoliH2O + m.KmoliHCl + m.KmoliSO2 + m.KmoliO2 + m.KmoliN2;
    m.PortataFumi = m.PortataCO2 + m.PortataH2O + m.PortataHCl + m.PortataSO2 + m.PortataO2 + m.PortataN2;
}

EsitoCalcolo CalcolaBilancioEnergia(Modulo1& m) {
    m.EnergiaIngresso = m.PotereCalorifico * m.PortataComb;
    m.CaloreCeneri = (m.PortataInerti * 0.17) * (m.TempCeneri - m.TempAria);
    m.CaloreDisperso = (m.EnergiaIngresso * m.Dispersioni) / 100;
    m.CaloreEvaporazione = m.PortataAcqua * 539;
    m.PerditeTotali = (m.CaloreCeneri + m.CaloreDisperso) + m.CaloreEvaporazione;
    m.EnergiaNetta = m.EnergiaIngresso - m.PerditeTotali;
    return m.EnergiaNetta <= 0 ? EsitoCalcolo::EnergiaInsufficiente : EsitoCalcolo::CalcoloOk;
}

namespace {

// Mixture specific-heat coefficients, species in the order CO2, H2O, HCl, SO2, N2, O2.
void coefficientiCalore(Modulo1& m) {
    m.CpA = (0.10573 * m.PortataCO2 + 0.423754 * m.PortataH2O + 0.20105 * m.PortataHCl + 0.08898 * m.PortataSO2 +
             0.2658 * m.PortataN2 + 0.21 * m.PortataO2) /
            m.PortataFumi;
    m.CpB = (0.0003988 * m.PortataCO2 + 1.905e-05 * m.PortataH2O - 4.72e-05 * m.PortataHCl +
             0.0002499 * m.PortataSO2 - 0.0001158 * m.PortataN2 - 2.749e-08 * m.PortataO2) /
            m.PortataFumi;
    m.CpC = (-3.042e-07 * m.PortataCO2 + 3.227e-07 * m.PortataH2O + 8.168e-08 * m.PortataHCl -
             1.851e-07 * m.PortataSO2 + 2.287e-07 * m.PortataN2 + 1.304e-07 * m.PortataO2) /
            m.PortataFumi;
    m.CpD = (9.314e-10 * m.PortataCO2 - 1.56e-10 * m.PortataH2O - 2.555e-11 * m.PortataHCl +
             4.954e-11 * m.PortataSO2 - 9.965e-11 * m.PortataN2 - 7.954e-11 * m.PortataO2) /
            m.PortataFumi;
}

}  // namespace

EsitoCalcolo CalcolaTemperaturaFumi(Modulo1& m, long long massimoPassi) {
    m.TempFumiIpotesi = 900;
    passi.temperatura = 0;
    RivelaCiclo ciclo(m.TempFumiIpotesi);
    long long limite = massimoPassi;
    for (;;) {
        if (++passi.temperatura > limite) sollevaErroreAritmetico();
        CalcolaBilancioMassa(m);
        if (CalcolaBilancioEnergia(m) == EsitoCalcolo::EnergiaInsufficiente) return EsitoCalcolo::EnergiaInsufficiente;
        coefficientiCalore(m);
        m.TempMediaFumi = 0.5 * (m.TempAriaK + m.TempFumiIpotesi);
        if (m.TempMediaFumi > 1250) m.TempMediaFumi = 1250;
        const Numero Tm = m.TempMediaFumi;
        m.CaloreSpecificoFumi = ((m.CpA + m.CpB * Tm) + m.CpC * pow(Tm, 2.0)) + m.CpD * pow(Tm, 3.0);
        m.TempFumi = m.TempAria + m.EnergiaNetta / (m.PortataFumi * m.CaloreSpecificoFumi);
        m.TempFumiK = m.TempFumi + 273.15;
        m.TempFumiIpotesi = (m.TempFumiK + m.TempFumiIpotesi) / 2;
        if (!(fabs(m.TempFumiK - m.TempFumiIpotesi) > 2)) return EsitoCalcolo::CalcoloOk;
        if (const long long l = ciclo.passa(m.TempFumiIpotesi))
            limite = limiteInCiclo(passi.temperatura, l, massimoPassi);
    }
}

void CalcolaComposizioneFumi(Modulo1& m) {
    m.PesoMolecolareFumi = m.PortataFumi / m.KmoliFumi;
    m.PercVolCO2 = (100 * m.KmoliCO2) / m.KmoliFumi;
    m.PercVolH2O = (100 * m.KmoliH2O) / m.KmoliFumi;
    m.PercVolHCl = (100 * m.KmoliHCl) / m.KmoliFumi;
    m.PercVolSO2 = (100 * m.KmoliSO2) / m.KmoliFumi;
    m.PercVolO2 = (100 * m.KmoliO2) / m.KmoliFumi;
    m.PercVolN2 = (100 * m.KmoliN2) / m.KmoliFumi;
    m.PercPesoCO2 = (100 * m.PortataCO2) / m.PortataFumi;
    m.PercPesoH2O = (100 * m.PortataH2O) / m.PortataFumi;
    m.PercPesoHCl = (100 * m.PortataHCl) / m.PortataFumi;
    m.PercPesoSO2 = (100 * m.PortataSO2) / m.PortataFumi;
    m.PercPesoO2 = (100 * m.PortataO2) / m.PortataFumi;
    m.PercPesoN2 = (100 * m.PortataN2) / m.PortataFumi;
    m.PortataVolFumiNormale = m.KmoliFumi * 22.414;
    m.PortataVolFumi = (m.PortataVolFumiNormale * m.TempFumiK) / 273.15;
}

Numero Cloro(Numero k, Numero yH2O, Numero yHCl, Numero yO2, Numero x) {
    const Numero s = sqrt(yO2 - 0.5 * x);
    const Numero numeratore = (yH2O + x) * x;
    const Numero quadrato = pow(yHCl - 2 * x, 2.0);
    const Numero denominatore = quadrato * s;
    return k - numeratore / denominatore;
}

void CalcolaEquilibrioCloro(Modulo1& m, long long massimoPassi) {
    m.CostanteCloro = exp(7340 / m.TempFumiK) * 0.00023;
    m.FrazH2O = m.PercVolH2O / 100;
    m.FrazHCl = m.PercVolHCl / 100;
    m.FrazO2 = m.PercVolO2 / 100;
    passi.cloro = 0;
    if (m.FrazHCl.v != 0.0) {
        m.FrazCl2 = 2e-05;
        RivelaCiclo ciclo(m.FrazCl2);
        long long limite = massimoPassi;
        for (;;) {
            if (++passi.cloro > limite) sollevaErroreAritmetico();
            m.FrazCl2Prova = m.FrazCl2;
            m.ResiduoCloroProva = Cloro(m.CostanteCloro, m.FrazH2O, m.FrazHCl, m.FrazO2, m.FrazCl2Prova);
            m.ResiduoCloro = m.ResiduoCloroProva;
            m.FrazCl2Prova = m.FrazCl2 + 0.001;
            m.ResiduoCloroProva = Cloro(m.CostanteCloro, m.FrazH2O, m.FrazHCl, m.FrazO2, m.FrazCl2Prova);
            m.FrazCl2Prec = m.FrazCl2;
            m.FrazCl2 = m.FrazCl2Prec - (0.001 * m.ResiduoCloro) / (m.ResiduoCloroProva - m.ResiduoCloro);
            const bool ossigenoBasta = m.FrazO2 >= 0.5 * m.FrazCl2;
            const bool passoGrande = fabs(m.FrazCl2Prec - m.FrazCl2) > 1e-05;
            if (!(ossigenoBasta && passoGrande)) break;
            if (const long long l = ciclo.passa(m.FrazCl2)) limite = limiteInCiclo(passi.cloro, l, massimoPassi);
        }
        if (m.FrazCl2 < 0) m.FrazCl2 = 0;
        m.ConcCl2 = 1000000 * m.FrazCl2;
    } else {
        m.ConcCl2 = 0;
    }
}

}  // namespace termix
