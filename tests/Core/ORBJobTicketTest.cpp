// The job's pieces: what Add collects, the pieces file Save writes (its format, its mode, how its
// name is chosen) and what reaches the print settings.
#include "Core/ORBJobTicket.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFPropertyList.h"
#include "Core/PrintSettingsTicket.h"
#include "Core/RandomFileName.h"
#include "PPDObjects/PPDXControl.h"
#include "PrintCore/HalyxPrintHost.h"
#include "PrintCore/ToolboxRandom.h"
#include "foundation/PointerList.h"
#include "testing/FailureInjection.h"

namespace {

const CFStringRef kClient = CFSTR("com.halyx.print.pde.TEST.HJbn");
const CFStringRef kKey = CFSTR("ORB.PSData.com.halyx.print.pde.TEST.HJbn");

// A control whose PostScript is a fixed text.
class FixedControl : public PPDXControl {
public:
    explicit FixedControl(const std::string& postScript)
        : PPDXControl("*Fixed", nullptr, EmptyFlags(), Copy(postScript),
                      static_cast<long>(postScript.size()), true) {}
    void ResetToDefaultValue() override {}
    OSErr Restore(Settings&, SInt32) override { return noErr; }

private:
    static PointerList& EmptyFlags() {
        static PointerList flags;
        return flags;
    }
    static unsigned char* Copy(const std::string& text) {
        unsigned char* block = static_cast<unsigned char*>(malloc(text.size()));
        memcpy(block, text.data(), text.size());
        return block;
    }
};

std::string ReadFile(const std::string& path) {
    std::string text;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) return "<missing>";
    char buffer[4096];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, count);
    fclose(file);
    return text;
}

void WriteFile(const std::string& path, const std::string& text) {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
}

// The names that the next `count` draws of `prefix` give, without using them up.
std::vector<std::string> NextNames(const char* prefix, int count) {
    SInt32 seed = randSeed;
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        char name[kRandomFileNameBufferSize];
        CFStringRef text = CreateRandomFileName(prefix, name);
        CFRelease(text);
        names.push_back(name);
    }
    randSeed = seed;
    return names;
}

class ORBJobTicketTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A seed of this process's own keeps parallel runs off each other's names.
        randSeed = static_cast<SInt32>(static_cast<UInt32>(getpid()) * 7919u + 17u);
        ASSERT_EQ(noErr,
                  HalyxCreatePrintSession(HALYX_SOURCE_DIR "/examples/HalyxSample.ppd", &session));
        settings = new PrintSettingsTicket(session);
        ASSERT_TRUE(settings->Valid());
        char pattern[] = "/tmp/halyx-tickets-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        folder = pattern;
    }
    void TearDown() override {
        for (const std::string& path : created) unlink(path.c_str());
        rmdir(folder.c_str());
        delete settings;
        if (session != nullptr) PMRelease(session);
    }
    // The path stored in the print settings, or "" when there is none.
    std::string StoredPath() {
        CFStringRef path = nullptr;
        if (settings->Get(kKey, &path) != noErr) return "";
        char buffer[kRandomFileNameBufferSize];
        EXPECT_TRUE(CFStringGetCString(path, buffer, sizeof buffer, kCFStringEncodingUTF8));
        created.push_back(buffer);
        return buffer;
    }

    PMPrintSession session = nullptr;
    PrintSettingsTicket* settings = nullptr;
    std::string folder;
    std::vector<std::string> created;
};

