// Job notes (direct and block form), ranges and special options.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroups.h"
#include "PPDObjects/PPDXRollDown.h"
#include "parser/KeywordTo_PPDControl.h"
#include "parser/ORBPPD.h"
#include "parser/PPDFileStream.h"
#include "tests/parser/ParsedPPD.h"

namespace {

std::string Code(const PPDXControl* control) {
    if (control->PSData() == nullptr) return "";
    return std::string(reinterpret_cast<const char*>(control->PSData()), control->PSLength());
}

// A page, a scroll pane and the roll-down "Notes" that flagged job notes and ranges are put in.
const std::string kLayout =
    "*%ORBPropPage Main/Main: True\n"
    "*%ORBGroupName Pane/Pane: True\n"
    "*%ORBGroupName Notes/Notes: True\n"
    "*%ORBParent Pane/Main: True|Scrollpane\n"
    "*%ORBParent Notes/Pane: True|Rolldown\n";

// Restores the supported-extensions mask a test changes.
class ExtensionsScope {
public:
    explicit ExtensionsScope(_EXTENSIONS_SUPPORT_ mask) : mSaved(ORBPPD::GetExtensions()) {
        ORBPPD::SetExtensions(mask);
    }
    ~ExtensionsScope() { ORBPPD::SetExtensions(mSaved); }

private:
    _EXTENSIONS_SUPPORT_ mSaved;
};

}  // namespace

TEST(ORBPPDDirectJobNotes, FieldsAndFlagsWithAnUnrelatedLineAfter) {
    ParsedPPD ppd(
        "*%ORBJobNote *Notes1/Notes 1: 40|Alpha|Required\n"
        "*%ORBSpecialOption *UseSpecialKey: True\n");
    EXPECT_EQ(ppd.Errors(), "");
    PPDXJobNote* note = ppd.Find<PPDXJobNote>("*Notes1");
    ASSERT_NE(note, nullptr);
    EXPECT_STREQ(note->UserName(), "Notes 1");
    EXPECT_EQ(note->MaxLength(), 40);
    EXPECT_EQ(note->MinLength(), 0);
    EXPECT_EQ(note->Flags(), kJobNoteAlpha | kJobNoteRequired);
    EXPECT_EQ(note->GetDefaultNotes(), nullptr);
    EXPECT_EQ(note->PSData(), nullptr);
    EXPECT_EQ(note->ControlFlagCount(), 0u);
    EXPECT_TRUE(note->IsVisible());
    EXPECT_EQ(ppd->GetKeywordIndex()->Lookup("*Notes1"), note);
    // The line after the note was left to the walk.
    EXPECT_NE(ppd.Find<PPDXSpecialOption>("*UseSpecialKey"), nullptr);
}

TEST(ORBPPDDirectJobNotes, NextLineGivesEitherTheInvocationOrTheDefault) {
    {
        ParsedPPD ppd(
            "*%ORBJobNote *Notes1/Notes 1: 40|Alpha\n"
            "*%Notes1: \"%%ORBCustom1: <Notes1>\"\n");
        PPDXJobNote* note = ppd.Find<PPDXJobNote>("*Notes1");
        ASSERT_NE(note, nullptr);
        EXPECT_EQ(Code(note), "%%ORBCustom1: <Notes1>\n");
        EXPECT_EQ(note->GetDefaultNotes(), nullptr);
    }
    {
        ParsedPPD ppd(
            "*%ORBJobNote *Notes1/Notes 1: 40|Alpha\n"
            "*%DefaultNotes1: Hello\n"
            "*%Notes1: \"%%ORBCustom1: <Notes1>\"\n");
        PPDXJobNote* note = ppd.Find<PPDXJobNote>("*Notes1");
        ASSERT_NE(note, nullptr);
        EXPECT_STREQ(note->GetDefaultNotes(), "Hello");
        EXPECT_STREQ(note->GetNotes(), "Hello");
        EXPECT_EQ(note->PSData(), nullptr) << "the line after the default is not examined";
    }
}

