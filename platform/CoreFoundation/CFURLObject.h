// The object behind CFURLRef (internal).
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFURLOBJECT_H
#define HALYX_PLATFORM_COREFOUNDATION_CFURLOBJECT_H

#include <string>

#include "CoreFoundation/CFObject.h"
#include "CoreFoundation/CFURL.h"

struct __CFURL : public halyxcf::CFObject {
    static constexpr CFTypeID kTypeID = halyxcf::kTypeURL;

    __CFURL() : CFObject(kTypeID) {}
    ~__CFURL() override;

    bool Equal(const CFObject* other) const override {
        return mString == static_cast<const __CFURL*>(other)->mString;
    }
    CFHashCode Hash() const override { return halyxcf::HashBytes(mString.data(), mString.size()); }
    std::string Describe() const override { return mString; }

    std::string mString;  // the whole URL, escaped
    bool mIsFile = false;
    std::string mPath;  // file URLs: the decoded absolute path, no trailing "/" but for the root
    bool mIsDirectory = false;
    mutable CFStringRef mStringRef = nullptr;  // made on the first CFURLGetString
};

namespace halyxcf {

// A new file URL for an absolute or relative POSIX path (UTF-8); NULL for an empty path.
__CFURL* NewFileURL(const std::string& path, bool isDirectory);

}  // namespace halyxcf

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFURLOBJECT_H
