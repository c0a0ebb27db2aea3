// File URLs over POSIX paths, and reading or writing a whole file through one.
//
// A file URL is "file://" followed by the absolute, percent-escaped path; a directory URL ends in
// "/". Relative paths are resolved against the current directory when the URL is made. URLs of
// other schemes can be made from strings and compared, but have no file-system path.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFURL_H
#define HALYX_PLATFORM_COREFOUNDATION_CFURL_H

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFDictionary.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct __CFURL* CFURLRef;

typedef CFIndex CFURLPathStyle;
enum { kCFURLPOSIXPathStyle = 0, kCFURLHFSPathStyle = 1, kCFURLWindowsPathStyle = 2 };

CFTypeID CFURLGetTypeID(void);

// NULL for an empty path or a style other than kCFURLPOSIXPathStyle.
CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef filePath,
                                       CFURLPathStyle pathStyle, Boolean isDirectory);
// `buffer` holds the path in UTF-8.
CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef allocator, const UInt8* buffer,
                                                 CFIndex bufLen, Boolean isDirectory);
// Parses an absolute URL ("file:///a%20b/c"), or a relative one against `baseURL`. NULL when the
// string is not a well-formed URL (spaces, bad escapes, no scheme and no base).
CFURLRef CFURLCreateWithString(CFAllocatorRef allocator, CFStringRef URLString, CFURLRef baseURL);

// The URL's string (not retained for the caller).
CFStringRef CFURLGetString(CFURLRef anURL);
CFURLRef CFURLGetBaseURL(CFURLRef anURL);  // always NULL: URLs are kept absolute
CFURLRef CFURLCopyAbsoluteURL(CFURLRef relativeURL);
CFStringRef CFURLCopyScheme(CFURLRef anURL);
Boolean CFURLHasDirectoryPath(CFURLRef anURL);

// The decoded path without a trailing "/" (except for the root); NULL for other schemes or styles.
CFStringRef CFURLCopyFileSystemPath(CFURLRef anURL, CFURLPathStyle pathStyle);
// Writes the path and a NUL; false when it does not fit or the URL has no file-system path.
Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase, UInt8* buffer,
                                         CFIndex maxBufLen);

CFStringRef CFURLCopyLastPathComponent(CFURLRef url);
// NULL when the last component has no extension.
CFStringRef CFURLCopyPathExtension(CFURLRef url);
CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef allocator, CFURLRef url,
                                               CFStringRef pathComponent, Boolean isDirectory);
// The parent directory (the root stays the root).
CFURLRef CFURLCreateCopyDeletingLastPathComponent(CFAllocatorRef allocator, CFURLRef url);
CFURLRef CFURLCreateCopyAppendingPathExtension(CFAllocatorRef allocator, CFURLRef url,
                                               CFStringRef extension);
CFURLRef CFURLCreateCopyDeletingPathExtension(CFAllocatorRef allocator, CFURLRef url);

// Reads the whole file into *resourceData (the caller releases it); *properties, when asked
// for, is set to NULL. On failure returns false and stores a negative status in *errorCode:
// fnfErr (-43) missing file, dirNFErr (-120) missing folder, permErr (-54) no access, ioErr
// (-36) other read errors, paramErr (-50) a URL that is not a file URL.
Boolean CFURLCreateDataAndPropertiesFromResource(CFAllocatorRef alloc, CFURLRef url,
                                                 CFDataRef* resourceData,
                                                 CFDictionaryRef* properties,
                                                 CFArrayRef desiredProperties, SInt32* errorCode);
// As CFURLCreateDataAndPropertiesFromResource for the data alone, but a regular file is mapped
// read-only rather than read: its pages cost memory only once something reads them, so a value
// that is kept but seldom read (a whole PPD in a ticket) costs next to nothing. An empty file,
// a pipe or a device is read as above. The bytes are those of the file when they are read:
// whoever changes the file in place, or cuts it short, while the value lives must not read it.
Boolean HalyxCFURLCreateMappedDataFromResource(CFURLRef url, CFDataRef* resourceData,
                                               SInt32* errorCode);
// Replaces the file's contents with `dataToWrite` (a directory URL creates the folder).
// Properties are ignored. Failure statuses as above, plus dskFulErr (-34) and wPrErr (-44).
Boolean CFURLWriteDataAndPropertiesToResource(CFURLRef url, CFDataRef dataToWrite,
                                              CFDictionaryRef propertiesToWrite, SInt32* errorCode);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFURL_H
