#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Memory/MacMemory.h"
#include "testing/FailureInjection.h"

namespace {

const FourCharCode kTag = HALYX_FOUR_CHAR('S', 't', 'C', 't');

OSStatus AddText(Settings& s, FourCharCode tag, SInt32 id, const std::string& text) {
    return s.Add(tag, id, text.data(), static_cast<SInt32>(text.size()));
}

std::string GetText(Settings& s, FourCharCode tag, SInt32 id) {
    SInt32 length = 0;
    if (s.Get(tag, id, nullptr, &length) != noErr) return "<missing>";
    std::string out(static_cast<size_t>(length), '\0');
    if (length > 0 && s.Get(tag, id, &out[0], &length) != noErr) return "<unreadable>";
    return out;
}

TEST(Settings, RecordsAddGetSetAndRemove) {
    Settings s;
    ASSERT_TRUE(s.Valid());
    EXPECT_TRUE(s.Empty());
    SInt32 value = 1024;
    ASSERT_EQ(s.Add(1000, 1001, &value, sizeof value), noErr);
    ASSERT_EQ(AddText(s, kTag, 6001, "Duplex"), noErr);
    EXPECT_EQ(s.Count(), 2);

    SInt32 back = 0, length = sizeof back;
    EXPECT_EQ(s.Get(1000, 1001, &back, &length), noErr);
    EXPECT_EQ(back, 1024);

    EXPECT_EQ(s.Set(kTag, 6001, "Tumble", 6), noErr);
    EXPECT_EQ(GetText(s, kTag, 6001), "Tumble");
    // Set never creates a record.
    EXPECT_EQ(s.Set(kTag, 6002, "x", 1), collectionItemNotFoundErr);
    EXPECT_EQ(s.LastError(), collectionItemNotFoundErr);
    EXPECT_EQ(s.Count(), 2);

    EXPECT_EQ(s.Remove(1000, 1001), noErr);
    EXPECT_EQ(s.LastError(), noErr);
    EXPECT_EQ(s.Remove(1000, 1001), collectionItemNotFoundErr);
    EXPECT_EQ(s.Count(), 1);
}

TEST(Settings, FirstAndNextWalkInOrderAndReportTheEnds) {
    Settings s;
    FourCharCode tag = 1;
    SInt32 id = 1, length = 1, attributes = 1;
    EXPECT_EQ(s.First(&tag, &id, &length, &attributes), kSettingsEmptyErr);
    EXPECT_EQ(tag, 0u);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(s.Next(&tag, &id, &length, &attributes), kSettingsEmptyErr);

    ASSERT_EQ(AddText(s, 3000, 3001, "abc"), noErr);
    ASSERT_EQ(AddText(s, 4000, 4001, "de"), noErr);
    ASSERT_EQ(s.Lock(4000, 4001), noErr);

    ASSERT_EQ(s.First(&tag, &id, &length, &attributes), noErr);
    EXPECT_EQ(tag, 3000u);
    EXPECT_EQ(id, 3001);
    EXPECT_EQ(length, 3);
    ASSERT_EQ(s.Next(&tag, &id, &length, &attributes), noErr);
    EXPECT_EQ(tag, 4000u);
    EXPECT_EQ(length, 2);
    EXPECT_NE(attributes & kSettingsLockMask, 0);
    EXPECT_EQ(s.Next(&tag, &id, &length, &attributes), kSettingsEndErr);
    EXPECT_EQ(tag, 0u);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(s.Next(nullptr, nullptr, nullptr, nullptr), kSettingsEndErr);
    // A record added after the end is the next one reported.
    ASSERT_EQ(AddText(s, 5000, 5001, "f"), noErr);
    ASSERT_EQ(s.Next(&tag, &id, &length, &attributes), noErr);
    EXPECT_EQ(tag, 5000u);
}

TEST(Settings, LockRefusesChangesAndUnlockRestoresOnlyTheLockBit) {
    Settings s;
    ASSERT_EQ(AddText(s, kTag, 1, "fixed"), noErr);
    ASSERT_EQ(s.SetAttribute(kTag, 1, 0x0005, true), noErr);
    SInt32 attributes = 0;
    ASSERT_EQ(s.First(nullptr, nullptr, nullptr, &attributes), noErr);
    const SInt32 before = attributes;

    ASSERT_EQ(s.Lock(kTag, 1), noErr);
    EXPECT_EQ(AddText(s, kTag, 1, "other"), collectionItemLockedErr);
    EXPECT_EQ(s.Set(kTag, 1, "other", 5), collectionItemLockedErr);
    EXPECT_EQ(s.Remove(kTag, 1), collectionItemLockedErr);
    EXPECT_EQ(GetText(s, kTag, 1), "fixed");

    ASSERT_EQ(s.Unlock(kTag, 1), noErr);
    ASSERT_EQ(s.First(nullptr, nullptr, nullptr, &attributes), noErr);
    EXPECT_EQ(attributes, before);
    EXPECT_EQ(attributes & kSettingsLockMask, 0);
    EXPECT_EQ(s.SetAttribute(kTag, 1, 0x0004, false), noErr);
    ASSERT_EQ(s.First(nullptr, nullptr, nullptr, &attributes), noErr);
    EXPECT_EQ(attributes, before & ~0x0004);
    EXPECT_EQ(s.Lock(kTag, 2), collectionItemNotFoundErr);
}

// A view gives the bytes a copy would, whether they live inside the record, in a block of their
// own, or in the shared block of a store read from a flattened form.
TEST(Settings, ViewsShowWhatGetCopies) {
    const struct {
        SInt32 id;
        std::string text;  // "<missing>": no such record
    } cases[] = {
        {1, ""}, {2, "8 bytes!"}, {3, "nine byte"}, {4, std::string(300, 'w')}, {5, "<missing>"}};
    Settings added;
    for (const auto& c : cases) {
        if (c.text != "<missing>") {
            ASSERT_EQ(AddText(added, kTag, c.id, c.text), noErr);
        }
    }
    Handle flat = nullptr;
    ASSERT_EQ(added.GetSettingsHandle(&flat), noErr);
    Settings read(flat);
    DisposeHandle(flat);
    for (Settings* s : {&added, &read}) {
        for (const auto& c : cases) {
            const void* bytes = nullptr;
            SInt32 length = -1;
            const OSStatus status = s->View(kTag, c.id, &bytes, &length);
            const OSStatus expected =
                c.text == "<missing>" ? OSStatus{collectionItemNotFoundErr} : OSStatus{noErr};
            EXPECT_EQ(status, expected) << c.id;
            EXPECT_EQ(s->LastError(), status);
            const std::string seen = status != noErr
                                         ? "<missing>"
                                         : std::string(static_cast<const char*>(bytes), length);
            EXPECT_EQ(seen, c.text) << c.id;
            EXPECT_EQ(GetText(*s, kTag, c.id), c.text) << c.id;
        }
    }
}

TEST(Settings, StoreWithoutCollectionAnswersNoCollection) {
    Settings none(static_cast<Collection>(nullptr));
    EXPECT_FALSE(none.Valid());
    EXPECT_TRUE(none.Empty());
    EXPECT_EQ(none.Count(), 0);
    EXPECT_EQ(none.Add(1, 1, "x", 1), kSettingsNoCollectionErr);
    EXPECT_EQ(none.Get(1, 1, nullptr, nullptr), kSettingsNoCollectionErr);
    const void* bytes = &none;
    SInt32 length = 1;
    EXPECT_EQ(none.View(1, 1, &bytes, &length), kSettingsNoCollectionErr);
    EXPECT_EQ(bytes, nullptr);
    EXPECT_EQ(none.First(nullptr, nullptr, nullptr, nullptr), kSettingsNoCollectionErr);
    EXPECT_EQ(none.Lock(1, 1), kSettingsNoCollectionErr);
    EXPECT_EQ(none.LastError(), kSettingsNoCollectionErr);
    Handle h = reinterpret_cast<Handle>(1);
    EXPECT_EQ(none.GetSettingsHandle(&h), kSettingsNoCollectionErr);
    EXPECT_EQ(h, nullptr);

    Settings fromNull(static_cast<Handle>(nullptr));
    EXPECT_FALSE(fromNull.Valid());
    EXPECT_EQ(fromNull.LastError(), paramErr);
}

TEST(Settings, CopiesAreIndependentAndAdoptedCollectionsAreOwned) {
    Collection c = NewCollection();
    ASSERT_EQ(AddCollectionItem(c, kTag, 7, 3, "own"), noErr);
    Settings adopted(c);
    ASSERT_TRUE(adopted.Valid());
    EXPECT_EQ(GetText(adopted, kTag, 7), "own");

    Settings copy(adopted);
    ASSERT_TRUE(copy.Valid());
    ASSERT_EQ(AddText(adopted, kTag, 7, "changed"), noErr);
    EXPECT_EQ(GetText(copy, kTag, 7), "own");

    Settings assigned;
    ASSERT_EQ(AddText(assigned, kTag, 99, "dropped"), noErr);
    assigned = adopted;
    EXPECT_EQ(assigned.Count(), 1);
    EXPECT_EQ(GetText(assigned, kTag, 7), "changed");
    Settings& same = assigned;
    assigned = same;
    EXPECT_EQ(assigned.Count(), 1);

    // Copying without memory gives an invalid store; assigning a store without a collection
    // drops this one's.
    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailAllocation, 0, -1);
    Settings starved(adopted);
    HalyxResetFailures();
    EXPECT_FALSE(starved.Valid());
    EXPECT_EQ(starved.LastError(), memFullErr);
    EXPECT_EQ(starved.Count(), 0);
    Settings none(static_cast<Collection>(nullptr));
    assigned = none;
    EXPECT_FALSE(assigned.Valid());
    EXPECT_EQ(assigned.Add(kTag, 1, "x", 1), kSettingsNoCollectionErr);
}

