#include "CoreFoundation/CFDictionary.h"

#include <cstdio>

#include "CoreFoundation/CFCollectionObjects.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFStringObject.h"

using halyxcf::CastTo;

namespace {

const void* RetainValue(CFAllocatorRef, const void* value) {
    return CFRetain(value);
}
void ReleaseValue(CFAllocatorRef, const void* value) {
    CFRelease(value);
}
const void* CopyStringKey(CFAllocatorRef, const void* value) {
    if (CFGetTypeID(value) == CFStringGetTypeID())
        return CFStringCreateCopy(nullptr, static_cast<CFStringRef>(value));
    return CFRetain(value);
}

__CFDictionary* Mutable(CFMutableDictionaryRef theDict) {
    __CFDictionary* dict = CastTo<__CFDictionary>(theDict);
    return dict != nullptr && dict->mMutable ? dict : nullptr;
}

}  // namespace

extern "C" {
const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = {
    0, RetainValue, ReleaseValue, CFCopyDescription, CFEqual, CFHash};
const CFDictionaryKeyCallBacks kCFCopyStringDictionaryKeyCallBacks = {
    0, CopyStringKey, ReleaseValue, CFCopyDescription, CFEqual, CFHash};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = {0, RetainValue, ReleaseValue,
                                                                    CFCopyDescription, CFEqual};
}

