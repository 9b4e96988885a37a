#include "combustion/Combustione.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#include "model/Costanti.h"

namespace termix {

namespace {
using namespace costanti;

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
    Passo passo("umidità dell'aria");
    m.TempAriaK = m.TempAria + ZeroCelsius;
    m.PressioneVapore = PressioneVaporeAcqua(m.TempAriaK);
    // The denominator takes the full saturation pressure, as the correlation was fitted.
    m.UmiditaSpecifica = (FattoreUmidita * m.UmiditaRelativa) * m.PressioneVapore / (PressioneTotale - m.PressioneVapore);
}

void CalcolaBilancioMassa(Modulo1& m) {
    Passo passo("bilancio di massa");
    m.PortataC = m.FrazC * m.PortataComb;
    m.PortataH = m.FrazH * m.PortataComb;
    m.PortataO = m.FrazO * m.PortataComb;
    m.PortataCl = m.FrazCl * m.PortataComb;
    m.PortataS = m.FrazS * m.PortataComb;
    m.PortataN = m.FrazN * m.PortataComb;
    m.PortataInerti = m.Inerti * m.PortataComb;
    m.PortataAcqua = m.Acqua * m.PortataComb;
    m.PortataO2Stech = m.OssigenoPonderale * m.PortataComb;

    m.PortataVolO2Stech = m.PortataO2Stech * VolumeO2PerKg;
    m.PortataVolAriaStech = m.PortataVolO2Stech / QuotaO2Aria;
    m.PortataAriaStech = DensitaAria * m.PortataVolAriaStech;
    m.PortataVolAriaEff = m.PortataVolAriaStech * (1 + m.EccessoAria / Percento);
    m.KmoliO2Stech = m.PortataO2Stech / MassaMolareO2;
    m.PortataAriaEff = (1 + m.EccessoAria / Percento) * m.PortataAriaStech;
    // The actual air's mass is taken as dry air.
    m.PortataAcquaUmidita = m.UmiditaSpecifica * m.PortataAriaEff;
    m.FattoreFumi = FattoreFumi;

    // Every species carries the factor once; carbon takes the constant itself.
    m.KmoliCO2 = (m.PortataC * FattoreFumi) / MassaMolareC;
    m.PortataCO2 = m.KmoliCO2 * MassaMolareCO2;
    m.KmoliHCl = (m.FattoreFumi * m.PortataCl) / MassaMolareCl;
    m.PortataHCl = m.KmoliHCl * MassaMolareHCl;
    // The hydrogen not bound to chlorine forms water.
    m.KmoliH2OIdrogeno = (m.PortataH / MassaMolareH - m.KmoliHCl) / AtomiHPerH2O;
    m.PortataH2OIdrogeno = m.KmoliH2OIdrogeno * MassaMolareH2O;
    m.PortataH2O = m.FattoreFumi * ((m.PortataAcqua + m.PortataAcquaUmidita) + m.PortataH2OIdrogeno);
    m.KmoliH2O = m.PortataH2O / MassaMolareH2O;
    m.KmoliSO2 = (m.FattoreFumi * m.PortataS) / MassaMolareS;
    m.PortataSO2 = m.KmoliSO2 * MassaMolareSO2;
    // Only the excess oxygen leaves.
    m.KmoliO2 = ((m.FattoreFumi * m.KmoliO2Stech) * m.EccessoAria) / Percento;
    m.PortataO2 = m.KmoliO2 * MassaMolareO2;
    m.KmoliN2 = (m.PortataN / MassaMolareN2 + (m.PortataAriaEff / MassaMolareAria) * QuotaN2Aria) * m.FattoreFumi;
    m.PortataN2 = m.KmoliN2 * MassaMolareN2;
    m.KmoliFumi = m.KmoliCO2 + m.KmoliH2O + m.KmoliHCl + m.KmoliSO2 + m.KmoliO2 + m.KmoliN2;
    m.PortataFumi = m.PortataCO2 + m.PortataH2O + m.PortataHCl + m.PortataSO2 + m.PortataO2 + m.PortataN2;
}

EsitoCalcolo CalcolaBilancioEnergia(Modulo1& m) {
    Passo passo("bilancio di energia");
    m.EnergiaIngresso = m.PotereCalorifico * m.PortataComb;
    m.CaloreCeneri = (m.PortataInerti * CaloreSpecificoCeneri) * (m.TempCeneri - m.TempAria);
    m.CaloreDisperso = (m.EnergiaIngresso * m.Dispersioni) / Percento;
    m.CaloreEvaporazione = m.PortataAcqua * CaloreLatenteAcqua;
    m.PerditeTotali = (m.CaloreCeneri + m.CaloreDisperso) + m.CaloreEvaporazione;
    m.EnergiaNetta = m.EnergiaIngresso - m.PerditeTotali;
    return m.EnergiaNetta <= 0 ? EsitoCalcolo::EnergiaInsufficiente : EsitoCalcolo::CalcoloOk;
}

namespace {

// One coefficient of the mixture's cp: the species' coefficients weighted by
// their mass flows, summed left to right in OrdineCalore.
Numero coefficienteMiscela(const Modulo1& m, double CoefficientiCalore::*c) {
    auto termine = [&](Specie s) { return CaloreSpecie[IndiceSpecie(s)].*c * (m.*PortataSpecie[IndiceSpecie(s)]); };
    Numero somma = termine(OrdineCalore[0]);
    for (int k = 1; k < NumeroSpecie; ++k) somma = somma + termine(OrdineCalore[k]);
    return somma / m.PortataFumi;
}

// Why an iteration was given up after `passaggi` passes.
std::string passaggiSenzaAssestarsi(long long passaggi, long long ciclo) {
    if (ciclo > 0)
        return "ciclo di periodo " + std::to_string(ciclo) + ", fermato dopo " + std::to_string(passaggi) + " passaggi";
    return std::to_string(passaggi) + " passaggi senza assestarsi";
}

}  // namespace

EsitoCalcolo CalcolaTemperaturaFumi(Modulo1& m, long long massimoPassi) {
    Passo passo("temperatura fumi");
    m.TempFumiIpotesi = TempFumiIniziale;
    long long& conta = passi.temperatura;  // once: a thread-local is a call with mingw-w64
    conta = 0;
    RivelaCiclo ciclo(m.TempFumiIpotesi);
    long long limite = massimoPassi, periodo = 0;
    for (;;) {
        if (++conta > limite) sollevaErroreAritmetico(passaggiSenzaAssestarsi(limite, periodo));
        CalcolaBilancioMassa(m);
        if (CalcolaBilancioEnergia(m) == EsitoCalcolo::EnergiaInsufficiente) return EsitoCalcolo::EnergiaInsufficiente;
        m.CpA = coefficienteMiscela(m, &CoefficientiCalore::a);
        m.CpB = coefficienteMiscela(m, &CoefficientiCalore::b);
        m.CpC = coefficienteMiscela(m, &CoefficientiCalore::c);
        m.CpD = coefficienteMiscela(m, &CoefficientiCalore::d);
        m.TempMediaFumi = Mezzo * (m.TempAriaK + m.TempFumiIpotesi);
        if (m.TempMediaFumi > TempMediaMassima) m.TempMediaFumi = TempMediaMassima;
        const Numero Tm = m.TempMediaFumi;
        m.CaloreSpecificoFumi = ((m.CpA + m.CpB * Tm) + m.CpC * pow(Tm, 2.0)) + m.CpD * pow(Tm, 3.0);
        m.TempFumi = m.TempAria + m.EnergiaNetta / (m.PortataFumi * m.CaloreSpecificoFumi);
        m.TempFumiK = m.TempFumi + ZeroCelsius;
        // Damped: the next guess is halfway between the last guess and its result.
        m.TempFumiIpotesi = (m.TempFumiK + m.TempFumiIpotesi) / 2;
        if (!(fabs(m.TempFumiK - m.TempFumiIpotesi) > SogliaTemperatura)) return EsitoCalcolo::CalcoloOk;
        if (const long long l = ciclo.passa(m.TempFumiIpotesi)) {
            periodo = l;
            limite = limiteInCiclo(conta, l, massimoPassi);
        }
    }
}

void CalcolaComposizioneFumi(Modulo1& m) {
    Passo passo("composizione fumi");
    m.PesoMolecolareFumi = m.PortataFumi / m.KmoliFumi;
    m.PercVolCO2 = (Percento * m.KmoliCO2) / m.KmoliFumi;
    m.PercVolH2O = (Percento * m.KmoliH2O) / m.KmoliFumi;
    m.PercVolHCl = (Percento * m.KmoliHCl) / m.KmoliFumi;
    m.PercVolSO2 = (Percento * m.KmoliSO2) / m.KmoliFumi;
    m.PercVolO2 = (Percento * m.KmoliO2) / m.KmoliFumi;
    m.PercVolN2 = (Percento * m.KmoliN2) / m.KmoliFumi;
    m.PercPesoCO2 = (Percento * m.PortataCO2) / m.PortataFumi;
    m.PercPesoH2O = (Percento * m.PortataH2O) / m.PortataFumi;
    m.PercPesoHCl = (Percento * m.PortataHCl) / m.PortataFumi;
    m.PercPesoSO2 = (Percento * m.PortataSO2) / m.PortataFumi;
    m.PercPesoO2 = (Percento * m.PortataO2) / m.PortataFumi;
    m.PercPesoN2 = (Percento * m.PortataN2) / m.PortataFumi;
    m.PortataVolFumiNormale = m.KmoliFumi * VolumeMolareNormale;
    m.PortataVolFumi = (m.PortataVolFumiNormale * m.TempFumiK) / ZeroCelsius;
}

Numero Cloro(Numero k, Numero yH2O, Numero yHCl, Numero yO2, Numero x) {
    const Numero s = sqrt(yO2 - O2PerCl2 * x);
    const Numero numeratore = (yH2O + x) * x;
    const Numero quadrato = pow(yHCl - HClPerCl2 * x, 2.0);
    const Numero denominatore = quadrato * s;
    return k - numeratore / denominatore;
}

void CalcolaEquilibrioCloro(Modulo1& m, long long massimoPassi) {
    Passo passo("equilibrio del cloro");
    m.CostanteCloro = exp(CloroKT / m.TempFumiK) * CloroKA;
    m.FrazH2O = m.PercVolH2O / Percento;
    m.FrazHCl = m.PercVolHCl / Percento;
    m.FrazO2 = m.PercVolO2 / Percento;
    long long& conta = passi.cloro;
    conta = 0;
    if (m.FrazHCl.v != 0.0) {
        m.FrazCl2 = Cl2Iniziale;
        RivelaCiclo ciclo(m.FrazCl2);
        long long limite = massimoPassi, periodo = 0;
        for (;;) {
            if (++conta > limite) sollevaErroreAritmetico(passaggiSenzaAssestarsi(limite, periodo));
            m.FrazCl2Prova = m.FrazCl2;
            m.ResiduoCloroProva = Cloro(m.CostanteCloro, m.FrazH2O, m.FrazHCl, m.FrazO2, m.FrazCl2Prova);
            m.ResiduoCloro = m.ResiduoCloroProva;
            m.FrazCl2Prova = m.FrazCl2 + PassoDerivata;
            m.ResiduoCloroProva = Cloro(m.CostanteCloro, m.FrazH2O, m.FrazHCl, m.FrazO2, m.FrazCl2Prova);
            // Newton step, the derivative as a forward difference.
            m.FrazCl2Prec = m.FrazCl2;
            m.FrazCl2 = m.FrazCl2Prec - (PassoDerivata * m.ResiduoCloro) / (m.ResiduoCloroProva - m.ResiduoCloro);
            const bool ossigenoBasta = m.FrazO2 >= O2PerCl2 * m.FrazCl2;
            const bool passoGrande = fabs(m.FrazCl2Prec - m.FrazCl2) > SogliaCl2;
            if (!(ossigenoBasta && passoGrande)) break;
            if (const long long l = ciclo.passa(m.FrazCl2)) {
                periodo = l;
                limite = limiteInCiclo(conta, l, massimoPassi);
            }
        }
        if (m.FrazCl2 < 0) m.FrazCl2 = 0;
        m.ConcCl2 = PartiPerMilione * m.FrazCl2;
    } else {
        m.ConcCl2 = 0;
    }
}

}  // namespace termix
