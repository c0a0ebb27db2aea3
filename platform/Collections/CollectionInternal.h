// What the collection functions share between their files: the collection record itself and the
// copying of item bytes.
#ifndef HALYX_PLATFORM_COLLECTIONS_COLLECTIONINTERNAL_H
#define HALYX_PLATFORM_COLLECTIONS_COLLECTIONINTERNAL_H

#include "Collections/CollectionItemTable.h"
#include "Collections/Collections.h"
#include "testing/FailureInjection.h"

struct OpaqueCollection {
    halyx_collections::ItemTable items;
};

namespace halyx_collections {

// A new block holding `size` bytes copied from `bytes`, or null for 0 bytes; false when memory
// could not be had.
bool CopyBytes(const void* bytes, SInt32 size, UInt8** copy);

}  // namespace halyx_collections

#endif  // HALYX_PLATFORM_COLLECTIONS_COLLECTIONINTERNAL_H
