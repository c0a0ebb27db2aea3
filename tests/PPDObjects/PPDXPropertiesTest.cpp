#include "PPDObjects/PPDXProperties.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "CollectionTestSupport.h"
#include "PPDObjects/PPDXProperty.h"
#include "PPDObjects/PPDXScrollPane.h"
#include "settings/Settings.h"

namespace {

using collectiontest::KeywordOf;
using collectiontest::Text;

void DeleteAll(PPDXProperties& pages) {
    std::vector<PPDXProperty*> members;
    for (PPDXProperty* p = pages.First(); p != nullptr; p = pages.Next()) members.push_back(p);
    for (PPDXProperty* p : members) delete p;
}

TEST(PPDXProperties, PagesComeBackWithTheirFlagsButWithoutTheirPane) {
    Text name("Finishing");
    PPDXProperty app("*AppPage", name, true, false, true);
    PPDXProperty print("*PrintPage", nullptr, false, true, false);
    PPDXScrollPane pane("*Pane", nullptr, true);
    app.SetScrollDown(&pane);
    EXPECT_EQ(app.GetScrollDown(), &pane);
    PPDXProperties pages;
    pages.Add(&app);
    pages.Add(nullptr);
    pages.Add(&print);
    EXPECT_EQ(pages.Count(), 2u);
    Settings store;
    ASSERT_EQ(pages.Save(store), noErr);

    std::unique_ptr<Settings> read = collectiontest::Reloaded(store);
    PPDXProperties back(*read);
    ASSERT_EQ(back.Count(), 2u);
    PPDXProperty* first = back.First();
    EXPECT_EQ(KeywordOf(first), "*AppPage");
    EXPECT_TRUE(first->ShowInApp());
    EXPECT_FALSE(first->ShowInPrintProp());
    EXPECT_STREQ(first->UserName(), "Finishing");
    EXPECT_EQ(first->GetScrollDown(), nullptr);
    PPDXProperty* second = back.Next();
    EXPECT_TRUE(second->ShowInPrintProp());
    EXPECT_FALSE(second->ShowInApp());
    EXPECT_FALSE(second->IsVisible());
    EXPECT_EQ(back.Next(), nullptr);
    DeleteAll(back);
}

TEST(PPDXProperties, FindWalksEveryPage) {
    PPDXProperty hidden("*HiddenPage", nullptr, false, false, false);
    PPDXProperty keyless("", nullptr, true, true, true);
    PPDXProperties pages;
    EXPECT_TRUE(pages.Empty());
    EXPECT_EQ(pages.First(), nullptr);
    pages.Add(&keyless);
    pages.Add(&hidden);
    EXPECT_EQ(pages.Find("Hidden", false), &hidden) << "no display filter";
    EXPECT_EQ(pages.Find("Page", true), nullptr);
    EXPECT_EQ(pages.Find(nullptr, false), nullptr);
}

TEST(PPDXProperties, PageFlagsFromDamagedRecords) {
    const FourCharCode printTag = PPDXProperty::kPrintPropTag;
    const FourCharCode appTag = PPDXProperty::kAppTag;
    Settings store;
    // A two-byte 'SPPg' is passed over; 'SApp' is still read.
    store.Add(printTag, 1, "\x01\x01", 2);
    store.Add(appTag, 1, "\x01", 1);
    PPDXProperty wrongLength(store, 1);
    EXPECT_FALSE(wrongLength.ShowInPrintProp());
    EXPECT_TRUE(wrongLength.ShowInApp());
    // Without 'SPPg' nothing else is read.
    store.Add(appTag, 2, "\x01", 1);
    PPDXProperty missing(store, 2);
    EXPECT_FALSE(missing.ShowInApp());

    // Every announced id becomes a page, readable or not; a count beyond the store is cut.
    collectiontest::PutCount(store, PPDXProperties::kCountTag, PPDXProperties::kCountId,
                             0x7FFFFFFF);
    PPDXProperties pages(store);
    EXPECT_EQ(pages.Count(), static_cast<UInt32>(store.Count()));
    DeleteAll(pages);

    Settings detached(static_cast<Collection>(nullptr));
    PPDXProperties none(detached);
    EXPECT_TRUE(none.Empty());
    EXPECT_EQ(none.Save(detached), kSettingsNoCollectionErr);
}

}  // namespace
