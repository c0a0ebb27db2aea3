#include "PPDUtils/TextConverter.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "testing/FailureInjection.h"

namespace {

std::u16string Characters(CFStringRef string) {
    std::u16string chars(static_cast<size_t>(CFStringGetLength(string)), u'\0');
    CFStringGetCharacters(string, CFRangeMake(0, CFStringGetLength(string)),
                          reinterpret_cast<UniChar*>(&chars[0]));
    return chars;
}

// The characters of ConvertToCFString's result; the string is released here.
std::u16string ToCharacters(TextConverter& converter, const char* text) {
    CFStringRef string = converter.ConvertToCFString(text, text != nullptr ? strlen(text) : 0);
    EXPECT_NE(nullptr, string);
    if (string == nullptr) return u"<null>";
    std::u16string chars = Characters(string);
    CFRelease(string);
    return chars;
}

// Converts `text` in place in a buffer of `size` bytes; returns the status and the result.
std::pair<OSStatus, std::string> ConvertInPlace(TextConverter& converter, const std::string& text,
                                                size_t size) {
    std::vector<char> buffer(size > text.size() ? size : text.size() + 1, '\0');
    memcpy(buffer.data(), text.c_str(), text.size() + 1);
    const OSStatus status = converter.Convert(buffer.data(), static_cast<UInt32>(size));
    return {status, std::string(buffer.data())};
}

TEST(TextConverter, LanguageEncodingNames) {
    EXPECT_EQ(TextEncoding(513), TextConverter::LanguageStringToEncoding("ISOLatin1"));
    EXPECT_EQ(TextEncoding(65535), TextConverter::LanguageStringToEncoding("isolatin1"));
    EXPECT_EQ(TextEncoding(514), TextConverter::LanguageStringToEncoding("ISOLatin2"));
    EXPECT_EQ(TextEncoding(521), TextConverter::LanguageStringToEncoding("ISOLatin5"));
    EXPECT_EQ(TextEncoding(2561), TextConverter::LanguageStringToEncoding("JIS83-RKSJ"));
    EXPECT_EQ(TextEncoding(0), TextConverter::LanguageStringToEncoding("MacStandard"));
    EXPECT_EQ(TextEncoding(1280), TextConverter::LanguageStringToEncoding("WindowsANSI"));
    EXPECT_EQ(TextEncoding(65535), TextConverter::LanguageStringToEncoding("ISOLatin1 "));
    EXPECT_EQ(TextEncoding(65535), TextConverter::LanguageStringToEncoding(""));
    EXPECT_EQ(TextEncoding(65535), TextConverter::LanguageStringToEncoding(nullptr));
}

TEST(TextConverter, Utf8NameReportsOnStandardErrorOnlyWhenAskedFor) {
    const struct {
        const char* diagnostics;  // HALYX_DIAGNOSTICS, null for unset
        const char* said;
    } kCases[] = {
        {nullptr, ""},
        {"0", ""},
        {"1", "CFStringGetMostCompatibleMacStringEncoding theEncoding = 100 (256)\n"},
    };
    for (const auto& c : kCases) {
        if (c.diagnostics == nullptr)
            unsetenv("HALYX_DIAGNOSTICS");
        else
            setenv("HALYX_DIAGNOSTICS", c.diagnostics, 1);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const TextEncoding encoding = TextConverter::LanguageStringToEncoding("UTF-8");
        const std::string err = testing::internal::GetCapturedStderr();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(TextEncoding(kTextEncodingUnicodeDefault), encoding);
        EXPECT_EQ(c.said, err) << (c.diagnostics == nullptr ? "unset" : c.diagnostics);
        EXPECT_EQ("", out);
    }
    unsetenv("HALYX_DIAGNOSTICS");
}

TEST(TextConverter, SystemEncodingIsMacRoman) {
    EXPECT_EQ(TextEncoding(kTextEncodingMacRoman), TextConverter::GetCurrentEncoding());
    TextConverter converter(kTextEncodingISOLatin1, TextConverter::GetCurrentEncoding());
    EXPECT_TRUE(converter.ValidConverter());
    EXPECT_EQ(TextEncoding(kTextEncodingMacRoman), converter.GetOutputEncoding());
}

TEST(TextConverter, UnknownEncodingMakesAnInertConverter) {
    TextConverter unknownInput(TextConverter::kUnknownEncoding, kTextEncodingMacRoman);
    EXPECT_FALSE(unknownInput.ValidConverter());
    auto result = ConvertInPlace(unknownInput, "<41>\xE9", 16);
    EXPECT_EQ(noErr, result.first);
    EXPECT_EQ("<41>\xE9", result.second);

    TextConverter unknownOutput(kTextEncodingMacRoman, TextConverter::kUnknownEncoding);
    EXPECT_FALSE(unknownOutput.ValidConverter());
    EXPECT_EQ(TextEncoding(TextConverter::kUnknownEncoding), unknownOutput.GetOutputEncoding());

    // Known to the names table but not to the converters: the creation status is kept.
    TextConverter noPath(0x0B01, kTextEncodingMacRoman);
    EXPECT_FALSE(noPath.ValidConverter());
    result = ConvertInPlace(noPath, "abc", 16);
    EXPECT_EQ(kTextUnsupportedEncodingErr, result.first);
    EXPECT_EQ("abc", result.second);
}

TEST(TextConverter, ConvertDecodesSegmentsInTheDeclaredEncoding) {
    // The raw text has no byte from 0x80 up, so the declared encoding stands.
    TextConverter latin1(kTextEncodingISOLatin1, kCFStringEncodingUTF8);
    auto result = ConvertInPlace(latin1, "Rotate by 180<B0>", 64);
    EXPECT_EQ(noErr, result.first);
    EXPECT_EQ("Rotate by 180\xC2\xB0", result.second);

    TextConverter sjis(kTextEncodingShiftJIS, kCFStringEncodingUTF8);
    result = ConvertInPlace(sjis, "<82A0>A<93FA>", 64);
    EXPECT_EQ(noErr, result.first);
    EXPECT_EQ(
        "\xE3\x81\x82"
        "A\xE6\x97\xA5",
        result.second);
}

TEST(TextConverter, HighBytesOutsideExceptionLanguagesAreMacRoman) {
    // Built without a PPD the language version is empty, which is not an exception language.
    TextConverter converter(kTextEncodingISOLatin1, kCFStringEncodingUTF8);
    auto result = ConvertInPlace(converter, "caf\xE9", 64);
    EXPECT_EQ(noErr, result.first);
    EXPECT_EQ("caf\xC3\x88", result.second);  // 0xE9 is E with grave accent in Mac OS Roman
    // The switch lasts: a later segment is Mac OS Roman too (0xB0 is infinity there).
    result = ConvertInPlace(converter, "<B0>", 64);
    EXPECT_EQ(noErr, result.first);
    EXPECT_EQ("\xE2\x88\x9E", result.second);
}

TEST(TextConverter, ResultIsCutToTheBuffer) {
    TextConverter converter(kTextEncodingMacRoman, kCFStringEncodingUTF8);
    // Three e-acute grow from three bytes to six; the buffer keeps five and the terminator.
    auto result = ConvertInPlace(converter, "\x8E\x8E\x8E", 6);
    EXPECT_EQ(noErr, result.first);
    EXPECT_EQ("\xC3\xA9\xC3\xA9\xC3", result.second);
    result = ConvertInPlace(converter, "abc", 1);
    EXPECT_EQ(noErr, result.first);
    EXPECT_EQ("", result.second);
}

TEST(TextConverter, OutputGrowsBeyondItsFirstSize) {
    // UTF-32 takes four bytes per character (and four for the terminator): more than the three per
    // byte the output starts with, so it has to grow several times.
    TextConverter converter(kTextEncodingMacRoman, kCFStringEncodingUTF32LE);
    std::string text(100, 'a');
    std::vector<char> buffer(1000, '\x7F');
    memcpy(buffer.data(), text.c_str(), text.size() + 1);
    ASSERT_EQ(noErr, converter.Convert(buffer.data(), static_cast<UInt32>(buffer.size())));
    for (size_t i = 0; i < 100; ++i) {
        ASSERT_EQ(std::string("a\0\0\0", 4), std::string(&buffer[4 * i], 4)) << i;
    }
    EXPECT_EQ(std::string(5, '\0'), std::string(&buffer[400], 5));
}

TEST(TextConverter, ConvertRefusesBadArguments) {
    TextConverter converter(kTextEncodingMacRoman, kCFStringEncodingUTF8);
    EXPECT_EQ(paramErr, converter.Convert(nullptr, 10));
    EXPECT_EQ(TextConverter::kHexSegmentErr, ConvertInPlace(converter, "", 10).first);
    // A Shift-JIS lead byte without its second byte fails and leaves the text alone.
    TextConverter sjis(kTextEncodingShiftJIS, kCFStringEncodingUTF8);
    auto result = ConvertInPlace(sjis, "<82>", 10);
    EXPECT_NE(noErr, result.first);
    EXPECT_EQ("<82>", result.second);
    // The converter is still usable afterwards.
    result = ConvertInPlace(sjis, "<82A0>", 10);
    EXPECT_EQ(noErr, result.first);
    EXPECT_EQ("\xE3\x81\x82", result.second);
}

TEST(TextConverter, ConvertFailuresLeaveTheText) {
    HalyxFailureScope scope;
    TextConverter converter(kTextEncodingMacRoman, kCFStringEncodingUTF8);
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    auto result = ConvertInPlace(converter, "\x8E", 10);
    EXPECT_EQ(memFullErr, result.first);
    EXPECT_EQ("\x8E", result.second);
    // The de-hexing block.
    HalyxInjectFailures(kHalyxFailAllocation, 1, 1);
    EXPECT_EQ(memFullErr, ConvertInPlace(converter, "\x8E", 10).first);
    HalyxInjectFailures(kHalyxFailConversion, 0, 1);
    result = ConvertInPlace(converter, "\x8E", 10);
    EXPECT_EQ(kTextMalformedInputErr, result.first);
    EXPECT_EQ("\x8E", result.second);
    result = ConvertInPlace(converter, "\x8E", 10);
    EXPECT_EQ(noErr, result.first);
    EXPECT_EQ("\xC3\xA9", result.second);
}

TEST(TextConverter, GrowthFailureIsOutOfMemory) {
    HalyxFailureScope scope;
    TextConverter converter(kTextEncodingMacRoman, kCFStringEncodingUTF32LE);
    // The output handle and the de-hexing block succeed; growing the output fails.
    HalyxInjectFailures(kHalyxFailAllocation, 2, -1);
    auto result = ConvertInPlace(converter, std::string(50, 'a'), 400);
    EXPECT_EQ(memFullErr, result.first);
    EXPECT_EQ(std::string(50, 'a'), result.second);
}

TEST(TextConverter, StringsFromEachDeclaredEncoding) {
    TextConverter latin1(kTextEncodingISOLatin1, kTextEncodingMacRoman);
    EXPECT_EQ(u"Hi\u00E9", ToCharacters(latin1, "<48>i\xE9"));
    TextConverter roman(kTextEncodingMacRoman, kTextEncodingMacRoman);
    EXPECT_EQ(u"\u00E9\u221E", ToCharacters(roman, "\x8E<B0>"));
    TextConverter utf8(kTextEncodingUnicodeDefault, kTextEncodingMacRoman);
    EXPECT_EQ(u"caf\u00E9", ToCharacters(utf8, "caf<C3A9>"));
    TextConverter windows(kTextEncodingWindowsLatin1, kTextEncodingMacRoman);
    EXPECT_EQ(u"\u20AC5", ToCharacters(windows,
                                       "\x80"
                                       "5"));
    // Through the to-Unicode converter: the characters of the text, and no terminator among them.
    TextConverter latin2(kTextEncodingISOLatin2, kTextEncodingMacRoman);
    EXPECT_EQ(u"\u0141\u00F3d\u017A", ToCharacters(latin2,
                                                   "\xA3\xF3"
                                                   "d<BC>"));
    TextConverter latin5(kTextEncodingISOLatin5, kTextEncodingMacRoman);
    EXPECT_EQ(u"\u0130", ToCharacters(latin5, "<DD>"));
    TextConverter sjis(kTextEncodingShiftJIS, kTextEncodingMacRoman);
    EXPECT_EQ(u"\u65E5\u672C", ToCharacters(sjis, "<93FA>\x96\x7B"));
    // The same converter serves several texts; a segment's NUL ends the text there.
    EXPECT_EQ(u"\u3042", ToCharacters(sjis, "<82A0>"));
    EXPECT_EQ(u"ab", ToCharacters(sjis, "ab<00>cd"));
    EXPECT_EQ(u"", ToCharacters(latin2, "<00>"));
}

TEST(TextConverter, StringsThatCannotBeReadAsDeclaredAreMacRoman) {
    TextConverter none(TextConverter::kUnknownEncoding, kTextEncodingMacRoman);
    EXPECT_EQ(u"\u00E9", ToCharacters(none, "\x8E"));
    TextConverter utf8(kTextEncodingUnicodeDefault, kTextEncodingMacRoman);
    EXPECT_EQ(u"\u00E9!", ToCharacters(utf8, "\x8E!"));  // not UTF-8
    TextConverter sjis(kTextEncodingShiftJIS, kTextEncodingMacRoman);
    EXPECT_EQ(u"\u00C7", ToCharacters(sjis, "\x82"));  // a lead byte alone
    TextConverter latin2(kTextEncodingISOLatin2, kTextEncodingMacRoman);
    {
        HalyxFailureScope scope;
        HalyxInjectFailures(kHalyxFailConversion, 0, 1);
        EXPECT_EQ(u"\u00B1", ToCharacters(latin2, "\xB1"));
    }
    EXPECT_EQ(u"\u0105", ToCharacters(latin2, "\xB1"));
}

TEST(TextConverter, NullAndOutOfMemoryStrings) {
    TextConverter converter(kTextEncodingISOLatin1, kTextEncodingMacRoman);
    EXPECT_EQ(u"", ToCharacters(converter, nullptr));
    EXPECT_EQ(u"", ToCharacters(converter, ""));
    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    EXPECT_EQ(u"Out Of Memory", ToCharacters(converter, "abc"));
}

TEST(TextConverter, LongTextsAndNulSegmentsConvertLikeShortOnes) {
    const std::string a(300, 'a');
    const std::u16string a16(300, u'a');
    TextConverter latin1(kTextEncodingISOLatin1, kTextEncodingMacRoman);
    EXPECT_EQ(a16 + u"\u00E9" + a16, ToCharacters(latin1, (a + "<E9>" + a).c_str()));
    EXPECT_EQ(a16 + a16, ToCharacters(latin1, (a + a).c_str()));
    // A segment that decodes to NUL ends the text, also when it is read as Mac OS Roman.
    EXPECT_EQ(u"ab", ToCharacters(latin1, "ab<00>cd"));
    TextConverter utf8(kTextEncodingUnicodeDefault, kTextEncodingMacRoman);
    EXPECT_EQ(u"\u00E9", ToCharacters(utf8, "\x8E<00>\x8E"));

    TextConverter toUtf8(kTextEncodingISOLatin1, kCFStringEncodingUTF8);
    auto result = ConvertInPlace(toUtf8, a + "<E9>", 400);
    EXPECT_EQ(noErr, result.first);
    EXPECT_EQ(a + "\xC3\xA9", result.second);
    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    EXPECT_EQ(u"Out Of Memory", ToCharacters(latin1, a.c_str()));
    HalyxInjectFailures(kHalyxFailAllocation, 1, 1);  // the de-hexing block
    result = ConvertInPlace(toUtf8, a + "<E9>", 400);
    EXPECT_EQ(memFullErr, result.first);
    EXPECT_EQ(a + "<E9>", result.second);
}

TEST(TextConverter, StringsBackToTheSystemEncoding) {
    char buffer[32];
    CFStringRef cafe = CFStringCreateWithCString(nullptr, "caf\xC3\xA9", kCFStringEncodingUTF8);
    TextConverter::CFStringToCstring(cafe, buffer, sizeof buffer);
    EXPECT_STREQ("caf\x8E", buffer);
    // Too small for the text: the message, cut to fit.
    TextConverter::CFStringToCstring(cafe, buffer, 4);
    EXPECT_STREQ("Tra", buffer);
    CFRelease(cafe);

    CFStringRef japanese =
        CFStringCreateWithCString(nullptr, "\xE3\x81\x82", kCFStringEncodingUTF8);
    TextConverter::CFStringToCstring(japanese, buffer, sizeof buffer);
    EXPECT_STREQ("Translation Error", buffer);
    CFRelease(japanese);

    TextConverter::CFStringToCstring(nullptr, buffer, sizeof buffer);
    EXPECT_STREQ("Translation Error", buffer);
    buffer[0] = 'x';
    TextConverter::CFStringToCstring(nullptr, buffer, 0);
    EXPECT_EQ('x', buffer[0]);
    TextConverter::CFStringToCstring(nullptr, buffer, 1);
    EXPECT_EQ('\0', buffer[0]);
}

}  // namespace
