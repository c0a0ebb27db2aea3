// Finding the printer's PPD, the bundle and its printer list, parsing afresh, localized texts and
// temporary names, over bundles made for each test.
#include "Core/PrinterLookup.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "Core/BundleLookup.h"
#include "Core/PDEBundle.h"
#include "Core/PPDAcceptance.h"
#include "Core/PrinterListFile.h"
#include "Core/RandomFileName.h"
#include "HIToolbox/Sound.h"
#include "PPDObjects/PPDXControls.h"
#include "PrintCore/HalyxPrintHost.h"
#include "PrintCore/PMPrinter.h"
#include "PrintCore/ToolboxRandom.h"
#include "parser/ORBPPD.h"

namespace {

const char kSample[] = HALYX_SOURCE_DIR "/examples/HalyxSample.ppd";

const char kInfoFormat[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
    "<key>CFBundleIdentifier</key><string>%s</string></dict></plist>\n";

class PrinterLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/halyx-lookup-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        folder = pattern;
        HalyxBundleAddSearchFolder(folder.c_str());
        ASSERT_EQ(noErr, HalyxCreatePrintSession(kSample, &session));
    }
    void TearDown() override {
        if (session != nullptr) PMRelease(session);
        for (auto it = paths.rbegin(); it != paths.rend(); ++it) remove(it->c_str());
        rmdir(folder.c_str());
        HalyxBundleResetRegistry();
        PDEBundle::InitBundle(nullptr);
    }
    void Write(const std::string& path, const std::string& text) {
        FILE* file = fopen(path.c_str(), "wb");
        ASSERT_NE(nullptr, file);
        fwrite(text.data(), 1, text.size(), file);
        fclose(file);
        paths.push_back(path);
    }
    void MakeFolder(const std::string& path) {
        ASSERT_EQ(0, mkdir(path.c_str(), 0755));
        paths.push_back(path);
    }
    // A bundle "<name>.plugin" with identifier `name` and, unless `printerList` is null, that
    // text as its printer list.
    CFStringRef MakeBundle(const char* name, const char* printerList) {
        std::string root = folder + "/" + name + ".plugin";
        MakeFolder(root);
        MakeFolder(root + "/Contents");
        char info[512];
        snprintf(info, sizeof info, kInfoFormat, name);
        Write(root + "/Contents/Info.plist", info);
        if (printerList != nullptr) Write(root + "/Contents/PrinterList.plist", printerList);
        identifiers.push_back(CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8));
        return identifiers.back();
    }
    static std::string PrinterList(const char* arrayBody) {
        return std::string("<plist version=\"1.0\"><dict><key>PCFILENAME</key>") + arrayBody +
               "</dict></plist>";
    }
    ~PrinterLookupTest() override {
        for (CFStringRef identifier : identifiers) CFRelease(identifier);
    }

    PMPrintSession session = nullptr;
    std::string folder;
    std::vector<std::string> paths;
    std::vector<CFStringRef> identifiers;
};

TEST_F(PrinterLookupTest, GetPPDFileFollowsTheCurrentPrinter) {
    CFURLRef url = nullptr;
    FSRef ref;
    ASSERT_EQ(noErr, GetPPDFile(session, &url, &ref));
    ASSERT_NE(nullptr, url);
    CFStringRef last = CFURLCopyLastPathComponent(url);
    EXPECT_EQ(kCFCompareEqualTo, CFStringCompare(last, CFSTR("HalyxSample.ppd"), 0));
    CFRelease(last);
    CFRelease(url);

    // A PPD that is not there: -43, with the URL still handed out.
    ASSERT_EQ(noErr, HalyxSessionSetPrinterPPD(session, "/nonexistent/HalyxGone.ppd"));
    EXPECT_EQ(fnfErr, GetPPDFile(session, &url, &ref));
    EXPECT_NE(nullptr, url);
    if (url != nullptr) CFRelease(url);
    // A printer without a PPD, and a session without a printer: the printing system's status.
    ASSERT_EQ(noErr, HalyxSessionSetPrinterPPD(session, nullptr));
    EXPECT_EQ(kPMKeyNotFound, GetPPDFile(session, &url, &ref));
    EXPECT_EQ(nullptr, url);
    PMPrintSession bare = nullptr;
    ASSERT_EQ(noErr, PMCreateSession(&bare));
    EXPECT_EQ(kPMInvalidPrinter, GetPPDFile(bare, &url, &ref));
    PMRelease(bare);
}

