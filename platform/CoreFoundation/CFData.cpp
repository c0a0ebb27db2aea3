#include "CoreFoundation/CFData.h"

#include <sys/mman.h>

#include <cstdio>
#include <cstring>
#include <functional>

#include "CoreFoundation/CFDataObject.h"

using halyxcf::CastTo;

namespace halyxcf {

__CFData* NewData(const UInt8* bytes, size_t length, bool isMutable) {
    __CFData* data = new __CFData(isMutable);
    if (length > 0) data->mBytes.assign(bytes, bytes + length);
    return data;
}

}  // namespace halyxcf

__CFData::~__CFData() {
    if (mMapped != nullptr) munmap(const_cast<UInt8*>(mMapped), mMappedLength);
}

bool __CFData::Equal(const CFObject* other) const {
    const __CFData* data = static_cast<const __CFData*>(other);
    return Length() == data->Length() &&
           (Length() == 0 || memcmp(Bytes(), data->Bytes(), Length()) == 0);
}

std::string __CFData::Describe() const {
    std::string text = "<data " + std::to_string(Length()) + " bytes: ";
    static const char kHex[] = "0123456789abcdef";
    const UInt8* bytes = Bytes();
    size_t shown = Length() < 32 ? Length() : 32;
    for (size_t i = 0; i < shown; ++i) {
        text += kHex[bytes[i] >> 4];
        text += kHex[bytes[i] & 15];
    }
    if (shown < Length()) text += "...";
    return text + ">";
}

namespace {

__CFData* Mutable(CFMutableDataRef data) {
    __CFData* object = CastTo<__CFData>(data);
    return object != nullptr && object->mMutable ? object : nullptr;
}

// Clips `range` to a value of `length` bytes.
bool Clip(CFRange range, size_t length, size_t* start, size_t* count) {
    if (range.location < 0 || range.length < 0) return false;
    size_t loc = static_cast<size_t>(range.location);
    if (loc > length) return false;
    *start = loc;
    size_t len = static_cast<size_t>(range.length);
    *count = len > length - loc ? length - loc : len;
    return true;
}

}  // namespace

extern "C" {

CFTypeID CFDataGetTypeID(void) {
    return __CFData::kTypeID;
}

CFDataRef CFDataCreate(CFAllocatorRef, const UInt8* bytes, CFIndex length) {
    if (length < 0 || (bytes == nullptr && length > 0)) return nullptr;
    return halyxcf::NewData(bytes, static_cast<size_t>(length), false);
}

CFDataRef CFDataCreateCopy(CFAllocatorRef, CFDataRef theData) {
    const __CFData* source = CastTo<__CFData>(theData);
    if (source == nullptr) return nullptr;
    return halyxcf::NewData(source->Bytes(), source->Length(), false);
}

CFMutableDataRef CFDataCreateMutable(CFAllocatorRef, CFIndex capacity) {
    __CFData* data = new __CFData(true);
    if (capacity > 0) data->mBytes.reserve(static_cast<size_t>(capacity));
    return data;
}

CFMutableDataRef CFDataCreateMutableCopy(CFAllocatorRef, CFIndex, CFDataRef theData) {
    const __CFData* source = CastTo<__CFData>(theData);
    if (source == nullptr) return nullptr;
    return halyxcf::NewData(source->Bytes(), source->Length(), true);
}

CFIndex CFDataGetLength(CFDataRef theData) {
    const __CFData* data = CastTo<__CFData>(theData);
    return data == nullptr ? 0 : static_cast<CFIndex>(data->Length());
}

const UInt8* CFDataGetBytePtr(CFDataRef theData) {
    static const UInt8 kEmpty = 0;
    const __CFData* data = CastTo<__CFData>(theData);
    if (data == nullptr) return nullptr;
    return data->Length() == 0 ? &kEmpty : data->Bytes();
}

UInt8* CFDataGetMutableBytePtr(CFMutableDataRef theData) {
    __CFData* data = Mutable(theData);
    if (data == nullptr) return nullptr;
    if (data->mBytes.capacity() == 0) data->mBytes.reserve(1);
    return data->mBytes.data();
}

void CFDataGetBytes(CFDataRef theData, CFRange range, UInt8* buffer) {
    const __CFData* data = CastTo<__CFData>(theData);
    size_t start, count;
    if (data == nullptr || buffer == nullptr || !Clip(range, data->Length(), &start, &count))
        return;
    if (count > 0) std::memcpy(buffer, data->Bytes() + start, count);
}

void CFDataSetLength(CFMutableDataRef theData, CFIndex length) {
    __CFData* data = Mutable(theData);
    if (data != nullptr && length >= 0) data->mBytes.resize(static_cast<size_t>(length), 0);
}

void CFDataIncreaseLength(CFMutableDataRef theData, CFIndex extraLength) {
    __CFData* data = Mutable(theData);
    if (data != nullptr && extraLength > 0)
        data->mBytes.resize(data->mBytes.size() + static_cast<size_t>(extraLength), 0);
}

void CFDataAppendBytes(CFMutableDataRef theData, const UInt8* bytes, CFIndex length) {
    __CFData* data = Mutable(theData);
    if (data == nullptr || bytes == nullptr || length <= 0) return;
    // Bytes inside the value itself are copied first: growing it may move them.
    const std::less<const UInt8*> before;
    const UInt8* own = data->mBytes.data();
    if (!before(bytes, own) && before(bytes, own + data->mBytes.size())) {
        std::vector<UInt8> appended(bytes, bytes + length);
        data->mBytes.insert(data->mBytes.end(), appended.begin(), appended.end());
        return;
    }
    data->mBytes.insert(data->mBytes.end(), bytes, bytes + length);
}

void CFDataReplaceBytes(CFMutableDataRef theData, CFRange range, const UInt8* newBytes,
                        CFIndex newLength) {
    __CFData* data = Mutable(theData);
    size_t start, count;
    if (data == nullptr || newLength < 0 || (newBytes == nullptr && newLength > 0) ||
        !Clip(range, data->mBytes.size(), &start, &count))
        return;
    // Copy first: newBytes may point into the value itself.
    std::vector<UInt8> replacement(newBytes, newBytes + newLength);
    data->mBytes.erase(data->mBytes.begin() + start, data->mBytes.begin() + start + count);
    data->mBytes.insert(data->mBytes.begin() + start, replacement.begin(), replacement.end());
}

void CFDataDeleteBytes(CFMutableDataRef theData, CFRange range) {
    CFDataReplaceBytes(theData, range, nullptr, 0);
}

}  // extern "C"
