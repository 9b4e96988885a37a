// The per-record processing of a batch and the messages it leaves for stderr,
// in one place so the threaded run, the run in line and the browser's workers
// give the same bytes.
#include "batch/Elabora.h"

#include <utility>

#include "batch/Comune.h"
#include "batch/Variando.h"

namespace termix::batch {

namespace {

// The report's boxes as the forms would show them for this record.
class TestiVista : public SorgenteTesti {
public:
    explicit TestiVista(const VistaForme& v) : v_(v) {}
    std::string Testo(Bersaglio b) const override { return v_.testo(b); }

private:
    const VistaForme& v_;
};

}  // namespace

std::string Linee(long long prima, long long ultima) {
    if (ultima <= prima) return "linea " + std::to_string(prima);
    return "linee " + std::to_string(prima) + "-" + std::to_string(ultima);
}

void elabora(const Intestazione& h, Lotto& l, std::vector<std::string_view>& campi, RisultatoRecord& r,
             Rapporti& rapporti, const Variando* variando) {
    std::vector<std::pair<double, Dettaglio>> fermati;
    for (const auto& rec : l.rec) {
        campi.clear();
        std::size_t inizio = rec.primo == 0 ? 0 : l.fini[rec.primo - 1];
        for (std::size_t k = 0; k < rec.campi; ++k) {
            std::size_t fine = l.fini[rec.primo + k];
            campi.emplace_back(l.dati.data() + inizio, fine - inizio);
            inizio = fine;
        }
        if (variando) {  // its records written already
            fermati.clear();
            ElaboraVariando(h, campi, rec.difetto, rec.riga, *variando, r, l.uscita, fermati);
            for (const auto& [valore, d] : fermati) {
                std::string x;
                ScriviNumero(x, valore, h.separatore);
                l.errori += std::string(Programma) + ": riga " + std::to_string(rec.riga) + " (" +
                            Linee(rec.linea, rec.ultimaLinea) + "), " + NomeColonnaVariata(*variando) + " = " + x + ": " +
                            d.testo() + "\n";
            }
        }
        else
            ElaboraRecord(h, campi, rec.difetto, r, rapporti.cartella ? &rapporti.vista : nullptr);
        if (!variando && rapporti.cartella && r.stato == RisultatoRecord::Stato::Completato) {
            std::string file, perche;
            if (!rapporti.cartella->Scrivi(rec.riga, TestiVista(rapporti.vista), rapporti.orologio, file, perche)) {
                r.esito += " | Rapporto non scritto";
                ++l.rapportiNonScritti;
                l.errori += std::string(Programma) + ": riga " + std::to_string(rec.riga) +
                            ": impossibile scrivere il rapporto " + file + ": " + perche + "\n";
            }
        }
        if (!variando) {
            ScriviRecord(l.uscita, h, rec.riga, campi, r);
            l.completati += r.esito == "OK";
            l.conAvvisi += !r.avvisi.empty();
        }
        if (r.stato == RisultatoRecord::Stato::Fermato && !r.dettaglio.causa.empty())
            l.errori += std::string(Programma) + ": riga " + std::to_string(rec.riga) + " (" +
                        Linee(rec.linea, rec.ultimaLinea) + "): " + r.dettaglio.testo() + "\n";
        if (!variando)
            for (const Avviso& a : r.avvisi)
                l.errori += std::string(Programma) + ": riga " + std::to_string(rec.riga) + " (" +
                            Linee(rec.linea, rec.ultimaLinea) + "): avviso: " + a.testo + "\n";
        if (r.stato == RisultatoRecord::Stato::Malformato) {
            ++l.malformati;
            l.errori += std::string(Programma) + ": riga " + std::to_string(rec.riga) + " (" +
                        Linee(rec.linea, rec.ultimaLinea) + "): " + r.diagnosi;
            if (rec.ripreso)
                l.errori += "; la linea " + std::to_string(rec.linea) + " è persa, la lettura riprende dalla linea " +
                            std::to_string(rec.linea + 1);
            l.errori += "\n";
        }
    }
}

}  // namespace termix::batch
