#include "PPDObjects/Controls/PPDXFloatRangeControl.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "ControlTestSupport.h"

using namespace controltest;

namespace {

PPDXFloatRangeControl* MakeFloat(long min, long max, long increment, long defaultValue,
                                 const char* templ = "<v> Scale\n") {
    PointerList flags;
    const std::string code = templ != nullptr ? templ : "";
    return new PPDXFloatRangeControl("*Scale", nullptr, flags, code.empty() ? nullptr : Code(code),
                                     static_cast<long>(code.size()), min, max, increment,
                                     defaultValue, true);
}

TEST(PPDXFloatRangeControl, SnapsOnlyJustAboveAMultiple) {
    std::unique_ptr<PPDXFloatRangeControl> scale(MakeFloat(0, 100, 1, 50));
    // The increment comes from the PPD as a whole number; halves come from a store.
    PointerList flags;
    PPDXFloatRangeControl halves("*Scale", nullptr, flags, nullptr, 0, 0, 100, 1, 0, true);
    Settings store;
    ASSERT_EQ(halves.Save(store, 1), noErr);
    float half = 0.5f;
    store.Add(HALYX_FOUR_CHAR('R', 'C', 'I', 'n'), 1, &half, sizeof half);
    PPDXFloatRangeControl range(store, 1);
    ASSERT_EQ(range.Increment(), 0.5f);

    range.SetValue(2.2f);
    EXPECT_FLOAT_EQ(range.GetValue(), 2.2f);
    range.SetValue(2.504f);
    EXPECT_FLOAT_EQ(range.GetValue(), 2.5f);
    EXPECT_NE(PostScriptOf(range).find("%%BeginFeature: *Scale 2\n"), std::string::npos);
    range.SetValue(150.0f);
    EXPECT_FLOAT_EQ(range.GetValue(), 100.0f);
    range.SetValue(-3.0f);
    EXPECT_FLOAT_EQ(range.GetValue(), 0.0f);
}

TEST(PPDXFloatRangeControl, NegativeFractionsSnapTowardZero) {
    std::unique_ptr<PPDXFloatRangeControl> range(MakeFloat(-10, 10, 1, 0));
    range->SetValue(-2.7f);
    EXPECT_FLOAT_EQ(range->GetValue(), -2.0f);
    EXPECT_EQ(PostScriptOf(*range), "%%BeginFeature: *Scale -2\n-2 Scale\n%%EndFeature\n");
    range->SetValue(3.7f);
    EXPECT_FLOAT_EQ(range->GetValue(), 3.7f);
    EXPECT_EQ(PostScriptOf(*range), "%%BeginFeature: *Scale 3\n3 Scale\n%%EndFeature\n");
}

TEST(PPDXFloatRangeControl, UnrepresentableQuotientsAndValuesStaySafe) {
    std::unique_ptr<PPDXFloatRangeControl> zero(MakeFloat(0, 100, 0, 0));
    zero->SetValue(7.25f);
    EXPECT_FLOAT_EQ(zero->GetValue(), 7.25f);
    zero->SetValue(0.0f);  // 0 / 0 is not a number: no snapping
    EXPECT_FLOAT_EQ(zero->GetValue(), 0.0f);
    zero->SetValue(std::nanf(""));
    EXPECT_TRUE(std::isnan(zero->GetValue()));
    EXPECT_NE(PostScriptOf(*zero).find("*Scale 0\n"), std::string::npos);

    std::unique_ptr<PPDXFloatRangeControl> huge(MakeFloat(0, LONG_MAX, 1, 0));
    huge->SetValue(3e9f);
    EXPECT_GT(huge->GetValue(), 2e9f);
    EXPECT_NE(PostScriptOf(*huge).find("*Scale 2147483647\n"), std::string::npos);
}

TEST(PPDXFloatRangeControl, SaveRebuildAndRestore) {
    std::unique_ptr<PPDXFloatRangeControl> scale(MakeFloat(5, 400, 5, 100));
    scale->SetValue(37.0f);
    Settings store;
    ASSERT_EQ(scale->Save(store, 5006), noErr);
    std::unique_ptr<Settings> copy = Reloaded(store);
    PPDXFloatRangeControl rebuilt(*copy, 5006);
    EXPECT_EQ(rebuilt.Type(), CNTL_RANGE);
    EXPECT_FLOAT_EQ(rebuilt.GetValue(), 37.0f);
    EXPECT_FLOAT_EQ(rebuilt.MinVal(), 5.0f);
    EXPECT_FLOAT_EQ(rebuilt.MaxVal(), 400.0f);
    EXPECT_FLOAT_EQ(rebuilt.Increment(), 5.0f);
    EXPECT_FLOAT_EQ(rebuilt.DefaultValue(), 100.0f);
    EXPECT_EQ(PostScriptOf(rebuilt), PostScriptOf(*scale));

    rebuilt.ResetToDefaultValue();
    EXPECT_NE(PostScriptOf(rebuilt).find("100 Scale"), std::string::npos);
    EXPECT_EQ(rebuilt.Restore(*copy, 5006), noErr);
    EXPECT_NE(PostScriptOf(rebuilt).find("37 Scale"), std::string::npos);
    EXPECT_EQ(rebuilt.Restore(*copy, 1), collectionItemNotFoundErr);
    EXPECT_FLOAT_EQ(rebuilt.GetValue(), 37.0f);
}

}  // namespace
