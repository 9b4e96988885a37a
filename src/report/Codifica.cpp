#include "report/Codifica.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace termix {

namespace {

constexpr char32_t Sostituto = 0xFFFD;

// Windows-1252 from 0x80 to 0x9F; 0 where the code page defines nothing.
// Every other byte is the Latin-1 character of the same number.
constexpr char16_t Da80a9F[] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The Windows-1252 byte for a character, or '?' when the code page lacks it.
char InCodePage(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    const auto* i = std::find(std::begin(Da80a9F), std::end(Da80a9F), c);
    return i == std::end(Da80a9F) ? '?' : static_cast<char>(0x80 + (i - Da80a9F));
}

void AggiungiUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

enum class Esito { Carattere, Troncato, NonValido };

// Reads the UTF-8 character at the start of `t`, which begins with a byte of
// 0x80 or more (ASCII is copied before, in runs): its code point and length;
// Troncato when `t` ends after a lead byte and continuation bytes only.
// No overlong forms, no surrogates, nothing above U+10FFFF.
Esito LeggiUtf8(std::string_view t, char32_t& c, std::size_t& lunghezza) {
    const auto* p = reinterpret_cast<const unsigned char*>(t.data());
    const unsigned char b = p[0];
    unsigned char basso = 0x80, alto = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        lunghezza = 2;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        lunghezza = 3;
        c = b & 0x0F;
        if (b == 0xE0) basso = 0xA0;
        if (b == 0xED) alto = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        lunghezza = 4;
        c = b & 0x07;
        if (b == 0xF0) basso = 0x90;
        if (b == 0xF4) alto = 0x8F;
    } else {
        return Esito::NonValido;
    }
    if (t.size() < lunghezza) {
        // Cut short: judged whole once the rest has come.
        for (std::size_t k = 1; k < t.size(); ++k)
            if ((p[k] & 0xC0) != 0x80) return Esito::NonValido;
        return Esito::Troncato;
    }
    for (std::size_t k = 1; k < lunghezza; ++k) {
        const unsigned char d = p[k];
        if (d < (k == 1 ? basso : 0x80) || d > (k == 1 ? alto : 0xBF)) return Esito::NonValido;
        c = (c << 6) | (d & 0x3F);
    }
    return Esito::Carattere;
}

// Bytes of the UTF-8 sequence starting with `c` (1 for a stray byte, so a
// malformed input costs one "?" per byte rather than swallowing text).
std::size_t LunghezzaSequenza(unsigned char c) {
    if (c >= 0xF0 && c <= 0xF4) return 4;
    if (c >= 0xE0) return c <= 0xEF ? 3 : 1;
    if (c >= 0xC2) return 2;
    return 1;
}

// Length of the character at the start of `t`, as InWindows1252 skips it.
std::size_t LunghezzaCarattere(std::string_view t) {
    std::size_t salto = LunghezzaSequenza(static_cast<unsigned char>(t[0]));
    if (salto > t.size()) salto = t.size();
    for (std::size_t i = 1; i < salto; ++i)
        if ((static_cast<unsigned char>(t[i]) & 0xC0) != 0x80) return i;
    return salto;
}

// Bytes below 0x80 at the start of `t`: the same in UTF-8, Windows-1252 and
// ASCII, so they are copied as they are (most of a CSV file is digits).
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

}  // namespace

