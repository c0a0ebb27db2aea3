// Status codes returned by the platform services. Each service translates host errors (errno,
// iconv, expat) into these in exactly one place.
#ifndef HALYX_PLATFORM_BASE_MACERRORS_H
#define HALYX_PLATFORM_BASE_MACERRORS_H

#ifdef __cplusplus
extern "C" {
#endif

enum {
    // General
    paramErr = -50,        // a bad argument
    memFullErr = -108,     // out of memory
    nilHandleErr = -109,   // a null handle where a handle was needed
    memWZErr = -111,       // the block is not a handle (already disposed)
    memLockedErr = -117,   // the block is locked and cannot move

    // File system
    dirFulErr = -33,
    dskFulErr = -34,       // no space left on the volume
    nsvErr = -35,          // no such volume
    ioErr = -36,           // an I/O error
    bdNamErr = -37,        // a bad file name
    fnOpnErr = -38,        // the file or fork is not open
    eofErr = -39,          // a read went past the end of the file
    posErr = -40,          // a position before the start of the file
    tmfoErr = -42,         // too many files open
    fnfErr = -43,          // file not found
    wPrErr = -44,          // the volume is write-protected
    fLckdErr = -45,        // the file is locked
    fBsyErr = -47,         // the file is busy
    dupFNErr = -48,        // a file with that name already exists
    opWrErr = -49,         // the file is already open for writing
    rfNumErr = -51,        // a bad reference number
    permErr = -54,         // permission denied
    wrPermErr = -61,       // the fork was not opened for writing
    dirNFErr = -120,       // directory not found

    // Resources
    resNotFound = -192,    // the resource was not found
    resFNotFound = -193,   // the resource file was not found
    mapReadErr = -199,     // the resource map could not be read

    // Gestalt
    gestaltUnknownErr = -5550,
    gestaltUndefSelectorErr = -5551,
    gestaltDupSelectorErr = -5552,
    gestaltLocationErr = -5553,

    // Text-encoding conversion
    kTextUnsupportedEncodingErr = -8738,   // an encoding the converter does not know
    kTextMalformedInputErr = -8739,        // invalid input, or a character the output cannot hold
    kTECNoConversionPathErr = -8749,       // both encodings known, but no way from one to the other
    kTECBufferBelowMinimumSizeErr = -8750, // the output cannot hold even the next character
    kTECPartialCharErr = -8753,            // the text ended inside a multi-byte character
    kTECOutputBufferFullStatus = -8785,    // part converted; the output filled before the input ended
};

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_BASE_MACERRORS_H