TEST_F(ORBJobTicketTest, PiecesFileHoldsSitesAndBytesInTheOrderAdded) {
    ORBJobTicket ticket(settings, kKey);
    ASSERT_TRUE(ticket.Valid());
    const char comment[] = "%%ORBCustom1: 12345\n";
    const unsigned char binary[] = {0x00, 0xFF, 0x80, '<', '&', 0x0A};
    std::string large(1500, 'x');  // more than the local buffer takes
    large.replace(0, 6, "<<big>");
    FixedControl small("<</Duplex true>>setpagedevice");
    FixedControl big(large);

    EXPECT_TRUE(ticket.Add(kPSInjectionNoteComment, comment, sizeof comment - 1));
    EXPECT_TRUE(ticket.Add(kPSInjectionOrientation, comment, 0));  // nothing added
    EXPECT_TRUE(ticket.Add(kPSInjectionNoteFeature, binary, sizeof binary));
    EXPECT_TRUE(ticket.Add(kPSInjectionRange, &small));
    EXPECT_TRUE(ticket.Add(kPSInjectionRange, &big));
    EXPECT_EQ(4, ticket.Count());
    ASSERT_TRUE(ticket.Save(kClient));
    EXPECT_FALSE(ticket.Dirty());

    std::string path = StoredPath();
    ASSERT_EQ(0u, path.rfind("/tmp/Halyx.temp", 0)) << path;
    std::string number = path.substr(strlen("/tmp/Halyx.temp"));
    ASSERT_FALSE(number.empty());
    EXPECT_EQ(std::string::npos, number.find_first_not_of("0123456789"));
    EXPECT_LE(atol(number.c_str()), 65535);
    struct stat info;
    ASSERT_EQ(0, lstat(path.c_str(), &info));
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(0644u, info.st_mode & 07777);

    // Our own reader: an array of site, bytes, site, bytes ...
    std::string xml = ReadFile(path);
    CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(xml.data()), xml.size());
    CFPropertyListRef list = CFPropertyListCreateFromXMLData(nullptr, data, 0, nullptr);
    CFRelease(data);
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(CFArrayGetTypeID(), CFGetTypeID(list));
    CFArrayRef array = static_cast<CFArrayRef>(list);
    ASSERT_EQ(8, CFArrayGetCount(array));
    const SInt32 sites[] = {30, 81, 20, 20};
    const std::string bytes[] = {std::string(comment, sizeof comment - 1),
                                 std::string(reinterpret_cast<const char*>(binary), sizeof binary),
                                 "<</Duplex true>>setpagedevice", large};
    for (int i = 0; i < 4; ++i) {
        CFTypeRef site = CFArrayGetValueAtIndex(array, 2 * i);
        CFTypeRef piece = CFArrayGetValueAtIndex(array, 2 * i + 1);
        ASSERT_EQ(CFNumberGetTypeID(), CFGetTypeID(site));
        ASSERT_EQ(CFDataGetTypeID(), CFGetTypeID(piece));
        SInt32 value = 0;
        CFNumberGetValue(static_cast<CFNumberRef>(site), kCFNumberSInt32Type, &value);
        EXPECT_EQ(sites[i], value);
        CFDataRef pieceData = static_cast<CFDataRef>(piece);
        EXPECT_EQ(bytes[i], std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(pieceData)),
                                        CFDataGetLength(pieceData)));
    }
    CFRelease(list);

    // Python's reader sees the same: each site with the hex of its bytes.
    std::string command =
        "python3 -c \"import plistlib,sys;"
        "l=plistlib.load(open(sys.argv[1],'rb'));"
        "print(' '.join('%s:%s:%s'%(type(s).__name__,s,d.hex()) for s,d in zip(l[0::2],l[1::2])))"
        "\" " +
        path;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(nullptr, pipe);
    char line[16384] = "";
    ASSERT_NE(nullptr, fgets(line, sizeof line, pipe));
    EXPECT_EQ(0, pclose(pipe));
    std::string expected;
    for (int i = 0; i < 4; ++i) {
        char head[32];
        snprintf(head, sizeof head, "%sint:%d:", i ? " " : "", static_cast<int>(sites[i]));
        expected += head;
        for (unsigned char c : bytes[i]) {
            char hex[3];
            snprintf(hex, sizeof hex, "%02x", c);
            expected += hex;
        }
    }
    EXPECT_EQ(expected + "\n", std::string(line));
}

