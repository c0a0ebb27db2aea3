#include "Files/FileForks.h"

#include <gtest/gtest.h>

#include <string>

#include "Files/FileInfo.h"
#include "TempDirectory.h"
#include "testing/FailureInjection.h"

namespace {

class FileForksTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(mDir.Path().empty());
        ASSERT_EQ(fnfErr, HalyxFSSpecFromPath(mDir.Join("data").c_str(), &mSpec));
    }

    // Creates the file and writes `bytes` through the fork calls.
    void WriteFile(const std::string& bytes) {
        ASSERT_EQ(noErr, FSpCreate(&mSpec, 0, 0, 0));
        FSIORefNum ref = 0;
        ASSERT_EQ(noErr, FSpOpenDF(&mSpec, fsRdWrPerm, &ref));
        SInt32 count = (SInt32)bytes.size();
        ASSERT_EQ(noErr, FSWrite(ref, &count, bytes.data()));
        EXPECT_EQ((SInt32)bytes.size(), count);
        ASSERT_EQ(noErr, FSClose(ref));
    }

    HalyxFailureScope mFailures;
    TempDirectory mDir;
    FSSpec mSpec;
};

TEST_F(FileForksTest, ReadsBackInPiecesAndPastTheEndDeliversWhatIsLeft) {
    WriteFile("0123456789");
    FSIORefNum ref = 0;
    ASSERT_EQ(noErr, FSpOpenDF(&mSpec, fsRdPerm, &ref));
    EXPECT_GT(ref, 0);

    char buffer[16] = {};
    SInt32 count = 4;
    ASSERT_EQ(noErr, FSRead(ref, &count, buffer));
    EXPECT_EQ(4, count);
    EXPECT_EQ("0123", std::string(buffer, 4));

    count = 16;
    EXPECT_EQ(eofErr, FSRead(ref, &count, buffer));
    EXPECT_EQ(6, count);
    EXPECT_EQ("456789", std::string(buffer, 6));

    count = 3;
    EXPECT_EQ(eofErr, FSRead(ref, &count, buffer));
    EXPECT_EQ(0, count);

    count = 0;
    EXPECT_EQ(noErr, FSRead(ref, &count, buffer));
    count = -1;
    EXPECT_EQ(paramErr, FSRead(ref, &count, buffer));
    EXPECT_EQ(noErr, FSClose(ref));
}

TEST_F(FileForksTest, MarkAndLength) {
    WriteFile("abcdefgh");
    FSIORefNum ref = 0;
    ASSERT_EQ(noErr, FSpOpenDF(&mSpec, fsCurPerm, &ref));
    SInt32 eof = 0, mark = -1;
    ASSERT_EQ(noErr, GetEOF(ref, &eof));
    EXPECT_EQ(8, eof);

    EXPECT_EQ(noErr, SetFPos(ref, fsFromStart, 5));
    EXPECT_EQ(noErr, SetFPos(ref, fsFromMark, -2));
    ASSERT_EQ(noErr, GetFPos(ref, &mark));
    EXPECT_EQ(3, mark);
    char c = 0;
    SInt32 count = 1;
    ASSERT_EQ(noErr, FSRead(ref, &count, &c));
    EXPECT_EQ('d', c);

    EXPECT_EQ(noErr, SetFPos(ref, fsFromLEOF, -1));
    ASSERT_EQ(noErr, FSRead(ref, &count, &c));
    EXPECT_EQ('h', c);

    // Before the start: refused, the mark stays. Beyond the end: the mark stops at the end.
    EXPECT_EQ(posErr, SetFPos(ref, fsFromStart, -1));
    ASSERT_EQ(noErr, GetFPos(ref, &mark));
    EXPECT_EQ(8, mark);
    EXPECT_EQ(noErr, SetFPos(ref, fsFromStart, 2));
    EXPECT_EQ(eofErr, SetFPos(ref, fsFromMark, 100));
    ASSERT_EQ(noErr, GetFPos(ref, &mark));
    EXPECT_EQ(8, mark);
    EXPECT_EQ(paramErr, SetFPos(ref, 9, 0));

    // Cutting the fork pulls the mark back; growing it zero-fills.
    ASSERT_EQ(noErr, SetEOF(ref, 4));
    ASSERT_EQ(noErr, GetFPos(ref, &mark));
    EXPECT_EQ(4, mark);
    ASSERT_EQ(noErr, SetEOF(ref, 6));
    ASSERT_EQ(noErr, GetEOF(ref, &eof));
    EXPECT_EQ(6, eof);
    char bytes[8] = {};
    ASSERT_EQ(noErr, SetFPos(ref, fsFromStart, 0));
    count = 8;
    EXPECT_EQ(eofErr, FSRead(ref, &count, bytes));
    EXPECT_EQ(std::string("abcd\0\0", 6), std::string(bytes, (size_t)count));
    EXPECT_EQ(noErr, FSClose(ref));
}