namespace halyxcf {

std::string DescribeValue(const void* value, CFStringRef (*copyDescription)(const void*)) {
    if (copyDescription != nullptr && value != nullptr) {
        CFStringRef description = copyDescription(value);
        const __CFString* str = CastTo<__CFString>(description);
        std::string text = str != nullptr ? str->UTF8() : std::string();
        CFRelease(description);
        return text;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%p", value);
    return text;
}

}  // namespace halyxcf

__CFDictionary::__CFDictionary(const CFDictionaryKeyCallBacks* keyCallBacks,
                               const CFDictionaryValueCallBacks* valueCallBacks, bool isMutable)
    : CFObject(kTypeID), mMutable(isMutable) {
    if (keyCallBacks != nullptr) mKeyCallBacks = *keyCallBacks;
    if (valueCallBacks != nullptr) mValueCallBacks = *valueCallBacks;
}

__CFDictionary::~__CFDictionary() {
    Clear();
}

CFHashCode __CFDictionary::HashKey(const void* key) const {
    if (mKeyCallBacks.hash != nullptr) return mKeyCallBacks.hash(key);
    return reinterpret_cast<CFHashCode>(key);
}

long __CFDictionary::Find(const void* key) const {
    auto range = mIndex.equal_range(HashKey(key));
    for (auto it = range.first; it != range.second; ++it) {
        const void* stored = mEntries[it->second].key;
        if (stored == key || (mKeyCallBacks.equal != nullptr && mKeyCallBacks.equal(stored, key)))
            return static_cast<long>(it->second);
    }
    return -1;
}

void __CFDictionary::Set(const void* key, const void* value) {
    const void* newValue =
        mValueCallBacks.retain != nullptr ? mValueCallBacks.retain(nullptr, value) : value;
    long found = Find(key);
    if (found >= 0) {
        Entry& entry = mEntries[static_cast<size_t>(found)];
        const void* old = entry.value;
        entry.value = newValue;
        if (mValueCallBacks.release != nullptr) mValueCallBacks.release(nullptr, old);
        return;
    }
    const void* newKey = mKeyCallBacks.retain != nullptr ? mKeyCallBacks.retain(nullptr, key) : key;
    CFHashCode hash = HashKey(newKey);
    mEntries.push_back(Entry{newKey, newValue, hash});
    mIndex.emplace(hash, mEntries.size() - 1);
}

void __CFDictionary::RemoveAt(size_t index) {
    Entry entry = mEntries[index];
    mEntries.erase(mEntries.begin() + static_cast<long>(index));
    RebuildIndex();
    if (mKeyCallBacks.release != nullptr) mKeyCallBacks.release(nullptr, entry.key);
    if (mValueCallBacks.release != nullptr) mValueCallBacks.release(nullptr, entry.value);
}

void __CFDictionary::Clear() {
    std::vector<Entry> old;
    old.swap(mEntries);
    mIndex.clear();
    for (const Entry& entry : old) {
        if (mKeyCallBacks.release != nullptr) mKeyCallBacks.release(nullptr, entry.key);
        if (mValueCallBacks.release != nullptr) mValueCallBacks.release(nullptr, entry.value);
    }
}

void __CFDictionary::RebuildIndex() {
    mIndex.clear();
    for (size_t i = 0; i < mEntries.size(); ++i) mIndex.emplace(mEntries[i].hash, i);
}

bool __CFDictionary::ValuesEqual(const void* a, const void* b) const {
    if (a == b) return true;
    return mValueCallBacks.equal != nullptr && mValueCallBacks.equal(a, b);
}

bool __CFDictionary::Equal(const CFObject* other) const {
    const __CFDictionary* that = static_cast<const __CFDictionary*>(other);
    if (mEntries.size() != that->mEntries.size()) return false;
    for (const Entry& entry : mEntries) {
        long found = that->Find(entry.key);
        if (found < 0 ||
            !ValuesEqual(entry.value, that->mEntries[static_cast<size_t>(found)].value))
            return false;
    }
    return true;
}

std::string __CFDictionary::Describe() const {
    std::string text = "{";
    for (size_t i = 0; i < mEntries.size(); ++i) {
        if (i > 0) text += "; ";
        text += halyxcf::DescribeValue(mEntries[i].key, mKeyCallBacks.copyDescription);
        text += " = ";
        text += halyxcf::DescribeValue(mEntries[i].value, mValueCallBacks.copyDescription);
    }
    return text + "}";
}

extern "C" {

CFTypeID CFDictionaryGetTypeID(void) {
    return __CFDictionary::kTypeID;
}

CFDictionaryRef CFDictionaryCreate(CFAllocatorRef, const void** keys, const void** values,
                                   CFIndex numValues, const CFDictionaryKeyCallBacks* keyCallBacks,
                                   const CFDictionaryValueCallBacks* valueCallBacks) {
    if (numValues < 0 || (numValues > 0 && (keys == nullptr || values == nullptr))) return nullptr;
    __CFDictionary* dict = new __CFDictionary(keyCallBacks, valueCallBacks, false);
    for (CFIndex i = 0; i < numValues; ++i) dict->Set(keys[i], values[i]);
    return dict;
}

static __CFDictionary* CopyOf(CFDictionaryRef theDict, bool isMutable) {
    const __CFDictionary* source = CastTo<__CFDictionary>(theDict);
    if (source == nullptr) return nullptr;
    __CFDictionary* dict =
        new __CFDictionary(&source->mKeyCallBacks, &source->mValueCallBacks, isMutable);
    for (const __CFDictionary::Entry& entry : source->mEntries) dict->Set(entry.key, entry.value);
    return dict;
}

CFDictionaryRef CFDictionaryCreateCopy(CFAllocatorRef, CFDictionaryRef theDict) {
    return CopyOf(theDict, false);
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks) {
    __CFDictionary* dict = new __CFDictionary(keyCallBacks, valueCallBacks, true);
    if (capacity > 0) {
        dict->mEntries.reserve(static_cast<size_t>(capacity));
        dict->mIndex.reserve(static_cast<size_t>(capacity));
    }
    return dict;
}

CFMutableDictionaryRef CFDictionaryCreateMutableCopy(CFAllocatorRef, CFIndex,
                                                     CFDictionaryRef theDict) {
    return CopyOf(theDict, true);
}

CFIndex CFDictionaryGetCount(CFDictionaryRef theDict) {
    const __CFDictionary* dict = CastTo<__CFDictionary>(theDict);
    return dict == nullptr ? 0 : static_cast<CFIndex>(dict->mEntries.size());
}

CFIndex CFDictionaryGetCountOfKey(CFDictionaryRef theDict, const void* key) {
    return CFDictionaryContainsKey(theDict, key) ? 1 : 0;
}

Boolean CFDictionaryContainsKey(CFDictionaryRef theDict, const void* key) {
    const __CFDictionary* dict = CastTo<__CFDictionary>(theDict);
    return dict != nullptr && dict->Find(key) >= 0;
}

Boolean CFDictionaryContainsValue(CFDictionaryRef theDict, const void* value) {
    const __CFDictionary* dict = CastTo<__CFDictionary>(theDict);
    if (dict == nullptr) return false;
    for (const __CFDictionary::Entry& entry : dict->mEntries) {
        if (dict->ValuesEqual(entry.value, value)) return true;
    }
    return false;
}

const void* CFDictionaryGetValue(CFDictionaryRef theDict, const void* key) {
    const void* value = nullptr;
    CFDictionaryGetValueIfPresent(theDict, key, &value);
    return value;
}

Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef theDict, const void* key,
                                      const void** value) {
    const __CFDictionary* dict = CastTo<__CFDictionary>(theDict);
    if (dict == nullptr) return false;
    long found = dict->Find(key);
    if (found < 0) return false;
    if (value != nullptr) *value = dict->mEntries[static_cast<size_t>(found)].value;
    return true;
}

void CFDictionaryGetKeysAndValues(CFDictionaryRef theDict, const void** keys, const void** values) {
    const __CFDictionary* dict = CastTo<__CFDictionary>(theDict);
    if (dict == nullptr) return;
    for (size_t i = 0; i < dict->mEntries.size(); ++i) {
        if (keys != nullptr) keys[i] = dict->mEntries[i].key;
        if (values != nullptr) values[i] = dict->mEntries[i].value;
    }
}

void CFDictionaryApplyFunction(CFDictionaryRef theDict, CFDictionaryApplierFunction applier,
                               void* context) {
    const __CFDictionary* dict = CastTo<__CFDictionary>(theDict);
    if (dict == nullptr || applier == nullptr) return;
    // A snapshot, so that an applier that looks the dictionary up sees stable entries.
    std::vector<__CFDictionary::Entry> entries = dict->mEntries;
    for (const __CFDictionary::Entry& entry : entries) applier(entry.key, entry.value, context);
}

void CFDictionarySetValue(CFMutableDictionaryRef theDict, const void* key, const void* value) {
    __CFDictionary* dict = Mutable(theDict);
    if (dict != nullptr) dict->Set(key, value);
}

void CFDictionaryAddValue(CFMutableDictionaryRef theDict, const void* key, const void* value) {
    __CFDictionary* dict = Mutable(theDict);
    if (dict != nullptr && dict->Find(key) < 0) dict->Set(key, value);
}

void CFDictionaryReplaceValue(CFMutableDictionaryRef theDict, const void* key, const void* value) {
    __CFDictionary* dict = Mutable(theDict);
    if (dict != nullptr && dict->Find(key) >= 0) dict->Set(key, value);
}

void CFDictionaryRemoveValue(CFMutableDictionaryRef theDict, const void* key) {
    __CFDictionary* dict = Mutable(theDict);
    if (dict == nullptr) return;
    long found = dict->Find(key);
    if (found >= 0) dict->RemoveAt(static_cast<size_t>(found));
}

void CFDictionaryRemoveAllValues(CFMutableDictionaryRef theDict) {
    __CFDictionary* dict = Mutable(theDict);
    if (dict != nullptr) dict->Clear();
}

}  // extern "C"
