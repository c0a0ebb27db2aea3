// Parsing PPD files into models: each sample of examples/, and generated files of 625 to 10,000
// flagged blocks (popups, Booleans, ranges and job notes in roll-downs, with constraint lines), and
// files of a hundred popups with 1,000 to 16,000 constraint lines.
// Bytes per second should stay flat as the file grows: the parse is linear in the file's size.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "Files/FileRecords.h"
#include "bench/support/GeneratedPPD.h"
#include "parser/ORBPPD.h"

namespace {

constexpr _PARSE_OPTIONS_ kPaneOptions = ORBPPD::kParseOrphans | ORBPPD::kParseHidden;

class BenchFile {
public:
    explicit BenchFile(const std::string& bytes) {
        char name[] = "/tmp/halyx-bench-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) {
            mOk = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
            close(fd);
        }
        mPath = name;
        mOk = mOk && HalyxFSSpecFromPath(mPath.c_str(), &mSpec) == noErr;
    }
    ~BenchFile() { std::remove(mPath.c_str()); }
    bool Ok() const { return mOk; }
    const FSSpec& Spec() const { return mSpec; }

private:
    std::string mPath;
    FSSpec mSpec;
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

// 100 popups of 20 choices each and `lines` constraint lines between their choices, as in the
// largest real files (thousands of *UIConstraints lines).
std::string ConstraintPPD(int lines) {
    std::string ppd =
        "*PPD-Adobe: \"4.3\"\n*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
        "*%ORBPropPage Page/Page: True\n*%ORBGroupName Pane/Pane: True\n"
        "*%ORBParent Pane/Page: True|Scrollpane\n*%ORBGroupName Roll/Roll: True\n"
        "*%ORBParent Roll/Pane: True|Rolldown\n";
    for (int i = 0; i < 100; ++i) {
        const std::string k = "*QZOpt" + std::to_string(i);
        ppd += "*%ORBFlags " + k + ": Setup\n*%ORBGroup " + k + ": Roll\n";
        ppd += "*OpenUI " + k + "/Option: PickOne\n*Default" + k.substr(1) + ": C0\n";
        for (int c = 0; c < 20; ++c)
            ppd += k + " C" + std::to_string(c) + "/Choice: \"" + std::to_string(c) + "\"\n";
        ppd += "*CloseUI: " + k + "\n";
    }
    for (int n = 0; n < lines; ++n) {
        ppd += "*UIConstraints: *QZOpt" + std::to_string(n % 100) + " C" + std::to_string(n % 20) +
               " *QZOpt" + std::to_string((n / 100) % 100) + " C" + std::to_string((n / 7) % 20) +
               "\n";
    }
    return ppd;
}

void Parse(benchmark::State& state, const std::string& bytes) {
    BenchFile file(bytes);
    if (!file.Ok()) {
        state.SkipWithError("cannot write the PPD file");
        return;
    }
    for (auto _ : state) {
        ORBPPD* ppd = new ORBPPD(file.Spec(), kPaneOptions, nullptr);
        ppd->Retain();
        benchmark::DoNotOptimize(ppd->GetControls());
        ppd->Release();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}

void BM_ParseSample(benchmark::State& state) {
    Parse(state, ReadExample("HalyxSample.ppd"));
}
void BM_ParseWorkgroup(benchmark::State& state) {
    Parse(state, ReadExample("HalyxWorkgroup.ppd"));
}
void BM_ParseGenerated(benchmark::State& state) {
    Parse(state, bench::GeneratedPPD(static_cast<int>(state.range(0)), true));
}
void BM_ParseConstraints(benchmark::State& state) {
    Parse(state, ConstraintPPD(static_cast<int>(state.range(0))));
}

}  // namespace

BENCHMARK(BM_ParseSample)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseWorkgroup)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseGenerated)
    ->Arg(625)
    ->Arg(1250)
    ->Arg(2500)
    ->Arg(5000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ParseConstraints)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Arg(8000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
