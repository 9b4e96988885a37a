// The text conversions against the C library's iconv, over every character
// and every byte they can meet: a wrong entry of a table, a boundary of the
// UTF-8 reader, a surrogate let through would each show somewhere here.
#include <gtest/gtest.h>
#include <iconv.h>

#include <map>
#include <optional>
#include <utility>
#include <string>

#include "report/Codifica.h"

using namespace termix;

namespace {

// iconv's answer, or nothing when it refuses the input.
std::optional<std::string> Iconv(const char* a, const char* da, const std::string& in) {
    // Opening one costs more than a million uses: each pair opened once, closed at the end.
    static struct Aperti {
        std::map<std::pair<std::string, std::string>, iconv_t> m;
        ~Aperti() {
            for (auto& [coppia, c] : m)
                if (c != reinterpret_cast<iconv_t>(-1)) iconv_close(c);
        }
    } aperti;
    iconv_t& c = aperti.m[{a, da}];
    if (!c) c = iconv_open(a, da);
    if (c == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    iconv(c, nullptr, nullptr, nullptr, nullptr);  // a fresh state
    std::string out(in.size() * 4 + 8, '\0');
    char* p = const_cast<char*>(in.data());
    char* q = out.data();
    std::size_t n = in.size(), m = out.size();
    const bool ok = iconv(c, &p, &n, &q, &m) != static_cast<std::size_t>(-1) && iconv(c, nullptr, nullptr, &q, &m) == 0;
    if (!ok) return std::nullopt;
    out.resize(out.size() - m);
    return out;
}

std::string Utf8(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | c >> 6), s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | c >> 12), s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | c >> 18), s += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F)), s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

// UTF-16LE bytes as units.
std::u16string Unita(const std::string& le) {
    std::u16string r;
    for (std::size_t i = 0; i + 1 < le.size(); i += 2)
        r += static_cast<char16_t>(static_cast<unsigned char>(le[i]) | static_cast<unsigned char>(le[i + 1]) << 8);
    return r;
}

std::string DaConvertire(CodificaTesto da, const std::string& in) {
    VersoUtf8 v(da);
    std::string out;
    v.Converti(in, out);
    v.Fine(out);
    return out;
}

}  // namespace

// Each of the 256 bytes of Windows-1252 into UTF-8; the five the code page
// leaves undefined (iconv refuses them) become U+FFFD, the tool's own choice.
TEST(CodificaIconv, Windows1252VersoUtf8OgniByte) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const auto atteso = Iconv("UTF-8", "WINDOWS-1252", byte);
        const bool indefinito = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        EXPECT_EQ(atteso.has_value(), !indefinito) << b;
        EXPECT_EQ(DaConvertire(CodificaTesto::Windows1252, byte), atteso.value_or("\xEF\xBF\xBD")) << b;
    }
}

// Every code point (surrogates aside): into Windows-1252 as iconv gives it, or
// "?" where the code page has no such character; valid UTF-8; through UTF-16
// in both byte orders back to the same UTF-8; into the Windows API's UTF-16
// units as iconv gives them, and back.
TEST(CodificaIconv, OgniCarattere) {
    int diversi = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::string u = Utf8(c);
        std::size_t troncati = 1;
        const std::string w = InWindows1252(u);
        // iconv drops the tag characters U+E0000-E007F; they are "?" here, as any other the code page lacks.
        const bool etichetta = c >= 0xE0000 && c <= 0xE007F;
        bool ok = w == (etichetta ? "?" : Iconv("WINDOWS-1252", "UTF-8", u).value_or("?")) && Utf8Valido(u, troncati) &&
                  troncati == 0;
        if (c % 7 == 0 || c < 0x3000) {  // UTF-16 on a sample of the astral planes, all of the common ones
            const std::string le = *Iconv("UTF-16LE", "UTF-8", u);
            ok = ok && DaConvertire(CodificaTesto::Utf16LE, le) == u &&
                 DaConvertire(CodificaTesto::Utf16BE, *Iconv("UTF-16BE", "UTF-8", u)) == u && Utf16DaUtf8(u) == Unita(le) &&
                 Utf8DaUtf16(Unita(le)) == u;
        }
        if (!ok && ++diversi <= 5) ADD_FAILURE() << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_EQ(diversi, 0);
}

// Two- to four-byte sequences around every boundary of the UTF-8 reader (each
// lead byte, each second byte: overlong forms, surrogates, beyond U+10FFFF):
// valid exactly when iconv takes them, and then read as iconv reads them.
TEST(CodificaIconv, Utf8ComeIconv) {
    int diversi = 0;
    for (int a = 0xC0; a <= 0xFF; ++a)
        for (int b = 0; b < 256; ++b) {
            const int lunghezza = a >= 0xF0 ? 4 : a >= 0xE0 ? 3 : 2;
            const std::string s = std::string{static_cast<char>(a), static_cast<char>(b)} + std::string(lunghezza - 2, '\x80');
            // Through UTF-16, which holds nothing beyond U+10FFFF (glibc's UTF-8 reader takes up to U+1FFFFF).
            const auto u16 = Iconv("UTF-16LE", "UTF-8", s);
            const auto atteso = u16 ? Iconv("UTF-8", "UTF-16LE", *u16) : std::nullopt;
            std::size_t troncati = 0;
            const bool valido = Utf8Valido(s, troncati) && troncati == 0;
            const bool ok = valido == atteso.has_value() && DaConvertire(CodificaTesto::Utf8, s) == atteso.value_or(
                                                                    DaConvertire(CodificaTesto::Utf8, s));
            if (!ok && ++diversi <= 5) ADD_FAILURE() << std::hex << a << " " << b << (valido ? " valido" : " non valido");
        }
    EXPECT_EQ(diversi, 0);
}

// What iconv refuses, for the Windows API: U+FFFD a malformed byte, a
// surrogate without its pair, a character cut short at the end.
TEST(CodificaIconv, Utf16PerLApiDiWindows) {
    const std::u16string f = u"\uFFFD";
    const struct { std::string utf8; std::u16string utf16; } casi[] = {
        {"a\x80" "b", u"a" + f + u"b"}, {"\xED\xA0\x80", f + f + f}, {"x\xE2\x82", u"x" + f + f},
        {"\xF0\x90\x80\x80", u"\U00010000"}, {"", u""},
    };
    for (const auto& c : casi) EXPECT_EQ(Utf16DaUtf8(c.utf8), c.utf16) << c.utf8;
    const struct { std::u16string utf16; std::string utf8; } inversi[] = {
        {u"a" + std::u16string(1, 0xD83D), "a\xEF\xBF\xBD"}, {std::u16string(1, 0xDE00) + u"x", "\xEF\xBF\xBDx"},
        {std::u16string{0xD83D, 0xD83D, 0xDE00}, "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
    };
    for (const auto& c : inversi) EXPECT_EQ(Utf8DaUtf16(c.utf16), c.utf8) << c.utf8;
}
