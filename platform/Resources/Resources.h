// Resource files and the resource chain.
//
// A resource file here is a file of its own (see ResourceMap.h for its format); opening it reads
// the whole map, and the file stays open (as a data fork, whose reference number is the resource
// file's) until it is closed. Open files form a chain in the order they were opened. One of them is
// the current resource file; a lookup searches the current file first, then the files opened before
// it, newest first. Reference number 0 stands for the bottom of the chain, where nothing is found.
//
// Every call sets the status ResError() reports. State is process-wide and not guarded.
#ifndef HALYX_PLATFORM_RESOURCES_RESOURCES_H
#define HALYX_PLATFORM_RESOURCES_RESOURCES_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"
#include "CoreFoundation/CFBundle.h"
#include "Files/FileRecords.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef SInt16 ResFileRefNum;

// The status of the last resource call.
OSErr ResError(void);

// Opens the resource file `spec` names and makes it current; the permission is ignored (resource
// files are read only). A file already open is made current and keeps its number. Returns the
// reference number, or -1 with ResError fnfErr (-43) for a missing file, mapReadErr (-199) for one
// that holds no resource map, dirNFErr / nsvErr / bdNamErr for a bad record, or the status of the
// failed open or read (an armed kHalyxFailFileOpen failure gives ioErr).
ResFileRefNum FSpOpenResFile(const FSSpec* spec, SInt8 permission);

// Closes a resource file. When it was current, the file opened before it becomes current (0 when
// none). ResError: noErr, or resFNotFound (-193) when no such file is open. 0 is ignored.
void CloseResFile(ResFileRefNum refNum);

// Makes an open file (or 0) current. ResError: noErr, or resFNotFound (the current file stays).
void UseResFile(ResFileRefNum refNum);

// The current resource file; 0 when none.
ResFileRefNum CurResFile(void);

// Copies entry `index` (counted from 1) of string list `strListID` into `theString` as a
// length-prefixed string in Mac OS Roman, searching the chain from the current file down. When no
// file has the list, or the list has no such entry, `theString` is empty and ResError is
// resNotFound (-192); otherwise noErr.
void GetIndString(Str255 theString, SInt16 strListID, SInt16 index);

// Opens a bundle's resource map: the file Contents/Resources/<executable>.rsrc, where <executable>
// is the bundle's CFBundleExecutable value, or, when it has none, the bundle folder's name without
// its extension. Returns its reference number (the file becomes current, as with FSpOpenResFile),
// or -1 when the bundle has no such file (ResError resFNotFound) or it cannot be read.
ResFileRefNum CFBundleOpenBundleResourceMap(CFBundleRef bundle);

// Closes a map opened by CFBundleOpenBundleResourceMap.
void CFBundleCloseBundleResourceMap(CFBundleRef bundle, ResFileRefNum refNum);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_RESOURCES_RESOURCES_H
