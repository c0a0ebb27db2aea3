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

// The record's bytes in a new block of length + 1 bytes, NUL-terminated; null when the record is
// missing or empty, and null with a read failure noted on the store when memory is short or the
// read fails.
Ptr ReadRecord(Settings& settings, FourCharCode tag, SInt32 id, SInt32* length) {
    *length = 0;
    OSStatus status = settings.Get(tag, id, nullptr, length);
    if (status == collectionItemNotFoundErr) return nullptr;
    if (status != noErr) {
        settings.NoteReadFailure();
        return nullptr;
    }
    if (*length <= 0) return nullptr;
    Ptr bytes = NewPtr(*length + 1);
    if (bytes == nullptr || settings.Get(tag, id, bytes, length) != noErr) {
        if (bytes != nullptr) DisposePtr(bytes);
        settings.NoteReadFailure();
        return nullptr;
    }
    bytes[*length] = '\0';
    return bytes;
}

}  // namespace

CString* GetSettingsString(Settings& settings, FourCharCode tag, SInt32 id) {
    SInt32 length;
    Ptr bytes = ReadRecord(settings, tag, id, &length);
    if (bytes == nullptr) return nullptr;
    CString* text = new (std::nothrow) CString(bytes);
    DisposePtr(bytes);
    // A string whose buffer could not be made is no string.
    if (text != nullptr && static_cast<const char*>(*text) == nullptr) {
        delete text;
        text = nullptr;
    }
    if (text == nullptr) settings.NoteReadFailure();
    return text;
}

CFStringRef GetSettingsCFString(Settings& settings, FourCharCode tag, SInt32 id) {
    SInt32 length;
    Ptr bytes = ReadRecord(settings, tag, id, &length);
    if (bytes == nullptr) return nullptr;
    CFStringRef string = ExtenalToCFString(reinterpret_cast<const UInt8*>(bytes), length);
    DisposePtr(bytes);
    return string;
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
    CFDataRef data = CFDataCreate(kCFAllocatorDefault, bytes, length);
    if (data == nullptr) return nullptr;
    CFStringRef string = CFStringCreateFromExternalRepresentation(kCFAllocatorDefault, data,
                                                                  kCFStringEncodingUnicode);
    CFRelease(data);
    return string;
}
