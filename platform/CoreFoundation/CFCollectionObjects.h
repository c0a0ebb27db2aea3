// The objects behind CFArrayRef and CFDictionaryRef (internal).
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFCOLLECTIONOBJECTS_H
#define HALYX_PLATFORM_COREFOUNDATION_CFCOLLECTIONOBJECTS_H

#include <string>
#include <unordered_map>
#include <vector>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFObject.h"

struct __CFArray : public halyxcf::CFObject {
    static constexpr CFTypeID kTypeID = halyxcf::kTypeArray;

    __CFArray(const CFArrayCallBacks* callBacks, bool isMutable);
    ~__CFArray() override;

    bool Equal(const CFObject* other) const override;
    CFHashCode Hash() const override { return mValues.size(); }
    std::string Describe() const override;

    const void* RetainOne(const void* value) const;
    void ReleaseOne(const void* value) const;
    bool ValuesEqual(const void* a, const void* b) const;

    CFArrayCallBacks mCallBacks = {0, nullptr, nullptr, nullptr, nullptr};
    std::vector<const void*> mValues;
    bool mMutable;
};

struct __CFDictionary : public halyxcf::CFObject {
    static constexpr CFTypeID kTypeID = halyxcf::kTypeDictionary;

    __CFDictionary(const CFDictionaryKeyCallBacks* keyCallBacks,
                   const CFDictionaryValueCallBacks* valueCallBacks, bool isMutable);
    ~__CFDictionary() override;

    bool Equal(const CFObject* other) const override;
    CFHashCode Hash() const override { return mEntries.size(); }
    std::string Describe() const override;

    // Index of `key` in mEntries, or -1.
    long Find(const void* key) const;
    // Stores key and value (retaining both), replacing the value of an existing key.
    void Set(const void* key, const void* value);
    void RemoveAt(size_t index);
    void Clear();
    bool ValuesEqual(const void* a, const void* b) const;

    struct Entry {
        const void* key;
        const void* value;
        CFHashCode hash;
    };

    CFDictionaryKeyCallBacks mKeyCallBacks = {0, nullptr, nullptr, nullptr, nullptr, nullptr};
    CFDictionaryValueCallBacks mValueCallBacks = {0, nullptr, nullptr, nullptr, nullptr};
    std::vector<Entry> mEntries;                         // in insertion order
    std::unordered_multimap<CFHashCode, size_t> mIndex;  // hash -> position in mEntries
    bool mMutable;

private:
    CFHashCode HashKey(const void* key) const;
    void RebuildIndex();
};

namespace halyxcf {

// The description of one stored value: through the callback when there is one, else the pointer.
std::string DescribeValue(const void* value, CFStringRef (*copyDescription)(const void*));

}  // namespace halyxcf

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFCOLLECTIONOBJECTS_H
