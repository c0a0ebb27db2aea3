#include "Collections/Collections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "CollectionTestSupport.h"
#include "Memory/MacMemory.h"
#include "testing/FailureInjection.h"

namespace {

const CollectionTag kTag = HALYX_FOUR_CHAR('t', 'e', 's', 't');
const CollectionTag kOther = HALYX_FOUR_CHAR('o', 't', 'h', 'r');

class CollectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        c = NewCollection();
        ASSERT_NE(c, nullptr);
    }
    void TearDown() override { DisposeCollection(c); }
    OSStatus Add(CollectionTag tag, SInt32 id, const std::string& bytes) {
        return AddCollectionItem(c, tag, id, static_cast<SInt32>(bytes.size()), bytes.data());
    }
    Collection c = nullptr;
};

TEST_F(CollectionTest, GetCopiesWholePartOrOnlyReportsSize) {
    ASSERT_EQ(Add(kTag, 1, "hello"), noErr);
    ASSERT_EQ(Add(kTag, -7, ""), noErr);

    SInt32 size = -1;
    EXPECT_EQ(GetCollectionItem(c, kTag, 1, &size, nullptr), noErr);
    EXPECT_EQ(size, 5);

    char buf[8] = {};
    EXPECT_EQ(GetCollectionItem(c, kTag, 1, nullptr, buf), noErr);
    EXPECT_STREQ(buf, "hello");

    char part[8] = {};
    size = 3;
    EXPECT_EQ(GetCollectionItem(c, kTag, 1, &size, part), noErr);
    EXPECT_EQ(size, 3);
    EXPECT_STREQ(part, "hel");

    size = 42;
    EXPECT_EQ(GetCollectionItem(c, kTag, -7, &size, buf), noErr);
    EXPECT_EQ(size, 0);

    EXPECT_EQ(GetCollectionItem(c, kOther, 1, &size, nullptr), collectionItemNotFoundErr);
    EXPECT_EQ(GetCollectionItem(c, kTag, 2, &size, nullptr), collectionItemNotFoundErr);
}

TEST_F(CollectionTest, AddingAnExistingKeyReplacesBytesButKeepsPlaceAndAttributes) {
    ASSERT_EQ(Add(kTag, 1, "one"), noErr);
    ASSERT_EQ(Add(kTag, 2, "two"), noErr);
    ASSERT_EQ(SetCollectionItemInfo(c, kTag, 1, 0x00ff, 0x0012), noErr);
    ASSERT_EQ(Add(kTag, 1, "a longer value"), noErr);

    std::vector<ItemRecord> items = ItemsOf(c);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].id, 1);
    EXPECT_EQ(items[0].bytes, "a longer value");
    EXPECT_EQ(items[0].attributes, kCollectionDefaultAttributes | 0x0012);
    EXPECT_EQ(items[1].bytes, "two");
    EXPECT_EQ(items[1].attributes, kCollectionDefaultAttributes);
}

TEST_F(CollectionTest, BadArgumentsAreRefused) {
    EXPECT_EQ(AddCollectionItem(nullptr, kTag, 1, 0, nullptr), paramErr);
    EXPECT_EQ(AddCollectionItem(c, kTag, 1, -1, "x"), paramErr);
    EXPECT_EQ(AddCollectionItem(c, kTag, 1, 4, nullptr), paramErr);
    EXPECT_EQ(AddCollectionItem(c, kTag, 1, 0, nullptr), noErr);
    SInt32 negative = -1;
    char buf[1];
    EXPECT_EQ(GetCollectionItem(c, kTag, 1, &negative, buf), paramErr);
    EXPECT_EQ(CountCollectionItems(nullptr), 0);
    EXPECT_EQ(FlattenCollectionToHdl(c, nullptr), paramErr);
    EXPECT_EQ(UnflattenCollectionFromHdl(nullptr, nullptr), paramErr);
    DisposeCollection(nullptr);
}