TEST_F(PrinterLookupTest, SetupPPDParsesWithTheBundlesPrinterList) {
    CFStringRef listed =
        MakeBundle("com.halyx.test.listed",
                   PrinterList("<array><string>HALYX01.PPD</string></array>").c_str());
    ORBPPD* model = SetupPPD(session, listed);
    ASSERT_NE(nullptr, model);
    EXPECT_TRUE(model->IsValidPrinterName());
    EXPECT_TRUE(model->IsValidPPD());
    ASSERT_NE(nullptr, model->GetControls());
    EXPECT_GT(model->GetControls()->ControlCount(), 0u);
    EXPECT_EQ(ORBPPD::kParseOrphans | ORBPPD::kParseHidden, model->ParseOptions());
    model->Retain();
    EXPECT_TRUE(model->Release());

    // Another printer's list: a model still comes back, refused by its name and without controls.
    CFStringRef other = MakeBundle(
        "com.halyx.test.other", PrinterList("<array><string>OTHER.PPD</string></array>").c_str());
    model = SetupPPD(session, other);
    ASSERT_NE(nullptr, model);
    EXPECT_FALSE(model->IsValidPrinterName());
    EXPECT_TRUE(model->GetControls() == nullptr || model->GetControls()->ControlCount() == 0);
    model->Retain();
    model->Release();
}

TEST_F(PrinterLookupTest, SetupPPDGivesNothingWithoutPrinterListBundleOrPPD) {
    EXPECT_EQ(nullptr, SetupPPD(session, MakeBundle("com.halyx.test.nolist", nullptr)));
    EXPECT_EQ(nullptr, SetupPPD(session, MakeBundle("com.halyx.test.nokey",
                                                    "<plist version=\"1.0\"><dict><key>NAMES</key>"
                                                    "<array/></dict></plist>")));
    EXPECT_EQ(nullptr,
              SetupPPD(session, MakeBundle("com.halyx.test.notarray",
                                           PrinterList("<string>HALYX01.PPD</string>").c_str())));
    EXPECT_EQ(nullptr, SetupPPD(session, MakeBundle("com.halyx.test.broken",
                                                    "<plist><dict><key>PCFILENAME</key>")));
    EXPECT_EQ(nullptr, SetupPPD(session, CFSTR("com.halyx.test.unknown")));
    EXPECT_EQ(nullptr, CreatePDEContentsURL(CFSTR("com.halyx.test.unknown")));

    CFStringRef good = MakeBundle(
        "com.halyx.test.good", PrinterList("<array><string>HALYX01.PPD</string></array>").c_str());
    ASSERT_EQ(noErr, HalyxSessionSetPrinterPPD(session, "/nonexistent/HalyxGone.ppd"));
    EXPECT_EQ(nullptr, SetupPPD(session, good));

    // The printer list's own account: not loaded, with the read status kept.
    CFURLRef contents = CreatePDEContentsURL(identifiers[0]);
    ASSERT_NE(nullptr, contents);
    PrinterListFile missing(contents, kCFPropertyListImmutable);
    EXPECT_FALSE(missing.Loaded());
    EXPECT_EQ(fnfErr, missing.Error());
    EXPECT_EQ(nullptr, missing.Names());
    CFRelease(contents);
}

