#pragma once
// System error texts in Italian, for the messages of the batch tool: the
// C library speaks the locale's language, and most systems have no Italian
// catalogue installed.
#include <string>
#include <system_error>

namespace termix::batch {

// The text for an errno value; the C library's own for the uncommon ones.
// `windows`: as the Windows build says it.
std::string TestoErrore(int errore, bool windows);
std::string TestoErrore(int errore);
// An error of the file-system library: errno values, or the system's own codes.
std::string TestoErrore(const std::error_code& ec);
// The text for one of the system's own codes (one file per platform).
std::string TestoErroreSistema(int codice);

}  // namespace termix::batch
