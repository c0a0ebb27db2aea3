// Creating strings, reading their characters and converting them to bytes.
#include "CoreFoundation/CFString.h"

#include <cstring>
#include <string>
#include <unordered_map>

#include "CoreFoundation/CFDataObject.h"
#include "CoreFoundation/CFStringConverter.h"
#include "CoreFoundation/CFStringObject.h"

using halyxcf::CastTo;

namespace {

// Blocks of strings freed by a thread, kept for the next strings it makes (at most kMaxFreeStrings
// of them). A build with the address sanitizer keeps none, so that it still sees every use of a
// freed string.
#if defined(__SANITIZE_ADDRESS__)
#define HALYX_KEEP_FREED_STRINGS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HALYX_KEEP_FREED_STRINGS 0
#endif
#endif
#ifndef HALYX_KEEP_FREED_STRINGS
#define HALYX_KEEP_FREED_STRINGS 1
#endif

struct FreeString {
    FreeString* next;
};

constexpr size_t kMaxFreeStrings = 512;

struct FreeStrings {
    FreeString* first = nullptr;
    size_t count = 0;

    ~FreeStrings() {
        while (first != nullptr) {
            FreeString* next = first->next;
            ::operator delete(first);
            first = next;
        }
        count = kMaxFreeStrings;  // strings freed later, as the thread ends, are not kept
    }
};

thread_local FreeStrings tFreeStrings;

}  // namespace

void* __CFString::operator new(size_t size) {
    FreeStrings& freed = tFreeStrings;
    if (freed.first != nullptr && size == sizeof(__CFString)) {
        FreeString* block = freed.first;
        freed.first = block->next;
        --freed.count;
        return block;
    }
    return ::operator new(size);
}

void __CFString::operator delete(void* block, size_t size) {
    if (HALYX_KEEP_FREED_STRINGS && size == sizeof(__CFString)) {
        FreeStrings& freed = tFreeStrings;
        if (freed.count < kMaxFreeStrings) {
            FreeString* kept = static_cast<FreeString*>(block);
            kept->next = freed.first;
            freed.first = kept;
            ++freed.count;
            return;
        }
    }
    ::operator delete(block);
}

namespace halyxcf {

__CFString* NewString(std::vector<UniChar> chars, bool isMutable) {
    __CFString* str = new __CFString(isMutable);
    str->mChars = std::move(chars);
    return str;
}

CFStringRef NewStringFromUTF8(const std::string& text) {
    std::vector<UniChar> chars;
    const UInt8* bytes = reinterpret_cast<const UInt8*>(text.data());
    if (!DecodeBytes(bytes, text.size(), kCFStringEncodingUTF8, &chars))
        DecodeBytes(bytes, text.size(), kCFStringEncodingMacRoman, &chars);
    return NewString(std::move(chars), false);
}

}  // namespace halyxcf

