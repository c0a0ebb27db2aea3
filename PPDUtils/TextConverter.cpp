#include "PPDUtils/TextConverter.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Memory/MacMemory.h"
#include "TextEncoding/TextCommon.h"
#include "foundation/Diagnostics.h"
#include "testing/FailureInjection.h"

// Internal consistency checks: a failure names this module, the line and the condition on standard
// error, then stops the process.
#define TEXTCONVERTER_ASSERT(condition)                                                       \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            fprintf(stderr, "PPDUtils/TextConverter:%d: failed assertion \"%s\"\n", __LINE__, \
                    #condition);                                                              \
            abort();                                                                          \
        }                                                                                     \
    } while (0)

namespace {

// The smallest output convertText works with, and the smallest step it grows by.
const Size kMinimumOutputSize = 32;

// Expansion allowed for a converted text before the output has to grow: three output bytes per
// input byte cover every 8-bit encoding into UTF-8; four cover anything into UTF-16.
const Size kConvertExpansion = 3;
const Size kUnicodeExpansion = 4;

const char kTranslationError[] = "Translation Error";

CFStringRef StringFromMacRoman(const char* text) {
    return CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(text),
                                   static_cast<CFIndex>(strlen(text)), kCFStringEncodingMacRoman,
                                   false);
}

bool IsGrowStatus(OSStatus status) {
    return status == kTECOutputBufferFullStatus || status == kTECBufferBelowMinimumSizeErr;
}

// Room for the de-hexed copy of a text: on the stack when the text is short, a block from the
// memory service otherwise. Either way it is one allocation, so that an injected memory failure
// reaches the same branches for every length.
class DehexBuffer {
public:
    explicit DehexBuffer(Size size) {
        if (size <= static_cast<Size>(sizeof mLocal)) {
            mText = HalyxShouldFail(kHalyxFailAllocation) ? nullptr : mLocal;
        } else {
            mHeap = NewPtr(size);
            mText = mHeap;
        }
    }
    ~DehexBuffer() {
        if (mHeap != nullptr) DisposePtr(mHeap);
    }
    char* Get() const { return mText; }

private:
    char mLocal[256];
    char* mHeap = nullptr;
    char* mText = nullptr;

    DehexBuffer(const DehexBuffer&) = delete;
    DehexBuffer& operator=(const DehexBuffer&) = delete;
};

}  // namespace

HexLanguageExceptions TextConverter::mExceptionsList;

TextConverter::TextConverter(TextEncoding inputEncoding, TextEncoding outputEncoding) {
    Initialize();
    if (inputEncoding == kUnknownEncoding || outputEncoding == kUnknownEncoding) return;
    mInputEncoding = inputEncoding;
    mOutputEncoding = outputEncoding;
    Create();
}

TextConverter::~TextConverter() {
    if (mConverter != nullptr) {
        TECClearConverterContextInfo(mConverter);
        TECDisposeConverter(mConverter);
    }
    if (mToUnicodeConverter != nullptr) {
        TECClearConverterContextInfo(mToUnicodeConverter);
        TECDisposeConverter(mToUnicodeConverter);
    }
}

void TextConverter::Initialize() {
    mInputEncoding = kUnknownEncoding;
    mOutputEncoding = kUnknownEncoding;
    mConverter = nullptr;
    mStatus = noErr;
    mValid = false;
    mToUnicodeConverter = nullptr;
    mToUnicodeEncoding = 0;
    mLanguageVersion = "";
    mExceptionLanguage = -1;
}

OSStatus TextConverter::Create() {
    if (mConverter != nullptr) {
        TECDisposeConverter(mConverter);
        mConverter = nullptr;
    }
    mStatus = TECCreateConverter(&mConverter, mInputEncoding, mOutputEncoding);
    mValid = mStatus == noErr;
    return mStatus;
}

TextEncoding TextConverter::GetCurrentEncoding() {
    TextEncoding encoding = kTextEncodingMacRoman;
    if (UpgradeScriptInfoToTextEncoding(smSystemScript, kTextLanguageDontCare, kTextRegionDontCare,
                                        nullptr, &encoding) != noErr) {
        return kTextEncodingMacRoman;
    }
    return encoding;
}

TextEncoding TextConverter::LanguageStringToEncoding(const char* languageEncoding) {
    static const struct {
        const char* name;
        TextEncoding encoding;
    } kNames[] = {
        {"ISOLatin1", kTextEncodingISOLatin1},  {"ISOLatin2", kTextEncodingISOLatin2},
        {"ISOLatin5", kTextEncodingISOLatin5},  {"JIS83-RKSJ", kTextEncodingShiftJIS},
        {"MacStandard", kTextEncodingMacRoman}, {"WindowsANSI", kTextEncodingWindowsLatin1},
    };
    if (languageEncoding == nullptr) return kUnknownEncoding;
    for (const auto& entry : kNames) {
        if (strcmp(languageEncoding, entry.name) == 0) return entry.encoding;
    }
    if (strcmp(languageEncoding, "UTF-8") == 0) {
        const TextEncoding encoding =
            CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingUTF8);
        // Standard error, and only when asked for: standard output carries the program's data.
        if (HalyxDiagnosticsWanted())
            fprintf(stderr, "CFStringGetMostCompatibleMacStringEncoding theEncoding = %x (%d)\n",
                    static_cast<unsigned>(encoding), static_cast<int>(encoding));
        return encoding;
    }
    return kUnknownEncoding;
}

