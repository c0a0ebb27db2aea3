// A settings store saved into a data stream and read back, as the print settings carry a model
// snapshot, for stores of a thousand to a million records. Items per second should stay flat.
#include <benchmark/benchmark.h>

#include "CoreFoundation/CFData.h"
#include "settings/CFDataStream.h"
#include "settings/Settings.h"

namespace {

void BM_SaveAndRead(benchmark::State& state) {
    const SInt32 n = static_cast<SInt32>(state.range(0));
    Settings store;
    // Records as a model writes them: numbers under a few class tags, short texts under another.
    for (SInt32 i = 0; i < n; ++i) {
        if (i % 4 == 3)
            store.Add(HALYX_FOUR_CHAR('S', 't', 'C', 't'), i, "*PageSize Letter", 16);
        else
            store.Add(1000 * static_cast<FourCharCode>(3 + i % 3), i, &i, sizeof i);
    }
    for (auto _ : state) {
        CFDataStream out;
        store.Save(&out);
        CFDataStream in(out.data());
        Settings back;
        back.Read(&in, 0);
        benchmark::DoNotOptimize(back.Count());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// A model's snapshot as SavePPD makes it: every record added once under a new key, then the store
// saved into a stream and let go. Second argument 1: the store takes the records straight into
// their flattened form (kAppendFirst); 0: an ordinary store.
void BM_FillAndSave(benchmark::State& state) {
    const SInt32 n = static_cast<SInt32>(state.range(0));
    const bool appendFirst = state.range(1) != 0;
    for (auto _ : state) {
        Settings store = appendFirst ? Settings(Settings::kAppendFirst) : Settings();
        for (SInt32 i = 0; i < n; ++i) {
            if (i % 4 == 3)
                store.Add(HALYX_FOUR_CHAR('S', 't', 'C', 't'), i, "*PageSize Letter", 16);
            else
                store.Add(1000 * static_cast<FourCharCode>(3 + i % 3), i, &i, sizeof i);
        }
        CFDataStream out;
        store.SaveAndClear(&out);
        benchmark::DoNotOptimize(out.dataSize());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_SaveAndRead)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillAndSave)
    ->ArgsProduct({{1000, 100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
