// Report figures: time to build the 67 lines and to save one report file,
// the size of the methane report, and the pages it prints on (12-point bold,
// rendered into a PDF of each page size).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>

#include "forms/StampaRapporto.h"
#include "report/OrologioSistema.h"
#include "report/SalvaRapporto.h"
#include "support/TestiForm.h"

using namespace termix;

namespace {

Modulo1 record;
const prova::TestiForm testi = prova::TestiMetano(record);

void BM_RigheRapporto(benchmark::State& stato) {
    OrologioSistema orologio;
    for (auto _ : stato) {
        std::size_t n = 0;
        for (int r = 1; r <= RigheRapporto; ++r)
            for (const std::string& t : RigheTesto(RigaDelRapporto(r, TipoUscita::File, testi, orologio))) n += t.size();
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_RigheRapporto);

void BM_SalvaRapporto(benchmark::State& stato) {
    const std::string file = (std::filesystem::temp_directory_path() / "termix54-bench.TXT").string();
    OrologioSistema orologio;
    FileSystemReale fs;
    for (auto _ : stato)
        if (!SalvaRapporto(file, testi, orologio, fs)) stato.SkipWithError("save failed");
    stato.counters["byte"] = static_cast<double>(std::filesystem::file_size(file));
    std::filesystem::remove(file);
}
BENCHMARK(BM_SalvaRapporto)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    QTemporaryDir dir;
    OrologioSistema orologio;
    {
        FileSystemReale fs;
        const std::string file = dir.filePath("M.TXT").toStdString();
        SalvaRapporto(file, testi, orologio, fs);
        std::printf("methane report file: %ju bytes\n", static_cast<std::uintmax_t>(std::filesystem::file_size(file)));
    }
    for (QPageSize::PageSizeId formato : {QPageSize::A4, QPageSize::Letter}) {
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(dir.filePath("M.pdf"));
        pdf.setPageSize(QPageSize(formato));
        std::printf("printed methane report on %s: %d page(s)\n", qPrintable(QPageSize::name(formato)),
                    StampaRapportoSu(pdf, testi, orologio));
    }
    return 0;
}
