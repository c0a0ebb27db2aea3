#include "PPDObjects/PPDXGroups.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CollectionTestSupport.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroup.h"
#include "PPDObjects/PPDXRollDown.h"
#include "PPDObjects/PPDXScrollPane.h"
#include "settings/Settings.h"

namespace {

using collectiontest::KeywordOf;
using collectiontest::Text;

std::string Kind(PPDXGroup* group) {
    if (dynamic_cast<PPDXRollDown*>(group) != nullptr) return "roll-down";
    if (dynamic_cast<PPDXScrollPane*>(group) != nullptr) return "pane";
    return "group";
}

std::string Walk(PPDXGroups& groups) {
    std::string walk;
    for (PPDXGroup* g = groups.First(); g != nullptr; g = groups.Next())
        walk += KeywordOf(g) + "(" + Kind(g) + ") ";
    return walk;
}

void DeleteAll(PPDXGroups& groups) {
    DisplayOptionsScope all(DISPLAY_ALL);
    std::vector<PPDXGroup*> members;
    for (PPDXGroup* g = groups.First(); g != nullptr; g = groups.Next()) members.push_back(g);
    for (PPDXGroup* g : members) delete g;
}

TEST(PPDXGroups, CountUsesTheControlFormulaUnderEachMode) {
    DisplayOptionsScope normal(DISPLAY_NORMAL);
    PPDXGroup page("*Page", nullptr, true);
    PPDXGroup visibleOrphan("*A", nullptr, true);
    PPDXGroup hiddenOrphan("*B", nullptr, false);
    PPDXGroup hiddenAttached("*C", nullptr, false);
    PPDXGroup shown("*D", nullptr, true);
    hiddenAttached.SetParent(&page);
    shown.SetParent(&page);
    PPDXGroups groups;
    EXPECT_TRUE(groups.Empty());
    EXPECT_EQ(groups.First(), nullptr);
    for (PPDXGroup* g : {&visibleOrphan, &hiddenOrphan, &hiddenAttached, &shown}) groups.Add(g);
    groups.Add(nullptr);

    const UInt32 expected[] = {1, 2, 2, 4};
    for (UInt32 mode = DISPLAY_NORMAL; mode <= DISPLAY_ALL; ++mode) {
        DisplayOptionsScope scope(static_cast<_DISPLAY_OPTIONS_>(mode));
        EXPECT_EQ(groups.Count(), expected[mode]) << "mode " << mode;
        UInt32 walked = 0;
        for (PPDXGroup* g = groups.First(); g != nullptr; g = groups.Next()) ++walked;
        EXPECT_EQ(walked, expected[mode]) << "mode " << mode;
        EXPECT_FALSE(groups.Empty());
    }
    DisplayOptionsScope odd(static_cast<_DISPLAY_OPTIONS_>(9));
    EXPECT_EQ(groups.Count(), 0u);
}

TEST(PPDXGroups, FindIsUnfilteredAndLeavesTheWalkAlone) {
    DisplayOptionsScope normal(DISPLAY_NORMAL);
    PPDXGroup first("*JobNotesGroup", nullptr, true);
    PPDXGroup hidden("*HiddenGroup", nullptr, false);
    PPDXGroup keyless("", nullptr, true);
    PPDXGroups groups;
    groups.Add(&keyless);
    groups.Add(&first);
    groups.Add(&hidden);

    EXPECT_EQ(groups.First(), nullptr) << "orphans are filtered out in the normal mode";
    DisplayOptionsScope visible(DISPLAY_VISIBLE);
    EXPECT_EQ(groups.First(), &keyless);
    EXPECT_EQ(groups.Find("Hidden", false), &hidden);
    EXPECT_EQ(groups.Find("Group", false), &first);
    EXPECT_EQ(groups.Find("Group", true), nullptr);
    EXPECT_EQ(groups.Find(nullptr, false), nullptr);
    EXPECT_EQ(groups.Next(), &first) << "Find did not move the walk";
    EXPECT_EQ(groups.Next(), nullptr);
}

TEST(PPDXGroups, EachKindComesBackInOrderAfterSavingUnderDisplayAll) {
    DisplayOptionsScope all(DISPLAY_ALL);
    Text name("Options");
    PPDXScrollPane pane("*Pane", name, true);
    PPDXGroup group("*Group", name, false);
    PPDXRollDown rollDown("*Roll", nullptr, true);
    rollDown.SetParent(&pane);
    PPDXGroups groups;
    groups.Add(&group);
    groups.Add(&rollDown);
    groups.Add(&pane);
    Settings store;
    ASSERT_EQ(groups.Save(store), noErr);
    // Each class writes only its own marker.
    EXPECT_FALSE(collectiontest::HasRecord(store, PPDXGroup::kMarkerTag, 4002));
    EXPECT_FALSE(collectiontest::HasRecord(store, PPDXGroup::kMarkerTag, 4003));

    std::unique_ptr<Settings> read = collectiontest::Reloaded(store);
    PPDXGroups back(*read);
    EXPECT_EQ(Walk(back), "*Group(group) *Roll(roll-down) *Pane(pane) ");
    PPDXGroup* backGroup = back.Find("*Group", true);
    EXPECT_FALSE(backGroup->IsVisible());
    EXPECT_STREQ(backGroup->UserName(), "Options");
    EXPECT_STREQ(back.Find("*Roll", true)->PendingParentKeyword(), "*Pane");
    EXPECT_NE(static_cast<PPDXRollDown*>(back.Find("*Roll", true))->Controls(), nullptr);
    EXPECT_TRUE(static_cast<PPDXScrollPane*>(back.Find("*Pane", true))->RollDowns()->Empty());
    DeleteAll(back);
}

TEST(PPDXGroups, RebuildingSkipsUnmarkedIdsAndIgnoresDamagedCounts) {
    DisplayOptionsScope all(DISPLAY_ALL);
    PPDXGroup a("*A", nullptr, true);
    PPDXGroup b("*B", nullptr, true);
    PPDXGroups groups;
    groups.Add(&a);
    groups.Add(&b);
    Settings store;
    ASSERT_EQ(groups.Save(store), noErr);
    store.Remove(PPDXGroup::kMarkerTag, 4001);
    PPDXGroups back(store);
    EXPECT_EQ(Walk(back), "*B(group) ");
    DeleteAll(back);

    Settings damaged;
    damaged.Add(PPDXGroups::kCountTag, PPDXGroups::kCountId, "\x01", 1);
    PPDXGroups none(damaged);
    EXPECT_TRUE(none.Empty());
    collectiontest::PutCount(damaged, PPDXGroups::kCountTag, PPDXGroups::kCountId, 0x7FFFFFFF);
    damaged.Add(PPDXRollDown::kMarkerTag, 4001, "", 0);
    PPDXGroups huge(damaged);
    EXPECT_EQ(Walk(huge), "<none>(roll-down) ");
    DeleteAll(huge);
}

TEST(PPDXGroups, SaveReportsTheStoreFailure) {
    PPDXGroup a("*A", nullptr, true);
    PPDXGroups groups;
    groups.Add(&a);
    Settings detached(static_cast<Collection>(nullptr));
    EXPECT_EQ(groups.Save(detached), kSettingsNoCollectionErr);
    EXPECT_EQ(a.Save(detached, 1), kSettingsNoCollectionErr);
}

}  // namespace
