// The wire format of batches and results (see Lotto.h): kept apart from the
// run so the two ends, the reader and a worker with no shared memory, read
// one definition of it.
#include "batch/Lotto.h"

#include <type_traits>

namespace termix::batch {

namespace {

template <class T>
void metti(std::string& s, const T* p, std::size_t n) {
    static_assert(std::is_trivially_copyable_v<T>);
    s.append(reinterpret_cast<const char*>(p), n * sizeof(T));
}

void MettiTesti(std::string& s, const auto& testi) {
    const std::uint64_t n = testi.size();
    metti(s, &n, 1);
    for (std::string_view t : testi) {
        const std::uint64_t k = t.size();
        metti(s, &k, 1);
        s += t;
    }
}

}  // namespace

std::string LottoInByte(const Lotto& l) {
    std::string s;
    const std::uint64_t n[] = {l.rec.size(), l.fini.size()};
    metti(s, n, 2);
    metti(s, l.rec.data(), l.rec.size());
    metti(s, l.fini.data(), l.fini.size());
    s += l.dati;
    return s;
}
void LottoDaByte(std::string_view s, Lotto& l) {
    Lettura x(s);
    l.svuota();
    const auto nRec = x.prendi<std::uint64_t>(), nFini = x.prendi<std::uint64_t>();
    if (nRec > s.size() || nFini > s.size()) throw std::invalid_argument("lotto troncato");
    l.rec.resize(nRec);
    x.prendi(l.rec.data(), l.rec.size());
    l.fini.resize(nFini);
    x.prendi(l.fini.data(), l.fini.size());
    l.dati = x.resto();
    for (const auto& r : l.rec)
        if (r.primo > l.fini.size() || r.campi > l.fini.size() - r.primo) throw std::invalid_argument("lotto incoerente");
    for (std::size_t i = 0, prima = 0; i < l.fini.size(); prima = l.fini[i++])
        if (l.fini[i] < prima || l.fini[i] > l.dati.size()) throw std::invalid_argument("lotto incoerente");
}
std::string EsitoInByte(const Lotto& l) {
    std::string s;
    const std::int64_t n[] = {l.malformati, l.rapportiNonScritti};
    metti(s, n, 2);
    s += l.errori;
    return s;
}
std::vector<std::string> PrendiTesti(Lettura& x) {
    const auto n = x.prendi<std::uint64_t>();
    std::vector<std::string> testi;
    for (std::uint64_t i = 0; i < n; ++i) testi.emplace_back(x.testo(x.prendi<std::uint64_t>()));
    return testi;
}
std::string TestaInByte(CodificaTesto uscita, char sep, std::span<const std::string> conserva,
                        std::span<const std::string_view> campi) {
    std::string s{static_cast<char>(uscita), sep};
    MettiTesti(s, conserva);
    MettiTesti(s, campi);
    return s;
}

}  // namespace termix::batch
