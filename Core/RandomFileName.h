// Names for temporary files: a prefix followed by a pseudo-random decimal number (0 to 65535), and
// the exclusive creation of such a file.
#ifndef HALYX_CORE_RANDOMFILENAME_H
#define HALYX_CORE_RANDOMFILENAME_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFString.h"

// The size that callers give the buffer of CreateRandomFileName.
constexpr int kRandomFileNameBufferSize = 256;

// `prefix` (may be null) followed by the next 16-bit toolbox random value taken as unsigned, in
// decimal. The text is copied into `buffer` when given (at least kRandomFileNameBufferSize bytes).
// Returns the text as a new string (Mac OS Roman) for the caller to release, or null when memory
// runs out.
CFStringRef CreateRandomFileName(const char* prefix, char* buffer);

// How many names CreateExclusiveRandomFile draws before it gives up.
constexpr int kRandomFileNameAttempts = 64;

// Creates a new file named by CreateRandomFileName(prefix) with mode 0644 and writes `data` into
// it. The file is made exclusively and never through a symbolic link: a name that is taken (by a
// file, a folder or a link) is passed over and another number drawn. On success the path is in
// `path` (kRandomFileNameBufferSize bytes) and the status is noErr. dupFNErr when every name drawn
// was taken; fnfErr, permErr, ioErr, dskFulErr when the folder refuses the file or the write fails
// (a file this call created is then removed). `path` is "" after every failure.
OSStatus CreateExclusiveRandomFile(const char* prefix, CFDataRef data, char* path);

#endif  // HALYX_CORE_RANDOMFILENAME_H
