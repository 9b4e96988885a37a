#include "batch/Csv.h"

#include "model/Formato.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace termix::batch {

std::string_view Rifilato(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::optional<double> LeggiNumeroPunto(std::string_view t) {
    t = Rifilato(t);
    std::string pulito;
    pulito.reserve(t.size() + 2);
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') pulito.push_back('-');
        ++i;
    }
    size_t cifre = 0;
    bool punto = false;
    for (; i < t.size(); ++i) {
        char c = t[i];
        if (c >= '0' && c <= '9') {
            pulito.push_back(c);
            ++cifre;
        } else if (c == '.' && !punto) {
            // from_chars wants a digit before the point.
            if (cifre == 0) pulito.push_back('0');
            pulito.push_back('.');
            punto = true;
        } else {
            break;
        }
    }
    if (cifre == 0) return std::nullopt;
    // from_chars wants a digit after the point too.
    if (pulito.back() == '.') pulito.push_back('0');
    return CompletaNumero(t, i, pulito);
}

}  // namespace termix::batch
