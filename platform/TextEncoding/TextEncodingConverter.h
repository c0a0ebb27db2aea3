// Converters between two text encodings.
//
// A converter turns text of one encoding into another, in as many calls as the caller likes: it
// keeps what it needs between calls (a multi-byte character split across two input buffers, the
// shift state of a stateful encoding) until TECFlushText ends the text or
// TECClearConverterContextInfo drops it.
//
// Output that does not fit is never lost: a call converts what fits, reports how much input it took
// and how much output it wrote, and answers kTECOutputBufferFullStatus; when not even the next
// character fits it answers kTECBufferBelowMinimumSizeErr, takes nothing and writes nothing. Either
// way the caller grows its buffer and calls again with the input not yet taken.
//
// Unicode (kTextEncodingUnicodeDefault) is UTF-16 in host byte order without a byte-order mark.
#ifndef HALYX_PLATFORM_TEXTENCODING_TEXTENCODINGCONVERTER_H
#define HALYX_PLATFORM_TEXTENCODING_TEXTENCODINGCONVERTER_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"
#include "TextEncoding/TextCommon.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueTECObjectRef* TECObjectRef;
typedef const UInt8* ConstTextPtr;
typedef UInt8* TextPtr;

// Makes a converter from `inputEncoding` to `outputEncoding` (the two may be equal: the text is
// then checked and copied). Returns noErr and stores the converter, which the caller disposes with
// TECDisposeConverter. On failure stores null and returns paramErr (null `newEncodingConverter`),
// kTextUnsupportedEncodingErr (an encoding number this service does not know),
// kTECNoConversionPathErr (no conversion between the two) or memFullErr.
OSStatus TECCreateConverter(TECObjectRef* newEncodingConverter, TextEncoding inputEncoding,
                            TextEncoding outputEncoding);

// Converts up to `inputBufferLength` bytes into `outputBuffer`. Always stores how many input bytes
// were taken (`actualInputLength`) and output bytes written (`actualOutputLength`), also on
// failure. Bytes of an incomplete character at the end of the input are taken and kept for the next
// call. Returns:
//   noErr                          all input taken;
//   kTECOutputBufferFullStatus     some converted, the output is full: call again with the rest;
//   kTECBufferBelowMinimumSizeErr  nothing converted, the output cannot hold the next character;
//   kTextMalformedInputErr         the input holds a byte sequence that is not valid in the input
//                                  encoding or has no equivalent in the output encoding; the counts
//                                  stop before it (a bad character begun in an earlier call is
//                                  dropped);
//   paramErr                       a null converter, output count or input count pointer, or a null
//                                  buffer with a non-zero length.
// A conversion failure armed with kHalyxFailConversion returns kTextMalformedInputErr, taking and
// writing nothing.
OSStatus TECConvertText(TECObjectRef encodingConverter, ConstTextPtr inputBuffer,
                        ByteCount inputBufferLength, ByteCount* actualInputLength,
                        TextPtr outputBuffer, ByteCount outputBufferLength,
                        ByteCount* actualOutputLength);

// Ends the text: writes what the converter still holds (the return to the initial shift state of a
// stateful encoding) and readies it for a new text. Returns noErr; kTECOutputBufferFullStatus or
// kTECBufferBelowMinimumSizeErr when the output is too small (call again with more room);
// kTECPartialCharErr when the text ended inside a character (that partial character is dropped and
// the converter is ready for a new text); paramErr for null arguments.
OSStatus TECFlushText(TECObjectRef encodingConverter, TextPtr outputBuffer,
                      ByteCount outputBufferLength, ByteCount* actualOutputLength);

// Forgets everything kept from earlier calls, so that the next call starts a new text. Returns
// noErr, or paramErr for a null converter.
OSStatus TECClearConverterContextInfo(TECObjectRef encodingConverter);

// Releases the converter. Returns noErr, or paramErr for a null converter.
OSStatus TECDisposeConverter(TECObjectRef newEncodingConverter);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_TEXTENCODING_TEXTENCODINGCONVERTER_H
