// Small readers and writers for the model's store records, shared by the element, control and
// collection classes. Integers are stored in host byte order, booleans as one byte, byte strings
// without terminator.
//
// A record that is missing (or malformed: a flag or number of the wrong length) leaves the
// reader's default in place. A record that is there but cannot be taken in, because memory ran
// out or the read failed, also gives the "no record" answer, and is noted on the store as a read
// failure (Settings::NoteReadFailure) so that the rebuild as a whole can be refused.
#ifndef HALYX_PPDOBJECTS_MODELRECORDS_H
#define HALYX_PPDOBJECTS_MODELRECORDS_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"

class CString;
class Settings;

// The byte written into every marker record (the record that tells a loader which class saved a
// record set); its value is never read.
const UInt8 kModelRecordMarker = 1;

// The record's length; -1 when it cannot be read.
SInt32 ModelRecordLength(Settings& settings, FourCharCode tag, SInt32 id);

// Reads the record into `buffer` (of 1 to 8 bytes: a flag or a number) only when it is exactly
// `size` bytes long and the read succeeds;
// otherwise `buffer` is left alone and the answer is false.
bool ReadModelRecordExactly(Settings& settings, FourCharCode tag, SInt32 id, void* buffer,
                            SInt32 size);

// The record's bytes in a new malloc block the caller frees, with *length set; null (and *length
// left alone) when the record is missing, empty or cannot be read, or memory runs out.
unsigned char* ReadModelRecordBlock(Settings& settings, FourCharCode tag, SInt32 id,
                                    SInt32* length);

// Writes a byte string without its terminator.
OSStatus WriteModelString(Settings& settings, FourCharCode tag, SInt32 id, const char* text);
// Writes a platform string as its Unicode external representation; memFullErr when it cannot be
// made.
OSStatus WriteModelCFString(Settings& settings, FourCharCode tag, SInt32 id, CFStringRef text);
OSStatus WriteModelBool(Settings& settings, FourCharCode tag, SInt32 id, bool value);
OSStatus WriteModelMarker(Settings& settings, FourCharCode tag, SInt32 id);

// A new copy of `text`, or null for null text or when memory runs out; the caller deletes it.
CString* NewModelString(const char* text);

#endif  // HALYX_PPDOBJECTS_MODELRECORDS_H
