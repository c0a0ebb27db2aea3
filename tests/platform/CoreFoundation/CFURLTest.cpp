#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "Base/MacErrors.h"
#include "CoreFoundation/CFURL.h"
#include "CoreFoundation/CFString.h"

namespace {

std::string Text(CFStringRef str) {
    if (str == nullptr) return "(null)";
    char buffer[1024];
    return CFStringGetCString(str, buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer : "?";
}

// Takes ownership of `str` and returns its text.
std::string Take(CFStringRef str) {
    std::string text = Text(str);
    if (str != nullptr) CFRelease(str);
    return text;
}

CFURLRef PathURL(const char* path, bool isDirectory) {
    CFStringRef str = CFStringCreateWithCString(nullptr, path, kCFStringEncodingUTF8);
    CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, str, kCFURLPOSIXPathStyle, isDirectory);
    CFRelease(str);
    return url;
}

TEST(CFURL, PathsBecomeEscapedFileURLsAndComeBack) {
    CFURLRef dir = PathURL("/tmp/Job Notes/\xC3\xA4//", true);
    ASSERT_NE(dir, nullptr);
    EXPECT_EQ(Text(CFURLGetString(dir)), "file:///tmp/Job%20Notes/%C3%A4/");
    EXPECT_TRUE(CFURLHasDirectoryPath(dir));
    EXPECT_EQ(Take(CFURLCopyFileSystemPath(dir, kCFURLPOSIXPathStyle)), "/tmp/Job Notes/\xC3\xA4");

    CFURLRef parsed = CFURLCreateWithString(nullptr, CFURLGetString(dir), nullptr);
    ASSERT_NE(parsed, nullptr);
    EXPECT_TRUE(CFEqual(parsed, dir));
    EXPECT_EQ(CFHash(parsed), CFHash(dir));

    CFURLRef file = CFURLCreateCopyAppendingPathComponent(nullptr, dir, CFSTR("Info.plist"), false);
    EXPECT_FALSE(CFURLHasDirectoryPath(file));
    EXPECT_EQ(Take(CFURLCopyLastPathComponent(file)), "Info.plist");
    EXPECT_EQ(Take(CFURLCopyPathExtension(file)), "plist");
    UInt8 rep[64];
    ASSERT_TRUE(CFURLGetFileSystemRepresentation(file, true, rep, sizeof rep));
    EXPECT_STREQ(reinterpret_cast<char*>(rep), "/tmp/Job Notes/\xC3\xA4/Info.plist");
    EXPECT_FALSE(CFURLGetFileSystemRepresentation(file, true, rep, 10));

    CFURLRef parent = CFURLCreateCopyDeletingLastPathComponent(nullptr, file);
    EXPECT_TRUE(CFEqual(parent, dir));
    CFURLRef bare = CFURLCreateCopyDeletingPathExtension(nullptr, file);
    EXPECT_EQ(Take(CFURLCopyLastPathComponent(bare)), "Info");
    CFURLRef strings = CFURLCreateCopyAppendingPathExtension(nullptr, bare, CFSTR("strings"));
    EXPECT_EQ(Take(CFURLCopyLastPathComponent(strings)), "Info.strings");

    CFURLRef rel = CFURLCreateWithString(nullptr, CFSTR("sub/x%23.txt"), dir);
    EXPECT_EQ(Take(CFURLCopyFileSystemPath(rel, kCFURLPOSIXPathStyle)),
              "/tmp/Job Notes/\xC3\xA4/sub/x#.txt");

    for (CFURLRef u : {dir, parsed, file, parent, bare, strings, rel}) CFRelease(u);
}

TEST(CFURL, RootRelativeAndMalformedInput) {
    CFURLRef root = PathURL("/", false);
    EXPECT_TRUE(CFURLHasDirectoryPath(root));
    EXPECT_EQ(Text(CFURLGetString(root)), "file:///");
    CFURLRef up = CFURLCreateCopyDeletingLastPathComponent(nullptr, root);
    EXPECT_TRUE(CFEqual(up, root));
    CFRelease(up);
    CFRelease(root);

    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    CFURLRef rel = PathURL("a/b.ppd", false);
    EXPECT_EQ(Take(CFURLCopyFileSystemPath(rel, kCFURLPOSIXPathStyle)),
              std::string(cwd) + "/a/b.ppd");
    CFRelease(rel);

    EXPECT_EQ(PathURL("", false), nullptr);
    EXPECT_EQ(CFURLCreateWithFileSystemPath(nullptr, CFSTR("/x"), kCFURLHFSPathStyle, false),
              nullptr);
    for (const char* bad : {"file:///a b", "file:///a%2", "file:///a%zz", "no-scheme/path", "",
                            "file:relative", "file:///nul%00byte"}) {
        CFStringRef str = CFStringCreateWithCString(nullptr, bad, kCFStringEncodingUTF8);
        EXPECT_EQ(CFURLCreateWithString(nullptr, str, nullptr), nullptr) << bad;
        CFRelease(str);
    }
    CFURLRef web = CFURLCreateWithString(nullptr, CFSTR("http://example.invalid/x"), nullptr);
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(CFURLCopyFileSystemPath(web, kCFURLPOSIXPathStyle), nullptr);
    EXPECT_EQ(Take(CFURLCopyScheme(web)), "http");
    CFRelease(web);
}

class CFURLResource : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/halyx-cfurl-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        mDir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + mDir + "'").c_str()); }
    std::string mDir;
};

