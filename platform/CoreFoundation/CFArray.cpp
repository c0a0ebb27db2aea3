#include "CoreFoundation/CFArray.h"

#include <algorithm>
#include <string>
#include <vector>

#include "CoreFoundation/CFCollectionObjects.h"

using halyxcf::CastTo;

namespace {

const void* RetainValue(CFAllocatorRef, const void* value) {
    return CFRetain(value);
}
void ReleaseValue(CFAllocatorRef, const void* value) {
    CFRelease(value);
}

__CFArray* Mutable(CFMutableArrayRef theArray) {
    __CFArray* array = CastTo<__CFArray>(theArray);
    return array != nullptr && array->mMutable ? array : nullptr;
}

// Clips `range` to the array; false when it starts outside.
bool Clip(const __CFArray* array, CFRange* range) {
    if (array == nullptr || range->location < 0 || range->length < 0) return false;
    CFIndex count = static_cast<CFIndex>(array->mValues.size());
    if (range->location > count) return false;
    if (range->length > count - range->location) range->length = count - range->location;
    return true;
}

}  // namespace

extern "C" const CFArrayCallBacks kCFTypeArrayCallBacks = {0, RetainValue, ReleaseValue,
                                                           CFCopyDescription, CFEqual};

__CFArray::__CFArray(const CFArrayCallBacks* callBacks, bool isMutable)
    : CFObject(kTypeID), mMutable(isMutable) {
    if (callBacks != nullptr) mCallBacks = *callBacks;
}

__CFArray::~__CFArray() {
    for (const void* value : mValues) ReleaseOne(value);
}

const void* __CFArray::RetainOne(const void* value) const {
    return mCallBacks.retain != nullptr ? mCallBacks.retain(nullptr, value) : value;
}

void __CFArray::ReleaseOne(const void* value) const {
    if (mCallBacks.release != nullptr) mCallBacks.release(nullptr, value);
}

bool __CFArray::ValuesEqual(const void* a, const void* b) const {
    if (a == b) return true;
    return mCallBacks.equal != nullptr && mCallBacks.equal(a, b);
}

bool __CFArray::Equal(const CFObject* other) const {
    const __CFArray* that = static_cast<const __CFArray*>(other);
    if (mValues.size() != that->mValues.size()) return false;
    for (size_t i = 0; i < mValues.size(); ++i) {
        if (!ValuesEqual(mValues[i], that->mValues[i])) return false;
    }
    return true;
}

std::string __CFArray::Describe() const {
    std::string text = "(";
    for (size_t i = 0; i < mValues.size(); ++i) {
        if (i > 0) text += ", ";
        text += halyxcf::DescribeValue(mValues[i], mCallBacks.copyDescription);
    }
    return text + ")";
}

extern "C" {

CFTypeID CFArrayGetTypeID(void) {
    return __CFArray::kTypeID;
}

CFArrayRef CFArrayCreate(CFAllocatorRef, const void** values, CFIndex numValues,
                         const CFArrayCallBacks* callBacks) {
    if (numValues < 0 || (values == nullptr && numValues > 0)) return nullptr;
    __CFArray* array = new __CFArray(callBacks, false);
    array->mValues.reserve(static_cast<size_t>(numValues));
    for (CFIndex i = 0; i < numValues; ++i) array->mValues.push_back(array->RetainOne(values[i]));
    return array;
}

CFArrayRef CFArrayCreateCopy(CFAllocatorRef, CFArrayRef theArray) {
    const __CFArray* source = CastTo<__CFArray>(theArray);
    if (source == nullptr) return nullptr;
    __CFArray* array = new __CFArray(&source->mCallBacks, false);
    for (const void* value : source->mValues) array->mValues.push_back(array->RetainOne(value));
    return array;
}

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef, CFIndex capacity,
                                       const CFArrayCallBacks* callBacks) {
    __CFArray* array = new __CFArray(callBacks, true);
    if (capacity > 0) array->mValues.reserve(static_cast<size_t>(capacity));
    return array;
}

CFMutableArrayRef CFArrayCreateMutableCopy(CFAllocatorRef, CFIndex, CFArrayRef theArray) {
    const __CFArray* source = CastTo<__CFArray>(theArray);
    if (source == nullptr) return nullptr;
    __CFArray* array = new __CFArray(&source->mCallBacks, true);
    for (const void* value : source->mValues) array->mValues.push_back(array->RetainOne(value));
    return array;
}

CFIndex CFArrayGetCount(CFArrayRef theArray) {
    const __CFArray* array = CastTo<__CFArray>(theArray);
    return array == nullptr ? 0 : static_cast<CFIndex>(array->mValues.size());
}

const void* CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx) {
    const __CFArray* array = CastTo<__CFArray>(theArray);
    if (array == nullptr || idx < 0 || static_cast<size_t>(idx) >= array->mValues.size())
        return nullptr;
    return array->mValues[static_cast<size_t>(idx)];
}

