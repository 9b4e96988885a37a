#pragma once
// What the page's two halves share: a report written into memory from the
// texts of a view, with the date and time the page gives.
#include <emscripten/val.h>

#include <string>
#include <string_view>

#include "batch/Record.h"
#include "report/SalvaRapporto.h"

namespace termix::web {

class TestiVista : public SorgenteTesti {
public:
    explicit TestiVista(const vista::TestiForme& v) : v_(v) {}
    std::string Testo(Bersaglio b) const override { return v_.testo(b); }

private:
    const vista::TestiForme& v_;
};

// The bytes as a Uint8Array.
emscripten::val Byte(std::string_view s);

// The report of the texts in `sorgente`: `rapporto` (the .TXT bytes) and
// `righe` (its lines, UTF-8), set on `esito`.
void Rapporto(const SorgenteTesti& sorgente, const std::string& data, const std::string& ora, emscripten::val& esito);

}  // namespace termix::web