TEST_F(CFURLResource, WritesAndReadsWholeFiles) {
    CFURLRef folder = PathURL((mDir + "/sub").c_str(), true);
    SInt32 status = 1;
    ASSERT_TRUE(CFURLWriteDataAndPropertiesToResource(folder, nullptr, nullptr, &status));
    EXPECT_EQ(status, noErr);

    CFURLRef file = CFURLCreateCopyAppendingPathComponent(nullptr, folder, CFSTR("f.bin"), false);
    std::string payload(200000, '\0');
    for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<char>(i * 7);
    CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(payload.data()),
                                  static_cast<CFIndex>(payload.size()));
    ASSERT_TRUE(CFURLWriteDataAndPropertiesToResource(file, data, nullptr, &status));

    CFDataRef read = nullptr;
    CFDictionaryRef props = reinterpret_cast<CFDictionaryRef>(&status);
    ASSERT_TRUE(
        CFURLCreateDataAndPropertiesFromResource(nullptr, file, &read, &props, nullptr, &status));
    EXPECT_EQ(props, nullptr);
    EXPECT_TRUE(CFEqual(read, data));
    CFRelease(read);
    // Mapped, or read where a file cannot be mapped: the same bytes either way.
    std::string empty = mDir + "/empty";
    std::fclose(std::fopen(empty.c_str(), "w"));
    CFURLRef emptyURL = PathURL(empty.c_str(), false);
    CFURLRef device = PathURL("/dev/null", false);
    CFDataRef none = CFDataCreate(nullptr, nullptr, 0);
    const struct {
        CFURLRef url;
        CFDataRef bytes;
    } mapped[] = {{file, data}, {emptyURL, none}, {device, none}};
    for (const auto& m : mapped) {
        ASSERT_TRUE(HalyxCFURLCreateMappedDataFromResource(m.url, &read, &status));
        EXPECT_TRUE(CFEqual(read, m.bytes));
        EXPECT_TRUE(CFEqual(m.bytes, read));
        CFRelease(read);
    }
    CFRelease(none);
    CFRelease(device);
    CFRelease(emptyURL);
    CFRelease(data);
    CFRelease(file);
    CFRelease(folder);
}

TEST_F(CFURLResource, HostErrorsBecomePlatformStatuses) {
    struct Case {
        std::string path;
        SInt32 status;
    };
    std::string plain = mDir + "/plain";
    FILE* f = std::fopen(plain.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    const Case cases[] = {
        {mDir + "/missing", fnfErr},
        {plain + "/below", dirNFErr},
        {mDir, fnfErr},  // a folder is not a file
    };
    for (const Case& c : cases) {
        CFURLRef url = PathURL(c.path.c_str(), false);
        CFDataRef data = reinterpret_cast<CFDataRef>(&f);
        SInt32 status = 0;
        EXPECT_FALSE(CFURLCreateDataAndPropertiesFromResource(nullptr, url, &data, nullptr, nullptr,
                                                              &status));
        EXPECT_EQ(status, c.status) << c.path;
        EXPECT_EQ(data, nullptr);
        status = 0;
        EXPECT_FALSE(HalyxCFURLCreateMappedDataFromResource(url, &data, &status));
        EXPECT_EQ(status, c.status) << c.path;
        EXPECT_EQ(data, nullptr);
        CFRelease(url);
    }
    CFURLRef below = PathURL((plain + "/x").c_str(), false);
    SInt32 status = 0;
    EXPECT_FALSE(CFURLWriteDataAndPropertiesToResource(below, nullptr, nullptr, &status));
    EXPECT_EQ(status, dirNFErr);
    CFRelease(below);
    CFURLRef web = CFURLCreateWithString(nullptr, CFSTR("http://h/x"), nullptr);
    EXPECT_FALSE(
        CFURLCreateDataAndPropertiesFromResource(nullptr, web, nullptr, nullptr, nullptr, &status));
    EXPECT_EQ(status, paramErr);
    CFRelease(web);
}

}  // namespace
