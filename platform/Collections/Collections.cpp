#include "Collections/Collections.h"

#include <cstring>
#include <new>

#include "Collections/CollectionInternal.h"

using halyx_collections::Item;
using halyx_collections::ItemBytes;
using halyx_collections::ItemTable;

namespace {

bool BadBytes(SInt32 size, const void* data) {
    return size < 0 || (size > 0 && data == nullptr);
}

// Gives the item new bytes; the old ones are freed only once the copy exists.
OSStatus ReplaceBytes(Item& item, SInt32 size, const void* data) {
    if (item.attributes & kCollectionLockMask) return collectionItemLockedErr;
    ItemBytes copy;
    if (!ItemBytes::Make(data, size, &copy)) return memFullErr;
    item.bytes.Free();
    item.bytes = copy;
    return noErr;
}

void ReportInfo(const Item& item, SInt32* itemSize, SInt32* attributes) {
    if (itemSize != nullptr) *itemSize = item.bytes.size;
    if (attributes != nullptr) *attributes = item.attributes;
}

}  // namespace

extern "C" {

Collection NewCollection(void) {
    if (HalyxShouldFail(kHalyxFailAllocation)) return nullptr;
    return new (std::nothrow) OpaqueCollection;
}

void DisposeCollection(Collection c) {
    delete c;
}

Collection CopyCollection(Collection src, Collection dst) {
    if (src == nullptr || dst == nullptr) return nullptr;
    if (src == dst) return dst;
    ItemTable copy;
    const ItemTable& from = src->items;
    SInt32 count = from.Count();
    if (!copy.Reserve(count)) return nullptr;
    for (SInt32 slot = 0; slot < from.SlotCount(); ++slot) {
        const Item& item = from.At(slot);
        if (!item.live) continue;
        ItemBytes bytes;
        if (!ItemBytes::Make(item.bytes.Data(), item.bytes.size, &bytes)) return nullptr;
        copy.Append(item.tag, item.id, item.attributes, bytes);
    }
    dst->items.Swap(copy);
    return dst;
}

OSStatus AddCollectionItem(Collection c, CollectionTag tag, SInt32 id, SInt32 itemSize,
                           const void* itemData) {
    if (c == nullptr || BadBytes(itemSize, itemData)) return paramErr;
    SInt32 slot = c->items.Find(tag, id);
    if (slot >= 0) return ReplaceBytes(c->items.At(slot), itemSize, itemData);
    // Room for the item first, so that a failure leaves no bytes made for it.
    ItemBytes copy;
    if (!c->items.Reserve(1) || !c->items.MakeAdded(itemData, itemSize, &copy)) return memFullErr;
    c->items.Append(tag, id, kCollectionDefaultAttributes, copy);
    return noErr;
}

OSStatus GetCollectionItem(Collection c, CollectionTag tag, SInt32 id, SInt32* itemSize,
                           void* itemData) {
    if (c == nullptr) return paramErr;
    SInt32 slot = c->items.Find(tag, id);
    if (slot < 0) return collectionItemNotFoundErr;
    const Item& item = c->items.At(slot);
    if (itemData == nullptr) {
        if (itemSize != nullptr) *itemSize = item.bytes.size;
        return noErr;
    }
    SInt32 n = item.bytes.size;
    if (itemSize != nullptr) {
        if (*itemSize < 0) return paramErr;
        if (*itemSize < n) n = *itemSize;
        *itemSize = n;
    }
    if (n > 0) std::memcpy(itemData, item.bytes.Data(), static_cast<size_t>(n));
    return noErr;
}

OSStatus GetCollectionItemBytes(Collection c, CollectionTag tag, SInt32 id, SInt32* itemSize,
                                const void** itemData) {
    if (c == nullptr) return paramErr;
    SInt32 slot = c->items.Find(tag, id);
    if (slot < 0) return collectionItemNotFoundErr;
    const Item& item = c->items.At(slot);
    if (itemSize != nullptr) *itemSize = item.bytes.size;
    if (itemData != nullptr) *itemData = item.bytes.Data();
    return noErr;
}

OSStatus GetCollectionItemInfo(Collection c, CollectionTag tag, SInt32 id, SInt32* index,
                               SInt32* itemSize, SInt32* attributes) {
    if (c == nullptr) return paramErr;
    SInt32 slot = c->items.Find(tag, id);
    if (slot < 0) return collectionItemNotFoundErr;
    if (index != nullptr) *index = c->items.IndexOfSlot(slot);
    ReportInfo(c->items.At(slot), itemSize, attributes);
    return noErr;
}

OSStatus SetCollectionItemInfo(Collection c, CollectionTag tag, SInt32 id, SInt32 whichAttributes,
                               SInt32 newAttributes) {
    if (c == nullptr) return paramErr;
    SInt32 slot = c->items.Find(tag, id);
    if (slot < 0) return collectionItemNotFoundErr;
    Item& item = c->items.At(slot);
    item.attributes = (item.attributes & ~whichAttributes) | (newAttributes & whichAttributes);
    return noErr;
}

OSStatus ReplaceIndexedCollectionItem(Collection c, SInt32 index, SInt32 itemSize,
                                      const void* itemData) {
    if (c == nullptr || BadBytes(itemSize, itemData)) return paramErr;
    if (index < 1 || index > c->items.Count()) return collectionIndexRangeErr;
    return ReplaceBytes(c->items.At(c->items.SlotOfIndex(index)), itemSize, itemData);
}

OSStatus RemoveCollectionItem(Collection c, CollectionTag tag, SInt32 id) {
    if (c == nullptr) return paramErr;
    SInt32 slot = c->items.Find(tag, id);
    if (slot < 0) return collectionItemNotFoundErr;
    if (c->items.At(slot).attributes & kCollectionLockMask) return collectionItemLockedErr;
    c->items.Remove(slot);
    return noErr;
}

SInt32 CountCollectionItems(Collection c) {
    return c == nullptr ? 0 : c->items.Count();
}

OSStatus GetIndexedCollectionItemInfo(Collection c, SInt32 index, CollectionTag* tag, SInt32* id,
                                      SInt32* itemSize, SInt32* attributes) {
    if (c == nullptr) return paramErr;
    if (index < 1 || index > c->items.Count()) return collectionIndexRangeErr;
    const Item& item = c->items.At(c->items.SlotOfIndex(index));
    if (tag != nullptr) *tag = item.tag;
    if (id != nullptr) *id = item.id;
    ReportInfo(item, itemSize, attributes);
    return noErr;
}

}  // extern "C"
