// The storage behind a Collection: items in slots in the order they were added, a hash table from
// (tag, id) to slot whose buckets hold the keys themselves (a lookup touches one item at most), and
// a Fenwick tree over the slots' live flags that turns an index into a slot
// and back in logarithmic time once items have been removed.
//
// Removing an item leaves a dead slot; when dead slots outnumber live ones the slots are compacted
// in place, so removal stays amortised constant and memory stays proportional to the live items.
// While no slot is dead, index and slot are the same and the tree is not kept up.
//
// Lookups try the few slots around the last item found before they hash: a store is mostly read
// back in about the order it was written, and those slots are in cache where a hash probe is not.
// The remembered slot is only a starting guess, so lookups on one table must not run on several
// threads at once. Before that, a bit set of the keys entered (one bit a key, eight bits a hash
// bucket) answers most lookups of absent keys, many of them optional records, without a scan.
// Removing an item leaves its bit set, which only costs such a lookup the full search.
//
// Bytes of items added one at a time go into shared pools of kAddPoolBytes as well, the table
// holding the pool it fills: a model writing its records does not pay a heap block per record.
//
// Every allocation goes through the allocation failure hook. Nothing here allocates except Reserve,
// MakeAdded and the item bytes the caller hands over, so a caller that reserves first can never be
// left half-way by a failed allocation.
#ifndef HALYX_PLATFORM_COLLECTIONS_COLLECTIONITEMTABLE_H
#define HALYX_PLATFORM_COLLECTIONS_COLLECTIONITEMTABLE_H

#include <cstring>

#include "Base/MacTypes.h"

namespace halyx_collections {

// malloc / realloc / free that fail when a test has armed allocation failures.
void* Allocate(size_t bytes);
void* Reallocate(void* block, size_t bytes);
void Release(void* block);

// An item's bytes: kept inside the record when they fit in a pointer's room, else an owned block
// or a place in a shared pool. Most records are a 4-byte number, so most items never allocate.
//
// A pool holds the bytes of many items made at once (an unflattened form) in one allocation: a
// count of the items placed in it, then each item's bytes after the distance back to the pool's
// start. Freeing the last of them releases the pool.
struct ItemBytes {
    static const SInt32 kInline = 8;

    SInt32 size;
    bool pooled;
    union {
        UInt8* heap;
        UInt8 local[kInline];
    };

    // A pool starts with the count of items placed in it; each item's bytes follow the distance
    // back to the pool's start.
    static constexpr size_t kPoolHeader = 8;
    static constexpr size_t kPoolPrefix = sizeof(UInt32);

    // Copies the 0 to kInline bytes of an item kept inside its record with a few fixed-width
    // moves (two that may overlap), not a call.
    static void CopyInline(const void* src, SInt32 size, UInt8* to) {
        const UInt8* from = static_cast<const UInt8*>(src);
        if (size >= 4) {
            std::memcpy(to, from, 4);
            std::memcpy(to + size - 4, from + size - 4, 4);
        } else if (size > 0) {
            to[0] = from[0];
            to[size / 2] = from[size / 2];
            to[size - 1] = from[size - 1];
        }
    }
    // Copies `size` bytes from `src` into `out`; false (nothing allocated) when memory is short.
    static bool Make(const void* src, SInt32 size, ItemBytes* out);
    // The pool room that bytes of `size` take; 0 for bytes kept inside the record.
    static size_t PoolRoom(SInt32 size) {
        return size > kInline ? kPoolPrefix + static_cast<size_t>(size) : 0;
    }
    // A pool of `room` bytes (the sum of PoolRoom over the items it will hold), or null when
    // memory is short.
    static UInt8* NewPool(size_t room);
    // Copies `size` bytes from `src` into `out`, at *at in `pool` when they do not fit inside the
    // record; *at moves past them and *placed counts them. The pool must have room. The pool's
    // count of users is left alone: FinishPool gives it once every item is placed.
    static void MakePooled(const void* src, SInt32 size, UInt8* pool, size_t* at, SInt32* placed,
                           ItemBytes* out) {
        out->size = size;
        out->pooled = false;
        out->heap = nullptr;
        if (size <= kInline) {
            CopyInline(src, size, out->local);
            return;
        }
        const UInt32 back = static_cast<UInt32>(kPoolHeader + *at + kPoolPrefix);
        UInt8* place = pool + back;
        std::memcpy(place - kPoolPrefix, &back, sizeof back);
        std::memcpy(place, src, static_cast<size_t>(size));
        *at += kPoolPrefix + static_cast<size_t>(size);
        ++*placed;
        out->pooled = true;
        out->heap = place;
    }
    // Gives a pool (or null) the count of items placed in it; a pool without any is released.
    static void FinishPool(UInt8* pool, SInt32 placed);
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
    // Copies `size` bytes for an item about to be appended into `out`: inside the record, at the
    // end of the pool the table fills, or in a block of their own when they are large. False
    // (nothing allocated, the table as it was) when memory is short.
    bool MakeAdded(const void* src, SInt32 size, ItemBytes* out);
    // Appends a new item (the key must not be present) and takes ownership of `bytes`.
    // Needs a prior Reserve.
    void Append(FourCharCode tag, SInt32 id, SInt32 attributes, const ItemBytes& bytes);
    // Appends like Append unless the key is present: then false, the table as it was and `bytes`
    // still the caller's. The slot remembered for lookups stays where it was. Needs a prior
    // Reserve.
    bool AppendIfNew(FourCharCode tag, SInt32 id, SInt32 attributes, const ItemBytes& bytes) {
        // Inline: a form's reader calls it once an item.
        const UInt32 mask = mHashCapacity - 1;
        UInt32 b = HomeOf(tag, id);
        for (; mHash[b].slot != kEmptyBucket; b = (b + 1) & mask)
            if (mHash[b].tag == tag && mHash[b].id == id) return false;
        const SInt32 slot = mSlots++;
        mHash[b] = Bucket{tag, id, slot};
        NoteKey(tag, id);
        mItems[slot] = Item{tag, id, attributes, true, bytes};
        ++mLive;
        if (mTreeValid) TreeAppended(slot);
        return true;
    }
    // Removes the live item in `slot` and frees its bytes.
    void Remove(SInt32 slot);
    // Frees every item; capacity is kept.
    void Clear();
    void Swap(ItemTable& other);

private:
    static const SInt32 kEmptyBucket = -1;
    // Bits of the key set per hash bucket, as a shift.
    static const UInt32 kKeyBitsLog2 = 3;

