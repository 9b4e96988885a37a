#pragma once
// Reads a whole CSV text into owned records, fed to the reader in blocks, for
// the CSV tests and the CSV fuzzer.
#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/Csv.h"

namespace termix::batch::prova {

struct Letto {
    std::vector<std::string> campi;
    long long linea;
    bool vuoto, nonTerminato;  // nonTerminato: any fault (Difetto)
    bool operator==(const Letto&) const = default;
};

// Readable failure messages in the tests.
inline std::ostream& operator<<(std::ostream& o, const Letto& l) {
    o << "{linea " << l.linea << (l.vuoto ? " vuoto" : "") << (l.nonTerminato ? " aperto" : "") << ":";
    for (const auto& c : l.campi) o << " [" << c << "]";
    return o << "}";
}

// Reads `testo` fed in blocks of `blocco` bytes (0: all at once).
inline std::vector<Letto> leggi(std::string_view testo, size_t blocco = 0, char* separatore = nullptr) {
    LettoreCsv l;
    std::vector<Letto> out;
    auto cb = [&](const RecordCsv& r) {
        Letto x{{}, r.linea, r.vuoto, r.difetto != Difetto::Nessuno};
        for (auto c : r.campi) x.campi.emplace_back(c);
        out.push_back(std::move(x));
    };
    if (blocco == 0) blocco = testo.size() ? testo.size() : 1;
    for (size_t i = 0; i < testo.size(); i += blocco)
        l.alimenta(testo.data() + i, std::min(blocco, testo.size() - i), cb);
    l.fine(cb);
    if (separatore) *separatore = l.separatore();
    return out;
}

}  // namespace termix::batch::prova
