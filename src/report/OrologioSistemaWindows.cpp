#include "report/OrologioSistema.h"

#include <windows.h>

#include <iterator>

#include "report/TestoWindows.h"

namespace termix {

// The user's own short date and long time (Control Panel, Region), as the
// desktop shows them; the current local time when no time is given.
std::string OrologioSistema::Data() {
    wchar_t buffer[128];
    const int n =
        GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, std::size(buffer), nullptr);
    return n > 0 ? windows::Utf8(buffer) : std::string();
}

std::string OrologioSistema::Ora() {
    wchar_t buffer[128];
    const int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, buffer, std::size(buffer));
    return n > 0 ? windows::Utf8(buffer) : std::string();
}

}  // namespace termix
