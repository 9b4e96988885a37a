#pragma once
// One whole case from its inputs, on a fresh record, as a user would run it on
// the forms: the batch tool runs each record this way, the sweep each value.
#include <functional>

#include "combustion/CalcoloCondizioni.h"
#include "fuel/CalcoloCombustibile.h"
#include "model/Effetti.h"
#include "model/Modulo1.h"

namespace termix {

struct IngressiCaso {
    TipoCombustibile tipo = TipoCombustibile::Nessuno;
    Composizione composizione = Composizione::Nessuna;
    // The numeric boxes as typed (0 when left empty); only the inputs are read.
    Modulo1 valori;
    // PotereCalorifico typed; otherwise the methane preset or the "&No" estimate.
    bool potereDigitato = false;
};

// Sees the outcome of each handler in order (fuel "&Calcola", "&No", the run).
using OsservaEsito = std::function<void(const EsitoOperazione&)>;

// Runs the case on `m`, which starts afresh: the fuel "&Calcola", the heating
// value (typed over the preset, kept from it, or estimated with "&No"), then
// the conditions "&Calcola". Returns the outcome of the last handler that ran:
// completato when the whole case ran, otherwise its messages say why not.
EsitoOperazione CalcolaCaso(const IngressiCaso& in, Modulo1& m, TestiRisultati testi = TestiRisultati::SoloVerifica,
                            const OsservaEsito& osserva = {});

// The fuel half of CalcolaCaso: `m` afresh, the fuel "&Calcola" and the heating
// value; completato when both ran (the conditions are stored, not yet used).
EsitoOperazione CombustibileCaso(const IngressiCaso& in, Modulo1& m, const OsservaEsito& osserva = {});

// The case the forms (or the page) now hold, as Andamento and Verifica take a
// copy of it: the choices, the record's values, and the heating value the run
// used counting as typed, whatever its origin.
IngressiCaso CasoMostrato(TipoCombustibile tipo, Composizione composizione, const Modulo1& m);

// The messages of a stopped run as one text, in the order they were shown.
std::string TestoEsito(const EsitoOperazione& e);

}  // namespace termix
