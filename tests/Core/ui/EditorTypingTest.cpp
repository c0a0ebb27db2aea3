// Keys typed into the editor's fields: what each kind of note and range takes, what it refuses and
// with which message, and that paste never inserts anything.
#include <string>

#include "EditorHarness.h"

namespace {

using editortest::Dialog;
using editortest::Localized;
using editortest::Titled;

const char kTypingPPD[] =
    "*%ORBJobNote *Num/Number: 10|Numeric\n"
    "*%ORBJobNote *Both/Letters and digits: 20|Alpha|Numeric\n"
    "*%ORBJobNote *Fixed/Fixed: 6|Numeric|LengthReq\n"
    "*%ORBJobNote *Panel/Panel: 20|LCD\n"
    "*%ORBJobNote *Amount/Amount: 12|Decimal|MultiSpace\n"
    "*%ORBJobNote *Spaced/Spaced amount: 12|Decimal|MultiSpace|Space\n"
    "*%ORBJobNote *Secret/Secret: 200|Encrypt\n"
    "*%ORBFlags *QZCopies: Setup\n*%ORBGroup *QZCopies: Roll\n"
    "*%ORBRange *QZCopies/Copies: (0;100;5;10) \"/#copies <QZCopies> def\"\n"
    "*%ORBFlags *QZOffset: Setup\n*%ORBGroup *QZOffset: Roll\n"
    "*%ORBRange *QZOffset/Offset: (-50;50;10;0) \"/o <QZOffset> def\"\n";

enum Row : UInt16 { kNum, kBoth, kFixed, kPanel, kAmount, kSpaced, kSecret, kCopies, kOffset };

class EditorTypingTest : public ::testing::Test {
protected:
    EditorTypingTest() : dialog(kTypingPPD) {}

    // Types `c` into the focused field and expects it refused: the text stays, the key beeps
    // (sound 5) and `message` is shown.
    void ExpectRefused(UInt16 row, UniChar c, const std::string& message, UInt32 modifiers = 0) {
        SCOPED_TRACE(std::string("key ") + static_cast<char>(c));
        const std::string before = dialog.Text(row);
        const UInt32 beeps = HalyxBeepCount();
        dialog.Key(c, modifiers);
        EXPECT_EQ(before, dialog.Text(row));
        ASSERT_EQ(beeps + 1, HalyxBeepCount());
        EXPECT_EQ(5, HalyxBeepDuration(beeps));
        EXPECT_EQ(message, dialog.Message());
    }
    void Focus(UInt16 row) {
        ASSERT_NE(eventNotHandledErr, dialog.ClickField(row));
        ASSERT_TRUE(dialog.HasFocus(row));
    }

