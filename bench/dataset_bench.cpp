// Google Benchmark figures for the boleto dataset: load, sort, locate, filter.
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

BENCHMARK(BM_Load)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Locate)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
