// Data forks: open, read, write, position and length of a file's bytes.
//
// An open fork is named by a positive reference number. Numbers are handed out in increasing order
// (wrapping after 32767) so that a number just closed is not at once given to another file.
// Host files have no resource fork; resource files are read by the resource service instead.
//
// Statuses common to every call here: fnOpnErr (-38) for a reference number that names no open
// fork, rfNumErr (-51) for a number that can never name one (zero or negative), ioErr (-36) for a
// host failure without a closer match.
#ifndef HALYX_PLATFORM_FILES_FILEFORKS_H
#define HALYX_PLATFORM_FILES_FILEFORKS_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"
#include "Files/FileRecords.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef SInt16 FSIORefNum;

enum {
    fsCurPerm = 0,   // read and write when allowed, else read only
    fsRdPerm = 1,    // read only
    fsWrPerm = 2,    // write (reads are allowed as well when the host allows them)
    fsRdWrPerm = 3,  // read and write
};

enum {
    fsAtMark = 0,     // stay where the mark is
    fsFromStart = 1,  // offset from the start of the fork
    fsFromLEOF = 2,   // offset from the logical end of the fork
    fsFromMark = 3,   // offset from the current mark
};

// Opens the data fork of `spec`. noErr with *refNum set; fnfErr when the file (or a directory by
// that name) is not a file; dirNFErr, nsvErr, bdNamErr for a bad record; permErr (-54) when the host
// refuses the access; tmfoErr (-42) when too many files are open; paramErr for a bad permission or
// null arguments. An armed kHalyxFailFileOpen failure makes it fail with ioErr. On failure *refNum
// is 0.
OSErr FSpOpenDF(const FSSpec* spec, SInt8 permission, FSIORefNum* refNum);

// Reads up to *count bytes at the mark into `buffer` and advances the mark. *count receives the
// number of bytes read. noErr when all were read; eofErr (-39) when the end of the fork came first,
// with the bytes before it delivered and counted; permErr when the fork was opened without read
// access; paramErr for a negative count or null arguments. An armed kHalyxFailFileRead failure
// makes it fail with ioErr, reading nothing (*count 0).
OSErr FSRead(FSIORefNum refNum, SInt32* count, void* buffer);

// Writes *count bytes at the mark and advances it; *count receives the number written. noErr;
// wrPermErr (-61) when the fork was not opened for writing; dskFulErr (-34) when the volume is
// full.
OSErr FSWrite(FSIORefNum refNum, SInt32* count, const void* buffer);

// Closes the fork; the reference number becomes unknown.
OSErr FSClose(FSIORefNum refNum);

// The mark (the offset of the next read or write).
OSErr GetFPos(FSIORefNum refNum, SInt32* filePos);
// Moves the mark. posErr (-40) before the start (the mark stays); eofErr beyond the end (the mark
// goes to the end); paramErr for an unknown mode.
OSErr SetFPos(FSIORefNum refNum, SInt16 posMode, SInt32 posOff);

// The logical length of the fork.
OSErr GetEOF(FSIORefNum refNum, SInt32* logEOF);
// Sets the logical length (cuts or zero-fills); wrPermErr when not opened for writing; paramErr for
// a negative length. A mark beyond the new end moves to it.
OSErr SetEOF(FSIORefNum refNum, SInt32 logEOF);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_FILES_FILEFORKS_H
