#include "TextEncoding/TextCommon.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCommon, SystemAndRomanScriptsGiveMacRoman) {
    for (ScriptCode script : {ScriptCode(smSystemScript), ScriptCode(smCurrentScript),
                              ScriptCode(smRoman), ScriptCode(kTextScriptDontCare)}) {
        TextEncoding encoding = 0xDEAD;
        EXPECT_EQ(noErr, UpgradeScriptInfoToTextEncoding(script, kTextLanguageDontCare,
                                                         kTextRegionDontCare, nullptr, &encoding));
        EXPECT_EQ(TextEncoding(kTextEncodingMacRoman), encoding) << "script " << script;
    }
    TextEncoding encoding = 0;
    EXPECT_EQ(noErr, UpgradeScriptInfoToTextEncoding(smJapanese, kTextLanguageDontCare,
                                                     kTextRegionDontCare, nullptr, &encoding));
    EXPECT_EQ(TextEncoding(kTextEncodingMacJapanese), encoding);
}

TEST(TextCommon, UnknownScriptOrNullResultIsRefused) {
    TextEncoding encoding = 0xDEAD;
    EXPECT_EQ(paramErr, UpgradeScriptInfoToTextEncoding(100, kTextLanguageDontCare,
                                                        kTextRegionDontCare, nullptr, &encoding));
    EXPECT_EQ(TextEncoding(0xDEAD), encoding);
    EXPECT_EQ(paramErr, UpgradeScriptInfoToTextEncoding(smSystemScript, kTextLanguageDontCare,
                                                        kTextRegionDontCare, nullptr, nullptr));
}

TEST(TextCommon, EncodingNumbersSplitIntoBaseAndFormat) {
    const TextEncoding utf8 = CreateTextEncoding(kTextEncodingUnicodeDefault,
                                                 kTextEncodingDefaultVariant, kUnicodeUTF8Format);
    EXPECT_EQ(TextEncoding(kCFStringEncodingUTF8), utf8);
    EXPECT_EQ(TextEncodingBase(kTextEncodingUnicodeDefault), GetTextEncodingBase(utf8));
    EXPECT_EQ(TextEncodingFormat(kUnicodeUTF8Format), GetTextEncodingFormat(utf8));
}

TEST(TextCommon, MostCompatibleMacEncoding) {
    EXPECT_EQ(CFStringEncoding(kCFStringEncodingUnicode),
              CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingUTF8));
    EXPECT_EQ(CFStringEncoding(kCFStringEncodingUnicode),
              CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingUTF16LE));
    EXPECT_EQ(CFStringEncoding(kCFStringEncodingMacRoman),
              CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingISOLatin1));
    EXPECT_EQ(CFStringEncoding(kCFStringEncodingMacRoman),
              CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingWindowsLatin1));
    EXPECT_EQ(CFStringEncoding(kTextEncodingMacCentralEurRoman),
              CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingISOLatin2));
    EXPECT_EQ(CFStringEncoding(kCFStringEncodingMacJapanese),
              CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingShiftJIS));
    EXPECT_EQ(CFStringEncoding(kCFStringEncodingMacJapanese),
              CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingMacJapanese));
    EXPECT_EQ(CFStringEncoding(kCFStringEncodingInvalidId),
              CFStringGetMostCompatibleMacStringEncoding(0x0B01));
}

}  // namespace