    Dialog dialog;
};

TEST_F(EditorTypingTest, NumericNoteRefusesLettersThenEveryKeyAtItsLimitUnlessTextIsSelected) {
    Focus(kNum);
    const std::string title = dialog.Title(kNum);
    dialog.Type("123");
    ExpectRefused(kNum, 'a', Localized("NumbersOnly", "s", title.c_str()));
    dialog.Type("4567890");
    ASSERT_EQ("1234567890", dialog.Text(kNum));
    ExpectRefused(kNum, '5', Localized("LimitChars", "sd", title.c_str(), 10));
    ExpectRefused(kNum, 'a', Localized("LimitChars", "sd", title.c_str(), 10));
    dialog.SelectAll();
    ExpectRefused(kNum, 'a', Localized("MaxChars", "d", 10));
    dialog.Key('5');
    EXPECT_EQ("5", dialog.Text(kNum));
}

TEST_F(EditorTypingTest, CharacterClassesRefuseWhatTheyDoNotName) {
    Focus(kBoth);
    ExpectRefused(kBoth, '#', Localized("KeyNotValid", "s", dialog.Title(kBoth).c_str()));

    Focus(kPanel);
    dialog.Type("aZ9 ,-._");
    EXPECT_EQ("aZ9 ,-._", dialog.Text(kPanel));
    ExpectRefused(kPanel, '/', Localized("KeyNotValid", "s", dialog.Title(kPanel).c_str()));
    ExpectRefused(kPanel, ':', Localized("KeyNotValid", "s", dialog.Title(kPanel).c_str()));

    // MultiSpace gives a decimal note no blank; only Space does.
    Focus(kAmount);
    dialog.Type("1.5");
    ExpectRefused(kAmount, ' ', Localized("KeyNotValid", "s", dialog.Title(kAmount).c_str()));
    Focus(kSpaced);
    dialog.Type("1 5");
    EXPECT_EQ("1 5", dialog.Text(kSpaced));
}

TEST_F(EditorTypingTest, FixedLengthNoteRefusesOnTypingAndOnLeaving) {
    Focus(kFixed);
    const std::string title = dialog.Title(kFixed);
    dialog.Type("12");
    ExpectRefused(kFixed, '#', Localized("FixedLength", "d", 6));

    const UInt32 beeps = HalyxBeepCount();
    dialog.Tab();
    EXPECT_TRUE(dialog.HasFocus(kFixed));
    EXPECT_EQ(Titled(title, Localized("FixedLength", "d", 6)), dialog.Message());
    ASSERT_EQ(beeps + 1, HalyxBeepCount());
    EXPECT_EQ(1, HalyxBeepDuration(beeps));

    dialog.Type("3456");
    ExpectRefused(kFixed, '7', Localized("MaxCharsLimit", "sd", title.c_str(), 6));
    dialog.Tab();
    EXPECT_TRUE(dialog.HasFocus(kPanel));
}

TEST_F(EditorTypingTest, RangeFieldsTakeDigitsAndAMinusOnlyBelowZero) {
    Focus(kCopies);
    dialog.SelectAll();
    ExpectRefused(kCopies, '-', Localized("NumbersOnly", "s", dialog.Title(kCopies).c_str()));

    Focus(kOffset);
    dialog.SelectAll();
    dialog.Type("5-");
    EXPECT_EQ("5-", dialog.Text(kOffset));
    dialog.Tab();
    EXPECT_TRUE(dialog.HasFocus(kOffset));
    EXPECT_EQ(Localized("Range:Bad Range data", "sddd", dialog.Title(kOffset).c_str(), -50, 50, 10),
              dialog.Message());

    dialog.SelectAll();
    const std::string full(32, '1');
    dialog.Type(full.c_str());
    EXPECT_EQ(full, dialog.Text(kOffset));
    ExpectRefused(kOffset, '1', Localized("MaxChars", "d", 32));
    dialog.SelectAll();
    dialog.Type("-20");
    EXPECT_EQ("-20", dialog.Text(kOffset));
    dialog.Tab(true);
    EXPECT_TRUE(dialog.HasFocus(kCopies));
}

TEST_F(EditorTypingTest, PasteBeepsAndInsertsNothing) {
    HalyxSetScrapText("123");
    Focus(kNum);
    dialog.Type("9");
    UInt32 beeps = HalyxBeepCount();
    dialog.Key('v', cmdKey);
    EXPECT_EQ("9", dialog.Text(kNum));
    ASSERT_EQ(beeps + 1, HalyxBeepCount());
    EXPECT_EQ(5, HalyxBeepDuration(beeps));

    beeps = HalyxBeepCount();
    HalyxSendCommand(dialog.Window(), kHICommandPaste);
    EXPECT_EQ("9", dialog.Text(kNum));
    ASSERT_EQ(beeps + 1, HalyxBeepCount());
    EXPECT_EQ(1, HalyxBeepDuration(beeps));
    HalyxSetScrapText(nullptr);
}

TEST_F(EditorTypingTest, EncryptedNoteStopsAtWhatItsCipherTextCanHold) {
    Focus(kSecret);
    const long limit = UI_JobNotesBrowser::kEncryptedNoteLimit;
    const std::string most(static_cast<size_t>(limit), 'a');
    dialog.Type(most.c_str());
    EXPECT_EQ(most, dialog.Text(kSecret));
    ExpectRefused(
        kSecret, 'b',
        Localized("LimitChars", "sd", dialog.Title(kSecret).c_str(), static_cast<int>(limit)));
}

TEST(EditorLongEncryptedNoteTest, LeavingWithMoreThanTheCipherTextCanHoldIsRefused) {
    const std::string text(130, 'x');
    Dialog dialog("*%ORBJobNote *Secret/Secret: 200|Encrypt\n*%DefaultSecret: " + text +
                  "\n*%ORBJobNote *Other/Other: 20\n");
    dialog.ClickField(0);
    ASSERT_TRUE(dialog.HasFocus(0));
    ASSERT_EQ(text, dialog.Text(0));
    dialog.Tab();
    EXPECT_TRUE(dialog.HasFocus(0));
    EXPECT_EQ(Localized("LimitChars", "sd", dialog.Title(0).c_str(),
                        static_cast<int>(UI_JobNotesBrowser::kEncryptedNoteLimit)),
              dialog.Message());
}

}  // namespace
