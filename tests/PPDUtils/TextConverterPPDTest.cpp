#include <gtest/gtest.h>

#include <string>

#include "PPDUtils/TextConverter.h"
#include "parser/PPDStream.h"
#include "parser/PPDX.h"

namespace {

// A PPD that knows only the header lines it is given.
class HeaderPPD : public PPDX {
public:
    // Feeds "*LanguageVersion: <version>" and "*LanguageEncoding: <encoding>" (null: left out).
    HeaderPPD(const char* version, const char* encoding) {
        Header("*LanguageVersion", version);
        Header("*LanguageEncoding", encoding);
    }
    void Parse() override {}
    PPDXPopupControl* PPDCreatePopupMenu(const char*, const char*, const char*, PointerList&,
                                         CString*) override {
        return nullptr;
    }
    bool PPDReconcilePopupMenu(const char*, const char*, PointerList&, CString*) override {
        return false;
    }

private:
    void Header(const char* keyword, const char* value) {
        if (value == nullptr) return;
        const std::string line = std::string(" ") + value + "\n";
        PPDStream stream(line.data(), static_cast<long>(line.size()));
        ParsePSKeywords(stream, keyword);
    }
};

std::u16string Translation(TextConverter& converter, const char* text) {
    CFStringRef string = converter.ConvertToCFString(text, static_cast<UInt32>(strlen(text)));
    std::u16string chars(static_cast<size_t>(CFStringGetLength(string)), u'\0');
    CFStringGetCharacters(string, CFRangeMake(0, CFStringGetLength(string)),
                          reinterpret_cast<UniChar*>(&chars[0]));
    CFRelease(string);
    return chars;
}

std::string Converted(TextConverter& converter, const char* text) {
    char buffer[64] = {};
    strncpy(buffer, text, sizeof buffer - 1);
    const OSStatus status = converter.Convert(buffer, sizeof buffer);
    EXPECT_EQ(noErr, status) << text;
    return buffer;
}

TEST(TextConverterPPD, ConvertsFromTheDeclaredEncodingToTheSystemEncoding) {
    HeaderPPD ppd("English", "ISOLatin1");
    TextConverter converter(&ppd);
    EXPECT_TRUE(converter.ValidConverter());
    EXPECT_EQ(TextEncoding(kTextEncodingMacRoman), converter.GetOutputEncoding());
    EXPECT_EQ(TextEncoding(kTextEncodingISOLatin1), TextConverter::GetPPDEncoding(&ppd));
    // ISO Latin 1 e-acute, written as a segment, is 0x8E in Mac OS Roman.
    EXPECT_EQ("caf\x8E", Converted(converter, "caf<E9>"));

    TextConverter toUtf8(&ppd, kCFStringEncodingUTF8);
    EXPECT_EQ(TextEncoding(kCFStringEncodingUTF8), toUtf8.GetOutputEncoding());
    EXPECT_EQ("caf\xC3\xA9", Converted(toUtf8, "caf<E9>"));
}

TEST(TextConverterPPD, WesternLanguagesReadHighBytesAsMacRoman) {
    // 0xE9 is e-acute in ISO Latin 1 and E-grave in Mac OS Roman; 0xB3 is l-stroke in ISO Latin 2
    // and greater-or-equal in Mac OS Roman.
    HeaderPPD english("English", "ISOLatin1");
    TextConverter englishToUtf8(&english, kCFStringEncodingUTF8);
    EXPECT_EQ("\xC3\x88", Converted(englishToUtf8, "\xE9"));

    HeaderPPD polish("Polish", "ISOLatin2");
    TextConverter polishToUtf8(&polish, kCFStringEncodingUTF8);
    EXPECT_EQ("\xC5\x82", Converted(polishToUtf8, "\xB3"));

    HeaderPPD german("German", "ISOLatin2");
    TextConverter germanToUtf8(&german, kCFStringEncodingUTF8);
    EXPECT_EQ("\xE2\x89\xA5", Converted(germanToUtf8, "\xB3"));
}

TEST(TextConverterPPD, TranslationsBecomeTheirUnicodeCharacters) {
    // The to-Unicode path gives the text's characters and no terminator among them.
    HeaderPPD japanese("Japanese", "JIS83-RKSJ");
    TextConverter sjis(&japanese);
    EXPECT_TRUE(sjis.ValidConverter());
    EXPECT_EQ(std::u16string(u"\u7528\u7D19\u30B5\u30A4\u30BA"),
              Translation(sjis, "\x97\x70\x8E\x86<83 54 83 43 83 59>"));

    HeaderPPD polish("Polish", "ISOLatin2");
    TextConverter latin2(&polish);
    EXPECT_EQ(std::u16string(u"Jako\u015B\u0107 wydruku \u017C\u00F3\u0142ty"),
              Translation(latin2, "Jako<B6>\xE6 wydruku \xBF\xF3\xB3ty"));
    HeaderPPD turkish("Turkish", "ISOLatin5");
    TextConverter latin5(&turkish);
    EXPECT_EQ(std::u16string(u"Job Notes \u0130"), Translation(latin5, "Job Notes <DD>"));
}

TEST(TextConverterPPD, MissingOrUnknownEncodingGivesAnInvalidConverter) {
    HeaderPPD lowerCase("English", "isolatin1");
    TextConverter unknown(&lowerCase);
    EXPECT_FALSE(unknown.ValidConverter());
    char text[] = "caf\xE9";
    EXPECT_EQ(noErr, unknown.Convert(text, sizeof text));
    EXPECT_STREQ("caf\xE9", text);

    HeaderPPD noEncoding("English", nullptr);
    EXPECT_FALSE(TextConverter(&noEncoding).ValidConverter());
    EXPECT_FALSE(TextConverter(nullptr).ValidConverter());
    EXPECT_EQ(TextEncoding(TextConverter::kUnknownEncoding),
              TextConverter::GetPPDEncoding(nullptr));
    // No language version: the Mac OS Roman rule applies.
    HeaderPPD noVersion(nullptr, "ISOLatin2");
    TextConverter roman(&noVersion, kCFStringEncodingUTF8);
    EXPECT_EQ("\xE2\x89\xA5", Converted(roman, "\xB3"));
}

}  // namespace
