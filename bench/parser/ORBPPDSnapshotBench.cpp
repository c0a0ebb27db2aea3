// The model snapshot against parsing: for each sample of examples/ and a generated PPD of 5,000
// controls, the time to parse the file, to save the model into a store and flatten it (what the
// print settings receive), and to rebuild the model from those flattened bytes with the printer
// list check. The rebuild exists to be cheaper than the parse: compare Rebuild with Parse.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"
#include "bench/support/GeneratedPPD.h"
#include "parser/ORBPPD.h"
#include "settings/CFDataStream.h"
#include "settings/Settings.h"

namespace {

constexpr _PARSE_OPTIONS_ kPaneOptions = ORBPPD::kParseOrphans | ORBPPD::kParseHidden;

// A PPD file under /tmp with its URL and the printer list that accepts it.
class BenchPPD {
public:
    explicit BenchPPD(const std::string& bytes) {
        char name[] = "/tmp/halyx-snapshot-bench-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) {
            mOk = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
            close(fd);
        }
        mPath = name;
        CFStringRef path = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
        mURL = CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, false);
        CFRelease(path);
        CFStringRef accepted[] = {
            CFStringCreateWithCString(nullptr, "HALYX01.PPD", kCFStringEncodingUTF8),
            CFStringCreateWithCString(nullptr, "HALYX02.PPD", kCFStringEncodingUTF8)};
        mNames = CFArrayCreate(nullptr, reinterpret_cast<const void**>(accepted), 2,
                               &kCFTypeArrayCallBacks);
        for (CFStringRef s : accepted) CFRelease(s);
    }
    ~BenchPPD() {
        CFRelease(mNames);
        CFRelease(mURL);
        std::remove(mPath.c_str());
    }
    BenchPPD(const BenchPPD&) = delete;
    BenchPPD& operator=(const BenchPPD&) = delete;

    bool Ok() const { return mOk && mURL != nullptr && mNames != nullptr; }
    CFURLRef URL() const { return mURL; }
    CFArrayRef Names() const { return mNames; }

private:
    std::string mPath;
    CFURLRef mURL = nullptr;
    CFArrayRef mNames = nullptr;
    bool mOk = false;
};

std::string ReadExample(const char* name) {
    std::string bytes;
    FILE* f = std::fopen((std::string(HALYX_SOURCE_DIR) + "/examples/" + name).c_str(), "rb");
    if (f == nullptr) return bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
}

// The flattened snapshot of `model`, as the print settings hold it; the caller releases it.
CFDataRef Snapshot(ORBPPD& model) {
    Settings store;
    if (!model.Save(store)) return nullptr;
    CFDataStream out;
    if (store.Save(&out) != noErr || out.data() == nullptr) return nullptr;
    return CFDataCreateCopy(nullptr, out.data());
}

enum Step { kParse, kSave, kRebuild };

void Run(benchmark::State& state, const std::string& bytes, Step step) {
    BenchPPD file(bytes);
    if (!file.Ok()) {
        state.SkipWithError("cannot write the PPD file");
        return;
    }
    ORBPPD* parsed = new ORBPPD(file.URL(), kPaneOptions, file.Names());
    parsed->Retain();
    CFDataRef snapshot = Snapshot(*parsed);
    if (snapshot == nullptr || !parsed->IsValidPPD()) {
        state.SkipWithError("the PPD does not parse or save");
    } else {
        for (auto _ : state) {
            if (step == kParse) {
                ORBPPD* ppd = new ORBPPD(file.URL(), kPaneOptions, file.Names());
                ppd->Retain();
                benchmark::DoNotOptimize(ppd->GetControls());
                ppd->Release();
            } else if (step == kSave) {
                CFDataRef data = Snapshot(*parsed);
                benchmark::DoNotOptimize(data);
                if (data != nullptr) CFRelease(data);
            } else {
                CFDataStream in(snapshot);
                Settings store;
                store.Read(&in, 0);
                ORBPPD* ppd = new ORBPPD(store, file.URL(), file.Names());
                ppd->Retain();
                if (!ppd->IsValidPPD()) state.SkipWithError("the snapshot was refused");
                benchmark::DoNotOptimize(ppd->GetControls());
                ppd->Release();
            }
        }
        state.counters["snapshot_bytes"] = static_cast<double>(CFDataGetLength(snapshot));
        state.counters["file_bytes"] = static_cast<double>(bytes.size());
    }
    if (snapshot != nullptr) CFRelease(snapshot);
    parsed->Release();
}

void BM_Sample(benchmark::State& state) {
    Run(state, ReadExample("HalyxSample.ppd"), static_cast<Step>(state.range(0)));
}
void BM_Workgroup(benchmark::State& state) {
    Run(state, ReadExample("HalyxWorkgroup.ppd"), static_cast<Step>(state.range(0)));
}
void BM_Generated5000(benchmark::State& state) {
    Run(state, bench::GeneratedPPD(5000), static_cast<Step>(state.range(0)));
}

}  // namespace

// Argument: 0 parse, 1 save, 2 rebuild.
BENCHMARK(BM_Sample)->DenseRange(kParse, kRebuild)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Workgroup)->DenseRange(kParse, kRebuild)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Generated5000)->DenseRange(kParse, kRebuild)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
