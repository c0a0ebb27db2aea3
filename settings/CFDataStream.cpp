#include "settings/CFDataStream.h"

#include <cstring>

#include "Base/MacErrors.h"

CFDataStream::CFDataStream()
    : mData(CFDataCreateMutable(kCFAllocatorDefault, 0)), mSource(nullptr) {
    mValid = mData != nullptr;
    mError = mValid ? OSErr(noErr) : OSErr(memFullErr);
}

CFDataStream::CFDataStream(CFDataRef data) : mData(nullptr), mSource(nullptr) {
    if (data == nullptr || CFDataGetLength(data) == 0) return;
    mSource = static_cast<CFDataRef>(CFRetain(data));
    mSize = static_cast<SInt32>(CFDataGetLength(mSource));
    mValid = true;
}

CFDataStream::~CFDataStream() {
    if (mData != nullptr) CFRelease(mData);
    if (mSource != nullptr) CFRelease(mSource);
}

bool CFDataStream::out(const void* bytes, SInt32 count) {
    if (mData == nullptr || count < 0 || (bytes == nullptr && count > 0)) return false;
    CFDataAppendBytes(mData, static_cast<const UInt8*>(bytes), count);
    mSize += count;
    return true;
}

void* CFDataStream::reserve(SInt32 count) {
    if (mData == nullptr || count < 0) return nullptr;
    const CFIndex before = CFDataGetLength(mData);
    CFDataIncreaseLength(mData, count);
    if (CFDataGetLength(mData) != before + count) return nullptr;
    mSize += count;
    return CFDataGetMutableBytePtr(mData) + before;
}

bool CFDataStream::in(void* buffer, SInt32 count, SInt32* read, OSErr* error) {
    SInt32 ignoredRead;
    OSErr ignoredError;
    if (read == nullptr) read = &ignoredRead;
    if (error == nullptr) error = &ignoredError;
    *read = 0;
    CFDataRef bytes = data();
    if (bytes == nullptr) {
        *error = eofErr;
        return false;
    }
    if (count < 0 || (buffer == nullptr && count > 0)) {
        *error = paramErr;
        return false;
    }
    SInt32 available = mSize - mPosition;
    SInt32 n = count <= available ? count : available;
    if (n > 0) std::memcpy(buffer, CFDataGetBytePtr(bytes) + mPosition, static_cast<size_t>(n));
    mPosition += n;
    *read = n;
    *error = n == count ? OSErr(noErr) : OSErr(eofErr);
    return n == count;
}

const void* CFDataStream::peek(SInt32 count) const {
    CFDataRef bytes = data();
    if (bytes == nullptr || count < 0 || count > mSize - mPosition) return nullptr;
    return CFDataGetBytePtr(bytes) + mPosition;
}
