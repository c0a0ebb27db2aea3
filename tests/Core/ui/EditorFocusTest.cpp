// Leaving a field: Tab, clicks on other fields and on the Print button, the password mask, the
// commit into the entries, the reset to defaults and the dropped model.
#include <string>

#include "EditorHarness.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"

namespace {

using editortest::Dialog;
using editortest::Localized;

// Counts the 'ok  ' commands that get through the dialog to the application: a started job.
class PrintCounter {
public:
    PrintCounter() {
        const EventTypeSpec command = {kEventClassCommand, kEventCommandProcess};
        InstallApplicationEventHandler(Count, 1, &command, this, &mHandler);
    }
    ~PrintCounter() { RemoveEventHandler(mHandler); }
    int Jobs() const { return mJobs; }

private:
    static OSStatus Count(EventHandlerCallRef, EventRef event, void* self) {
        HICommandExtended command = {};
        GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                          nullptr, &command);
        if (command.commandID == kHICommandOK) ++static_cast<PrintCounter*>(self)->mJobs;
        return noErr;
    }
    EventHandlerRef mHandler = nullptr;
    int mJobs = 0;
};

const char kFocusPPD[] =
    "*%ORBJobNote *Who/Who: 20|Alpha|Required\n"
    "*%ORBJobNote *Pin/Pin: 8|Numeric|Password\n"
    "*%ORBJobNote *Memo/Memo: 20\n"
    "*%DefaultMemo: Draft\n"
    "*%ORBFlags *QZCopies: Setup\n*%ORBGroup *QZCopies: Roll\n"
    "*%ORBRange *QZCopies/Copies: (0;100;5;10) \"/#copies <QZCopies> def\"\n";

enum Row : UInt16 { kWho, kPin, kMemo, kCopies };

TEST(EditorFocusTest, AnEmptyRequiredNoteIsLeftSilentlyByNothingAndLoudlyByNoClick) {
    Dialog dialog(kFocusPPD);
    PrintCounter printer;
    dialog.ClickField(kWho);
    ASSERT_TRUE(dialog.HasFocus(kWho));
    const std::string notBlank = Localized("NotBlank", "s", dialog.Title(kWho).c_str());

    UInt32 beeps = HalyxBeepCount();
    dialog.Tab();
    EXPECT_TRUE(dialog.HasFocus(kWho));
    EXPECT_EQ(beeps, HalyxBeepCount());
    EXPECT_EQ("", dialog.Message());

    dialog.ClickField(kMemo);
    EXPECT_TRUE(dialog.HasFocus(kWho));
    EXPECT_EQ(notBlank, dialog.Message());
    ASSERT_EQ(beeps + 1, HalyxBeepCount());
    EXPECT_EQ(1, HalyxBeepDuration(beeps));

    HalyxClickControl(dialog.PrintButton(), 0);
    HalyxSendCommand(dialog.Window(), kHICommandOK);
    EXPECT_EQ(0, printer.Jobs());
    EXPECT_EQ(notBlank, dialog.Message());

    dialog.Type("Ann");
    HalyxClickControl(dialog.PrintButton(), 0);
    EXPECT_EQ(1, printer.Jobs());
}

TEST(EditorFocusTest, LeavingChecksNameTheRuleThatIsBroken) {
    Dialog dialog(
        "*%ORBFlags *User: Setup\n*%ORBGroup *User: Roll\n"
        "*%ORBJobNote *User/User: 32|Alpha|MinLength4\n"
        "*%ORBJobNote *Pair/Pair: 20|TwoCharField\n"
        "*%ORBJobNote *Next/Next: 20\n");
    dialog.ClickField(0);
    dialog.Type("ab");
    dialog.Tab();
    EXPECT_TRUE(dialog.HasFocus(0));
    char between[128];
    snprintf(between, sizeof between, "This field must contain between %d and %d characters.", 4,
             32);
    EXPECT_EQ(editortest::Titled(dialog.Title(0), between), dialog.Message());
    dialog.Type("cd");
    dialog.Tab();
    ASSERT_TRUE(dialog.HasFocus(1));

    // More than two digits in a row: Tab keeps the focus without a word, a click says why.
    dialog.Type("123");
    const UInt32 beeps = HalyxBeepCount();
    dialog.Tab();
    EXPECT_TRUE(dialog.HasFocus(1));
    EXPECT_EQ(beeps, HalyxBeepCount());
    dialog.ClickField(2);
    EXPECT_TRUE(dialog.HasFocus(1));
    EXPECT_EQ(Localized("BadRange", "s", dialog.Title(1).c_str()), dialog.Message());
    dialog.Key(29);  // the right arrow moves the caret, never refused
    dialog.Key(8);
    dialog.Type("/4");
    dialog.ClickField(2);
    EXPECT_TRUE(dialog.HasFocus(2));
    dialog.Panel().CommitUserChanges();
    EXPECT_STREQ("12/4", static_cast<ORBJobNote*>(dialog.Notes()->index(1))->Control()->GetNotes());
}

