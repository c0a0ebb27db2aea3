// The collection record itself, shared by the files of the collection functions.
#ifndef HALYX_PLATFORM_COLLECTIONS_COLLECTIONINTERNAL_H
#define HALYX_PLATFORM_COLLECTIONS_COLLECTIONINTERNAL_H

#include "Collections/CollectionItemTable.h"
#include "Collections/Collections.h"
#include "testing/FailureInjection.h"

struct OpaqueCollection {
    halyx_collections::ItemTable items;
};

#endif  // HALYX_PLATFORM_COLLECTIONS_COLLECTIONINTERNAL_H