TEST(ORBPPDDirectJobNotes, InvocationOverSeveralLinesIsReadWhereItGoesOn) {
    ParsedPPD ppd(
        "*%ORBJobNote *Notes2/Notes 2: 20\n"
        "*%Notes2: \"%%BeginNote\n"
        "<Notes2>\n"
        "%%EndNote\"\n"
        "*%ORBJobNote *Notes3/Notes 3: 30\n");
    PPDXJobNote* note = ppd.Find<PPDXJobNote>("*Notes2");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(Code(note), "%%BeginNote\n<Notes2>\n%%EndNote\n");
    EXPECT_NE(ppd.Find<PPDXJobNote>("*Notes3"), nullptr);
}

TEST(ORBPPDDirectJobNotes, LineAfterTheNoteCutByTheEndOfAReadChunkIsStillRecognised) {
    const std::string note = "*%ORBJobNote *Notes1/Notes 1: 40|Alpha\n";
    const std::string follower = "*%Notes1: \"%%ORBCustom1: <Notes1>\"\n";
    const size_t header = std::strlen(ParsedPPD::kHeader);
    // How many bytes of the line after the note the first chunk of the file holds.
    for (size_t inFirstChunk : {1u, 4u, 9u, 20u}) {
        const size_t noteAt = PPDFileStream::kChunkSize - inFirstChunk - note.size();
        std::string padding;
        while (noteAt - header - padding.size() > 83) padding += "*%" + std::string(77, 'x') + "\n";
        padding += "*%" + std::string(noteAt - header - padding.size() - 3, 'y') + "\n";
        ASSERT_EQ(header + padding.size(), noteAt);
        ParsedPPD ppd(padding + note + follower + "*%ORBJobNote *Notes2/Notes 2: 10\n");
        PPDXJobNote* note1 = ppd.Find<PPDXJobNote>("*Notes1");
        ASSERT_NE(note1, nullptr) << inFirstChunk;
        EXPECT_EQ(Code(note1), "%%ORBCustom1: <Notes1>\n") << inFirstChunk;
        EXPECT_NE(ppd.Find<PPDXJobNote>("*Notes2"), nullptr) << inFirstChunk;
    }
}

TEST(ORBPPDDirectJobNotes, KeywordsBeginningWithDeTakeTheirInvocationLineAsADefault) {
    ParsedPPD ppd(
        "*%ORBJobNote *Department/Department: 8|Numeric\n"
        "*%Department: \"%%Dept: <Department>\"\n");
    EXPECT_EQ(ppd.Errors(), "");
    PPDXJobNote* note = ppd.Find<PPDXJobNote>("*Department");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->PSData(), nullptr);
    EXPECT_EQ(note->GetDefaultNotes(), nullptr);
}

TEST(ORBPPDDirectJobNotes, BlankOrMissingFieldsDropOrZeroTheNote) {
    struct Case {
        const char* text;
        const char* errors;
        bool made;
        long maxLength;
    } cases[] = {
        // The maximum-length field is blank before the quote: 0.
        {"*%ORBJobNote *Notes1/Notes 1: \"40|Alpha\"\n", "", true, 0},
        {"*%ORBJobNote *Notes1/Notes 1: -5|Alpha\n", "", true, -5},
        {"*%ORBJobNote *Notes1/Notes 1: x12|Alpha\n", "", true, 0},
        {"*%ORBJobNote :Notes 1: 40\n", "6", false, 0},
        {"*%ORBJobNote *Notes1\n", "", false, 0},
        {"*%ORBJobNote *Notes1/Notes 1:\n", "", false, 0},
    };
    for (const Case& c : cases) {
        ParsedPPD ppd(c.text);
        EXPECT_EQ(ppd.Errors(), c.errors) << c.text;
        PPDXJobNote* note = ppd.Find<PPDXJobNote>("*Notes1");
        EXPECT_EQ(note != nullptr, c.made) << c.text;
        if (note != nullptr) {
            EXPECT_EQ(note->MaxLength(), c.maxLength) << c.text;
        }
    }
}

