// The batch tool's CSV reader on arbitrary bytes: the records must not depend
// on how the input is cut into blocks, every complete record written back
// with the tool's quoting must read back the same, and a number read in the
// ',' convention must survive the tool's writing to the bit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../tests/batch/LetturaCsv.h"
#include "batch/Csv.h"
#include "model/Formato.h"

using namespace termix::batch;
using namespace termix::batch::prova;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    if (n == 0) return 0;
    const size_t blocco = 1 + dati[0] % 7;
    const char* p = reinterpret_cast<const char*>(dati + 1);
    --n;

    char sep = 0, sep2 = 0;
    const auto intero = leggi({p, n}, 0, &sep);
    const auto aPezzi = leggi({p, n}, blocco, &sep2);
    if (intero != aPezzi || sep != sep2) std::abort();
    // Blank records decide no separator; the first other one does.
    const bool intestazione = std::any_of(intero.begin(), intero.end(), [](const auto& r) { return !r.vuoto; });
    if (intestazione && sep != ';' && sep != ',') std::abort();

    // Write the complete records back and read them again.
    const char sepScritto = sep ? sep : ';';
    std::string testo = std::string("h") + sepScritto + "k\r\n";
    std::vector<std::vector<std::string>> scritti;
    for (const auto& r : intero) {
        if (r.nonTerminato) continue;
        for (size_t i = 0; i < r.campi.size(); ++i) {
            if (i) testo.push_back(sepScritto);
            ScriviCampo(testo, r.campi[i], sepScritto);
        }
        testo += "\r\n";
        scritti.push_back(r.campi);
    }
    char sep3 = 0;
    const auto riletti = leggi(testo, 0, &sep3);
    if (riletti.size() != scritti.size() + 1) std::abort();
    for (size_t i = 0; i < scritti.size(); ++i)
        if (riletti[i + 1].campi != scritti[i] || riletti[i + 1].nonTerminato) std::abort();

    for (const auto& r : intero)
        for (const auto& c : r.campi) {
            if (auto v = LeggiNumeroPunto(c)) {
                std::string s;
                ScriviNumero(s, *v, ',');
                auto w = LeggiNumeroPunto(s);
                const double atteso = *v == 0.0 ? 0.0 : *v;  // "0" for either zero
                if (!w || std::memcmp(&*w, &atteso, sizeof atteso) != 0) std::abort();
            }
            (void)termix::LeggiNumero(c);
        }
    return 0;
}
