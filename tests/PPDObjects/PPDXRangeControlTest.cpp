#include "PPDObjects/Controls/PPDXRangeControl.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "ControlTestSupport.h"
#include "PPDObjects/Controls/PPDXFloatRangeControl.h"

using namespace controltest;

namespace {

const FourCharCode kRngC = HALYX_FOUR_CHAR('R', 'n', 'g', 'C');
const FourCharCode kRCVl = HALYX_FOUR_CHAR('R', 'C', 'V', 'l');
const FourCharCode kRCMx = HALYX_FOUR_CHAR('R', 'C', 'M', 'x');

const char kCopies[] = "<</NumCopies <n>>>setpagedevice\n";

PPDXRangeControl* MakeRange(long min, long max, long increment, long defaultValue,
                            const char* templ = kCopies, const char* keyword = "*Copies",
                            CFStringRef name = nullptr) {
    PointerList flags;
    FillFlags(flags, {"Command"});
    const std::string code = templ != nullptr ? templ : "";
    return new PPDXRangeControl(keyword, name, flags, code.empty() ? nullptr : Code(code),
                                static_cast<long>(code.size()), min, max, increment, defaultValue,
                                true);
}

SInt32 Set(PPDXRangeControl& range, SInt32 value) {
    range.SetValue(value);
    return range.GetValue();
}

TEST(PPDXRangeControl, ClampThenSnapTowardZero) {
    std::unique_ptr<PPDXRangeControl> range(MakeRange(1, 10, 3, 4));
    EXPECT_EQ(range->GetValue(), 4);  // the default is taken unchecked
    EXPECT_EQ(Set(*range, 11), 9);
    EXPECT_EQ(Set(*range, 0), 0);
    EXPECT_EQ(Set(*range, -5), 0);
    EXPECT_EQ(Set(*range, 6), 6);

    std::unique_ptr<PPDXRangeControl> inverted(MakeRange(10, 5, 1, 0));
    EXPECT_EQ(Set(*inverted, 7), 5);
    std::unique_ptr<PPDXRangeControl> offset(MakeRange(3, 9, 2, 3));
    EXPECT_EQ(Set(*offset, 3), 2);
    std::unique_ptr<PPDXRangeControl> negative(MakeRange(-20, 20, -3, 0));
    EXPECT_EQ(Set(*negative, 7), 6);
    EXPECT_EQ(Set(*negative, -7), -6);
}

TEST(PPDXRangeControl, ZeroAndUnitIncrementsOnlyClamp) {
    std::unique_ptr<PPDXRangeControl> zero(MakeRange(1, 10, 0, 1));
    EXPECT_EQ(Set(*zero, 7), 7);
    EXPECT_EQ(Set(*zero, 15), 10);
    EXPECT_EQ(Set(*zero, -3), 1);
    std::unique_ptr<PPDXRangeControl> wide(MakeRange(INT_MIN, INT_MAX, -1, 0));
    EXPECT_EQ(Set(*wide, INT_MIN), INT_MIN);
    EXPECT_EQ(Set(*wide, INT_MAX), INT_MAX);
}

TEST(PPDXRangeControl, FeatureBlockFollowsTheValue) {
    std::unique_ptr<PPDXRangeControl> copies(MakeRange(1, 999, 1, 1));
    copies->SetValue(3);
    EXPECT_EQ(PostScriptOf(*copies),
              "%%BeginFeature: *Copies 3\n<</NumCopies 3>>setpagedevice\n%%EndFeature\n");
    copies->SetValue(250);
    EXPECT_EQ(PostScriptOf(*copies),
              "%%BeginFeature: *Copies 250\n<</NumCopies 250>>setpagedevice\n%%EndFeature\n");

    std::unique_ptr<PPDXRangeControl> shift(MakeRange(-50, 50, 1, -12, "<s> Shift\n", "*Shift"));
    EXPECT_EQ(PostScriptOf(*shift), "%%BeginFeature: *Shift -12\n-12 Shift\n%%EndFeature\n");

    std::unique_ptr<PPDXRangeControl> bare(MakeRange(0, 9, 1, 5, nullptr));
    EXPECT_EQ(PostScriptOf(*bare), "%%BeginFeature: *Copies 5\n\n%%EndFeature\n");
    std::unique_ptr<PPDXRangeControl> keywordless(MakeRange(0, 9, 1, 5, kCopies, ""));
    EXPECT_EQ(keywordless->PostScript(nullptr), 0);
}

TEST(PPDXRangeControl, SaveAndRebuildKeepNumbers) {
    Name title("Copies");
    std::unique_ptr<PPDXRangeControl> range(MakeRange(2, 40, 2, 8, kCopies, "*Copies", title));
    range->SetValue(17);
    Settings store;
    ASSERT_EQ(range->Save(store, 5004), noErr);
    EXPECT_EQ(Record(store, kRngC, 5004), std::string(1, '\1'));
    std::unique_ptr<Settings> copy = Reloaded(store);
    PPDXRangeControl rebuilt(*copy, 5004);
    EXPECT_EQ(rebuilt.Type(), CNTL_RANGE);
    EXPECT_EQ(rebuilt.GetValue(), 16);
    EXPECT_EQ(rebuilt.MinVal(), 2);
    EXPECT_EQ(rebuilt.MaxVal(), 40);
    EXPECT_EQ(rebuilt.Increment(), 2);
    EXPECT_EQ(rebuilt.DefaultValue(), 8);
    EXPECT_STREQ(rebuilt.UserName(), "Copies");
    EXPECT_TRUE(rebuilt.IsCommand());
    EXPECT_EQ(PostScriptOf(rebuilt), PostScriptOf(*range));
}

TEST(PPDXRangeControl, FloatRecordsReadAsIntegerRangeKeepTheBits) {
    PointerList flags;
    PPDXFloatRangeControl scale("*Scale", nullptr, flags, nullptr, 0, 0, 100, 1, 50, true);
    scale.SetValue(12.0f);
    Settings store;
    ASSERT_EQ(scale.Save(store, 5005), noErr);
    PPDXRangeControl asInteger(store, 5005);
    const float expected[] = {12.0f, 0.0f, 100.0f, 1.0f, 50.0f};
    const SInt32 loaded[] = {asInteger.GetValue(), asInteger.MinVal(), asInteger.MaxVal(),
                             asInteger.Increment(), asInteger.DefaultValue()};
    for (int i = 0; i < 5; ++i) {
        float bits = 0;
        std::memcpy(&bits, &loaded[i], sizeof bits);
        EXPECT_EQ(bits, expected[i]) << i;
    }
}

TEST(PPDXRangeControl, RestoreTakesOnlyAFourByteValueUnclamped) {
    std::unique_ptr<PPDXRangeControl> range(MakeRange(1, 10, 1, 5));
    const std::string before = PostScriptOf(*range);
    Settings store;
    SInt32 outside = 99;
    store.Add(kRCVl, 5001, &outside, sizeof outside);
    store.Add(kRCMx, 5001, &outside, sizeof outside);
    store.Add(kRCVl, 5002, "\1\2", 2);
    EXPECT_EQ(range->Restore(store, 5002), noErr);
    EXPECT_EQ(range->GetValue(), 5);
    EXPECT_EQ(range->Restore(store, 5003), collectionItemNotFoundErr);
    EXPECT_EQ(range->GetValue(), 5);
    EXPECT_EQ(PostScriptOf(*range), before);
    EXPECT_EQ(range->Restore(store, 5001), noErr);
    EXPECT_EQ(range->GetValue(), 99);
    EXPECT_EQ(range->MaxVal(), 10);
    EXPECT_NE(PostScriptOf(*range).find("<</NumCopies 99>>"), std::string::npos);
}

TEST(PPDXRangeControl, MalformedRecordsLeaveZeros) {
    Settings store;
    store.Add(kRngC, 6, "\1", 1);
    store.Add(kRCVl, 6, "\1\2\3", 3);
    store.Add(kRCMx, 6, "\1\2\3\4\5", 5);
    PPDXRangeControl range(store, 6);
    EXPECT_EQ(range.GetValue(), 0);
    EXPECT_EQ(range.MaxVal(), 0);
    EXPECT_EQ(range.Increment(), 0);
    range.SetValue(5);  // increment 0 from a store: clamps without dividing
    EXPECT_EQ(range.GetValue(), 0);
    EXPECT_EQ(range.PostScript(nullptr), 0);
}

}  // namespace
