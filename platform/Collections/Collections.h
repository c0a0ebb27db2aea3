// Keyed collections: items of bytes, each keyed by a four-character tag and a signed 32-bit id,
// with 32-bit attribute bits per item.
//
// Items keep the order in which they were first added; indexed calls count from 1 in that order.
// Lookups by (tag, id) are hashed, and removing items keeps later lookups and indexed walks cheap,
// so a collection of a million items behaves like one of a thousand.
//
// A collection flattens into a handle in a byte format of our own and unflattens from it (see
// CollectionFlatten.cpp for the layout). Unflattening checks the whole form before it changes
// anything: a form that cannot be read, an item that is locked in the collection, or memory that
// cannot be had leave the collection exactly as it was.
//
// Statuses: noErr; paramErr (-50) for a null collection, a negative size or null bytes with a
// positive size; memFullErr (-108) when memory could not be had (nothing changes); and the
// service's own codes below. Allocations can be made to fail through the kHalyxFailAllocation hook.
#ifndef HALYX_PLATFORM_COLLECTIONS_COLLECTIONS_H
#define HALYX_PLATFORM_COLLECTIONS_COLLECTIONS_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
    collectionItemLockedErr = -5750,  // the item is locked: its data cannot change, nor be removed
    collectionItemNotFoundErr = -5751,  // no item with that tag and id
    collectionIndexRangeErr = -5752,    // an index outside 1 ... CountCollectionItems
    collectionVersionErr = -5753        // a flattened form that cannot be read
};

// Attribute bits. Bits 0-15 belong to the caller; the service gives meaning to the lock bit only.
// The persistence bit is set on every new item and otherwise carried along unchanged (every item
// is flattened, whatever its attributes).
enum { kCollectionUser0Bit = 0, kCollectionPersistenceBit = 30, kCollectionLockBit = 31 };
enum {
    kCollectionNoAttributes = 0x00000000,
    kCollectionAllAttributes = (SInt32)0xFFFFFFFF,
    kCollectionUserAttributes = 0x0000FFFF,
    kCollectionPersistenceMask = 1 << kCollectionPersistenceBit,
    kCollectionLockMask = (SInt32)(1u << kCollectionLockBit),
    kCollectionDefaultAttributes = kCollectionPersistenceMask
};

typedef FourCharCode CollectionTag;
typedef struct OpaqueCollection* Collection;

// A new empty collection; null when memory could not be had.
Collection NewCollection(void);
// Frees the collection and every item; null is ignored.
void DisposeCollection(Collection c);
// Makes `dst` an exact copy of `src` (its own items are dropped) and returns `dst`; returns null
// and leaves `dst` unchanged when either is null or memory could not be had.
Collection CopyCollection(Collection src, Collection dst);

// Adds an item with the default attributes, or replaces the bytes of the item with that tag and id
// (its attributes and place stay). A locked item refuses with collectionItemLockedErr.
OSStatus AddCollectionItem(Collection c, CollectionTag tag, SInt32 id, SInt32 itemSize,
                           const void* itemData);

// Copies an item's bytes. `itemData` null: only *itemSize is set, to the item's size. Otherwise
// `itemSize` null copies the whole item; else *itemSize bytes at most are copied and *itemSize is
// set to the number copied. collectionItemNotFoundErr when there is no such item.
OSStatus GetCollectionItem(Collection c, CollectionTag tag, SInt32 id, SInt32* itemSize,
                           void* itemData);

// Points *itemData at an item's bytes without copying them and sets *itemSize to their number
// (either out may be null). The bytes stay valid until the collection is next changed or
// disposed of. collectionItemNotFoundErr when there is no such item.
OSStatus GetCollectionItemBytes(Collection c, CollectionTag tag, SInt32 id, SInt32* itemSize,
                                const void** itemData);

// The item's index (from 1), size and attributes; any out pointer may be null.
OSStatus GetCollectionItemInfo(Collection c, CollectionTag tag, SInt32 id, SInt32* index,
                               SInt32* itemSize, SInt32* attributes);

// Sets the attribute bits selected by `whichAttributes` to those of `newAttributes`; the others
// stay. Works on locked items too, so that they can be unlocked.
OSStatus SetCollectionItemInfo(Collection c, CollectionTag tag, SInt32 id, SInt32 whichAttributes,
                               SInt32 newAttributes);

// Replaces the bytes of the item at `index`; collectionIndexRangeErr outside the items,
// collectionItemLockedErr for a locked item.
OSStatus ReplaceIndexedCollectionItem(Collection c, SInt32 index, SInt32 itemSize,
                                      const void* itemData);

// Removes the item; later items move one index down. A locked item refuses.
OSStatus RemoveCollectionItem(Collection c, CollectionTag tag, SInt32 id);

// The number of items; 0 for a null collection.
SInt32 CountCollectionItems(Collection c);

// Tag, id, size and attributes of the item at `index` (from 1); any out pointer may be null.
OSStatus GetIndexedCollectionItemInfo(Collection c, SInt32 index, CollectionTag* tag, SInt32* id,
                                      SInt32* itemSize, SInt32* attributes);

// Resizes `flattened` to the collection's flattened form and writes it there. paramErr for a null
// collection or handle; memFullErr when the handle cannot grow (it keeps its old size and bytes).
OSStatus FlattenCollectionToHdl(Collection c, Handle flattened);

// The flattened form in two steps, for a caller that owns the memory it goes to (this service's
// own addition): its length in bytes, then the form written into exactly that many bytes.
// paramErr for a null collection or out pointer, or for a length other than the form's;
// memFullErr when the form would be larger than a handle can be.
OSStatus GetFlattenedCollectionSize(Collection c, Size* length);
OSStatus FlattenCollectionToBytes(Collection c, void* bytes, Size length);

// Adds the items of a flattened form to the collection, as AddCollectionItem would, in their
// order, with their attributes. collectionVersionErr when the handle does not hold exactly one
// readable flattened form; collectionItemLockedErr when it would replace a locked item;
// memFullErr. On any error the collection is left as it was.
OSStatus UnflattenCollectionFromHdl(Collection c, Handle flattened);

// As UnflattenCollectionFromHdl, for a form that lies in memory outside a handle (this service's
// own addition): paramErr for a null collection, a negative length or null bytes with a positive
// length.
OSStatus UnflattenCollectionFromBytes(Collection c, const void* bytes, Size length);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_COLLECTIONS_COLLECTIONS_H
