#include "PPDObjects/Controls/PPDXJobNote.h"

#include <gtest/gtest.h>

#include <string>

#include "ControlTestSupport.h"
#include "PPDObjects/ModelOptions.h"

using namespace controltest;

namespace {

const FourCharCode kJbNt = HALYX_FOUR_CHAR('J', 'b', 'N', 't');
const FourCharCode kJNtT = HALYX_FOUR_CHAR('j', 'N', 't', 'T');
const FourCharCode kJMxL = HALYX_FOUR_CHAR('j', 'M', 'x', 'L');
const FourCharCode kJNtF = HALYX_FOUR_CHAR('j', 'N', 't', 'F');
const FourCharCode kJNOn = HALYX_FOUR_CHAR('j', 'N', 'O', 'n');

// A job note as the parser makes it; an empty template means none.
PPDXJobNote* MakeNote(const char* keyword, const std::string& templ, const char* defaultText,
                      JobNoteFlag flags = 0, long maxLength = 40, long minLength = 0) {
    PointerList flagStrings;
    return new PPDXJobNote(keyword, nullptr, flagStrings, templ.empty() ? nullptr : Code(templ),
                           static_cast<long>(templ.size()),
                           defaultText != nullptr ? new CString(defaultText) : nullptr, nullptr,
                           true, maxLength, flags, minLength);
}

TEST(PPDXJobNote, EachFlagBitHasItsOwnTest) {
    typedef bool (PPDXJobNote::*Test)() const;
    const struct {
        JobNoteFlag bit;
        Test test;
    } table[] = {
        {0x1, &PPDXJobNote::IsAlpha},          {0x2, &PPDXJobNote::IsNumeric},
        {0x4, &PPDXJobNote::IsDecimal},        {0x8, &PPDXJobNote::IsRequired},
        {0x10, &PPDXJobNote::Remember},        {0x20, &PPDXJobNote::IsPassword},
        {0x40, &PPDXJobNote::AlwaysDisplay},   {0x80, &PPDXJobNote::Resume},
        {0x100, &PPDXJobNote::IsMember},       {0x200, &PPDXJobNote::IsOnOffSwitch},
        {0x400, &PPDXJobNote::IsLengthReq},    {0x800, &PPDXJobNote::IsSecPrint},
        {0x2000, &PPDXJobNote::IsSpace},       {0x4000, &PPDXJobNote::IsNegative},
        {0x8000, &PPDXJobNote::IsEncrypt},     {0x10000, &PPDXJobNote::IsMultiSpace},
        {0x20000, &PPDXJobNote::IsMultiComma}, {0x40000, &PPDXJobNote::IsLCD},
        {0x80000, &PPDXJobNote::IsHyphen},     {0x100000, &PPDXJobNote::IsTwoCharFields},
        {0x200000, &PPDXJobNote::IsNoComma},
    };
    for (const auto& row : table) {
        std::unique_ptr<PPDXJobNote> only(MakeNote("*N", "", nullptr, row.bit));
        std::unique_ptr<PPDXJobNote> others(MakeNote("*N", "", nullptr, ~row.bit));
        for (const auto& probe : table) {
            SCOPED_TRACE(testing::Message() << "set " << row.bit << " probe " << probe.bit);
            EXPECT_EQ((only.get()->*probe.test)(), probe.bit == row.bit);
            EXPECT_EQ((others.get()->*probe.test)(), probe.bit != row.bit);
        }
    }
}

TEST(PPDXJobNote, AnyTextOnlyWithoutCharacterClasses) {
    std::unique_ptr<PPDXJobNote> plain(MakeNote("*N", "", nullptr, 0));
    EXPECT_TRUE(plain->IsAnyText());
    std::unique_ptr<PPDXJobNote> treated(MakeNote("*N", "", nullptr,
                                                  kJobNotePassword | kJobNoteEncrypt | kJobNoteLCD |
                                                      kJobNoteHyphen | kJobNoteRequired |
                                                      kJobNoteNoComma | kJobNoteTwoCharField));
    EXPECT_TRUE(treated->IsAnyText());
    for (JobNoteFlag bit : {0x1u, 0x2u, 0x4u, 0x2000u, 0x4000u, 0x10000u, 0x20000u}) {
        std::unique_ptr<PPDXJobNote> note(MakeNote("*N", "", nullptr, bit));
        EXPECT_FALSE(note->IsAnyText()) << bit;
    }
}

TEST(PPDXJobNote, DisplayIgnoresOrphanStatus) {
    PointerList none;
    PPDXJobNote hidden("*N", nullptr, none, nullptr, 0, nullptr, nullptr, false, 10, 0, 0);
    ASSERT_TRUE(hidden.IsOrphan());
    EXPECT_FALSE(hidden.OkayToDisplay(DISPLAY_NORMAL));
    EXPECT_FALSE(hidden.OkayToDisplay(DISPLAY_VISIBLE));
    EXPECT_TRUE(hidden.OkayToDisplay(DISPLAY_ATTACHED));
    EXPECT_TRUE(hidden.OkayToDisplay(DISPLAY_ALL));
    std::unique_ptr<PPDXJobNote> shown(MakeNote("*N", "", nullptr));
    ASSERT_TRUE(shown->IsOrphan());
    EXPECT_TRUE(shown->OkayToDisplay(DISPLAY_NORMAL));
    EXPECT_EQ(shown->Type(), CNTL_JOBNOTE);
}

TEST(PPDXJobNote, CommentLineChosenByFlagsThenKeyword) {
    const struct {
        const char* keyword;
        JobNoteFlag flags;
        const char* data;
    } rows[] = {
        {"*Notes1", 0, "%%ORBCustom1: Hello\n"},
        {"*Notes2", 0, "%%ORBCustom2: Hello\n"},
        {"*Instruct", 0, "%%ORBCustom3: Hello\n"},
        {"*Notes1", kJobNoteResume | kJobNoteMember, "%%PersPassword: Hello\n"},
        {"*Dept", kJobNoteMember, "%%DeptPassword: Hello\n"},
        {"*Notes3", 0, "%%EmptyOption\n\n"},
        {"*notes1", 0, "%%EmptyOption\n\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keyword);
        std::unique_ptr<PPDXJobNote> note(MakeNote(row.keyword, "", "Hello", row.flags));
        EXPECT_EQ(PostScriptOf(*note), std::string("%%BeginFeature: ") + row.keyword + " Hello\n" +
                                           row.data + "%%EndFeature\n");
    }
}

TEST(PPDXJobNote, TemplateGetsTheTextCutTo511Bytes) {
    std::unique_ptr<PPDXJobNote> note(MakeNote("*JobName", "(<name>) pop\n", ""));
    const std::string text(600, 'q');
    note->SetNotes(text.c_str());
    EXPECT_EQ(PostScriptOf(*note), "%%BeginFeature: *JobName " + text + "\n(" +
                                       std::string(511, 'q') + ") pop\n%%EndFeature\n");

    const std::string exact(511, 'r');
    note->SetNotes(exact.c_str());
    EXPECT_EQ(PostScriptOf(*note),
              "%%BeginFeature: *JobName " + exact + "\n(" + exact + ") pop\n%%EndFeature\n");
}

TEST(PPDXJobNote, TextChangesRebuildTheCacheAndKeepTheDefault) {
    std::unique_ptr<PPDXJobNote> note(MakeNote("*Notes1", "", "Default"));
    EXPECT_NE(note->GetNotes(), note->GetDefaultNotes());
    EXPECT_NE(PostScriptOf(*note).find("%%ORBCustom1: Default\n"), std::string::npos);
    note->SetNotes("Changed");
    EXPECT_STREQ(note->GetDefaultNotes(), "Default");
    EXPECT_NE(PostScriptOf(*note).find("%%ORBCustom1: Changed\n"), std::string::npos);
    note->ResetToDefaultValue();
    EXPECT_STREQ(note->GetNotes(), "Default");
    EXPECT_NE(PostScriptOf(*note).find("%%ORBCustom1: Default\n"), std::string::npos);

    note->SetNotes(nullptr);
    EXPECT_EQ(note->GetNotes(), nullptr);
    EXPECT_EQ(note->PostScript(nullptr), 0);

    std::unique_ptr<PPDXJobNote> keywordless(MakeNote(nullptr, "", "text"));
    EXPECT_EQ(keywordless->PostScript(nullptr), 0);
    std::unique_ptr<PPDXJobNote> noDefault(MakeNote("*Notes1", "", nullptr));
    EXPECT_EQ(noDefault->GetNotes(), nullptr);
    noDefault->ResetToDefaultValue();
    EXPECT_EQ(noDefault->PostScript(nullptr), 0);
}

TEST(PPDXJobNote, SaveAndRebuildKeepTextsLimitsFlagsAndSwitch) {
    PointerList flagStrings;
    FillFlags(flagStrings, {"Setup"});
    Name title("Account");
    PPDXJobNote note("*Account", title, flagStrings, Code("<</Acct (<a>)>>setpagedevice\n"), 29,
                     new CString("0000"), nullptr, true, 12,
                     kJobNoteNumeric | kJobNoteRequired | kJobNoteMinLength, 4);
    note.SetNotes("1234");
    note.SetNotesOnValue(true);
    const std::string before = PostScriptOf(note);
    Settings store;
    ASSERT_EQ(note.Save(store, 5003), noErr);
    EXPECT_EQ(Record(store, kJbNt, 5003), std::string(1, '\1'));
    EXPECT_EQ(Record(store, kJMxL, 5003).size(), 4u);

    std::unique_ptr<Settings> copy = Reloaded(store);
    CString encoding("ISOLatin1");
    PPDXJobNote rebuilt(*copy, 5003, &encoding);
    EXPECT_EQ(rebuilt.Type(), CNTL_JOBNOTE);
    EXPECT_STREQ(rebuilt.Keyword(), "*Account");
    EXPECT_STREQ(rebuilt.UserName(), "Account");
    EXPECT_STREQ(rebuilt.GetNotes(), "1234");
    EXPECT_STREQ(rebuilt.GetDefaultNotes(), "0000");
    EXPECT_EQ(rebuilt.MaxLength(), 12);
    EXPECT_EQ(rebuilt.MinLength(), 4);
    EXPECT_EQ(rebuilt.Flags(), note.Flags());
    EXPECT_TRUE(rebuilt.GetNotesOnValue());
    EXPECT_TRUE(rebuilt.IsSetup());
    EXPECT_TRUE(rebuilt.IsVisible());
    EXPECT_EQ(PostScriptOf(rebuilt), before);
}

TEST(PPDXJobNote, RestoreReplacesOnlyTheText) {
    std::unique_ptr<PPDXJobNote> note(MakeNote("*Notes1", "", "Old", 0, 9));
    Settings store;
    store.Add(kJNtT, 5001, "Restored", 8);
    store.Add(kJMxL, 5001, "\0\0\0\0", 4);
    EXPECT_EQ(PostScriptOf(*note).find("Restored"), std::string::npos);
    EXPECT_EQ(note->Restore(store, 5001), noErr);
    EXPECT_STREQ(note->GetNotes(), "Restored");
    EXPECT_EQ(note->MaxLength(), 9);
    EXPECT_NE(PostScriptOf(*note).find("%%ORBCustom1: Restored\n"), std::string::npos);
    EXPECT_EQ(note->Restore(store, 77), noErr);
    EXPECT_EQ(note->GetNotes(), nullptr);
}

TEST(PPDXJobNote, MalformedRecordsLeaveDefaults) {
    Settings store;
    store.Add(kJbNt, 4, "\1", 1);
    store.Add(kJNtT, 4, "", 0);
    store.Add(kJMxL, 4, "\1\2\3", 3);
    store.Add(kJNtF, 4, "\1\2\3\4\5", 5);
    store.Add(kJNOn, 4, "\1\1", 2);
    PPDXJobNote note(store, 4, nullptr);
    EXPECT_EQ(note.GetNotes(), nullptr);
    EXPECT_EQ(note.GetDefaultNotes(), nullptr);
    EXPECT_EQ(note.MaxLength(), 0);
    EXPECT_EQ(note.Flags(), 0u);
    EXPECT_FALSE(note.GetNotesOnValue());
    EXPECT_EQ(note.PostScript(nullptr), 0);
}

}  // namespace
