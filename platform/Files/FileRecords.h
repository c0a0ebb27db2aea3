// File file records and file references over POSIX paths.
//
// The host file system is presented as one volume (kHalyxVolumeRefNum). Directories get numeric ids
// from a process-wide table that maps a path to an id and back: the root "/" is fsRtDirID (2), its
// notional parent fsRtParID (1), every other path an id from 16 upwards handed out on first use and
// kept until the process ends. An id names a path, not the directory found there today.
//
// FSSpec is the 70-byte record {volume, parent directory id, name}. The name is the last component
// of the path, as the host spells it (bytes, not converted), when it has at most 63 bytes. A longer
// component (the host takes up to 255 bytes of anything but '/' and NUL) is held as a stand-in of
// 63 bytes or fewer: the component's start, "#" and the path's table id in upper-case hexadecimal.
// Every call here that takes a record or a name reads such a stand-in as the long component it came
// from, for the life of the process, like a directory id. Paths may be as long as the host takes
// (PATH_MAX). The record is packed (parID sits at offset 2): copy parID out rather than
// binding a reference or pointer to it. The root is the record {volume, fsRtParID, "/"}. A record
// may name a file that does not exist yet (to create it).
//
// FSRef is an 80-byte opaque reference to an object that exists; it holds the object's table id.
#ifndef HALYX_PLATFORM_FILES_FILERECORDS_H
#define HALYX_PLATFORM_FILES_FILERECORDS_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
    kHalyxVolumeRefNum = -100,  // the one volume
    fsRtParID = 1,              // parent id of the root directory
    fsRtDirID = 2,              // id of the root directory
    kHalyxMaxFileName = 63,     // longest name an FSSpec holds
    kHalyxMaxComponent = 255,   // longest path component the host takes
};

#pragma pack(push, 2)
typedef struct FSSpec {
    SInt16 vRefNum;
    SInt32 parID;
    Str63 name;
} FSSpec;
#pragma pack(pop)
typedef FSSpec* FSSpecPtr;

typedef struct FSRef {
    UInt8 hidden[80];
} FSRef;
typedef FSRef* FSRefPtr;

typedef struct HFSUniStr255 {
    UInt16 length;  // in UTF-16 units
    UniChar unicode[255];
} HFSUniStr255;

typedef UInt32 FSCatalogInfoBitmap;
enum {
    kFSCatInfoNone = 0,
    kFSCatInfoNodeFlags = 0x00000002,
    kFSCatInfoVolume = 0x00000004,
    kFSCatInfoParentDirID = 0x00000008,
    kFSCatInfoNodeID = 0x00000010,
    kFSCatInfoDataSizes = 0x00004000,
    kFSCatInfoRsrcSizes = 0x00008000,
    kFSCatInfoGettableInfo = 0x0003FFFF,
};

enum { kFSNodeIsDirectoryMask = 0x0010 };

typedef struct FSCatalogInfo {
    UInt16 nodeFlags;  // kFSNodeIsDirectoryMask for a directory
    SInt16 volume;
    UInt32 parentDirID;
    UInt32 nodeID;  // the object's own table id (a directory's id is its dirID)
    UInt64 dataLogicalSize;
    UInt64 dataPhysicalSize;
    UInt64 rsrcLogicalSize;  // always 0: host files have no resource fork
    UInt64 rsrcPhysicalSize;
} FSCatalogInfo;

// Makes the record of `fileName` in directory `dirID` of volume `vRefNum`.
// vRefNum: kHalyxVolumeRefNum, or 0 for the same. dirID: a directory id, or 0 for the working
// directory. fileName: a length-prefixed name; empty means the directory itself; a name holding '/'
// is a path relative to the directory (absolute when it starts with '/'), "." and ".." included.
// Returns noErr when the object exists; fnfErr (-43) when it does not but its directory does (the
// record is filled all the same, so the file can be created); dirNFErr (-120) when the directory is
// unknown or missing; nsvErr (-35) for another volume; bdNamErr (-37) for a name holding a NUL or a
// component over 255 bytes; paramErr (-50) for a null record. A name that is the stand-in of a long
// component of that directory names that component. On dirNFErr, nsvErr and bdNamErr the record is
// left untouched.
OSErr FSMakeFSSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param fileName, FSSpec* spec);

// The record of a POSIX path (relative paths against the working directory); statuses as
// FSMakeFSSpec.
OSErr HalyxFSSpecFromPath(const char* path, FSSpec* spec);

// Writes the absolute POSIX path of `spec` (NUL-terminated) into `path`. noErr; dirNFErr for an
// unknown parent id; nsvErr for another volume; paramErr for null arguments or a buffer too small.
// The object itself need not exist.
OSErr HalyxPathFromFSSpec(const FSSpec* spec, char* path, UInt32 maxPathSize);

// The reference of an existing object. noErr; fnfErr when it does not exist; statuses of
// HalyxPathFromFSSpec for a bad record.
OSErr FSpMakeFSRef(const FSSpec* spec, FSRef* ref);

// The reference of an existing POSIX path; *isDirectory (may be null) tells what it is.
// noErr, fnfErr, dirNFErr, paramErr.
OSErr FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory);

// The absolute POSIX path of `ref`, NUL-terminated. noErr; paramErr for a null or foreign reference
// or a buffer too small; fnfErr when the object no longer exists.
OSErr FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize);

// Facts about `ref`: every output may be null. catalogInfo receives every field it has whatever
// `whichInfo` asks; outName the object's name in UTF-16; fsSpec its record; parentRef the reference
// of its directory (zeroed for the root). noErr; paramErr for a bad reference; fnfErr when the
// object no longer exists.
OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfo,
                       HFSUniStr255* outName, FSSpec* fsSpec, FSRef* parentRef);

#ifdef __cplusplus
}
static_assert(sizeof(FSSpec) == 70, "FSSpec keeps its 70-byte layout");
static_assert(sizeof(FSRef) == 80, "FSRef is 80 opaque bytes");
#endif

#endif  // HALYX_PLATFORM_FILES_FILERECORDS_H
