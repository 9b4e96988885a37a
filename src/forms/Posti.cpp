#include "forms/Posti.h"

#include <QLineEdit>
#include <QWidget>

#include "forms/GestoreForm.h"
#include "ui/FormBase.h"

namespace termix {

namespace {

using Q = Quantita;
using R = Ruolo;
constexpr Finestra F2 = Finestra::Form2, F3 = Finestra::Form3, F7 = Finestra::Form7, F8 = Finestra::Form8;

const Posto Tabella[] = {
    {Q::Impianto, F2, "Text1"},
    {Q::Combustibile, F2, "Text2"},
    {Q::PortataComb, F2, "Text20"},
    {Q::AtomiC, F2, "Text3"},
    {Q::AtomiH, F2, "Text5"},
    {Q::AtomiO, F2, "Text7"},
    {Q::AtomiCl, F2, "Text9"},
    {Q::AtomiS, F2, "Text11"},
    {Q::AtomiN, F2, "Text13"},
    {Q::FrazC, F2, "Text4"},
    {Q::FrazH, F2, "Text6"},
    {Q::FrazO, F2, "Text8"},
    {Q::FrazCl, F2, "Text10"},
    {Q::FrazS, F2, "Text12"},
    {Q::FrazN, F2, "Text14"},
    {Q::Inerti, F2, "Text15"},
    {Q::Acqua, F2, "Text16"},
    {Q::OssigenoStechiom, F2, "Text17"},
    {Q::OssigenoPonderale, F2, "Text18"},
    {Q::PesoMolecolare, F2, "Text19"},
    {R::Metano, F2, "Option1"},
    {R::Altri, F2, "Option2"},
    {R::Atomica, F2, "Option3"},
    {R::Ponderale, F2, "Option4"},
    {R::Continua, F2, "Command2"},

    {Q::PotereCalorifico, F3, "Text1"},
    {Q::EccessoAria, F3, "Text2"},
    {Q::TempAria, F3, "Text4"},
    {Q::UmiditaRelativa, F3, "Text5"},
    {Q::TempCeneri, F3, "Text8"},
    {Q::Dispersioni, F3, "Text10"},

    {Q::UmiditaSpecifica, F7, "Text19"},
    {Q::PortataC, F7, "Text1"},
    {Q::PortataH, F7, "Text2"},
    {Q::PortataO, F7, "Text3"},
    {Q::PortataCl, F7, "Text4"},
    {Q::PortataS, F7, "Text5"},
    {Q::PortataN, F7, "Text6"},
    {Q::PortataAcqua, F7, "Text7"},
    {Q::PortataInerti, F7, "Text8"},
    {Q::EnergiaIngresso, F7, "Text9"},
    {Q::EnergiaNetta, F7, "Text10"},
    {Q::PortataO2Stech, F7, "Text12"},
    {Q::PortataVolO2Stech, F7, "Text13"},
    {Q::PortataAriaStech, F7, "Text14"},
    {Q::PortataVolAriaStech, F7, "Text15"},
    {Q::PortataAriaEff, F7, "Text16"},
    {Q::PortataVolAriaEff, F7, "Text17"},
    {Q::PortataAcquaUmidita, F7, "Text18"},

    {Q::TempFumi, F8, "Text1"},
    {Q::PesoMolecolareFumi, F8, "Text3"},
    {Q::CaloreSpecificoFumi, F8, "Text4"},
    {Q::CostanteCloro, F8, "Text5"},
    {Q::ConcCl2, F8, "Text6"},
    {Q::PortataVolFumiNormale, F8, "Text7"},
    {Q::PortataVolFumi, F8, "Text8"},
    {Q::KmoliN2, F8, "Text9"},
    {Q::PortataN2, F8, "Text10"},
    {Q::PercVolN2, F8, "Text11"},
    {Q::PercPesoN2, F8, "Text12"},
    {Q::KmoliO2, F8, "Text13"},
    {Q::PortataO2, F8, "Text14"},
    {Q::PercVolO2, F8, "Text15"},
    {Q::PercPesoO2, F8, "Text16"},
    {Q::KmoliCO2, F8, "Text17"},
    {Q::PortataCO2, F8, "Text18"},
    {Q::PercVolCO2, F8, "Text19"},
    {Q::PercPesoCO2, F8, "Text20"},
    {Q::KmoliH2O, F8, "Text21"},
    {Q::PortataH2O, F8, "Text22"},
    {Q::PercVolH2O, F8, "Text23"},
    {Q::PercPesoH2O, F8, "Text24"},
    {Q::KmoliSO2, F8, "Text25"},
    {Q::PortataSO2, F8, "Text26"},
    {Q::PercVolSO2, F8, "Text27"},
    {Q::PercPesoSO2, F8, "Text28"},
    {Q::KmoliHCl, F8, "Text29"},
    {Q::PortataHCl, F8, "Text30"},
    {Q::PercVolHCl, F8, "Text31"},
    {Q::PercPesoHCl, F8, "Text32"},
    {Q::KmoliFumi, F8, "Text33"},
    {Q::PortataFumi, F8, "Text34"},
    {R::TotaleVolume, F8, "Text35"},
    {R::TotalePeso, F8, "Text36"},
};

}  // namespace

std::span<const Posto> Posti() { return Tabella; }

const char* NomeFinestra(Finestra f) {
    switch (f) {
        case Finestra::Form2: return "Form2";
        case Finestra::Form3: return "Form3";
        case Finestra::Form7: return "Form7";
        case Finestra::Form8: return "Form8";
    }
    return "";
}

const Posto* PostoDi(Bersaglio b) {
    for (const Posto& p : Tabella)
        if (p.bersaglio == b) return &p;
    return nullptr;
}

QWidget* ControlloDi(Bersaglio b) {
    const Posto* p = PostoDi(b);
    QWidget* w = p ? GestoreForm::form(p->finestra).findChild<QWidget*>(QString::fromLatin1(p->controllo)) : nullptr;
    if (!w) {
        const std::size_t n = b.index() == 0 ? Indice(std::get<Quantita>(b)) : std::size_t(std::get<Ruolo>(b));
        qFatal("no control shows %s %zu", b.index() == 0 ? "quantity" : "role", n);
    }
    return w;
}

std::string TestoDi(Bersaglio b) {
    auto* casella = qobject_cast<QLineEdit*>(ControlloDi(b));
    if (!casella) qFatal("%s is no text box", qPrintable(ControlloDi(b)->objectName()));
    return casella->text().toStdString();
}

}  // namespace termix
