#include "report/OrologioSistema.h"

#include <ctime>
#include <locale.h>

namespace termix {

namespace {

std::string Adesso(const char* formato) {
    // A locale object of our own: the user's LC_TIME from the environment,
    // whatever the process locale is (the batch tool never sets one).
    locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0)) loc = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buffer[128];
    const std::size_t n = strftime_l(buffer, sizeof buffer, formato, &tm, loc);
    freelocale(loc);
    return std::string(buffer, n);
}

}  // namespace

std::string OrologioSistema::Data() { return Adesso("%x"); }
std::string OrologioSistema::Ora() { return Adesso("%X"); }

}  // namespace termix
