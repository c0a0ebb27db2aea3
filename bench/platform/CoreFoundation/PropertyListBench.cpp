// Property-list writing and reading must stay linear in the size of the tree: the fitted
// complexity reported for both should be O(N).
#include <benchmark/benchmark.h>

#include <string>

#include "CoreFoundation/CoreFoundation.h"

namespace {

// A dictionary of `count` entries, each an array holding a string, a number and some data,
// shaped like the pieces file the job output writes.
CFDictionaryRef NewTree(int count) {
    CFMutableDictionaryRef root = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    const UInt8 bytes[] = "%%BeginFeature: *Notes1 (1234) setjobnote %%EndFeature";
    for (int i = 0; i < count; ++i) {
        std::string keyText = "piece-" + std::to_string(i);
        CFStringRef key =
            CFStringCreateWithCString(nullptr, keyText.c_str(), kCFStringEncodingUTF8);
        CFStringRef text =
            CFStringCreateWithCString(nullptr, "Fish & Chips <hot>", kCFStringEncodingUTF8);
        CFNumberRef number = CFNumberCreate(nullptr, kCFNumberIntType, &i);
        CFDataRef data = CFDataCreate(nullptr, bytes, sizeof bytes - 1);
        const void* values[] = {text, number, data};
        CFArrayRef array = CFArrayCreate(nullptr, values, 3, &kCFTypeArrayCallBacks);
        CFDictionarySetValue(root, key, array);
        for (CFTypeRef v : {CFTypeRef(key), CFTypeRef(text), CFTypeRef(number), CFTypeRef(data),
                            CFTypeRef(array)})
            CFRelease(v);
    }
    return root;
}

void BM_WritePropertyList(benchmark::State& state) {
    CFDictionaryRef tree = NewTree(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CFDataRef xml = CFPropertyListCreateXMLData(nullptr, tree);
        benchmark::DoNotOptimize(xml);
        CFRelease(xml);
    }
    state.SetComplexityN(state.range(0));
    CFRelease(tree);
}
BENCHMARK(BM_WritePropertyList)->RangeMultiplier(4)->Range(256, 65536)->Complexity(benchmark::oN);

void BM_ReadPropertyList(benchmark::State& state) {
    CFDictionaryRef tree = NewTree(static_cast<int>(state.range(0)));
    CFDataRef xml = CFPropertyListCreateXMLData(nullptr, tree);
    for (auto _ : state) {
        CFTypeRef plist = CFPropertyListCreateWithData(nullptr, xml, 0, nullptr, nullptr);
        benchmark::DoNotOptimize(plist);
        CFRelease(plist);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * CFDataGetLength(xml));
    state.SetComplexityN(state.range(0));
    CFRelease(xml);
    CFRelease(tree);
}
BENCHMARK(BM_ReadPropertyList)->RangeMultiplier(4)->Range(256, 65536)->Complexity(benchmark::oN);

// One long string: reading its character data must not turn quadratic.
void BM_ReadLongString(benchmark::State& state) {
    std::string xml = "<plist><string>" + std::string(static_cast<size_t>(state.range(0)), 'x') +
                      "&amp;</string></plist>";
    CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(xml.data()),
                                  static_cast<CFIndex>(xml.size()));
    for (auto _ : state) {
        CFTypeRef plist = CFPropertyListCreateWithData(nullptr, data, 0, nullptr, nullptr);
        benchmark::DoNotOptimize(plist);
        CFRelease(plist);
    }
    state.SetComplexityN(state.range(0));
    CFRelease(data);
}
BENCHMARK(BM_ReadLongString)
    ->RangeMultiplier(8)
    ->Range(1 << 12, 1 << 24)
    ->Complexity(benchmark::oN);

// Hashed lookups: the time per lookup should not grow with the dictionary.
void BM_DictionaryLookup(benchmark::State& state) {
    CFDictionaryRef tree = NewTree(static_cast<int>(state.range(0)));
    CFStringRef probe = CFStringCreateWithCString(nullptr, "piece-7", kCFStringEncodingUTF8);
    for (auto _ : state) benchmark::DoNotOptimize(CFDictionaryGetValue(tree, probe));
    state.SetComplexityN(state.range(0));
    CFRelease(probe);
    CFRelease(tree);
}
BENCHMARK(BM_DictionaryLookup)->RangeMultiplier(8)->Range(64, 65536)->Complexity(benchmark::o1);

}  // namespace

BENCHMARK_MAIN();