CFStringRef TextConverter::ConvertToCFString(const char* text, UInt32 length) {
    (void)length;  // the text is NUL-terminated
    if (text == nullptr) return CFStringCreateWithCString(nullptr, "", kCFStringEncodingMacRoman);

    const size_t inTextLen = strlen(text);
    DehexBuffer buffer(static_cast<Size>(inTextLen) + 1);
    if (buffer.Get() == nullptr) return StringFromMacRoman("Out Of Memory");
    // A text without a segment is its own de-hexed copy.
    const bool hasSegment = memchr(text, '<', inTextLen) != nullptr;
    const char* dehexed = hasSegment ? buffer.Get() : text;
    if (hasSegment) DehexBufferFill(text, buffer.Get());
    // A segment may decode to a NUL, which ends the text.
    const CFIndex byteCount = static_cast<CFIndex>(hasSegment ? strlen(dehexed) : inTextLen);
    const UInt8* bytes = reinterpret_cast<const UInt8*>(dehexed);

    CFStringRef result = nullptr;
    switch (mInputEncoding) {
        case kTextEncodingISOLatin1:
            result = CFStringCreateWithBytes(nullptr, bytes, byteCount, kCFStringEncodingISOLatin1,
                                             false);
            break;
        case kTextEncodingUnicodeDefault:
        case kTextEncodingUnicodeV1_1:
            result =
                CFStringCreateWithBytes(nullptr, bytes, byteCount, kCFStringEncodingUTF8, false);
            break;
        case kTextEncodingWindowsLatin1:
            result = CFStringCreateWithBytes(nullptr, bytes, byteCount,
                                             kCFStringEncodingWindowsLatin1, false);
            break;
        case kTextEncodingISOLatin2:
        case kTextEncodingISOLatin5:
        case kTextEncodingShiftJIS:
            result = ConvertThroughUnicode(dehexed, static_cast<UInt32>(byteCount));
            break;
        default:  // Mac OS Roman, and encodings without a case of their own
            break;
    }
    // Bytes the declared encoding cannot read still give a title: they are read as Mac OS Roman,
    // in which every byte is a character.
    if (result == nullptr) {
        result =
            CFStringCreateWithBytes(nullptr, bytes, byteCount, kCFStringEncodingMacRoman, false);
    }
    return result;
}

void TextConverter::MakeToUnicodeConverter() {
    if (mToUnicodeConverter != nullptr && mToUnicodeEncoding == mInputEncoding) return;
    if (mToUnicodeConverter != nullptr) {
        TECClearConverterContextInfo(mToUnicodeConverter);
        TECDisposeConverter(mToUnicodeConverter);
        mToUnicodeConverter = nullptr;
    }
    mToUnicodeEncoding = 0;
    if (TECCreateConverter(&mToUnicodeConverter, mInputEncoding, kTextEncodingUnicodeDefault) ==
        noErr) {
        mToUnicodeEncoding = mInputEncoding;
    }
    TEXTCONVERTER_ASSERT(mToUnicodeConverter != NULL);
}

CFStringRef TextConverter::ConvertThroughUnicode(const char* dehexed, UInt32 length) {
    MakeToUnicodeConverter();
    Handle unicode = NewHandle(kUnicodeExpansion * static_cast<Size>(length) + 1);
    if (unicode == nullptr) return nullptr;
    ByteCount read = 0;
    ByteCount written = 0;
    // Only the text's own bytes: a converted terminator would end the string in U+0000.
    const OSStatus status =
        convertText(mToUnicodeConverter, reinterpret_cast<const UInt8*>(dehexed), length, unicode,
                    &read, &written);
    CFStringRef result = nullptr;
    if (status == noErr) {
        result =
            CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(*unicode),
                                    static_cast<CFIndex>(written), kCFStringEncodingUnicode, false);
    } else {
        TECClearConverterContextInfo(mToUnicodeConverter);
    }
    DisposeHandle(unicode);
    return result;
}

