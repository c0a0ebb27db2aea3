#include "PPDObjects/ModelRecords.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "Collections/Collections.h"
#include "foundation/CString.h"
#include "settings/Settings.h"
#include "settings/SettingsStrings.h"

SInt32 ModelRecordLength(Settings& settings, FourCharCode tag, SInt32 id) {
    SInt32 length = 0;
    OSStatus status = settings.Get(tag, id, nullptr, &length);
    if (status != noErr && status != collectionItemNotFoundErr) settings.NoteReadFailure();
    if (status != noErr || length < 0) return -1;
    return length;
}

namespace {

// The record's bytes in the store, found with one look-up; null when it is missing or its
// length is not `size` (0: any length from 1 up), *length set to its length either way.
const void* ViewModelRecord(Settings& settings, FourCharCode tag, SInt32 id, SInt32 size,
                            SInt32* length) {
    const void* stored = nullptr;
    OSStatus status = settings.View(tag, id, &stored, length);
    if (status != noErr && status != collectionItemNotFoundErr) settings.NoteReadFailure();
    if (status != noErr || *length < 1 || (size > 0 && *length != size)) return nullptr;
    return stored;
}

}  // namespace

bool ReadModelRecordExactly(Settings& settings, FourCharCode tag, SInt32 id, void* buffer,
                            SInt32 size) {
    if (buffer == nullptr) return false;
    SInt32 length = 0;
    const void* stored = ViewModelRecord(settings, tag, id, size, &length);
    if (stored == nullptr || size < 1 || size > 8) return false;
    // Records of this kind are numbers and flags: copies of a known width need no call.
    switch (size) {
        case 1:
            std::memcpy(buffer, stored, 1);
            break;
        case 2:
            std::memcpy(buffer, stored, 2);
            break;
        case 4:
            std::memcpy(buffer, stored, 4);
            break;
        case 8:
            std::memcpy(buffer, stored, 8);
            break;
        default:
            std::memcpy(buffer, stored, static_cast<size_t>(size));
            break;
    }
    return true;
}

unsigned char* ReadModelRecordBlock(Settings& settings, FourCharCode tag, SInt32 id,
                                    SInt32* length) {
    if (length == nullptr) return nullptr;
    SInt32 size = 0;
    const void* stored = ViewModelRecord(settings, tag, id, 0, &size);
    if (stored == nullptr) return nullptr;
    unsigned char* block = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size)));
    if (block == nullptr) {
        settings.NoteReadFailure();
        return nullptr;
    }
    std::memcpy(block, stored, static_cast<size_t>(size));
    *length = size;
    return block;
}

OSStatus WriteModelString(Settings& settings, FourCharCode tag, SInt32 id, const char* text) {
    if (text == nullptr) return paramErr;
    return settings.Add(tag, id, text, static_cast<SInt32>(std::strlen(text)));
}

OSStatus WriteModelCFString(Settings& settings, FourCharCode tag, SInt32 id, CFStringRef text) {
    SInt32 length = 0;
    UInt8* bytes = CFStringToExternal(text, &length);
    if (bytes == nullptr) return memFullErr;
    OSStatus status = settings.Add(tag, id, bytes, length);
    delete[] bytes;
    return status;
}

OSStatus WriteModelBool(Settings& settings, FourCharCode tag, SInt32 id, bool value) {
    UInt8 byte = value ? 1 : 0;
    return settings.Add(tag, id, &byte, 1);
}

OSStatus WriteModelMarker(Settings& settings, FourCharCode tag, SInt32 id) {
    return settings.Add(tag, id, &kModelRecordMarker, 1);
}

CString* NewModelString(const char* text) {
    if (text == nullptr) return nullptr;
    CString* copy = new (std::nothrow) CString(text);
    // A copy whose buffer could not be made is no copy.
    if (copy != nullptr && static_cast<const char*>(*copy) == nullptr) {
        delete copy;
        return nullptr;
    }
    return copy;
}
