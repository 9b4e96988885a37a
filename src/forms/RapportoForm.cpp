#include "forms/RapportoForm.h"

#include <QFile>
#include <QLineEdit>
#include <exception>

#include "forms/GestoreForm.h"
#include "forms/Posti.h"
#include "forms/StampaRapporto.h"
#include "model/Messaggi.h"
#include "report/OrologioSistema.h"
#include "report/SalvaRapporto.h"
#include "ui/AdattaSchermo.h"
#include "ui/Dialoghi.h"

namespace termix {

std::string TestiDelleForm::Testo(Bersaglio b) const { return TestoDi(b); }

UscitaRapportoForm::UscitaRapportoForm(Orologio* orologio)
    : proprio_(orologio ? nullptr : std::make_unique<OrologioSistema>()),
      orologio_(orologio ? orologio : proprio_.get()) {}

UscitaRapportoForm::~UscitaRapportoForm() = default;

namespace {

// Every failure of an output ends in the one message; an exception (no
// converter, no memory) is a failure like any other, not the end of the program.
template <class F>
void ConMessaggio(F&& operazione) {
    bool ok = false;
    try {
        ok = operazione();
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok) dialoghi().messaggio(QString::fromUtf8(messaggi::VerificareInput), Icona::Esclamazione);
}

}  // namespace

void UscitaRapportoForm::stampa() {
    ConMessaggio([&] { return StampaRapporto(TestiDelleForm(), *orologio_); });
}

void UscitaRapportoForm::salva() {
    const QString nome = dialoghi().chiediTesto(QStringLiteral("Nome file - Max 8 caratteri"),
                                                QStringLiteral("Bilancio di massa e di energia della combustione"),
                                                QString());
    // The name as typed, in the file system's encoding.
    const QByteArray percorso = QFile::encodeName(nome);
    ConMessaggio([&] {
        FileSystemReale fs;
        return SalvaRapporto(NomeFileRapporto(std::string_view(percorso.constData(), static_cast<std::size_t>(percorso.size()))),
                             TestiDelleForm(), *orologio_, fs);
    });
}

void installaUscitaRapporto() {
    static UscitaRapportoForm uscita;
    impostaUscitaRapporto(&uscita);
}

}  // namespace termix