OSStatus TextConverter::Convert(char* text, UInt32 bufferSize) {
    if (!mValid) return mStatus;
    if (text == nullptr) return paramErr;

    if (mExceptionLanguage < 0) mExceptionLanguage = mExceptionsList.IsException(mLanguageVersion);
    if (!mExceptionLanguage && bufferSize >= 1) {
        bool high = false;
        for (UInt32 i = 0; i < bufferSize && text[i] != '\0'; ++i) {
            if (static_cast<UInt8>(text[i]) >= 0x80) {
                high = true;
                break;
            }
        }
        // Once switched, the converter reads Mac OS Roman for the rest of its life.
        if (high && mInputEncoding != kTextEncodingMacRoman) {
            mInputEncoding = kTextEncodingMacRoman;
            if (Create() != noErr) return mStatus;
        }
    }

    const UInt32 inTextLen = static_cast<UInt32>(strlen(text));
    // convertText works with no less than its minimum: starting there spares it a growth.
    Size outputSize = kConvertExpansion * static_cast<Size>(inTextLen);
    if (outputSize < kMinimumOutputSize) outputSize = kMinimumOutputSize;
    Handle output = NewHandle(outputSize);
    if (output == nullptr) return memFullErr;
    ByteCount written = 0;
    const OSStatus status = ppdStringConvert(text, inTextLen, output, &written);
    if (status == noErr && bufferSize > 0) {
        const ByteCount copied = written < bufferSize - 1 ? written : bufferSize - 1;
        memcpy(text, *output, copied);
        text[copied] = '\0';
    }
    DisposeHandle(output);
    return status;
}

OSStatus TextConverter::ppdStringConvert(const char* inText, UInt32 inTextLen, Handle output,
                                         ByteCount* bytesWritten) {
    *bytesWritten = 0;
    if (inTextLen == 0) return kHexSegmentErr;
    DehexBuffer buffer(static_cast<Size>(inTextLen) + 1);
    char* dehexed = buffer.Get();
    if (dehexed == nullptr) return memFullErr;
    UInt32 totalLength = DehexBufferFill(inText, dehexed);
    TEXTCONVERTER_ASSERT(totalLength <= (inTextLen + 1));
    // Shift-JIS characters are read in pairs of bytes.
    if (mInputEncoding == kTextEncodingShiftJIS) totalLength &= ~1u;
    ByteCount read = 0;
    const OSStatus status = convertText(mConverter, reinterpret_cast<const UInt8*>(dehexed),
                                        totalLength, output, &read, bytesWritten);
    if (status != noErr) TECClearConverterContextInfo(mConverter);
    return status;
}

OSStatus TextConverter::resetOutputHandle(Handle output, Size newSize, ByteCount written,
                                          UInt8** writePosition) {
    SetHandleSize(output, newSize);
    const OSStatus status = MemError();
    *writePosition = reinterpret_cast<UInt8*>(*output) + written;
    return status;
}

OSStatus TextConverter::convertText(TECObjectRef converter, const UInt8* input, ByteCount count,
                                    Handle output, ByteCount* bytesRead, ByteCount* bytesWritten) {
    *bytesRead = 0;
    *bytesWritten = 0;
    if (count == 0) return noErr;

    Size outputSize = GetHandleSize(output);
    UInt8* writeAt = reinterpret_cast<UInt8*>(*output);
    if (outputSize < kMinimumOutputSize) {
        OSStatus status = resetOutputHandle(output, kMinimumOutputSize, 0, &writeAt);
        if (status != noErr) return status;
        outputSize = kMinimumOutputSize;
    }
    const Size step = outputSize;

    while (*bytesRead < count) {
        ByteCount read = 0;
        ByteCount written = 0;
        OSStatus status =
            TECConvertText(converter, input + *bytesRead, count - *bytesRead, &read, writeAt,
                           static_cast<ByteCount>(outputSize) - *bytesWritten, &written);
        *bytesRead += read;
        *bytesWritten += written;
        writeAt += written;
        if (IsGrowStatus(status)) {
            outputSize += step;
            status = resetOutputHandle(output, outputSize, *bytesWritten, &writeAt);
        }
        if (status != noErr) return status;
    }
    for (;;) {
        ByteCount written = 0;
        OSStatus status = TECFlushText(
            converter, writeAt, static_cast<ByteCount>(outputSize) - *bytesWritten, &written);
        *bytesWritten += written;
        writeAt += written;
        if (!IsGrowStatus(status)) return status;
        outputSize += step;
        status = resetOutputHandle(output, outputSize, *bytesWritten, &writeAt);
        if (status != noErr) return status;
    }
}

void TextConverter::CFStringToCstring(CFStringRef string, char* buffer, UInt32 bufferSize) {
    if (buffer == nullptr || bufferSize == 0) return;
    if (string != nullptr && CFStringGetCString(string, buffer, static_cast<CFIndex>(bufferSize),
                                                CFStringGetSystemEncoding())) {
        return;
    }
    const size_t fits = bufferSize - 1 < sizeof kTranslationError - 1
                            ? bufferSize - 1
                            : sizeof kTranslationError - 1;
    memcpy(buffer, kTranslationError, fits);
    buffer[fits] = '\0';
}
