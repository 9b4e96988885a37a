#include "report/Codifica.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace termix {

namespace {

// Bytes of the UTF-8 sequence starting with `c` (1 for a stray byte, so a
// malformed input costs one "?" per byte rather than swallowing text).
std::size_t LunghezzaSequenza(unsigned char c) {
    if (c >= 0xF0 && c <= 0xF4) return 4;
    if (c >= 0xE0) return c <= 0xEF ? 3 : 1;
    if (c >= 0xC2) return 2;
    return 1;
}

// Length of the character at the start of `t`, as the converter skips it.
std::size_t LunghezzaCarattere(std::string_view t) {
    std::size_t salto = LunghezzaSequenza(static_cast<unsigned char>(t[0]));
    if (salto > t.size()) salto = t.size();
    for (std::size_t i = 1; i < salto; ++i)
        if ((static_cast<unsigned char>(t[i]) & 0xC0) != 0x80) return i;
    return salto;
}

class Convertitore {
public:
    Convertitore() : cd_(iconv_open("WINDOWS-1252", "UTF-8")) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv: no WINDOWS-1252");
    }
    ~Convertitore() { iconv_close(cd_); }
    Convertitore(const Convertitore&) = delete;
    Convertitore& operator=(const Convertitore&) = delete;
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

}  // namespace

std::string InWindows1252(std::string_view utf8) {
    // One converter per thread, reset before each use: opening one costs
    // more than converting a line.
    thread_local Convertitore conv;
    iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    std::string uscita;
    uscita.reserve(utf8.size());
    char* in = const_cast<char*>(utf8.data());
    std::size_t restanti = utf8.size();
    char buffer[256];
    while (restanti > 0) {
        char* out = buffer;
        std::size_t spazio = sizeof buffer;
        const std::size_t r = iconv(conv.get(), &in, &restanti, &out, &spazio);
        uscita.append(buffer, static_cast<std::size_t>(out - buffer));
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ (not in the code page, or malformed) or EINVAL (cut short):
        // one "?" for the offending character, then carry on after it.
        uscita += '?';
        const std::size_t salto = LunghezzaCarattere({in, restanti});
        in += salto;
        restanti -= salto;
    }
    return uscita;
}

std::size_t CaratteriUtf8(std::string_view utf8) {
    std::size_t n = 0;
    while (!utf8.empty()) {
        utf8.remove_prefix(LunghezzaCarattere(utf8));
        ++n;
    }
    return n;
}

}  // namespace termix
