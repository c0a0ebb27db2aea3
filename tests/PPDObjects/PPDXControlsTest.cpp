#include "PPDObjects/PPDXControls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "CollectionTestSupport.h"
#include "PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXGroup.h"
#include "testing/FailureInjection.h"
#include "foundation/CString.h"
#include "settings/Settings.h"

namespace {

using collectiontest::Code;
using collectiontest::KeywordOf;
using collectiontest::Owner;
using collectiontest::Popup;
using collectiontest::PostScriptOf;
using collectiontest::Text;

// Every test starts under DISPLAY_NORMAL and leaves the process-wide mode as it found it.
class PPDXControlsTest : public ::testing::Test {
protected:
    PPDXControlsTest() : mScope(DISPLAY_NORMAL), mParent("*Section", nullptr, true) {}

    PPDXBooleanControl* Boolean(const char* keyword, bool visible = true, bool value = false) {
        PointerList flags;
        flags.PushBack(new CString("Setup"));
        flags.PushBack(new CString("MacIS"));
        PPDXBooleanControl* control = mOwner.Keep(new PPDXBooleanControl(
            keyword, mName, flags, visible, new CString("On"), Code("true\n"), 5,
            new CString("Off"), Code("false\n"), 6, false));
        control->SetValue(value);
        return control;
    }
    PPDXRangeControl* Range(const char* keyword, SInt32 value) {
        PointerList flags;
        PPDXRangeControl* control = mOwner.Keep(new PPDXRangeControl(
            keyword, mName, flags, Code("<</N <n>>>setpagedevice\n"), 24, 1, 99, 1, 10, true));
        control->SetValue(value);
        return control;
    }
    PPDXFloatRangeControl* FloatRange(const char* keyword) {
        PointerList flags;
        return mOwner.Keep(new PPDXFloatRangeControl(keyword, mName, flags, Code("<v>\n"), 4, 0,
                                                     100, 1, 50, true));
    }
    PPDXJobNote* JobNote(const char* keyword, bool visible, const char* text = "note") {
        PointerList flags;
        PPDXJobNote* note = mOwner.Keep(new PPDXJobNote(keyword, mName, flags, Code("(<t>) show\n"),
                                                        11, new CString(""), nullptr, visible, 64,
                                                        kJobNoteNumeric | kJobNoteRequired, 0));
        note->SetNotes(text);
        return note;
    }
    PPDXSpecialOption* Special(const char* keyword, const char* value = "v") {
        PointerList flags;
        return mOwner.Keep(new PPDXSpecialOption(keyword, mName, flags, const_cast<char*>(value),
                                                 Code("raw\n"), 4, true));
    }
    PPDXPopupControl* PopupOf(const char* keyword, bool visible = true) {
        return mOwner.Keep(Popup(keyword, {"A", "B"}, "A", false, visible, mName));
    }

