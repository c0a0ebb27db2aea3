// The model's snapshot carried by the print settings from one dialog to the next: stored by
// SavePPD, rebuilt by RestorePPD, and refused whenever it cannot give a usable model.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFPropertyList.h"
#include "Core/ORBJobTicket.h"
#include "Core/PrintSettingsTicket.h"
#include "Core/PrinterLookup.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroup.h"
#include "PPDObjects/PPDXGroups.h"
#include "PrintCore/HalyxPrintHost.h"
#include "parser/ORBPPD.h"
#include "testing/FailureInjection.h"

namespace {

const CFStringRef kKey = CFSTR("ORB.PSData.snapshot-test");

std::string ReadAll(const char* path) {
    std::string text;
    FILE* file = fopen(path, "rb");
    if (file == nullptr) return text;
    char buffer[4096];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, count);
    fclose(file);
    return text;
}

CFURLRef FileURL(const std::string& path) {
    return CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.c_str()), path.size(), false);
}

// Name, kind, visibility, parent, flags and PostScript output of every control and group, and
// the count the normal display shows: two models with the same outline offer the same options
// with the same values.
std::string Outline(ORBPPD& model) {
    std::string text = std::to_string(model.GetControls()->ControlCount());
    DisplayOptionsScope all(DISPLAY_ALL);
    auto element = [&text](PPDXElement& e) {
        char name[256] = "";
        if (e.CFStringUserName() != nullptr)
            CFStringGetCString(e.CFStringUserName(), name, sizeof name, kCFStringEncodingUTF8);
        const PPDXElement* parent = e.GetParent();
        text += std::string("\n") + (e.Keyword() ? e.Keyword() : "-") + "|" + name + "|" +
                (e.IsVisible() ? "v" : "h") + "|" +
                (parent != nullptr && parent->Keyword() ? parent->Keyword() : "-");
    };
    for (PPDXGroup* group = model.GetGroups()->First(); group != nullptr;
         group = model.GetGroups()->Next())
        element(*group);
    PPDXControls* controls = model.GetControls();
    for (PPDXControl* control = controls->First(nullptr); control != nullptr;
         control = controls->Next(nullptr)) {
        element(*control);
        std::string output(static_cast<size_t>(control->PostScript(nullptr)), '\0');
        control->PostScript(&output[0]);
        text += "|" + std::to_string(control->Type()) + "|" +
                std::to_string(control->ControlFlagCount()) + "|" + output;
    }
    return text;
}

void Dispose(ORBPPD* model) {
    if (model == nullptr) return;
    model->Retain();
    model->Release();
}

class SnapshotTicketTest : public ::testing::Test {
protected:
    void SetUp() override {
        HalyxBundleAddSearchFolder(HALYX_BINARY_DIR);
        CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(HALYX_BINARY_DIR "/HalyxJobNotes.plugin"),
            strlen(HALYX_BINARY_DIR "/HalyxJobNotes.plugin"), true);
        bundle = CFBundleCreate(nullptr, url);
        CFRelease(url);
        ASSERT_NE(nullptr, bundle);
        client = CFBundleGetIdentifier(bundle);
        char pattern[] = "/tmp/halyx-snapshot-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        folder = pattern;
    }
    void TearDown() override {
        delete ticket;
        delete settings;
        if (session != nullptr) PMRelease(session);
        for (const std::string& path : files) unlink(path.c_str());
        rmdir(folder.c_str());
        if (bundle != nullptr) CFRelease(bundle);
        HalyxBundleResetRegistry();
    }
    // A session on `ppdPath` with its settings wrapper and a job ticket.
    void Open(const std::string& ppdPath) {
        ASSERT_EQ(noErr, HalyxCreatePrintSession(ppdPath.c_str(), &session));
        settings = new PrintSettingsTicket(session);
        ticket = new ORBJobTicket(settings, kKey);
        ASSERT_TRUE(ticket->Valid());
    }
    std::string CopyOfExample(const char* name, const char* as) {
        std::string path = folder + "/" + as;
        std::string text = ReadAll((std::string(HALYX_SOURCE_DIR "/examples/") + name).c_str());
        FILE* file = fopen(path.c_str(), "wb");
        EXPECT_NE(nullptr, file);
        if (file == nullptr) return path;
        fwrite(text.data(), 1, text.size(), file);
        fclose(file);
        files.push_back(path);
        return path;
    }
    void StoreItem(CFDataRef data) { ASSERT_EQ(noErr, settings->Set(client, client, data, false)); }

    CFBundleRef bundle = nullptr;
    CFStringRef client = nullptr;
    PMPrintSession session = nullptr;
    PrintSettingsTicket* settings = nullptr;
    ORBJobTicket* ticket = nullptr;
    std::string folder;
    std::vector<std::string> files;
};

