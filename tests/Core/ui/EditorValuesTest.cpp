// Values the editor refuses whatever the field's flags let through: numbers beyond a range's 32-bit
// limits, characters the job's text has no code for, and PostScript delimiters where the template
// puts the text outside a string.
#include <string>

#include "EditorHarness.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"

namespace {

using editortest::Dialog;
using editortest::Localized;

const char kValuesPPD[] =
    "*%ORBJobNote *InString/In a string: 40\n*%InString: \"userdict /F (<InString>) put\"\n"
    "*%ORBJobNote *Bare/Bare: 40\n*%Bare: \"/ORBBare <Bare> def\"\n"
    "*%ORBFlags *QZDark: Setup\n*%ORBGroup *QZDark: Roll\n"
    "*%ORBRange *QZDark/Darkness: (-5;5;1;0) \"/dark <QZDark> def\"\n";

enum Row : UInt16 { kInString, kBare, kDark };

TEST(EditorValuesTest, RangeNumbersBeyondThirtyTwoBitsAreRefusedAndNeverWrap) {
    for (const char* text : {"4294967295", "4294967301", "-4294967291", "2147483648"}) {
        SCOPED_TRACE(text);
        Dialog dialog(kValuesPPD);
        ASSERT_NE(eventNotHandledErr, dialog.ClickField(kDark));
        dialog.SelectAll();
        dialog.Type(text);
        dialog.Tab();
        EXPECT_TRUE(dialog.HasFocus(kDark));
        EXPECT_EQ(Localized("Range:Bad Range data", "sddd", dialog.Title(kDark).c_str(), -5, 5, 1),
                  dialog.Message());
        // Committed all the same, the value stops at the limit it passes.
        dialog.Panel().CommitUserChanges();
        EXPECT_EQ(text[0] == '-' ? -5 : 5,
                  static_cast<ORBRange*>(dialog.Ranges()->index(0))->Control()->GetValue());
    }
}

TEST(EditorValuesTest, KeysTheJobOrTheTemplateCannotCarryAreRefusedWithAMessage) {
    const struct {
        Row row;
        UniChar key;
        const char* refusal;  // null: taken
    } table[] = {
        {kInString, 0x65E5, "NotCarried"},  // a CJK ideograph
        {kInString, 0xD83D, "NotCarried"},  // half of a character beyond 16 bits
        {kInString, 0x00E9, nullptr},
        {kInString, ')', nullptr},
        {kInString, '\\', nullptr},
        {kBare, '(', "PostScriptDelimiters"},
        {kBare, '\\', "PostScriptDelimiters"},
        {kBare, '#', nullptr},
    };
    Dialog dialog(kValuesPPD);
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << "row " << row.row << " key " << row.key);
        ASSERT_NE(eventNotHandledErr, dialog.ClickField(row.row));
        dialog.SelectAll();
        dialog.Key('a');
        dialog.Key(row.key);
        EXPECT_EQ(row.refusal != nullptr ? 1 : 2, dialog.Field(row.row)->getGlyphCount());
        if (row.refusal != nullptr) {
            EXPECT_EQ(Localized(row.refusal, "s", dialog.Title(row.row).c_str()), dialog.Message());
        }
    }
    // A text no key could type (a default, a stored one) is refused when the field is left.
    dialog.Field(kBare)->setText("x) quit (");
    dialog.ClickField(kInString);
    EXPECT_TRUE(dialog.HasFocus(kBare));
    EXPECT_EQ(Localized("PostScriptDelimiters", "s", dialog.Title(kBare).c_str()),
              dialog.Message());
}

}  // namespace
