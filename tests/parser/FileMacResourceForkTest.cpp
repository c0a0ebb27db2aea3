#include <gtest/gtest.h>

#include <string>

#include "Files/FileRecords.h"
#include "Files/FileForks.h"
#include "Resources/Resources.h"
#include "parser/FileMac.h"

namespace {

FSSpec BundleResourceFile() {
    FSSpec spec;
    std::string path = std::string(HALYX_SOURCE_DIR) + "/bundle/Resources/HalyxJobNotes.rsrc";
    EXPECT_EQ(HalyxFSSpecFromPath(path.c_str(), &spec), noErr);
    return spec;
}

TEST(FileMacResourceFork, UseAndRestoreSwitchTheCurrentResourceFile) {
    ResFileRefNum before = CurResFile();
    FileMac file(BundleResourceFile());
    EXPECT_EQ(file.GetResourceForkRefNum(), -1);
    EXPECT_FALSE(file.Use());
    EXPECT_FALSE(file.Restore());

    ASSERT_EQ(file.OpenResourceFork(fsRdPerm), noErr);
    short ref = file.GetResourceForkRefNum();
    ASSERT_GT(ref, 0);
    UseResFile(before);
    ASSERT_TRUE(file.Use());
    EXPECT_EQ(CurResFile(), ref);
    Str255 text;
    GetIndString(text, -8900, 18);
    EXPECT_GT(text[0], 0);
    EXPECT_TRUE(file.Restore());
    EXPECT_EQ(CurResFile(), before);
    EXPECT_FALSE(file.Restore());  // nothing remembered any more

    EXPECT_EQ(file.CloseResourceFork(), noErr);
    EXPECT_EQ(file.GetResourceForkRefNum(), -1);
    EXPECT_EQ(file.CloseResourceFork(), fnOpnErr);
}

TEST(FileMacResourceFork, MissingFileReportsTheResourceError) {
    FSSpec missing;
    HalyxFSSpecFromPath("/tmp/halyx-no-such.rsrc", &missing);
    FileMac file(missing);
    EXPECT_EQ(file.OpenResourceFork(fsRdPerm), fnfErr);
    EXPECT_EQ(file.getError(), fnfErr);
    EXPECT_EQ(file.GetResourceForkRefNum(), -1);
}

TEST(FileMacResourceFork, DestructorClosesAnOpenFork) {
    ResFileRefNum before = CurResFile();
    {
        FileMac file(BundleResourceFile());
        ASSERT_EQ(file.OpenResourceFork(fsRdPerm), noErr);
    }
    EXPECT_EQ(CurResFile(), before);
}

}  // namespace
