#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace termix {

// UTF-8 to Windows-1252 through iconv, one byte per character; a character
// the code page lacks (or a malformed byte) becomes "?".
std::string InWindows1252(std::string_view utf8);

// Characters of a UTF-8 text as InWindows1252 counts them: the bytes it
// will give, so padding in the file stays aligned even for malformed text.
std::size_t CaratteriUtf8(std::string_view utf8);

}  // namespace termix
