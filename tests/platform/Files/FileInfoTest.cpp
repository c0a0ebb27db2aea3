#include "Files/FileInfo.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "TempDirectory.h"

namespace {

const OSType kCreator = HALYX_FOUR_CHAR('H', 'J', 'b', 'n');
const OSType kType = HALYX_FOUR_CHAR('T', 'E', 'X', 'T');

class FileInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(mDir.Path().empty());
        FSSpec dir;
        ASSERT_EQ(noErr, HalyxFSSpecFromPath(mDir.Join(".").c_str(), &dir));
        FSRef ref;
        FSCatalogInfo info;
        ASSERT_EQ(noErr, FSpMakeFSRef(&dir, &ref));
        ASSERT_EQ(noErr,
                  FSGetCatalogInfo(&ref, kFSCatInfoNodeID, &info, nullptr, nullptr, nullptr));
        mDirID = (SInt32)info.nodeID;
    }
    TempDirectory mDir;
    SInt32 mDirID = 0;
};

TEST_F(FileInfoTest, CreateKeepsCodesAndRefusesADuplicate) {
    ASSERT_EQ(noErr, HCreate(kHalyxVolumeRefNum, mDirID, Pascal("notes").c_str(), kCreator, kType));
    EXPECT_EQ(dupFNErr, HCreate(kHalyxVolumeRefNum, mDirID, Pascal("notes").c_str(), 0, 0));
    EXPECT_EQ(bdNamErr, HCreate(kHalyxVolumeRefNum, mDirID, Pascal("").c_str(), 0, 0));
    EXPECT_EQ(dirNFErr, HCreate(kHalyxVolumeRefNum, 0x7FFFFFF0, Pascal("x").c_str(), 0, 0));

    FSSpec spec;
    ASSERT_EQ(noErr, FSMakeFSSpec(0, mDirID, Pascal("notes").c_str(), &spec));
    FInfo info;
    ASSERT_EQ(noErr, FSpGetFInfo(&spec, &info));
    EXPECT_EQ(kType, info.fdType);
    EXPECT_EQ(kCreator, info.fdCreator);

    // A file made by someone else has no codes.
    ASSERT_TRUE(mDir.Write("plain", "x"));
    ASSERT_EQ(noErr, FSMakeFSSpec(0, mDirID, Pascal("plain").c_str(), &spec));
    ASSERT_EQ(noErr, FSpGetFInfo(&spec, &info));
    EXPECT_EQ(0u, info.fdType);
    EXPECT_EQ(0u, info.fdCreator);
}

TEST_F(FileInfoTest, ParameterBlockReportsLengthAndCodes) {
    ASSERT_EQ(noErr, HCreate(0, mDirID, Pascal("b.ppd").c_str(), kCreator, kType));
    ASSERT_TRUE(mDir.Write("b.ppd", std::string(1234, 'p')));
    ASSERT_TRUE(mDir.Write("a.ppd", "12"));

    Str255 name;
    memcpy(name, Pascal("b.ppd").c_str(), 6);
    HParamBlockRec pb;
    memset(&pb, 0, sizeof pb);
    pb.fileParam.ioNamePtr = name;
    pb.fileParam.ioVRefNum = kHalyxVolumeRefNum;
    pb.fileParam.ioDirID = mDirID;
    ASSERT_EQ(noErr, PBHGetFInfoSync(&pb));
    EXPECT_EQ(noErr, pb.fileParam.ioResult);
    EXPECT_EQ(1234, pb.fileParam.ioFlLgLen);
    EXPECT_EQ(0, pb.fileParam.ioFlRLgLen);
    EXPECT_EQ(kType, pb.fileParam.ioFlFndrInfo.fdType);
    EXPECT_EQ(mDirID, pb.fileParam.ioDirID);
    EXPECT_GT(pb.fileParam.ioFlMdDat, 2082844800u);

    // By index: files only, in name order; the name comes back in ioNamePtr.
    mkdir(mDir.Join("0-folder").c_str(), 0777);
    pb.fileParam.ioFDirIndex = 1;
    ASSERT_EQ(noErr, PBHGetFInfoSync(&pb));
    EXPECT_EQ("a.ppd", std::string((const char*)name + 1, name[0]));
    EXPECT_EQ(2, pb.fileParam.ioFlLgLen);
    pb.fileParam.ioFDirIndex = 3;
    EXPECT_EQ(fnfErr, PBHGetFInfoSync(&pb));
    EXPECT_EQ(fnfErr, pb.fileParam.ioResult);
}

TEST_F(FileInfoTest, MissingFilesAndDirectoriesAreNotFiles) {
    HParamBlockRec pb;
    memset(&pb, 0, sizeof pb);
    Str255 name;
    memcpy(name, Pascal("none").c_str(), 5);
    pb.fileParam.ioNamePtr = name;
    pb.fileParam.ioDirID = mDirID;
    EXPECT_EQ(fnfErr, PBHGetFInfoSync(&pb));
    pb.fileParam.ioNamePtr = nullptr;  // the directory itself
    EXPECT_EQ(fnfErr, PBHGetFInfoSync(&pb));
    EXPECT_EQ(paramErr, PBHGetFInfoSync(nullptr));

    FSSpec spec;
    FInfo info;
    ASSERT_EQ(fnfErr, FSMakeFSSpec(0, mDirID, Pascal("none").c_str(), &spec));
    EXPECT_EQ(fnfErr, FSpGetFInfo(&spec, &info));
    EXPECT_EQ(fnfErr, FSpDelete(&spec));
}

TEST_F(FileInfoTest, DeleteRemovesFilesAndOnlyEmptyDirectories) {
    ASSERT_EQ(0, mkdir(mDir.Join("sub").c_str(), 0777));
    ASSERT_TRUE(mDir.Write("sub/f", "x"));
    FSSpec sub, file;
    ASSERT_EQ(noErr, FSMakeFSSpec(0, mDirID, Pascal("sub").c_str(), &sub));
    ASSERT_EQ(noErr, FSMakeFSSpec(0, mDirID, Pascal("sub/f").c_str(), &file));
    EXPECT_EQ(fBsyErr, FSpDelete(&sub));
    EXPECT_EQ(noErr, FSpDelete(&file));
    EXPECT_EQ(noErr, FSpDelete(&sub));
    EXPECT_EQ(dirNFErr, FSMakeFSSpec(0, mDirID, Pascal("sub/f").c_str(), &file));
}

}  // namespace
