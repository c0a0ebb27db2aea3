#include "Files/FileRecords.h"

#include <gtest/gtest.h>

#include <string>

#include "Files/FileInfo.h"
#include "TempDirectory.h"

namespace {

std::string PathOf(const FSSpec& spec) {
    char path[1024];
    if (HalyxPathFromFSSpec(&spec, path, sizeof path) != noErr) return "<error>";
    return path;
}

std::string NameOf(const FSSpec& spec) {
    return std::string((const char*)spec.name + 1, spec.name[0]);
}

class FileRecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(mDir.Path().empty());
        ASSERT_TRUE(mDir.Write("a.ppd", "abc"));
        ASSERT_TRUE(mDir.Write("b.ppd", "defg"));
    }
    TempDirectory mDir;
};

TEST_F(FileRecordTest, PathRoundTripsAndSiblingsShareTheirDirectoryId) {
    FSSpec a, b;
    ASSERT_EQ(noErr, HalyxFSSpecFromPath(mDir.Join("a.ppd").c_str(), &a));
    ASSERT_EQ(noErr, HalyxFSSpecFromPath(mDir.Join("b.ppd").c_str(), &b));
    EXPECT_EQ(kHalyxVolumeRefNum, a.vRefNum);
    EXPECT_EQ("a.ppd", NameOf(a));
    EXPECT_EQ(+a.parID, +b.parID);
    EXPECT_EQ(mDir.Join("a.ppd"), PathOf(a));

    // The directory id names the directory in later calls.
    FSSpec again;
    ASSERT_EQ(noErr, FSMakeFSSpec(kHalyxVolumeRefNum, a.parID, Pascal("b.ppd").c_str(), &again));
    EXPECT_EQ(0, memcmp(&again, &b, sizeof b));

    // Untidy spellings of the same path give the same record.
    FSSpec untidy;
    std::string messy = mDir.Path() + "//./sub/../a.ppd";
    ASSERT_EQ(noErr, HalyxFSSpecFromPath(messy.c_str(), &untidy));
    EXPECT_EQ(0, memcmp(&untidy, &a, sizeof a));
}

TEST_F(FileRecordTest, EmptyNameAndPartialPathsResolveAgainstTheDirectory) {
    FSSpec a, dir, viaPartial;
    ASSERT_EQ(noErr, HalyxFSSpecFromPath(mDir.Join("a.ppd").c_str(), &a));
    // An empty name is the directory itself: its own parent and name.
    ASSERT_EQ(noErr, FSMakeFSSpec(0, a.parID, Pascal("").c_str(), &dir));
    EXPECT_EQ(mDir.Path(), PathOf(dir));
    EXPECT_NE(+a.parID, +dir.parID);

    ASSERT_EQ(noErr,
              FSMakeFSSpec(0, dir.parID, Pascal(NameOf(dir) + "/a.ppd").c_str(), &viaPartial));
    EXPECT_EQ(0, memcmp(&viaPartial, &a, sizeof a));
}

TEST_F(FileRecordTest, MissingFileStillFillsTheRecordButMissingDirectoryDoesNot) {
    FSSpec spec;
    ASSERT_EQ(fnfErr, HalyxFSSpecFromPath(mDir.Join("new.ppd").c_str(), &spec));
    EXPECT_EQ(mDir.Join("new.ppd"), PathOf(spec));
    // The filled record is good enough to create the file.
    ASSERT_EQ(noErr, FSpCreate(&spec, 0, 0, 0));
    FSSpec after;
    EXPECT_EQ(noErr, HalyxFSSpecFromPath(mDir.Join("new.ppd").c_str(), &after));

    memset(&spec, 0x5A, sizeof spec);
    FSSpec untouched = spec;
    EXPECT_EQ(dirNFErr, HalyxFSSpecFromPath(mDir.Join("none/x.ppd").c_str(), &spec));
    EXPECT_EQ(0, memcmp(&spec, &untouched, sizeof spec));
    EXPECT_EQ(dirNFErr, HalyxFSSpecFromPath(mDir.Join("a.ppd/x").c_str(), &spec));
}

