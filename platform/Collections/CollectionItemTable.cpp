#include "Collections/CollectionItemTable.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "testing/FailureInjection.h"

namespace halyx_collections {

namespace {

const SInt32 kMinimumCapacity = 16;
// Dead slots are compacted away once there are more of them than live items and at least this
// many, so a few removals in a small collection cost nothing.
const SInt32 kCompactAfterDead = 64;
// How far before and after the last item found a lookup looks before it hashes. A control's
// records are read in a slightly different order than they were written, a few slots apart.
const SInt32 kHintBehind = 8;
const SInt32 kHintAhead = 16;
// The room of a pool that items added one at a time share; bytes that would take more than a
// quarter of it get a block of their own, so that little of a pool is left unused.
const size_t kAddPoolBytes = 65536;
const size_t kLargestAddPooled = kAddPoolBytes / 4;

SInt32 PoolUsers(const UInt8* pool) {
    SInt32 users;
    std::memcpy(&users, pool, sizeof users);
    return users;
}

void SetPoolUsers(UInt8* pool, SInt32 users) {
    std::memcpy(pool, &users, sizeof users);
}

SInt32 LowBit(SInt32 i) {
    return i & -i;
}

}  // namespace

void* Allocate(size_t bytes) {
    if (HalyxShouldFail(kHalyxFailAllocation)) return nullptr;
    return std::malloc(bytes > 0 ? bytes : 1);
}

void* Reallocate(void* block, size_t bytes) {
    if (HalyxShouldFail(kHalyxFailAllocation)) return nullptr;
    return std::realloc(block, bytes > 0 ? bytes : 1);
}

void Release(void* block) {
    std::free(block);
}

bool ItemBytes::Make(const void* src, SInt32 size, ItemBytes* out) {
    out->size = size;
    out->pooled = false;
    out->heap = nullptr;
    if (size <= kInline) {
        if (size > 0) std::memcpy(out->local, src, static_cast<size_t>(size));
        return true;
    }
    out->heap = static_cast<UInt8*>(Allocate(static_cast<size_t>(size)));
    if (out->heap == nullptr) return false;
    std::memcpy(out->heap, src, static_cast<size_t>(size));
    return true;
}

UInt8* ItemBytes::NewPool(size_t room) {
    UInt8* pool = static_cast<UInt8*>(Allocate(kPoolHeader + room));
    if (pool != nullptr) SetPoolUsers(pool, 0);
    return pool;
}

void ItemBytes::FinishPool(UInt8* pool, SInt32 placed) {
    if (pool == nullptr) return;
    if (placed == 0)
        Release(pool);
    else
        SetPoolUsers(pool, placed);
}

void ItemBytes::Free() {
    if (size > kInline) {
        if (pooled) {
            UInt32 back;
            std::memcpy(&back, heap - kPoolPrefix, sizeof back);
            UInt8* pool = heap - back;
            SInt32 users = PoolUsers(pool) - 1;
            SetPoolUsers(pool, users);
            if (users == 0) Release(pool);
        } else {
            Release(heap);
        }
    }
    size = 0;
    pooled = false;
    heap = nullptr;
}

ItemTable::~ItemTable() {
    // The hash goes as it is: only the item bytes need freeing.
    for (SInt32 s = 0; s < mSlots; ++s)
        if (mItems[s].live) mItems[s].bytes.Free();
    DropAddPool();
    Release(mItems);
    Release(mTree);
    Release(mHash);
}

void ItemTable::ClearKeys() {
    if (mKeys != nullptr) std::memset(mKeys, 0, (mHashCapacity << kKeyBitsLog2) / 8);
}

SInt32 ItemTable::Find(FourCharCode tag, SInt32 id) const {
    // A key never entered is answered here, before any slot is read.
    if (!MayHold(tag, id)) return -1;
    // Keys are unique among live items, so a live item with the key near the hint is the one.
    // Most reads ask for the hint itself or one of the next few slots: those come first.
    const SInt32 ahead = mHint < mSlots - kHintAhead ? mHint + kHintAhead : mSlots;
    for (SInt32 s = mHint; s < ahead; ++s) {
        const Item& item = mItems[s];
        if (item.tag == tag && item.id == id && item.live) {
            mHint = s;
            return s;
        }
    }
    const SInt32 behind = mHint > kHintBehind ? mHint - kHintBehind : 0;
    for (SInt32 s = mHint < mSlots ? mHint : mSlots; s-- > behind;) {
        const Item& item = mItems[s];
        if (item.tag == tag && item.id == id && item.live) {
            mHint = s;
            return s;
        }
    }
    UInt32 mask = mHashCapacity - 1;
    for (UInt32 b = HomeOf(tag, id);; b = (b + 1) & mask) {
        const Bucket& bucket = mHash[b];
        if (bucket.slot == kEmptyBucket) return -1;
        if (bucket.tag == tag && bucket.id == id) {
            mHint = bucket.slot;
            return bucket.slot;
        }
    }
}

void ItemTable::HashInsert(FourCharCode tag, SInt32 id, SInt32 slot) {
    UInt32 mask = mHashCapacity - 1;
    UInt32 b = HomeOf(tag, id);
    while (mHash[b].slot != kEmptyBucket) b = (b + 1) & mask;
    mHash[b] = Bucket{tag, id, slot};
    NoteKey(tag, id);
}

// Linear probing without tombstones: after emptying a bucket, later entries of the same probe run
// move back into it when their home bucket allows, so lookups never cross stale markers.
void ItemTable::HashErase(FourCharCode tag, SInt32 id) {
    UInt32 mask = mHashCapacity - 1;
    UInt32 i = HomeOf(tag, id);
    while (mHash[i].tag != tag || mHash[i].id != id) i = (i + 1) & mask;
    UInt32 j = i;
    for (;;) {
        j = (j + 1) & mask;
        const Bucket& other = mHash[j];
        if (other.slot == kEmptyBucket) break;
        UInt32 home = HomeOf(other.tag, other.id);
        // Distance from home to j versus from i to j: move when i lies on the way from home to j.
        if (((j - home) & mask) >= ((j - i) & mask)) {
            mHash[i] = other;
            i = j;
        }
    }
    mHash[i].slot = kEmptyBucket;
}

void ItemTable::RebuildHash() {
    for (UInt32 b = 0; b < mHashCapacity; ++b) mHash[b].slot = kEmptyBucket;
    ClearKeys();
    for (SInt32 s = 0; s < mSlots; ++s)
        if (mItems[s].live) HashInsert(mItems[s].tag, mItems[s].id, s);
}

void ItemTable::BuildTree() {
    for (SInt32 i = 1; i <= mSlots; ++i) mTree[i] = mItems[i - 1].live ? 1 : 0;
    for (SInt32 i = 1; i <= mSlots; ++i) {
        SInt32 parent = i + LowBit(i);
        if (parent <= mSlots) mTree[parent] += mTree[i];
    }
    mTreeValid = true;
}

void ItemTable::TreeAdd(SInt32 slot, SInt32 delta) {
    for (SInt32 i = slot + 1; i <= mSlots; i += LowBit(i)) mTree[i] += delta;
}

SInt32 ItemTable::TreePrefix(SInt32 slots) const {
    SInt32 sum = 0;
    for (SInt32 i = slots; i > 0; i -= LowBit(i)) sum += mTree[i];
    return sum;
}

SInt32 ItemTable::IndexOfSlot(SInt32 slot) const {
    return mTreeValid ? TreePrefix(slot + 1) : slot + 1;
}

SInt32 ItemTable::SlotOfIndex(SInt32 index) const {
    if (!mTreeValid) return index - 1;
    // Descends the tree: the largest prefix of slots holding fewer than `index` live items.
    SInt32 pos = 0;
    SInt32 step = 1;
    while (step * 2 <= mSlots) step *= 2;
    for (; step > 0; step /= 2) {
        if (pos + step <= mSlots && mTree[pos + step] < index) {
            pos += step;
            index -= mTree[pos];
        }
    }
    return pos;
}

bool ItemTable::Reserve(SInt32 extra) {
    int64_t slotsNeeded = static_cast<int64_t>(mSlots) + extra;
    int64_t liveNeeded = static_cast<int64_t>(mLive) + extra;
    if (extra < 0 || slotsNeeded > INT32_MAX / 2) return false;

    if (slotsNeeded > mCapacity) {
        int64_t capacity = static_cast<int64_t>(mCapacity) * 2;
        if (capacity < slotsNeeded) capacity = slotsNeeded;
        if (capacity < kMinimumCapacity) capacity = kMinimumCapacity;
        void* items = Reallocate(mItems, static_cast<size_t>(capacity) * sizeof(Item));
        if (items == nullptr) return false;
        mItems = static_cast<Item*>(items);
        // The items array is already larger; a failure here only leaves spare room there.
        void* tree = Reallocate(mTree, static_cast<size_t>(capacity + 1) * sizeof(SInt32));
        if (tree == nullptr) return false;
        mTree = static_cast<SInt32*>(tree);
        mCapacity = static_cast<SInt32>(capacity);
    }

    // At most two buckets in three are used, so that probe runs stay short; a table of many
    // items is then small enough to stay in cache.
    const int64_t bucketsNeeded = liveNeeded + liveNeeded / 2 + 1;
    if (bucketsNeeded > static_cast<int64_t>(mHashCapacity)) {
        UInt32 buckets = static_cast<UInt32>(kMinimumCapacity);
        while (static_cast<int64_t>(buckets) < bucketsNeeded) buckets *= 2;
        // The key set follows the buckets in their block; at least 16 buckets of 12 bytes keep
        // its words aligned.
        const size_t bucketBytes = static_cast<size_t>(buckets) * sizeof(Bucket);
        const size_t keyBytes = (static_cast<size_t>(buckets) << kKeyBitsLog2) / 8;
        UInt8* block = static_cast<UInt8*>(Allocate(bucketBytes + keyBytes));
        if (block == nullptr) return false;
        Bucket* old = mHash;
        UInt32 oldCapacity = mHashCapacity;
        mHash = reinterpret_cast<Bucket*>(block);
        mKeys = reinterpret_cast<UInt64*>(block + bucketBytes);
        mHashCapacity = buckets;
        mHashShift = 32;
        for (UInt32 b = buckets; b > 1; b /= 2) --mHashShift;
        for (UInt32 b = 0; b < buckets; ++b) mHash[b].slot = kEmptyBucket;
        ClearKeys();
        // Homes come from the hash's high bits, so walking the old table in order inserts in
        // nearly ascending order into the new one: the move streams through memory.
        for (UInt32 b = 0; b < oldCapacity; ++b)
            if (old[b].slot != kEmptyBucket) HashInsert(old[b].tag, old[b].id, old[b].slot);
        Release(old);
    }
    return true;
}

bool ItemTable::MakeAdded(const void* src, SInt32 size, ItemBytes* out) {
    const size_t room = ItemBytes::PoolRoom(size);
    if (room == 0 || room > kLargestAddPooled) return ItemBytes::Make(src, size, out);
    if (mAddPool == nullptr || mAddPoolAt + room > kAddPoolBytes) {
        UInt8* pool = ItemBytes::NewPool(kAddPoolBytes);
        if (pool == nullptr) return false;
        DropAddPool();
        SetPoolUsers(pool, 1);
        mAddPool = pool;
    }
    SInt32 placed = 0;
    ItemBytes::MakePooled(src, size, mAddPool, &mAddPoolAt, &placed, out);
    SetPoolUsers(mAddPool, PoolUsers(mAddPool) + placed);
    return true;
}

void ItemTable::DropAddPool() {
    if (mAddPool == nullptr) return;
    SInt32 users = PoolUsers(mAddPool) - 1;
    SetPoolUsers(mAddPool, users);
    if (users == 0) Release(mAddPool);
    mAddPool = nullptr;
    mAddPoolAt = 0;
}

void ItemTable::Append(FourCharCode tag, SInt32 id, SInt32 attributes, const ItemBytes& bytes) {
    SInt32 slot = mSlots++;
    mItems[slot] = Item{tag, id, attributes, true, bytes};
    ++mLive;
    HashInsert(tag, id, slot);
    // The next item added is looked for first around this one.
    mHint = slot;
    if (mTreeValid) TreeAppended(slot);
}

void ItemTable::TreeAppended(SInt32 slot) {
    SInt32 i = slot + 1;
    mTree[i] = 1 + TreePrefix(i - 1) - TreePrefix(i - LowBit(i));
}

void ItemTable::Remove(SInt32 slot) {
    Item& item = mItems[slot];
    HashErase(item.tag, item.id);
    item.bytes.Free();
    item.live = false;
    --mLive;
    if (mLive == 0) {
        mSlots = 0;
        mTreeValid = false;
        return;
    }
    if (mTreeValid)
        TreeAdd(slot, -1);
    else
        BuildTree();
    SInt32 dead = mSlots - mLive;
    if (dead > mLive && dead >= kCompactAfterDead) Compact();
}

void ItemTable::Compact() {
    SInt32 to = 0;
    for (SInt32 from = 0; from < mSlots; ++from)
        if (mItems[from].live) mItems[to++] = mItems[from];
    mSlots = to;
    mTreeValid = false;
    RebuildHash();
}

void ItemTable::Clear() {
    for (SInt32 s = 0; s < mSlots; ++s)
        if (mItems[s].live) mItems[s].bytes.Free();
    mSlots = 0;
    mLive = 0;
    mTreeValid = false;
    for (UInt32 b = 0; b < mHashCapacity; ++b) mHash[b].slot = kEmptyBucket;
    ClearKeys();
}

void ItemTable::Swap(ItemTable& other) {
    std::swap(mItems, other.mItems);
    std::swap(mTree, other.mTree);
    std::swap(mCapacity, other.mCapacity);
    std::swap(mSlots, other.mSlots);
    std::swap(mLive, other.mLive);
    std::swap(mTreeValid, other.mTreeValid);
    std::swap(mHash, other.mHash);
    std::swap(mHashCapacity, other.mHashCapacity);
    std::swap(mHashShift, other.mHashShift);
    std::swap(mKeys, other.mKeys);
    std::swap(mHint, other.mHint);
    std::swap(mAddPool, other.mAddPool);
    std::swap(mAddPoolAt, other.mAddPoolAt);
}

}  // namespace halyx_collections
