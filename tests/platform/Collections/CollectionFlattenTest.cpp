#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "CollectionTestSupport.h"
#include "Collections/Collections.h"
#include "Memory/MacMemory.h"
#include "testing/FailureInjection.h"

namespace {

const CollectionTag kTag = HALYX_FOUR_CHAR('a', 'b', 'c', 'd');

std::string Flatten(Collection c) {
    Handle h = NewHandle(0);
    std::string out;
    if (FlattenCollectionToHdl(c, h) == noErr)
        out.assign(*h, static_cast<size_t>(GetHandleSize(h)));
    DisposeHandle(h);
    return out;
}

OSStatus Unflatten(Collection c, const std::string& form) {
    Handle h = NewHandle(static_cast<Size>(form.size()));
    if (!form.empty()) std::memcpy(*h, form.data(), form.size());
    OSStatus err = UnflattenCollectionFromHdl(c, h);
    DisposeHandle(h);
    return err;
}

class CollectionFlattenTest : public ::testing::Test {
protected:
    void SetUp() override {
        c = NewCollection();
        ASSERT_NE(c, nullptr);
    }
    void TearDown() override { DisposeCollection(c); }
    Collection c = nullptr;
};

TEST_F(CollectionFlattenTest, HundredThousandRecordsRoundTripLosslessly) {
    std::mt19937 rng(77);
    for (SInt32 i = 0; i < 100000; ++i) {
        std::string bytes(rng() % 24, '\0');
        for (char& ch : bytes) ch = static_cast<char>(rng());
        CollectionTag tag = static_cast<CollectionTag>(rng());
        SInt32 id = static_cast<SInt32>(rng());
        ASSERT_EQ(AddCollectionItem(c, tag, id, static_cast<SInt32>(bytes.size()), bytes.data()),
                  noErr);
        ASSERT_EQ(
            SetCollectionItemInfo(c, tag, id, kCollectionAllAttributes, static_cast<SInt32>(rng())),
            noErr);
    }
    // Removals leave dead slots that must not reach the form.
    for (SInt32 index = 1; index < CountCollectionItems(c); index += 1000) {
        CollectionTag tag;
        SInt32 id, attributes;
        ASSERT_EQ(GetIndexedCollectionItemInfo(c, index, &tag, &id, nullptr, &attributes), noErr);
        SetCollectionItemInfo(c, tag, id, kCollectionLockMask, 0);
        ASSERT_EQ(RemoveCollectionItem(c, tag, id), noErr);
    }
    std::vector<ItemRecord> before = ItemsOf(c);
    ASSERT_GT(before.size(), 99000u);

    Collection back = NewCollection();
    const std::string form = Flatten(c);
    ASSERT_EQ(Unflatten(back, form), noErr);
    EXPECT_TRUE(ItemsOf(back) == before);
    DisposeCollection(back);

    // Written into memory of the caller's, the form is the same bytes, and only into its length.
    Size length = 0;
    ASSERT_EQ(GetFlattenedCollectionSize(c, &length), noErr);
    ASSERT_EQ(static_cast<size_t>(length), form.size());
    std::string direct(form.size(), '\0');
    ASSERT_EQ(FlattenCollectionToBytes(c, &direct[0], length), noErr);
    EXPECT_TRUE(direct == form);
    EXPECT_EQ(FlattenCollectionToBytes(c, &direct[0], length - 1), paramErr);
}

TEST_F(CollectionFlattenTest, FormHasFixedByteOrderAndKeepsItemBytesAsGiven) {
    const UInt8 value[] = {1, 2, 3};
    ASSERT_EQ(AddCollectionItem(c, kTag, 0x01020304, 3, value), noErr);
    std::string form = Flatten(c);
    ASSERT_EQ(form.size(), 16u + 16u + 3u + 4u);
    EXPECT_EQ(form.substr(0, 4), "HXCL");
    EXPECT_EQ(form.substr(16, 4), "abcd");
    EXPECT_EQ(form.substr(20, 4), std::string("\x01\x02\x03\x04", 4));
    EXPECT_EQ(form.substr(32, 3), std::string("\x01\x02\x03", 3));

    Collection empty = NewCollection();
    std::string emptyForm = Flatten(empty);
    EXPECT_EQ(emptyForm.size(), 20u);
    ASSERT_EQ(Unflatten(empty, emptyForm), noErr);
    EXPECT_EQ(CountCollectionItems(empty), 0);
    DisposeCollection(empty);
}

TEST_F(CollectionFlattenTest, UnflattenAddsToExistingItemsReplacingSameKeys) {
    Collection source = NewCollection();
    ASSERT_EQ(AddCollectionItem(source, kTag, 2, 3, "TWO"), noErr);
    ASSERT_EQ(AddCollectionItem(source, kTag, 3, 5, "three"), noErr);
    ASSERT_EQ(SetCollectionItemInfo(source, kTag, 2, 0xff, 0x21), noErr);
    std::string form = Flatten(source);
    DisposeCollection(source);

    ASSERT_EQ(AddCollectionItem(c, kTag, 1, 3, "one"), noErr);
    ASSERT_EQ(AddCollectionItem(c, kTag, 2, 3, "two"), noErr);
    ASSERT_EQ(Unflatten(c, form), noErr);
    std::vector<ItemRecord> items = ItemsOf(c);
    std::vector<ItemRecord> expected = {
        {kTag, 1, kCollectionDefaultAttributes, "one"},
        {kTag, 2, kCollectionDefaultAttributes | 0x21, "TWO"},
        {kTag, 3, kCollectionDefaultAttributes, "three"},
    };
    EXPECT_EQ(items, expected);

    // A locked item that the form would replace refuses the whole form.
    ASSERT_EQ(AddCollectionItem(c, kTag, 2, 3, "two"), noErr);
    ASSERT_EQ(RemoveCollectionItem(c, kTag, 3), noErr);
    ASSERT_EQ(SetCollectionItemInfo(c, kTag, 2, kCollectionLockMask, kCollectionLockMask), noErr);
    std::vector<ItemRecord> locked = ItemsOf(c);
    EXPECT_EQ(Unflatten(c, form), collectionItemLockedErr);
    EXPECT_EQ(ItemsOf(c), locked);
}

// Every truncation, every extension and every single-bit change of a valid form is refused, and
// the collection it was read into keeps exactly what it held.
TEST_F(CollectionFlattenTest, DamagedFormsAreRefusedWithoutTouchingTheCollection) {
    Collection source = NewCollection();
    for (SInt32 id = 0; id < 6; ++id)
        ASSERT_EQ(AddCollectionItem(source, kTag + static_cast<CollectionTag>(id), id * 1000 + 1,
                                    static_cast<SInt32>(id), "payload"),
                  noErr);
    const std::string form = Flatten(source);
    DisposeCollection(source);

    ASSERT_EQ(AddCollectionItem(c, kTag, 0, 4, "mine"), noErr);
    const std::vector<ItemRecord> before = ItemsOf(c);

    for (size_t n = 0; n < form.size(); ++n) {
        ASSERT_EQ(Unflatten(c, form.substr(0, n)), collectionVersionErr) << "truncated to " << n;
    }
    EXPECT_EQ(Unflatten(c, form + '\0'), collectionVersionErr);
    EXPECT_EQ(Unflatten(c, form + form), collectionVersionErr);
    for (size_t bit = 0; bit < form.size() * 8; ++bit) {
        std::string bad = form;
        bad[bit / 8] = static_cast<char>(bad[bit / 8] ^ (1 << (bit % 8)));
        ASSERT_EQ(Unflatten(c, bad), collectionVersionErr) << "bit " << bit;
    }
    EXPECT_EQ(ItemsOf(c), before);
    EXPECT_EQ(Unflatten(c, form), noErr);
    EXPECT_EQ(CountCollectionItems(c), 7);
}

// A form in the layout Flatten writes, made by hand so that it can repeat a key.
struct FormItem {
    CollectionTag tag;
    SInt32 id;
    SInt32 attributes;
    std::string bytes;
};

std::string MakeForm(const std::vector<FormItem>& items) {
    auto put = [](std::string& out, UInt32 v) {
        for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(v >> shift);
    };
    std::string section;
    for (const FormItem& item : items) {
        put(section, item.tag);
        put(section, static_cast<UInt32>(item.id));
        put(section, static_cast<UInt32>(item.attributes));
        put(section, static_cast<UInt32>(item.bytes.size()));
        section += item.bytes;
    }
    std::string form = "HXCL";
    put(form, 1);
    put(form, static_cast<UInt32>(items.size()));
    put(form, static_cast<UInt32>(section.size()));
    form += section;
    UInt32 crc = 0xffffffffu;
    for (unsigned char byte : form) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xedb88320u ^ (crc >> 1) : crc >> 1;
    }
    put(form, crc ^ 0xffffffffu);
    return form;
}