std::string __CFString::UTF8() const {
    std::string out;
    out.reserve(mChars.size());
    for (size_t i = 0; i < mChars.size(); ++i) {
        UInt32 c = mChars[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < mChars.size() && mChars[i + 1] >= 0xDC00 &&
            mChars[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (mChars[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;  // a lone surrogate has no UTF-8 form
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {

constexpr UniChar kByteOrderMark = 0xFEFF;

// Picks the byte order of a Unicode encoding from a leading byte-order mark and drops the mark.
CFStringEncoding ResolveByteOrderMark(const UInt8** bytes, CFIndex* length,
                                      CFStringEncoding encoding, bool external) {
    const UInt8* b = *bytes;
    CFIndex n = *length;
    if (encoding == kCFStringEncodingUnicode && n >= 2) {
        if (b[0] == 0xFE && b[1] == 0xFF) encoding = kCFStringEncodingUTF16BE;
        if (b[0] == 0xFF && b[1] == 0xFE) encoding = kCFStringEncodingUTF16LE;
        if (encoding != kCFStringEncodingUnicode) {
            *bytes += 2;
            *length -= 2;
        }
    } else if (encoding == kCFStringEncodingUTF32 && n >= 4) {
        if (b[0] == 0 && b[1] == 0 && b[2] == 0xFE && b[3] == 0xFF)
            encoding = kCFStringEncodingUTF32BE;
        if (b[0] == 0xFF && b[1] == 0xFE && b[2] == 0 && b[3] == 0)
            encoding = kCFStringEncodingUTF32LE;
        if (encoding != kCFStringEncodingUTF32) {
            *bytes += 4;
            *length -= 4;
        }
    } else if (encoding == kCFStringEncodingUTF8 && external && n >= 3 && b[0] == 0xEF &&
               b[1] == 0xBB && b[2] == 0xBF) {
        *bytes += 3;
        *length -= 3;
    }
    return encoding;
}

CFStringRef CreateFromBytes(const UInt8* bytes, CFIndex numBytes, CFStringEncoding encoding,
                            bool external, bool isMutable) {
    if (numBytes < 0 || (bytes == nullptr && numBytes > 0)) return nullptr;
    encoding = ResolveByteOrderMark(&bytes, &numBytes, encoding, external);
    std::vector<UniChar> chars;
    if (!halyxcf::DecodeBytes(bytes, static_cast<size_t>(numBytes), encoding, &chars))
        return nullptr;
    return halyxcf::NewString(std::move(chars), isMutable);
}

// Clips `range` to a string of `length` characters; false when it starts outside.
bool ClipRange(CFRange* range, size_t length) {
    if (range->location < 0 || range->length < 0) return false;
    if (static_cast<size_t>(range->location) > length) return false;
    CFIndex rest = static_cast<CFIndex>(length) - range->location;
    if (range->length > rest) range->length = rest;
    return true;
}

bool IsByteEncoding(CFStringEncoding encoding) {
    return halyxcf::IsASCIICompatible(encoding);
}

}  // namespace

extern "C" {

CFTypeID CFStringGetTypeID(void) {
    return __CFString::kTypeID;
}

CFStringRef HalyxCFStringMakeConstant(const char* cStr) {
    if (cStr == nullptr) return nullptr;
    static auto* constants = new std::unordered_map<std::string, CFStringRef>();
    auto found = constants->find(cStr);
    if (found != constants->end()) return found->second;
    CFStringRef str = halyxcf::NewStringFromUTF8(cStr);
    const_cast<__CFString*>(str)->MakeConstant();
    constants->emplace(cStr, str);
    return str;
}

CFStringRef CFStringCreateWithBytes(CFAllocatorRef, const UInt8* bytes, CFIndex numBytes,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation) {
    return CreateFromBytes(bytes, numBytes, encoding, isExternalRepresentation, false);
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* cStr, CFStringEncoding encoding) {
    if (cStr == nullptr) return nullptr;
    return CreateFromBytes(reinterpret_cast<const UInt8*>(cStr),
                           static_cast<CFIndex>(std::strlen(cStr)), encoding, false, false);
}

CFStringRef CFStringCreateWithPascalString(CFAllocatorRef, ConstStr255Param pStr,
                                           CFStringEncoding encoding) {
    if (pStr == nullptr) return nullptr;
    return CreateFromBytes(pStr + 1, pStr[0], encoding, false, false);
}

CFStringRef CFStringCreateWithCharacters(CFAllocatorRef, const UniChar* chars, CFIndex numChars) {
    if (numChars < 0 || (chars == nullptr && numChars > 0)) return nullptr;
    std::vector<UniChar> copy;
    if (numChars > 0) copy.assign(chars, chars + numChars);
    return halyxcf::NewString(std::move(copy), false);
}

CFStringRef CFStringCreateCopy(CFAllocatorRef, CFStringRef theString) {
    const __CFString* str = CastTo<__CFString>(theString);
    if (str == nullptr) return nullptr;
    if (!str->mMutable) return static_cast<CFStringRef>(CFRetain(theString));
    return halyxcf::NewString(str->mChars, false);
}

CFStringRef CFStringCreateWithSubstring(CFAllocatorRef, CFStringRef theString, CFRange range) {
    const __CFString* str = CastTo<__CFString>(theString);
    if (str == nullptr || !ClipRange(&range, str->mChars.size())) return nullptr;
    auto begin = str->mChars.begin() + range.location;
    return halyxcf::NewString(std::vector<UniChar>(begin, begin + range.length), false);
}

CFMutableStringRef CFStringCreateMutable(CFAllocatorRef, CFIndex) {
    return halyxcf::NewString({}, true);
}

CFMutableStringRef CFStringCreateMutableCopy(CFAllocatorRef, CFIndex, CFStringRef theString) {
    const __CFString* str = CastTo<__CFString>(theString);
    if (str == nullptr) return nullptr;
    return halyxcf::NewString(str->mChars, true);
}

CFIndex CFStringGetLength(CFStringRef theString) {
    const __CFString* str = CastTo<__CFString>(theString);
    return str == nullptr ? 0 : static_cast<CFIndex>(str->mChars.size());
}

UniChar CFStringGetCharacterAtIndex(CFStringRef theString, CFIndex idx) {
    const __CFString* str = CastTo<__CFString>(theString);
    if (str == nullptr || idx < 0 || static_cast<size_t>(idx) >= str->mChars.size()) return 0;
    return str->mChars[static_cast<size_t>(idx)];
}

void CFStringGetCharacters(CFStringRef theString, CFRange range, UniChar* buffer) {
    const __CFString* str = CastTo<__CFString>(theString);
    if (str == nullptr || buffer == nullptr || !ClipRange(&range, str->mChars.size())) return;
    if (range.length > 0)
        std::memcpy(buffer, str->mChars.data() + range.location, range.length * sizeof(UniChar));
}

Boolean CFStringGetCString(CFStringRef theString, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding) {
    const __CFString* str = CastTo<__CFString>(theString);
    if (buffer == nullptr || bufferSize <= 0) return false;
    buffer[0] = '\0';
    if (str == nullptr) return false;
    CFIndex used = 0;
    CFIndex count = static_cast<CFIndex>(str->mChars.size());
    CFIndex done = halyxcf::EncodeChars(str->mChars.data(), count, encoding, 0,
                                        reinterpret_cast<UInt8*>(buffer), bufferSize - 1, &used);
    if (done != count || HalyxIconvNameForEncoding(encoding) == nullptr) {
        buffer[0] = '\0';
        return false;
    }
    buffer[used] = '\0';
    return true;
}

Boolean CFStringGetPascalString(CFStringRef theString, StringPtr buffer, CFIndex bufferSize,
                                CFStringEncoding encoding) {
    const __CFString* str = CastTo<__CFString>(theString);
    if (buffer == nullptr || bufferSize <= 0) return false;
    buffer[0] = 0;
    if (str == nullptr) return false;
    CFIndex room = bufferSize - 1 < 255 ? bufferSize - 1 : 255;
    CFIndex used = 0;
    CFIndex count = static_cast<CFIndex>(str->mChars.size());
    CFIndex done =
        halyxcf::EncodeChars(str->mChars.data(), count, encoding, 0, buffer + 1, room, &used);
    if (done != count || HalyxIconvNameForEncoding(encoding) == nullptr) return false;
    buffer[0] = static_cast<UInt8>(used);
    return true;
}

const char* CFStringGetCStringPtr(CFStringRef theString, CFStringEncoding encoding) {
    const __CFString* str = CastTo<__CFString>(theString);
    if (str == nullptr || !IsByteEncoding(encoding)) return nullptr;
    if (str->mCacheValid && str->mCacheEncoding == encoding) return str->mCache.c_str();
    for (UniChar c : str->mChars) {
        if (c == 0) return nullptr;  // an embedded NUL cannot be a C string
    }
    CFIndex count = static_cast<CFIndex>(str->mChars.size());
    CFIndex size = 0;
    if (halyxcf::EncodeChars(str->mChars.data(), count, encoding, 0, nullptr, 0, &size) != count)
        return nullptr;
    str->mCache.assign(static_cast<size_t>(size), '\0');
    halyxcf::EncodeChars(str->mChars.data(), count, encoding, 0,
                         reinterpret_cast<UInt8*>(&str->mCache[0]), size, &size);
    str->mCacheEncoding = encoding;
    str->mCacheValid = true;
    return str->mCache.c_str();
}

CFIndex CFStringGetBytes(CFStringRef theString, CFRange range, CFStringEncoding encoding,
                         UInt8 lossByte, Boolean isExternalRepresentation, UInt8* buffer,
                         CFIndex maxBufLen, CFIndex* usedBufLen) {
    const __CFString* str = CastTo<__CFString>(theString);
    if (usedBufLen != nullptr) *usedBufLen = 0;
    if (str == nullptr || !ClipRange(&range, str->mChars.size())) return 0;
    CFIndex bomBytes = 0;
    if (isExternalRepresentation && encoding == kCFStringEncodingUnicode) {
        if (buffer != nullptr) {
            if (maxBufLen < 2) return 0;
            std::memcpy(buffer, &kByteOrderMark, 2);
            buffer += 2;
            maxBufLen -= 2;
        }
        bomBytes = 2;
    }
    CFIndex used = 0;
    CFIndex done = halyxcf::EncodeChars(str->mChars.data() + range.location, range.length, encoding,
                                        lossByte, buffer, maxBufLen, &used);
    if (usedBufLen != nullptr) *usedBufLen = used + bomBytes;
    return done;
}

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding) {
    switch (encoding) {
        case kCFStringEncodingUnicode:
        case kCFStringEncodingUTF16BE:
        case kCFStringEncodingUTF16LE:
        case kCFStringEncodingShiftJIS:
        case kCFStringEncodingMacJapanese:
        case kCFStringEncodingDOSJapanese:
            return length * 2;
        case kCFStringEncodingUTF32:
        case kCFStringEncodingUTF32BE:
        case kCFStringEncodingUTF32LE:
            return length * 4;
        case kCFStringEncodingUTF8:
            return length * 3;
        default:
            return HalyxIconvNameForEncoding(encoding) != nullptr ? length : CFIndex{kCFNotFound};
    }
}

CFStringEncoding CFStringGetSystemEncoding(void) {
    return kCFStringEncodingMacRoman;
}

CFStringEncoding CFStringGetFastestEncoding(CFStringRef) {
    return kCFStringEncodingUnicode;
}

Boolean CFStringIsEncodingAvailable(CFStringEncoding encoding) {
    return HalyxIconvNameForEncoding(encoding) != nullptr;
}

CFDataRef CFStringCreateExternalRepresentation(CFAllocatorRef, CFStringRef theString,
                                               CFStringEncoding encoding, UInt8 lossByte) {
    const __CFString* str = CastTo<__CFString>(theString);
    if (str == nullptr || HalyxIconvNameForEncoding(encoding) == nullptr) return nullptr;
    CFRange all = CFRangeMake(0, static_cast<CFIndex>(str->mChars.size()));
    CFIndex size = 0;
    CFIndex done = CFStringGetBytes(theString, all, encoding, lossByte, true, nullptr, 0, &size);
    if (done != all.length) return nullptr;
    __CFData* data = halyxcf::NewData(nullptr, 0, false);
    data->mBytes.resize(static_cast<size_t>(size));
    CFStringGetBytes(theString, all, encoding, lossByte, true, data->mBytes.data(), size, &size);
    return data;
}

CFStringRef CFStringCreateFromExternalRepresentation(CFAllocatorRef, CFDataRef data,
                                                     CFStringEncoding encoding) {
    const __CFData* bytes = CastTo<__CFData>(data);
    if (bytes == nullptr) return nullptr;
    return CreateFromBytes(bytes->Bytes(), static_cast<CFIndex>(bytes->Length()),
                           encoding, true, false);
}

}  // extern "C"
