#include "tools/bench_screen.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12100/filtro_hab.h"
#include "contracts/client/suite_context.h"
#include "pkg_PAG12000/pkg_pag12000.h"
#include "platform/ui/date_edit.h"
#include "server/rdm_hab_conta.h"
#include "testing/scripted_user_interface.h"
#include "tools/bench_sql.h"
#include "tools/commands.h"
#include "tools/proc_status.h"
#include "tools/screen_session.h"

namespace pag::tools {

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// The embedded server, adding up the time of its calls and keeping the arguments of
// the last boleto list asked for.
class TimedServer final : public ServerModule {
public:
    TimedServer(const std::string& path, double& total, std::vector<Value>& lastList)
        : inner_(path), total_(total), lastList_(lastList) {}
    CallResult call(const CallContext& ctx, const std::string& operation,
                    std::vector<Value>& args) override {
        if (operation == "GetBoletos") lastList_ = args;
        const auto t0 = Clock::now();
        CallResult r = inner_.call(ctx, operation, args);
        total_ += since(t0);
        return r;
    }

private:
    server::RdmHabConta inner_;
    double& total_;
    std::vector<Value>& lastList_;
};

// The screen over the timed server, with the steps' clock and checks.
class BenchSession : public ScreenSession {
public:
    explicit BenchSession(const std::string& path)
        : ScreenSession(path, "01", "0001", [this, path] {
              return std::make_unique<TimedServer>(path, serverMs_, lastList_);
          }) {}

    template <typename F>
    ScreenStep step(F&& f) {
        const double server0 = serverMs_;
        const auto t0 = Clock::now();
        f();
        return {since(t0), serverMs_ - server0};
    }

    int column(const char* field) {
        const int c = IndiceCol(tela().dbgPadrao, field);
        if (c < 0) throw std::runtime_error(std::string("a grade não tem a coluna ") + field);
        return c;
    }
    void expect(bool ok, const char* what) {
        if (!ok) throw std::runtime_error(what);
    }

    ScriptedUserInterface& ui_ = ui;
    std::vector<Value> lastList_;

private:
    double serverMs_ = 0;
};

void filterTenYears(BenchSession& s) {
    if (!frmFiltroHab) throw std::runtime_error("o filtro de boletos não foi criado");
    const Date today = Date::today();
    frmFiltroHab->Get<DateEdit>("depDataIni").SetDate(today.addDays(-3653));
    frmFiltroHab->Get<DateEdit>("depDataFin").SetDate(today.addDays(3653));
    frmFiltroHab->Confirma();
    s.expect(s.tela().cdsBoletos.RecordCount() > 0, "o filtro de 10 anos não listou boletos");
}

// Moves, as the user's search does, to a boleto whose enabling can be saved.
void goToEnablable(BenchSession& s) {
    ClientDataSet& cds = s.tela().cdsBoletos;
    Value filial, lancamento;
    {
        ControlsDisabled congelada(cds);
        DetachEvent rolagem(cds.AfterScroll);
        BookmarkReturn volta(cds);
        s.expect(BenchGoToChangeable(cds), "nenhum boleto pode ser habilitado");
        filial = cds.FieldByName("CDFILIAL").AsValue();
        lancamento = cds.FieldByName("NRLANBOLPAG").AsValue();
    }
    cds.Locate("CDFILIAL;NRLANBOLPAG", {filial, lancamento});
}

// The step's own peak of resident memory over what the process held before it.
template <typename F>
double peakMiB(F&& f) {
    const bool reset = static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5");
    const long base = statusKiB("self", "VmRSS:");
    f();
    return reset ? static_cast<double>(statusKiB("self", "VmHWM:") - base) / 1024.0 : 0;
}

void exportSteps(BenchSession& s, ScreenRun& run) {
    const std::filesystem::path csv = std::filesystem::temp_directory_path() /
                                      ("pag12000_bench_" + std::to_string(::getpid()) + ".csv");
    run.csvPeakMiB = peakMiB(
        [&] { run.csv = s.step([&] { run.csvRows = s.tela().ExportaListaCsv(csv.string()); }); });
    std::filesystem::remove(csv);
    s.expect(run.csvRows == run.listed, "a exportação não escreveu todos os boletos");
    run.reportPeakMiB = peakMiB([&] {
        run.report = s.step([&] {
            run.reportPages =
                static_cast<long>(PaginateReport(s.tela().RelatorioLista(), 50).size());
        });
    });
}

void runSteps(BenchSession& s, ScreenRun& run) {
    CatchBoletoSelects(true);
    IniProc(Value(ValueArray{Value("01"), Value(Date::today())}));
    run.todayArgs = s.lastList_;
    run.todaySql = LastBoletoSelect();
    Grid& grid = s.tela().dbgPadrao;
    ClientDataSet& cds = s.tela().cdsBoletos;
    run.load = s.step([&] { filterTenYears(s); });
    run.allArgs = s.lastList_;
    run.allSql = LastBoletoSelect();
    CatchBoletoSelects(false);
    run.listed = cds.RecordCount();

    // Before any mark: marks travel with the next save, and this save is of one row.
    goToEnablable(s);
    grid.SetSelectedIndex(s.column("IDHABIBPAG"));
    const std::string antes = cds.FieldByName("IDHABIBPAG").AsString();
    run.save = s.step([&] { grid.DoubleClick(); });
    s.expect(cds.FieldByName("IDHABIBPAG").AsString() != antes && cds.ChangeCount() == 0,
             "a habilitação do boleto não foi gravada");

    const int marca = s.column("IDMARCADO");
    s.ui_.AnswerYes();
    run.markAll = s.step([&] { grid.ClickTitle(marca); });
    s.expect(s.tela().nedCont.GetNumber() > 0, "marcar todos não marcou nenhum boleto");
    s.ui_.AnswerYes();
    run.unmarkAll = s.step([&] { grid.ClickTitle(marca); });
    s.expect(s.tela().nedCont.GetNumber() == 0, "desmarcar todos deixou boletos marcados");

    run.sort = s.step([&] { grid.ClickTitle(s.column("NMRAZSOCFORN")); });
    s.expect(cds.IndexFieldNames() == "NMRAZSOCFORN", "a grade não ordenou pelo fornecedor");
    exportSteps(s, run);
}

}  // namespace

ScreenRun RunScreen(const std::string& path) {
    ScreenRun run;
    try {
        BenchSession s(path);
        runSteps(s, run);
        if (!s.ui_.Problems().empty()) run.failure = s.ui_.Problems().front();
    } catch (const std::exception& e) {
        CatchBoletoSelects(false);
        run.failure = e.what();
    }
    return run;
}

}  // namespace pag::tools
