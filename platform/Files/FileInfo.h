// Creating, deleting and describing files.
//
// A file's type and creator codes are kept with the file in the host's extended attribute
// "user.halyx.FinderInfo" when the host file system has them; where it has not, the codes are kept
// for the life of the process only. A file created by another program reports zero codes.
#ifndef HALYX_PLATFORM_FILES_FILEINFO_H
#define HALYX_PLATFORM_FILES_FILEINFO_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"
#include "Files/FileRecords.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef SInt16 ScriptCode;

typedef struct FInfo {
    OSType fdType;
    OSType fdCreator;
    UInt16 fdFlags;
    struct {
        SInt16 v;
        SInt16 h;
    } fdLocation;
    SInt16 fdFldr;
} FInfo;

// Parameter block of PBHGetFInfoSync. Inputs: ioNamePtr, ioVRefNum, ioDirID, ioFDirIndex.
// Outputs: ioResult, ioFlAttrib, ioFlFndrInfo, the fork lengths and the dates (seconds since
// 1904-01-01 UTC); ioNamePtr receives the name when the file was found by index. ioDirID is left as
// given.
typedef struct HFileParam {
    void* qLink;
    SInt16 qType;
    SInt16 ioTrap;
    Ptr ioCmdAddr;
    void* ioCompletion;
    OSErr ioResult;
    StringPtr ioNamePtr;
    SInt16 ioVRefNum;
    SInt16 ioFRefNum;
    SInt8 ioFVersNum;
    SInt8 filler1;
    SInt16 ioFDirIndex;  // > 0: the n-th file of the directory (by name); otherwise by ioNamePtr
    SInt8 ioFlAttrib;    // kioFlAttribLockedMask when the host refuses writing
    SInt8 ioFlVersNum;
    FInfo ioFlFndrInfo;
    SInt32 ioDirID;
    UInt16 ioFlStBlk;
    SInt32 ioFlLgLen;  // data fork logical length
    SInt32 ioFlPyLen;  // data fork physical length
    UInt16 ioFlRStBlk;
    SInt32 ioFlRLgLen;  // resource fork logical length (0)
    SInt32 ioFlRPyLen;
    UInt32 ioFlCrDat;
    UInt32 ioFlMdDat;
} HFileParam;

typedef union HParamBlockRec {
    HFileParam fileParam;
} HParamBlockRec;
typedef HParamBlockRec* HParmBlkPtr;

enum { kioFlAttribLockedMask = 0x01 };

// Creates an empty file `fileName` in directory `dirID` and records its codes. noErr; dupFNErr
// (-48) when something of that name exists; statuses of FSMakeFSSpec for a bad place.
OSErr HCreate(SInt16 vRefNum, SInt32 dirID, ConstStr255Param fileName, OSType creator,
              OSType fileType);
// As HCreate, for the place a record names. The script code is ignored.
OSErr FSpCreate(const FSSpec* spec, OSType creator, OSType fileType, ScriptCode scriptTag);

// Deletes a file or an empty directory. noErr; fnfErr when absent; fBsyErr (-47) for a directory
// that is not empty.
OSErr FSpDelete(const FSSpec* spec);

// The file's codes (flags, location and folder are zero). noErr; fnfErr when no file of that name
// exists (a directory counts as none).
OSErr FSpGetFInfo(const FSSpec* spec, FInfo* fndrInfo);

// Describes a file: see HFileParam. The status is returned and kept in ioResult. fnfErr when the
// file is absent, is a directory, or the index is past the last file; dirNFErr, nsvErr, bdNamErr
// as FSMakeFSSpec; paramErr for a null block.
OSErr PBHGetFInfoSync(HParmBlkPtr paramBlock);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_FILES_FILEINFO_H
