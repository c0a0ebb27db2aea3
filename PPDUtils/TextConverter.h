// Conversion of PPD text: the PPD's declared encoding (with bytes written as hexadecimal
// substrings between "<" and ">") to platform strings, between two byte encodings, and from
// platform strings back to the system encoding.
//
// A converter made from a PPD converts from the PPD's *LanguageEncoding to the system encoding (or
// to an output encoding of the caller's choice). An encoding name the converter does not know gives
// the code kUnknownEncoding and an invalid converter: Convert then leaves texts alone.
//
// Texts of a PPD whose *LanguageVersion is not one of mExceptionsList are read as Mac OS Roman as
// soon as one of them holds a byte from 0x80 up (see HexLanguageExceptions).
#ifndef HALYX_PPDUTILS_TEXTCONVERTER_H
#define HALYX_PPDUTILS_TEXTCONVERTER_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "PPDUtils/HexLanguageExceptions.h"
#include "TextEncoding/TextEncodingConverter.h"
#include "foundation/CString.h"

class PPDX;

class TextConverter {
public:
    static constexpr TextEncoding kUnknownEncoding = 0xFFFF;
    // De-hexing stopped at a segment it could not read, or there was no text to convert.
    static constexpr OSStatus kHexSegmentErr = 5000;

    // From the PPD's encoding to the system encoding; keeps the PPD's language version.
    explicit TextConverter(PPDX* ppd);
    // From the PPD's encoding to `outputEncoding`.
    TextConverter(PPDX* ppd, TextEncoding outputEncoding);
    // Between two encodings, without a PPD (the language version is empty).
    TextConverter(TextEncoding inputEncoding, TextEncoding outputEncoding);
    virtual ~TextConverter();

    // Makes the converter from the input to the output encoding; valid when it returns noErr.
    OSStatus Create();
    bool ValidConverter() const { return mValid; }

    // The encoding of the system script; 0 (Mac OS Roman) when it cannot be found.
    static TextEncoding GetCurrentEncoding();
    // The code of a *LanguageEncoding value ("ISOLatin1" -> 513, ...): exact and case-sensitive,
    // kUnknownEncoding for anything else (and for null).
    static TextEncoding LanguageStringToEncoding(const char* languageEncoding);
    // LanguageStringToEncoding of the PPD's *LanguageEncoding; kUnknownEncoding without a PPD.
    static TextEncoding GetPPDEncoding(PPDX* ppd);
    TextEncoding GetOutputEncoding() const { return mOutputEncoding; }

    // A new platform string from NUL-terminated PPD text (hexadecimal segments decoded), owned by
    // the caller. A null text gives an empty string; a text that cannot be converted is read as
    // Mac OS Roman; when memory runs out the string reads "Out Of Memory". `length` is not used.
    CFStringRef ConvertToCFString(const char* text, UInt32 length);

    // Converts the NUL-terminated `text` in place, decoding its hexadecimal segments; the result is
    // cut to `bufferSize` - 1 bytes and terminated. Returns noErr, the converter's status when it
    // is invalid, paramErr for a null text, memFullErr, kHexSegmentErr for an empty text, or the
    // conversion's failure (the text is then left as it was).
    OSStatus Convert(char* text, UInt32 bufferSize);

    // Writes `string` into `buffer` in the system encoding, terminated; "Translation Error" (cut to
    // fit) when it cannot be written that way. Nothing is written when `bufferSize` is 0.
    static void CFStringToCstring(CFStringRef string, char* buffer, UInt32 bufferSize);

    // Copies `text` into `output`, each hexadecimal segment "<...>" replaced by the bytes it
    // encodes; the rest of the text, from a segment that cannot be read on, is copied unchanged.
    // `output` must hold strlen(text) + 1 bytes. Returns the bytes written, terminator included.
    static UInt32 DehexBufferFill(const char* text, char* output);

    static HexLanguageExceptions mExceptionsList;

protected:
    void Initialize();

    // Steps from `cursor` to the next character that is not a blank, tab, LF or CR; kHexSegmentErr
    // when that character is neither a hexadecimal digit nor ">".
    static OSStatus nextHexChar(const char*& cursor);
    // The value of a hexadecimal digit; 0 for anything else.
    static short toShort(char digit);

    // De-hexes `inText` (`inTextLen` bytes before its terminator) and converts it with the main
    // converter into `output`.
    OSStatus ppdStringConvert(const char* inText, UInt32 inTextLen, Handle output,
                              ByteCount* bytesWritten);
    // Converts `count` bytes with `converter` into the growable `output`, then flushes.
    OSStatus convertText(TECObjectRef converter, const UInt8* input, ByteCount count, Handle output,
                         ByteCount* bytesRead, ByteCount* bytesWritten);
    // Grows `output` to `newSize` and points `writePosition` at the same offset in the moved block.
    static OSStatus resetOutputHandle(Handle output, Size newSize, ByteCount written,
                                      UInt8** writePosition);

private:
    // Starts the to-Unicode converter for the input encoding, unless it is already made for it.
    void MakeToUnicodeConverter();
    // The `length` bytes of the de-hexed text (its terminator left out) as a string converted to
    // Unicode by the to-Unicode converter; null when the conversion fails.
    CFStringRef ConvertThroughUnicode(const char* dehexed, UInt32 length);
    void SetUp(PPDX* ppd, TextEncoding outputEncoding, bool outputFromSystem);

    TextEncoding mInputEncoding;
    TextEncoding mOutputEncoding;
    TECObjectRef mConverter;
    OSStatus mStatus;
    bool mValid;
    TECObjectRef mToUnicodeConverter;
    TextEncoding mToUnicodeEncoding;
    CString mLanguageVersion;
    // Whether mLanguageVersion is one of mExceptionsList; -1 until Convert first asks.
    int mExceptionLanguage;

    TextConverter(const TextConverter&) = delete;
    TextConverter& operator=(const TextConverter&) = delete;
};

#endif  // HALYX_PPDUTILS_TEXTCONVERTER_H
