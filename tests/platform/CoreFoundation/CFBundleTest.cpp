#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFPlugIn.h"
#include "CoreFoundation/CFStringsTable.h"

namespace {

std::string Text(CFTypeRef str) {
    if (str == nullptr || CFGetTypeID(str) != CFStringGetTypeID()) return "(none)";
    char buffer[512];
    CFStringGetCString(static_cast<CFStringRef>(str), buffer, sizeof buffer, kCFStringEncodingUTF8);
    return buffer;
}

std::string Take(CFTypeRef str) {
    std::string text = Text(str);
    if (str != nullptr) CFRelease(str);
    return text;
}

std::string PathOf(CFURLRef url) {
    if (url == nullptr) return "(none)";
    char buffer[1024];
    CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(buffer), sizeof buffer);
    CFRelease(url);
    return buffer;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::system(("mkdir -p \"$(dirname '" + path + "')\"").c_str());
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string UTF16LEWithMark(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

std::string InfoPlist(const std::string& identifier) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>CFBundleIdentifier</key><string>" +
           identifier +
           "</string>"
           "<key>CFBundleExecutable</key><string>JobNotes</string>"
           "<key>CFPlugInTypes</key><dict/></dict></plist>\n";
}

// Builds bundles in a fresh temporary folder and forgets every registered bundle afterwards.
class CFBundleTest : public ::testing::Test {
protected:
    void SetUp() override {
        HalyxBundleResetRegistry();
        char pattern[] = "/tmp/halyx-bundle-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        mDir = pattern;
        std::string contents = mDir + "/JobNotes.plugin/Contents/";
        WriteFile(contents + "Info.plist", InfoPlist("com.halyx.jobnotes"));
        WriteFile(contents + "MacOS/JobNotes", "binary");
        WriteFile(contents + "Resources/PrinterList.plist", "<plist><dict/></plist>");
        WriteFile(contents + "Resources/sub/x.dat", "x");
        WriteFile(contents + "Resources/English.lproj/Only.txt", "localized");
        WriteFile(contents + "Resources/English.lproj/Localizable.strings",
                  UTF16LEWithMark("/* editor messages */\n"
                                  "\"NumbersOnly\" = \"Only digits, please.\";\n"
                                  "// a line comment\n"
                                  "\"Quote\" = \"say \\\"hi\\\"\\n\\tback\\\\slash \\U00e4\";\n"
                                  "Bare = word.with:punct;\n"
                                  "\"Self\";\n"));
        WriteFile(contents + "Resources/de.lproj/Localizable.strings",
                  "\"NumbersOnly\" = \"Nur Ziffern\";");
        WriteFile(contents + "Resources/Errors.strings",
                  "\xEF\xBB\xBF\"E1\" = \"Gr\xC3\xBC\xC3\x9F"
                  "e\";");
        WriteFile(contents + "Resources/English.lproj/Broken.strings", "\"a\" = \"b\"");
        mBundlePath = mDir + "/JobNotes.plugin";
    }
    void TearDown() override {
        HalyxBundleResetRegistry();
        std::system(("rm -rf '" + mDir + "'").c_str());
    }

    CFBundleRef Create(const std::string& path) {
        CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(path.c_str()),
            static_cast<CFIndex>(path.size()), true);
        CFBundleRef bundle = CFBundleCreate(nullptr, url);
        CFRelease(url);
        return bundle;
    }

    std::string mDir;
    std::string mBundlePath;
};

