// What tells one state of a file from another without reading it: its device, inode, size and
// times. Readers that keep what they made of a file use it to know when to read the file again.
#ifndef HALYX_CORE_FILEIDENTITY_H
#define HALYX_CORE_FILEIDENTITY_H

#include <sys/types.h>
#include <time.h>

#include <string>

#include "CoreFoundation/CFURL.h"

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified = {0, 0};
    struct timespec changed = {0, 0};

    bool operator==(const FileIdentity& other) const;
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }

    // The identity of the regular file at `path`; false when there is none.
    static bool Of(const std::string& path, FileIdentity* identity);
    // The file-system path of a file URL; empty when it has none.
    static std::string PathOf(CFURLRef url);

    // File times move in clock ticks: a file changed again within the tick of its last change
    // keeps its times. True when the last change (which nothing can set back) is some ticks old,
    // so that any later change shows in the times.
    bool Settled() const;
};

#endif  // HALYX_CORE_FILEIDENTITY_H
