#include "PPDObjects/Controls/PPDXPopupControl.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CollectionTestSupport.h"
#include "foundation/CString.h"
#include "settings/Settings.h"
#include "testing/FailureInjection.h"

namespace {

using collectiontest::Item;
using collectiontest::Popup;
using collectiontest::PostScriptOf;
using collectiontest::Text;

const FourCharCode kItemCount = HALYX_FOUR_CHAR('P', 'C', 'I', 'C');
const FourCharCode kItemName = HALYX_FOUR_CHAR('P', 'C', 'F', 'N');
const FourCharCode kItemBytesName = HALYX_FOUR_CHAR('P', 'C', 'I', 'N');
const FourCharCode kItemSelected = HALYX_FOUR_CHAR('P', 'C', 'I', 'S');
const FourCharCode kMultiple = HALYX_FOUR_CHAR('P', 'C', 'M', 'S');

std::string Block(const char* keyword, const char* option, const std::string& code) {
    return std::string("%%BeginFeature: ") + keyword + " " + option + "\n" + code +
           "%%EndFeature\n";
}

std::string Selection(PPDXPopupControl& popup) {
    std::string marks;
    for (_PopupItem* item = popup.FirstItem(); item != nullptr; item = popup.NextItem())
        marks += item->mSelected ? 'x' : '-';
    return marks;
}

// --- Selection -----------------------------------------------------------------------------------

TEST(PPDXPopupControl, PickOneStartsAtItsDefaultAndKeepsTheCurrentChoiceAfterAnInvalidValue) {
    std::unique_ptr<PPDXPopupControl> popup(Popup("*PageSize", {"X", "Y", "Z"}, "Y"));
    EXPECT_EQ(popup->Type(), CNTL_POPUP);
    EXPECT_EQ(popup->GetValue(), 2);
    EXPECT_EQ(popup->DefaultValue(), 2);
    EXPECT_EQ(PostScriptOf(*popup), Block("*PageSize", "Y", "Y code\n"));

    popup->SetValue(5);
    EXPECT_EQ(popup->GetValue(), 0);
    EXPECT_EQ(Selection(*popup), "---");
    EXPECT_EQ(PostScriptOf(*popup), Block("*PageSize", "Y", "Y code\n"));

    popup->SetValue(3);
    EXPECT_EQ(Selection(*popup), "--x");
    EXPECT_EQ(PostScriptOf(*popup), Block("*PageSize", "Z", "Z code\n"));
    popup->ResetToDefaultValue();
    EXPECT_EQ(popup->GetValue(), 2);
}

TEST(PPDXPopupControl, PickManyAddsToTheSelectionAndEmitsTheLastChosen) {
    std::unique_ptr<PPDXPopupControl> popup(Popup("*Finish", {"X", "Y", "Z"}, nullptr, true));
    EXPECT_EQ(popup->GetValue(), 0);
    EXPECT_EQ(popup->PostScript(nullptr), 0) << "no current item yet";

    EXPECT_TRUE(popup->SetKeywordSelect("X", true));
    EXPECT_TRUE(popup->SetKeywordSelect("Z", true));
    EXPECT_EQ(Selection(*popup), "x-x");
    EXPECT_EQ(popup->GetValue(), 1);
    EXPECT_TRUE(popup->IsKeywordSelected("X"));
    EXPECT_FALSE(popup->IsKeywordSelected("Y"));
    EXPECT_EQ(PostScriptOf(*popup), Block("*Finish", "Z", "Z code\n"));

    // Deselecting keeps the item current: its block is still what the control emits.
    EXPECT_TRUE(popup->SetKeywordSelect("Z", false));
    EXPECT_EQ(Selection(*popup), "x--");
    EXPECT_EQ(PostScriptOf(*popup), Block("*Finish", "Z", "Z code\n"));

    // SetValue ignores the selection mode.
    popup->SetValue(2);
    EXPECT_EQ(Selection(*popup), "-x-");
}

TEST(PPDXPopupControl, PickOneDeselectsEverythingEvenWhenDeselecting) {
    std::unique_ptr<PPDXPopupControl> popup(Popup("*PageSize", {"X", "Y", "Z"}, "X"));
    EXPECT_TRUE(popup->SetKeywordSelect("Y", false));
    EXPECT_EQ(Selection(*popup), "---");
    EXPECT_EQ(PostScriptOf(*popup), Block("*PageSize", "Y", "Y code\n"));

    EXPECT_FALSE(popup->SetKeywordSelect("W", true));
    EXPECT_FALSE(popup->SetKeywordSelect(nullptr, true));
    EXPECT_FALSE(popup->IsKeywordSelected(nullptr));
}

TEST(PPDXPopupControl, EqualKeysMakeTheLastCurrentInPickOneAndTheFirstInPickMany) {
    PointerList flags;
    PointerList items;
    items.PushBack(Item("A", "", "first\n"));
    items.PushBack(Item("A", "", "second\n"));
    PPDXPopupControl one("*K", nullptr, flags, true, false, items, nullptr);
    EXPECT_TRUE(one.SetKeywordSelect("A", true));
    EXPECT_EQ(Selection(one), "xx");
    // The block always comes from the first item with the key.
    EXPECT_EQ(PostScriptOf(one), Block("*K", "A", "first\n"));
    EXPECT_EQ(one.CurrentItem()->mPSLength, 7);

    PointerList items2;
    items2.PushBack(Item("A"));
    items2.PushBack(Item("A"));
    PPDXPopupControl many("*K", nullptr, flags, true, true, items2, nullptr);
    EXPECT_TRUE(many.SetKeywordSelect("A", true));
    EXPECT_EQ(Selection(many), "x-");
}

TEST(PPDXPopupControl, ChoiceBlocksCoverMissingCodeAndMissingKeywords) {
    PointerList flags;
    PointerList items;
    items.PushBack(Item("Bare"));
    _PopupItem* negative = Item("Odd", "", "xyz");
    negative->mPSLength = -4;
    items.PushBack(negative);
    PPDXPopupControl popup("*Media", nullptr, flags, true, false, items, new CString("Bare"));
    EXPECT_EQ(PostScriptOf(popup), Block("*Media", "Bare", "\n"));
    char buffer[64];
    SInt32 n = popup.GetKeywordPSData("Odd", buffer);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(n)), Block("*Media", "Odd", "\n"));
    EXPECT_EQ(negative->mPSLength, 0);
    EXPECT_EQ(popup.GetKeywordPSData("None", nullptr), 0);
    EXPECT_EQ(popup.GetKeywordPSData(nullptr, nullptr), 0);

    // Without a control keyword there is no block at all.
    PointerList items2;
    items2.PushBack(Item("A", "", "a\n"));
    PPDXPopupControl anonymous("", nullptr, flags, true, false, items2, new CString("A"));
    EXPECT_EQ(anonymous.PostScript(nullptr), 0);

    // A current item without keyword emits nothing.
    PointerList items3;
    items3.PushBack(Item(nullptr, "", "a\n"));
    PPDXPopupControl keyless("*K", nullptr, flags, true, false, items3, nullptr);
    keyless.SetValue(1);
    EXPECT_EQ(keyless.GetValue(), 1);
    EXPECT_EQ(keyless.PostScript(nullptr), 0);
}