TEST_F(CollectionTest, IndexesRunInInsertionOrderAndReportRangeErrors) {
    for (SInt32 id = 10; id > 0; --id) ASSERT_EQ(Add(kTag, id, std::to_string(id)), noErr);
    for (SInt32 index = 1; index <= 10; ++index) {
        CollectionTag tag = 0;
        SInt32 id = 0, size = 0, attributes = 0;
        ASSERT_EQ(GetIndexedCollectionItemInfo(c, index, &tag, &id, &size, &attributes), noErr);
        EXPECT_EQ(id, 11 - index);
        SInt32 back = 0;
        ASSERT_EQ(GetCollectionItemInfo(c, tag, id, &back, nullptr, nullptr), noErr);
        EXPECT_EQ(back, index);
    }
    EXPECT_EQ(GetIndexedCollectionItemInfo(c, 0, nullptr, nullptr, nullptr, nullptr),
              collectionIndexRangeErr);
    EXPECT_EQ(GetIndexedCollectionItemInfo(c, 11, nullptr, nullptr, nullptr, nullptr),
              collectionIndexRangeErr);
    EXPECT_EQ(ReplaceIndexedCollectionItem(c, 11, 1, "x"), collectionIndexRangeErr);
    ASSERT_EQ(ReplaceIndexedCollectionItem(c, 3, 3, "new"), noErr);
    char buf[4] = {};
    EXPECT_EQ(GetCollectionItem(c, kTag, 8, nullptr, buf), noErr);
    EXPECT_STREQ(buf, "new");
}

TEST_F(CollectionTest, LockedItemsRefuseChangeUntilUnlocked) {
    ASSERT_EQ(Add(kTag, 1, "kept"), noErr);
    ASSERT_EQ(
        SetCollectionItemInfo(c, kTag, 1, kCollectionLockMask | 0x0f, kCollectionAllAttributes),
        noErr);
    SInt32 attributes = 0, index = 0;
    ASSERT_EQ(GetCollectionItemInfo(c, kTag, 1, &index, nullptr, &attributes), noErr);
    EXPECT_EQ(attributes, kCollectionDefaultAttributes | kCollectionLockMask | 0x0f);

    EXPECT_EQ(Add(kTag, 1, "changed"), collectionItemLockedErr);
    EXPECT_EQ(ReplaceIndexedCollectionItem(c, index, 1, "x"), collectionItemLockedErr);
    EXPECT_EQ(RemoveCollectionItem(c, kTag, 1), collectionItemLockedErr);
    ASSERT_EQ(ItemsOf(c).size(), 1u);
    EXPECT_EQ(ItemsOf(c)[0].bytes, "kept");

    // Clearing only the lock bit leaves the others.
    ASSERT_EQ(SetCollectionItemInfo(c, kTag, 1, kCollectionLockMask, 0), noErr);
    ASSERT_EQ(GetCollectionItemInfo(c, kTag, 1, nullptr, nullptr, &attributes), noErr);
    EXPECT_EQ(attributes, kCollectionDefaultAttributes | 0x0f);
    EXPECT_EQ(RemoveCollectionItem(c, kTag, 1), noErr);
    EXPECT_EQ(RemoveCollectionItem(c, kTag, 1), collectionItemNotFoundErr);
    EXPECT_EQ(SetCollectionItemInfo(c, kTag, 1, 1, 1), collectionItemNotFoundErr);
}

// Random adds, replaces and removals checked step by step against a plain vector, long enough to
// pass through the hash table's growth, the removal tree and the compaction of dead slots.
TEST_F(CollectionTest, MatchesAReferenceModelThroughAddsAndRemovals) {
    std::vector<ItemRecord> model;
    std::mt19937 rng(1234);
    for (int step = 0; step < 20000; ++step) {
        unsigned op = rng() % 10;
        if (op < 6 || model.empty()) {
            ItemRecord r{rng() % 2 ? kTag : kOther, static_cast<SInt32>(rng() % 3000) - 1500,
                         kCollectionDefaultAttributes, std::to_string(rng())};
            ASSERT_EQ(Add(r.tag, r.id, r.bytes), noErr);
            auto it = std::find_if(model.begin(), model.end(), [&](const ItemRecord& m) {
                return m.tag == r.tag && m.id == r.id;
            });
            if (it == model.end())
                model.push_back(r);
            else
                it->bytes = r.bytes;
        } else {
            size_t at = rng() % model.size();
            ASSERT_EQ(RemoveCollectionItem(c, model[at].tag, model[at].id), noErr);
            model.erase(model.begin() + static_cast<long>(at));
        }
        if (step % 97 == 0 || step > 19900) {
            ASSERT_EQ(ItemsOf(c), model) << "after step " << step;
            for (size_t i = 0; i < model.size(); i += 13) {
                SInt32 index = 0;
                ASSERT_EQ(
                    GetCollectionItemInfo(c, model[i].tag, model[i].id, &index, nullptr, nullptr),
                    noErr);
                ASSERT_EQ(index, static_cast<SInt32>(i + 1));
            }
        }
    }
    // Emptying completely and refilling starts the order afresh.
    while (!model.empty()) {
        ASSERT_EQ(RemoveCollectionItem(c, model.back().tag, model.back().id), noErr);
        model.pop_back();
    }
    EXPECT_EQ(CountCollectionItems(c), 0);
    ASSERT_EQ(Add(kTag, 5, "again"), noErr);
    SInt32 index = 0;
    EXPECT_EQ(GetCollectionItemInfo(c, kTag, 5, &index, nullptr, nullptr), noErr);
    EXPECT_EQ(index, 1);
}

