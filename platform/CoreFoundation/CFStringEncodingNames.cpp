#include "CoreFoundation/CFStringEncodingNames.h"

namespace {

bool HostIsBigEndian() {
    const UInt16 probe = 1;
    return *reinterpret_cast<const UInt8*>(&probe) == 0;
}

}  // namespace

extern "C" const char* HalyxIconvNameForEncoding(UInt32 encoding) {
    switch (encoding) {
        case kCFStringEncodingMacRoman:
            return "MACINTOSH";
        case kCFStringEncodingMacCyrillic:
            return "MACCYRILLIC";
        case kCFStringEncodingMacCentralEurRoman:
            return "MAC-CENTRALEUROPE";
        case kCFStringEncodingMacJapanese:
        case kCFStringEncodingDOSJapanese:
        case kCFStringEncodingShiftJIS:
            return "CP932";
        case kCFStringEncodingUnicode:
            return HostIsBigEndian() ? "UTF-16BE" : "UTF-16LE";
        case kCFStringEncodingISOLatin1:
            return "ISO-8859-1";
        case kCFStringEncodingISOLatin2:
            return "ISO-8859-2";
        case kCFStringEncodingISOLatinCyrillic:
            return "ISO-8859-5";
        case kCFStringEncodingISOLatinGreek:
            return "ISO-8859-7";
        case kCFStringEncodingISOLatin5:
            return "ISO-8859-9";
        case kCFStringEncodingISOLatin9:
            return "ISO-8859-15";
        case kCFStringEncodingWindowsLatin1:
            return "CP1252";
        case kCFStringEncodingWindowsLatin2:
            return "CP1250";
        case kCFStringEncodingWindowsCyrillic:
            return "CP1251";
        case kCFStringEncodingWindowsGreek:
            return "CP1253";
        case kCFStringEncodingWindowsLatin5:
            return "CP1254";
        case kCFStringEncodingASCII:
            return "ASCII";
        case kCFStringEncodingUTF8:
            return "UTF-8";
        case kCFStringEncodingUTF16BE:
            return "UTF-16BE";
        case kCFStringEncodingUTF16LE:
            return "UTF-16LE";
        case kCFStringEncodingUTF32:
            return HostIsBigEndian() ? "UTF-32BE" : "UTF-32LE";
        case kCFStringEncodingUTF32BE:
            return "UTF-32BE";
        case kCFStringEncodingUTF32LE:
            return "UTF-32LE";
        default:
            return nullptr;
    }
}
