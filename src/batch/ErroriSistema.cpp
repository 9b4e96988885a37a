#include "batch/ErroriSistema.h"

#include <cerrno>
#include <cstring>

#include "batch/Sistema.h"

namespace termix::batch {

std::string TestoErrore(int errore) { return TestoErrore(errore, SuWindows); }

std::string TestoErrore(const std::error_code& ec) {
    if (ec.category() == std::generic_category()) return TestoErrore(ec.value());
    if (ec.category() != std::system_category()) return ec.message();
    return TestoErroreSistema(ec.value());
}

std::string TestoErrore(int errore, bool windows) {
    using E = std::errc;
    struct Voce {
        E codice;
        const char* testo;
    };
    static constexpr Voce Voci[] = {
        {E::no_such_file_or_directory, "file o cartella inesistente"},
        {E::permission_denied, "permesso negato"},
        {E::operation_not_permitted, "operazione non permessa"},
        {E::no_space_on_device, "spazio esaurito sul dispositivo"},
        {E::is_a_directory, "è una cartella"},
        {E::not_a_directory, "non è una cartella"},
        {E::file_exists, "il file esiste già"},
        {E::read_only_file_system, "file system in sola lettura"},
        {E::io_error, "errore di ingresso/uscita"},
        {E::filename_too_long, "nome del file troppo lungo"},
        {E::too_many_files_open, "troppi file aperti"},
        {E::too_many_files_open_in_system, "troppi file aperti nel sistema"},
        {E::not_enough_memory, "memoria esaurita"},
        {E::file_too_large, "file troppo grande"},
        {E::too_many_symbolic_link_levels, "troppi collegamenti simbolici"},
        {E::device_or_resource_busy, "dispositivo o risorsa occupati"},
        {E::text_file_busy, "file eseguibile in uso"},
        {E::broken_pipe, "pipe interrotta"},
        {E::directory_not_empty, "cartella non vuota"},
        {E::invalid_argument, "argomento non valido"},
        {E::no_such_device, "dispositivo inesistente"},
        {E::no_such_device_or_address, "dispositivo o indirizzo inesistente"},
    };
    // On Windows, a sharing violation: a spreadsheet has the file open.
    if (windows && errore == EBUSY) return "il file è aperto in un altro programma: chiuderlo e riprovare";
    for (const auto& v : Voci)
        if (static_cast<int>(v.codice) == errore) return v.testo;
#ifdef EDQUOT
    if (errore == EDQUOT) return "quota del disco superata";
#endif
    return std::strerror(errore);
}

}  // namespace termix::batch