TEST_F(SnapshotTicketTest, ASavedModelComesBackFromTheSettingsEvenAfterItsPPDMoved) {
    std::string first = CopyOfExample("HalyxSample.ppd", "first.ppd");
    Open(first);
    ORBPPD* parsed = SetupPPD(session, client);
    ASSERT_NE(nullptr, parsed);
    ASSERT_TRUE(parsed->IsValidPPD());
    CFURLRef firstURL = FileURL(first);
    EXPECT_FALSE(ticket->SavePPD(parsed, nullptr, firstURL));
    ASSERT_TRUE(ticket->SavePPD(parsed, client, firstURL));
    EXPECT_EQ(noErr, ticket->Status());
    CFRelease(firstURL);
    CFDataRef item = nullptr;
    ASSERT_EQ(noErr, settings->Get(client, &item));

    // The PPD moves; the snapshot opens it where it is now.
    std::string second = folder + "/second.ppd";
    ASSERT_EQ(0, rename(first.c_str(), second.c_str()));
    files.push_back(second);
    CFURLRef secondURL = FileURL(second);
    ORBPPD* restored = ticket->RestorePPD(client, secondURL);
    CFRelease(secondURL);
    ASSERT_NE(nullptr, restored);
    EXPECT_TRUE(restored->IsValidPrinterName());
    EXPECT_TRUE(restored->IsValidPPD());
    ASSERT_NE(nullptr, restored->GetControls());
    EXPECT_EQ(parsed->GetControls()->ControlCount(), restored->GetControls()->ControlCount());
    EXPECT_EQ(parsed->GetControls()->JobNoteCount(), restored->GetControls()->JobNoteCount());
    EXPECT_EQ(parsed->GetControls()->RangeCount(), restored->GetControls()->RangeCount());
    FSSpec spec;
    ASSERT_TRUE(restored->GetFileSpec(spec));
    EXPECT_EQ(0, memcmp(spec.name + 1, "second.ppd", 10));
    Dispose(restored);
    Dispose(parsed);
}

