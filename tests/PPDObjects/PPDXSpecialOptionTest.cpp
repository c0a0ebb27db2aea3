#include "PPDObjects/Controls/PPDXSpecialOption.h"

#include <gtest/gtest.h>

#include <string>

#include "ControlTestSupport.h"

using namespace controltest;

namespace {

const FourCharCode kSoCN = HALYX_FOUR_CHAR('s', 'o', 'C', 'N');
const FourCharCode kSoVl = HALYX_FOUR_CHAR('s', 'o', 'V', 'l');

const char kCode[] = "/HalyxSpecial true def\n";

PPDXSpecialOption* MakeSpecial(char* value, CFStringRef name = nullptr) {
    PointerList flags;
    return new PPDXSpecialOption("Watermark", name, flags, value, Code(kCode),
                                 static_cast<long>(sizeof kCode - 1), false);
}

TEST(PPDXSpecialOption, RawCodeWithoutFeatureBlock) {
    char value[] = "Draft";
    std::unique_ptr<PPDXSpecialOption> option(MakeSpecial(value));
    value[0] = 'X';  // the option keeps its own copy
    EXPECT_EQ(option->Type(), CNTL_SPECIAL);
    EXPECT_STREQ(option->GetValue(), "Draft");
    EXPECT_EQ(PostScriptOf(*option), kCode);
    option->ResetToDefaultValue();
    EXPECT_STREQ(option->GetValue(), "");
    EXPECT_EQ(PostScriptOf(*option), kCode);

    PPDXSpecialOption empty;
    EXPECT_EQ(empty.Type(), CNTL_SPECIAL);
    EXPECT_STREQ(empty.GetValue(), "");
    EXPECT_EQ(empty.PostScript(nullptr), 0);
}

TEST(PPDXSpecialOption, SaveRebuildAndRestore) {
    char value[] = "Confidential";
    Name title("Watermark");
    std::unique_ptr<PPDXSpecialOption> option(MakeSpecial(value, title));
    Settings store;
    ASSERT_EQ(option->Save(store, 5007), noErr);
    EXPECT_EQ(Record(store, kSoCN, 5007), std::string(1, '\1'));
    EXPECT_EQ(Record(store, kSoVl, 5007), "Confidential");

    std::unique_ptr<Settings> copy = Reloaded(store);
    PPDXSpecialOption rebuilt(*copy, 5007);
    EXPECT_STREQ(rebuilt.Keyword(), "Watermark");
    EXPECT_FALSE(rebuilt.IsVisible());
    EXPECT_STREQ(rebuilt.UserName(), "Watermark");
    EXPECT_STREQ(rebuilt.GetValue(), "Confidential");
    EXPECT_EQ(PostScriptOf(rebuilt), kCode);

    rebuilt.ResetToDefaultValue();
    EXPECT_EQ(rebuilt.Restore(*copy, 5007), noErr);
    EXPECT_STREQ(rebuilt.GetValue(), "Confidential");
    EXPECT_EQ(rebuilt.Restore(*copy, 1), noErr);
    EXPECT_EQ(rebuilt.GetValue(), nullptr);
    // Without a value only the control records and the marker are written.
    Settings again;
    EXPECT_EQ(rebuilt.Save(again, 3), noErr);
    EXPECT_FALSE(HasRecord(again, kSoVl, 3));
    EXPECT_TRUE(HasRecord(again, kSoCN, 3));
}

TEST(PPDXSpecialOption, EmptyValueRecordLeavesNoValue) {
    Settings store;
    store.Add(kSoCN, 2, "\1", 1);
    store.Add(kSoVl, 2, "", 0);
    PPDXSpecialOption option(store, 2);
    EXPECT_EQ(option.GetValue(), nullptr);
    EXPECT_EQ(option.Keyword(), nullptr);
    EXPECT_EQ(option.PostScript(nullptr), 0);
    option.ResetToDefaultValue();
    EXPECT_STREQ(option.GetValue(), "");
}

}  // namespace