TEST(PPDXPopupControl, EmptyPopupAnswersNothing) {
    std::unique_ptr<PPDXPopupControl> popup(Popup("*Empty", {}, "A"));
    EXPECT_EQ(popup->ItemCount(), 0u);
    EXPECT_EQ(popup->FirstItem(), nullptr);
    EXPECT_EQ(popup->NextItem(), nullptr);
    EXPECT_EQ(popup->GetValue(), 0);
    EXPECT_EQ(popup->DefaultValue(), 0);
    EXPECT_FALSE(popup->SetKeywordSelect("A", true));
    EXPECT_EQ(popup->PostScript(nullptr), 0);
    EXPECT_STREQ(popup->GetDefaultKeyword(), "A");

    popup->AppendPopupItem(Item("A"));
    popup->AppendPopupItem(nullptr);
    EXPECT_EQ(popup->ItemCount(), 1u);
    EXPECT_EQ(popup->DefaultValue(), 1);
}

TEST(PPDXPopupControl, ItemsThatCannotBeListedAreNotLeaked) {
    for (int skip = 0;; ++skip) {
        PointerList flags;
        PointerList items;
        for (const char* key : {"A", "B", "C"}) items.PushBack(Item(key));
        HalyxFailureScope scope;
        HalyxInjectFailures(kHalyxFailAllocation, skip, -1);
        PPDXPopupControl popup("*K", nullptr, flags, true, false, items, nullptr);
        bool failed = HalyxInjectedFailureCount(kHalyxFailAllocation) > 0;
        HalyxResetFailures();
        EXPECT_LE(popup.ItemCount(), 3u);
        if (!failed) {
            EXPECT_EQ(popup.ItemCount(), 3u);
            break;
        }
        ASSERT_LT(skip, 100);
    }
}

// --- Display names -------------------------------------------------------------------------------

