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

bool ReadModelRecordExactly(Settings& settings, FourCharCode tag, SInt32 id, void* buffer,
                            SInt32 size) {
    if (buffer == nullptr || ModelRecordLength(settings, tag, id) != size) return false;
    // Read into a scratch copy so that a failed read leaves the caller's field as it was.
    unsigned char scratch[8];
    if (size < 1 || size > static_cast<SInt32>(sizeof scratch)) return false;
    SInt32 read = size;
    if (settings.Get(tag, id, scratch, &read) != noErr || read != size) {
        settings.NoteReadFailure();
        return false;
    }
    std::memcpy(buffer, scratch, static_cast<size_t>(size));
    return true;
}

unsigned char* ReadModelRecordBlock(Settings& settings, FourCharCode tag, SInt32 id,
                                    SInt32* length) {
    if (length == nullptr) return nullptr;
    SInt32 size = ModelRecordLength(settings, tag, id);
    if (size < 1) return nullptr;
    unsigned char* block = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size)));
    SInt32 read = size;
    if (block == nullptr || settings.Get(tag, id, block, &read) != noErr || read != size) {
        std::free(block);
        settings.NoteReadFailure();
        return nullptr;
    }
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