// The process keeps the snapshot it stored last, to rebuild from without reading its XML: it must
// follow each save, and settings holding another item (another session's, or equal bytes in a
// copy) must still rebuild from what they hold.
TEST_F(SnapshotTicketTest, TheKeptSnapshotFollowsTheLastSaveOfAnySession) {
    std::string sample = CopyOfExample("HalyxSample.ppd", "sample.ppd");
    std::string workgroup = CopyOfExample("HalyxWorkgroup.ppd", "workgroup.ppd");
    Open(sample);
    CFURLRef sampleURL = FileURL(sample);
    CFURLRef workgroupURL = FileURL(workgroup);
    ORBPPD* first = SetupPPD(session, client);
    ASSERT_NE(nullptr, first);
    ASSERT_TRUE(ticket->SavePPD(first, client, sampleURL));
    CFDataRef item = nullptr;
    ASSERT_EQ(noErr, settings->Get(client, &item));
    CFDataRef copy = CFDataCreate(nullptr, CFDataGetBytePtr(item), CFDataGetLength(item));

    // Another session saves another model: that one is kept now.
    PMPrintSession other = nullptr;
    ASSERT_EQ(noErr, HalyxCreatePrintSession(workgroup.c_str(), &other));
    PrintSettingsTicket otherSettings(other);
    ORBJobTicket otherTicket(&otherSettings, kKey);
    ORBPPD* second = SetupPPD(other, client);
    ASSERT_NE(nullptr, second);
    ASSERT_TRUE(otherTicket.SavePPD(second, client, workgroupURL));

    const std::string firstOutline = Outline(*first);
    const std::string secondOutline = Outline(*second);
    ASSERT_NE(firstOutline, secondOutline);
    // The first session's own item, then an equal copy of it, then the second session's.
    for (int round = 0; round < 3; ++round) {
        if (round == 1) StoreItem(copy);
        ORBPPD* restored = round < 2 ? ticket->RestorePPD(client, sampleURL)
                                     : otherTicket.RestorePPD(client, workgroupURL);
        ASSERT_NE(nullptr, restored) << "round " << round;
        EXPECT_EQ(round < 2 ? firstOutline : secondOutline, Outline(*restored))
            << "round " << round;
        Dispose(restored);
    }
    // Saved again unchanged, the first model still comes back as itself.
    ASSERT_TRUE(ticket->SavePPD(first, client, sampleURL));
    ORBPPD* again = ticket->RestorePPD(client, sampleURL);
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(firstOutline, Outline(*again));
    Dispose(again);

    CFRelease(copy);
    Dispose(second);
    Dispose(first);
    PMRelease(other);
    CFRelease(workgroupURL);
    CFRelease(sampleURL);
}

TEST_F(SnapshotTicketTest, NoSnapshotOrOneThatIsNotOursGivesNull) {
    std::string path = CopyOfExample("HalyxSample.ppd", "sample.ppd");
    Open(path);
    CFURLRef url = FileURL(path);
    EXPECT_EQ(nullptr, ticket->RestorePPD(client, url));
    EXPECT_EQ(kPMKeyNotFound, ticket->Status());
    EXPECT_EQ(nullptr, ticket->RestorePPD(nullptr, url));

    // A real snapshot to damage.
    ORBPPD* parsed = SetupPPD(session, client);
    ASSERT_NE(nullptr, parsed);
    ASSERT_TRUE(ticket->SavePPD(parsed, client, url));
    Dispose(parsed);
    CFDataRef item = nullptr;
    ASSERT_EQ(noErr, settings->Get(client, &item));
    CFPropertyListRef inner = CFPropertyListCreateFromXMLData(nullptr, item, 0, nullptr);
    ASSERT_NE(nullptr, inner);
    ASSERT_EQ(CFDataGetTypeID(), CFGetTypeID(inner));
    std::string bytes(
        reinterpret_cast<const char*>(CFDataGetBytePtr(static_cast<CFDataRef>(inner))),
        CFDataGetLength(static_cast<CFDataRef>(inner)));
    CFRelease(inner);
    ASSERT_GT(bytes.size(), 16u);

    auto wrapped = [](const std::string& payload) {
        CFDataRef data =
            CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(payload.data()), payload.size());
        CFDataRef xml = CFPropertyListCreateXMLData(nullptr, data);
        CFRelease(data);
        return xml;
    };
    std::string corrupted = bytes;
    for (size_t i = 0; i < corrupted.size(); i += 7)
        corrupted[i] = static_cast<char>(~corrupted[i]);
    const std::string damaged[] = {bytes.substr(0, bytes.size() / 2), bytes.substr(0, 3), corrupted,
                                   std::string(), std::string("not a store at all")};
    for (const std::string& payload : damaged) {
        CFDataRef xml = wrapped(payload);
        ASSERT_NE(nullptr, xml);
        StoreItem(xml);
        CFRelease(xml);
        ORBPPD* model = ticket->RestorePPD(client, url);
        EXPECT_EQ(nullptr, model) << "payload of " << payload.size() << " bytes";
        Dispose(model);
    }
    // Bytes that are no property list, and a property list that holds no data.
    CFDataRef raw = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()), 40);
    StoreItem(raw);
    CFRelease(raw);
    EXPECT_EQ(nullptr, ticket->RestorePPD(client, url));
    CFDataRef text = CFPropertyListCreateXMLData(nullptr, CFSTR("snapshot"));
    StoreItem(text);
    CFRelease(text);
    EXPECT_EQ(nullptr, ticket->RestorePPD(client, url));
    CFRelease(url);
}

