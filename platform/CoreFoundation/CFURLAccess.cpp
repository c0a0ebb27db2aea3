// Reading and writing whole files through file URLs.
#include <errno.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "Base/MacErrors.h"
#include "CoreFoundation/CFDataObject.h"
#include "CoreFoundation/CFURL.h"
#include "CoreFoundation/CFURLObject.h"

using halyxcf::CastTo;

namespace {

// Bytes read per call.
constexpr size_t kReadChunk = 65536;

// The one place where host errors become the platform's file statuses.
SInt32 StatusFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case EISDIR:  // a folder where a file was expected
            return fnfErr;
        case ENOTDIR:
            return dirNFErr;
        case EACCES:
        case EPERM:
            return permErr;
        case EROFS:
            return wPrErr;
        case ENOSPC:
        case EDQUOT:
            return dskFulErr;
        case EMFILE:
        case ENFILE:
            return tmfoErr;
        case ENAMETOOLONG:
            return bdNamErr;
        case ENOMEM:
            return memFullErr;
        case EBUSY:
        case ETXTBSY:
            return fBsyErr;
        default:
            return ioErr;
    }
}

bool Fail(SInt32* errorCode, SInt32 status) {
    if (errorCode != nullptr) *errorCode = status;
    return false;
}

}  // namespace

extern "C" {

Boolean CFURLCreateDataAndPropertiesFromResource(CFAllocatorRef, CFURLRef anURL,
                                                 CFDataRef* resourceData,
                                                 CFDictionaryRef* properties, CFArrayRef,
                                                 SInt32* errorCode) {
    if (resourceData != nullptr) *resourceData = nullptr;
    if (properties != nullptr) *properties = nullptr;
    const __CFURL* url = CastTo<__CFURL>(anURL);
    if (url == nullptr || !url->mIsFile) return Fail(errorCode, paramErr);
    int fd = open(url->mPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Fail(errorCode, StatusFromErrno(errno));
    std::vector<UInt8> bytes;
    struct stat info;
    if (fstat(fd, &info) == 0 && info.st_size > 0) bytes.reserve(static_cast<size_t>(info.st_size));
    UInt8 chunk[kReadChunk];
    for (;;) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            int error = errno;
            close(fd);
            return Fail(errorCode, StatusFromErrno(error));
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    close(fd);
    if (resourceData != nullptr) {
        __CFData* data = new __CFData(false);
        data->mBytes.swap(bytes);
        *resourceData = data;
    }
    if (errorCode != nullptr) *errorCode = noErr;
    return true;
}

Boolean HalyxCFURLCreateMappedDataFromResource(CFURLRef anURL, CFDataRef* resourceData,
                                               SInt32* errorCode) {
    if (resourceData == nullptr) return Fail(errorCode, paramErr);
    *resourceData = nullptr;
    const __CFURL* url = CastTo<__CFURL>(anURL);
    if (url == nullptr || !url->mIsFile) return Fail(errorCode, paramErr);
    int fd = open(url->mPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Fail(errorCode, StatusFromErrno(errno));
    struct stat info;
    void* mapped = MAP_FAILED;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
        mapped = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (mapped == MAP_FAILED)
        return CFURLCreateDataAndPropertiesFromResource(kCFAllocatorDefault, anURL, resourceData,
                                                        nullptr, nullptr, errorCode);
    __CFData* data = new __CFData(false);
    data->mMapped = static_cast<const UInt8*>(mapped);
    data->mMappedLength = static_cast<size_t>(info.st_size);
    *resourceData = data;
    if (errorCode != nullptr) *errorCode = noErr;
    return true;
}

Boolean CFURLWriteDataAndPropertiesToResource(CFURLRef anURL, CFDataRef dataToWrite,
                                              CFDictionaryRef, SInt32* errorCode) {
    const __CFURL* url = CastTo<__CFURL>(anURL);
    if (url == nullptr || !url->mIsFile) return Fail(errorCode, paramErr);
    if (url->mIsDirectory) {
        if (mkdir(url->mPath.c_str(), 0755) != 0 && errno != EEXIST)
            return Fail(errorCode, StatusFromErrno(errno));
        if (errorCode != nullptr) *errorCode = noErr;
        return true;
    }
    int fd = open(url->mPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return Fail(errorCode, StatusFromErrno(errno));
    const __CFData* data = CastTo<__CFData>(dataToWrite);
    size_t done = 0;
    size_t size = data == nullptr ? 0 : data->Length();
    while (done < size) {
        ssize_t n = write(fd, data->Bytes() + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            int error = errno;
            close(fd);
            return Fail(errorCode, StatusFromErrno(error));
        }
        done += static_cast<size_t>(n);
    }
    if (close(fd) != 0) return Fail(errorCode, StatusFromErrno(errno));
    if (errorCode != nullptr) *errorCode = noErr;
    return true;
}

}  // extern "C"
