// The flattened form of a collection. Every field of the format itself is big-endian, so a form
// written on one host reads on any other; item bytes are stored exactly as they were given.
//
//   offset  size  field
//   0       4     magic "HXCL"
//   4       4     format version (kFormatVersion)
//   8       4     item count
//   12      4     length of the item section that follows, in bytes
//   16      ...   items, in index order: tag, id, attributes, size (4 bytes each), then `size`
//   bytes end-4   4     CRC-32 of every byte before it
//
// A reader accepts a form only when the handle holds exactly these bytes: the right magic and
// version, an item section of the stated length holding exactly the stated count of items, and a
// matching checksum. Anything else is collectionVersionErr.
#include <cstring>

#include "Collections/CollectionChecksum.h"
#include "Collections/CollectionForm.h"
#include "Collections/CollectionInternal.h"
#include "Memory/MacMemory.h"

using halyx_collections::Allocate;
using halyx_collections::Crc32;
using halyx_collections::Item;
using halyx_collections::ItemBytes;
using halyx_collections::ItemTable;
using halyx_collections::Release;

namespace {

const UInt8 kMagic[4] = {'H', 'X', 'C', 'L'};
const UInt32 kFormatVersion = 1;
const size_t kHeaderBytes = halyx_collections::kFormHeaderBytes;
const size_t kItemHeaderBytes = halyx_collections::kFormItemHeaderBytes;
const size_t kTrailerBytes = halyx_collections::kFormTrailerBytes;
using halyx_collections::kLargestForm;

void Put32(UInt8*& p, UInt32 v) {
    p[0] = static_cast<UInt8>(v >> 24);
    p[1] = static_cast<UInt8>(v >> 16);
    p[2] = static_cast<UInt8>(v >> 8);
    p[3] = static_cast<UInt8>(v);
    p += 4;
}

UInt32 Get32(const UInt8*& p) {
    UInt32 v = (static_cast<UInt32>(p[0]) << 24) | (static_cast<UInt32>(p[1]) << 16) |
               (static_cast<UInt32>(p[2]) << 8) | static_cast<UInt32>(p[3]);
    p += 4;
    return v;
}

struct ItemView {
    FourCharCode tag;
    SInt32 id;
    SInt32 attributes;
    SInt32 size;
    const UInt8* bytes;
};

// Reads the item at `p`, which Validate has already checked.
inline ItemView ReadItem(const UInt8*& p) {
    ItemView v;
    v.tag = Get32(p);
    v.id = static_cast<SInt32>(Get32(p));
    v.attributes = static_cast<SInt32>(Get32(p));
    v.size = static_cast<SInt32>(Get32(p));
    v.bytes = p;
    p += v.size;
    return v;
}

// Reads a checked form of `count` items into an empty table, the common case. Each item goes
// straight into its slot and the hash, its key's probe telling whether it repeats one before it.
// Forms we write never repeat a key; one that does is left to the general reading (*duplicate)
// with the table empty again.
OSStatus ReadIntoEmpty(ItemTable& items, const UInt8* first, SInt32 count, size_t room,
                       bool* duplicate) {
    *duplicate = false;
    if (!items.Reserve(count)) return memFullErr;
    UInt8* pool = nullptr;
    if (room > 0 && (pool = ItemBytes::NewPool(room)) == nullptr) return memFullErr;
    size_t at = 0;
    SInt32 placed = 0;
    const UInt8* p = first;
    for (SInt32 i = 0; i < count; ++i) {
        ItemView v = ReadItem(p);
        ItemBytes bytes;
        ItemBytes::MakePooled(v.bytes, v.size, pool, &at, &placed, &bytes);
        if (!items.AppendIfNew(v.tag, v.id, v.attributes, bytes)) {
            // This item's bytes were placed but belong to no item: the pool counts the others.
            ItemBytes::FinishPool(pool, placed - (bytes.pooled ? 1 : 0));
            items.Clear();
            *duplicate = true;
            return noErr;
        }
    }
    ItemBytes::FinishPool(pool, placed);
    return noErr;
}

// Checks the whole form; on success *count is its number of items and *room the pool room their
// bytes take.
bool Validate(const UInt8* form, size_t length, SInt32* count, size_t* room) {
    *room = 0;
    if (length < kHeaderBytes + kTrailerBytes) return false;
    if (std::memcmp(form, kMagic, sizeof kMagic) != 0) return false;
    const UInt8* p = form + sizeof kMagic;
    if (Get32(p) != kFormatVersion) return false;
    UInt32 items = Get32(p);
    UInt32 section = Get32(p);
    if (static_cast<uint64_t>(section) != length - kHeaderBytes - kTrailerBytes) return false;
    const UInt8* end = p + section;
    const UInt8* trailer = end;
    if (Get32(trailer) != Crc32(form, length - kTrailerBytes)) return false;
    if (items > section / kItemHeaderBytes) return false;
    for (UInt32 i = 0; i < items; ++i) {
        if (static_cast<size_t>(end - p) < kItemHeaderBytes) return false;
        const UInt8* sizeField = p + 12;
        UInt32 size = Get32(sizeField);
        if (size > kLargestForm || size > static_cast<size_t>(end - sizeField)) return false;
        *room += ItemBytes::PoolRoom(static_cast<SInt32>(size));
        p = sizeField + size;
    }
    if (p != end) return false;
    *count = static_cast<SInt32>(items);
    return true;
}

}  // namespace

