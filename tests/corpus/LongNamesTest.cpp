// Real PPDs (the bundled examples without a corpus) opened under names the host takes but a file
// record cannot hold as they are: each reads, by path and by URL, as it does under a short name.
#include <gtest/gtest.h>
#include <limits.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CoreFoundation/CFURL.h"
#include "Files/FileRecords.h"
#include "foundation/PPDXErrorObj.h"
#include "foundation/PPDXErrors.h"
#include "parser/ORBPPD.h"
#include "tests/corpus/CorpusFiles.h"

namespace {

namespace fs = std::filesystem;

// Validity, model name and error codes of a parse, by path then by URL; "unreadable" first when
// the file could not be read.
std::string Read(const std::string& path) {
    std::string text;
    FSSpec spec;
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.c_str()), static_cast<CFIndex>(path.size()),
        false);
    if (url == nullptr || HalyxFSSpecFromPath(path.c_str(), &spec) != noErr) return "no record";
    for (ORBPPD* model : {new ORBPPD(spec, ORBPPD::kParseHidden, nullptr),
                          new ORBPPD(url, ORBPPD::kParseHidden, nullptr)}) {
        model->Retain();
        text += std::string(model->IsValidPPD() ? "valid " : "invalid ") +
                (model->ModelName() != nullptr ? model->ModelName() : "-");
        PPDXErrors* errors = model->GetErrors();
        for (PPDXErrorObj* error = errors->First(); error != nullptr; error = errors->Next()) {
            if (error->Code() == ORBPPD::kErrCannotRead) text = "unreadable " + text;
            text += " " + std::to_string(error->Code());
        }
        text += "; ";
        model->Release();
    }
    CFRelease(url);
    return text;
}

TEST(LongNames, RealPPDsOpenUnderEveryNameTheHostTakes) {
    std::vector<std::string> sources;
    const std::vector<CorpusFile> corpus = ListCorpus(CorpusFolder());
    for (const CorpusFile& file : SampleCorpus(corpus, corpus.size() / 4 + 1, 1))
        sources.push_back(file.path);
    if (sources.empty()) {
        for (const char* name : {"HalyxSample.ppd", "HalyxWorkgroup.ppd"})
            sources.push_back(std::string(HALYX_SOURCE_DIR) + "/examples/" + name);
    }
    std::printf("%zu PPDs from %s\n", sources.size(), corpus.empty() ? "examples" : "the corpus");

    std::string root = (fs::temp_directory_path() / "halyx-long-XXXXXX").string();
    ASSERT_NE(nullptr, mkdtemp(root.data()));
    std::string deep = root;
    while (deep.size() + 201 + 64 < PATH_MAX) deep += "/" + std::string(200, 'd');
    fs::create_directories(deep);
    const std::string names[] = {
        root + "/" + std::string(60, 'n') + ".ppd",   // 64 bytes
        root + "/" + std::string(251, 'c') + ".ppd",  // a 255-byte component
        deep + "/" + std::string(PATH_MAX - 1 - deep.size() - 5, 'p') + ".ppd",  // PATH_MAX - 1
        root +
            "/Dr\xC3\xBC"
            "cker \xE6\x97\xA5\xE6\x9C\xAC #1F %\t\xFF\xFE" +
            std::string(50, 'u') + ".ppd",
    };
    for (const std::string& source : sources) {
        fs::copy_file(source, root + "/s.ppd", fs::copy_options::overwrite_existing);
        const std::string expected = Read(root + "/s.ppd");
        ASSERT_EQ(0u, expected.find("valid ")) << source << ": " << expected;
        for (const std::string& name : names) {
            fs::copy_file(source, name);
            EXPECT_EQ(expected, Read(name)) << source << " as " << name.size() << " bytes";
            fs::remove(name);
        }
    }
    fs::remove_all(root);
}

}  // namespace
