#include "Gestalt/Gestalt.h"

#include <gtest/gtest.h>

namespace {

const OSType kSelector = HALYX_FOUR_CHAR('T', 'g', 's', '1');
const OSType kOther = HALYX_FOUR_CHAR('T', 'g', 's', '2');

class GestaltTest : public ::testing::Test {
protected:
    void TearDown() override {
        DeleteGestaltValue(kSelector);
        DeleteGestaltValue(kOther);
    }
};

TEST_F(GestaltTest, NewValueIsReadBackAndRefusesADuplicate) {
    long value = -1;
    EXPECT_EQ(gestaltUndefSelectorErr, Gestalt(kSelector, &value));
    EXPECT_EQ(0, value);

    ASSERT_EQ(noErr, NewGestaltValue(kSelector, 42));
    EXPECT_EQ(gestaltDupSelectorErr, NewGestaltValue(kSelector, 7));
    ASSERT_EQ(noErr, Gestalt(kSelector, &value));
    EXPECT_EQ(42, value);  // the duplicate left the first value in place
    EXPECT_EQ(gestaltUndefSelectorErr, Gestalt(kOther, &value));
}

TEST_F(GestaltTest, ReplaceAddsOrOverwrites) {
    long value = 0;
    ASSERT_EQ(noErr, ReplaceGestaltValue(kSelector, 1));
    ASSERT_EQ(noErr, Gestalt(kSelector, &value));
    EXPECT_EQ(1, value);
    ASSERT_EQ(noErr, ReplaceGestaltValue(kSelector, 2));
    ASSERT_EQ(noErr, Gestalt(kSelector, &value));
    EXPECT_EQ(2, value);
}

TEST_F(GestaltTest, DeleteRemovesOnlyWhatExists) {
    EXPECT_EQ(gestaltUndefSelectorErr, DeleteGestaltValue(kSelector));
    ASSERT_EQ(noErr, NewGestaltValue(kSelector, 5));
    ASSERT_EQ(noErr, NewGestaltValue(kOther, 6));
    EXPECT_EQ(noErr, DeleteGestaltValue(kSelector));
    EXPECT_EQ(gestaltUndefSelectorErr, DeleteGestaltValue(kSelector));
    long value = 0;
    EXPECT_EQ(gestaltUndefSelectorErr, Gestalt(kSelector, &value));
    ASSERT_EQ(noErr, Gestalt(kOther, &value));
    EXPECT_EQ(6, value);
    // A deleted selector can be registered anew.
    EXPECT_EQ(noErr, NewGestaltValue(kSelector, 9));
}

TEST_F(GestaltTest, KeepsAnAddressIntact) {
    static int cache = 0;
    ASSERT_EQ(noErr, NewGestaltValue(kSelector, reinterpret_cast<long>(&cache)));
    long value = 0;
    ASSERT_EQ(noErr, Gestalt(kSelector, &value));
    EXPECT_EQ(&cache, reinterpret_cast<int*>(value));
    EXPECT_EQ(paramErr, Gestalt(kSelector, nullptr));
}

}  // namespace
