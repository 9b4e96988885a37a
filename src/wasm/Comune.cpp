#include "wasm/Comune.h"

#include <memory>
#include <stdexcept>

#include "report/Rapporto.h"

namespace termix::web {

namespace {

class OrologioFisso : public Orologio {
public:
    OrologioFisso(std::string data, std::string ora) : data_(std::move(data)), ora_(std::move(ora)) {}
    std::string Data() override { return data_; }
    std::string Ora() override { return ora_; }

private:
    std::string data_, ora_;
};

}  // namespace

emscripten::val Byte(std::string_view s) {
    emscripten::val u = emscripten::val::global("Uint8Array").new_(s.size());
    u.call<void>("set", emscripten::val(emscripten::typed_memory_view(s.size(), reinterpret_cast<const unsigned char*>(s.data()))));
    return u;
}

void Rapporto(const SorgenteTesti& sorgente, const std::string& data, const std::string& ora, emscripten::val& esito) {
    OrologioFisso orologio(data, ora);
    FileSystemMemoria fs;
    if (!SalvaRapporto("rapporto.TXT", sorgente, orologio, fs)) throw std::runtime_error("rapporto");
    esito.set("rapporto", Byte(fs.byte));
    emscripten::val righe = emscripten::val::array();
    OrologioFisso orologio2(data, ora);
    ProduciRapporto(TipoUscita::File, sorgente, orologio2, LarghezzaCaratteri, [&](const RigaFisica& f) {
        righe.call<void>("push", TestoRiga(f));
        return true;
    });
    esito.set("righe", righe);
}

}  // namespace termix::web
