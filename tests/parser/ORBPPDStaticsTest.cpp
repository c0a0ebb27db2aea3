#include "parser/ORBPPD.h"

#include <gtest/gtest.h>

#include "PPDObjects/ModelOptions.h"

namespace {

// Puts the process-wide values back whatever a test leaves.
class ORBPPDStatics : public testing::Test {
protected:
    void SetUp() override {
        mDisplay = ModelOptions::Display();
        mExtensions = ModelOptions::Extensions();
    }
    void TearDown() override {
        ModelOptions::SetDisplay(mDisplay);
        ModelOptions::SetExtensions(mExtensions);
    }

private:
    _DISPLAY_OPTIONS_ mDisplay = DISPLAY_NORMAL;
    _EXTENSIONS_SUPPORT_ mExtensions = 0;
};

TEST_F(ORBPPDStatics, IncludeSetsBitsAndExcludeClearsAll) {
    ORBPPD::Options(DISPLAY_NORMAL);
    ORBPPD::IncludeOrphans();
    EXPECT_EQ(ORBPPD::Options(), DISPLAY_VISIBLE);
    ORBPPD::IncludeHidden();
    EXPECT_EQ(ORBPPD::Options(), DISPLAY_ALL);
    ORBPPD::ExcludeHidden();
    EXPECT_EQ(ORBPPD::Options(), DISPLAY_NORMAL);

    ORBPPD::IncludeHidden();
    EXPECT_EQ(ORBPPD::Options(), DISPLAY_ATTACHED);
    ORBPPD::ExcludeOrphans();
    EXPECT_EQ(ORBPPD::Options(), DISPLAY_NORMAL);
}

TEST_F(ORBPPDStatics, MembersShareTheModelsStorage) {
    ORBPPD::sDisplayOptions = DISPLAY_ATTACHED;
    EXPECT_EQ(ModelOptions::Display(), DISPLAY_ATTACHED);
    ModelOptions::SetDisplay(DISPLAY_ALL);
    EXPECT_EQ(ORBPPD::Options(), DISPLAY_ALL);
    EXPECT_EQ(ORBPPD::sDisplayOptions, DISPLAY_ALL);

    ORBPPD::SetExtensions(1);
    EXPECT_EQ(ModelOptions::Extensions(), 1u);
    EXPECT_EQ(ORBPPD::sExtensionsSupport, 1u);
    ORBPPD::sExtensionsSupport = ModelOptions::kAllExtensions;
    EXPECT_EQ(ORBPPD::GetExtensions(), ModelOptions::kAllExtensions);
}

}  // namespace
