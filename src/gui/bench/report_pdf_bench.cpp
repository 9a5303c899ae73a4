// pag12000-bench-pdf DB: the printable list of every boleto of company 01 (the filter
// over ±10 years, nothing marked) laid out and painted into a PDF, with the time of each
// part and the memory the whole took at its peak. A program, not a timed test: it
// prints figures (the list's own figures come from `pag12000 bench`).
#include <unistd.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12100/filtro_hab.h"
#include "gui/qt_text.h"
#include "gui/report_painter.h"
#include "pkg_PAG12000/pkg_pag12000.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/dispatch.h"
#include "tools/proc_status.h"
#include "tools/screen_session.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: pag12000-bench-pdf BANCO   (de 'pag12000 seed scale')\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    using namespace pag;
    try {
        tools::ScreenSession s(argv[1], "01", "0001");
        IniProc(Value(ValueArray{Value("01"), Value(Date::today())}));
        TfrmHabConta& tela = s.tela();
        dispatchUserAction(s.ui, [&] {
            frmFiltroHab->Get<DateEdit>("depDataIni").SetDate(Date::today().addDays(-3653));
            frmFiltroHab->Get<DateEdit>("depDataFin").SetDate(Date::today().addDays(3653));
            frmFiltroHab->Confirma();
        });
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("lista.pdf"));
        std::ofstream("/proc/self/clear_refs") << "5";
        const long base = tools::statusKiB("self", "VmRSS:");
        const auto t0 = Clock::now();
        const PrintableReport rel = tela.RelatorioLista();
        const double layoutMs = msSince(t0);
        const auto t1 = Clock::now();
        const int pages = gui::saveReportPdf(rel, pdf);
        const double paintMs = msSince(t1);
        const double peakMiB =
            static_cast<double>(tools::statusKiB("self", "VmHWM:") - base) / 1024.0;
        std::printf(
            "lista em PDF: %zu boletos, %d páginas; montagem %.0f ms, pintura %.0f ms, total "
            "%.2f s; pico %.0f MiB; arquivo %.1f MiB\n",
            rel.rows.size(), pages, layoutMs, paintMs, (layoutMs + paintMs) / 1000.0, peakMiB,
            static_cast<double>(QFileInfo(pdf).size()) / (1024.0 * 1024.0));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pag12000-bench-pdf: %s\n", e.what());
        return 1;
    }
}