// A form read into an empty collection takes a faster way than one read into a collection that
// holds items: both must end the same, a repeated key included, and both must fail whole.
TEST_F(CollectionFlattenTest, FormsReadIntoAnEmptyCollectionAsIntoAnyOther) {
    std::vector<FormItem> items;
    for (SInt32 i = 0; i < 1500; ++i)
        items.push_back(
            {kTag + static_cast<CollectionTag>(i % 7), i * 3, i & 0xff,
             std::string(static_cast<size_t>(i % 40), static_cast<char>('a' + i % 26))});
    items[1400] = {items[3].tag, items[3].id, 0x55, "the later bytes of a repeated key"};
    const std::string form = MakeForm(items);

    ASSERT_EQ(Unflatten(c, form), noErr);
    Collection general = NewCollection();
    ASSERT_EQ(AddCollectionItem(general, 0, 0, 1, "x"), noErr);
    ASSERT_EQ(Unflatten(general, form), noErr);
    ASSERT_EQ(RemoveCollectionItem(general, 0, 0), noErr);
    EXPECT_EQ(CountCollectionItems(c), 1499);
    EXPECT_EQ(ItemsOf(c), ItemsOf(general));

    // Bytes read together are released one by one as items are removed, replaced and copied.
    for (Collection each : {c, general}) {
        for (SInt32 i = 0; i < 1500; i += 3) RemoveCollectionItem(each, items[i].tag, items[i].id);
        for (SInt32 i = 1; i < 1500; i += 5)
            AddCollectionItem(each, items[i].tag, items[i].id, 12, "replacement!");
    }
    Collection copy = NewCollection();
    ASSERT_EQ(CopyCollection(c, copy), copy);
    EXPECT_EQ(ItemsOf(c), ItemsOf(general));
    EXPECT_EQ(ItemsOf(copy), ItemsOf(general));
    DisposeCollection(copy);
    DisposeCollection(general);

    HalyxFailureScope scope;
    for (int skip = 0;; ++skip) {
        Collection empty = NewCollection();
        Handle h = NewHandle(static_cast<Size>(form.size()));
        std::memcpy(*h, form.data(), form.size());
        HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
        OSStatus err = UnflattenCollectionFromHdl(empty, h);
        bool injected = HalyxInjectedFailureCount(kHalyxFailAllocation) > 0;
        HalyxResetFailures();
        EXPECT_TRUE(err == noErr || err == memFullErr) << "skip " << skip;
        EXPECT_EQ(CountCollectionItems(empty), err == noErr ? 1499 : 0) << "skip " << skip;
        DisposeHandle(h);
        DisposeCollection(empty);
        if (!injected) break;
        ASSERT_LT(skip, 100);
    }
}