TEST(PPDXPopupControl, DisplayNamesComeFromTheLastItemWithTheKey) {
    PointerList flags;
    PointerList items;
    items.PushBack(Item("A", "First"));
    items.PushBack(Item("B"));
    items.PushBack(Item("A", "Caf\x8E"));  // e acute in the system encoding
    PPDXPopupControl popup("*K", nullptr, flags, true, false, items, nullptr);

    EXPECT_STREQ(popup.GetKeywordLocalName("A"), "Caf\x8E");
    CFStringRef name = popup.GetKeywordCFLocalName("A");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(CFStringGetCharacterAtIndex(name, 3), 0x00E9);
    EXPECT_EQ(popup.GetKeywordLocalName("B"), nullptr);
    EXPECT_EQ(popup.GetKeywordCFLocalName("C"), nullptr);
    EXPECT_EQ(popup.GetKeywordLocalName(nullptr), nullptr);

    _PopupItem* first = popup.FirstItem();
    const char* cached = first->displayName();
    EXPECT_STREQ(cached, "First");
    EXPECT_EQ(first->displayName(), cached) << "converted once and kept";
    EXPECT_EQ(popup.NextItem()->displayName(), nullptr);
}

// --- Rebuild -------------------------------------------------------------------------------------

TEST(PPDXPopupControl, RebuildKeepsThePreviousChoiceWhenTheNewListHasIt) {
    Text name("Paper");
    std::unique_ptr<PPDXPopupControl> popup(
        Popup("*PageSize", {"Letter", "A4"}, "Letter", false, true, name));
    popup->SetKeywordSelect("A4", true);

    PointerList items;
    items.PushBack(Item("Legal", "", "legal\n"));
    items.PushBack(Item("A4", "", "new a4\n"));
    EXPECT_TRUE(popup->Rebuild("Paper", items, new CString("Legal")));
    EXPECT_EQ(popup->ItemCount(), 2u);
    EXPECT_EQ(Selection(*popup), "-x");
    EXPECT_EQ(PostScriptOf(*popup), Block("*PageSize", "A4", "new a4\n"));
    EXPECT_STREQ(popup->GetDefaultKeyword(), "Legal");
    EXPECT_EQ(popup->CFStringUserName(), static_cast<CFStringRef>(name)) << "same name kept";

    // When the old choice is gone, the new default becomes current, but selecting the missing
    // old choice afterwards still deselects every item of a PickOne list. A new name replaces the
    // old one.
    PointerList items2;
    items2.PushBack(Item("B5"));
    items2.PushBack(Item("Tabloid", "", "tabloid\n"));
    EXPECT_TRUE(popup->Rebuild("Papier", items2, new CString("Tabloid")));
    EXPECT_EQ(Selection(*popup), "--");
    EXPECT_EQ(PostScriptOf(*popup), Block("*PageSize", "Tabloid", "tabloid\n"));
    EXPECT_STREQ(popup->UserName(), "Papier");
    EXPECT_EQ(CFStringGetLength(popup->CFStringUserName()), 6);
}

TEST(PPDXPopupControl, RebuildWithoutACurrentItemChangesNothing) {
    std::unique_ptr<PPDXPopupControl> popup(Popup("*PageSize", {"A"}, nullptr));
    PointerList items;
    _PopupItem* refused = Item("B");
    items.PushBack(refused);
    EXPECT_FALSE(popup->Rebuild("x", items, nullptr));
    EXPECT_EQ(popup->ItemCount(), 1u);
    EXPECT_STREQ(*popup->FirstItem()->mKeyword, "A");
    delete refused;  // not taken over
}

// --- Store records -------------------------------------------------------------------------------

TEST(PPDXPopupControl, TenItemsComeBackWithTheirKeywordsNamesCodeAndSelection) {
    std::vector<const char*> keys = {"K0", "K1", "K2", "K3", "K4", "K5", "K6", "K7", "K8", "K9"};
    Text name("Ten");
    std::unique_ptr<PPDXPopupControl> popup(Popup("*Ten", keys, "K3", true, false, name));
    popup->SetKeywordSelect("K7", true);
    Settings store;
    ASSERT_EQ(popup->Save(store, 5004), noErr);
    EXPECT_TRUE(collectiontest::HasRecord(store, kItemCount, 5004));
    std::unique_ptr<Settings> read = collectiontest::Reloaded(store);

    PPDXPopupControl back(*read, 5004);
    EXPECT_EQ(back.Type(), CNTL_POPUP);
    EXPECT_STREQ(back.Keyword(), "*Ten");
    EXPECT_STREQ(back.UserName(), "Ten");
    EXPECT_FALSE(back.IsVisible());
    EXPECT_TRUE(back.CanSelectMultipleItems());
    EXPECT_STREQ(back.GetDefaultKeyword(), "K3");
    ASSERT_EQ(back.ItemCount(), 10u);
    _PopupItem* original = popup->FirstItem();
    for (_PopupItem* item = back.FirstItem(); item != nullptr; item = back.NextItem()) {
        ASSERT_NE(original, nullptr);
        EXPECT_STREQ(*item->mKeyword, *original->mKeyword);
        EXPECT_STREQ(item->displayName(), original->displayName());
        ASSERT_EQ(item->mPSLength, original->mPSLength);
        EXPECT_EQ(std::memcmp(item->mPSData, original->mPSData, item->mPSLength), 0);
        EXPECT_EQ(item->mSelected, original->mSelected);
        original = popup->NextItem();
    }
    EXPECT_EQ(Selection(back), "---x---x--");
    EXPECT_EQ(PostScriptOf(back), PostScriptOf(*popup)) << "the last selected item is current";
}

