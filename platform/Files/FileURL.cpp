#include "Files/FileURL.h"

#include <sys/stat.h>

#include <cstring>

namespace {

const UInt32 kMaxPath = 4096;

}  // namespace

Boolean CFURLGetFSRef(CFURLRef url, FSRef* fsRef) {
    if (url == nullptr || fsRef == nullptr) return false;
    UInt8 path[kMaxPath];
    if (!CFURLGetFileSystemRepresentation(url, true, path, kMaxPath)) return false;
    FSRef ref;
    if (FSPathMakeRef(path, &ref, nullptr) != noErr) return false;
    *fsRef = ref;
    return true;
}

CFURLRef CFURLCreateFromFSRef(CFAllocatorRef allocator, const FSRef* fsRef) {
    UInt8 path[kMaxPath];
    if (FSRefMakePath(fsRef, path, kMaxPath) != noErr) return nullptr;
    struct stat st;
    if (stat((const char*)path, &st) != 0) return nullptr;
    return CFURLCreateFromFileSystemRepresentation(allocator, path,
                                                   (CFIndex)std::strlen((const char*)path),
                                                   S_ISDIR(st.st_mode) ? true : false);
}
