#include "report/SalvaRapporto.h"

#include "report/Codifica.h"

namespace termix {

std::string NomeFileRapporto(std::string_view digitato) {
    return std::string(digitato) + ".TXT";
}

bool ProduciRapporto(TipoUscita uscita, const SorgenteTesti& sorgente, Orologio& orologio,
                     const LarghezzaTesto& larghezza,
                     const std::function<bool(const RigaFisica&)>& scrivi) {
    for (int n = 1; n <= RigheRapporto; ++n)
        for (const RigaFisica& fisica : Impagina(RigaDelRapporto(n, uscita, sorgente, orologio), larghezza))
            if (!scrivi(fisica)) return false;
    return true;
}

bool SalvaRapporto(const std::string& percorso, const SorgenteTesti& sorgente, Orologio& orologio,
                   FileSystem& fs) {
    std::unique_ptr<FileScrittura> file = fs.Crea(percorso);
    if (!file) return false;
    const bool scritto = ProduciRapporto(
        TipoUscita::File, sorgente, orologio, LarghezzaCaratteri, [&](const RigaFisica& riga) {
            return file->Scrivi(InWindows1252(TestoRiga(riga)) + "\r\n");
        });
    const bool chiuso = file->Chiudi();
    return scritto && chiuso;
}

}  // namespace termix
