#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace termix {

// UTF-8 to Windows-1252, one byte per character; a character the code page
// lacks (or a malformed sequence) becomes "?".
std::string InWindows1252(std::string_view utf8);

// Characters of a UTF-8 text as InWindows1252 counts them: the bytes it
// will give, so padding in the file stays aligned even for malformed text.
std::size_t CaratteriUtf8(std::string_view utf8);

// UTF-8 to UTF-16 and back, for the Windows API and console: a malformed
// byte, or a surrogate without its pair, becomes U+FFFD.
std::u16string Utf16DaUtf8(std::string_view utf8);
std::string Utf8DaUtf16(std::u16string_view utf16);

// The encodings of the text files the batch tool reads and writes.
enum class CodificaTesto { Utf8, Windows1252, Utf16LE, Utf16BE };

// The encoding a byte-order mark at the start of `inizio` announces, and the
// mark's length; nothing without a mark (or with too few bytes to tell).
struct Marchio {
    CodificaTesto codifica;
    std::size_t lunghezza;
};
std::optional<Marchio> MarchioIniziale(std::string_view inizio);

// Whether `t` is valid UTF-8. A sequence cut short at the very end counts as
// valid: `troncati` gets its bytes (0 otherwise), to be checked again in
// front of the next block.
bool Utf8Valido(std::string_view t, std::size_t& troncati);

// Streaming conversion into UTF-8: blocks of any size; a
// character cut at the end of a block waits for the next one. A malformed
// sequence, or a byte the code page leaves undefined, becomes U+FFFD.
class VersoUtf8 {
public:
    explicit VersoUtf8(CodificaTesto da);
    ~VersoUtf8();
    VersoUtf8(const VersoUtf8&) = delete;
    VersoUtf8& operator=(const VersoUtf8&) = delete;
    // Appends the UTF-8 of `dati` to `out`.
    void Converti(std::string_view dati, std::string& out);
    // End of input: a character still cut short becomes U+FFFD.
    void Fine(std::string& out);

private:
    struct Stato;
    std::unique_ptr<Stato> s_;
};

}  // namespace termix
