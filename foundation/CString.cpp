#include "foundation/CString.h"

#include <cctype>
#include <cstring>

#include "Memory/MacMemory.h"
#include "testing/FailureInjection.h"

namespace {

// Blocks come from the platform's allocator so that tests can make them fail.
char* NewBlock(unsigned long bytes) {
    return NewPtr(static_cast<Size>(bytes));
}

void FreeBlock(char* block) {
    if (block != nullptr) DisposePtr(block);
}

bool Inside(const char* buffer, UInt32 length, const char* at) {
    return buffer != nullptr && at >= buffer && at <= buffer + length;
}

}  // namespace

CString::CString() : mBuffer(nullptr), mLength(0) {}

CString::CString(const char* text) : mBuffer(nullptr), mLength(0) {
    SetBuffer(text);
}

CString::CString(const CString& other) : mBuffer(nullptr), mLength(0) {
    SetBuffer(other.mBuffer);
}

CString::~CString() {
    FreeBuffer();
}

void CString::FreeBuffer() {
    if (mBuffer != mInline) FreeBlock(mBuffer);
}

void CString::Adopt(char* block, UInt32 length) {
    FreeBuffer();
    mBuffer = block;
    mLength = block != nullptr ? length : 0;
}

void CString::SetBuffer(const char* text) {
    if (text == mBuffer) return;
    if (text == nullptr) {
        Adopt(nullptr, 0);
        return;
    }
    // The copy is made before the old buffer goes, so `text` may point into it.
    size_t length = std::strlen(text);
    if (length < kInlineSize) {
        // Storing a text inside the string stands for an allocation to a test that makes them
        // fail, so that short and long texts fail alike.
        if (HalyxShouldFail(kHalyxFailAllocation)) {
            Adopt(nullptr, 0);
            return;
        }
        char* old = mBuffer;
        std::memmove(mInline, text, length + 1);
        if (old != mInline) FreeBlock(old);
        mBuffer = mInline;
        mLength = static_cast<UInt32>(length);
        return;
    }
    char* block = NewBlock(length + 1);
    if (block != nullptr) std::memcpy(block, text, length + 1);
    Adopt(block, static_cast<UInt32>(length));
}

CString& CString::operator=(const char* text) {
    SetBuffer(text);
    return *this;
}

CString& CString::operator=(const CString& other) {
    SetBuffer(other.mBuffer);
    return *this;
}

CString& CString::operator+(const char* text) {
    if (text == nullptr) return *this;
    size_t extra = std::strlen(text);
    if (extra == 0) return *this;
    char* block = NewBlock(mLength + extra + 1);
    if (block == nullptr) return *this;
    if (mLength > 0) std::memcpy(block, mBuffer, mLength);
    std::memcpy(block + mLength, text, extra + 1);
    Adopt(block, static_cast<UInt32>(mLength + extra));
    return *this;
}

bool CString::operator==(const CString& other) const {
    return *this == other.mBuffer;
}

bool CString::operator==(const char* text) const {
    return std::strcmp(mBuffer != nullptr ? mBuffer : "", text != nullptr ? text : "") == 0;
}

bool CString::Contains(const char* text) const {
    if (text == nullptr) return false;
    const char* hay = mBuffer != nullptr ? mBuffer : "";
    size_t hayLength = std::strlen(hay);
    size_t needleLength = std::strlen(text);
    if (needleLength > hayLength) return false;
    for (size_t start = 0; start + needleLength <= hayLength; ++start) {
        size_t i = 0;
        while (i < needleLength && std::tolower(static_cast<unsigned char>(hay[start + i])) ==
                                       std::tolower(static_cast<unsigned char>(text[i])))
            ++i;
        if (i == needleLength) return true;
    }
    return false;
}

void CString::Remove(char* at, unsigned long count) {
    if (!Inside(mBuffer, mLength, at) || count == 0) return;
    unsigned long available = static_cast<unsigned long>(mBuffer + mLength - at);
    if (count > available) count = available;
    // The terminator moves down with the tail.
    std::memmove(at, at + count, available - count + 1);
    mLength -= static_cast<UInt32>(count);
}

void CString::Insert(char* at, const char* text) {
    if (!Inside(mBuffer, mLength, at) || text == nullptr || text[0] == '\0') return;
    size_t extra = std::strlen(text);
    size_t offset = static_cast<size_t>(at - mBuffer);
    char* block = NewBlock(mLength + extra + 1);
    if (block == nullptr) return;
    std::memcpy(block, mBuffer, offset);
    std::memcpy(block + offset, text, extra);
    std::memcpy(block + offset + extra, mBuffer + offset, mLength - offset + 1);
    Adopt(block, static_cast<UInt32>(mLength + extra));
}

void CString::Replace(const CString& what, const CString& with) {
    if (mBuffer == nullptr || what.Empty()) return;
    char* found = std::strstr(mBuffer, what.mBuffer);
    if (found == nullptr) return;
    // `with` may be this string itself: keep its text until the insertion is done.
    CString replacement(with);
    Remove(found, what.mLength);
    Insert(found, replacement.mBuffer);
}
