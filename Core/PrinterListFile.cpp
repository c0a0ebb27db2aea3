#include "Core/PrinterListFile.h"

#include <mutex>
#include <string>

#include "CoreFoundation/CFDictionary.h"
#include "Core/FileIdentity.h"

namespace {

// The last printer list read immutably: every dialog that opens reads the same file, which
// changes only when the bundle is installed again. It is read again whenever the file's identity
// differs from the one it had when it was read, and always while its last change is recent.
class LastPrinterList {
public:
    ~LastPrinterList() { Forget(); }

    // The list read from `path` while it had `identity`, retained for the caller; null when none.
    CFPropertyListRef Copy(const std::string& path, const FileIdentity& identity) {
        std::lock_guard<std::mutex> hold(mMutex);
        if (mList == nullptr || path != mPath || identity != mIdentity) return nullptr;
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
    const std::string path = shared ? FileIdentity::PathOf(mURL) : std::string();
    FileIdentity before;
    const bool known = shared && FileIdentity::Of(path, &before);
    if (known) mPropertyList = Last().Copy(path, before);
    if (mPropertyList != nullptr) {
        mLoaded = true;
    } else {
        Read(mutability);
        // Kept only when the file did not change while it was read.
        FileIdentity after;
        if (mLoaded && known && before.Settled() && FileIdentity::Of(path, &after) &&
            after == before)
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
