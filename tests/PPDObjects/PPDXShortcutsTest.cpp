#include "PPDObjects/PPDXShortcuts.h"

#include <gtest/gtest.h>

#include <memory>

#include "CollectionTestSupport.h"
#include "PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXControls.h"
#include "settings/Settings.h"

namespace {

using collectiontest::KeywordOf;
using collectiontest::Owner;
using collectiontest::Popup;

class PPDXShortcutsTest : public ::testing::Test {
protected:
    PPDXShortcutsTest() : mScope(DISPLAY_ALL) {
        PointerList flags;
        mBoolean = mOwner.Keep(new PPDXBooleanControl("*Collate", nullptr, flags, true, nullptr,
                                                      nullptr, 0, nullptr, nullptr, 0, false));
        mPageSize = mOwner.Keep(Popup("*PageSize", {"A4"}, "A4"));
        mDuplex = mOwner.Keep(Popup("*QZDuplex", {"On"}, "On"));
        mKeyless = mOwner.Keep(Popup("", {"X"}, "X"));
        mControls.Add(mBoolean);
        mControls.Add(mPageSize);
        mControls.Add(mDuplex);
        mControls.Add(mKeyless);
    }

    DisplayOptionsScope mScope;
    Owner<PPDXControl> mOwner;
    PPDXControls mControls;
    PPDXBooleanControl* mBoolean;
    PPDXPopupControl* mPageSize;
    PPDXPopupControl* mDuplex;
    PPDXPopupControl* mKeyless;
};

TEST_F(PPDXShortcutsTest, OnlyPopupsAreWalkedButEveryEntryCounts) {
    PointerList list;
    list.PushBack(mBoolean);
    list.PushBack(mPageSize);
    PPDXShortcuts shortcuts(list);
    EXPECT_EQ(shortcuts.Count(), 2u);
    EXPECT_FALSE(shortcuts.Empty());
    EXPECT_EQ(shortcuts.First(), mPageSize);
    EXPECT_EQ(shortcuts.Next(), nullptr);
    EXPECT_EQ(shortcuts.Next(), nullptr);
    EXPECT_EQ(shortcuts.Find("*Collate", true), nullptr);
}

TEST_F(PPDXShortcutsTest, FixedLookupsFindTheirPopups) {
    PointerList list;
    list.PushBack(mPageSize);
    list.PushBack(mDuplex);
    PPDXShortcuts shortcuts(list);
    EXPECT_EQ(shortcuts.PageSize(), mPageSize);
    EXPECT_EQ(shortcuts.Duplex(), mDuplex);
    EXPECT_EQ(shortcuts.InputSlot(), nullptr);
    EXPECT_EQ(shortcuts.Orientation(), nullptr);
    EXPECT_EQ(shortcuts.MediaSource(), nullptr);
    EXPECT_EQ(shortcuts.Huemark(), nullptr);
    EXPECT_EQ(shortcuts.Find("Duplex", false), mDuplex);
    EXPECT_EQ(shortcuts.Find(nullptr, false), nullptr);
}

TEST_F(PPDXShortcutsTest, PopupsComeBackThroughTheirKeywordsAndMissingOnesAsNullEntries) {
    PointerList list;
    list.PushBack(mPageSize);
    list.PushBack(mKeyless);  // saved without an id
    list.PushBack(mBoolean);  // not a popup: not saved
    list.PushBack(mDuplex);
    PPDXShortcuts shortcuts(list);
    Settings store;
    ASSERT_EQ(shortcuts.Save(store), noErr);
    EXPECT_FALSE(collectiontest::HasRecord(store, PPDXShortcuts::kTag, 6003));

    std::unique_ptr<Settings> read = collectiontest::Reloaded(store);
    PPDXShortcuts back(*read, &mControls);
    EXPECT_EQ(back.Count(), 2u) << "reading ends at the first id without a keyword";
    EXPECT_EQ(back.First(), mPageSize);
    EXPECT_EQ(back.Next(), mDuplex);

    // A keyword that names no control comes back as a null entry.
    read->Add(PPDXShortcuts::kTag, 6002, "*Gone", 5);
    PPDXShortcuts gone(*read, &mControls);
    EXPECT_EQ(gone.Count(), 2u);
    EXPECT_EQ(gone.First(), mPageSize);
    EXPECT_EQ(gone.Next(), nullptr);

    PPDXShortcuts noControls(*read, nullptr);
    EXPECT_TRUE(noControls.Empty());
}

TEST_F(PPDXShortcutsTest, DamagedRecordsLeaveTheListEmptyOrShort) {
    Settings store;
    store.Add(PPDXShortcuts::kTag, PPDXShortcuts::kCountId, "\x02", 1);
    store.Add(PPDXShortcuts::kTag, 6001, "*PageSize", 9);
    PPDXShortcuts wrongCount(store, &mControls);
    EXPECT_TRUE(wrongCount.Empty());

    collectiontest::PutCount(store, PPDXShortcuts::kTag, PPDXShortcuts::kCountId, 0x7FFFFFFF);
    store.Add(PPDXShortcuts::kTag, 6002, "", 0);
    PPDXShortcuts empty(store, &mControls);
    EXPECT_EQ(empty.Count(), 1u) << "an empty keyword record ends the reading";
    EXPECT_EQ(KeywordOf(empty.First()), "*PageSize");

    PointerList list;
    list.PushBack(mPageSize);
    PPDXShortcuts shortcuts(list);
    Settings detached(static_cast<Collection>(nullptr));
    EXPECT_EQ(shortcuts.Save(detached), kSettingsNoCollectionErr);
}

}  // namespace
