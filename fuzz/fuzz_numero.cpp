// Number reading must never crash, and whatever it accepts must be a finite
// double that the display rule can show.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/Formato.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view testo(reinterpret_cast<const char*>(data), size);
    auto v = termix::LeggiNumero(testo);
    if (v) {
        if (!std::isfinite(*v)) std::abort();
        // Accepted text never holds a period that is not a thousands separator.
        try {
            auto t = termix::FormatoTroncato(*v, 3);
            if (t.empty() || t == "-0") std::abort();
        } catch (const termix::ErroreAritmetico&) {
        }
    }
    return 0;
}