TEST(Settings, FlattenedHandleRebuildsTheStore) {
    Settings s;
    for (SInt32 id = 1; id <= 50; ++id) ASSERT_EQ(AddText(s, 5000, id, std::to_string(id)), noErr);
    ASSERT_EQ(s.Lock(5000, 3), noErr);
    Handle h = nullptr;
    ASSERT_EQ(s.GetSettingsHandle(&h), noErr);
    ASSERT_NE(h, nullptr);

    Settings rebuilt(h);
    ASSERT_TRUE(rebuilt.Valid());
    EXPECT_EQ(rebuilt.LastError(), noErr);
    EXPECT_EQ(rebuilt.Count(), 50);
    EXPECT_EQ(GetText(rebuilt, 5000, 42), "42");
    EXPECT_EQ(rebuilt.Remove(5000, 3), collectionItemLockedErr);

    // A damaged form makes an invalid store that reports why.
    (*h)[0] ^= 0x20;
    Settings damaged(h);
    EXPECT_FALSE(damaged.Valid());
    EXPECT_EQ(damaged.LastError(), collectionVersionErr);
    DisposeHandle(h);
}

TEST(Settings, OutOfMemoryIsReported) {
    HalyxFailureScope scope;
    Settings s;
    ASSERT_EQ(AddText(s, kTag, 1, "x"), noErr);
    // The flattening handle itself: ordinary memory fails, temporary memory takes over.
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    Handle h = nullptr;
    EXPECT_EQ(s.GetSettingsHandle(&h), noErr);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(HIsTemporary(h));
    DisposeHandle(h);
    // Neither pool has room.
    HalyxInjectFailures(kHalyxFailAllocation, 0, 2);
    EXPECT_EQ(s.GetSettingsHandle(&h), memFullErr);
    EXPECT_EQ(h, nullptr);
    // The handle is made but cannot grow to hold the form: it is released.
    HalyxInjectFailures(kHalyxFailAllocation, 1, 1);
    EXPECT_EQ(s.GetSettingsHandle(&h), memFullErr);
    EXPECT_EQ(h, nullptr);

    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    Settings noMemory;
    EXPECT_FALSE(noMemory.Valid());
    EXPECT_EQ(noMemory.LastError(), memFullErr);
}

}  // namespace
