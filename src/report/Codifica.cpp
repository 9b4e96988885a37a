#include "report/Codifica.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
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
    Convertitore(const char* verso = "WINDOWS-1252", const char* da = "UTF-8") : cd_(iconv_open(verso, da)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv: no ") + da);
    }
    ~Convertitore() { iconv_close(cd_); }
    Convertitore(const Convertitore&) = delete;
    Convertitore& operator=(const Convertitore&) = delete;
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Bytes below 0x80 at the start of `t`: the same in UTF-8, Windows-1252 and
// ASCII, so they skip the converter (most of a CSV file is digits).
std::size_t TrattoAscii(std::string_view t) {
    const auto* p = reinterpret_cast<const unsigned char*>(t.data());
    std::size_t i = 0;
    for (std::uint64_t w; i + 8 <= t.size(); i += 8) {
        std::memcpy(&w, p + i, 8);
        if (w & 0x8080808080808080ull) break;
    }
    while (i < t.size() && p[i] < 0x80) ++i;
    return i;
}

std::size_t TrattoNonAscii(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && static_cast<unsigned char>(t[i]) >= 0x80) ++i;
    return i;
}

}  // namespace

std::string InWindows1252(std::string_view utf8) {
    // One converter per thread, reset before each use: opening one costs
    // more than converting a line.
    thread_local Convertitore conv;
    std::string uscita;
    uscita.reserve(utf8.size());
    while (!utf8.empty()) {
        const std::size_t ascii = TrattoAscii(utf8);
        uscita.append(utf8.data(), ascii);
        utf8.remove_prefix(ascii);
        // The run of other bytes ends where a character does: an ASCII byte
        // never sits inside a UTF-8 sequence.
        const std::size_t altri = TrattoNonAscii(utf8);
        iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(utf8.data());
        std::size_t restanti = altri;
        utf8.remove_prefix(altri);
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

std::optional<Marchio> MarchioIniziale(std::string_view t) {
    if (t.starts_with("\xEF\xBB\xBF")) return Marchio{CodificaTesto::Utf8, 3};
    if (t.starts_with("\xFF\xFE")) return Marchio{CodificaTesto::Utf16LE, 2};
    if (t.starts_with("\xFE\xFF")) return Marchio{CodificaTesto::Utf16BE, 2};
    return std::nullopt;
}

bool Utf8Valido(std::string_view t, std::size_t& troncati) {
    const auto* p = reinterpret_cast<const unsigned char*>(t.data());
    const std::size_t n = t.size();
    troncati = 0;
    std::size_t i = 0;
    while (i < n) {
        // Plain ASCII, eight bytes at a time: most input is nothing else.
        if (std::uint64_t w; i + 8 <= n && (std::memcpy(&w, p + i, 8), (w & 0x8080808080808080ull) == 0)) {
            i += 8;
            continue;
        }
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        // Lead byte: length and the range of the first continuation byte
        // (no overlong forms, no surrogates, nothing above U+10FFFF).
        std::size_t len;
        unsigned char basso = 0x80, alto = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) basso = 0xA0;
            if (c == 0xED) alto = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) basso = 0x90;
            if (c == 0xF4) alto = 0x8F;
        } else {
            return false;
        }
        for (std::size_t k = 1; k < len; ++k) {
            if (i + k == n) {
                troncati = k;
                return true;
            }
            const unsigned char d = p[i + k];
            if (d < (k == 1 ? basso : 0x80) || d > (k == 1 ? alto : 0xBF)) return false;
        }
        i += len;
    }
    return true;
}

struct VersoUtf8::Stato {
    explicit Stato(CodificaTesto da) : conv("UTF-8", Nome(da)), unita(da == CodificaTesto::Utf16LE || da == CodificaTesto::Utf16BE ? 2 : 1) {}
    static const char* Nome(CodificaTesto c) {
        switch (c) {
            case CodificaTesto::Windows1252: return "WINDOWS-1252";
            case CodificaTesto::Utf16LE: return "UTF-16LE";
            case CodificaTesto::Utf16BE: return "UTF-16BE";
            case CodificaTesto::Utf8: break;
        }
        return "UTF-8";
    }
    Convertitore conv;
    std::size_t unita;   // bytes skipped past a malformed sequence
    std::string resto;   // a character cut at the end of the last block
};

VersoUtf8::VersoUtf8(CodificaTesto da) : s_(std::make_unique<Stato>(da)) {}
VersoUtf8::~VersoUtf8() = default;

void VersoUtf8::Converti(std::string_view dati, std::string& out) {
    std::string unito;
    if (!s_->resto.empty()) {
        unito = std::move(s_->resto) + std::string(dati);
        s_->resto.clear();
        dati = unito;
    }
    // UTF-16 goes whole to the converter; the one-byte encodings only in
    // their runs of non-ASCII bytes.
    while (!dati.empty()) {
        std::size_t tratto = dati.size();
        if (s_->unita == 1) {
            const std::size_t ascii = TrattoAscii(dati);
            out.append(dati.data(), ascii);
            dati.remove_prefix(ascii);
            tratto = TrattoNonAscii(dati);
        }
        const bool ultimo = tratto == dati.size();
        char* in = const_cast<char*>(dati.data());
        std::size_t restanti = tratto;
        dati.remove_prefix(tratto);
        iconv(s_->conv.get(), nullptr, nullptr, nullptr, nullptr);
        char buffer[4096];
        while (restanti > 0) {
            char* o = buffer;
            std::size_t spazio = sizeof buffer;
            const std::size_t r = iconv(s_->conv.get(), &in, &restanti, &o, &spazio);
            out.append(buffer, static_cast<std::size_t>(o - buffer));
            if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
            if (errno == EINVAL && ultimo) {  // cut short: the rest comes with the next block
                s_->resto.assign(in, restanti);
                return;
            }
            out += "\xEF\xBF\xBD";
            const std::size_t salto = std::min(s_->unita, restanti);
            in += salto;
            restanti -= salto;
        }
    }
}

void VersoUtf8::Fine(std::string& out) {
    if (!s_->resto.empty()) out += "\xEF\xBF\xBD";
    s_->resto.clear();
}

}  // namespace termix
