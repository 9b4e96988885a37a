#include "batch/ColonneVerifica.h"

#include "batch/Csv.h"
#include "model/Formato.h"
#include "model/Messaggi.h"

namespace termix::batch {

namespace {

std::optional<double> numero(std::string_view t) {
    return t.find(',') != std::string_view::npos ? LeggiNumero(t) : LeggiNumeroPunto(t);
}

bool stessoNome(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto m = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (m(a[i]) != m(b[i])) return false;
    }
    return true;
}

// The result columns, in the order written.
constexpr const char* NomiRisultati[] = {
    "TempFumiRif", "VolumeCamera", "VelocitaCamera", "LunghezzaCamera", "O2Secco",           "HClRif",
    "SO2Rif",      "Cl2Rif",       "RugiadaAcqua",   "RugiadaSolforica", "RugiadaCloridrica", "Verdetto",
};

}  // namespace

const std::array<const char*, NumeroColonneExtra> ColonneExtra = {
    "SupportoTipo",   "SupportoPortata", "SupportoPotereCalorifico", "SupportoFrazC",   "SupportoFrazH",
    "SupportoFrazO",  "SupportoFrazCl",  "SupportoFrazS",            "SupportoFrazN",   "SupportoInerti",
    "SupportoAcqua",  "TempoPermanenza", "DiametroCamera",           "O2Riferimento",   "ConversioneSO3",
    "ObiettivoRif",
};

std::optional<std::string> LeggiModello(std::string_view testo, OpzioniVerifica& o) {
    if (stessoNome(testo, "tabella")) o.parametri.modello = ModelloTemperatura::Tabella;
    else if (stessoNome(testo, "nasa")) o.parametri.modello = ModelloTemperatura::Nasa;
    else return "--modello: \"" + std::string(testo) + "\" sconosciuto (tabella o nasa)";
    return std::nullopt;
}

std::optional<std::string> LeggiParametro(std::string_view opzione, std::string_view testo, OpzioniVerifica& o) {
    ParametriVerifica p = o.parametri;
    if (opzione == "--o2-riferimento" && stessoNome(testo, "nessuno")) {
        p.o2Riferimento.reset();
    } else {
        const auto v = numero(testo);
        if (!v) return std::string(opzione) + ": numero non valido: \"" + std::string(testo) + "\"";
        if (opzione == "--permanenza") p.tempoPermanenza = *v;
        else if (opzione == "--o2-riferimento") p.o2Riferimento = *v;
        else if (opzione == "--conversione-so3") p.conversioneSO3 = *v;
        else if (opzione == "--obiettivo-rif") o.obiettivoRif = *v;
    }
    if (auto errore = ControllaParametri(p)) return std::string(opzione) + ": " + *errore;
    o.parametri = p;
    return std::nullopt;
}

DifettoExtra LeggiExtra(std::span<const int> campoExtra, std::span<const std::string_view> campi, char sep,
                        const OpzioniVerifica& o, ExtraRecord& out, std::string& messaggio) {
    out = ExtraRecord{};
    out.parametri = o.parametri;
    out.obiettivoRif = o.obiettivoRif;
    auto cella = [&](int k) -> std::string_view {
        const int pos = campoExtra[static_cast<size_t>(k)];
        return pos < 0 || static_cast<size_t>(pos) >= campi.size() ? std::string_view() : Rifilato(campi[pos]);
    };
    const std::string_view tipo = cella(ExSupportoTipo);
    if (tipo.empty()) out.supporto.tipo = TipoSupporto::Nessuno;
    else if (stessoNome(tipo, "Metano")) out.supporto.tipo = TipoSupporto::Metano;
    else if (stessoNome(tipo, "Ponderale")) out.supporto.tipo = TipoSupporto::Ponderale;
    else {
        messaggio = "SupportoTipo sconosciuto: \"" + std::string(tipo) + "\" (Metano o Ponderale)";
        return DifettoExtra::Sconosciuto;
    }
    // Numbers in file order of the columns, as the usual cells: the first bad one is told.
    std::array<std::optional<double>, NumeroColonneExtra> v{};
    for (int k = ExSupportoPortata; k < NumeroColonneExtra; ++k) {
        const std::string_view t = cella(k);
        if (t.empty()) continue;
        if (k == ExO2Riferimento && stessoNome(t, "nessuno")) continue;
        v[k] = sep == ';' ? LeggiNumero(t) : LeggiNumeroPunto(t);
        if (!v[k]) {
            messaggio = (sep == ';' && t.back() == '.') ? messaggi::UsareVirgola : messaggi::UsareNumeri;
            return sep == ';' && t.back() == '.' ? DifettoExtra::PuntoInvece : DifettoExtra::NonNumero;
        }
    }
    if (v[ExSupportoPortata]) out.supporto.portata = *v[ExSupportoPortata];
    if (v[ExSupportoPotere]) out.supporto.potereCalorifico = *v[ExSupportoPotere];
    for (int k = ExPrimaFrazione; k <= ExUltimaFrazione; ++k)
        out.supporto.frazioni[static_cast<size_t>(k - ExPrimaFrazione)] = v[k].value_or(0);
    if (v[ExTempoPermanenza]) out.parametri.tempoPermanenza = *v[ExTempoPermanenza];
    if (v[ExDiametroCamera]) out.parametri.diametro = *v[ExDiametroCamera];
    if (stessoNome(cella(ExO2Riferimento), "nessuno")) out.parametri.o2Riferimento.reset();
    else if (v[ExO2Riferimento]) out.parametri.o2Riferimento = *v[ExO2Riferimento];
    if (v[ExConversioneSO3]) out.parametri.conversioneSO3 = *v[ExConversioneSO3];
    if (v[ExObiettivoRif]) out.obiettivoRif = *v[ExObiettivoRif];
    std::optional<std::string> errore = ControllaSupporto(out.supporto);
    if (!errore) errore = ControllaParametri(out.parametri);
    if (errore) {
        messaggio = *errore;
        return DifettoExtra::FuoriIntervallo;
    }
    return DifettoExtra::Nessuno;
}

void ScriviNomiVerifica(std::string& out, char sep) {
    for (const char* n : NomiRisultati) {
        out.push_back(sep);
        out += n;
    }
}

void ScriviVerifica(std::string& out, const RisultatiVerifica* r, char sep) {
    if (!r) {
        out.append(std::size(NomiRisultati), sep);
        return;
    }
    for (const auto& x : {r->TempFumiRif, r->VolumeCamera, r->VelocitaCamera, r->LunghezzaCamera, r->O2Secco,
                          r->HClRif, r->SO2Rif, r->Cl2Rif, r->RugiadaAcqua, r->RugiadaSolforica,
                          r->RugiadaCloridrica}) {
        out.push_back(sep);
        if (x) ScriviNumero(out, *x, sep);
    }
    out.push_back(sep);
    ScriviCampo(out, r->nonRiferibile.empty() ? r->verdetto : r->verdetto + " | " + r->nonRiferibile, sep);
}

}  // namespace termix::batch