    DisplayOptionsScope mScope;
    Text mName{"Name"};
    PPDXGroup mParent;
    Owner<PPDXControl> mOwner;
};

// Deletes every control of a rebuilt collection, as the model root does.
void DeleteAll(PPDXControls& controls) {
    DisplayOptionsScope all(DISPLAY_ALL);
    std::vector<PPDXControl*> members;
    for (PPDXControl* c = controls.First(nullptr); c != nullptr; c = controls.Next(nullptr))
        members.push_back(c);
    for (PPDXControl* c : members) delete c;
}

std::string Flags(PPDXControl& control) {
    std::string words;
    for (const char* w = control.FirstControlFlag(); w != nullptr; w = control.NextControlFlag())
        words += std::string(w) + "|";
    return words;
}

// --- Counts --------------------------------------------------------------------------------------

TEST_F(PPDXControlsTest, CountsFollowTheDisplayModeFromTheStateAtAdding) {
    PPDXControls controls;
    PPDXPopupControl* visibleOrphan = PopupOf("*A");
    PPDXPopupControl* hiddenAttached = PopupOf("*B", false);
    hiddenAttached->SetParent(&mParent);
    controls.Add(visibleOrphan);
    controls.Add(hiddenAttached);

    const UInt32 expected[] = {0, 1, 1, 2};
    for (UInt32 mode = DISPLAY_NORMAL; mode <= DISPLAY_ALL; ++mode) {
        DisplayOptionsScope scope(static_cast<_DISPLAY_OPTIONS_>(mode));
        EXPECT_EQ(controls.PopupCount(), expected[mode]) << "mode " << mode;
        EXPECT_EQ(controls.ControlCount(), expected[mode]) << "mode " << mode;
        UInt32 walked = 0;
        for (PPDXControl* c = controls.First(nullptr); c != nullptr; c = controls.Next(nullptr))
            ++walked;
        EXPECT_EQ(walked, expected[mode]) << "the walk agrees with the count in mode " << mode;
    }
    DisplayOptionsScope odd(static_cast<_DISPLAY_OPTIONS_>(7));
    EXPECT_EQ(controls.PopupCount(), 0u);

    // Later changes are not reflected.
    DisplayOptionsScope normal(DISPLAY_NORMAL);
    visibleOrphan->SetParent(&mParent);
    EXPECT_EQ(controls.PopupCount(), 0u);
    EXPECT_TRUE(controls.NoPopups());
}

TEST_F(PPDXControlsTest, JobNotesCountVisibleAndSpecialOptionsCountAllWhateverTheMode) {
    PPDXControls controls;
    controls.Add(JobNote("*Notes1", true));
    controls.Add(JobNote("*Notes2", false));
    controls.Add(Special("*S1"));
    PPDXSpecialOption* hidden = Special("*S2");
    controls.Add(hidden);
    for (UInt32 mode = DISPLAY_NORMAL; mode <= DISPLAY_ALL; ++mode) {
        ModelOptions::SetDisplay(static_cast<_DISPLAY_OPTIONS_>(mode));
        EXPECT_EQ(controls.JobNoteCount(), 1u);
        EXPECT_EQ(controls.SpecialOptionsCount(), 2u);
        EXPECT_EQ(ModelOptions::Display(), static_cast<_DISPLAY_OPTIONS_>(mode));
    }
}

TEST_F(PPDXControlsTest, EachControlGoesToItsKindListAndFloatRangesOnlyToTheWholeList) {
    DisplayOptionsScope all(DISPLAY_ALL);
    PPDXControls controls;
    EXPECT_TRUE(controls.Empty());
    controls.Add(Special("*Special"));
    EXPECT_TRUE(controls.Empty()) << "special options do not count";
    EXPECT_FALSE(controls.NoSpecialOptions());
    controls.Add(nullptr);

    controls.Add(JobNote("*Notes1", true));
    controls.Add(Boolean("*Collate"));
    controls.Add(PopupOf("*PageSize"));
    controls.Add(Range("*Copies", 1));
    controls.Add(FloatRange("*Gamma"));
    EXPECT_FALSE(controls.Empty());
    EXPECT_EQ(controls.ControlCount(), 4u);
    EXPECT_EQ(controls.RangeCount(), 1u) << "the float range is counted nowhere";

    std::string walk;
    CNTL_TYPE type;
    for (PPDXControl* c = controls.First(&type); c != nullptr; c = controls.Next(&type))
        walk += KeywordOf(c) + ":" + std::to_string(type) + " ";
    EXPECT_EQ(walk, "*Special:5 *Notes1:1 *Collate:3 *PageSize:4 *Copies:2 *Gamma:2 ");
    EXPECT_EQ(controls.Next(&type), nullptr) << "stays at the end";

    EXPECT_EQ(KeywordOf(controls.FirstJobNote()), "*Notes1");
    EXPECT_EQ(KeywordOf(controls.FirstBooleanControl()), "*Collate");
    EXPECT_EQ(KeywordOf(controls.FirstSpecialOption()), "*Special");
    EXPECT_EQ(KeywordOf(controls.FirstRangeControl()), "*Copies");
    EXPECT_EQ(controls.NextRangeControl(), nullptr);
}

TEST_F(PPDXControlsTest, TypedWalksAreUnfilteredAndKeepTheirOwnCursors) {
    PPDXControls controls;
    controls.Add(PopupOf("*P1", false));
    controls.Add(Boolean("*B1", false));
    controls.Add(PopupOf("*P2"));
    controls.Add(Boolean("*B2"));

    EXPECT_EQ(KeywordOf(controls.FirstPopupControl()), "*P1");
    EXPECT_EQ(KeywordOf(controls.FirstBooleanControl()), "*B1");
    EXPECT_EQ(KeywordOf(controls.NextPopupControl()), "*P2");
    EXPECT_EQ(KeywordOf(controls.NextBooleanControl()), "*B2");
    EXPECT_EQ(controls.NextPopupControl(), nullptr);
    EXPECT_EQ(controls.NextJobNote(), nullptr) << "a walk never started ends at once";
    EXPECT_EQ(ModelOptions::Display(), DISPLAY_NORMAL);
}

// --- Searches ------------------------------------------------------------------------------------

TEST_F(PPDXControlsTest, FindMatchesWholeOrPartKeywordsUnderTheDisplayFilter) {
    PPDXControls controls;
    PPDXPopupControl* pageSize = PopupOf("*PageSize");
    pageSize->SetParent(&mParent);
    PPDXBooleanControl* hidden = Boolean("*HiddenSize", false);
    hidden->SetParent(&mParent);
    controls.Add(mOwner.Keep(Popup("", {"A"}, nullptr)));  // no keyword: passed over
    controls.Add(pageSize);
    controls.Add(hidden);

    CNTL_TYPE type = CNTL_JOBNOTE;
    EXPECT_EQ(controls.Find("Size", &type, false), pageSize);
    EXPECT_EQ(type, CNTL_POPUP);
    EXPECT_EQ(controls.Find("Size", nullptr, true), nullptr);
    EXPECT_EQ(controls.Find("*PageSize", nullptr, true), pageSize);
    EXPECT_EQ(controls.Find("size", nullptr, false), nullptr) << "case matters";
    EXPECT_EQ(controls.Find(nullptr, nullptr, false), nullptr);
    EXPECT_EQ(controls.Find("*HiddenSize", nullptr, true), nullptr) << "filtered out";
    {
        DisplayOptionsScope attached(DISPLAY_ATTACHED);
        EXPECT_EQ(controls.Find("*HiddenSize", nullptr, true), hidden);
    }

    // The kind searches are unfiltered.
    EXPECT_EQ(controls.FindBoolean("Hidden", false), hidden);
    EXPECT_EQ(controls.FindPopup("*PageSize", true), pageSize);
    EXPECT_EQ(controls.FindPopup("*HiddenSize", true), nullptr);
    EXPECT_EQ(controls.FindRangeControl("Size", false), nullptr);
    EXPECT_EQ(controls.FindJobNote(nullptr, false), nullptr);
    EXPECT_EQ(controls.FindSpecialOption("", false), nullptr);
}

// --- Store ---------------------------------------------------------------------------------------

TEST_F(PPDXControlsTest, SavedUnderDisplayAllEveryClassComesBackTheSame) {
    PPDXControls controls;
    PPDXBooleanControl* collate = Boolean("*Collate", false, true);
    collate->SetParent(&mParent);
    PPDXPopupControl* pageSize = PopupOf("*PageSize");
    pageSize->SetValue(2);
    controls.Add(collate);
    controls.Add(pageSize);
    controls.Add(JobNote("*Notes1", false, "12345"));
    controls.Add(Range("*Copies", 42));
    controls.Add(Special("*Staple", "left"));
    controls.Add(FloatRange("*Gamma"));

    Settings store;
    {
        DisplayOptionsScope all(DISPLAY_ALL);
        ASSERT_EQ(controls.Save(store), noErr);
    }
    std::unique_ptr<Settings> read = collectiontest::Reloaded(store);
    DisplayOptionsScope all(DISPLAY_ALL);
    PPDXControls back(*read);

    CNTL_TYPE originalType;
    CNTL_TYPE backType;
    PPDXControl* b = back.First(&backType);
    for (PPDXControl* o = controls.First(&originalType); o != nullptr;
         o = controls.Next(&originalType), b = back.Next(&backType)) {
        ASSERT_NE(b, nullptr) << KeywordOf(o);
        EXPECT_EQ(backType, originalType) << KeywordOf(o);
        EXPECT_EQ(KeywordOf(b), KeywordOf(o));
        EXPECT_STREQ(b->UserName(), o->UserName());
        EXPECT_EQ(b->IsVisible(), o->IsVisible()) << KeywordOf(o);
        EXPECT_EQ(b->IsOrphan(), o->IsOrphan()) << KeywordOf(o);
        EXPECT_EQ(Flags(*b), Flags(*o)) << KeywordOf(o);
        // The float range is checked below: it does not come back as a float range.
        if (KeywordOf(o) != "*Gamma") {
            EXPECT_EQ(PostScriptOf(*b), PostScriptOf(*o)) << KeywordOf(o);
        }
    }
    EXPECT_EQ(b, nullptr);
    EXPECT_STREQ(back.FindBoolean("*Collate", true)->PendingParentKeyword(), "*Section");
    EXPECT_TRUE(back.FindBoolean("*Collate", true)->IsTrue());
    EXPECT_EQ(back.FindPopup("*PageSize", true)->GetValue(), 2);
    EXPECT_STREQ(back.FindJobNote("*Notes1", true)->GetNotes(), "12345");
    EXPECT_EQ(back.FindJobNote("*Notes1", true)->Flags(), kJobNoteNumeric | kJobNoteRequired);
    EXPECT_EQ(back.FindRangeControl("*Copies", true)->GetValue(), 42);
    EXPECT_STREQ(back.FindSpecialOption("*Staple", true)->GetValue(), "left");
    // The stored float range has the integer range's records: it comes back as one, holding the
    // float's bits.
    PPDXRangeControl* gamma = back.FindRangeControl("*Gamma", true);
    ASSERT_NE(gamma, nullptr);
    float fifty = 50.0f;
    SInt32 bits;
    std::memcpy(&bits, &fifty, sizeof bits);
    EXPECT_EQ(gamma->GetValue(), bits);
    // Two ranges, a boolean and a popup; the hidden job note and the special option do not count.
    EXPECT_EQ(back.ControlCount(), 4u);
    DeleteAll(back);
}

TEST_F(PPDXControlsTest, RestoreReloadsTheValuesOfTheSameModel) {
    PPDXControls controls;
    PPDXBooleanControl* collate = Boolean("*Collate", true, true);
    PPDXRangeControl* copies = Range("*Copies", 7);
    PPDXPopupControl* pageSize = PopupOf("*PageSize");
    pageSize->SetValue(2);
    controls.Add(collate);
    controls.Add(copies);
    controls.Add(pageSize);
    DisplayOptionsScope all(DISPLAY_ALL);
    Settings store;
    ASSERT_EQ(controls.Save(store), noErr);

    collate->SetValue(false);
    copies->SetValue(3);
    pageSize->SetValue(1);
    EXPECT_EQ(controls.Restore(store), noErr);
    EXPECT_TRUE(collate->IsTrue());
    EXPECT_EQ(copies->GetValue(), 7);
    EXPECT_EQ(pageSize->GetValue(), 2);

    Settings empty;
    EXPECT_NE(controls.Restore(empty), noErr) << "the first failing control ends the walk";
    PPDXControls none;
    EXPECT_EQ(none.Restore(empty), noErr);
}

TEST_F(PPDXControlsTest, EveryPointWhereTheStoreRunsOutOfMemoryIsReportedOrSurvived) {
    PPDXControls controls;
    controls.Add(
        mOwner.Keep(collectiontest::Popup("*PageSize", {"A", "B", "C"}, "B", false, true, mName)));
    controls.Add(Boolean("*Collate"));
    controls.Add(JobNote("*Notes1", true, "77"));
    DisplayOptionsScope all(DISPLAY_ALL);

    // Saving: each failing allocation ends the save with the store's status.
    OSErr err = memFullErr;
    int skip = 0;
    for (; err != noErr && skip < 1000; ++skip) {
        HalyxFailureScope scope;
        Settings store;
        HalyxInjectFailures(kHalyxFailAllocation, skip, -1);
        err = controls.Save(store);
        if (err != noErr) {
            EXPECT_EQ(err, memFullErr) << "skip " << skip;
        }
    }
    EXPECT_EQ(err, noErr) << "the save succeeds once memory suffices";
    EXPECT_GT(skip, 3);

    // Rebuilding: records that cannot be read leave their fields empty and nothing leaks.
    Settings store;
    ASSERT_EQ(controls.Save(store), noErr);
    for (int failAt = 0;; ++failAt) {
        HalyxFailureScope scope;
        HalyxInjectFailures(kHalyxFailAllocation, failAt, 1);
        PPDXControls back(store);
        bool failed = HalyxInjectedFailureCount(kHalyxFailAllocation) > 0;
        UInt32 rebuilt = 0;
        for (PPDXControl* c = back.First(nullptr); c != nullptr; c = back.Next(nullptr)) ++rebuilt;
        // A control that cannot be listed is dropped, not leaked.
        EXPECT_LE(rebuilt, 3u);
        if (!failed) {
            EXPECT_EQ(rebuilt, 3u);
        }
        DeleteAll(back);
        if (!failed) break;
        ASSERT_LT(failAt, 1000);
    }
}

TEST_F(PPDXControlsTest, RebuildSkipsIdsWithoutAMarker) {
    PPDXControls controls;
    controls.Add(Boolean("*A"));
    controls.Add(Boolean("*B"));
    controls.Add(Boolean("*C"));
    DisplayOptionsScope all(DISPLAY_ALL);
    Settings store;
    ASSERT_EQ(controls.Save(store), noErr);
    store.Remove(HALYX_FOUR_CHAR('B', 'l', 'n', 'C'), 5002);

    PPDXControls back(store);
    std::string walk;
    for (PPDXControl* c = back.First(nullptr); c != nullptr; c = back.Next(nullptr))
        walk += KeywordOf(c);
    EXPECT_EQ(walk, "*A*C");
    // The store told of three controls: the rebuild says it is not the whole model.
    EXPECT_FALSE(back.RebuildComplete());
    DeleteAll(back);

    EXPECT_TRUE(PPDXControls().RebuildComplete());
    Settings intact;
    ASSERT_EQ(controls.Save(intact), noErr);
    PPDXControls again(intact);
    EXPECT_TRUE(again.RebuildComplete());
    DeleteAll(again);
}

TEST_F(PPDXControlsTest, RebuildThatCannotListAControlIsIncompleteAndListsItNowhere) {
    PPDXControls controls;
    controls.Add(Boolean("*A"));
    controls.Add(Boolean("*B"));
    DisplayOptionsScope all(DISPLAY_ALL);
    Settings store;
    ASSERT_EQ(controls.Save(store), noErr);
    // Try a failing allocation at every point of the rebuild: whatever comes back is either
    // complete with both controls, or marked incomplete; a listed control is in its kind list too.
    for (int skip = 0; skip < 10000; ++skip) {
        HalyxFailureScope scope;
        HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
        PPDXControls back(store);
        const bool injected = HalyxInjectedFailureCount(kHalyxFailAllocation) > 0;
        HalyxResetFailures();
        UInt32 listed = 0;
        for (PPDXControl* c = back.First(nullptr); c != nullptr; c = back.Next(nullptr)) ++listed;
        EXPECT_EQ(back.BooleanCount(), listed) << "skip " << skip;
        if (back.RebuildComplete()) {
            EXPECT_EQ(listed, 2u) << "skip " << skip;
        }
        DeleteAll(back);
        if (!injected) break;
    }
}

TEST_F(PPDXControlsTest, DamagedStoresRebuildNothingOrOnlyWhatIsReadable) {
    DisplayOptionsScope all(DISPLAY_ALL);
    {
        Settings store;
        UInt16 two = 1;
        store.Add(PPDXControls::kCountTag, PPDXControls::kCountId, &two, sizeof two);
        PPDXControls back(store);
        EXPECT_EQ(back.First(nullptr), nullptr);
    }
    {
        Settings store;
        collectiontest::PutCount(store, PPDXControls::kCountTag, PPDXControls::kCountId, -5);
        PPDXControls back(store);
        EXPECT_EQ(back.First(nullptr), nullptr);
    }
    {
        // Markers with garbage records of every kind, and a count far beyond the store.
        Settings store;
        collectiontest::PutCount(store, PPDXControls::kCountTag, PPDXControls::kCountId,
                                 0x7FFFFFFF);
        const FourCharCode markers[] = {
            HALYX_FOUR_CHAR('B', 'l', 'n', 'C'), HALYX_FOUR_CHAR('J', 'b', 'N', 't'),
            HALYX_FOUR_CHAR('P', 'o', 'p', 'C'), HALYX_FOUR_CHAR('R', 'n', 'g', 'C'),
            HALYX_FOUR_CHAR('s', 'o', 'C', 'N')};
        SInt32 id = PPDXControls::kFirstId;
        for (FourCharCode marker : markers) {
            store.Add(marker, id, "", 0);
            store.Add(HALYX_FOUR_CHAR('i', 's', 'V', 's'), id, "xyz", 3);
            store.Add(HALYX_FOUR_CHAR('P', 'C', 'I', 'C'), id, "\xff\xff\xff\x7f", 4);
            store.Add(HALYX_FOUR_CHAR('C', 'F', 'l', 'g'), id, "||", 2);
            ++id;
        }
        PPDXControls back(store);
        std::string kinds;
        CNTL_TYPE type;
        for (PPDXControl* c = back.First(&type); c != nullptr; c = back.Next(&type)) {
            kinds += std::to_string(type);
            EXPECT_EQ(c->Keyword(), nullptr);
            EXPECT_FALSE(c->IsVisible());
            EXPECT_EQ(c->ControlFlagCount(), 0u);
        }
        EXPECT_EQ(kinds, "31425");
        DeleteAll(back);
    }
}

}  // namespace
