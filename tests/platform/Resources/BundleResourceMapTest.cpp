#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "../Files/TempDirectory.h"
#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFPropertyList.h"
#include "CoreFoundation/CFURL.h"
#include "Resources/Resources.h"

namespace {

const char kStrings[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict><key>STR#</key><dict>"
    "<key>300</key><array><string>from the bundle</string></array></dict></dict></plist>";

std::string Info(const std::string& executable) {
    std::string body = "<key>CFBundleIdentifier</key><string>com.halyx.test.maps</string>";
    if (!executable.empty())
        body += "<key>CFBundleExecutable</key><string>" + executable + "</string>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>" + body +
           "</dict></plist>";
}

CFBundleRef BundleAt(const std::string& path) {
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(nullptr, (const UInt8*)path.c_str(),
                                                           (CFIndex)path.size(), true);
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    return bundle;
}

std::string Entry(SInt16 listID, SInt16 index) {
    Str255 text;
    GetIndString(text, listID, index);
    return std::string((const char*)text + 1, text[0]);
}

// Makes Name.plugin/Contents/{Info.plist, Resources/} under `dir`.
std::string MakeBundle(const TempDirectory& dir, const std::string& name, const std::string& info) {
    std::string contents = name + ".plugin/Contents";
    mkdir(dir.Join(name + ".plugin").c_str(), 0777);
    mkdir(dir.Join(contents).c_str(), 0777);
    mkdir(dir.Join(contents + "/Resources").c_str(), 0777);
    dir.Write(contents + "/Info.plist", info);
    return contents + "/Resources/";
}

TEST(BundleResourceMapTest, MapIsNamedAfterTheExecutableElseTheFolder) {
    TempDirectory dir;
    ASSERT_FALSE(dir.Path().empty());
    std::string resources = MakeBundle(dir, "First", Info("Tool"));
    ASSERT_TRUE(dir.Write(resources + "First.rsrc", "decoy: the folder name loses"));
    ASSERT_TRUE(dir.Write(resources + "Tool.rsrc", kStrings));
    resources = MakeBundle(dir, "Second", Info(""));
    ASSERT_TRUE(dir.Write(resources + "Second.rsrc", kStrings));

    for (const char* name : {"First", "Second"}) {
        CFBundleRef bundle = BundleAt(dir.Join(std::string(name) + ".plugin"));
        ASSERT_NE(nullptr, bundle) << name;
        ResFileRefNum saved = CurResFile();
        ResFileRefNum map = CFBundleOpenBundleResourceMap(bundle);
        ASSERT_NE(-1, map) << name << " status " << ResError();
        EXPECT_EQ(map, CurResFile());
        EXPECT_EQ("from the bundle", Entry(300, 1)) << name;
        CFBundleCloseBundleResourceMap(bundle, map);
        EXPECT_EQ(noErr, ResError());
        UseResFile(saved);
        CFRelease(bundle);
    }
}

TEST(BundleResourceMapTest, BundleWithoutMapGivesMinusOne) {
    TempDirectory dir;
    ASSERT_FALSE(dir.Path().empty());
    MakeBundle(dir, "Bare", Info("Bare"));
    CFBundleRef bundle = BundleAt(dir.Join("Bare.plugin"));
    ASSERT_NE(nullptr, bundle);
    EXPECT_EQ(-1, CFBundleOpenBundleResourceMap(bundle));
    EXPECT_EQ(resFNotFound, ResError());
    CFRelease(bundle);
    EXPECT_EQ(-1, CFBundleOpenBundleResourceMap(nullptr));
    EXPECT_EQ(paramErr, ResError());
}

// The string lists of the resource file in the source tree, as a dictionary from id to array.
CFDictionaryRef SourceStringLists(CFPropertyListRef* root) {
    std::string path = std::string(HALYX_SOURCE_DIR) + "/bundle/Resources/HalyxJobNotes.rsrc";
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(nullptr, (const UInt8*)path.c_str(),
                                                           (CFIndex)path.size(), false);
    CFDataRef data = nullptr;
    SInt32 status = 0;
    CFURLCreateDataAndPropertiesFromResource(nullptr, url, &data, nullptr, nullptr, &status);
    CFRelease(url);
    if (data == nullptr) return nullptr;
    *root = CFPropertyListCreateWithData(nullptr, data, kCFPropertyListImmutable, nullptr, nullptr);
    CFRelease(data);
    if (*root == nullptr || CFGetTypeID(*root) != CFDictionaryGetTypeID()) return nullptr;
    return (CFDictionaryRef)CFDictionaryGetValue((CFDictionaryRef)*root, CFSTR("STR#"));
}

TEST(BundleResourceMapTest, BuiltPlugInBundleServesItsStringLists) {
    CFBundleRef bundle = BundleAt(std::string(HALYX_BINARY_DIR) + "/HalyxJobNotes.plugin");
    ASSERT_NE(nullptr, bundle);
    ResFileRefNum saved = CurResFile();
    ResFileRefNum map = CFBundleOpenBundleResourceMap(bundle);
    ASSERT_NE(-1, map) << "status " << ResError();

    CFPropertyListRef root = nullptr;
    CFDictionaryRef lists = SourceStringLists(&root);
    ASSERT_NE(nullptr, lists) << "the source resource file has no STR# dictionary";
    CFIndex count = CFDictionaryGetCount(lists);
    std::vector<const void*> ids((size_t)count), values((size_t)count);
    CFDictionaryGetKeysAndValues(lists, ids.data(), values.data());
    for (CFIndex i = 0; i < count; ++i) {
        char idText[16];
        ASSERT_TRUE(
            CFStringGetCString((CFStringRef)ids[i], idText, sizeof idText, kCFStringEncodingASCII));
        SInt16 id = (SInt16)std::stoi(idText);
        CFIndex entries = CFArrayGetCount((CFArrayRef)values[i]);
        for (CFIndex e = 1; e <= entries; ++e) {
            CFStringRef source = (CFStringRef)CFArrayGetValueAtIndex((CFArrayRef)values[i], e - 1);
            char expected[256];
            ASSERT_TRUE(
                CFStringGetCString(source, expected, sizeof expected, kCFStringEncodingMacRoman))
                << "list " << id << " entry " << e;
            EXPECT_EQ(expected, Entry(id, (SInt16)e)) << "list " << id << " entry " << e;
            EXPECT_EQ(noErr, ResError());
        }
        EXPECT_EQ("", Entry(id, (SInt16)(entries + 1)));
        EXPECT_EQ(resNotFound, ResError());
    }
    if (root != nullptr) CFRelease(root);
    CFBundleCloseBundleResourceMap(bundle, map);
    UseResFile(saved);
    CFRelease(bundle);
}

}  // namespace
