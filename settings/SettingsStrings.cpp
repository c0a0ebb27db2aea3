#include "settings/SettingsStrings.h"

#include <cstring>
#include <new>

#include "Collections/Collections.h"
#include "CoreFoundation/CFData.h"
#include "Memory/MacMemory.h"
#include "foundation/CString.h"
#include "settings/Settings.h"

namespace {

// Replacement for characters the representation cannot hold (none, for Unicode).
const UInt8 kLossByte = '?';

// Most string records are a keyword or a display name: they are read on the stack.
const SInt32 kLocalRecord = 256;
const SInt32 kLocalChars = 128;

// A record's bytes, NUL-terminated: inside the reader when they fit, else in a block of their own.
class RecordBytes {
public:
    // Bytes() is null when the record is missing or empty, and when it is there but cannot be
    // taken in (memory is short or the read fails), which is noted on the store.
    RecordBytes(Settings& settings, FourCharCode tag, SInt32 id) {
        const void* stored = nullptr;
        OSStatus status = settings.View(tag, id, &stored, &mLength);
        if (status == collectionItemNotFoundErr) return;
        if (status == noErr && mLength <= 0) return;
        char* buffer = mLocal;
        if (status == noErr && mLength >= kLocalRecord) buffer = mBlock = NewPtr(mLength + 1);
        if (status != noErr || buffer == nullptr) {
            settings.NoteReadFailure();
            return;
        }
        std::memcpy(buffer, stored, static_cast<size_t>(mLength));
        buffer[mLength] = '\0';
        mBytes = buffer;
    }
    ~RecordBytes() {
        if (mBlock != nullptr) DisposePtr(mBlock);
    }
    RecordBytes(const RecordBytes&) = delete;
    RecordBytes& operator=(const RecordBytes&) = delete;

    const char* Bytes() const { return mBytes; }
    SInt32 Length() const { return mBytes != nullptr ? mLength : 0; }

private:
    char mLocal[kLocalRecord];
    Ptr mBlock = nullptr;
    const char* mBytes = nullptr;
    SInt32 mLength = 0;
};

bool HighSurrogate(UniChar c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool LowSurrogate(UniChar c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Whether every surrogate among the units stands in a high-low pair.
bool SurrogatesPaired(const UniChar* chars, SInt32 count) {
    for (SInt32 i = 0; i < count; ++i) {
        if (LowSurrogate(chars[i]) && (i == 0 || !HighSurrogate(chars[i - 1]))) return false;
        if (HighSurrogate(chars[i]) && i + 1 == count) return false;
        if (i > 0 && HighSurrogate(chars[i - 1]) && !LowSurrogate(chars[i])) return false;
    }
    return true;
}

// Takes the units in the given byte order; true when any of them is a surrogate, which most text
// has none of.
template <bool kBig>
bool TakeUnits(const UInt8* p, SInt32 count, UniChar* chars) {
    UniChar surrogates = 0;
    for (SInt32 i = 0; i < count; ++i, p += 2) {
        const UniChar c =
            kBig ? static_cast<UniChar>(p[0] << 8 | p[1]) : static_cast<UniChar>(p[1] << 8 | p[0]);
        chars[i] = c;
        surrogates |= static_cast<UniChar>(static_cast<UniChar>(c - 0xD800) < 0x800);
    }
    return surrogates != 0;
}

// The representation with a byte-order mark, as CFStringToExternal writes it, made straight from
// its units. Null (*handled false) for anything else, which the general conversion then judges:
// no mark, an odd length or a surrogate without its partner.
CFStringRef FromMarkedUnits(const UInt8* bytes, SInt32 length, bool* handled) {
    *handled = false;
    if (length < 2 || length % 2 != 0) return nullptr;
    bool big;
    if (bytes[0] == 0xFE && bytes[1] == 0xFF)
        big = true;
    else if (bytes[0] == 0xFF && bytes[1] == 0xFE)
        big = false;
    else
        return nullptr;
    const SInt32 count = (length - 2) / 2;
    UniChar local[kLocalChars];
    UniChar* chars = count <= kLocalChars ? local : new (std::nothrow) UniChar[count];
    if (chars == nullptr) return nullptr;
    const bool surrogates =
        big ? TakeUnits<true>(bytes + 2, count, chars) : TakeUnits<false>(bytes + 2, count, chars);
    CFStringRef string = nullptr;
    if (!surrogates || SurrogatesPaired(chars, count)) {
        string = CFStringCreateWithCharacters(kCFAllocatorDefault, chars, count);
        *handled = true;
    }
    if (chars != local) delete[] chars;
    return string;
}

}  // namespace

CString* GetSettingsString(Settings& settings, FourCharCode tag, SInt32 id) {
    RecordBytes record(settings, tag, id);
    if (record.Bytes() == nullptr) return nullptr;
    CString* text = new (std::nothrow) CString(record.Bytes());
    // A string whose buffer could not be made is no string.
    if (text != nullptr && static_cast<const char*>(*text) == nullptr) {
        delete text;
        text = nullptr;
    }
    if (text == nullptr) settings.NoteReadFailure();
    return text;
}

CFStringRef GetSettingsCFString(Settings& settings, FourCharCode tag, SInt32 id) {
    RecordBytes record(settings, tag, id);
    if (record.Bytes() == nullptr) return nullptr;
    return ExtenalToCFString(reinterpret_cast<const UInt8*>(record.Bytes()), record.Length());
}

UInt8* CFStringToExternal(CFStringRef string, SInt32* length) {
    if (length != nullptr) *length = 0;
    if (string == nullptr) return nullptr;
    CFDataRef data = CFStringCreateExternalRepresentation(kCFAllocatorDefault, string,
                                                          kCFStringEncodingUnicode, kLossByte);
    if (data == nullptr) return nullptr;
    CFIndex size = CFDataGetLength(data);
    UInt8* bytes = new (std::nothrow) UInt8[static_cast<size_t>(size)];
    if (bytes != nullptr) {
        if (size > 0) std::memcpy(bytes, CFDataGetBytePtr(data), static_cast<size_t>(size));
        if (length != nullptr) *length = static_cast<SInt32>(size);
    }
    CFRelease(data);
    return bytes;
}

CFStringRef ExtenalToCFString(const UInt8* bytes, SInt32 length) {
    if (bytes == nullptr || length < 0) return nullptr;
    bool handled;
    CFStringRef string = FromMarkedUnits(bytes, length, &handled);
    if (handled) return string;
    CFDataRef data = CFDataCreate(kCFAllocatorDefault, bytes, length);
    if (data == nullptr) return nullptr;
    string = CFStringCreateFromExternalRepresentation(kCFAllocatorDefault, data,
                                                      kCFStringEncodingUnicode);
    CFRelease(data);
    return string;
}