std::string InWindows1252(std::string_view utf8) {
    std::string uscita;
    uscita.reserve(utf8.size());
    while (!utf8.empty()) {
        const std::size_t ascii = TrattoAscii(utf8);
        uscita.append(utf8.data(), ascii);
        utf8.remove_prefix(ascii);
        if (utf8.empty()) break;
        char32_t c;
        std::size_t n;
        if (LeggiUtf8(utf8, c, n) == Esito::Carattere) {
            uscita += InCodePage(c);
        } else {
            // Malformed or cut short: one "?" for the whole broken character.
            uscita += '?';
            n = LunghezzaCarattere(utf8);
        }
        utf8.remove_prefix(n);
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

std::u16string Utf16DaUtf8(std::string_view utf8) {
    std::u16string r;
    r.reserve(utf8.size());
    while (!utf8.empty()) {
        char32_t c = static_cast<unsigned char>(utf8[0]);
        std::size_t n = 1;
        if (c >= 0x80 && LeggiUtf8(utf8, c, n) != Esito::Carattere) c = Sostituto, n = 1;
        if (c >= 0x10000) {
            r += static_cast<char16_t>(0xD800 | (c - 0x10000) >> 10);
            c = 0xDC00 | (c & 0x3FF);
        }
        r += static_cast<char16_t>(c);
        utf8.remove_prefix(n);
    }
    return r;
}

std::string Utf8DaUtf16(std::u16string_view utf16) {
    std::string byte;  // little-endian, as the file reader takes it
    for (const char16_t u : utf16) byte += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    VersoUtf8 v(CodificaTesto::Utf16LE);
    std::string r;
    v.Converti(byte, r);
    v.Fine(r);
    return r;
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
    // Plain ASCII skipped in runs (most input is nothing else), then one character.
    while ((i += TrattoAscii(t.substr(i))) < n) {
        const unsigned char c = p[i];
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
    explicit Stato(CodificaTesto c) : da(c) {}
    CodificaTesto da;
    std::string resto;  // a character cut at the end of the last block
};

VersoUtf8::VersoUtf8(CodificaTesto da) : s_(std::make_unique<Stato>(da)) {}
VersoUtf8::~VersoUtf8() = default;

namespace {

// Each converter consumes whole characters from `dati` and stops before one
// cut short by the end, which waits for the next block.

void DaWindows1252(std::string_view& dati, std::string& out) {
    while (!dati.empty()) {
        const std::size_t ascii = TrattoAscii(dati);
        out.append(dati.data(), ascii);
        dati.remove_prefix(ascii);
        if (dati.empty()) break;
        const auto b = static_cast<unsigned char>(dati[0]);
        const char32_t c = b >= 0xA0 ? char32_t{b} : char32_t{Da80a9F[b - 0x80]};
        AggiungiUtf8(c != 0 ? c : Sostituto, out);
        dati.remove_prefix(1);
    }
}

// A malformed sequence costs one U+FFFD per byte, so the text after it is
// read again from the next byte.
void DaUtf8(std::string_view& dati, std::string& out) {
    while (!dati.empty()) {
        const std::size_t ascii = TrattoAscii(dati);
        out.append(dati.data(), ascii);
        dati.remove_prefix(ascii);
        if (dati.empty()) break;
        char32_t c;
        std::size_t n;
        const Esito e = LeggiUtf8(dati, c, n);
        if (e == Esito::Troncato) return;
        if (e == Esito::Carattere) {
            out.append(dati.data(), n);
        } else {
            AggiungiUtf8(Sostituto, out);
            n = 1;
        }
        dati.remove_prefix(n);
    }
}

// A surrogate without its pair costs one U+FFFD per unit.
void DaUtf16(std::string_view& dati, bool grande, std::string& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(dati.data());
    auto unita = [&](std::size_t i) -> char32_t {
        return grande ? (p[i] << 8) | p[i + 1] : p[i] | (p[i + 1] << 8);
    };
    std::size_t i = 0;
    const std::size_t n = dati.size();
    while (i + 2 <= n) {
        const char32_t u = unita(i);
        if (u < 0xD800 || u > 0xDFFF) {
            AggiungiUtf8(u, out);
            i += 2;
        } else if (u >= 0xDC00) {
            AggiungiUtf8(Sostituto, out);
            i += 2;
        } else if (i + 4 > n) {
            break;
        } else if (const char32_t v = unita(i + 2); v >= 0xDC00 && v <= 0xDFFF) {
            AggiungiUtf8(0x10000 + ((u & 0x3FF) << 10) + (v & 0x3FF), out);
            i += 4;
        } else {
            AggiungiUtf8(Sostituto, out);
            i += 2;
        }
    }
    dati.remove_prefix(i);
}

}  // namespace

void VersoUtf8::Converti(std::string_view dati, std::string& out) {
    std::string unito;
    if (!s_->resto.empty()) {
        unito = std::move(s_->resto) + std::string(dati);
        s_->resto.clear();
        dati = unito;
    }
    out.reserve(out.size() + dati.size() + dati.size() / 2);
    switch (s_->da) {
        case CodificaTesto::Windows1252: DaWindows1252(dati, out); break;
        case CodificaTesto::Utf8: DaUtf8(dati, out); break;
        case CodificaTesto::Utf16LE: DaUtf16(dati, false, out); break;
        case CodificaTesto::Utf16BE: DaUtf16(dati, true, out); break;
    }
    s_->resto.assign(dati);
}

void VersoUtf8::Fine(std::string& out) {
    if (!s_->resto.empty()) AggiungiUtf8(Sostituto, out);
    s_->resto.clear();
}

}  // namespace termix
