#include "PPDObjects/PPDXElement.h"

#include <gtest/gtest.h>

#include <string>

#include "ControlTestSupport.h"
#include "PPDObjects/ModelOptions.h"

using namespace controltest;

namespace {

const FourCharCode kKyWd = HALYX_FOUR_CHAR('K', 'y', 'W', 'd');
const FourCharCode kLcNm = HALYX_FOUR_CHAR('L', 'c', 'N', 'm');
const FourCharCode kLcCF = HALYX_FOUR_CHAR('L', 'c', 'C', 'F');
const FourCharCode kIsVs = HALYX_FOUR_CHAR('i', 's', 'V', 's');
const FourCharCode kPrNm = HALYX_FOUR_CHAR('P', 'r', 'N', 'm');

class Element : public PPDXElement {
public:
    Element() {}
    Element(const char* keyword, CFStringRef name, bool visible)
        : PPDXElement(keyword, name, visible) {}
    Element(Settings& store, SInt32 id) : PPDXElement(store, id) {}
};

TEST(PPDXElement, EmptyOrNullKeywordIsAbsentAndNeverEqual) {
    Element empty("", nullptr, true);
    Element none(nullptr, nullptr, true);
    EXPECT_EQ(empty.Keyword(), nullptr);
    EXPECT_EQ(none.Keyword(), nullptr);
    EXPECT_FALSE(empty == empty);
    EXPECT_FALSE(empty == none);
    EXPECT_FALSE(empty == "");

    Element size("*PageSize", nullptr, true);
    Element same("*PageSize", nullptr, false);
    Element other("*PageSizeX", nullptr, true);
    EXPECT_TRUE(size == same);
    EXPECT_FALSE(size == other);
    EXPECT_FALSE(size == empty);
    EXPECT_TRUE(size == "*PageSize");
    EXPECT_FALSE(size == "*pagesize");
    EXPECT_FALSE(size == static_cast<const char*>(nullptr));
}

TEST(PPDXElement, DisplayFilterByVisibilityAndParent) {
    Element parent("*Pane", nullptr, true);
    Element visibleOrphan("*A", nullptr, true);
    Element hiddenOrphan("*B", nullptr, false);
    Element visibleAttached("*C", nullptr, true);
    Element hiddenAttached("*D", nullptr, false);
    visibleAttached.SetParent(&parent);
    hiddenAttached.SetParent(&parent);

    struct Row {
        PPDXElement* element;
        bool normal, visible, attached;
    } rows[] = {{&visibleOrphan, false, true, false},
                {&hiddenOrphan, false, false, false},
                {&visibleAttached, true, true, true},
                {&hiddenAttached, false, false, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.element->Keyword());
        EXPECT_EQ(row.element->OkayToDisplay(DISPLAY_NORMAL), row.normal);
        EXPECT_EQ(row.element->OkayToDisplay(DISPLAY_VISIBLE), row.visible);
        EXPECT_EQ(row.element->OkayToDisplay(DISPLAY_ATTACHED), row.attached);
        EXPECT_TRUE(row.element->OkayToDisplay(DISPLAY_ALL));
        EXPECT_TRUE(row.element->OkayToDisplay(static_cast<_DISPLAY_OPTIONS_>(7)));
    }
    EXPECT_FALSE(visibleAttached.IsOrphan());
    EXPECT_EQ(visibleAttached.GetParent(), &parent);
    visibleAttached.SetParent(nullptr);
    EXPECT_TRUE(visibleAttached.IsOrphan());
}

TEST(PPDXElement, UserNameIsConvertedOnceAndNullWithoutLocalName) {
    Name name("Page Size \x8E");  // the last character is e-acute in the system encoding
    Element element("*PageSize", name, true);
    const char* first = element.UserName();
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first, "Page Size \x8E");
    EXPECT_EQ(element.UserName(), first);
    EXPECT_EQ(element.CFStringUserName(), static_cast<CFStringRef>(name));

    Element nameless("*PageSize", nullptr, true);
    EXPECT_EQ(nameless.UserName(), nullptr);
    EXPECT_EQ(nameless.CFStringUserName(), nullptr);

    CString* converted = CFStringToCString(name);
    ASSERT_NE(converted, nullptr);
    EXPECT_STREQ(*converted, "Page Size \x8E");
    delete converted;
    EXPECT_EQ(CFStringToCString(nullptr), nullptr);
}