TEST(PPDXPopupControl, RecordsOfAPopupWithoutItemsOrDefault) {
    std::unique_ptr<PPDXPopupControl> popup(Popup("*None", {}, nullptr));
    Settings store;
    ASSERT_EQ(popup->Save(store, 7), noErr);
    EXPECT_FALSE(collectiontest::HasRecord(store, kItemCount, 7));
    EXPECT_TRUE(collectiontest::HasRecord(store, HALYX_FOUR_CHAR('P', 'o', 'p', 'C'), 7));
    PPDXPopupControl back(store, 7);
    EXPECT_EQ(back.ItemCount(), 0u);
    EXPECT_EQ(back.GetDefaultKeyword(), nullptr);
    EXPECT_FALSE(back.CanSelectMultipleItems());
    EXPECT_EQ(back.Restore(store, 7), noErr);
}

TEST(PPDXPopupControl, LoadingFallsBackToBytesNamesAndToTheDefault) {
    std::unique_ptr<PPDXPopupControl> popup(Popup("*Tray", {"Upper", "Lower"}, "Lower"));
    Settings store;
    ASSERT_EQ(popup->Save(store, 9), noErr);
    // An older writer's item: its name as system-encoding bytes, and nothing selected anywhere.
    store.Remove(kItemName, 901);
    store.Add(kItemBytesName, 901, "Unten \x8A", 7);
    UInt8 off = 0;
    store.Add(kItemSelected, 901, &off, 1);

    PPDXPopupControl back(store, 9);
    EXPECT_STREQ(back.GetKeywordLocalName("Lower"), "Unten \x8A");
    EXPECT_EQ(Selection(back), "-x") << "the default is chosen when no item was stored selected";
}

TEST(PPDXPopupControl, RestoreReloadsOnlyTheSelection) {
    std::unique_ptr<PPDXPopupControl> popup(Popup("*PageSize", {"A", "B", "C"}, "A"));
    popup->SetValue(3);
    Settings store;
    ASSERT_EQ(popup->Save(store, 12), noErr);

    popup->SetValue(1);
    ASSERT_EQ(popup->Restore(store, 12), noErr);
    EXPECT_EQ(popup->GetValue(), 3);
    EXPECT_EQ(PostScriptOf(*popup), Block("*PageSize", "C", "C code\n"));

    // A missing selection record ends the walk with the store's status.
    store.Remove(kItemSelected, 1201);
    EXPECT_EQ(popup->Restore(store, 12), collectionItemNotFoundErr);
}

TEST(PPDXPopupControl, SaveReportsTheStoreFailure) {
    std::unique_ptr<PPDXPopupControl> popup(Popup("*PageSize", {"A"}, "A"));
    Settings detached(static_cast<Collection>(nullptr));
    EXPECT_EQ(popup->Save(detached, 1), kSettingsNoCollectionErr);
    EXPECT_EQ(popup->Restore(detached, 1), kSettingsNoCollectionErr);
}

TEST(PPDXPopupControl, DamagedRecordsLeaveTheDefaults) {
    Settings store;
    UInt8 two[2] = {1, 1};
    store.Add(kMultiple, 3, two, 2);
    store.Add(kItemCount, 3, two, 2);
    PPDXPopupControl shortCount(store, 3);
    EXPECT_FALSE(shortCount.CanSelectMultipleItems());
    EXPECT_EQ(shortCount.ItemCount(), 0u);

    // A count far beyond what the store could hold reads only as many items as there are records.
    collectiontest::PutCount(store, kItemCount, 4, 0x7FFFFFFF);
    store.Add(kItemSelected, 400, two, 2);
    PPDXPopupControl huge(store, 4);
    EXPECT_LE(huge.ItemCount(), static_cast<UInt32>(store.Count()));
    for (_PopupItem* item = huge.FirstItem(); item != nullptr; item = huge.NextItem()) {
        EXPECT_EQ(item->mKeyword, nullptr);
        EXPECT_FALSE(item->mSelected);
    }

    // Ids whose items would leave the id range are not read.
    collectiontest::PutCount(store, kItemCount, 0x7FFFFFF0, 3);
    PPDXPopupControl edge(store, 0x7FFFFFF0);
    EXPECT_EQ(edge.ItemCount(), 0u);
}

}  // namespace