// The checksum that ends a form is the common CRC-32 whatever the form's length and wherever it
// lies in memory: forms checked with a plain bitwise CRC are read, and written back byte for byte.
TEST_F(CollectionFlattenTest, ChecksumIsThePlainCrcAtAnyLengthAndAlignment) {
    for (size_t extra = 0; extra < 40; ++extra) {
        std::vector<FormItem> items;
        for (SInt32 i = 0; i < 5; ++i)
            items.push_back({kTag, i, 0, std::string(extra * 3 + static_cast<size_t>(i), 'q')});
        const std::string form = MakeForm(items);
        for (size_t offset = 0; offset < 16; offset += 5) {
            const std::string buffer = std::string(offset, ' ') + form;
            Collection back = NewCollection();
            ASSERT_EQ(UnflattenCollectionFromBytes(back, buffer.data() + offset,
                                                   static_cast<Size>(form.size())),
                      noErr)
                << form.size() << " bytes at offset " << offset;
            EXPECT_EQ(Flatten(back), form);
            DisposeCollection(back);
        }
    }
}

TEST_F(CollectionFlattenTest, AllocationFailuresLeaveNoPartialState) {
    HalyxFailureScope scope;
    Collection source = NewCollection();
    for (SInt32 id = 0; id < 50; ++id)
        ASSERT_EQ(AddCollectionItem(source, kTag, id, 16, "a longer payload"), noErr);
    const std::string form = Flatten(source);
    DisposeCollection(source);
    ASSERT_EQ(AddCollectionItem(c, kTag, 3, 3, "old"), noErr);
    const std::vector<ItemRecord> before = ItemsOf(c);

    int failures = 0;
    for (int skip = 0;; ++skip) {
        Handle h = NewHandle(static_cast<Size>(form.size()));
        std::memcpy(*h, form.data(), form.size());
        Collection work = NewCollection();
        ASSERT_EQ(CopyCollection(c, work), work);
        HalyxInjectFailures(kHalyxFailAllocation, skip, 1);
        OSStatus err = UnflattenCollectionFromHdl(work, h);
        bool injected = HalyxInjectedFailureCount(kHalyxFailAllocation) > 0;
        HalyxResetFailures();
        DisposeHandle(h);
        if (!injected) {
            EXPECT_EQ(err, noErr);
            EXPECT_EQ(CountCollectionItems(work), 50);
            DisposeCollection(work);
            break;
        }
        ++failures;
        EXPECT_EQ(err, memFullErr) << "failing allocation " << skip;
        EXPECT_EQ(ItemsOf(work), before) << "failing allocation " << skip;
        DisposeCollection(work);
    }
    // The reserve, the pool of item bytes and the work list can each fail.
    EXPECT_GE(failures, 3);

    // A handle that cannot grow keeps its old bytes.
    Handle small = NewHandle(2);
    std::memcpy(*small, "ok", 2);
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    EXPECT_EQ(FlattenCollectionToHdl(c, small), memFullErr);
    HalyxResetFailures();
    EXPECT_EQ(GetHandleSize(small), 2);
    EXPECT_EQ(std::memcmp(*small, "ok", 2), 0);
    DisposeHandle(small);
}

}  // namespace