TEST(ORBPPDDirectJobNotes, EveryFlagWordSetsItsBitAndUnknownWordsAreIgnored) {
    const char* words[] = {"Alpha",        "Numeric",       "Decimal",    "Required", "Remembered",
                           "Password",     "AlwaysDisplay", "Resume",     "Member",   "OnOfSwitch",
                           "LengthReq",    "SecPrint",      "Command",    "Space",    "Negative",
                           "Encrypt",      "MultiSpace",    "MultiComma", "LCD",      "Hyphen",
                           "TwoCharField", "NoComma",       "MinLength"};
    for (unsigned index = 0; index < sizeof words / sizeof words[0]; ++index) {
        ParsedPPD ppd(std::string("*%ORBJobNote *Notes1/Notes 1: 10|alpha|") + words[index] +
                      "|MinLength5\n");
        PPDXJobNote* note = ppd.Find<PPDXJobNote>("*Notes1");
        ASSERT_NE(note, nullptr) << words[index];
        EXPECT_EQ(note->Flags(), JobNoteFlag(1) << index) << words[index];
        EXPECT_EQ(note->MinLength(), 0) << "the direct form reads no minimum length";
    }
}

TEST(ORBPPDDirectJobNotes, ExtensionsMaskRefusesLaterFlagWords) {
    struct Case {
        _EXTENSIONS_SUPPORT_ mask;
        const char* lastAccepted;
        const char* firstRefused;
    } cases[] = {
        {0, "Member", "OnOfSwitch"}, {1, "SecPrint", "Command"}, {2, "Negative", "Encrypt"}};
    for (const Case& c : cases) {
        ExtensionsScope mask(c.mask);
        {
            ParsedPPD ppd(std::string("*%ORBJobNote *Notes1/Notes 1: 10|") + c.lastAccepted + "\n");
            EXPECT_EQ(ppd.Errors(), "") << c.lastAccepted;
            EXPECT_NE(ppd.Find<PPDXJobNote>("*Notes1"), nullptr) << c.lastAccepted;
        }
        {
            ParsedPPD ppd(std::string("*%ORBJobNote *Notes1/Notes 1: 10|Alpha|") + c.firstRefused +
                          "\n");
            EXPECT_EQ(ppd.Errors(), "32:*Notes1") << c.firstRefused;
            EXPECT_EQ(ppd.Find<PPDXJobNote>("*Notes1"), nullptr) << c.firstRefused;
        }
    }
}

TEST(ORBPPDDirectJobNotes, NotesGoIntoTheNotesGroupWithoutReport) {
    ParsedPPD ppd(
        "*%ORBPropPage Main/Main: True\n"
        "*%ORBGroupName Pane/Pane: True\n"
        "*%ORBGroupName FPQZNotes/Job Notes: True\n"
        "*%ORBParent Pane/Main: True|Scrollpane\n"
        "*%ORBParent FPQZNotes/Pane: True|Rolldown\n"
        "*%ORBJobNote *Notes1/Notes 1: 40\n"
        "*%ORBJobNote *Notes2/Notes 2: 40\n",
        ORBPPD::kParseHidden);
    EXPECT_EQ(ppd.Errors(), "");
    PPDXGroup* notes = ppd->GetGroups()->Find("FPQZNotes", true);
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(ppd.Find<PPDXJobNote>("*Notes1")->GetParent(), notes);
    EXPECT_EQ(ppd.Find<PPDXJobNote>("*Notes2")->GetParent(), notes);
}

