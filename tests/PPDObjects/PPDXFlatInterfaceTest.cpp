// The plain functions over the model: what each answers for a null object, element equality
// without keywords, the item record of a popup walk, and the kind tests by run-time type.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "CollectionTestSupport.h"
#include "PPDObjects/HalyxPPDModel.h"
#include "PPDObjects/PPDXControl.h"
#include "PPDObjects/PPDXGroup.h"
#include "PPDObjects/PPDXProperty.h"
#include "PPDObjects/PPDXRollDown.h"
#include "PPDObjects/PPDXScrollPane.h"

namespace {

using collectiontest::Item;
using collectiontest::Text;

std::string Show(const void* pointer) {
    return pointer == nullptr ? "null" : "object";
}
std::string Show(bool value) {
    return value ? "true" : "false";
}
std::string Show(SInt32 value) {
    return std::to_string(value);
}
std::string Show(UInt32 value) {
    return std::to_string(value);
}

struct NullCase {
    const char* function;
    std::function<std::string()> call;
    const char* answer;
};

// Every call passes a null object with otherwise sensible arguments; a function that touched the
// object, the buffer or the kind would crash or change them.
TEST(FlatInterfaceNull, EveryFunctionGivesItsNullAnswer) {
    char buffer[8] = "unused";
    CNTL_TYPE kind = CNTL_SPECIAL;
    PopupItemInfo record = {"stale", nullptr};
    const char* key = "*Key";
    const std::string none = "nothing";
    auto nothing = [&none](const std::function<void()>& call) {
        call();
        return none;
    };

    const NullCase cases[] = {
        // Elements and kind tests.
        {"Keyword", [] { return Show(Keyword(nullptr)); }, "null"},
        {"UserName", [] { return Show(UserName(nullptr)); }, "null"},
        {"IsVisible", [] { return Show(IsVisible(nullptr)); }, "false"},
        {"IsOrphan", [] { return Show(IsOrphan(nullptr)); }, "true"},
        {"GetParent", [] { return Show(GetParent(nullptr)); }, "null"},
        {"EqualsElement", [] { return Show(EqualsElement(nullptr, nullptr)); }, "false"},
        {"EqualsKeyWord", [&] { return Show(EqualsKeyWord(nullptr, key)); }, "false"},
        {"IsRollDown", [] { return Show(IsRollDown(nullptr)); }, "false"},
        {"IsScrollPane", [] { return Show(IsScrollPane(nullptr)); }, "false"},
        {"IsPropertyPage", [] { return Show(IsPropertyPage(nullptr)); }, "false"},
        // Controls.
        {"GetControlFlagCount", [] { return Show(GetControlFlagCount(nullptr)); }, "0"},
        {"GetFirstControlFlag", [] { return Show(GetFirstControlFlag(nullptr)); }, "null"},
        {"GetNextControlFlag", [] { return Show(GetNextControlFlag(nullptr)); }, "null"},
        {"IsCommandControl", [] { return Show(IsCommandControl(nullptr)); }, "false"},
        {"IsSpoolerControl", [] { return Show(IsSpoolerControl(nullptr)); }, "false"},
        {"IsSetupControl", [] { return Show(IsSetupControl(nullptr)); }, "false"},
        {"IsMacHJNControl", [] { return Show(IsMacHJNControl(nullptr)); }, "false"},
        {"IsMacImgShiftControl", [] { return Show(IsMacImgShiftControl(nullptr)); }, "false"},
        {"IsValidControlKeyword", [&] { return Show(IsValidControlKeyword(nullptr, key)); },
         "false"},
        {"GetPostScript", [&] { return Show(GetPostScript(nullptr, buffer)); }, "0"},
        {"ResetControlToDefault", [&] { return nothing([] { ResetControlToDefault(nullptr); }); },
         "nothing"},
        // Boolean controls.
        {"IsTrue", [] { return Show(IsTrue(nullptr)); }, "false"},
        {"SetValue", [&] { return nothing([] { SetValue(nullptr, true); }); }, "nothing"},
        {"BooleanPostScript", [&] { return Show(BooleanPostScript(nullptr, buffer)); }, "0"},
        {"TrueDisplayText", [] { return Show(TrueDisplayText(nullptr)); }, "null"},
        {"FalseDisplayText", [] { return Show(FalseDisplayText(nullptr)); }, "null"},
        {"DefaultState", [] { return Show(DefaultState(nullptr)); }, "false"},
        // Range controls.
        {"GetRangeValue", [] { return Show(GetRangeValue(nullptr)); }, "0"},
        {"GetRangeMinimum", [] { return Show(GetRangeMinimum(nullptr)); }, "0"},
        {"GetRangeMaximum", [] { return Show(GetRangeMaximum(nullptr)); }, "0"},
        {"GetRangeIncrement", [] { return Show(GetRangeIncrement(nullptr)); }, "0"},
        {"GetRangeDefaultVal", [] { return Show(GetRangeDefaultVal(nullptr)); }, "0"},
        {"SetRangeValue", [&] { return nothing([] { SetRangeValue(nullptr, 5); }); }, "nothing"},
        {"RangePostScript", [&] { return Show(RangePostScript(nullptr, buffer)); }, "0"},
        // Popup controls.
        {"CanSelectMultipleItems", [] { return Show(CanSelectMultipleItems(nullptr)); }, "false"},
        {"GetDefaultKeyword", [] { return Show(GetDefaultKeyword(nullptr)); }, "null"},
        {"GetKeywordLocalName", [&] { return Show(GetKeywordLocalName(nullptr, key)); }, "null"},
        {"GetKeywordPSData", [&] { return Show(GetKeywordPSData(nullptr, key, buffer)); }, "0"},
        {"IsKeywordSelected", [&] { return Show(IsKeywordSelected(nullptr, key)); }, "false"},
        {"SetKeywordSelect", [&] { return Show(SetKeywordSelect(nullptr, key, true)); }, "false"},
        {"PopupItemCount", [] { return Show(PopupItemCount(nullptr)); }, "0"},
        {"FirstItem", [&] { return Show(FirstItem(nullptr, &record)); }, "false"},
        {"NextItem", [&] { return Show(NextItem(nullptr, &record)); }, "false"},
        {"PopupPostScript", [&] { return Show(PopupPostScript(nullptr, buffer)); }, "0"},
        {"GetPopupValue", [] { return Show(GetPopupValue(nullptr)); }, "0"},
        {"GetPopupDefaultValue", [] { return Show(GetPopupDefaultValue(nullptr)); }, "0"},
        {"SetPopupValue", [&] { return nothing([] { SetPopupValue(nullptr, 1); }); }, "nothing"},
        // Control collections.
        {"GetControlCount", [] { return Show(GetControlCount(nullptr)); }, "0"},
        {"GetPopupCount", [] { return Show(GetPopupCount(nullptr)); }, "0"},
        {"GetBooleanCount", [] { return Show(GetBooleanCount(nullptr)); }, "0"},
        {"GetRangeCount", [] { return Show(GetRangeCount(nullptr)); }, "0"},
        {"GetJobnoteCount", [] { return Show(GetJobnoteCount(nullptr)); }, "0"},
        {"Find", [&] { return Show(Find(nullptr, key, &kind, true)); }, "null"},
        {"GetFirst", [&] { return Show(GetFirst(nullptr, &kind)); }, "null"},
        {"GetNext", [&] { return Show(GetNext(nullptr, &kind)); }, "null"},
        {"GetFirstPopupControl", [] { return Show(GetFirstPopupControl(nullptr)); }, "null"},
        {"GetNextPopupControl", [] { return Show(GetNextPopupControl(nullptr)); }, "null"},
        {"GetFirstBooleanControl", [] { return Show(GetFirstBooleanControl(nullptr)); }, "null"},
        {"GetNextBooleanControl", [] { return Show(GetNextBooleanControl(nullptr)); }, "null"},
        {"GetFirstRangeControl", [] { return Show(GetFirstRangeControl(nullptr)); }, "null"},
        {"GetNextRangeControl", [] { return Show(GetNextRangeControl(nullptr)); }, "null"},
        {"GetFirstJobNote", [] { return Show(GetFirstJobNote(nullptr)); }, "null"},
        {"GetNextJobNote", [] { return Show(GetNextJobNote(nullptr)); }, "null"},
        {"GetFindPopup", [&] { return Show(GetFindPopup(nullptr, key, true)); }, "null"},
        {"GetFindBoolean", [&] { return Show(GetFindBoolean(nullptr, key, false)); }, "null"},
        {"GetFindRangeControl", [&] { return Show(GetFindRangeControl(nullptr, key, true)); },
         "null"},
        {"GetFindJobNote", [&] { return Show(GetFindJobNote(nullptr, key, false)); }, "null"},
        {"GetEmpty", [] { return Show(GetEmpty(nullptr)); }, "true"},
        {"GetNoPopups", [] { return Show(GetNoPopups(nullptr)); }, "true"},
        {"GetNoBooleanControls", [] { return Show(GetNoBooleanControls(nullptr)); }, "true"},
        {"GetNoRangeControls", [] { return Show(GetNoRangeControls(nullptr)); }, "true"},
        {"GetNoJobNotes", [] { return Show(GetNoJobNotes(nullptr)); }, "true"},
        // Shortcuts.
        {"IsShortcutsListEmpty", [] { return Show(IsShortcutsListEmpty(nullptr)); }, "true"},
        {"GetShortcutCount", [] { return Show(GetShortcutCount(nullptr)); }, "0"},
        {"GetPageSizeShortcut", [] { return Show(GetPageSizeShortcut(nullptr)); }, "null"},
        {"GetInputSlotShortcut", [] { return Show(GetInputSlotShortcut(nullptr)); }, "null"},
        {"GetDuplexShortcut", [] { return Show(GetDuplexShortcut(nullptr)); }, "null"},
        {"GetOrientationShortcut", [] { return Show(GetOrientationShortcut(nullptr)); }, "null"},
        {"GetHuemarkShortcut", [] { return Show(GetHuemarkShortcut(nullptr)); }, "null"},
        {"GetMediaSourceShortcut", [] { return Show(GetMediaSourceShortcut(nullptr)); }, "null"},
        {"FindShortcut", [&] { return Show(FindShortcut(nullptr, key, true)); }, "null"},
        {"FirstShortcut", [] { return Show(FirstShortcut(nullptr)); }, "null"},
        {"NextShortcut", [] { return Show(NextShortcut(nullptr)); }, "null"},
        // Groups.
        {"FirstGroup", [] { return Show(FirstGroup(nullptr)); }, "null"},
        {"NextGroup", [] { return Show(NextGroup(nullptr)); }, "null"},
        {"FindGroup", [&] { return Show(FindGroup(nullptr, key, true)); }, "null"},
        {"IsGrouPointerListEmpty", [] { return Show(IsGrouPointerListEmpty(nullptr)); }, "true"},
        {"GroupCount", [] { return Show(GroupCount(nullptr)); }, "0"},
        {"GetRollDownControlList", [] { return Show(GetRollDownControlList(nullptr)); }, "null"},
        {"GetScrollPaneRollDowns", [] { return Show(GetScrollPaneRollDowns(nullptr)); }, "null"},
        // Property pages.
        {"FirstProperty", [] { return Show(FirstProperty(nullptr)); }, "null"},
        {"NextProperty", [] { return Show(NextProperty(nullptr)); }, "null"},
        {"FindProperty", [&] { return Show(FindProperty(nullptr, key, false)); }, "null"},
        {"IsPropertyListEmpty", [] { return Show(IsPropertyListEmpty(nullptr)); }, "true"},
        {"PropertyCount", [] { return Show(PropertyCount(nullptr)); }, "0"},
        {"ShowPropInPrintProp", [] { return Show(ShowPropInPrintProp(nullptr)); }, "false"},
        {"ShowPropInApp", [] { return Show(ShowPropInApp(nullptr)); }, "false"},
        {"GetPropertyScrollDown", [] { return Show(GetPropertyScrollDown(nullptr)); }, "null"},
        {"SetPropertyScrollDown",
         [&] { return nothing([] { SetPropertyScrollDown(nullptr, nullptr); }); }, "nothing"},
    };

    for (const NullCase& test : cases) EXPECT_EQ(test.call(), test.answer) << test.function;
    EXPECT_STREQ(buffer, "unused") << "a PostScript call wrote without an object";
    EXPECT_EQ(kind, CNTL_SPECIAL) << "a walk set a kind without a collection";
    EXPECT_EQ(record.keyword, nullptr) << "the item record is cleared even without a popup";
}

// --- Elements ------------------------------------------------------------------------------------

TEST(FlatInterfaceElements, ElementsWithoutKeywordAreNeverEqual) {
    PPDXGroup unnamed;
    PPDXGroup emptyNamed("", nullptr, true);
    PPDXGroup named("Output", nullptr, true);
    PPDXGroup sameName("Output", nullptr, false);

    EXPECT_FALSE(EqualsElement(&unnamed, &emptyNamed));
    EXPECT_FALSE(EqualsElement(&unnamed, &unnamed)) << "not even with itself";
    EXPECT_FALSE(EqualsElement(&named, &unnamed));
    EXPECT_FALSE(EqualsElement(&named, nullptr));
    EXPECT_FALSE(EqualsElement(nullptr, &named));
    EXPECT_TRUE(EqualsElement(&named, &sameName)) << "equality is by keyword alone";
    EXPECT_FALSE(EqualsKeyWord(&unnamed, ""));
    EXPECT_FALSE(EqualsKeyWord(&named, nullptr));
    EXPECT_TRUE(EqualsKeyWord(&named, "Output"));
}

TEST(FlatInterfaceElements, KindTestsFollowTheRunTimeType) {
    PPDXGroup group("Plain", nullptr, true);
    PPDXRollDown rollDown("Roll", nullptr, true);
    PPDXScrollPane pane("Pane", nullptr, true);
    PPDXProperty page("Page", nullptr, true, true, false);
    PPDXPopupControl* popup = collectiontest::Popup("*QZDuplex", {"None"}, "None");

    struct KindCase {
        PPDXElement* element;
        bool rollDown, scrollPane, page;
    };
    const KindCase cases[] = {
        {&group, false, false, false}, {&rollDown, true, false, false}, {&pane, false, true, false},
        {&page, false, false, true},   {popup, false, false, false},
    };
    for (const KindCase& test : cases) {
        const char* name = Keyword(test.element);
        EXPECT_EQ(IsRollDown(test.element), test.rollDown) << name;
        EXPECT_EQ(IsScrollPane(test.element), test.scrollPane) << name;
        EXPECT_EQ(IsPropertyPage(test.element), test.page) << name;
    }
    delete popup;
}

TEST(FlatInterfaceElements, PageKeepsItsScrollPaneWhenGivenNone) {
    PPDXProperty page("Page", nullptr, true, true, true);
    PPDXScrollPane pane("Pane", nullptr, true);

    SetPropertyScrollDown(&page, &pane);
    ASSERT_EQ(GetPropertyScrollDown(&page), &pane);
    SetPropertyScrollDown(&page, nullptr);
    EXPECT_EQ(GetPropertyScrollDown(&page), &pane);
    EXPECT_TRUE(IsScrollPane(GetPropertyScrollDown(&page)));
}

// --- Popup item walk -----------------------------------------------------------------------------

TEST(FlatInterfacePopupItems, RecordIsClearedThenFilledFromEachItem) {
    Text staleName("stale");
    PointerList flags;
    PointerList items;
    items.PushBack(Item("A4"));  // no display name
    items.PushBack(Item("Letter", "US Letter"));
    items.PushBack(Item(nullptr, "Unnamed key"));
    PPDXPopupControl popup("*PageSize", nullptr, flags, true, false, items, nullptr);

    PopupItemInfo record = {"stale", staleName};
    ASSERT_TRUE(FirstItem(&popup, &record));
    EXPECT_STREQ(record.keyword, "A4");
    EXPECT_EQ(record.displayName, nullptr) << "an item without name leaves the name null";

    ASSERT_TRUE(NextItem(&popup, &record));
    EXPECT_STREQ(record.keyword, "Letter");
    ASSERT_NE(record.displayName, nullptr);
    char name[32] = "";
    ASSERT_TRUE(
        CFStringGetCString(record.displayName, name, sizeof name, kCFStringEncodingMacRoman));
    EXPECT_STREQ(name, "US Letter");

    ASSERT_TRUE(NextItem(&popup, &record));
    EXPECT_EQ(record.keyword, nullptr) << "an item without keyword leaves the keyword null";
    EXPECT_NE(record.displayName, nullptr);

    EXPECT_FALSE(NextItem(&popup, &record));
    EXPECT_EQ(record.keyword, nullptr);
    EXPECT_EQ(record.displayName, nullptr);

    // A null record still moves the walk: the second call finds the second item.
    EXPECT_TRUE(FirstItem(&popup, nullptr));
    ASSERT_TRUE(NextItem(&popup, &record));
    EXPECT_STREQ(record.keyword, "Letter");
}

}  // namespace
