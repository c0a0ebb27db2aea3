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

    // Widget toolkit: events
    eventInternalErr = -9868,              // the event system could not do what was asked
    eventKindIncorrectErr = -9869,         // the event is not of the kind the call needs
    eventParameterNotFoundErr = -9870,     // the event has no parameter of that name
    eventNotHandledErr = -9874,            // the handler left the event to the next one

    // Widget toolkit: windows and controls
    errInvalidWindowRef = -5600,           // not a window (or one already disposed)
    errDataNotSupported = -30581,          // the control keeps no data under that tag
    errControlDoesntSupportFocus = -30582, // the control cannot take the keyboard focus
    errUnknownControl = -30584,            // not a control (or one already disposed)
    errCouldntSetFocus = -30585,           // the control is hidden, inactive or disabled
    errControlIsNotEmbedder = -30590,      // the control cannot hold other controls
    errDataSizeMismatch = -30591,          // the data has the wrong size for its tag
    errCantEmbedIntoSelf = -30594,         // a control embedded into itself or its own child

    // Widget toolkit: interface definitions
    kNibFileNotFoundErr = -10960, // the bundle holds no interface definition of that name

    // Widget toolkit: data browser
    errDataBrowserNotConfigured = -4970,   // the control is not a data browser
    errDataBrowserItemNotFound = -4971,    // no row with that item id
    errDataBrowserPropertyNotFound = -4972,// no column with that property id
    errDataBrowserItemNotAdded = -4975,    // the item id is 0 or already a row
};

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_BASE_MACERRORS_H
