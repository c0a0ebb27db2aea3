// The pieces of a collection's flattened form (laid out in CollectionFlatten.cpp), for a writer
// that builds the form record by record instead of flattening a whole collection: it writes each
// item's header and bytes as it goes, then the form's header and its checksum once the last item
// is in. The bytes come out exactly as FlattenCollectionToBytes would write them for a collection
// holding the same items in the same order.
#ifndef HALYX_PLATFORM_COLLECTIONS_COLLECTIONFORM_H
#define HALYX_PLATFORM_COLLECTIONS_COLLECTIONFORM_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "Base/MacTypes.h"

namespace halyx_collections {

const size_t kFormHeaderBytes = 16;
const size_t kFormItemHeaderBytes = 16;
const size_t kFormTrailerBytes = 4;
// Handles and item sizes are 32-bit quantities: no form is longer than this.
const uint64_t kLargestForm = 0x7fffffff;

// Writes the form's header for `count` items taking `section` bytes (their headers included).
void PutFormHeader(UInt8* at, SInt32 count, UInt32 section);
// A big-endian 32-bit field of the form.
inline void PutFormField(UInt8* at, UInt32 v) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    v = __builtin_bswap32(v);
    std::memcpy(at, &v, sizeof v);
#else
    at[0] = static_cast<UInt8>(v >> 24);
    at[1] = static_cast<UInt8>(v >> 16);
    at[2] = static_cast<UInt8>(v >> 8);
    at[3] = static_cast<UInt8>(v);
#endif
}

// Writes an item's tag, id, attributes and size; its `size` bytes go right after. Inline, since a
// writer calls it once a record.
inline void PutFormItemHeader(UInt8* at, FourCharCode tag, SInt32 id, SInt32 attributes,
                              SInt32 size) {
    PutFormField(at, tag);
    PutFormField(at + 4, static_cast<UInt32>(id));
    PutFormField(at + 8, static_cast<UInt32>(attributes));
    PutFormField(at + 12, static_cast<UInt32>(size));
}
// Writes the checksum of the first `length - kFormTrailerBytes` bytes of `form` after them.
void PutFormTrailer(UInt8* form, size_t length);

}  // namespace halyx_collections

#endif  // HALYX_PLATFORM_COLLECTIONS_COLLECTIONFORM_H