TEST_F(FileRecordTest, RefusesOverlongNamesOtherVolumesAndUnknownDirectories) {
    FSSpec spec;
    EXPECT_EQ(fnfErr, HalyxFSSpecFromPath(mDir.Join(std::string(63, 'n')).c_str(), &spec));
    EXPECT_EQ(std::string(63, 'n'), NameOf(spec));
    // A longer component is held as a stand-in that leads back to it.
    EXPECT_EQ(fnfErr, HalyxFSSpecFromPath(mDir.Join(std::string(255, 'n')).c_str(), &spec));
    EXPECT_GE(63u, NameOf(spec).size());
    EXPECT_EQ(mDir.Join(std::string(255, 'n')), PathOf(spec));
    EXPECT_EQ(bdNamErr, HalyxFSSpecFromPath(mDir.Join(std::string(256, 'n')).c_str(), &spec));
    // Long names sharing their first 63 bytes keep their own records; a stand-in names its
    // component in its directory only.
    FSSpec one;
    const std::string start(70, 's');
    ASSERT_TRUE(mDir.Write(start + "1", "1") && mDir.Write(start + "2", "2"));
    ASSERT_EQ(noErr, HalyxFSSpecFromPath(mDir.Join(start + "1").c_str(), &one));
    ASSERT_EQ(noErr, FSMakeFSSpec(0, one.parID, one.name, &spec));
    EXPECT_EQ(mDir.Join(start + "1"), PathOf(spec));
    EXPECT_EQ(fnfErr, FSMakeFSSpec(0, fsRtDirID, one.name, &spec));
    EXPECT_EQ(nsvErr, FSMakeFSSpec(-7, fsRtDirID, Pascal("tmp").c_str(), &spec));
    // A name with a NUL byte would name a different host file: refused.
    const unsigned char withNul[] = {5, 'a', '.', 'p', 0, 'x'};
    EXPECT_EQ(bdNamErr, FSMakeFSSpec(0, fsRtDirID, withNul, &spec));
    FSSpec nulSpec = {kHalyxVolumeRefNum, fsRtDirID, {3, 't', 0, 'p'}};
    char nulPath[64];
    EXPECT_EQ(bdNamErr, HalyxPathFromFSSpec(&nulSpec, nulPath, sizeof nulPath));
    EXPECT_EQ(dirNFErr, FSMakeFSSpec(0, 0x7FFFFFF0, Pascal("x").c_str(), &spec));
    EXPECT_EQ(paramErr, HalyxFSSpecFromPath(mDir.Join("a.ppd").c_str(), nullptr));

    FSSpec foreign = {-7, fsRtDirID, {3, 't', 'm', 'p'}};
    char path[64];
    EXPECT_EQ(nsvErr, HalyxPathFromFSSpec(&foreign, path, sizeof path));
    FSSpec unknown = {kHalyxVolumeRefNum, 0x7FFFFFF0, {1, 'x'}};
    EXPECT_EQ(dirNFErr, HalyxPathFromFSSpec(&unknown, path, sizeof path));
    ASSERT_EQ(noErr, HalyxFSSpecFromPath(mDir.Join("a.ppd").c_str(), &spec));
    EXPECT_EQ(paramErr, HalyxPathFromFSSpec(&spec, path, 4));  // buffer too small
}

TEST_F(FileRecordTest, RootHasItsOwnRecord) {
    FSSpec root, tmp;
    ASSERT_EQ(noErr, HalyxFSSpecFromPath("/", &root));
    EXPECT_EQ(fsRtParID, +root.parID);
    EXPECT_EQ("/", PathOf(root));
    ASSERT_EQ(noErr, FSMakeFSSpec(0, fsRtDirID, Pascal("..").c_str(), &tmp));
    EXPECT_EQ(0, memcmp(&tmp, &root, sizeof root));
    std::string top = mDir.Path().substr(0, mDir.Path().find('/', 1));
    ASSERT_EQ(noErr, HalyxFSSpecFromPath(top.c_str(), &tmp));
    EXPECT_EQ(fsRtDirID, +tmp.parID);
}

