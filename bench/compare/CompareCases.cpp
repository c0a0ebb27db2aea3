#include "bench/compare/CompareCases.h"

#include <algorithm>
#include <filesystem>

#include "tests/corpus/CorpusFiles.h"

namespace {

// The last two components of a corpus URI: the maker's folder and the file.
std::string ShortLabel(const std::string& uri) {
    size_t last = uri.rfind('/');
    if (last == std::string::npos || last == 0) return uri;
    size_t before = uri.rfind('/', last - 1);
    return before == std::string::npos ? uri : uri.substr(before + 1);
}

}  // namespace

std::vector<CompareCase> ExampleCases() {
    std::vector<CompareCase> cases;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(HALYX_SOURCE_DIR) + "/examples", error)) {
        if (entry.path().extension() != ".ppd") continue;
        std::error_code sizeError;
        const std::uintmax_t bytes = entry.file_size(sizeError);
        if (!sizeError) cases.push_back({entry.path().filename(), entry.path(), bytes});
    }
    std::sort(cases.begin(), cases.end(),
              [](const CompareCase& a, const CompareCase& b) { return a.label < b.label; });
    return cases;
}

std::vector<CompareCase> LargestCorpusCases(size_t count, std::string* why) {
    const std::string folder = CorpusFolder();
    std::vector<CompareCase> cases;
    for (const CorpusFile& file : ListCorpus(folder)) {
        std::error_code error;
        const std::uintmax_t bytes = std::filesystem::file_size(file.path, error);
        if (!error) cases.push_back({ShortLabel(file.uri), file.path, bytes});
    }
    if (cases.empty()) {
        *why = "no complete corpus in " + folder + " (tests/corpus/fetch-corpus.sh extracts it)";
        return cases;
    }
    std::stable_sort(cases.begin(), cases.end(),
                     [](const CompareCase& a, const CompareCase& b) { return a.bytes > b.bytes; });
    if (cases.size() > count) cases.resize(count);
    return cases;
}
