// Deep copies of property-list trees.
#include "CoreFoundation/CFCollectionObjects.h"
#include "CoreFoundation/CFDataObject.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFPropertyList.h"
#include "CoreFoundation/CFStringObject.h"

using halyxcf::CastTo;

namespace {

// Same limit as reading and writing.
constexpr int kMaxDepth = 512;

// A copy owned by the caller, or NULL when the tree holds something else.
CFTypeRef Copy(CFTypeRef value, CFOptionFlags option, int depth) {
    if (value == nullptr || depth > kMaxDepth) return nullptr;
    bool mutableContainers = option != kCFPropertyListImmutable;
    bool mutableLeaves = option == kCFPropertyListMutableContainersAndLeaves;
    // An immutable leaf wanted immutable is shared: nothing can change it, and a large data
    // value (a snapshot, a PPD's bytes) is not copied again.
    if (const __CFString* str = CastTo<__CFString>(value)) {
        if (!mutableLeaves && !str->mMutable) return CFRetain(value);
        return halyxcf::NewString(str->mChars, mutableLeaves);
    }
    if (const __CFData* data = CastTo<__CFData>(value)) {
        if (!mutableLeaves && !data->mMutable) return CFRetain(value);
        return halyxcf::NewData(data->Bytes(), data->Length(), mutableLeaves);
    }
    if (CFGetTypeID(value) == CFNumberGetTypeID() || CFGetTypeID(value) == CFBooleanGetTypeID())
        return CFRetain(value);  // immutable values are shared
    if (const __CFArray* array = CastTo<__CFArray>(value)) {
        __CFArray* copy = new __CFArray(&kCFTypeArrayCallBacks, mutableContainers);
        for (const void* item : array->mValues) {
            CFTypeRef itemCopy = Copy(item, option, depth + 1);
            if (itemCopy == nullptr) {
                CFRelease(copy);
                return nullptr;
            }
            copy->mValues.push_back(itemCopy);  // the copy's reference moves into the array
        }
        return copy;
    }
    if (const __CFDictionary* dict = CastTo<__CFDictionary>(value)) {
        __CFDictionary* copy = new __CFDictionary(
            &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks, mutableContainers);
        for (const __CFDictionary::Entry& entry : dict->mEntries) {
            CFTypeRef keyCopy = Copy(entry.key, kCFPropertyListImmutable, depth + 1);
            CFTypeRef valueCopy = Copy(entry.value, option, depth + 1);
            if (keyCopy != nullptr && valueCopy != nullptr) copy->Set(keyCopy, valueCopy);
            CFRelease(keyCopy);
            CFRelease(valueCopy);
            if (keyCopy == nullptr || valueCopy == nullptr) {
                CFRelease(copy);
                return nullptr;
            }
        }
        return copy;
    }
    return nullptr;
}

}  // namespace

extern "C" CFPropertyListRef CFPropertyListCreateDeepCopy(CFAllocatorRef,
                                                          CFPropertyListRef propertyList,
                                                          CFOptionFlags mutabilityOption) {
    return Copy(propertyList, mutabilityOption, 0);
}
