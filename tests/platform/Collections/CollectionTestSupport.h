// Reads a collection back through its indexed calls, so tests can compare whole collections
// without going through the flattened form.
#ifndef HALYX_TESTS_PLATFORM_COLLECTIONS_COLLECTIONTESTSUPPORT_H
#define HALYX_TESTS_PLATFORM_COLLECTIONS_COLLECTIONTESTSUPPORT_H

#include <string>
#include <tuple>
#include <vector>

#include "Collections/Collections.h"

struct ItemRecord {
    CollectionTag tag;
    SInt32 id;
    SInt32 attributes;
    std::string bytes;
    bool operator==(const ItemRecord& o) const {
        return std::tie(tag, id, attributes, bytes) == std::tie(o.tag, o.id, o.attributes, o.bytes);
    }
};

inline std::vector<ItemRecord> ItemsOf(Collection c) {
    std::vector<ItemRecord> out;
    SInt32 n = CountCollectionItems(c);
    for (SInt32 i = 1; i <= n; ++i) {
        ItemRecord r{};
        SInt32 size = 0;
        if (GetIndexedCollectionItemInfo(c, i, &r.tag, &r.id, &size, &r.attributes) != noErr) break;
        r.bytes.assign(static_cast<size_t>(size), '\0');
        SInt32 got = size;
        if (GetCollectionItem(c, r.tag, r.id, &got, &r.bytes[0]) != noErr || got != size) break;
        out.push_back(r);
    }
    return out;
}

#endif  // HALYX_TESTS_PLATFORM_COLLECTIONS_COLLECTIONTESTSUPPORT_H
