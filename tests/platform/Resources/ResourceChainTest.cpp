#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../Files/TempDirectory.h"
#include "Resources/Resources.h"
#include "testing/FailureInjection.h"

namespace {

// A resource file whose string list `id` holds `entries`.
std::string ResourceFile(const std::string& lists) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict><key>STR#</key>"
           "<dict>" +
           lists + "</dict></dict></plist>";
}

std::string List(int id, std::initializer_list<const char*> entries) {
    std::string out = "<key>" + std::to_string(id) + "</key><array>";
    for (const char* e : entries) out += std::string("<string>") + e + "</string>";
    return out + "</array>";
}

std::string Entry(SInt16 listID, SInt16 index) {
    Str255 text;
    GetIndString(text, listID, index);
    return std::string((const char*)text + 1, text[0]);
}

class ResourceChainTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(mDir.Path().empty());
        ASSERT_TRUE(mDir.Write("old.rsrc", ResourceFile(List(128, {"old 1", "old 2"}))));
        ASSERT_TRUE(
            mDir.Write("new.rsrc", ResourceFile(List(128, {"new 1"}) + List(129, {"only new"}))));
        ASSERT_TRUE(mDir.Write("bad.rsrc", "<plist version=\"1.0\"><array/></plist>"));
        mSaved = CurResFile();
    }
    void TearDown() override {
        for (ResFileRefNum ref : mOpened) CloseResFile(ref);
        UseResFile(mSaved);
    }
    ResFileRefNum Open(const std::string& name) {
        FSSpec spec;
        HalyxFSSpecFromPath(mDir.Join(name).c_str(), &spec);
        ResFileRefNum ref = FSpOpenResFile(&spec, 1);
        if (ref != -1) mOpened.push_back(ref);
        return ref;
    }

    HalyxFailureScope mFailures;
    TempDirectory mDir;
    ResFileRefNum mSaved = 0;
    std::vector<ResFileRefNum> mOpened;
};

TEST_F(ResourceChainTest, SearchesTheCurrentFileThenTheOlderOnes) {
    ResFileRefNum oldFile = Open("old.rsrc");
    ASSERT_NE(-1, oldFile);
    EXPECT_EQ(noErr, ResError());
    ResFileRefNum newFile = Open("new.rsrc");
    ASSERT_NE(-1, newFile);
    EXPECT_EQ(newFile, CurResFile());

    EXPECT_EQ("new 1", Entry(128, 1));
    EXPECT_EQ(noErr, ResError());
    EXPECT_EQ("only new", Entry(129, 1));
    // The newest file that has the list answers, even without the entry.
    EXPECT_EQ("", Entry(128, 2));
    EXPECT_EQ(resNotFound, ResError());

    // From the older file the newer one is out of reach.
    UseResFile(oldFile);
    EXPECT_EQ(noErr, ResError());
    EXPECT_EQ("old 2", Entry(128, 2));
    EXPECT_EQ("", Entry(129, 1));
    EXPECT_EQ(resNotFound, ResError());

    UseResFile(0);
    EXPECT_EQ("", Entry(128, 1));
    EXPECT_EQ(resNotFound, ResError());
}

TEST_F(ResourceChainTest, ClosingTheCurrentFileFallsBackToTheOneBeforeIt) {
    ResFileRefNum oldFile = Open("old.rsrc");
    ResFileRefNum newFile = Open("new.rsrc");
    ASSERT_NE(-1, newFile);
    CloseResFile(newFile);
    EXPECT_EQ(noErr, ResError());
    EXPECT_EQ(oldFile, CurResFile());
    EXPECT_EQ("old 1", Entry(128, 1));

    CloseResFile(newFile);
    EXPECT_EQ(resFNotFound, ResError());
    UseResFile(newFile);
    EXPECT_EQ(resFNotFound, ResError());
    EXPECT_EQ(oldFile, CurResFile());

    // Opening a file again gives the same number and makes it current.
    ResFileRefNum reopened = Open("new.rsrc");
    ASSERT_NE(-1, reopened);
    UseResFile(oldFile);
    EXPECT_EQ(reopened, Open("new.rsrc"));
    EXPECT_EQ(reopened, CurResFile());
}

TEST_F(ResourceChainTest, OpenFailuresReturnMinusOneWithTheReason) {
    ResFileRefNum before = CurResFile();
    EXPECT_EQ(-1, Open("missing.rsrc"));
    EXPECT_EQ(fnfErr, ResError());
    EXPECT_EQ(-1, Open("bad.rsrc"));
    EXPECT_EQ(mapReadErr, ResError());
    ASSERT_TRUE(mDir.Write("empty.rsrc", ""));
    EXPECT_EQ(-1, Open("empty.rsrc"));
    EXPECT_EQ(mapReadErr, ResError());
    FSSpec unknown = {kHalyxVolumeRefNum, 0x7FFFFFF0, {1, 'x'}};
    EXPECT_EQ(-1, FSpOpenResFile(&unknown, 1));
    EXPECT_EQ(dirNFErr, ResError());
    EXPECT_EQ(before, CurResFile());

    HalyxInjectFailures(kHalyxFailFileOpen, 0, 1);
    EXPECT_EQ(-1, Open("old.rsrc"));
    EXPECT_EQ(ioErr, ResError());
    HalyxInjectFailures(kHalyxFailFileRead, 0, 1);
    EXPECT_EQ(-1, Open("old.rsrc"));
    EXPECT_EQ(ioErr, ResError());
    EXPECT_NE(-1, Open("old.rsrc"));
}

}  // namespace
