#pragma once
// System error texts in Italian, for the messages of the batch tool: the
// C library speaks the locale's language, and most systems have no Italian
// catalogue installed.
#include <string>
#include <system_error>

namespace termix::batch {

// The text for an errno value; the C library's own for the uncommon ones.
std::string TestoErrore(int errore);
// An error of the file-system library: errno values, or on Windows the
// system's own codes (one file per platform).
std::string TestoErrore(const std::error_code& ec);

}  // namespace termix::batch
