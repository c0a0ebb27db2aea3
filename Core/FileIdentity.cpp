#include "Core/FileIdentity.h"

#include <limits.h>
#include <sys/stat.h>

bool FileIdentity::operator==(const FileIdentity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
           changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

bool FileIdentity::Of(const std::string& path, FileIdentity* identity) {
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    identity->device = info.st_dev;
    identity->inode = info.st_ino;
    identity->size = info.st_size;
    identity->modified = info.st_mtim;
    identity->changed = info.st_ctim;
    return true;
}

std::string FileIdentity::PathOf(CFURLRef url) {
    UInt8 path[PATH_MAX];
    if (url == nullptr || !CFURLGetFileSystemRepresentation(url, true, path, sizeof path))
        return std::string();
    return reinterpret_cast<const char*>(path);
}

bool FileIdentity::Settled() const {
    constexpr long long kSettledNanoseconds = 100 * 1000 * 1000;
    struct timespec now;
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
    const long long last = static_cast<long long>(changed.tv_sec) * 1000000000LL + changed.tv_nsec;
    const long long current = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    return last + kSettledNanoseconds < current;
}
