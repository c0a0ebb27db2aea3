#include "Resources/ResourceMap.h"

#include <cerrno>
#include <cstdlib>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFPropertyList.h"
#include "CoreFoundation/CFString.h"

namespace halyx::resources {

namespace {

const size_t kMaxEntryBytes = 255;  // a Str255 holds 255 bytes after its length

// Releases a platform value when it leaves scope.
class Owned {
public:
    explicit Owned(CFTypeRef value) : mValue(value) {}
    ~Owned() {
        if (mValue != nullptr) CFRelease(mValue);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    CFTypeRef Get() const { return mValue; }

private:
    CFTypeRef mValue;
};

bool IsA(CFTypeRef value, CFTypeID type) {
    return value != nullptr && CFGetTypeID(value) == type;
}

// A resource id written as decimal text.
bool ParseId(CFTypeRef key, SInt16* id) {
    if (!IsA(key, CFStringGetTypeID())) return false;
    char text[16];
    if (!CFStringGetCString((CFStringRef)key, text, sizeof text, kCFStringEncodingASCII))
        return false;
    if (text[0] == '\0') return false;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < -32768 || value > 32767) return false;
    *id = (SInt16)value;
    return true;
}

std::string ToSystemEncoding(CFStringRef text) {
    UInt8 bytes[kMaxEntryBytes];
    CFIndex used = 0;
    CFStringGetBytes(text, CFRangeMake(0, CFStringGetLength(text)), kCFStringEncodingMacRoman, '?',
                     false, bytes, (CFIndex)sizeof bytes, &used);
    return std::string((const char*)bytes, (size_t)used);
}

bool ReadStringList(CFTypeRef value, std::vector<std::string>* entries) {
    if (!IsA(value, CFArrayGetTypeID())) return false;
    CFArrayRef array = (CFArrayRef)value;
    CFIndex count = CFArrayGetCount(array);
    for (CFIndex i = 0; i < count; ++i) {
        CFTypeRef entry = CFArrayGetValueAtIndex(array, i);
        if (!IsA(entry, CFStringGetTypeID())) return false;
        entries->push_back(ToSystemEncoding((CFStringRef)entry));
    }
    return true;
}

// Fills `lists` from the root dictionary; false when its shape is wrong.
bool ReadRoot(CFDictionaryRef root, std::map<SInt16, std::vector<std::string>>* lists) {
    CFIndex typeCount = CFDictionaryGetCount(root);
    std::vector<const void*> types((size_t)typeCount), byType((size_t)typeCount);
    CFDictionaryGetKeysAndValues(root, types.data(), byType.data());
    for (CFIndex t = 0; t < typeCount; ++t) {
        if (!IsA(types[t], CFStringGetTypeID()) || !IsA(byType[t], CFDictionaryGetTypeID())) {
            return false;
        }
        bool isStringList = CFEqual(types[t], CFSTR("STR#"));
        CFDictionaryRef resources = (CFDictionaryRef)byType[t];
        CFIndex count = CFDictionaryGetCount(resources);
        std::vector<const void*> ids((size_t)count), values((size_t)count);
        CFDictionaryGetKeysAndValues(resources, ids.data(), values.data());
        for (CFIndex i = 0; i < count; ++i) {
            SInt16 id;
            if (!ParseId(ids[i], &id)) return false;
            if (!isStringList) continue;
            std::vector<std::string> entries;
            if (!ReadStringList(values[i], &entries)) return false;
            (*lists)[id] = std::move(entries);
        }
    }
    return true;
}

}  // namespace

OSErr ResourceMap::Load(const UInt8* bytes, size_t length) {
    mStringLists.clear();
    if (bytes == nullptr || length == 0) return mapReadErr;
    Owned data(CFDataCreate(nullptr, bytes, (CFIndex)length));
    if (data.Get() == nullptr) return mapReadErr;
    Owned root(CFPropertyListCreateWithData(nullptr, (CFDataRef)data.Get(),
                                            kCFPropertyListImmutable, nullptr, nullptr));
    if (!IsA(root.Get(), CFDictionaryGetTypeID())) return mapReadErr;
    std::map<SInt16, std::vector<std::string>> lists;
    if (!ReadRoot((CFDictionaryRef)root.Get(), &lists)) return mapReadErr;
    mStringLists = std::move(lists);
    return noErr;
}

bool ResourceMap::IndString(SInt16 listID, SInt16 index, std::string* text) const {
    auto found = mStringLists.find(listID);
    if (found == mStringLists.end() || index < 1 || (size_t)index > found->second.size()) {
        return false;
    }
    *text = found->second[(size_t)index - 1];
    return true;
}

}  // namespace halyx::resources
