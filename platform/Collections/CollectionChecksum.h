// The checksum that ends a flattened collection: the common reflected CRC-32 (polynomial
// 0xedb88320, initial and final value 0xffffffff).
#ifndef HALYX_PLATFORM_COLLECTIONS_COLLECTIONCHECKSUM_H
#define HALYX_PLATFORM_COLLECTIONS_COLLECTIONCHECKSUM_H

#include <cstddef>

#include "Base/MacTypes.h"

namespace halyx_collections {

UInt32 Crc32(const UInt8* bytes, size_t count);

}  // namespace halyx_collections

#endif  // HALYX_PLATFORM_COLLECTIONS_COLLECTIONCHECKSUM_H
