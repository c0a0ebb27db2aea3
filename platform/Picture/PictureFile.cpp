// Where a picture goes: checking the path, and the statuses of a file that cannot be written.
#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "Picture/Picture.h"
#include "Picture/PictureFile.h"

namespace halyx_picture {

OSStatus StatusFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return dirNFErr;
        case EACCES:
        case EPERM:
            return permErr;
        case EROFS:
            return wPrErr;
        case EISDIR:
        case ENAMETOOLONG:
            return bdNamErr;
        case ENOSPC:
        case EDQUOT:
            return dskFulErr;
        case EMFILE:
        case ENFILE:
            return tmfoErr;
        case ENOMEM:
            return memFullErr;
        default:
            return ioErr;
    }
}

}  // namespace halyx_picture

OSStatus HalyxCheckPicturePath(const char* path) {
    if (path == nullptr || *path == '\0') return paramErr;
    struct stat info;
    if (stat(path, &info) == 0) {
        if (S_ISDIR(info.st_mode)) return bdNamErr;
        return access(path, W_OK) == 0 ? OSStatus{noErr} : halyx_picture::StatusFromErrno(errno);
    }
    if (errno != ENOENT) return halyx_picture::StatusFromErrno(errno);
    const std::string full(path);
    const size_t slash = full.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : full.substr(0, slash);
    if (stat(folder.c_str(), &info) != 0) return halyx_picture::StatusFromErrno(errno);
    if (!S_ISDIR(info.st_mode)) return dirNFErr;
    return access(folder.c_str(), W_OK | X_OK) == 0 ? OSStatus{noErr}
                                                    : halyx_picture::StatusFromErrno(errno);
}

const char* HalyxPictureStatusText(OSStatus status) {
    switch (status) {
        case noErr:
            return "written";
        case paramErr:
            return "there is no window to draw, or no file name";
        case memFullErr:
            return "out of memory";
        case bdNamErr:
            return "the path names a folder, or is too long";
        case dirNFErr:
            return "its folder does not exist";
        case permErr:
            return "permission denied";
        case wPrErr:
            return "the volume is read-only";
        case dskFulErr:
            return "no space left on the volume";
        case tmfoErr:
            return "too many files open";
        default:
            return "write error";
    }
}