TEST_F(ORBJobTicketTest, SaveWritesOnlyWhenThereIsSomethingNew) {
    ORBJobTicket ticket(settings, kKey);
    // Nothing added: true, and no path stored.
    EXPECT_TRUE(ticket.Add(kPSInjectionNoteComment, "x", 0));
    EXPECT_TRUE(ticket.Save(kClient));
    EXPECT_EQ("", StoredPath());

    ASSERT_TRUE(ticket.Add(kPSInjectionNoteComment, "a\n", 2));
    EXPECT_FALSE(ticket.Save(nullptr));  // no client
    ASSERT_TRUE(ticket.Save(kClient));
    std::string first = StoredPath();
    ASSERT_FALSE(first.empty());
    // A second save without an Add writes nothing new.
    EXPECT_TRUE(ticket.Save(kClient));
    EXPECT_EQ(first, StoredPath());
    // After another Add the pieces go to a new file.
    ASSERT_TRUE(ticket.Add(kPSInjectionNoteFeature, "b", 1));
    ASSERT_TRUE(ticket.Save(kClient));
    std::string second = StoredPath();
    EXPECT_NE(first, second);
    EXPECT_NE(std::string::npos, ReadFile(second).find("YQo="));  // "a\n" is still there

    EXPECT_TRUE(ticket.Invalidate(kClient));
    EXPECT_EQ("", StoredPath());
    EXPECT_EQ(noErr, ticket.EnforceCopiesLimit(kClient, 3));
    SInt32 copies = 0;
    EXPECT_EQ(noErr, settings->GetInt(kPMCopiesKey, &copies));
    EXPECT_EQ(3, copies);

    ORBJobTicket withoutSettings(nullptr, kKey);
    EXPECT_FALSE(withoutSettings.Valid());
    EXPECT_TRUE(withoutSettings.Add(kPSInjectionRange, "c", 1));  // no list: nothing added
    EXPECT_EQ(0, withoutSettings.Count());
    EXPECT_FALSE(withoutSettings.Save(kClient));
}

TEST_F(ORBJobTicketTest, NamesAlreadyTakenAreNeverWrittenThrough) {
    // /tmp may already hold pieces files of other runs under some of the names drawn: the first
    // two free names become a link and another person's file, and the ticket must take the first
    // free name after them.
    std::vector<std::string> names = NextNames(ORBJobTicket::kPiecesFilePrefix, 64);
    std::vector<size_t> free;
    for (size_t i = 0; i < names.size() && free.size() < 3; ++i)
        if (access(names[i].c_str(), F_OK) != 0 &&
            std::find(names.begin(), names.begin() + i, names[i]) == names.begin() + i)
            free.push_back(i);
    ASSERT_EQ(3u, free.size());
    const std::string& link = names[free[0]];
    const std::string& job = names[free[1]];
    std::string victim = folder + "/victim";
    WriteFile(victim, "another person's file");
    ASSERT_EQ(0, symlink(victim.c_str(), link.c_str())) << link;
    created.push_back(link);
    WriteFile(job, "another person's job");
    created.push_back(job);
    chmod(job.c_str(), 0666);
    created.push_back(victim);

    ORBJobTicket ticket(settings, kKey);
    ASSERT_TRUE(ticket.Add(kPSInjectionNoteFeature, "secret", 6));
    ASSERT_TRUE(ticket.Save(kClient));
    EXPECT_EQ(names[free[2]], StoredPath());
    EXPECT_EQ("another person's file", ReadFile(victim));
    EXPECT_EQ("another person's job", ReadFile(job));
    struct stat info;
    ASSERT_EQ(0, lstat(link.c_str(), &info));
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST_F(ORBJobTicketTest, WithoutAFreeNameNothingIsWrittenAndNoPathStored) {
    // Every name drawn is taken: the draws stop, nothing is touched.
    std::string prefix = folder + "/job";
    std::vector<std::string> names = NextNames(prefix.c_str(), kRandomFileNameAttempts);
    for (const std::string& name : names) {
        if (access(name.c_str(), F_OK) == 0) continue;
        WriteFile(name, "taken");
        created.push_back(name);
    }
    UInt8 bytes[] = {'x'};
    CFDataRef data = CFDataCreate(nullptr, bytes, 1);
    char path[kRandomFileNameBufferSize] = "stale";
    EXPECT_EQ(dupFNErr, CreateExclusiveRandomFile(prefix.c_str(), data, path));
    EXPECT_STREQ("", path);
    for (const std::string& name : names) EXPECT_EQ("taken", ReadFile(name));
    // A folder that does not exist gives no name either.
    std::string missing = folder + "/none/job";
    EXPECT_EQ(fnfErr, CreateExclusiveRandomFile(missing.c_str(), data, path));
    CFRelease(data);

    // Through the ticket: the failure stays in the status and no path reaches the settings.
    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailFileOpen, 0, -1);
    ORBJobTicket ticket(settings, kKey);
    ASSERT_TRUE(ticket.Add(kPSInjectionNoteFeature, "secret", 6));
    EXPECT_FALSE(ticket.Save(kClient));
    EXPECT_EQ(ioErr, ticket.Status());
    EXPECT_EQ("", StoredPath());
}

}  // namespace
