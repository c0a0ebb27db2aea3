// The process-wide model cache as panes use it: install, share, give back, and the registration.
#include "Core/SharedPPDManager.h"

#include <gtest/gtest.h>

#include "Gestalt/Gestalt.h"
#include "parser/ORBPPD.h"

namespace {

int gDestroyed = 0;

// A model without a file that counts its destruction.
class CountedModel : public ORBPPD {
public:
    CountedModel() : ORBPPD(ORBPPD::kParseOrphans) {}
    ~CountedModel() override { ++gDestroyed; }
};

bool Registered() {
    long value = 0;
    return Gestalt(kSharedPPDManagerSelector, &value) == noErr;
}

class SharedPPDManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        gDestroyed = 0;
        ASSERT_FALSE(Registered());
    }
    void TearDown() override {
        // Whatever a failed test left cached is given back until the cache is gone.
        for (int i = 0; i < 8 && Registered(); ++i) ReleasePPDManager();
        DeleteGestaltValue(kSharedPPDManagerSelector);
    }
};

TEST_F(SharedPPDManagerTest, TwoPanesShareOneModelUntilBothReleaseIt) {
    EXPECT_EQ(nullptr, GetSharedPPDManager());
    ReleasePPDManager();  // nothing registered: nothing happens
    EXPECT_FALSE(Registered());

    CountedModel* model = new CountedModel;
    ASSERT_TRUE(InstallSharedPPDManager(model));  // first pane
    EXPECT_TRUE(Registered());
    EXPECT_EQ(model, GetSharedPPDManager());  // second pane

    ReleasePPDManager();  // first pane closes
    EXPECT_EQ(0, gDestroyed);
    EXPECT_TRUE(Registered());
    EXPECT_EQ(model, GetSharedPPDManager());  // a third pane still finds it

    ReleasePPDManager();
    ReleasePPDManager();
    EXPECT_EQ(1, gDestroyed);
    EXPECT_FALSE(Registered());
    EXPECT_EQ(nullptr, GetSharedPPDManager());
    ReleasePPDManager();
    EXPECT_EQ(1, gDestroyed);
}

TEST_F(SharedPPDManagerTest, AModelThatSurvivesItsReleaseStaysCached) {
    CountedModel* model = new CountedModel;
    model->Retain();  // a reference taken outside the cache
    ASSERT_TRUE(InstallSharedPPDManager(model));
    ReleasePPDManager();
    EXPECT_EQ(0, gDestroyed);
    EXPECT_TRUE(Registered());
    EXPECT_EQ(model, GetSharedPPDManager());
    ReleasePPDManager();
    ReleasePPDManager();
    EXPECT_EQ(1, gDestroyed);
    EXPECT_FALSE(Registered());
}

TEST_F(SharedPPDManagerTest, ARegistrationWithoutListIsReplaced) {
    ASSERT_EQ(noErr, NewGestaltValue(kSharedPPDManagerSelector, 0));
    EXPECT_EQ(nullptr, GetSharedPPDManager());
    ReleasePPDManager();  // a registration without a list: nothing
    EXPECT_TRUE(Registered());
    CountedModel* model = new CountedModel;
    ASSERT_TRUE(InstallSharedPPDManager(model));
    EXPECT_EQ(model, GetSharedPPDManager());
    ReleasePPDManager();
    ReleasePPDManager();
    EXPECT_EQ(1, gDestroyed);
    EXPECT_FALSE(Registered());
    EXPECT_FALSE(InstallSharedPPDManager(nullptr));
    EXPECT_FALSE(Registered());
}

}  // namespace
