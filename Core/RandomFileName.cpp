#include "Core/RandomFileName.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "PrintCore/ToolboxRandom.h"
#include "testing/FailureInjection.h"

CFStringRef CreateRandomFileName(const char* prefix, char* buffer) {
    unsigned number = static_cast<UInt16>(Random());
    char text[kRandomFileNameBufferSize];
    if (prefix != nullptr)
        snprintf(text, sizeof text, "%s%u", prefix, number);
    else
        snprintf(text, sizeof text, "%u", number);
    if (buffer != nullptr) memcpy(buffer, text, strlen(text) + 1);
    return CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingMacRoman);
}

namespace {
OSStatus StatusOfErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return fnfErr;
        case EACCES:
        case EPERM:
            return permErr;
        case ENOSPC:
        case EDQUOT:
            return dskFulErr;
        case EROFS:
            return wPrErr;
        default:
            return ioErr;
    }
}

bool WriteAll(int fd, const UInt8* bytes, CFIndex length) {
    while (length > 0) {
        ssize_t written = write(fd, bytes, static_cast<size_t>(length));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += written;
        length -= written;
    }
    return true;
}
}  // namespace

OSStatus CreateExclusiveRandomFile(const char* prefix, CFDataRef data, char* path) {
    path[0] = '\0';
    if (data == nullptr) return paramErr;
    for (int attempt = 0; attempt < kRandomFileNameAttempts; ++attempt) {
        char name[kRandomFileNameBufferSize];
        CFStringRef text = CreateRandomFileName(prefix, name);
        if (text == nullptr) return memFullErr;
        CFRelease(text);
        if (HalyxShouldFail(kHalyxFailFileOpen)) return ioErr;
        // O_EXCL with O_CREAT refuses any existing name, a symbolic link included, so nothing is
        // ever opened through a link planted at the name; O_NOFOLLOW says so once more.
        int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno == EEXIST || errno == ELOOP) continue;
            return StatusOfErrno(errno);
        }
        // The mode does not depend on the process's file-creation mask.
        bool written =
            fchmod(fd, 0644) == 0 && WriteAll(fd, CFDataGetBytePtr(data), CFDataGetLength(data));
        int writeError = errno;
        if (close(fd) != 0 && written) {
            written = false;
            writeError = errno;
        }
        if (!written) {
            unlink(name);
            return StatusOfErrno(writeError);
        }
        memcpy(path, name, strlen(name) + 1);
        return noErr;
    }
    return dupFNErr;
}