TEST_F(FileRecordTest, ReferencesLeadBackToRecordPathAndParent) {
    FSSpec a;
    ASSERT_EQ(noErr, HalyxFSSpecFromPath(mDir.Join("a.ppd").c_str(), &a));
    FSRef ref;
    ASSERT_EQ(noErr, FSpMakeFSRef(&a, &ref));

    UInt8 path[1024];
    ASSERT_EQ(noErr, FSRefMakePath(&ref, path, sizeof path));
    EXPECT_EQ(mDir.Join("a.ppd"), (const char*)path);

    FSCatalogInfo info;
    FSSpec spec;
    FSRef parent;
    HFSUniStr255 name;
    ASSERT_EQ(noErr, FSGetCatalogInfo(&ref, kFSCatInfoGettableInfo, &info, &name, &spec, &parent));
    EXPECT_EQ(0, memcmp(&spec, &a, sizeof a));
    EXPECT_EQ(0u, info.nodeFlags & kFSNodeIsDirectoryMask);
    EXPECT_EQ(3u, info.dataLogicalSize);
    EXPECT_EQ((UInt32)a.parID, info.parentDirID);
    ASSERT_EQ(5, name.length);
    EXPECT_EQ('a', name.unicode[0]);

    // The parent's reference is the directory whose node id the file's record carries.
    Boolean isDirectory = 0;
    FSRef byPath;
    ASSERT_EQ(noErr, FSRefMakePath(&parent, path, sizeof path));
    EXPECT_EQ(mDir.Path(), (const char*)path);
    ASSERT_EQ(noErr, FSPathMakeRef(path, &byPath, &isDirectory));
    EXPECT_TRUE(isDirectory);
    ASSERT_EQ(noErr, FSGetCatalogInfo(&byPath, kFSCatInfoNodeID, &info, nullptr, nullptr, nullptr));
    EXPECT_EQ((UInt32)a.parID, info.nodeID);
    EXPECT_NE(0u, info.nodeFlags & kFSNodeIsDirectoryMask);
}

TEST_F(FileRecordTest, ReferencesOnlyForExistingObjects) {
    FSSpec missing;
    FSRef ref;
    ASSERT_EQ(fnfErr, HalyxFSSpecFromPath(mDir.Join("none.ppd").c_str(), &missing));
    EXPECT_EQ(fnfErr, FSpMakeFSRef(&missing, &ref));
    EXPECT_EQ(fnfErr, FSPathMakeRef((const UInt8*)mDir.Join("none.ppd").c_str(), &ref, nullptr));

    FSSpec a;
    ASSERT_EQ(noErr, HalyxFSSpecFromPath(mDir.Join("a.ppd").c_str(), &a));
    ASSERT_EQ(noErr, FSpMakeFSRef(&a, &ref));
    ASSERT_EQ(noErr, FSpDelete(&a));
    UInt8 path[1024];
    EXPECT_EQ(fnfErr, FSRefMakePath(&ref, path, sizeof path));
    EXPECT_EQ(fnfErr, FSGetCatalogInfo(&ref, 0, nullptr, nullptr, nullptr, nullptr));

    FSRef garbage;
    memset(&garbage, 0, sizeof garbage);
    EXPECT_EQ(paramErr, FSRefMakePath(&garbage, path, sizeof path));
}

TEST_F(FileRecordTest, NonAsciiNamesDecodeToUtf16) {
    std::string name =
        "\xC3\x84"
        "b\xF0\x9F\x98\x80";  // A-umlaut, b, a character beyond 16 bits
    ASSERT_TRUE(mDir.Write(name, "x"));
    FSRef ref;
    ASSERT_EQ(noErr, FSPathMakeRef((const UInt8*)mDir.Join(name).c_str(), &ref, nullptr));
    HFSUniStr255 out;
    ASSERT_EQ(noErr, FSGetCatalogInfo(&ref, 0, nullptr, &out, nullptr, nullptr));
    ASSERT_EQ(4, out.length);
    EXPECT_EQ(0x00C4, out.unicode[0]);
    EXPECT_EQ('b', out.unicode[1]);
    EXPECT_EQ(0xD83D, out.unicode[2]);
    EXPECT_EQ(0xDE00, out.unicode[3]);
}

}  // namespace
