// Parses every PPD of the extracted corpus (see fetch-corpus.sh) and compares its header values
// with those the reference parser reads. One pass over the corpus feeds every test of the suite.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFURL.h"
#include "foundation/PPDXErrorObj.h"
#include "foundation/PPDXErrors.h"
#include "parser/ORBPPD.h"
#include "tests/corpus/CorpusFiles.h"
#include "tests/corpus/HeaderDisagreement.h"
#include "tests/corpus/ReferenceHeaders.h"

namespace {

struct FileResult {
    std::string uri;
    bool valid = false;
    std::vector<short> codes;  // the codes of its parse errors, in order
    bool anyFatal = false;
    HeaderValues ours;
    bool referenceRead = false;
    std::string referenceError;
    HeaderValues reference;
    std::vector<Disagreement> disagreements;
};

void Keep(HeaderValues& out, int i, const char* value) {
    out.present[i] = value != nullptr;
    out.value[i] = value != nullptr ? value : "";
}

FileResult ParseOne(const CorpusFile& file) {
    FileResult result;
    result.uri = file.uri;
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(file.path.c_str()),
        static_cast<CFIndex>(file.path.size()), false);
    if (url == nullptr) return result;
    ORBPPD* model = new ORBPPD(url, ORBPPD::kParseOrphans | ORBPPD::kParseHidden, nullptr);
    model->Retain();
    result.valid = model->IsValidPPD();
    PPDXErrors* errors = model->GetErrors();
    for (PPDXErrorObj* error = errors->First(); error != nullptr; error = errors->Next()) {
        result.codes.push_back(error->Code());
        result.anyFatal = result.anyFatal || error->IsFatal();
    }
    Keep(result.ours, 0, model->PCFileName());
    Keep(result.ours, 1, model->ModelName());
    Keep(result.ours, 2, model->LanguageVersion());
    Keep(result.ours, 3, model->LanguageEncoding());
    Keep(result.ours, 4, model->FormatVersion());
    Keep(result.ours, 5, model->FileVersion());
    model->Release();
    CFRelease(url);

    result.referenceRead = ReadReferenceHeaders(file.path, result.reference, result.referenceError);
    if (result.referenceRead) {
        std::string bytes;
        for (int i = 0; i < 6; ++i) {
            if (result.ours.present[i] == result.reference.present[i] &&
                result.ours.value[i] == result.reference.value[i])
                continue;
            if (bytes.empty()) bytes = ReadWholeFile(file.path);
            result.disagreements.push_back(ExplainDisagreement(
                bytes, kHeaderKeywords[i], result.ours.present[i] ? &result.ours.value[i] : nullptr,
                result.reference.present[i] ? &result.reference.value[i] : nullptr));
        }
    }
    return result;
}

class Corpus : public testing::Test {
protected:
    static void SetUpTestSuite() {
        sFolder = CorpusFolder();
        sResults.clear();
        std::vector<CorpusFile> files = ListCorpus(sFolder);
        sTotal = files.size();
        for (const CorpusFile& file : SampleCorpus(files, Stride(), kLargestAlwaysParsed))
            sResults.push_back(ParseOne(file));
        WriteSummary();
    }

    void SetUp() override {
        if (sResults.empty())
            GTEST_SKIP() << "no PPD corpus in " << sFolder
                         << ": run tests/corpus/fetch-corpus.sh (needs Debian's openprinting-ppds)";
    }

    static void WriteSummary();

    // Every file in the normal build; a share of them (and the largest) in the sanitizer build,
    // whose parse is many times slower. $HALYX_CORPUS_STRIDE overrides (1: every file).
    static size_t Stride() {
        const char* stride = std::getenv("HALYX_CORPUS_STRIDE");
        if (stride != nullptr && std::atoi(stride) > 0)
            return static_cast<size_t>(std::atoi(stride));
        return HALYX_CORPUS_STRIDE;
    }
    static constexpr size_t kLargestAlwaysParsed = 20;

    static std::string sFolder;
    static size_t sTotal;
    static std::vector<FileResult> sResults;
};

std::string Corpus::sFolder;
size_t Corpus::sTotal = 0;
std::vector<FileResult> Corpus::sResults;

void Corpus::WriteSummary() {
    if (sResults.empty()) return;
    std::map<short, int> filesWithCode;
    std::map<std::string, int> byReason;
    int withErrors = 0, withFaults = 0, invalid = 0, referenceRefused = 0;
    for (const FileResult& r : sResults) {
        std::map<short, bool> seen;
        for (short code : r.codes) seen[code] = true;
        for (const auto& [code, unused] : seen) ++filesWithCode[code];
        if (!r.codes.empty()) ++withErrors;
        for (short code : r.codes) {
            if (code < ORBPPD::kErrNoPages || code > ORBPPD::kErrNoControls) {
                ++withFaults;
                break;
            }
        }
        if (!r.valid) ++invalid;
        if (!r.referenceRead) ++referenceRefused;
        for (const Disagreement& d : r.disagreements) ++byReason[d.reason];
    }
    std::ofstream out(std::string(HALYX_BINARY_DIR) + "/corpus-summary.txt");
    out << "PPD corpus: " << sResults.size() << " of " << sTotal << " files parsed, from "
        << sFolder << "\n";
    out << "files with parse errors: " << withErrors << " (" << withFaults
        << " with errors other than an empty model: no pages, groups or controls); not valid: "
        << invalid << "\n";
    out << "files per error code:\n";
    for (const auto& [code, count] : filesWithCode) out << "  " << code << ": " << count << "\n";
    out << "refused by the reference parser: " << referenceRefused << "\n";
    if (HaveReferenceParser()) {
        out << "header disagreements by reason:\n";
        for (const auto& [reason, count] : byReason) out << "  " << reason << ": " << count << "\n";
        out << "every disagreement:\n";
        for (const FileResult& r : sResults)
            for (const Disagreement& d : r.disagreements)
                out << "  " << r.uri << " " << d.keyword << " ours " << d.ours << " reference "
                    << d.reference << ": " << d.reason << "\n";
    } else {
        out << "the reference parser was not linked: no header comparison\n";
    }
    std::printf("PPD corpus: %zu files, %d with errors beyond an empty model, %d not valid\n",
                sResults.size(), withFaults, invalid);
    for (const auto& [reason, count] : byReason)
        std::printf("  %d header disagreements: %s\n", count, reason.c_str());
    std::printf("summary and every disagreement in %s/corpus-summary.txt\n", HALYX_BINARY_DIR);
}

// A file that does not parse must say why, by a fatal error; a parse of a file that exists never
// reports it unreadable.
TEST_F(Corpus, EveryFileParsesOrReportsAFatalError) {
    for (const FileResult& r : sResults) {
        EXPECT_TRUE(r.valid || r.anyFatal) << r.uri << " is not valid but has no fatal error";
        for (short code : r.codes) EXPECT_NE(code, ORBPPD::kErrCannotRead) << r.uri;
    }
}

// The reference parser reads the same header values, except where a known difference of the two
// parsers explains it.
#ifdef HALYX_HAVE_REFERENCE_PPD
TEST_F(Corpus, HeaderValuesAgreeWithTheReferenceParser) {
    for (const FileResult& r : sResults) {
        for (const Disagreement& d : r.disagreements)
            EXPECT_FALSE(d.reason.empty()) << r.uri << " " << d.keyword << ": ours " << d.ours
                                           << ", reference " << d.reference << ", no known reason";
    }
}
#endif

}  // namespace
