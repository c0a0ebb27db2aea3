// Our PPD parse against its peers, both sides of every pair in this one process and run:
//   parse/ours/CASE and parse/reference/CASE  our parse against the reference PPD library's open
//                                             and close, on the examples and the 20 largest files
//                                             of the openprinting corpus;
//   read/CASE                                 a raw read of the same bytes, the floor of any parse;
//   snapshot/parse/CASE, snapshot/rebuild/CASE  the model rebuilt from its flattened snapshot
//                                             against the parse it replaces, on the examples and a
//                                             generated PPD of 5,000 controls;
//   total/ours/corpus, total/reference/corpus, total/read/corpus  one pass over every file of the
//                                             corpus, each side summed;
//   parse/ours/generated-N                    generated PPDs of 1,250 to 10,000 flagged blocks
//                                             with their constraint lines, for the cost per byte.
// bench/compare/run builds this program and turns its figures into one table of ratios. The
// context keys "reference_parser" and "corpus" say why a comparison is missing.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"
#include "bench/compare/CompareCases.h"
#include "bench/compare/ReferenceParse.h"
#include "bench/support/GeneratedPPD.h"
#include "parser/ORBPPD.h"
#include "settings/CFDataStream.h"
#include "settings/Settings.h"

namespace {

constexpr _PARSE_OPTIONS_ kPaneOptions = ORBPPD::kParseOrphans | ORBPPD::kParseHidden;
constexpr size_t kLargestCorpusFiles = 20;
constexpr int kGeneratedControls = 5000;
constexpr int kScalingBlocks[] = {1250, 2500, 5000, 10000};

CFURLRef URLForPath(const std::string& path) {
    return CFURLCreateFromFileSystemRepresentation(nullptr,
                                                   reinterpret_cast<const UInt8*>(path.c_str()),
                                                   static_cast<CFIndex>(path.size()), false);
}

// The printer list of the pane: the two names our examples and the generated PPD carry.
CFArrayRef AcceptedNames() {
    CFStringRef names[] = {CFSTR("HALYX01.PPD"), CFSTR("HALYX02.PPD")};
    return CFArrayCreate(nullptr, reinterpret_cast<const void**>(names), 2, &kCFTypeArrayCallBacks);
}

void ParseOurs(benchmark::State& state, const std::string& path) {
    CFURLRef url = URLForPath(path);
    if (url == nullptr) {
        state.SkipWithError("no URL for the file");
        return;
    }
    for (auto _ : state) {
        ORBPPD* ppd = new ORBPPD(url, kPaneOptions, nullptr);
        ppd->Retain();
        benchmark::DoNotOptimize(ppd->GetControls());
        ppd->Release();
    }
    CFRelease(url);
}

void ParseReference(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        if (!ReferenceOpenAndClose(path.c_str())) {
            state.SkipWithError("the reference library refused the file");
            break;
        }
    }
}

void ReadRaw(benchmark::State& state, const std::string& path, size_t bytes) {
    std::vector<char> buffer(bytes + 1);
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_RDONLY);
        if (fd < 0) {
            state.SkipWithError("cannot open the file");
            break;
        }
        size_t total = 0;
        ssize_t n;
        while ((n = read(fd, buffer.data() + total, buffer.size() - total)) > 0) {
            total += static_cast<size_t>(n);
            if (total == buffer.size()) buffer.resize(buffer.size() * 2);
        }
        close(fd);
        benchmark::DoNotOptimize(total);
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}

// The flattened snapshot of `model`, as the print settings hold it; null when it cannot be saved.
CFDataRef Snapshot(ORBPPD& model) {
    Settings store;
    if (!model.Save(store)) return nullptr;
    CFDataStream out;
    if (store.Save(&out) != noErr || out.data() == nullptr) return nullptr;
    return CFDataCreateCopy(nullptr, out.data());
}

enum class SnapshotSide { kParse, kRebuild };

// Both sides check the file against the printer list, as the pane does.
void SnapshotPair(benchmark::State& state, const std::string& path, SnapshotSide side) {
    CFURLRef url = URLForPath(path);
    CFArrayRef names = AcceptedNames();
    ORBPPD* parsed = new ORBPPD(url, kPaneOptions, names);
    parsed->Retain();
    CFDataRef snapshot = parsed->IsValidPPD() ? Snapshot(*parsed) : nullptr;
    parsed->Release();
    if (snapshot == nullptr) {
        state.SkipWithError("the PPD does not parse or save");
    } else {
        for (auto _ : state) {
            ORBPPD* ppd;
            if (side == SnapshotSide::kParse) {
                ppd = new ORBPPD(url, kPaneOptions, names);
            } else {
                CFDataStream in(snapshot);
                Settings store;
                store.Read(&in, 0);
                ppd = new ORBPPD(store, url, names);
            }
            ppd->Retain();
            if (!ppd->IsValidPPD()) state.SkipWithError("the model did not build");
            benchmark::DoNotOptimize(ppd->GetControls());
            ppd->Release();
        }
        state.counters["snapshot_bytes"] = static_cast<double>(CFDataGetLength(snapshot));
        CFRelease(snapshot);
    }
    CFRelease(names);
    CFRelease(url);
}

