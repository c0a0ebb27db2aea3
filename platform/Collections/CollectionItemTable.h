// The storage behind a Collection: items in slots in the order they were added, a hash table from
// (tag, id) to slot whose buckets hold the keys themselves (a lookup touches one item at most), and
// a Fenwick tree over the slots' live flags that turns an index into a slot
// and back in logarithmic time once items have been removed.
//
// Removing an item leaves a dead slot; when dead slots outnumber live ones the slots are compacted
// in place, so removal stays amortised constant and memory stays proportional to the live items.
// While no slot is dead, index and slot are the same and the tree is not kept up.
//
// Every allocation goes through the allocation failure hook. Nothing here allocates except Reserve
// and the item bytes the caller hands over, so a caller that reserves first can never be left
// half-way by a failed allocation.
#ifndef HALYX_PLATFORM_COLLECTIONS_COLLECTIONITEMTABLE_H
#define HALYX_PLATFORM_COLLECTIONS_COLLECTIONITEMTABLE_H

#include "Base/MacTypes.h"

namespace halyx_collections {

// malloc / realloc / free that fail when a test has armed allocation failures.
void* Allocate(size_t bytes);
void* Reallocate(void* block, size_t bytes);
void Release(void* block);

// An item's bytes: kept inside the record when they fit in a pointer's room, else an owned block.
// Most records are a 4-byte number, so most items never allocate.
struct ItemBytes {
    static const SInt32 kInline = 8;

    SInt32 size;
    union {
        UInt8* heap;
        UInt8 local[kInline];
    };

    // Copies `size` bytes from `src` into `out`; false (nothing allocated) when memory is short.
    static bool Make(const void* src, SInt32 size, ItemBytes* out);
    const UInt8* Data() const { return size <= kInline ? local : heap; }
    void Free();
};

struct Item {
    FourCharCode tag;
    SInt32 id;
    SInt32 attributes;
    bool live;
    ItemBytes bytes;
};

struct Bucket {
    FourCharCode tag;
    SInt32 id;
    SInt32 slot;  // -1 when unused
};

class ItemTable {
public:
    ItemTable() = default;
    ~ItemTable();
    ItemTable(const ItemTable&) = delete;
    ItemTable& operator=(const ItemTable&) = delete;

    SInt32 Count() const { return mLive; }
    // Slots in use, live or dead; slot order is index order.
    SInt32 SlotCount() const { return mSlots; }

    // The slot of the live item with this key, or -1.
    SInt32 Find(FourCharCode tag, SInt32 id) const;
    Item& At(SInt32 slot) { return mItems[slot]; }
    const Item& At(SInt32 slot) const { return mItems[slot]; }

    // The 1-based index of a live slot, and the slot of an index in 1 ... Count().
    SInt32 IndexOfSlot(SInt32 slot) const;
    SInt32 SlotOfIndex(SInt32 index) const;

    // Makes room for `extra` more Append calls; false (and nothing changed) when memory is short.
    bool Reserve(SInt32 extra);
    // Appends a new item (the key must not be present) and takes ownership of `bytes`.
    // Needs a prior Reserve.
    void Append(FourCharCode tag, SInt32 id, SInt32 attributes, const ItemBytes& bytes);
    // Removes the live item in `slot` and frees its bytes.
    void Remove(SInt32 slot);
    // Frees every item; capacity is kept.
    void Clear();
    void Swap(ItemTable& other);

private:
    static UInt32 HashOf(FourCharCode tag, SInt32 id);
    // The bucket where a key's probe starts: the top bits of its hash.
    UInt32 HomeOf(FourCharCode tag, SInt32 id) const { return HashOf(tag, id) >> mHashShift; }
    void HashInsert(FourCharCode tag, SInt32 id, SInt32 slot);
    void HashErase(FourCharCode tag, SInt32 id);
    void RebuildHash();
    void BuildTree();
    void TreeAdd(SInt32 slot, SInt32 delta);
    SInt32 TreePrefix(SInt32 slots) const;
    void Compact();

    Item* mItems = nullptr;
    SInt32* mTree = nullptr;  // 1-based Fenwick tree over mSlots live flags, mCapacity + 1 entries
    SInt32 mCapacity = 0;
    SInt32 mSlots = 0;  // slots in use, live or dead
    SInt32 mLive = 0;
    bool mTreeValid = false;  // kept up only while some slot is dead

    Bucket* mHash = nullptr;   // linear probing
    UInt32 mHashCapacity = 0;  // a power of two, at least twice the live items
    UInt32 mHashShift = 32;    // 32 - log2(mHashCapacity)
};

}  // namespace halyx_collections

#endif  // HALYX_PLATFORM_COLLECTIONS_COLLECTIONITEMTABLE_H
