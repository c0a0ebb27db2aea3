// Text-encoding numbers and the script-to-encoding lookup.
//
// A TextEncoding is a 32-bit number: the base encoding in the low 16 bits, a variant in bits 16-25
// and a format in bits 26-31 (the format only matters for Unicode: 0 is UTF-16 in host byte order,
// 2 is UTF-8). The numbers are the same as the platform string encodings (CFStringEncoding), so a
// value can be handed from one service to the other unchanged.
#ifndef HALYX_PLATFORM_TEXTENCODING_TEXTCOMMON_H
#define HALYX_PLATFORM_TEXTENCODING_TEXTCOMMON_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"
#include "CoreFoundation/CFStringEncodingNames.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef UInt32 TextEncodingBase;
typedef UInt32 TextEncodingVariant;
typedef UInt32 TextEncodingFormat;

typedef SInt16 ScriptCode;
typedef SInt16 LangCode;
typedef SInt16 RegionCode;

enum {
    kTextEncodingMacRoman = 0x0000,
    kTextEncodingMacJapanese = 0x0001,
    kTextEncodingMacCentralEurRoman = 0x001D,
    kTextEncodingMacTurkish = 0x0023,
    kTextEncodingUnicodeDefault = 0x0100,
    kTextEncodingUnicodeV1_1 = 0x0101,
    kTextEncodingISOLatin1 = 0x0201,
    kTextEncodingISOLatin2 = 0x0202,
    kTextEncodingISOLatin5 = 0x0209,
    kTextEncodingWindowsLatin1 = 0x0500,
    kTextEncodingUS_ASCII = 0x0600,
    kTextEncodingShiftJIS = 0x0A01,
    kTextEncodingUnknown = 0xFFFF
};

enum {
    kTextEncodingDefaultVariant = 0,
    kTextEncodingDefaultFormat = 0,
    kUnicode16BitFormat = 0,  // UTF-16, host byte order, no byte-order mark
    kUnicodeUTF8Format = 2
};

// Script, language and region codes. The system script is the script the system runs in: Roman.
enum {
    smSystemScript = -1,
    smCurrentScript = -2,
    smRoman = 0,
    smJapanese = 1,
    smUninterp = 32,
    kTextScriptDontCare = -128,
    kTextLanguageDontCare = -128,
    kTextRegionDontCare = -128
};

TextEncoding CreateTextEncoding(TextEncodingBase base, TextEncodingVariant variant,
                                TextEncodingFormat format);
TextEncodingBase GetTextEncodingBase(TextEncoding encoding);
TextEncodingFormat GetTextEncodingFormat(TextEncoding encoding);

// Finds the text encoding of a script. smSystemScript, smCurrentScript and kTextScriptDontCare
// stand for the system script, whose encoding is Mac OS Roman. A script from smRoman to smUninterp
// gives the Mac encoding of the same number. Language, region and font name are accepted and do not
// change the result. Returns noErr and stores the encoding; paramErr (nothing stored) when
// `encoding` is null or the script is not one of those.
OSStatus UpgradeScriptInfoToTextEncoding(ScriptCode textScriptID, LangCode textLanguageID,
                                         RegionCode regionID, ConstStr255Param textFontname,
                                         TextEncoding* encoding);

// The Mac encoding closest to `encoding`: a Mac encoding (below 0x100) is its own answer; every
// Unicode form (UTF-16, UTF-8, ...) gives kTextEncodingUnicodeDefault; the Western encodings (ISO
// Latin 1, Windows Latin 1, ASCII) give Mac OS Roman; ISO Latin 2 Mac Central European; ISO Latin 5
// Mac Turkish; Shift-JIS Mac Japanese. Anything else gives kCFStringEncodingInvalidId.
CFStringEncoding CFStringGetMostCompatibleMacStringEncoding(CFStringEncoding encoding);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_TEXTENCODING_TEXTCOMMON_H
