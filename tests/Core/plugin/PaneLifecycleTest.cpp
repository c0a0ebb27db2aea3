// The pane's lifecycle through the interface: Initialize's refusals, the shared model of a second
// pane, the summary, and Sync in both directions with the model reference each keeps.
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "Core/ORBJobNoteList.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PrintCore/PMErrors.h"
#include "plugin/PluginTestSupport.h"
#include "testing/FailureInjection.h"

namespace plugintest {
namespace {

const CFStringRef kPSDataKey =
    CFSTR("ORB.PSData.com.halyx.print.pde.C7E33B59-AF92-41E1-A45E-0425A66FC625.HJbn");

class PaneLifecycleTest : public PluginTest {
protected:
    void TearDown() override {
        for (const std::string& path : removals) unlink(path.c_str());
        PluginTest::TearDown();
    }
    PMTicketRef Settings() { return SessionTicket(session, kPDE_PMPrintSettingsRef); }
    // The pieces file the pane named in the print settings; removed after the test.
    std::string PiecesFile() {
        CFStringRef path = nullptr;
        if (PMTicketGetCFString(Settings(), kPMTopLevel, kPMTopLevel, kPSDataKey, &path) != noErr)
            return std::string();
        char buffer[1024];
        CFStringGetCString(path, buffer, sizeof buffer, kCFStringEncodingUTF8);
        removals.push_back(buffer);
        return buffer;
    }
    // The sample with its PC file name replaced, so that the printer list does not accept it.
    std::string UnlistedPPD() {
        FILE* in = fopen(kSample, "rb");
        std::string text;
        char buffer[4096];
        size_t n;
        while (in != nullptr && (n = fread(buffer, 1, sizeof buffer, in)) > 0)
            text.append(buffer, n);
        if (in != nullptr) fclose(in);
        size_t at = text.find("HALYX01.PPD");
        EXPECT_NE(std::string::npos, at);
        text.replace(at, 11, "HALYX09.PPD");
        char name[] = "/tmp/halyx-pane-XXXXXX";
        int fd = mkstemp(name);
        EXPECT_EQ(static_cast<ssize_t>(text.size()), write(fd, text.data(), text.size()));
        close(fd);
        removals.push_back(name);
        return name;
    }
    static void SetNote(HalyxJobNotesPDE* pane, const char* keyword, const char* value, bool on) {
        ORBJobNote* note = pane->JobNotes()->find(keyword);
        ASSERT_NE(nullptr, note) << keyword;
        note->Control()->SetNotes(value);
        note->Control()->SetNotesOnValue(on);
    }
    std::vector<std::string> removals;
};

std::string Text(CFArrayRef array, CFIndex index) {
    char buffer[512];
    CFStringRef text = static_cast<CFStringRef>(CFArrayGetValueAtIndex(array, index));
    if (text == nullptr || !CFStringGetCString(text, buffer, sizeof buffer, kCFStringEncodingUTF8))
        return "?";
    return buffer;
}

TEST_F(PaneLifecycleTest, InitializeRefusesPrintersThePaneDoesNotServe) {
    {
        // No compiled PPD in the printer info: nothing is built.
        PMTicketReleaseItem(SessionTicket(session, kPDE_PMPrinterInfoRef), kPMCompiledPPDKey);
        Pane made;
        ASSERT_NE(nullptr, made.context);
        EXPECT_EQ(1, made.Initialize(pane, session));
        EXPECT_EQ(nullptr, made.Object()->Model());
        EXPECT_EQ(nullptr, made.Object()->JobNotes());
        EXPECT_EQ(nullptr, made.Object()->Panel());
        EXPECT_EQ(nullptr, gORBPPD);
        // Without a session there is no ticket to write.
        EXPECT_EQ(1, made.table->Sync(made.context, nullptr, false));
    }
    {
        // A PPD the printer list does not name: the pane's data leaves the print settings.
        PMPrintSession unlisted = NewSession(UnlistedPPD());
        PMTicketRef settings = SessionTicket(unlisted, kPDE_PMPrintSettingsRef);
        ASSERT_EQ(noErr, PMTicketSetItem(settings, kHalyxPrintHostClient, kPSDataKey,
                                         CFSTR("/tmp/Halyx.temp1"), false));
        Pane made;
        EXPECT_EQ(1, made.Initialize(pane, unlisted));
        CFTypeRef item = nullptr;
        EXPECT_EQ(kPMKeyNotFound,
                  PMTicketGetItem(settings, kPMTopLevel, kPMTopLevel, kPSDataKey, &item));
        EXPECT_EQ(nullptr, made.Object()->Model());
        // An inert pane writes nothing and has no summary.
        EXPECT_EQ(noErr, made.table->Sync(made.context, unlisted, false));
        CFArrayRef titles = reinterpret_cast<CFArrayRef>(&item);
        CFArrayRef summaries = titles;
        EXPECT_EQ(kPMInvalidPDEContext,
                  made.table->GetSummaryText(made.context, &titles, &summaries));
        EXPECT_EQ(nullptr, titles);
        EXPECT_EQ(nullptr, summaries);
        PMRelease(unlisted);
    }
}

TEST_F(PaneLifecycleTest, SummaryBeforeInitializeIsRefused) {
    Pane made;
    CFArrayRef titles = reinterpret_cast<CFArrayRef>(&made);
    CFArrayRef summaries = titles;
    EXPECT_EQ(kPMInvalidPDEContext, made.table->GetSummaryText(made.context, &titles, &summaries));
    EXPECT_EQ(nullptr, titles);
    EXPECT_EQ(nullptr, summaries);
}

TEST_F(PaneLifecycleTest, ASecondPaneSharesTheCachedModelAndItsNotesState) {
    Pane first;
    ASSERT_EQ(noErr, first.Initialize(pane, session));
    HalyxJobNotesPDE* a = first.Object();
    EXPECT_TRUE(a->FreshPPD());
    EXPECT_EQ(HalyxJobNotesPDE::kSharedModel, a->Origin());
    EXPECT_EQ(a->Model(), gORBPPD);
    EXPECT_NE(nullptr, a->Panel());
    SetNote(a, "*Notes1", "kept off", false);

    Pane second;
    ASSERT_EQ(noErr, second.Initialize(pane, session));
    HalyxJobNotesPDE* b = second.Object();
    EXPECT_EQ(a->Model(), b->Model());
    EXPECT_FALSE(b->FreshPPD());
    EXPECT_EQ(HalyxJobNotesPDE::kSharedModel, b->Origin());
    EXPECT_FALSE(b->JobNotes()->find("*Notes1")->Control()->GetNotesOnValue());
}

TEST_F(PaneLifecycleTest, SummaryListsSwitchedOnNotesWithMaskedAndShortenedValues) {
    Pane made;
    ASSERT_EQ(noErr, made.Initialize(pane, session));
    HalyxJobNotesPDE* p = made.Object();
    const std::string forty(40, 'x');
    const std::string thirtyOne(31, 'y');
    SetNote(p, "*Notes1", forty.c_str(), true);
    SetNote(p, "*Notes2", thirtyOne.c_str(), true);
    SetNote(p, "*Instruct", "switched off", false);
    SetNote(p, "*Resume", "1234", true);
    SetNote(p, "*DeptPassword", "", true);
    SetNote(p, "*QZUserAuthName", nullptr, true);

    CFArrayRef titles = nullptr;
    CFArrayRef summaries = nullptr;
    ASSERT_EQ(noErr, made.table->GetSummaryText(made.context, &titles, &summaries));
    ASSERT_EQ(CFArrayGetCount(titles), CFArrayGetCount(summaries));
    std::map<std::string, std::string> shown;
    for (CFIndex i = 0; i < CFArrayGetCount(titles); ++i)
        shown[Text(titles, i)] = Text(summaries, i);
    CFRelease(titles);
    CFRelease(summaries);

    EXPECT_EQ(std::string(31, 'x') + "\u2026", shown["Notes 1"]);
    EXPECT_EQ(thirtyOne, shown["Notes 2"]);
    const std::string bullets = "\u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022";
    EXPECT_EQ(bullets, shown["Personal Password"]);
    EXPECT_EQ(bullets, shown["Department Password"]);
    EXPECT_EQ("", shown.at("User Name"));
    EXPECT_EQ(0u, shown.count("Instructions"));
    EXPECT_EQ(0u, shown.count("Copies"));
}

TEST_F(PaneLifecycleTest, SyncWritesTheJobAndAnOutputFailureDropsTheModel) {
    Pane made;
    ASSERT_EQ(noErr, made.Initialize(pane, session));
    HalyxJobNotesPDE* p = made.Object();
    SetNote(p, "*Notes1", "Hello", true);
    EXPECT_EQ(1, made.table->Sync(made.context, nullptr, false));
    ASSERT_EQ(noErr, made.table->Sync(made.context, session, false));
    EXPECT_NE(nullptr, p->Model());
    std::string pieces = PiecesFile();
    EXPECT_EQ(0, access(pieces.c_str(), R_OK)) << pieces;

    // An orientation the job output cannot read fails the output.
    PMTicketRef pageFormat = SessionTicket(session, kPDE_PMPageFormatRef);
    ASSERT_EQ(noErr, PMTicketSetItem(pageFormat, kHalyxPrintHostClient, kPMOrientationKey,
                                     CFSTR("sideways"), false));
    EXPECT_NE(noErr, made.table->Sync(made.context, session, false));
    EXPECT_EQ(nullptr, p->Model());
    EXPECT_EQ(nullptr, gORBPPD);
    EXPECT_EQ(nullptr, p->JobNotes());
    EXPECT_NE(nullptr, p->Ranges());
    CFArrayRef titles = nullptr;
    CFArrayRef summaries = nullptr;
    EXPECT_EQ(kPMInvalidPDEContext, made.table->GetSummaryText(made.context, &titles, &summaries));
    EXPECT_EQ(noErr, made.table->Sync(made.context, session, false));
}

TEST_F(PaneLifecycleTest, SyncFailsWhenNoPiecesFileCanBeWritten) {
    Pane made;
    ASSERT_EQ(noErr, made.Initialize(pane, session));
    SetNote(made.Object(), "*Notes1", "Hello", true);
    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailFileOpen, 0, 1);
    EXPECT_EQ(ioErr, made.table->Sync(made.context, session, false));
}

TEST_F(PaneLifecycleTest, EveryAllocationFailureDuringInitializeLeavesAnInertOrWholePane) {
    HalyxFailureScope failures;
    bool swept = false;
    for (int skip = 0; skip < 5000 && !swept; ++skip) {
        Pane made;
        ASSERT_NE(nullptr, made.context);
        HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
        OSStatus status = made.Initialize(pane, session);
        bool failed = HalyxInjectedFailureCount(kHalyxFailAllocation) > 0;
        HalyxResetFailures();
        if (status != noErr) {
            EXPECT_EQ(1, status);
            EXPECT_EQ(nullptr, made.Object()->Model());
            EXPECT_EQ(nullptr, made.Object()->Panel());
            EXPECT_EQ(nullptr, gORBPPD);
        }
        swept = !failed;
    }
    EXPECT_TRUE(swept);
}

TEST_F(PaneLifecycleTest, SyncFromTheTicketKeepsItsOwnModelOutsideTheCache) {
    Pane made;
    ASSERT_EQ(noErr, made.Initialize(pane, session));
    HalyxJobNotesPDE* p = made.Object();
    SetNote(p, "*Notes1", "Hello", true);
    ASSERT_EQ(noErr, made.table->Sync(made.context, session, false));
    PiecesFile();

    ASSERT_EQ(noErr, made.table->Sync(made.context, session, true));
    EXPECT_EQ(HalyxJobNotesPDE::kOwnModel, p->Origin());
    EXPECT_FALSE(p->FreshPPD());
    EXPECT_EQ(p->Model(), gORBPPD);
    ASSERT_NE(nullptr, p->JobNotes());
    EXPECT_EQ(nullptr, GetSharedPPDManager());

    // A pane made now rebuilds the snapshot and caches it; each pane gives back only its own.
    Pane second;
    ASSERT_EQ(noErr, second.Initialize(pane, session));
    EXPECT_NE(p->Model(), second.Object()->Model());
    EXPECT_EQ(HalyxJobNotesPDE::kSharedModel, second.Object()->Origin());
}

}  // namespace
}  // namespace plugintest
