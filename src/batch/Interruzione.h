#pragma once
// A run stopped from outside (Ctrl+C, Ctrl+Break, SIGTERM, SIGHUP, the
// console window closed) loses nothing: the temporary files it was writing
// are removed, every target stays as it was, and stderr says how far the
// run got and which reports it had written.
//
// Files are created and given their final name under the same lock the stop
// takes for good: a stop finds each temporary file either registered or not
// yet created, and a rename either done or never to be done.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace termix::batch::interruzione {

// Installs the handlers (one file per platform); before any thread starts.
void Installa();

// Runs `crea` (which makes the temporary file) and registers `temporaneo`,
// both under the lock; false, without running it, once the run is stopping.
bool Crea(const std::string& temporaneo, const std::function<bool()>& crea);
// Runs `fine` (rename or remove) and forgets `temporaneo`, under the lock.
bool Finisci(const std::string& temporaneo, const std::function<bool()>& fine);

// What the message names: the output (`intera`: written whole, through a
// temporary file; else as it goes, as standard output), the report folder,
// the records written so far, each report given its name.
void Uscita(const std::string& nome, bool intera);
void Cartella(const std::string& nome);
void RigheScritte(long long n);
void RapportoScritto(long long riga);

// The handler's work, from the platform's handler: takes the lock for good,
// removes the temporary files and writes the message to `errori`
// (`segnale`: "SIGINT", "Ctrl+C"...).
void Ferma(const char* segnale, std::FILE* errori);

// The message itself, for the tests: `righe` records written, the reports'
// record numbers in any order.
std::string Messaggio(const char* segnale, const std::string& uscita, bool intera, long long righe,
                      const std::string& cartella, std::vector<long long> rapporti);

}  // namespace termix::batch::interruzione
