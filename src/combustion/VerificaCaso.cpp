#include "combustion/VerificaCaso.h"

#include <cmath>
#include <string_view>

#include "model/Formato.h"
#include "model/Messaggi.h"
#include "report/Codifica.h"

namespace termix {

namespace {

// The window's texts of the results of a completed run.
std::string TestoRisultato(std::string_view n, const Modulo1& m, const RisultatiVerifica& r) {
    if (n == "TempFumi") return FormatoTroncato(m.TempFumi.v, 1);
    if (n == "Differenza") return r.Differenza ? FormatoTroncato(*r.Differenza, 1) : "\u2014";
    const std::optional<double> RisultatiVerifica::*campi[] = {
        &RisultatiVerifica::TempFumiRif,      &RisultatiVerifica::VolumeCamera,   &RisultatiVerifica::VelocitaCamera,
        &RisultatiVerifica::LunghezzaCamera,  &RisultatiVerifica::O2Secco,        &RisultatiVerifica::HClRif,
        &RisultatiVerifica::SO2Rif,           &RisultatiVerifica::Cl2Rif,         &RisultatiVerifica::RugiadaAcqua,
        &RisultatiVerifica::RugiadaSolforica, &RisultatiVerifica::RugiadaCloridrica};
    const char* const nomi[] = {"TempFumiRif", "VolumeCamera", "VelocitaCamera", "LunghezzaCamera",
                                "O2Secco",     "HClRif",       "SO2Rif",         "Cl2Rif",
                                "RugiadaAcqua", "RugiadaSolforica", "RugiadaCloridrica"};
    for (std::size_t k = 0; k < std::size(nomi); ++k)
        if (n == nomi[k]) return TestoVoce(nomi[k], r.*campi[k]);
    return {};
}

std::string ConUnita(std::string etichetta, const char* unita) {
    return *unita ? etichetta + " [" + unita + "]" : etichetta;
}

}  // namespace

std::string EtichettaVerifica(std::string_view nome) {
    for (std::size_t k = 0; k < std::size(NomiFrazioni); ++k)
        if (nome == CaselleVerifica[2 + k]) return NomiFrazioni[k];
    if (nome == "TempFumi") return ConUnita(std::string(Info(Quantita::TempFumi).etichetta) + " (tabella)", Info(Quantita::TempFumi).unita);
    if (nome == "Differenza") return "Differenza NASA - tabella [°C]";
    if (nome == "Modello") return "Modello";
    if (nome == "Obiettivo") return "Obiettivo [°C]";
    const std::string n(nome);
    const Grandezza& g = Voce(n.c_str());
    if (nome == "SupportoTipo") {  // the choices are in the list
        const std::string e = g.etichetta;
        return e.substr(0, e.find(" ("));
    }
    if (nome == "O2Riferimento") return g.etichetta;
    if (nome == "SupportoPortata") return ConUnita("Portata", g.unita);
    if (nome == "SupportoPotereCalorifico") return ConUnita("Potere calorifico", g.unita);
    return ConUnita(g.etichetta, g.unita);
}

LetturaVerifica LeggiVerifica(const std::function<std::string(const char*)>& testo, SceltaVerifica scelta) {
    LetturaVerifica l;
    // A box left empty is no value; anything else must read as a number.
    auto leggi = [&](const char* casella, std::optional<double>& valore) {
        std::string t = testo(casella);
        const char* const spazi = " \t\n\v\f\r";
        const auto inizio = t.find_first_not_of(spazi);
        t = inizio == std::string::npos ? std::string() : t.substr(inizio, t.find_last_not_of(spazi) - inizio + 1);
        valore.reset();
        if (t.empty()) return true;
        if ((valore = LeggiNumero(t))) return true;
        l.messaggio = t.back() == '.' ? messaggi::UsareVirgola : messaggi::UsareNumeri;
        l.casella = casella;
        return false;
    };
    std::optional<double> v[std::size(CaselleVerifica)];
    for (std::size_t k = 0; k < std::size(CaselleVerifica); ++k)
        if (!leggi(CaselleVerifica[k], v[k])) return l;
    Supporto& s = l.supporto;
    ParametriVerifica& p = l.parametri;
    s.tipo = static_cast<TipoSupporto>(scelta.supporto);
    s.portata = v[0].value_or(0);
    s.potereCalorifico = v[1].value_or(0);
    for (std::size_t k = 0; k < 8; ++k) s.frazioni[k] = v[2 + k].value_or(0);
    p.tempoPermanenza = v[10].value_or(0);
    p.diametro = v[11];  // empty: no chamber bore given
    const double o2[] = {11, 6, 3};
    p.o2Riferimento = scelta.o2 < 3 ? std::optional<double>(o2[scelta.o2]) : std::nullopt;
    p.conversioneSO3 = v[12].value_or(0);
    p.modello = scelta.modello == 0 ? ModelloTemperatura::Nasa : ModelloTemperatura::Tabella;
    l.obiettivo = v[13].value_or(0);
    p.obiettivo = l.obiettivo;
    std::optional<std::string> errore = ControllaSupporto(s);
    if (!errore) errore = ControllaParametri(p);
    if (errore) l.messaggio = *errore;
    return l;
}

std::string DescriviSupporto(const Supporto& s) {
    if (!ConSupporto(s)) return "nessuno";
    std::string t = s.tipo == TipoSupporto::Metano ? "Metano" : "Ponderale";
    t += ", " + TestoNumero(s.portata) + " kg/h";
    if (s.tipo == TipoSupporto::Ponderale) {
        t += ", " + TestoNumero(s.potereCalorifico) + " kcal/kg, frazioni";
        for (std::size_t k = 0; k < 8; ++k) t += std::string(" ") + NomiFrazioni[k] + " " + TestoNumero(s.frazioni[k]);
    }
    return t;
}

EsitoVerifica EseguiVerifica(const IngressiCaso& caso, const LetturaVerifica& l) {
    EsitoVerifica esito;
    Modulo1 m;
    const EsitoOperazione e = CalcolaCasoConSupporto(caso, l.supporto, m);
    if (!e.completato) {  // the stop's message, and no verdict
        for (const char* n : RisultatiVerificaNomi) esito.testi.emplace_back(n, std::string());
        esito.verdetto = "Calcolo interrotto: " + TestoEsito(e);
        return esito;
    }
    const RisultatiVerifica r = CalcolaVerifica(m, l.parametri);
    for (const char* n : RisultatiVerificaNomi) esito.testi.emplace_back(n, TestoRisultato(n, m, r));
    esito.verdetto = r.nonRiferibile.empty() ? r.verdetto : r.verdetto + " | " + r.nonRiferibile;
    esito.righe = RigheVerifica(m, r, l.parametri, DescriviSupporto(l.supporto));
    esito.completato = true;
    return esito;
}

std::string TestoObiettivoNormativo(const IngressiCaso& caso) {
    Modulo1 combustibile;
    CombustibileCaso(caso, combustibile);
    return TestoNumero(ObiettivoNormativo(combustibile));
}

std::string ByteRighe(const std::vector<std::string>& righe) {
    std::string testo;
    for (const auto& r : righe) testo += r + "\r\n";
    return InWindows1252(testo);
}

EsitoTrova TrovaSupportoVerifica(const IngressiCaso& caso, const LetturaVerifica& l) {
    EsitoTrova t;
    if (l.supporto.tipo == TipoSupporto::Nessuno) {
        t.messaggio = "Scegliere il combustibile di supporto (Metano o Ponderale)";
        t.casella = "SupportoTipo";
        return t;
    }
    t.ricerca = TrovaSupporto(caso, l.supporto, l.parametri.modello, l.obiettivo);
    // The case again at the flow found (to 0.01 kg/h, on the side that meets the target).
    if (t.ricerca.esito == RicercaSupporto::Esito::Trovato)
        t.portata = TestoNumero(std::ceil(t.ricerca.portata * 100) / 100);
    else if (t.ricerca.esito == RicercaSupporto::Esito::NonNecessario)
        t.portata = "0";
    return t;
}

}  // namespace termix
