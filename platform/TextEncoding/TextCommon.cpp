#include "TextEncoding/TextCommon.h"

namespace {

const TextEncoding kUnicodeBaseFirst = 0x0100;
const TextEncoding kUnicodeBaseLast = 0x01FF;

}  // namespace

TextEncoding CreateTextEncoding(TextEncodingBase base, TextEncodingVariant variant,
                                TextEncodingFormat format) {
    return (base & 0xFFFFu) | ((variant & 0x3FFu) << 16) | ((format & 0x3Fu) << 26);
}

TextEncodingBase GetTextEncodingBase(TextEncoding encoding) {
    return encoding & 0xFFFFu;
}

TextEncodingFormat GetTextEncodingFormat(TextEncoding encoding) {
    return (encoding >> 26) & 0x3Fu;
}

OSStatus UpgradeScriptInfoToTextEncoding(ScriptCode textScriptID, LangCode textLanguageID,
                                         RegionCode regionID, ConstStr255Param textFontname,
                                         TextEncoding* encoding) {
    (void)textLanguageID;
    (void)regionID;
    (void)textFontname;
    if (encoding == nullptr) return paramErr;
    if (textScriptID == smSystemScript || textScriptID == smCurrentScript ||
        textScriptID == kTextScriptDontCare) {
        *encoding = kTextEncodingMacRoman;
        return noErr;
    }
    if (textScriptID >= smRoman && textScriptID <= smUninterp) {
        // The Mac encodings are numbered after the scripts they serve.
        *encoding = static_cast<TextEncoding>(textScriptID);
        return noErr;
    }
    return paramErr;
}

CFStringEncoding CFStringGetMostCompatibleMacStringEncoding(CFStringEncoding encoding) {
    const TextEncodingBase base = GetTextEncodingBase(encoding);
    if (base < kUnicodeBaseFirst) return base;
    if (base <= kUnicodeBaseLast) return kTextEncodingUnicodeDefault;
    switch (base) {
        case kTextEncodingISOLatin1:
        case kTextEncodingWindowsLatin1:
        case kTextEncodingUS_ASCII:
            return kTextEncodingMacRoman;
        case kTextEncodingISOLatin2:
            return kTextEncodingMacCentralEurRoman;
        case kTextEncodingISOLatin5:
            return kTextEncodingMacTurkish;
        case kTextEncodingShiftJIS:
            return kTextEncodingMacJapanese;
        default:
            return kCFStringEncodingInvalidId;
    }
}