    // Two multiplications spread both the tag and the id over the top bits, which give both the
    // bucket where a key's probe starts and, with three more, its bit in the key set.
    static UInt32 HashOf(FourCharCode tag, SInt32 id) {
        return ((tag * 0x9e3779b1u) ^ static_cast<UInt32>(id)) * 0x85ebca77u;
    }
    // The bucket where a key's probe starts: the top bits of its hash.
    UInt32 HomeOf(FourCharCode tag, SInt32 id) const { return HashOf(tag, id) >> mHashShift; }
    // Whether the key may be present: false only when no item with it was entered since the bit
    // set was last cleared.
    bool MayHold(FourCharCode tag, SInt32 id) const {
        if (mKeys == nullptr) return false;
        const UInt32 bit = HashOf(tag, id) >> (mHashShift - kKeyBitsLog2);
        return (mKeys[bit / 64] >> (bit % 64)) & 1;
    }
    void NoteKey(FourCharCode tag, SInt32 id) {
        const UInt32 bit = HashOf(tag, id) >> (mHashShift - kKeyBitsLog2);
        mKeys[bit / 64] |= UInt64(1) << (bit % 64);
    }
    void ClearKeys();
    // Enters a slot just appended into the tree while the tree is kept up.
    void TreeAppended(SInt32 slot);
    void HashInsert(FourCharCode tag, SInt32 id, SInt32 slot);
    void HashErase(FourCharCode tag, SInt32 id);
    void RebuildHash();
    void BuildTree();
    void TreeAdd(SInt32 slot, SInt32 delta);
    SInt32 TreePrefix(SInt32 slots) const;
    void Compact();
    // Lets go of the pool being filled; it goes once its last item does.
    void DropAddPool();

    Item* mItems = nullptr;
    SInt32* mTree = nullptr;  // 1-based Fenwick tree over mSlots live flags, mCapacity + 1 entries
    SInt32 mCapacity = 0;
    SInt32 mSlots = 0;  // slots in use, live or dead
    SInt32 mLive = 0;
    bool mTreeValid = false;  // kept up only while some slot is dead

    Bucket* mHash = nullptr;   // linear probing
    UInt32 mHashCapacity = 0;  // a power of two, at least 1.5 times the live items
    UInt32 mHashShift = 32;    // 32 - log2(mHashCapacity)
    UInt64* mKeys = nullptr;   // 8 * mHashCapacity bits, in the block of mHash
    mutable SInt32 mHint = 0;  // the slot of the last item found or appended

    UInt8* mAddPool = nullptr;  // the pool MakeAdded fills, counted as one of its users
    size_t mAddPoolAt = 0;      // room of it already given out
};

}  // namespace halyx_collections

#endif  // HALYX_PLATFORM_COLLECTIONS_COLLECTIONITEMTABLE_H