// The generated PPD lives in a temporary file for the whole run.
class TemporaryPPD {
public:
    explicit TemporaryPPD(const std::string& bytes) {
        char name[] = "/tmp/halyx-compare-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) return;
        mPath = name;
        mOk = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        close(fd);
    }
    ~TemporaryPPD() {
        if (!mPath.empty()) std::remove(mPath.c_str());
    }
    TemporaryPPD(const TemporaryPPD&) = delete;
    TemporaryPPD& operator=(const TemporaryPPD&) = delete;
    bool Ok() const { return mOk; }
    const std::string& Path() const { return mPath; }

private:
    std::string mPath;
    bool mOk = false;
};

void RegisterParsePairs(const std::vector<CompareCase>& cases) {
    for (const CompareCase& c : cases) {
        const std::string path = c.path;
        const size_t bytes = static_cast<size_t>(c.bytes);
        benchmark::RegisterBenchmark(("read/" + c.label).c_str(), [path,
                                                                   bytes](benchmark::State& s) {
            ReadRaw(s, path, bytes);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("parse/ours/" + c.label).c_str(), [path](
                                                                            benchmark::State& s) {
            ParseOurs(s, path);
        })->Unit(benchmark::kMicrosecond);
        if (HaveReferenceParser()) {
            benchmark::RegisterBenchmark(("parse/reference/" + c.label).c_str(),
                                         [path](benchmark::State& s) { ParseReference(s, path); })
                ->Unit(benchmark::kMicrosecond);
        }
    }
}

// One pass over every corpus file per iteration; a file either side refuses still costs its try.
void RegisterCorpusTotals(const std::vector<CompareCase>& files) {
    std::uintmax_t bytes = 0;
    for (const CompareCase& c : files) bytes += c.bytes;
    const double total = static_cast<double>(bytes);
    benchmark::RegisterBenchmark("total/read/corpus", [files, total](benchmark::State& s) {
        std::vector<char> buffer(1 << 16);
        for (auto _ : s) {
            size_t sum = 0;
            for (const CompareCase& c : files) {
                const int fd = open(c.path.c_str(), O_RDONLY);
                if (fd < 0) continue;
                ssize_t n;
                while ((n = read(fd, buffer.data(), buffer.size())) > 0)
                    sum += static_cast<size_t>(n);
                close(fd);
            }
            benchmark::DoNotOptimize(sum);
        }
        s.counters["file_bytes"] = total;
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("total/ours/corpus", [files](benchmark::State& s) {
        std::vector<CFURLRef> urls;
        for (const CompareCase& c : files) urls.push_back(URLForPath(c.path));
        for (auto _ : s) {
            for (CFURLRef url : urls) {
                if (url == nullptr) continue;
                ORBPPD* ppd = new ORBPPD(url, kPaneOptions, nullptr);
                ppd->Retain();
                benchmark::DoNotOptimize(ppd->GetControls());
                ppd->Release();
            }
        }
        for (CFURLRef url : urls)
            if (url != nullptr) CFRelease(url);
    })->Unit(benchmark::kMillisecond);
    if (!HaveReferenceParser()) return;
    benchmark::RegisterBenchmark("total/reference/corpus", [files](benchmark::State& s) {
        for (auto _ : s)
            for (const CompareCase& c : files)
                benchmark::DoNotOptimize(ReferenceOpenAndClose(c.path.c_str()));
    })->Unit(benchmark::kMillisecond);
}

void RegisterSnapshotPair(const std::string& label, const std::string& path) {
    benchmark::RegisterBenchmark(("snapshot/parse/" + label).c_str(), [path](benchmark::State& s) {
        SnapshotPair(s, path, SnapshotSide::kParse);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("snapshot/rebuild/" + label).c_str(), [path](
                                                                            benchmark::State& s) {
        SnapshotPair(s, path, SnapshotSide::kRebuild);
    })->Unit(benchmark::kMicrosecond);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    const std::vector<CompareCase> examples = ExampleCases();
    std::string corpusNote;
    const std::vector<CompareCase> largest = LargestCorpusCases(kLargestCorpusFiles, &corpusNote);
    benchmark::AddCustomContext("reference_parser", HaveReferenceParser() ? "linked" : "missing");
    benchmark::AddCustomContext(
        "corpus", largest.empty() ? corpusNote : std::to_string(largest.size()) + " largest files");

    RegisterParsePairs(examples);
    RegisterParsePairs(largest);
    std::string allNote;
    const std::vector<CompareCase> all = LargestCorpusCases(SIZE_MAX, &allNote);
    if (!all.empty()) RegisterCorpusTotals(all);
    benchmark::AddCustomContext("corpus_files", std::to_string(all.size()));
    for (const CompareCase& c : examples) RegisterSnapshotPair(c.label, c.path);
    TemporaryPPD generated(bench::GeneratedPPD(kGeneratedControls));
    if (generated.Ok())
        RegisterSnapshotPair("generated-" + std::to_string(kGeneratedControls), generated.Path());

    std::vector<std::unique_ptr<TemporaryPPD>> scaling;
    for (int blocks : kScalingBlocks) {
        const std::string bytes = bench::GeneratedPPD(blocks, true);
        scaling.push_back(std::make_unique<TemporaryPPD>(bytes));
        if (!scaling.back()->Ok()) continue;
        const std::string path = scaling.back()->Path();
        const size_t size = bytes.size();
        benchmark::RegisterBenchmark(("parse/ours/generated-" + std::to_string(blocks)).c_str(),
                                     [path, size](benchmark::State& s) {
                                         ParseOurs(s, path);
                                         s.counters["file_bytes"] = static_cast<double>(size);
                                     })
            ->Unit(benchmark::kMicrosecond);
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