// Every key present is found and no other is, through growth, removals, compaction, re-adding
// and tables made by copying or reading a form: a key entered is never taken for absent, and one
// removed or never added never for present.
TEST_F(CollectionTest, LookupsFindExactlyThePresentKeys) {
    const CollectionTag tags[] = {kTag, kOther, 0, 0xffffffffu};
    auto present = [](CollectionTag tag, SInt32 id, int stage) {
        if (tag == 0xffffffffu || id < 0 || id >= 3000) return false;
        if (stage == 0 || id % 3 == 0) return true;
        return stage >= 2 && id % 6 == 1;
    };
    auto check = [&](Collection each, int stage, const char* what) {
        for (CollectionTag tag : tags)
            for (SInt32 id = -40; id < 3040; ++id) {
                SInt32 size = -1;
                const OSStatus expected =
                    present(tag, id, stage) ? OSStatus(noErr) : OSStatus(collectionItemNotFoundErr);
                ASSERT_EQ(GetCollectionItem(each, tag, id, &size, nullptr), expected)
                    << what << " tag " << tag << " id " << id;
            }
    };
    for (CollectionTag tag : {kTag, kOther, CollectionTag(0)})
        for (SInt32 id = 0; id < 3000; ++id) ASSERT_EQ(Add(tag, id, std::to_string(id)), noErr);
    check(c, 0, "filled");
    for (CollectionTag tag : {kTag, kOther, CollectionTag(0)})
        for (SInt32 id = 1; id < 3000; id += id % 3 == 1 ? 1 : 2)
            ASSERT_EQ(RemoveCollectionItem(c, tag, id), noErr);
    check(c, 1, "after removals");
    for (CollectionTag tag : {kTag, kOther, CollectionTag(0)})
        for (SInt32 id = 1; id < 3000; id += 6) ASSERT_EQ(Add(tag, id, "back"), noErr);
    check(c, 2, "re-added");

    Collection copy = NewCollection();
    ASSERT_EQ(CopyCollection(c, copy), copy);
    check(copy, 2, "copy");
    Handle form = NewHandle(0);
    ASSERT_EQ(FlattenCollectionToHdl(c, form), noErr);
    Collection read = NewCollection();
    ASSERT_EQ(UnflattenCollectionFromHdl(read, form), noErr);
    check(read, 2, "read into an empty collection");
    ASSERT_EQ(UnflattenCollectionFromHdl(copy, form), noErr);
    check(copy, 2, "read over its own items");
    DisposeHandle(form);
    DisposeCollection(read);
    DisposeCollection(copy);
}

// Values of sizes around what is kept inside an item and around what shares a block with other
// values, over many blocks' worth, keep their bytes through removals, replacements and a copy.
TEST_F(CollectionTest, ValuesOfEverySizeKeepTheirBytesAcrossManyBlocks) {
    const size_t kSizes[] = {8, 9, 100, 16379, 16380, 16381, 40000};
    std::vector<ItemRecord> model;
    for (SInt32 id = 0; id < 70; ++id) {
        const size_t size = kSizes[static_cast<size_t>(id) % std::size(kSizes)];
        ItemRecord r{kTag, id, kCollectionDefaultAttributes,
                     std::string(size, static_cast<char>('a' + id % 26))};
        ASSERT_EQ(Add(r.tag, r.id, r.bytes), noErr);
        model.push_back(r);
    }
    for (size_t i = model.size(); i-- > 0;) {
        if (i % 3 == 0) {
            ASSERT_EQ(RemoveCollectionItem(c, kTag, model[i].id), noErr);
            model.erase(model.begin() + static_cast<long>(i));
        } else if (i % 3 == 1) {
            model[i].bytes = std::string(model[i].bytes.size() / 2 + 9, 'z');
            ASSERT_EQ(Add(kTag, model[i].id, model[i].bytes), noErr);
        }
    }
    Collection copy = NewCollection();
    ASSERT_EQ(CopyCollection(c, copy), copy);
    EXPECT_EQ(ItemsOf(c), model);
    DisposeCollection(c);
    c = copy;
    EXPECT_EQ(ItemsOf(c), model);
}