TEST(ORBPPDBlockJobNotes, FlagsLineWordsMinimumLengthAndRollDown) {
    ParsedPPD ppd(kLayout +
                  "*%ORBFlags *QZUserAuthPwd: MacHJN\n"
                  "*%ORBGroup *QZUserAuthPwd: Notes\n"
                  "*%ORBJobNote *QZUserAuthPwd/Password: 16|Password|Encrypt|MinLength12\n"
                  "*%QZUserAuthPwd: \"<QZUserAuthPwd>\"\n");
    EXPECT_EQ(ppd.Errors(), "");
    PPDXJobNote* note = ppd.Find<PPDXJobNote>("*QZUserAuthPwd");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->MinLength(), 12);
    EXPECT_EQ(note->Flags(), kJobNotePassword | kJobNoteEncrypt | kJobNoteMinLength);
    EXPECT_TRUE(note->IsMacHJN());
    EXPECT_EQ(Code(note), "<QZUserAuthPwd>\n");
    EXPECT_EQ(note->GetParent(), ppd->GetGroups()->Find("Notes", true));
}

TEST(ORBPPDBlockJobNotes, MinLengthDigitsAndWhatCannotBeRead) {
    struct Case {
        const char* word;
        long minLength;
    } cases[] = {{"MinLength", 0},    {"MinLength7", 7},    {"MinLength12", 12},
                 {"MinLength7x", -3}, {"MinLength123", -2}, {"MinLengthx", -1}};
    for (const Case& c : cases) {
        ParsedPPD ppd(kLayout + "*%ORBFlags *Notes1: Setup\n*%ORBGroup *Notes1: Notes\n" +
                      "*%ORBJobNote *Notes1/Notes 1: 40|" + c.word + "\n");
        PPDXJobNote* note = ppd.Find<PPDXJobNote>("*Notes1");
        ASSERT_NE(note, nullptr) << c.word;
        EXPECT_EQ(note->MinLength(), c.minLength) << c.word;
        EXPECT_EQ(note->Flags(), kJobNoteMinLength) << c.word;
    }
}

TEST(ORBPPDBlockJobNotes, KeywordOtherThanTheFlaggedOneIsRefused) {
    ParsedPPD ppd(kLayout + "*%ORBFlags *Notes1: Setup\n*%ORBGroup *Notes1: Notes\n" +
                  "*%ORBJobNote *Notes2/Notes 2: 40\n");
    EXPECT_EQ(ppd.Errors(), "6:*Notes2");
    EXPECT_EQ(ppd.ControlTotal(), 0u);
}

TEST(ORBPPDRanges, NumbersTemplateAndRollDown) {
    ParsedPPD ppd(
        kLayout +
        "*%ORBFlags *Copies: Setup\n"
        "*%ORBGroup *Copies: Notes\n"
        "*%ORBRange *Copies/Copies: (1;999;1;1) \"<</NumCopies <Copies>>>setpagedevice\"\n"
        "*%ORBFlags *Shift: Setup\n"
        "*%ORBGroup *Shift: Notes\n"
        "*%ORBUnitRange *Shift/Image shift: ( -20 ; 20 ; 2 ; 0 ) \"<Shift> shift\"\n");
    EXPECT_EQ(ppd.Errors(), "");
    PPDXRangeControl* copies = ppd.Find<PPDXRangeControl>("*Copies");
    ASSERT_NE(copies, nullptr);
    EXPECT_EQ(copies->MinVal(), 1);
    EXPECT_EQ(copies->MaxVal(), 999);
    EXPECT_EQ(copies->Increment(), 1);
    EXPECT_EQ(copies->DefaultValue(), 1);
    EXPECT_EQ(copies->GetValue(), 1);
    EXPECT_EQ(Code(copies), "<</NumCopies <Copies>>>setpagedevice\n");
    EXPECT_EQ(copies->GetParent(), ppd->GetGroups()->Find("Notes", true));
    EXPECT_EQ(ppd->GetKeywordIndex()->Lookup("*Copies"), copies);
    PPDXRangeControl* shift = ppd.Find<PPDXRangeControl>("*Shift");
    ASSERT_NE(shift, nullptr);
    EXPECT_EQ(shift->MinVal(), -20);
    EXPECT_EQ(shift->MaxVal(), 20);
    EXPECT_EQ(shift->Increment(), 2);
    EXPECT_EQ(shift->DefaultValue(), 0);
}

