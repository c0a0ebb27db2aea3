#include "Core/PrinterListFile.h"

#include <limits.h>
#include <sys/stat.h>
#include <time.h>

#include <cstring>
#include <mutex>
#include <string>

#include "CoreFoundation/CFDictionary.h"

namespace {

// What tells one state of a file from another without reading it.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified = {0, 0};
    struct timespec changed = {0, 0};

    bool operator==(const FileIdentity& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec &&
               changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

bool IdentityOf(const std::string& path, FileIdentity* identity) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    identity->device = info.st_dev;
    identity->inode = info.st_ino;
    identity->size = info.st_size;
    identity->modified = info.st_mtim;
    identity->changed = info.st_ctim;
    return true;
}

// File times move in clock ticks: a file changed again within the tick of its last change keeps
// its times. Only a file whose last change (which nothing can set back) is well past, a good many
// ticks, is known by them; a newer one is read again.
bool Settled(const FileIdentity& identity) {
    constexpr long kSettledNanoseconds = 100 * 1000 * 1000;
    struct timespec now;
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
    const long long changed =
        static_cast<long long>(identity.changed.tv_sec) * 1000000000LL + identity.changed.tv_nsec;
    const long long current = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    return changed + kSettledNanoseconds < current;
}

std::string PathOf(CFURLRef url) {
    UInt8 path[PATH_MAX];
    if (url == nullptr || !CFURLGetFileSystemRepresentation(url, true, path, sizeof path))
        return std::string();
    return reinterpret_cast<const char*>(path);
}

// The last printer list read immutably: every dialog that opens reads the same file, which
// changes only when the bundle is installed again. It is read again whenever the file's identity
// differs from the one it had when it was read, and always while its last change is recent.
class LastPrinterList {
public:
    ~LastPrinterList() { Forget(); }

    // The list read from `path` while it had `identity`, retained for the caller; null when none.
    CFPropertyListRef Copy(const std::string& path, const FileIdentity& identity) {
        std::lock_guard<std::mutex> hold(mMutex);
        if (mList == nullptr || path != mPath || !(identity == mIdentity)) return nullptr;
        return CFRetain(mList);
    }
    void Keep(const std::string& path, const FileIdentity& identity, CFPropertyListRef list) {
        std::lock_guard<std::mutex> hold(mMutex);
        if (mList != nullptr) CFRelease(mList);
        mList = CFRetain(list);
        mPath = path;
        mIdentity = identity;
    }

private:
    void Forget() {
        if (mList != nullptr) CFRelease(mList);
        mList = nullptr;
    }

    std::mutex mMutex;
    std::string mPath;
    FileIdentity mIdentity;
    CFPropertyListRef mList = nullptr;
};

LastPrinterList& Last() {
    static LastPrinterList last;
    return last;
}

}  // namespace

PrinterListFile::PrinterListFile(CFURLRef folder, CFPropertyListMutabilityOptions mutability)
    : PropertyListFile(folder, CFSTR("PrinterList.plist")), mNames(nullptr) {
    // Only an immutable list can be shared between readers.
    const bool shared = mutability == kCFPropertyListImmutable;
    const std::string path = shared ? PathOf(mURL) : std::string();
    FileIdentity before;
    const bool known = !path.empty() && IdentityOf(path, &before);
    if (known) mPropertyList = Last().Copy(path, before);
    if (mPropertyList != nullptr) {
        mLoaded = true;
    } else {
        Read(mutability);
        // Kept only when the file did not change while it was read.
        FileIdentity after;
        if (mLoaded && known && Settled(before) && IdentityOf(path, &after) && after == before)
            Last().Keep(path, before, mPropertyList);
    }
    if (mLoaded && CFGetTypeID(mPropertyList) == CFDictionaryGetTypeID()) {
        CFTypeRef names =
            CFDictionaryGetValue(static_cast<CFDictionaryRef>(mPropertyList), CFSTR("PCFILENAME"));
        if (names != nullptr && CFGetTypeID(names) == CFArrayGetTypeID())
            mNames = static_cast<CFArrayRef>(names);
    }
    mLoaded = mNames != nullptr;
}