TEST(PPDXElement, SavedRecordsAndRebuild) {
    Name name("Media Type");
    Element parent("*Pane", nullptr, true);
    Element element("*MediaType", name, true);
    element.SetParent(&parent);
    Settings store;
    ASSERT_EQ(element.Save(store, 6001), noErr);
    EXPECT_EQ(Record(store, kKyWd, 6001), "*MediaType");
    EXPECT_EQ(Record(store, kLcNm, 6001), "Media Type");
    EXPECT_EQ(Record(store, kIsVs, 6001), std::string(1, '\1'));
    EXPECT_EQ(Record(store, kPrNm, 6001), "*Pane");
    // UTF-16 with a byte-order mark: two bytes more than two per character.
    EXPECT_EQ(Record(store, kLcCF, 6001).size(), 2u + 2u * 10u);

    std::unique_ptr<Settings> copy = Reloaded(store);
    Element rebuilt(*copy, 6001);
    EXPECT_STREQ(rebuilt.Keyword(), "*MediaType");
    ASSERT_NE(rebuilt.CFStringUserName(), nullptr);
    EXPECT_EQ(CFStringCompare(rebuilt.CFStringUserName(), name, 0), kCFCompareEqualTo);
    EXPECT_STREQ(rebuilt.UserName(), "Media Type");
    EXPECT_TRUE(rebuilt.IsVisible());
    // The parent is known by keyword only until the hierarchy is resolved.
    EXPECT_EQ(rebuilt.GetParent(), nullptr);
    EXPECT_FALSE(rebuilt.IsOrphan());
    EXPECT_TRUE(rebuilt.OkayToDisplay(DISPLAY_NORMAL));
    EXPECT_STREQ(rebuilt.PendingParentKeyword(), "*Pane");
    rebuilt.ResolveParent(&parent);
    EXPECT_EQ(rebuilt.PendingParentKeyword(), nullptr);
    EXPECT_EQ(rebuilt.GetParent(), &parent);

    // Saving again before the resolution keeps the link.
    Element pending(*copy, 6001);
    Settings again;
    ASSERT_EQ(pending.Save(again, 7), noErr);
    EXPECT_EQ(Record(again, kPrNm, 7), "*Pane");
}

TEST(PPDXElement, NamelessOrphanWritesOnlyKeywordAndVisibility) {
    Element element("*Notes1", nullptr, false);
    Settings store;
    ASSERT_EQ(element.Save(store, 3), noErr);
    EXPECT_EQ(store.Count(), 2);
    EXPECT_EQ(Record(store, kIsVs, 3), std::string(1, '\0'));
    EXPECT_FALSE(HasRecord(store, kLcNm, 3));
    EXPECT_FALSE(HasRecord(store, kLcCF, 3));

    Element rebuilt(store, 3);
    EXPECT_STREQ(rebuilt.Keyword(), "*Notes1");
    EXPECT_EQ(rebuilt.UserName(), nullptr);
    EXPECT_TRUE(rebuilt.IsOrphan());
    EXPECT_FALSE(rebuilt.IsVisible());
}

TEST(PPDXElement, MalformedRecordsLeaveDefaults) {
    Settings store;
    store.Add(kKyWd, 9, "", 0);
    store.Add(kIsVs, 9, "\1\1", 2);
    store.Add(kLcCF, 9, "\xFE", 1);  // half a byte-order mark
    store.Add(kPrNm, 9, "", 0);
    Element element(store, 9);
    EXPECT_EQ(element.Keyword(), nullptr);
    EXPECT_FALSE(element.IsVisible());
    EXPECT_EQ(element.CFStringUserName(), nullptr);
    EXPECT_TRUE(element.IsOrphan());

    Element missing(store, 10);
    EXPECT_EQ(missing.Keyword(), nullptr);
    EXPECT_FALSE(missing.IsVisible());
}

TEST(PPDXElement, SaveReportsStoreWithoutCollection) {
    Settings broken(static_cast<Handle>(nullptr));
    ASSERT_FALSE(broken.Valid());
    Element element("*A", nullptr, true);
    EXPECT_EQ(element.Save(broken, 1), kSettingsNoCollectionErr);
    Element rebuilt(broken, 1);
    EXPECT_EQ(rebuilt.Keyword(), nullptr);
}

}  // namespace