TEST_F(CFBundleTest, CreateGivesTheRegisteredBundleOfAFolder) {
    CFBundleRef bundle = Create(mBundlePath);
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(Create(mBundlePath + "/"), bundle);
    CFRelease(bundle);
    EXPECT_EQ(Text(CFBundleGetIdentifier(bundle)), "com.halyx.jobnotes");
    EXPECT_EQ(CFGetTypeID(CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFPlugInTypes"))),
              CFDictionaryGetTypeID());
    EXPECT_EQ(PathOf(CFBundleCopyBundleURL(bundle)), mBundlePath);
    EXPECT_EQ(PathOf(CFBundleCopyResourcesDirectoryURL(bundle)),
              mBundlePath + "/Contents/Resources");
    EXPECT_EQ(PathOf(CFBundleCopyExecutableURL(bundle)), mBundlePath + "/Contents/MacOS/JobNotes");
    CFRelease(bundle);

    EXPECT_EQ(Create(mDir + "/Missing.plugin"), nullptr);
    // A folder without Info.plist is a bundle with an empty info dictionary.
    std::system(("mkdir -p '" + mDir + "/Bare.bundle'").c_str());
    CFBundleRef bare = Create(mDir + "/Bare.bundle");
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(CFBundleGetIdentifier(bare), nullptr);
    EXPECT_EQ(CFDictionaryGetCount(CFBundleGetInfoDictionary(bare)), 0);
    EXPECT_EQ(CFBundleCopyExecutableURL(bare), nullptr);
    CFRelease(bare);
}

TEST_F(CFBundleTest, IdentifiersAreFoundInRegisteredFolders) {
    WriteFile(mDir + "/Other.bundle/Contents/Info.plist", InfoPlist("com.halyx.other"));
    WriteFile(mDir + "/NotABundle/Contents/Info.plist", InfoPlist("com.halyx.hidden"));
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.halyx.jobnotes")), nullptr);
    HalyxBundleAddSearchFolder(mDir.c_str());
    CFBundleRef found = CFBundleGetBundleWithIdentifier(CFSTR("com.halyx.jobnotes"));
    ASSERT_NE(found, nullptr);
    CFBundleRef created = Create(mBundlePath);
    EXPECT_EQ(created, found);
    CFRelease(created);
    EXPECT_NE(CFBundleGetBundleWithIdentifier(CFSTR("com.halyx.other")), nullptr);
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.halyx.hidden")), nullptr);
    HalyxBundleResetRegistry();
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.halyx.jobnotes")), nullptr);
}

TEST_F(CFBundleTest, ResourcesAreFoundPlainThenLocalized) {
    CFBundleRef bundle = Create(mBundlePath);
    std::string resources = mBundlePath + "/Contents/Resources/";
    EXPECT_EQ(
        PathOf(CFBundleCopyResourceURL(bundle, CFSTR("PrinterList"), CFSTR("plist"), nullptr)),
        resources + "PrinterList.plist");
    EXPECT_EQ(PathOf(CFBundleCopyResourceURL(bundle, CFSTR("PrinterList.plist"), nullptr, nullptr)),
              resources + "PrinterList.plist");
    EXPECT_EQ(PathOf(CFBundleCopyResourceURL(bundle, CFSTR("x"), CFSTR(".dat"), CFSTR("sub"))),
              resources + "sub/x.dat");
    EXPECT_EQ(PathOf(CFBundleCopyResourceURL(bundle, CFSTR("Only"), CFSTR("txt"), nullptr)),
              resources + "English.lproj/Only.txt");
    EXPECT_EQ(CFBundleCopyResourceURL(bundle, CFSTR("Absent"), CFSTR("txt"), nullptr), nullptr);
    EXPECT_EQ(CFBundleCopyResourceURL(bundle, CFSTR("x"), CFSTR("dat"), nullptr), nullptr);
    CFRelease(bundle);
}

TEST_F(CFBundleTest, LocalizedStringsComeFromTheTablesWithFallbacks) {
    CFBundleRef bundle = Create(mBundlePath);
    EXPECT_EQ(Take(CFBundleCopyLocalizedString(bundle, CFSTR("NumbersOnly"), nullptr, nullptr)),
              "Only digits, please.");
    EXPECT_EQ(
        Take(CFBundleCopyLocalizedString(bundle, CFSTR("Quote"), nullptr, CFSTR("Localizable"))),
        "say \"hi\"\n\tback\\slash \xC3\xA4");
    EXPECT_EQ(Take(CFBundleCopyLocalizedString(bundle, CFSTR("Bare"), nullptr, nullptr)),
              "word.with:punct");
    EXPECT_EQ(Take(CFBundleCopyLocalizedString(bundle, CFSTR("Self"), nullptr, nullptr)), "Self");
    EXPECT_EQ(Take(CFBundleCopyLocalizedString(bundle, CFSTR("E1"), nullptr, CFSTR("Errors"))),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    // Missing entries: the value when it is given and not empty, else the key.
    EXPECT_EQ(Take(CFBundleCopyLocalizedString(bundle, CFSTR("Nope"), CFSTR("Default"), nullptr)),
              "Default");
    EXPECT_EQ(Take(CFBundleCopyLocalizedString(bundle, CFSTR("Nope"), CFSTR(""), nullptr)), "Nope");
    EXPECT_EQ(Take(CFBundleCopyLocalizedString(bundle, CFSTR("a"), nullptr, CFSTR("Broken"))), "a");
    EXPECT_EQ(Take(CFBundleCopyLocalizedString(bundle, CFSTR("k"), nullptr, CFSTR("NoTable"))),
              "k");

    CFStringRef copy = CFBundleCopyLocalizedString(bundle, CFSTR("NumbersOnly"), nullptr, nullptr);
    CFIndex count = CFGetRetainCount(copy);
    CFStringRef again = CFBundleCopyLocalizedString(bundle, CFSTR("NumbersOnly"), nullptr, nullptr);
    EXPECT_EQ(CFGetRetainCount(copy), count + 1);  // the caller owns a reference
    CFRelease(again);
    CFRelease(copy);
    CFRelease(bundle);
}

TEST_F(CFBundleTest, WithoutEnglishTheShortNameThenTheFirstFolderIsUsed) {
    std::string resources = mDir + "/Loc.plugin/Contents/Resources/";
    WriteFile(resources + "de.lproj/Localizable.strings", "\"k\" = \"de\";");
    WriteFile(resources + "en.lproj/Localizable.strings", "\"k\" = \"en\";");
    WriteFile(mDir + "/De.plugin/Contents/Resources/fr.lproj/Localizable.strings",
              "\"k\" = \"fr\";");
    WriteFile(mDir + "/De.plugin/Contents/Resources/de.lproj/Localizable.strings",
              "\"k\" = \"de\";");
    CFBundleRef en = Create(mDir + "/Loc.plugin");
    CFBundleRef de = Create(mDir + "/De.plugin");
    EXPECT_EQ(Take(CFBundleCopyLocalizedString(en, CFSTR("k"), nullptr, nullptr)), "en");
    EXPECT_EQ(Take(CFBundleCopyLocalizedString(de, CFSTR("k"), nullptr, nullptr)), "de");
    CFRelease(en);
    CFRelease(de);
}

TEST(CFStringsTable, MalformedTablesAreRefused) {
    for (const char* bad : {"\"a\" = \"b\"", "\"a\" = ;", "\"a\" \"b\";", "\"unterminated",
                            "/* open comment", "= \"b\";", "\"a\" = \"\\U\";"}) {
        std::string error;
        CFDictionaryRef table = halyxcf::ParseStringsTable(reinterpret_cast<const UInt8*>(bad),
                                                           std::strlen(bad), &error);
        EXPECT_EQ(table, nullptr) << bad;
        EXPECT_FALSE(error.empty()) << bad;
        CFRelease(table);
    }
    const char octal[] = "\"o\" = \"\\101\\60x\"; \"o\" = \"last \\q\";";
    std::string error;
    CFDictionaryRef table =
        halyxcf::ParseStringsTable(reinterpret_cast<const UInt8*>(octal), sizeof octal - 1, &error);
    ASSERT_NE(table, nullptr) << error;
    EXPECT_EQ(Text(CFDictionaryGetValue(table, CFSTR("o"))), "last q");
    CFRelease(table);
}

TEST(CFPlugIn, FactoryInstancesAreCounted) {
    CFUUIDRef factory =
        CFUUIDCreateFromString(nullptr, CFSTR("11111111-2222-3333-4444-555555555555"));
    CFUUIDRef sameFactory =
        CFUUIDGetConstantUUIDWithBytes(nullptr, 0x11, 0x11, 0x11, 0x11, 0x22, 0x22, 0x33, 0x33,
                                       0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55);
    EXPECT_EQ(HalyxPlugInInstanceCountForFactory(factory), 0);
    CFPlugInAddInstanceForFactory(factory);
    CFPlugInAddInstanceForFactory(sameFactory);
    EXPECT_EQ(HalyxPlugInInstanceCountForFactory(factory), 2);
    CFPlugInRemoveInstanceForFactory(factory);
    CFPlugInRemoveInstanceForFactory(factory);
    CFPlugInRemoveInstanceForFactory(factory);  // none left: ignored
    EXPECT_EQ(HalyxPlugInInstanceCountForFactory(sameFactory), 0);
    CFPlugInAddInstanceForFactory(nullptr);
    EXPECT_EQ(HalyxPlugInInstanceCountForFactory(nullptr), 0);
    CFRelease(factory);
}

}  // namespace