TEST_F(CollectionTest, CopyReplacesTheDestinationAndIsIndependent) {
    ASSERT_EQ(Add(kTag, 1, "one"), noErr);
    ASSERT_EQ(Add(kOther, 2, "two"), noErr);
    ASSERT_EQ(Add(kTag, 3, "three"), noErr);
    ASSERT_EQ(RemoveCollectionItem(c, kOther, 2), noErr);
    ASSERT_EQ(SetCollectionItemInfo(c, kTag, 3, kCollectionLockMask, kCollectionLockMask), noErr);

    Collection dst = NewCollection();
    ASSERT_NE(dst, nullptr);
    ASSERT_EQ(AddCollectionItem(dst, kOther, 99, 4, "gone"), noErr);
    EXPECT_EQ(CopyCollection(c, dst), dst);
    EXPECT_EQ(ItemsOf(dst), ItemsOf(c));

    ASSERT_EQ(Add(kTag, 1, "changed in source"), noErr);
    char buf[4] = {};
    EXPECT_EQ(GetCollectionItem(dst, kTag, 1, nullptr, buf), noErr);
    EXPECT_STREQ(buf, "one");
    EXPECT_EQ(CopyCollection(nullptr, dst), nullptr);
    EXPECT_EQ(CopyCollection(c, c), c);
    DisposeCollection(dst);
}

// Each allocation the call makes is failed in turn (values are longer than those kept inside an
// item, so their bytes are allocated); every failure must report memFullErr and leave the
// collection exactly as it was, and the call must succeed once nothing fails.
TEST_F(CollectionTest, AllocationFailuresLeaveNoPartialState) {
    HalyxFailureScope scope;
    for (SInt32 id = 0; id < 40; ++id) ASSERT_EQ(Add(kTag, id, std::string(id, 'x')), noErr);
    ASSERT_EQ(RemoveCollectionItem(c, kTag, 7), noErr);
    const std::vector<ItemRecord> before = ItemsOf(c);

    struct Case {
        const char* name;
        OSStatus (*call)(Collection);
    };
    const Case cases[] = {
        {"add new",
         [](Collection x) { return AddCollectionItem(x, kOther, 1, 12, "fresh value!"); }},
        {"replace",
         [](Collection x) { return AddCollectionItem(x, kTag, 3, 13, "a replacement"); }},
        {"replace indexed",
         [](Collection x) { return ReplaceIndexedCollectionItem(x, 2, 13, "a replacement"); }},
        {"copy into",
         [](Collection x) {
             Collection src = NewCollection();
             if (src == nullptr) return OSStatus(memFullErr);
             OSStatus err = AddCollectionItem(src, kOther, 1, 3, "src");
             if (err == noErr)
                 err = CopyCollection(src, x) == x ? OSStatus(noErr) : OSStatus(memFullErr);
             DisposeCollection(src);
             return err;
         }},
    };
    for (const Case& k : cases) {
        int failures = 0;
        for (int skip = 0;; ++skip) {
            Collection work = NewCollection();
            ASSERT_NE(work, nullptr);
            ASSERT_EQ(CopyCollection(c, work), work);
            HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
            OSStatus err = k.call(work);
            bool injected = HalyxInjectedFailureCount(kHalyxFailAllocation) > 0;
            HalyxResetFailures();
            if (!injected) {
                EXPECT_EQ(err, noErr) << k.name;
                DisposeCollection(work);
                break;
            }
            ++failures;
            EXPECT_EQ(err, memFullErr) << k.name << " failing allocation " << skip;
            EXPECT_EQ(ItemsOf(work), before) << k.name << " failing allocation " << skip;
            DisposeCollection(work);
        }
        EXPECT_GT(failures, 0) << k.name;
    }
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    EXPECT_EQ(NewCollection(), nullptr);
}

}  // namespace
