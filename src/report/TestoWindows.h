#pragma once
// UTF-8 inside the program, UTF-16 at the Windows API: paths, arguments and
// the user's locale texts cross here, through the converters every build tests.
#include <string>
#include <string_view>

#include "report/Codifica.h"

namespace termix::windows {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the Windows API's wide characters are UTF-16 units");

inline std::wstring Utf16(std::string_view utf8) {
    const std::u16string r = Utf16DaUtf8(utf8);
    return {r.begin(), r.end()};
}

inline std::string Utf8(std::wstring_view utf16) { return Utf8DaUtf16(std::u16string(utf16.begin(), utf16.end())); }

// A NUL-terminated text from the API, without its terminator.
inline std::string Utf8(const wchar_t* utf16) { return Utf8(std::wstring_view(utf16)); }

}  // namespace termix::windows
