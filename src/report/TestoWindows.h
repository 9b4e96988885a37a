#pragma once
// UTF-8 inside the program, UTF-16 at the Windows API: paths, arguments and
// the user's locale texts cross here. Windows builds only.
#include <windows.h>

#include <string>
#include <string_view>

namespace termix::windows {

inline std::wstring Utf16(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring r(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), r.data(), n);
    return r;
}

inline std::string Utf8(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string r(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), r.data(), n, nullptr, nullptr);
    return r;
}

// A NUL-terminated text from the API, without its terminator.
inline std::string Utf8(const wchar_t* utf16) { return Utf8(std::wstring_view(utf16)); }

}  // namespace termix::windows
