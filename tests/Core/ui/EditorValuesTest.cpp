// Values the editor must refuse, whatever the field's flags let through: numbers beyond a range's
// 32-bit limits, characters the job's text has no code for, and PostScript delimiters where the
// template puts the text outside a string.
#include <string>

#include "EditorHarness.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"

namespace {

using editortest::Dialog;
using editortest::Localized;

const char kValuesPPD[] =
    "*%ORBJobNote *InString/In a string: 40\n"
    "*%InString: \"userdict /ORBFree (<InString>) put\"\n"
    "*%ORBJobNote *Bare/Bare: 40\n"
    "*%Bare: \"/ORBBare <Bare> def\"\n"
    "*%ORBFlags *QZCopies: Setup\n*%ORBGroup *QZCopies: Roll\n"
    "*%ORBRange *QZCopies/Copies: (1;999;1;1) \"/#copies <QZCopies> def\"\n"
    "*%ORBFlags *QZDarkness: Setup\n*%ORBGroup *QZDarkness: Roll\n"
    "*%ORBRange *QZDarkness/Darkness: (-5;5;1;0) \"/dark <QZDarkness> def\"\n";

enum Row : UInt16 { kInString, kBare, kCopies, kDarkness };

TEST(EditorValuesTest, RangeNumbersBeyondThirtyTwoBitsAreRefusedOnLeaving) {
    const struct {
        Row row;
        const char* text;
        bool taken;
    } table[] = {
        {kCopies, "4294967297", false},    {kCopies, "2147483648", false},
        {kCopies, "99999999999", false},   {kCopies, "999", true},
        {kDarkness, "4294967295", false},  {kDarkness, "-4294967291", false},
        {kDarkness, "-2147483649", false}, {kDarkness, "-5", true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.text);
        Dialog dialog(kValuesPPD);
        ASSERT_NE(eventNotHandledErr, dialog.ClickField(row.row));
        dialog.SelectAll();
        dialog.Type(row.text);
        ASSERT_EQ(row.text, dialog.Text(row.row));
        dialog.Tab();
        EXPECT_EQ(!row.taken, dialog.HasFocus(row.row));
        const ORBRange* range = static_cast<ORBRange*>(dialog.Ranges()->index(row.row - kCopies));
        const PPDXRangeControl* limits = range->Control();
        EXPECT_EQ(row.taken
                      ? std::string()
                      : Localized("Range:Bad Range data", "sddd", dialog.Title(row.row).c_str(),
                                  static_cast<int>(limits->MinVal()),
                                  static_cast<int>(limits->MaxVal()), 1),
                  dialog.Message());
        // Committed all the same, the value stops at the limit it passes, never wraps.
        dialog.Panel().CommitUserChanges();
        if (!row.taken) {
            EXPECT_EQ(row.text[0] == '-' ? limits->MinVal() : limits->MaxVal(), limits->GetValue());
        }
    }
}

TEST(EditorValuesTest, KeysTheJobOrTheTemplateCannotCarryAreRefusedWithAMessage) {
    const struct {
        Row row;
        UniChar key;
        const char* refusal;  // null: taken
    } table[] = {
        {kInString, 0x65E5, "NotCarried"},  // a CJK ideograph: no code in the job's text
        {kInString, 0xD83D, "NotCarried"},  // half of a character beyond the 16-bit plane
        {kInString, 0x00E9, nullptr},       // e-acute has one
        {kInString, ')', nullptr},          // escaped inside the string
        {kInString, '\\', nullptr},
        {kBare, ')', "PostScriptDelimiters"},
        {kBare, '(', "PostScriptDelimiters"},
        {kBare, '\\', "PostScriptDelimiters"},
        {kBare, 0x65E5, "NotCarried"},
        {kBare, '#', nullptr},
    };
    Dialog dialog(kValuesPPD);
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << "row " << row.row << " key " << row.key);
        ASSERT_NE(eventNotHandledErr, dialog.ClickField(row.row));
        dialog.SelectAll();
        dialog.Key('a');
        const UInt32 beeps = HalyxBeepCount();
        dialog.Key(row.key);
        if (row.refusal == nullptr) {
            EXPECT_EQ(beeps, HalyxBeepCount());
            EXPECT_EQ(2u, dialog.Field(row.row)->getGlyphCount());
            continue;
        }
        EXPECT_EQ(beeps + 1, HalyxBeepCount());
        EXPECT_EQ("a", dialog.Text(row.row));
        EXPECT_EQ(Localized(row.refusal, "s", dialog.Title(row.row).c_str()), dialog.Message());
    }
}

TEST(EditorValuesTest, AStoredTextWithDelimitersOutsideAStringIsRefusedOnLeaving) {
    Dialog dialog(kValuesPPD);
    ASSERT_NE(eventNotHandledErr, dialog.ClickField(kBare));
    dialog.Field(kBare)->setText("x) quit (");
    dialog.ClickField(kInString);
    EXPECT_TRUE(dialog.HasFocus(kBare));
    EXPECT_EQ(Localized("PostScriptDelimiters", "s", dialog.Title(kBare).c_str()),
              dialog.Message());
}

}  // namespace