// A printer list whose file has settled is read once; a change to the file, even to the same
// size, or a change too recent to be told by the file's times, is read again.
TEST_F(PrinterLookupTest, PrinterListIsReadAgainOnlyWhenItsFileMayHaveChanged) {
    CFStringRef identifier =
        MakeBundle("com.halyx.test.listed",
                   PrinterList("<array><string>HALYX01.PPD</string></array>").c_str());
    const std::string list = folder + "/com.halyx.test.listed.plugin/Contents/PrinterList.plist";
    CFURLRef contents = CreatePDEContentsURL(identifier);
    ASSERT_NE(nullptr, contents);
    // Dates the file back and lets its last change (now) settle.
    auto age = [&](time_t seconds) {
        struct timespec times[2] = {{time(nullptr) - seconds, 0}, {time(nullptr) - seconds, 0}};
        ASSERT_EQ(0, utimensat(AT_FDCWD, list.c_str(), times, 0));
        usleep(200 * 1000);
    };
    auto first = [&](const PrinterListFile& file) {
        char name[64] = "";
        EXPECT_TRUE(file.Loaded());
        if (file.Loaded())
            CFStringGetCString(static_cast<CFStringRef>(CFArrayGetValueAtIndex(file.Names(), 0)),
                               name, sizeof name, kCFStringEncodingUTF8);
        return std::string(name);
    };
    age(60);
    {
        PrinterListFile a(contents, kCFPropertyListImmutable);
        PrinterListFile b(contents, kCFPropertyListImmutable);
        EXPECT_EQ(a.Names(), b.Names());  // one reading, shared
        EXPECT_EQ("HALYX01.PPD", first(b));
    }
    // Rewritten in place to the same size; still older than the reading, but its times moved.
    Write(list, PrinterList("<array><string>HALYX02.PPD</string></array>"));
    age(30);
    {
        PrinterListFile c(contents, kCFPropertyListImmutable);
        EXPECT_EQ("HALYX02.PPD", first(c));
    }
    // A file changed just now is not known by its times: every reader reads it.
    Write(list, PrinterList("<array><string>HALYX03.PPD</string></array>"));
    {
        PrinterListFile d(contents, kCFPropertyListImmutable);
        PrinterListFile e(contents, kCFPropertyListImmutable);
        EXPECT_NE(d.Names(), e.Names());
        EXPECT_EQ("HALYX03.PPD", first(e));
    }
    CFRelease(contents);
}

// The answer for a PPD is kept while its file stays as it was: a PPD rewritten to name another
// file, even at the same size, gets a new answer.
TEST_F(PrinterLookupTest, AcceptanceFollowsTheFileTheAnswerWasFor) {
    const std::string ppd = folder + "/Accepted.ppd";
    CFStringRef listed[] = {CFSTR("HALYX01.PPD")};
    CFArrayRef names =
        CFArrayCreate(nullptr, reinterpret_cast<const void**>(listed), 1, &kCFTypeArrayCallBacks);
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(ppd.c_str()), static_cast<CFIndex>(ppd.size()),
        false);
    const struct {
        const char* name;
        time_t age;
        bool accepted;
    } kSteps[] = {{"HALYX01.PPD", 60, true},
                  {"HALYX01.PPD", 60, true},
                  {"HALYX02.PPD", 30, false},
                  {"HALYX01.PPD", 0, true},
                  {"HALYX02.PPD", 0, false}};
    for (const auto& step : kSteps) {
        SCOPED_TRACE(step.name);
        Write(ppd, std::string("*PPD-Adobe: \"4.3\"\n*PCFileName: \"") + step.name + "\"\n");
        if (step.age > 0) {
            struct timespec times[2] = {{time(nullptr) - step.age, 0},
                                        {time(nullptr) - step.age, 0}};
            ASSERT_EQ(0, utimensat(AT_FDCWD, ppd.c_str(), times, 0));
            usleep(200 * 1000);
        }
        EXPECT_EQ(step.accepted, IsAcceptedPPD(url, names));
        EXPECT_EQ(step.accepted, IsAcceptedPPD(url, names));
    }
    CFRelease(url);
    CFRelease(names);
}

