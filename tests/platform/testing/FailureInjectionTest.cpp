#include "testing/FailureInjection.h"

#include <gtest/gtest.h>

TEST(FailureInjection, SkipsThenFailsExactlyCountOperations) {
    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailFileRead, 2, 3);
    int pattern[7];
    for (int& p : pattern) p = HalyxShouldFail(kHalyxFailFileRead);
    const int expected[7] = {0, 0, 1, 1, 1, 0, 0};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(pattern[i], expected[i]) << "operation " << i;
    EXPECT_EQ(HalyxInjectedFailureCount(kHalyxFailFileRead), 3);
    // Other kinds are untouched.
    EXPECT_EQ(HalyxShouldFail(kHalyxFailAllocation), 0);
}

TEST(FailureInjection, EndlessUntilResetAndBadKindsIgnored) {
    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailAllocation, 0, -1);
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(HalyxShouldFail(kHalyxFailAllocation));
    HalyxResetFailures();
    EXPECT_FALSE(HalyxShouldFail(kHalyxFailAllocation));
    EXPECT_EQ(HalyxInjectedFailureCount(kHalyxFailAllocation), 0);
    HalyxInjectFailures(static_cast<HalyxFailureKind>(99), 0, -1);
    EXPECT_FALSE(HalyxShouldFail(static_cast<HalyxFailureKind>(99)));
    EXPECT_FALSE(HalyxShouldFail(static_cast<HalyxFailureKind>(-1)));
}
