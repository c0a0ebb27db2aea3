// Time per record of the keyed collection as it grows from a thousand to a million records: adding
// and looking up, removing with indexed walks in between, and flattening and unflattening. The
// items-per-second column should stay flat across sizes.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "Collections/Collections.h"
#include "Memory/MacMemory.h"

namespace {

// Record keys spread over a few tags, as a model snapshot writes them.
CollectionTag TagOf(SInt32 i) {
    return 1000 * static_cast<CollectionTag>(1 + i % 6);
}

void Fill(Collection c, SInt32 n) {
    for (SInt32 i = 0; i < n; ++i) {
        uint64_t value = static_cast<uint64_t>(i) * 0x9e3779b97f4a7c15ull;
        AddCollectionItem(c, TagOf(i), i, sizeof value, &value);
    }
}

void BM_AddAndGet(benchmark::State& state) {
    const SInt32 n = static_cast<SInt32>(state.range(0));
    for (auto _ : state) {
        Collection c = NewCollection();
        Fill(c, n);
        uint64_t sum = 0;
        for (SInt32 i = 0; i < n; ++i) {
            uint64_t value = 0;
            SInt32 size = sizeof value;
            GetCollectionItem(c, TagOf(i), i, &size, &value);
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
        DisposeCollection(c);
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// Removes every other record, asking for an index and an indexed item after each removal.
void BM_RemoveAndIndex(benchmark::State& state) {
    const SInt32 n = static_cast<SInt32>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Collection c = NewCollection();
        Fill(c, n);
        state.ResumeTiming();
        for (SInt32 i = 0; i < n; i += 2) {
            RemoveCollectionItem(c, TagOf(i), i);
            SInt32 index = 0;
            GetCollectionItemInfo(c, TagOf(n - 1), n - 1, &index, nullptr, nullptr);
            SInt32 id = 0;
            GetIndexedCollectionItemInfo(c, 1 + index / 2, nullptr, &id, nullptr, nullptr);
            benchmark::DoNotOptimize(id);
        }
        state.PauseTiming();
        DisposeCollection(c);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (n / 2));
}

void BM_FlattenAndUnflatten(benchmark::State& state) {
    const SInt32 n = static_cast<SInt32>(state.range(0));
    Collection source = NewCollection();
    Fill(source, n);
    for (auto _ : state) {
        Handle h = NewHandle(0);
        FlattenCollectionToHdl(source, h);
        Collection back = NewCollection();
        UnflattenCollectionFromHdl(back, h);
        benchmark::DoNotOptimize(CountCollectionItems(back));
        DisposeCollection(back);
        DisposeHandle(h);
    }
    DisposeCollection(source);
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_AddAndGet)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveAndIndex)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlattenAndUnflatten)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
