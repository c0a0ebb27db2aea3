// The small text helpers and the preparation of the user name for the authentication tag.
#include "Core/TextHelpers.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "Core/UserNameCapture.h"

namespace {

TEST(TextHelpersTest, DecimalConversions) {
    EXPECT_EQ(-12, string2Number("-12"));
    EXPECT_EQ(40, string2Number("+40"));
    EXPECT_EQ(0, string2Number(""));
    EXPECT_EQ(0, string2Number(nullptr));
    EXPECT_EQ(7, string2Number("7x9"));  // digits up to the first other byte
    EXPECT_EQ(2147483647, string2Number("2147483647"));
    EXPECT_EQ(-2147483647 - 1, string2Number("-2147483648"));
    char text[12];
    for (SInt32 value : {0, 150, -12, 2147483647, -2147483647 - 1}) {
        num2String(value, text);
        EXPECT_EQ(value, string2Number(text)) << text;
    }
    num2String(-2147483647 - 1, text);
    EXPECT_STREQ("-2147483648", text);
}

TEST(TextHelpersTest, BoundedNumbersStopAtTheThirtyTwoBitLimits) {
    const struct {
        const char* text;
        bool within;
        SInt32 value;
    } table[] = {{"2147483647", true, 2147483647},        {"-2147483648", true, -2147483647 - 1},
                 {"2147483648", false, 2147483647},       {"4294967297", false, 2147483647},
                 {"-4294967295", false, -2147483647 - 1}, {"000000000000012x9", true, 12}};
    for (const auto& row : table) {
        SInt32 value = 99;
        EXPECT_EQ(row.within, string2BoundedNumber(row.text, &value)) << row.text;
        EXPECT_EQ(row.value, value) << row.text;
    }
}

TEST(TextHelpersTest, LengthPrefixedStringsKeepAtMost255Bytes) {
    Str255 counted;
    char back[256];
    ctoPStr("abc", counted);
    EXPECT_EQ(3, counted[0]);
    ptoCStr(counted, back);
    EXPECT_STREQ("abc", back);
    std::string longText(300, 'q');
    ctoPStr(longText.c_str(), counted);
    EXPECT_EQ(255, counted[0]);
    ptoCStr(counted, back);
    EXPECT_EQ(longText.substr(0, 255), back);
    ctoPStr("", counted);
    ptoCStr(counted, back);
    EXPECT_STREQ("", back);
}

TEST(TextHelpersTest, FilledTextsSearchesAndRangeDeletion) {
    char* filled = newInitalizedCString(5, '*');
    ASSERT_NE(nullptr, filled);
    EXPECT_STREQ("*****", filled);
    free(filled);
    filled = newInitalizedCString(0, '*');
    ASSERT_NE(nullptr, filled);
    EXPECT_STREQ("", filled);
    free(filled);
    EXPECT_EQ(nullptr, newInitalizedCString(-1, '*'));

    char text[] = "abcdef";
    EXPECT_EQ(text + 2, findChar(text, 'c'));
    EXPECT_EQ(nullptr, findChar(text, 'z'));
    EXPECT_EQ(nullptr, findChar(nullptr, 'a'));

    EXPECT_EQ(nullptr, deleteCharRangeInStr(text, 2, 2));
    EXPECT_EQ(nullptr, deleteCharRangeInStr(text, 7, 9));
    EXPECT_EQ(nullptr, deleteCharRangeInStr(text, 4, 1));
    EXPECT_STREQ("abcdef", text);
    EXPECT_EQ(text, deleteCharRangeInStr(text, 1, 3));
    EXPECT_STREQ("adef", text);
    EXPECT_EQ(text, deleteCharRangeInStr(text, 2, 100));  // clipped at the end
    EXPECT_STREQ("ad", text);
}

TEST(TextHelpersTest, DigitRuns) {
    EXPECT_TRUE(validateRangeValues("", 2));
    EXPECT_TRUE(validateRangeValues("12/05", 2));
    EXPECT_TRUE(validateRangeValues("ab12cd34", 2));
    EXPECT_FALSE(validateRangeValues("123", 2));
    EXPECT_FALSE(
        validateRangeValues("ab\x80"
                            "123",
                            2));
    EXPECT_TRUE(
        validateRangeValues("1\xB2"
                            "2",
                            1));  // a high byte ends a run
    EXPECT_TRUE(validateRangeValues(nullptr, 0));
}

std::string Owned(char* text) {
    std::string copy = text != nullptr ? text : "<null>";
    free(text);
    return copy;
}

TEST(UserNameCaptureTest, SlashesConversionAndEscaping) {
    EXPECT_EQ("a//:b//:c", Owned(DoubleSlashBeforeColon("a/:b/:c")));
    EXPECT_EQ("a//b/c:", Owned(DoubleSlashBeforeColon("a//b/c:")));
    EXPECT_EQ("//:", Owned(DoubleSlashBeforeColon("/:")));

    OSStatus status = -1;
    EXPECT_EQ("M\xC3\xBCller", Owned(MacRomanToUTF8("M\x9Fller", &status)));
    EXPECT_EQ(noErr, status);
    EXPECT_EQ("M\\303\\274ller", Owned(EscapeHighBytesOctal("M\xC3\xBCller")));
    EXPECT_EQ("\\377\\200", Owned(EscapeHighBytesOctal("\xFF\x80")));

    char* captured = nullptr;
    ASSERT_EQ(noErr, CaptureUserName("M\x9Fller/:x", &captured));
    EXPECT_EQ("M\\303\\274ller//:x", Owned(captured));
    // A name beyond the old 1024-byte buffer comes through whole.
    std::string longName(1500, '\x8A');  // a-diaeresis in Mac OS Roman
    ASSERT_EQ(noErr, CaptureUserName(longName.c_str(), &captured));
    std::string escaped = Owned(captured);
    EXPECT_EQ(1500u * 8, escaped.size());
    EXPECT_EQ("\\303\\244", escaped.substr(0, 8));
    // With nothing typed the logged-in user's name stands in: never null, never raw high bytes.
    ASSERT_EQ(noErr, CaptureUserName("", &captured));
    ASSERT_NE(nullptr, captured);
    for (const char* p = captured; *p != '\0'; ++p) {
        EXPECT_LT(static_cast<unsigned char>(*p), 0x80);
    }
    free(captured);
}

}  // namespace
