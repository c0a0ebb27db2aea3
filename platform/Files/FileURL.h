// Conversions between file URLs and file references.
#ifndef HALYX_PLATFORM_FILES_FILEURL_H
#define HALYX_PLATFORM_FILES_FILEURL_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFURL.h"
#include "Files/FileRecords.h"

#ifdef __cplusplus
extern "C" {
#endif

// The reference of the existing object a file URL names; false (and *fsRef untouched) when the
// URL has no file-system path or nothing exists there.
Boolean CFURLGetFSRef(CFURLRef url, FSRef* fsRef);

// A file URL for `fsRef` (a directory URL for a directory); null for a bad reference or an object
// that no longer exists. The caller releases it.
CFURLRef CFURLCreateFromFSRef(CFAllocatorRef allocator, const FSRef* fsRef);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_FILES_FILEURL_H