TEST(EditorFocusTest, PasswordFieldsShowTenBulletsWithoutTheFocusAndGiveTheRealText) {
    Dialog dialog(kFocusPPD);
    dialog.ClickField(kWho);
    dialog.Type("Ann");
    dialog.ClickField(kPin);
    ASSERT_TRUE(dialog.HasFocus(kPin));
    dialog.Type("7");
    EXPECT_EQ("7", dialog.Text(kPin));
    dialog.Tab();
    ASSERT_TRUE(dialog.HasFocus(kMemo));
    EXPECT_EQ(std::string(10, '\xA5'), dialog.Shown(kPin));
    EXPECT_EQ("7", dialog.Text(kPin));
    EXPECT_EQ(1, dialog.Field(kPin)->getGlyphCount());

    dialog.Panel().CommitUserChanges();
    const auto* pin = static_cast<ORBJobNote*>(dialog.Notes()->index(kPin));
    EXPECT_STREQ("7", pin->Control()->GetNotes());
    dialog.Tab(true);
    EXPECT_EQ("7", dialog.Text(kPin));
}

TEST(EditorFocusTest, CommitAndDefaultsReachTheEntriesAndShowInTheFields) {
    Dialog dialog(kFocusPPD);
    auto* memo = static_cast<ORBJobNote*>(dialog.Notes()->index(kMemo))->Control();
    auto* copies = static_cast<ORBRange*>(dialog.Ranges()->index(0))->Control();
    dialog.ClickField(kMemo);
    EXPECT_EQ("Draft", dialog.Text(kMemo));
    dialog.SelectAll();
    dialog.Type("Final");
    dialog.ClickField(kCopies);
    EXPECT_STREQ("Final", memo->GetNotes());

    // An emptied range takes its default, in the entry and in the field.
    dialog.SelectAll();
    dialog.Type("25");
    dialog.Panel().CommitUserChanges();
    EXPECT_EQ(25, copies->GetValue());
    dialog.SelectAll();
    dialog.Key(8);
    dialog.Panel().CommitUserChanges();
    EXPECT_EQ(copies->DefaultValue(), copies->GetValue());
    EXPECT_EQ(std::to_string(copies->DefaultValue()), dialog.Text(kCopies));

    dialog.SelectAll();
    dialog.Type("40");
    dialog.Panel().CommitUserChanges();
    auto* memoEntry = static_cast<ORBJobNote*>(dialog.Notes()->index(kMemo));
    memoEntry->SetNotesOn(false);
    dialog.Editor().SetToDefaults();
    EXPECT_TRUE(memoEntry->NotesOn());
    EXPECT_TRUE(memo->GetNotesOnValue());
    EXPECT_STREQ("Draft", memo->GetNotes());
    EXPECT_EQ("Draft", dialog.Text(kMemo));
    EXPECT_EQ(copies->DefaultValue(), copies->GetValue());
    EXPECT_EQ(std::to_string(copies->DefaultValue()), dialog.Text(kCopies));
}

TEST(EditorFocusTest, AfterTheModelIsDroppedNoInputReachesAnEntry) {
    Dialog dialog(kFocusPPD);
    dialog.ClickField(kMemo);
    dialog.Type("x");
    ASSERT_EQ(noErr, dialog.Panel().ResetUI());
    EXPECT_EQ(nullptr, dialog.Editor().Fields());
    EXPECT_EQ(nullptr, dialog.Editor().CurrentField());
    EXPECT_EQ(nullptr, dialog.Editor().JobNotes());
    EXPECT_EQ(nullptr, dialog.Editor().Ranges());

    // The pane deletes its lists now; whatever the person does next must not reach them.
    entrytest::ParsedPPD again(kFocusPPD);
    ORBJobNoteList* notes = new ORBJobNoteList(again.Model(), true);
    ORBRangeList* ranges = new ORBRangeList(*again.Model());
    dialog.DropLists();
    const UInt32 beeps = HalyxBeepCount();
    dialog.Type("abc\t");
    dialog.Tab(true);
    HalyxClickPoint(dialog.Window(), Point{60, 300}, 0);
    HalyxClickControl(dialog.PrintButton(), 0);
    HalyxSendCommand(dialog.Window(), kHICommandPaste);
    HalyxSendCommand(dialog.Window(), kHICommandSelectAll);
    HalyxScrollBrowser(dialog.Editor().Browser(), 40);
    EXPECT_EQ(beeps, HalyxBeepCount());

    EXPECT_EQ(noErr, dialog.Panel().SyncUI(notes, ranges));
    EXPECT_EQ(paramErr, dialog.Panel().SyncUI(notes, ranges));
    EXPECT_EQ(notes->Count() + ranges->Count(), dialog.Editor().RowCount());
    HalyxDrawWindow(dialog.Window());  // the dialog shows the rebuilt pane
    dialog.ClickField(kMemo);
    EXPECT_EQ("Draft", dialog.Text(kMemo));
    dialog.Panel().ResetUI();
    delete ranges;
    delete notes;
}

}  // namespace