TEST_F(SnapshotTicketTest, ASnapshotOfAnUnlistedPPDIsRefused) {
    // The same bytes under a PC file name that the printer list does not hold.
    std::string path = folder + "/unlisted.ppd";
    std::string text = ReadAll(HALYX_SOURCE_DIR "/examples/HalyxSample.ppd");
    size_t at = text.find("HALYX01.PPD");
    ASSERT_NE(std::string::npos, at);
    text.replace(at, 11, "OTHER01.PPD");
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
    files.push_back(path);

    Open(path);
    CFURLRef url = FileURL(path);
    ORBPPD* parsed = new ORBPPD(url, ORBPPD::kParseOrphans | ORBPPD::kParseHidden, nullptr);
    ASSERT_TRUE(parsed->IsValidPPD());
    ASSERT_TRUE(ticket->SavePPD(parsed, client, url));
    Dispose(parsed);
    EXPECT_EQ(nullptr, ticket->RestorePPD(client, url));
    CFRelease(url);
}

TEST_F(SnapshotTicketTest, MemoryRunningOutAtAnyPointLeavesNoPartialSnapshot) {
    std::string path = CopyOfExample("HalyxWorkgroup.ppd", "workgroup.ppd");
    Open(path);
    CFURLRef url = FileURL(path);
    ORBPPD* parsed = SetupPPD(session, client);
    ASSERT_NE(nullptr, parsed);
    ASSERT_TRUE(parsed->IsValidPPD());
    const UInt32 controls = parsed->GetControls()->ControlCount();
    HalyxFailureScope scope;
    bool failedOnce = false;
    for (int skip = 0;; ++skip) {
        settings->Release(client);
        HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
        bool saved = ticket->SavePPD(parsed, client, url);
        bool injected = HalyxInjectedFailureCount(kHalyxFailAllocation) > 0;
        HalyxResetFailures();
        CFDataRef item = nullptr;
        bool stored = settings->Get(client, &item) == noErr;
        if (!saved) {
            EXPECT_FALSE(stored) << "skip " << skip;
        }
        if (stored) {
            ORBPPD* restored = ticket->RestorePPD(client, url);
            ASSERT_NE(nullptr, restored) << "skip " << skip;
            EXPECT_EQ(controls, restored->GetControls()->ControlCount()) << "skip " << skip;
            Dispose(restored);
        }
        if (!injected) {
            EXPECT_TRUE(saved && stored);
            break;
        }
        failedOnce = failedOnce || !stored;
        ASSERT_LT(skip, 100000);
    }
    EXPECT_TRUE(failedOnce);

    // Rebuilding while memory runs out either gives no model (the caller parses the PPD) or
    // the whole model: never one that lost a control, a name or a value on the way.
    ASSERT_TRUE(ticket->SavePPD(parsed, client, url));
    const std::string expected = Outline(*parsed);
    bool refusedOnce = false;
    for (int skip = 0;; ++skip) {
        HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
        ORBPPD* restored = ticket->RestorePPD(client, url);
        bool injected = HalyxInjectedFailureCount(kHalyxFailAllocation) > 0;
        HalyxResetFailures();
        if (restored != nullptr) {
            EXPECT_TRUE(restored->IsValidPPD());
            EXPECT_EQ(expected, Outline(*restored)) << "skip " << skip;
        }
        refusedOnce = refusedOnce || restored == nullptr;
        Dispose(restored);
        if (!injected) {
            EXPECT_NE(nullptr, restored);
            break;
        }
        ASSERT_LT(skip, 100000);
    }
    EXPECT_TRUE(refusedOnce);
    Dispose(parsed);
    CFRelease(url);
}

}  // namespace