TEST(ORBPPDRanges, MissingCodeIsReportedAndTheRangeStillMade) {
    ParsedPPD ppd(kLayout + "*%ORBFlags *Copies: Setup\n*%ORBGroup *Copies: Notes\n" +
                  "*%ORBRange *Copies/Copies: (1;999;1;1)\n");
    EXPECT_EQ(ppd.Errors(), "35:*Copies");
    PPDXRangeControl* copies = ppd.Find<PPDXRangeControl>("*Copies");
    ASSERT_NE(copies, nullptr);
    EXPECT_EQ(copies->MinVal(), 1);
    EXPECT_EQ(copies->MaxVal(), 999);
    EXPECT_EQ(copies->Increment(), 1);
    EXPECT_EQ(copies->DefaultValue(), 1);
    EXPECT_EQ(copies->PSData(), nullptr);
}

TEST(ORBPPDRanges, MalformedLinesAreRefused) {
    struct Case {
        const char* line;
        const char* errors;
    } cases[] = {
        {"*%ORBRange *Other/Copies: (1;999;1;1) \"x\"\n", "7:*Other"},
        {"*%ORBRange :Copies: (1;999;1;1) \"x\"\n", "7"},
        {"*%ORBRange *Copies/Copies: 1;999;1;1) \"x\"\n", "7:*Copies"},
        {"*%ORBRange *Copies/Copies: (1;999;1)\n", "7:*Copies"},
        {"*%ORBRange *Copies/Copies: (1;;1;1) \"x\"\n", "7:*Copies"},
        {"*%ORBRange *Copies\n", ""},
    };
    for (const Case& c : cases) {
        ParsedPPD ppd(kLayout + "*%ORBFlags *Copies: Setup\n*%ORBGroup *Copies: Notes\n" + c.line);
        EXPECT_EQ(ppd.Errors(), c.errors) << c.line;
        EXPECT_EQ(ppd.ControlTotal(), 0u) << c.line;
    }
}

TEST(ORBPPDRanges, OrphanRangeIsRefusedWhileOrphansAreNotParsed) {
    const std::string text =
        "*%ORBFlags *Copies: Setup\n*%ORBGroup *Copies: Nowhere\n"
        "*%ORBRange *Copies/Copies: (1;999;1;1) \"x\"\n";
    {
        ParsedPPD ppd(text, ORBPPD::kParseHidden);
        EXPECT_EQ(ppd.Errors(), "21:*Copies");
        EXPECT_EQ(ppd.ControlTotal(), 0u);
    }
    {
        ParsedPPD ppd(text, ORBPPD::kParseOrphans);
        EXPECT_EQ(ppd.Errors(), "29:*Copies");
        EXPECT_NE(ppd.Find<PPDXRangeControl>("*Copies"), nullptr);
    }
}

TEST(ORBPPDSpecialOptions, NameAndValueMakeAHiddenOptionOutsideTheIndex) {
    ParsedPPD ppd(
        "*%ORBSpecialOption *CopierUserAuth: Code 42 \n"
        "*%ORBSpecialOption *ORBAuthenticateWithLDAP:\n"
        "*%ORBSpecialOption *UseSpecialKey\n");
    EXPECT_EQ(ppd.Errors(), "");
    EXPECT_EQ(ppd.ControlTotal(), 1u);
    PPDXSpecialOption* option = ppd.Find<PPDXSpecialOption>("*CopierUserAuth");
    ASSERT_NE(option, nullptr);
    EXPECT_STREQ(option->GetValue(), "Code 42");
    EXPECT_STREQ(option->UserName(), "*CopierUserAuth");
    EXPECT_FALSE(option->IsVisible());
    EXPECT_EQ(option->PSData(), nullptr);
    EXPECT_EQ(ppd->GetKeywordIndex()->size(), 0u);
}