void CFArrayGetValues(CFArrayRef theArray, CFRange range, const void** values) {
    const __CFArray* array = CastTo<__CFArray>(theArray);
    if (values == nullptr || !Clip(array, &range)) return;
    for (CFIndex i = 0; i < range.length; ++i)
        values[i] = array->mValues[static_cast<size_t>(range.location + i)];
}

CFIndex CFArrayGetFirstIndexOfValue(CFArrayRef theArray, CFRange range, const void* value) {
    const __CFArray* array = CastTo<__CFArray>(theArray);
    if (!Clip(array, &range)) return kCFNotFound;
    for (CFIndex i = range.location; i < range.location + range.length; ++i) {
        if (array->ValuesEqual(array->mValues[static_cast<size_t>(i)], value)) return i;
    }
    return kCFNotFound;
}

Boolean CFArrayContainsValue(CFArrayRef theArray, CFRange range, const void* value) {
    return CFArrayGetFirstIndexOfValue(theArray, range, value) != kCFNotFound;
}

void CFArrayApplyFunction(CFArrayRef theArray, CFRange range, CFArrayApplierFunction applier,
                          void* context) {
    const __CFArray* array = CastTo<__CFArray>(theArray);
    if (applier == nullptr || !Clip(array, &range)) return;
    for (CFIndex i = range.location; i < range.location + range.length; ++i)
        applier(array->mValues[static_cast<size_t>(i)], context);
}

void CFArrayAppendValue(CFMutableArrayRef theArray, const void* value) {
    __CFArray* array = Mutable(theArray);
    if (array != nullptr) array->mValues.push_back(array->RetainOne(value));
}

void CFArrayInsertValueAtIndex(CFMutableArrayRef theArray, CFIndex idx, const void* value) {
    __CFArray* array = Mutable(theArray);
    if (array == nullptr || idx < 0 || static_cast<size_t>(idx) > array->mValues.size()) return;
    array->mValues.insert(array->mValues.begin() + idx, array->RetainOne(value));
}

void CFArraySetValueAtIndex(CFMutableArrayRef theArray, CFIndex idx, const void* value) {
    __CFArray* array = Mutable(theArray);
    if (array == nullptr || idx < 0 || static_cast<size_t>(idx) > array->mValues.size()) return;
    if (static_cast<size_t>(idx) == array->mValues.size()) {
        array->mValues.push_back(array->RetainOne(value));
        return;
    }
    const void* old = array->mValues[static_cast<size_t>(idx)];
    array->mValues[static_cast<size_t>(idx)] = array->RetainOne(value);
    array->ReleaseOne(old);
}

void CFArrayRemoveValueAtIndex(CFMutableArrayRef theArray, CFIndex idx) {
    __CFArray* array = Mutable(theArray);
    if (array == nullptr || idx < 0 || static_cast<size_t>(idx) >= array->mValues.size()) return;
    const void* old = array->mValues[static_cast<size_t>(idx)];
    array->mValues.erase(array->mValues.begin() + idx);
    array->ReleaseOne(old);
}

void CFArrayRemoveAllValues(CFMutableArrayRef theArray) {
    __CFArray* array = Mutable(theArray);
    if (array == nullptr) return;
    std::vector<const void*> old;
    old.swap(array->mValues);
    for (const void* value : old) array->ReleaseOne(value);
}

void CFArrayAppendArray(CFMutableArrayRef theArray, CFArrayRef otherArray, CFRange otherRange) {
    __CFArray* array = Mutable(theArray);
    const __CFArray* other = CastTo<__CFArray>(otherArray);
    if (array == nullptr || !Clip(other, &otherRange)) return;
    // Copy first: the other array may be this one.
    std::vector<const void*> values(
        other->mValues.begin() + otherRange.location,
        other->mValues.begin() + otherRange.location + otherRange.length);
    for (const void* value : values) array->mValues.push_back(array->RetainOne(value));
}

void CFArrayExchangeValuesAtIndices(CFMutableArrayRef theArray, CFIndex idx1, CFIndex idx2) {
    __CFArray* array = Mutable(theArray);
    CFIndex count = CFArrayGetCount(theArray);
    if (array == nullptr || idx1 < 0 || idx2 < 0 || idx1 >= count || idx2 >= count) return;
    std::swap(array->mValues[static_cast<size_t>(idx1)], array->mValues[static_cast<size_t>(idx2)]);
}

void CFArraySortValues(CFMutableArrayRef theArray, CFRange range, CFComparatorFunction comparator,
                       void* context) {
    __CFArray* array = Mutable(theArray);
    if (comparator == nullptr || !Clip(array, &range)) return;
    auto begin = array->mValues.begin() + range.location;
    std::stable_sort(begin, begin + range.length, [&](const void* a, const void* b) {
        return comparator(a, b, context) == kCFCompareLessThan;
    });
}

}  // extern "C"
