// The object behind CFStringRef (internal).
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFSTRINGOBJECT_H
#define HALYX_PLATFORM_COREFOUNDATION_CFSTRINGOBJECT_H

#include <string>
#include <vector>

#include "CoreFoundation/CFObject.h"
#include "CoreFoundation/CFString.h"

struct __CFString : public halyxcf::CFObject {
    static constexpr CFTypeID kTypeID = halyxcf::kTypeString;

    explicit __CFString(bool isMutable) : CFObject(kTypeID), mMutable(isMutable) {}

    bool Equal(const CFObject* other) const override {
        return mChars == static_cast<const __CFString*>(other)->mChars;
    }
    CFHashCode Hash() const override {
        return halyxcf::HashBytes(mChars.data(), mChars.size() * sizeof(UniChar));
    }
    std::string Describe() const override { return UTF8(); }

    std::string UTF8() const;
    void Changed() { mCacheValid = false; }

    // Strings come and go by the dozen while a file is read: freed blocks are kept for reuse.
    static void* operator new(size_t size);
    static void operator delete(void* block, size_t size);

    std::vector<UniChar> mChars;
    bool mMutable;
    // The text of CFStringGetCStringPtr, kept until the next change.
    mutable std::string mCache;
    mutable CFStringEncoding mCacheEncoding = 0;
    mutable bool mCacheValid = false;
};

namespace halyxcf {

// A new string (retain count 1) holding `chars`.
__CFString* NewString(std::vector<UniChar> chars, bool isMutable);
// A new immutable string from UTF-8 text; invalid bytes are read as Mac OS Roman.
CFStringRef NewStringFromUTF8(const std::string& text);

}  // namespace halyxcf

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFSTRINGOBJECT_H
