#pragma once
#include "report/Rapporto.h"

namespace termix {

// The system clock in the user's regional settings: on POSIX LC_TIME from
// the environment, the locale's date form (%x) and time form (%X, which has
// seconds in every locale glibc ships); on Windows the user's short date and
// long time.
class OrologioSistema : public Orologio {
public:
    std::string Data() override;
    std::string Ora() override;
};

}  // namespace termix
