#include "parser/FileMac.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"
#include "Files/Files.h"
#include "parser/PPDFile.h"
#include "tests/parser/TempPPD.h"

namespace {

TEST(FileMac, ValidityFollowsTheConstructor) {
    FileMac none;
    EXPECT_FALSE(none.valid());
    FileMac unnamed(kHalyxVolumeRefNum, fsRtDirID, "");
    EXPECT_FALSE(unnamed.valid());

    FileMac named(kHalyxVolumeRefNum, fsRtDirID, "tmp");
    EXPECT_TRUE(named.valid());
    short volume = 0;
    long dir = 0;
    char name[64];
    named.getFileInfo(volume, dir, name);
    EXPECT_EQ(volume, kHalyxVolumeRefNum);
    EXPECT_EQ(dir, fsRtDirID);
    EXPECT_STREQ(name, "tmp");

    std::string longName(80, 'n');
    FileMac cut(kHalyxVolumeRefNum, fsRtDirID, longName.c_str());
    cut.getFileName(name);
    EXPECT_EQ(std::string(name), std::string(kHalyxMaxFileName, 'n'));

    // A PPD file handle never reports itself valid, whatever it was made from.
    TempPPD file("*PPD-Adobe: \"4.3\"\n");
    PPDFile fromSpec(file.Spec());
    EXPECT_FALSE(fromSpec.valid());
    EXPECT_TRUE(fromSpec.exists());
    PPDFile empty;
    EXPECT_FALSE(empty.valid());
}

TEST(FileMac, ForkOperationsNeedAnOpenFork) {
    TempPPD file("0123456789");
    FileMac handle(file.Spec());
    char buffer[16];
    long count = 4;
    EXPECT_EQ(handle.dataForkRead(buffer, count), fnOpnErr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(handle.dataForkWrite("x", 1), fnOpnErr);
    EXPECT_EQ(handle.closeDataFork(), fnOpnErr);
    EXPECT_EQ(handle.getError(), fnOpnErr);

    ASSERT_EQ(handle.openDataFork(fsRdPerm), noErr);
    EXPECT_TRUE(handle.dataForkOpen());
    EXPECT_GT(handle.getDataForkRefNum(), 0);
    count = 4;
    EXPECT_EQ(handle.dataForkRead(buffer, count), noErr);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    count = 16;  // past the end: the rest, and eofErr
    EXPECT_EQ(handle.dataForkRead(buffer, count), eofErr);
    EXPECT_EQ(count, 6);
    EXPECT_EQ(handle.dataForkSize(), 10u);
    EXPECT_EQ(handle.closeDataFork(), noErr);
    EXPECT_FALSE(handle.dataForkOpen());
}

TEST(FileMac, CreatesWritesAndReadsBack) {
    std::string path = "/tmp/halyx-filemac-" + std::to_string(getpid());
    FSSpec spec;
    ASSERT_EQ(HalyxFSSpecFromPath(path.c_str(), &spec), fnfErr);
    {
        FileMac handle(spec);
        EXPECT_FALSE(handle.exists());
        EXPECT_EQ(handle.dataForkSize(), 0u);
        EXPECT_EQ(handle.openDataFork(fsRdPerm), fnfErr);
        ASSERT_EQ(handle.createDataFork(HALYX_FOUR_CHAR('Q', 'Z', 'P', 'd'),
                                        HALYX_FOUR_CHAR('T', 'E', 'X', 'T')),
                  noErr);
        EXPECT_TRUE(handle.exists());
        ASSERT_EQ(handle.openDataFork(fsRdWrPerm), noErr);
        EXPECT_EQ(handle.dataForkWrite("*PPD-Adobe", 10), noErr);
        // The destructor closes the open fork.
    }
    FileMac again(spec);
    EXPECT_EQ(again.dataForkSize(), 10u);
    std::remove(path.c_str());
}

TEST(PPDFile, FindsTheFileAUrlNames) {
    TempPPD file("*PPD-Adobe: \"4.3\"\n");
    CFStringRef path =
        CFStringCreateWithCString(nullptr, file.Path().c_str(), kCFStringEncodingUTF8);
    CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, false);
    PPDFile fromURL(url);
    EXPECT_EQ(std::memcmp(fromURL.getFileInfo(), &file.Spec(), sizeof(FSSpec)), 0);
    EXPECT_EQ(fromURL.dataForkSize(), 18u);
    CFRelease(url);
    CFRelease(path);

    CFStringRef missingPath =
        CFStringCreateWithCString(nullptr, "/tmp/halyx-no-such.ppd", kCFStringEncodingUTF8);
    CFURLRef missing =
        CFURLCreateWithFileSystemPath(nullptr, missingPath, kCFURLPOSIXPathStyle, false);
    PPDFile absent(missing);
    FSSpec zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(std::memcmp(absent.getFileInfo(), &zero, sizeof zero), 0);
    EXPECT_NE(absent.openDataFork(fsRdPerm), noErr);
    CFRelease(missing);
    CFRelease(missingPath);
    PPDFile none(static_cast<CFURLRef>(nullptr));
    EXPECT_FALSE(none.exists());
}

}  // namespace