TEST_F(FileForksTest, ClosedAndUnknownReferenceNumbers) {
    WriteFile("xyz");
    FSIORefNum first = 0, second = 0;
    ASSERT_EQ(noErr, FSpOpenDF(&mSpec, fsRdPerm, &first));
    ASSERT_EQ(noErr, FSClose(first));

    char buffer[4];
    SInt32 count = 3;
    EXPECT_EQ(fnOpnErr, FSRead(first, &count, buffer));
    EXPECT_EQ(fnOpnErr, FSWrite(first, &count, buffer));
    EXPECT_EQ(fnOpnErr, FSClose(first));
    SInt32 value;
    EXPECT_EQ(fnOpnErr, GetEOF(first, &value));
    EXPECT_EQ(fnOpnErr, GetFPos(first, &value));
    EXPECT_EQ(fnOpnErr, SetFPos(first, fsFromStart, 0));
    EXPECT_EQ(fnOpnErr, SetEOF(first, 0));
    EXPECT_EQ(rfNumErr, FSRead(0, &count, buffer));
    EXPECT_EQ(rfNumErr, FSClose(-3));

    // A number just closed is not handed out again at once, so a stale one stays stale.
    ASSERT_EQ(noErr, FSpOpenDF(&mSpec, fsRdPerm, &second));
    EXPECT_NE(first, second);
    EXPECT_EQ(fnOpnErr, FSRead(first, &count, buffer));
    EXPECT_EQ(noErr, FSClose(second));
}

TEST_F(FileForksTest, PermissionsLimitWhatAForkDoes) {
    WriteFile("abc");
    FSIORefNum ref = 0;
    ASSERT_EQ(noErr, FSpOpenDF(&mSpec, fsRdPerm, &ref));
    SInt32 count = 1;
    EXPECT_EQ(wrPermErr, FSWrite(ref, &count, "z"));
    EXPECT_EQ(0, count);
    EXPECT_EQ(wrPermErr, SetEOF(ref, 0));
    EXPECT_EQ(noErr, FSClose(ref));

    EXPECT_EQ(paramErr, FSpOpenDF(&mSpec, 7, &ref));
    EXPECT_EQ(0, ref);
}

TEST_F(FileForksTest, OpeningWhatIsNoFile) {
    FSIORefNum ref = 5;
    EXPECT_EQ(fnfErr, FSpOpenDF(&mSpec, fsRdPerm, &ref));
    EXPECT_EQ(0, ref);
    FSSpec directory;
    ASSERT_EQ(noErr, HalyxFSSpecFromPath(mDir.Path().c_str(), &directory));
    EXPECT_EQ(fnfErr, FSpOpenDF(&directory, fsRdPerm, &ref));
    FSSpec unknown = {kHalyxVolumeRefNum, 0x7FFFFFF0, {1, 'x'}};
    EXPECT_EQ(dirNFErr, FSpOpenDF(&unknown, fsRdPerm, &ref));
}

TEST_F(FileForksTest, InjectedOpenAndReadFailures) {
    WriteFile("hello");
    FSIORefNum ref = 0;
    HalyxInjectFailures(kHalyxFailFileOpen, 0, 1);
    EXPECT_EQ(ioErr, FSpOpenDF(&mSpec, fsRdPerm, &ref));
    EXPECT_EQ(0, ref);
    ASSERT_EQ(noErr, FSpOpenDF(&mSpec, fsRdPerm, &ref));

    // The second read fails, reading nothing; the one after it continues where the first stopped.
    HalyxInjectFailures(kHalyxFailFileRead, 1, 1);
    char buffer[8] = {};
    SInt32 count = 2;
    ASSERT_EQ(noErr, FSRead(ref, &count, buffer));
    count = 2;
    EXPECT_EQ(ioErr, FSRead(ref, &count, buffer + 2));
    EXPECT_EQ(0, count);
    count = 3;
    ASSERT_EQ(noErr, FSRead(ref, &count, buffer + 2));
    EXPECT_EQ("hello", std::string(buffer, 5));
    EXPECT_EQ(1, HalyxInjectedFailureCount(kHalyxFailFileRead));
    EXPECT_EQ(noErr, FSClose(ref));
}

}  // namespace
