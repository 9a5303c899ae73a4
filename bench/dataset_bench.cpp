// Google Benchmark figures for the boleto dataset: load, sort, locate, filter, a walk
// that posts every row, and one save (post, change log, merge).
#include <benchmark/benchmark.h>

#include "contracts/screen_records.h"
#include "platform/dataset/client_dataset.h"
#include "testing/boleto_sample.h"

namespace {

pag::PacketPtr packet(int n) {
    static pag::PacketPtr p;
    static int size = 0;
    if (size != n) p = pag::MakeSampleBoletos(n), size = n;
    return p;
}

void BM_Load(benchmark::State& st) {
    auto p = packet(static_cast<int>(st.range(0)));
    for (auto _ : st) {
        pag::ClientDataSet ds("cdsBoletos");
        ds.SetFieldDefs(pag::BoletoFieldDefs());
        ds.SetData(p);
        benchmark::DoNotOptimize(ds.RecordCount());
    }
}

void withLoaded(benchmark::State& st, const std::function<void(pag::ClientDataSet&)>& f) {
    pag::ClientDataSet ds("cdsBoletos");
    ds.SetFieldDefs(pag::BoletoFieldDefs());
    ds.SetData(packet(static_cast<int>(st.range(0))));
    for (auto _ : st)
        f(ds);
}

void BM_Sort(benchmark::State& st) {
    withLoaded(st, [](pag::ClientDataSet& ds) {
        ds.SetIndexFieldNames("NMRAZSOCFORN;DTVENBOLPAG");
        ds.SetIndexFieldNames("");
    });
}

void BM_Locate(benchmark::State& st) {
    withLoaded(st, [&](pag::ClientDataSet& ds) {
        benchmark::DoNotOptimize(ds.Locate("NRLANBOLPAG", pag::Value("9999999999")));
    });
}

void BM_Filter(benchmark::State& st) {
    withLoaded(st, [](pag::ClientDataSet& ds) {
        ds.SetFilter("IDHABIBPAG = 'S' and VRFINALBPAG > 1000");
        ds.SetFiltered(true);
        benchmark::DoNotOptimize(ds.RecordCount());
        ds.SetFiltered(false);
    });
}

void BM_SortBySupplier(benchmark::State& st) {
    withLoaded(st, [](pag::ClientDataSet& ds) {
        ds.SetIndexFieldNames("NMRAZSOCFORN");
        ds.SetIndexFieldNames("");
    });
}

// The list as the screen keeps it: in its load order index, one row posted at a time.
void withIndexed(benchmark::State& st, const std::function<void(pag::ClientDataSet&)>& f) {
    withLoaded(st, [&](pag::ClientDataSet& ds) {
        if (ds.IndexFieldNames().empty()) ds.SetIndexFieldNames("VRFINALBPAG");
        f(ds);
    });
}

void BM_PostEveryRow(benchmark::State& st) {
    withIndexed(st, [](pag::ClientDataSet& ds) {
        pag::ControlsDisabled frozen(ds);
        pag::Field& mark = ds.FieldByName("IDMARCADO");
        for (ds.First(); !ds.Eof(); ds.Next()) {
            const std::string now = mark.AsString();
            ds.Edit();
            mark.SetAsString(now == "S" ? "N" : "S");
            ds.Post();
        }
        ds.MergeChangeLog();
    });
}

void BM_SaveOneRow(benchmark::State& st) {
    withIndexed(st, [](pag::ClientDataSet& ds) {
        pag::Field& enabled = ds.FieldByName("IDHABIBPAG");
        const std::string now = enabled.AsString();
        ds.Edit();
        enabled.SetAsString(now == "S" ? "N" : "S");
        ds.Post();
        if (ds.ChangeCount() > 0) benchmark::DoNotOptimize(ds.Delta());
        ds.MergeChangeLog();
    });
}

BENCHMARK(BM_SortBySupplier)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PostEveryRow)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveOneRow)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Load)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Locate)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