namespace halyx_collections {

void PutFormHeader(UInt8* at, SInt32 count, UInt32 section) {
    std::memcpy(at, kMagic, sizeof kMagic);
    at += sizeof kMagic;
    Put32(at, kFormatVersion);
    Put32(at, static_cast<UInt32>(count));
    Put32(at, section);
}

void PutFormTrailer(UInt8* form, size_t length) {
    UInt8* at = form + length - kTrailerBytes;
    Put32(at, Crc32(form, length - kTrailerBytes));
}

}  // namespace halyx_collections

extern "C" {

OSStatus GetFlattenedCollectionSize(Collection c, Size* length) {
    if (c == nullptr || length == nullptr) return paramErr;
    *length = 0;
    const ItemTable& items = c->items;
    uint64_t section = 0;
    // Slots hold the items in index order, dead ones skipped.
    for (SInt32 slot = 0; slot < items.SlotCount(); ++slot)
        if (items.At(slot).live) section += kItemHeaderBytes + items.At(slot).bytes.size;
    uint64_t total = kHeaderBytes + section + kTrailerBytes;
    if (total > kLargestForm) return memFullErr;
    *length = static_cast<Size>(total);
    return noErr;
}

OSStatus FlattenCollectionToBytes(Collection c, void* bytes, Size length) {
    Size needed = 0;
    OSStatus status = GetFlattenedCollectionSize(c, &needed);
    if (status != noErr) return status;
    if (bytes == nullptr || length != needed) return paramErr;
    const ItemTable& items = c->items;
    UInt8* form = static_cast<UInt8*>(bytes);
    halyx_collections::PutFormHeader(form, items.Count(),
                                     static_cast<UInt32>(length - kHeaderBytes - kTrailerBytes));
    UInt8* p = form + kHeaderBytes;
    for (SInt32 slot = 0; slot < items.SlotCount(); ++slot) {
        const Item& item = items.At(slot);
        if (!item.live) continue;
        SInt32 size = item.bytes.size;
        halyx_collections::PutFormItemHeader(p, item.tag, item.id, item.attributes, size);
        p += kItemHeaderBytes;
        if (size > 0) std::memcpy(p, item.bytes.Data(), static_cast<size_t>(size));
        p += size;
    }
    halyx_collections::PutFormTrailer(form, static_cast<size_t>(length));
    return noErr;
}

OSStatus FlattenCollectionToHdl(Collection c, Handle flattened) {
    if (c == nullptr || flattened == nullptr) return paramErr;
    Size length = 0;
    OSStatus status = GetFlattenedCollectionSize(c, &length);
    if (status != noErr) return status;
    SetHandleSize(flattened, length);
    if (OSErr err = MemError()) return err;
    return FlattenCollectionToBytes(c, *flattened, length);
}

OSStatus UnflattenCollectionFromHdl(Collection c, Handle flattened) {
    if (c == nullptr || flattened == nullptr) return paramErr;
    Size length = GetHandleSize(flattened);
    if (OSErr err = MemError()) return err;
    return UnflattenCollectionFromBytes(c, *flattened, length);
}

OSStatus UnflattenCollectionFromBytes(Collection c, const void* bytes, Size length) {
    if (c == nullptr || length < 0 || (bytes == nullptr && length > 0)) return paramErr;
    const UInt8* form = static_cast<const UInt8*>(bytes);
    SInt32 count = 0;
    size_t room = 0;
    if (!Validate(form, static_cast<size_t>(length), &count, &room)) return collectionVersionErr;

    ItemTable& items = c->items;
    const UInt8* first = form + kHeaderBytes;
    if (items.SlotCount() == 0) {
        bool duplicate;
        OSStatus status = ReadIntoEmpty(items, first, count, room, &duplicate);
        if (!duplicate) return status;
    }
    const UInt8* p = first;
    // An empty collection has nothing locked, which spares reading into a fresh one a pass of
    // lookups.
    for (SInt32 i = 0; i < count && items.Count() > 0; ++i) {
        ItemView v = ReadItem(p);
        SInt32 slot = items.Find(v.tag, v.id);
        if (slot >= 0 && (items.At(slot).attributes & kCollectionLockMask))
            return collectionItemLockedErr;
    }

    // Every allocation happens before the first item changes. The bytes too large to sit in
    // their records share one pool, so that reading a form costs a few allocations, not one per
    // item.
    if (!items.Reserve(count)) return memFullErr;
    UInt8* pool = nullptr;
    if (room > 0 && (pool = ItemBytes::NewPool(room)) == nullptr) return memFullErr;
    ItemBytes* copies =
        static_cast<ItemBytes*>(Allocate(static_cast<size_t>(count) * sizeof(ItemBytes)));
    if (copies == nullptr) {
        Release(pool);
        return memFullErr;
    }
    size_t at = 0;
    SInt32 placed = 0;
    p = first;
    for (SInt32 i = 0; i < count; ++i) {
        ItemView v = ReadItem(p);
        ItemBytes::MakePooled(v.bytes, v.size, pool, &at, &placed, &copies[i]);
    }
    // Nothing fails from here on: every copy goes to an item.
    ItemBytes::FinishPool(pool, placed);

    p = first;
    for (SInt32 i = 0; i < count; ++i) {
        ItemView v = ReadItem(p);
        SInt32 slot = items.Find(v.tag, v.id);
        if (slot < 0) {
            items.Append(v.tag, v.id, v.attributes, copies[i]);
            continue;
        }
        Item& item = items.At(slot);
        item.bytes.Free();
        item.bytes = copies[i];
        item.attributes = v.attributes;
    }
    Release(copies);
    return noErr;
}

}  // extern "C"
