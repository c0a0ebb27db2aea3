#include "Files/FileURL.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TempDirectory.h"

namespace {

CFURLRef URLOfPath(const std::string& path, bool isDirectory) {
    return CFURLCreateFromFileSystemRepresentation(nullptr, (const UInt8*)path.c_str(),
                                                   (CFIndex)path.size(), isDirectory);
}

class FileURLTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(mDir.Path().empty());
        ASSERT_TRUE(mDir.Write("x.ppd", "*PPD-Adobe"));
    }
    TempDirectory mDir;
};

TEST_F(FileURLTest, URLToReferenceToSpecToPathToURLIsTheSameURL) {
    for (bool isDirectory : {false, true}) {
        std::string path = isDirectory ? mDir.Path() : mDir.Join("x.ppd");
        CFURLRef url = URLOfPath(path, isDirectory);
        ASSERT_NE(nullptr, url);
        FSRef ref;
        ASSERT_TRUE(CFURLGetFSRef(url, &ref));
        FSSpec spec;
        ASSERT_EQ(noErr, FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr));
        char back[1024];
        ASSERT_EQ(noErr, HalyxPathFromFSSpec(&spec, back, sizeof back));
        CFURLRef again = URLOfPath(back, isDirectory);
        EXPECT_TRUE(CFEqual(url, again)) << path << " came back as " << back;

        CFURLRef fromRef = CFURLCreateFromFSRef(nullptr, &ref);
        EXPECT_TRUE(CFEqual(url, fromRef)) << path;
        CFRelease(fromRef);
        CFRelease(again);
        CFRelease(url);
    }
}

TEST_F(FileURLTest, NothingThereGivesNoReference) {
    CFURLRef url = URLOfPath(mDir.Join("missing.ppd"), false);
    FSRef ref;
    memset(&ref, 0x33, sizeof ref);
    FSRef untouched = ref;
    EXPECT_FALSE(CFURLGetFSRef(url, &ref));
    EXPECT_EQ(0, memcmp(&ref, &untouched, sizeof ref));
    EXPECT_FALSE(CFURLGetFSRef(nullptr, &ref));
    CFRelease(url);

    memset(&ref, 0, sizeof ref);
    EXPECT_EQ(nullptr, CFURLCreateFromFSRef(nullptr, &ref));
}

}  // namespace
