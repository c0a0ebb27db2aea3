// Text records of a settings store. Byte strings are stored without terminator; platform strings
// as their Unicode external representation (UTF-16 with a byte-order mark), which is what the
// model classes write for every string record.
#ifndef HALYX_SETTINGS_SETTINGSSTRINGS_H
#define HALYX_SETTINGS_SETTINGSSTRINGS_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"

class CString;
class Settings;

// Readers of a string record answer null for a missing or empty record; when the record is there
// but cannot be taken in (memory runs out, the read fails) they answer null as well and note a
// read failure on the store.

// The record's bytes as a new string the caller deletes; null when the record cannot be read or
// is empty. The text ends at the record's first NUL byte, if it holds one.
CString* GetSettingsString(Settings& settings, FourCharCode tag, SInt32 id);

// The record's bytes read as an external representation; null when the record is missing, empty
// or not a valid representation (which is no read failure). The caller releases the string.
CFStringRef GetSettingsCFString(Settings& settings, FourCharCode tag, SInt32 id);

// The string's Unicode external representation in a new array the caller frees with delete[];
// *length gets its size. Null (length 0) for a null string or when memory runs out.
UInt8* CFStringToExternal(CFStringRef string, SInt32* length);

// The inverse of CFStringToExternal; null for null bytes or bytes that are not a valid
// representation. The caller releases the string.
CFStringRef ExtenalToCFString(const UInt8* bytes, SInt32 length);

#endif  // HALYX_SETTINGS_SETTINGSSTRINGS_H
