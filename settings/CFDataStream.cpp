#include "settings/CFDataStream.h"

#include <cstring>

#include "Base/MacErrors.h"

CFDataStream::CFDataStream() : mData(CFDataCreateMutable(kCFAllocatorDefault, 0)) {
    mValid = mData != nullptr;
    mError = mValid ? OSErr(noErr) : OSErr(memFullErr);
}

CFDataStream::CFDataStream(CFDataRef data) : mData(nullptr) {
    if (data == nullptr || CFDataGetLength(data) == 0) return;
    mData = CFDataCreateMutableCopy(kCFAllocatorDefault, 0, data);
    if (mData == nullptr) {
        mError = memFullErr;
        return;
    }
    mSize = static_cast<SInt32>(CFDataGetLength(mData));
    mValid = true;
}

CFDataStream::~CFDataStream() {
    if (mData != nullptr) CFRelease(mData);
}

bool CFDataStream::out(const void* bytes, SInt32 count) {
    if (mData == nullptr || count < 0 || (bytes == nullptr && count > 0)) return false;
    CFDataAppendBytes(mData, static_cast<const UInt8*>(bytes), count);
    mSize += count;
    return true;
}

bool CFDataStream::in(void* buffer, SInt32 count, SInt32* read, OSErr* error) {
    SInt32 ignoredRead;
    OSErr ignoredError;
    if (read == nullptr) read = &ignoredRead;
    if (error == nullptr) error = &ignoredError;
    *read = 0;
    if (mData == nullptr) {
        *error = eofErr;
        return false;
    }
    if (count < 0 || (buffer == nullptr && count > 0)) {
        *error = paramErr;
        return false;
    }
    SInt32 available = mSize - mPosition;
    SInt32 n = count <= available ? count : available;
    if (n > 0) std::memcpy(buffer, CFDataGetBytePtr(mData) + mPosition, static_cast<size_t>(n));
    mPosition += n;
    *read = n;
    *error = n == count ? OSErr(noErr) : OSErr(eofErr);
    return n == count;
}
