#pragma once
// The rows of Andamento.tsv beside this header: what the Andamento boxes refuse
// and answer, replayed on every face.
#include <fstream>
#include <string>
#include <vector>

namespace termix::prova {

struct RigaAndamento {
    std::string casella, testo, messaggio, fuoco, poi;
};

inline std::vector<RigaAndamento> RigheAndamento() {
    const std::string qui = __FILE__;
    std::ifstream f(qui.substr(0, qui.find_last_of("/\\") + 1) + "Andamento.tsv");
    std::vector<RigaAndamento> righe;
    for (std::string r; std::getline(f, r);) {
        if (r.empty() || r[0] == '#') continue;
        std::string campi[5];
        for (int k = 0, i = 0; k < 5; ++k) {
            const auto tab = r.find('\t', i);
            campi[k] = r.substr(i, tab == std::string::npos ? std::string::npos : tab - i);
            i = tab == std::string::npos ? int(r.size()) : int(tab) + 1;
        }
        righe.push_back({campi[0], campi[1], campi[2], campi[3], campi[4]});
    }
    return righe;
}

}  // namespace termix::prova