TEST_F(PrinterLookupTest, BundleIsCachedUntilFreed) {
    CFStringRef identifier = MakeBundle("com.halyx.test.cached", nullptr);
    EXPECT_EQ(nullptr, MyGetBundle(CFSTR("com.halyx.test.unknown")));
    CFBundleRef bundle = MyGetBundle(identifier);
    ASSERT_NE(nullptr, bundle);
    // Once cached, the same bundle answers whatever is asked.
    EXPECT_EQ(bundle, MyGetBundle(CFSTR("com.halyx.test.unknown")));
    EXPECT_EQ(nullptr, MyFreeBundle(identifier));
    EXPECT_EQ(nullptr, MyGetBundle(CFSTR("com.halyx.test.unknown")));
    EXPECT_EQ(nullptr, MyFreeBundle(identifier));
}

TEST_F(PrinterLookupTest, LocalizedStringsInTheSystemEncoding) {
    CFStringRef identifier = MakeBundle("com.halyx.test.strings", nullptr);
    std::string resources = folder + "/com.halyx.test.strings.plugin/Contents/Resources";
    MakeFolder(resources);
    MakeFolder(resources + "/English.lproj");
    Write(resources + "/English.lproj/Localizable.strings",
          "\"Greeting\" = \"Caf\xC3\xA9 %s\";\n\"Wide\" = \"\xE4\xB8\x80\";\n");

    char buffer[256];
    strcpy(buffer, "untouched");
    EXPECT_EQ(0, PDEBundle::GetLocalizedString("Greeting", buffer, 255, nullptr));
    EXPECT_STREQ("untouched", buffer);
    EXPECT_EQ(nullptr, PDEBundle::GetLocalizedCFString("Greeting", nullptr));

    CFBundleRef bundle = CFBundleGetBundleWithIdentifier(identifier);
    ASSERT_NE(nullptr, bundle);
    PDEBundle::InitBundle(bundle);
    EXPECT_TRUE(PDEBundle::Initialized());
    EXPECT_EQ(7, PDEBundle::GetLocalizedString("Greeting", buffer, 255, nullptr));
    EXPECT_STREQ("Caf\x8E %s", buffer);  // Mac OS Roman
    EXPECT_EQ(3, PDEBundle::GetLocalizedString("Greeting", buffer, 4, bundle));
    EXPECT_STREQ("Caf", buffer);
    EXPECT_EQ(9, PDEBundle::GetLocalizedString("NoSuchKey", buffer, 255, nullptr));
    EXPECT_STREQ("NoSuchKey", buffer);

    HalyxResetBeeps();
    EXPECT_EQ(0, PDEBundle::GetLocalizedString("Wide", buffer, 255, nullptr));
    EXPECT_STREQ("", buffer);
    EXPECT_EQ(1u, HalyxBeepCount());
    EXPECT_EQ(1, HalyxBeepDuration(0));
}

TEST_F(PrinterLookupTest, RandomNamesAreUnsignedSixteenBitNumbers) {
    randSeed = 42;
    bool above = false;
    for (int i = 0; i < 200; ++i) {
        SInt32 seed = randSeed;
        char plain[kRandomFileNameBufferSize];
        CFStringRef plainText = CreateRandomFileName(nullptr, plain);
        randSeed = seed;
        char prefixed[kRandomFileNameBufferSize];
        CFStringRef prefixedText = CreateRandomFileName("/tmp/Halyx.temp", prefixed);
        ASSERT_NE(nullptr, plainText);
        ASSERT_NE(nullptr, prefixedText);
        std::string number = plain;
        ASSERT_FALSE(number.empty());
        ASSERT_EQ(std::string::npos, number.find_first_not_of("0123456789")) << number;
        long value = atol(plain);
        EXPECT_LE(value, 65535);
        above = above || value > 32767;
        EXPECT_EQ("/tmp/Halyx.temp" + number, std::string(prefixed));
        char back[kRandomFileNameBufferSize];
        ASSERT_TRUE(CFStringGetCString(prefixedText, back, sizeof back, kCFStringEncodingMacRoman));
        EXPECT_STREQ(prefixed, back);
        CFRelease(plainText);
        CFRelease(prefixedText);
    }
    EXPECT_TRUE(above);  // negative draws count from 32768 up
    CFStringRef onlyReturned = CreateRandomFileName(nullptr, nullptr);
    EXPECT_NE(nullptr, onlyReturned);
    CFRelease(onlyReturned);
}

}  // namespace
