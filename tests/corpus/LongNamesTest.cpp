// Real PPDs opened under names the host file system takes but a file record cannot hold as they
// are: 64 bytes, a 255-byte component, a path near PATH_MAX, bytes that are not ASCII. Each copy
// must read as the same file does under its short name, by path and by URL.
#include <gtest/gtest.h>
#include <limits.h>

#include <cstdio>
#include <cstring>
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

const _PARSE_OPTIONS_ kOptions = ORBPPD::kParseOrphans | ORBPPD::kParseHidden;

// What a parse tells about a file: validity, model name, error codes, and where its record leads.
std::string Reading(ORBPPD* model) {
    model->Retain();
    std::string text = model->IsValidPPD() ? "valid" : "invalid";
    text += std::string(" model=") + (model->ModelName() != nullptr ? model->ModelName() : "-");
    PPDXErrors* errors = model->GetErrors();
    bool unreadable = false;
    for (PPDXErrorObj* error = errors->First(); error != nullptr; error = errors->Next()) {
        text += " " + std::to_string(error->Code());
        unreadable = unreadable || error->Code() == ORBPPD::kErrCannotRead;
    }
    model->Release();
    return unreadable ? "unreadable: " + text : text;
}

std::string ReadByPath(const std::string& path, std::string* recordPath) {
    FSSpec spec;
    if (HalyxFSSpecFromPath(path.c_str(), &spec) != noErr) return "no record";
    char back[PATH_MAX];
    *recordPath = HalyxPathFromFSSpec(&spec, back, sizeof back) == noErr ? back : "";
    return Reading(new ORBPPD(spec, kOptions, nullptr));
}

std::string ReadByURL(const std::string& path) {
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.c_str()), static_cast<CFIndex>(path.size()),
        false);
    if (url == nullptr) return "no URL";
    std::string reading = Reading(new ORBPPD(url, kOptions, nullptr));
    CFRelease(url);
    return reading;
}

// A few corpus files (the first, one in each quarter, the largest, and a Japanese one); the
// bundled examples when the corpus is not there, so that the test never passes on nothing.
std::vector<std::string> Sources(std::string* from) {
    std::vector<CorpusFile> corpus = ListCorpus(CorpusFolder());
    std::vector<std::string> paths;
    if (!corpus.empty()) {
        *from = "corpus " + CorpusFolder();
        for (const CorpusFile& file : SampleCorpus(corpus, corpus.size() / 4 + 1, 1))
            paths.push_back(file.path);
        for (const CorpusFile& file : corpus) {
            if (file.uri.find("/Epson/eplp830c.ppd") == std::string::npos) continue;
            paths.push_back(file.path);
            break;
        }
        return paths;
    }
    *from = "examples (no corpus in " + CorpusFolder() + ")";
    for (const char* name : {"HalyxSample.ppd", "HalyxWorkgroup.ppd"})
        paths.push_back(std::string(HALYX_SOURCE_DIR) + "/examples/" + name);
    return paths;
}

class LongNames : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "halyx-long-XXXXXX").string();
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        mRoot = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(mRoot, ignored);
    }

    // Room left for the names below mRoot once every directory of a deep path is made.
    std::string DeepDirectory(size_t pathLength) {
        std::string dir = mRoot;
        const std::string step = "/" + std::string(200, 'd');
        while (dir.size() + step.size() + 64 < pathLength) dir += step;
        fs::create_directories(dir);
        return dir;
    }

    std::string mRoot;
};

TEST_F(LongNames, RealPPDsOpenUnderEveryNameTheHostTakes) {
    std::string from;
    const std::vector<std::string> sources = Sources(&from);
    ASSERT_FALSE(sources.empty());
    std::printf("long names: %zu files from %s\n", sources.size(), from.c_str());

    const std::string deep = DeepDirectory(PATH_MAX - 1);
    struct Name {
        const char* kind;
        std::string directory;
        std::string name;
    };
    const Name names[] = {
        {"64 bytes", mRoot, std::string(60, 'n') + ".ppd"},
        {"a 255-byte component", mRoot, std::string(251, 'c') + ".ppd"},
        {"a path of PATH_MAX - 1 bytes", deep,
         std::string(PATH_MAX - 1 - deep.size() - 1 - 4, 'p') + ".ppd"},
        {"UTF-8 and stray bytes", mRoot,
         "Dr\xC3\xBC"
         "cker \xE6\x97\xA5\xE6\x9C\xAC #1F %\t\xFF\xFE " +
             std::string(60, 'u') + ".ppd"},
    };
    for (const std::string& source : sources) {
        const std::string shortCopy = mRoot + "/s.ppd";
        fs::copy_file(source, shortCopy, fs::copy_options::overwrite_existing);
        std::string unused;
        const std::string expected = ReadByPath(shortCopy, &unused);
        ASSERT_EQ(expected, ReadByURL(shortCopy)) << source;
        ASSERT_EQ(0u, expected.find("valid model=")) << source << ": " << expected;
        for (const Name& name : names) {
            const std::string path = name.directory + "/" + name.name;
            ASSERT_LE(path.size(), static_cast<size_t>(PATH_MAX - 1)) << name.kind;
            fs::copy_file(source, path);
            std::string recordPath;
            EXPECT_EQ(expected, ReadByPath(path, &recordPath)) << source << ", " << name.kind;
            EXPECT_EQ(path, recordPath) << name.kind;
            EXPECT_EQ(expected, ReadByURL(path)) << source << ", " << name.kind;
            fs::remove(path);
        }
    }
}

TEST_F(LongNames, LongNamesInOneDirectoryStayApart) {
    // Two names that share their first 63 bytes: a PPD and an empty file.
    const std::string sample = std::string(HALYX_SOURCE_DIR) + "/examples/HalyxSample.ppd";
    const std::string start = mRoot + "/" + std::string(70, 'a');
    ASSERT_TRUE(fs::copy_file(sample, start + "1.ppd"));
    std::FILE* empty = std::fopen((start + "2.ppd").c_str(), "w");
    ASSERT_NE(nullptr, empty);
    std::fclose(empty);
    FSSpec one, two;
    ASSERT_EQ(noErr, HalyxFSSpecFromPath((start + "1.ppd").c_str(), &one));
    ASSERT_EQ(noErr, HalyxFSSpecFromPath((start + "2.ppd").c_str(), &two));
    EXPECT_NE(0, std::memcmp(one.name, two.name, sizeof one.name));
    std::string unused;
    EXPECT_EQ(ReadByPath(sample, &unused), Reading(new ORBPPD(one, kOptions, nullptr)));
    EXPECT_NE(Reading(new ORBPPD(one, kOptions, nullptr)),
              Reading(new ORBPPD(two, kOptions, nullptr)));

    // The stand-in names the long file in the directory calls as well.
    FSSpec again;
    ASSERT_EQ(noErr, FSMakeFSSpec(0, one.parID, one.name, &again));
    EXPECT_EQ(0, std::memcmp(&one, &again, sizeof one));
    // Elsewhere the same bytes are only a name.
    FSSpec root;
    EXPECT_EQ(fnfErr, FSMakeFSSpec(0, fsRtDirID, one.name, &root));
    EXPECT_EQ(bdNamErr, HalyxFSSpecFromPath((mRoot + "/" + std::string(256, 'x')).c_str(), &root));
}

}  // namespace
