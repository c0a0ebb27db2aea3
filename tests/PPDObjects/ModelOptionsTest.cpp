#include "PPDObjects/ModelOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(ModelOptions, DisplayScopePutsThePreviousModeBack) {
    EXPECT_EQ(ModelOptions::Extensions(), ModelOptions::kAllExtensions);
    _DISPLAY_OPTIONS_ before = ModelOptions::Display();
    {
        DisplayOptionsScope all(DISPLAY_ALL);
        EXPECT_EQ(ModelOptions::Display(), DISPLAY_ALL);
        {
            DisplayOptionsScope visible(DISPLAY_VISIBLE);
            EXPECT_EQ(ModelOptions::Display(), DISPLAY_VISIBLE);
        }
        EXPECT_EQ(ModelOptions::Display(), DISPLAY_ALL);
    }
    EXPECT_EQ(ModelOptions::Display(), before);
}

}  // namespace
