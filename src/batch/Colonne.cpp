#include "batch/Colonne.h"

namespace termix::batch {

namespace {
using M = Modulo1;
using T = ColonnaIngresso::Tipo;
constexpr Finestra F2 = Finestra::Form2;
constexpr Finestra F3 = Finestra::Form3;
}  // namespace

const std::array<ColonnaIngresso, NumeroColonneIngresso> ColonneIngresso = {{
    {"Impianto", T::Testo, nullptr, F2, "Text1"},
    {"Combustibile", T::Testo, nullptr, F2, "Text2"},
    {"Tipo", T::Opzione, nullptr, F2, "Option1"},
    {"Composizione", T::Opzione, nullptr, F2, "Option3"},
    {"PortataComb", T::Numero, &M::PortataComb, F2, "Text20"},
    {"AtomiC", T::Numero, &M::AtomiC, F2, "Text3"},
    {"AtomiH", T::Numero, &M::AtomiH, F2, "Text5"},
    {"AtomiO", T::Numero, &M::AtomiO, F2, "Text7"},
    {"AtomiCl", T::Numero, &M::AtomiCl, F2, "Text9"},
    {"AtomiS", T::Numero, &M::AtomiS, F2, "Text11"},
    {"AtomiN", T::Numero, &M::AtomiN, F2, "Text13"},
    {"FrazC", T::Numero, &M::FrazC, F2, "Text4"},
    {"FrazH", T::Numero, &M::FrazH, F2, "Text6"},
    {"FrazO", T::Numero, &M::FrazO, F2, "Text8"},
    {"FrazCl", T::Numero, &M::FrazCl, F2, "Text10"},
    {"FrazS", T::Numero, &M::FrazS, F2, "Text12"},
    {"FrazN", T::Numero, &M::FrazN, F2, "Text14"},
    {"Inerti", T::Numero, &M::Inerti, F2, "Text15"},
    {"Acqua", T::Numero, &M::Acqua, F2, "Text16"},
    {"PotereCalorifico", T::Numero, &M::PotereCalorifico, F3, "Text1"},
    {"EccessoAria", T::Numero, &M::EccessoAria, F3, "Text2"},
    {"TempAria", T::Numero, &M::TempAria, F3, "Text4"},
    {"UmiditaRelativa", T::Numero, &M::UmiditaRelativa, F3, "Text5"},
    {"TempCeneri", T::Numero, &M::TempCeneri, F3, "Text8"},
    {"Dispersioni", T::Numero, &M::Dispersioni, F3, "Text10"},
}};

}  // namespace termix::batch
