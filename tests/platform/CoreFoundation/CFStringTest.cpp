#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFString.h"

namespace {

std::vector<UniChar> CharsOf(CFStringRef str) {
    std::vector<UniChar> chars(static_cast<size_t>(CFStringGetLength(str)));
    CFStringGetCharacters(str, CFRangeMake(0, CFStringGetLength(str)), chars.data());
    return chars;
}

std::string BytesOf(CFStringRef str, CFStringEncoding encoding, UInt8 lossByte = 0) {
    CFIndex size = 0;
    CFRange all = CFRangeMake(0, CFStringGetLength(str));
    CFStringGetBytes(str, all, encoding, lossByte, false, nullptr, 0, &size);
    std::string out(static_cast<size_t>(size), '\0');
    CFStringGetBytes(str, all, encoding, lossByte, false, reinterpret_cast<UInt8*>(&out[0]), size,
                     &size);
    out.resize(static_cast<size_t>(size));
    return out;
}

CFStringRef Make(const std::string& bytes, CFStringEncoding encoding) {
    return CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                                   static_cast<CFIndex>(bytes.size()), encoding, false);
}

TEST(CFString, MacRomanBytesBecomeTheirLettersAndConvertBack) {
    const std::string bytes = "\x8A\xA5\xC9";
    CFStringRef str = Make(bytes, kCFStringEncodingMacRoman);
    ASSERT_NE(str, nullptr);
    EXPECT_EQ(CharsOf(str), (std::vector<UniChar>{0x00E4, 0x2022, 0x2026}));  // ä • …
    EXPECT_EQ(BytesOf(str, kCFStringEncodingMacRoman), bytes);
    char cstr[8];
    ASSERT_TRUE(CFStringGetCString(str, cstr, sizeof cstr, CFStringGetSystemEncoding()));
    EXPECT_EQ(std::string(cstr), bytes);
    EXPECT_EQ(BytesOf(str, kCFStringEncodingUTF8), "\xC3\xA4\xE2\x80\xA2\xE2\x80\xA6");
    CFRelease(str);
}

TEST(CFString, LettersRoundTripThroughEveryEncoding) {
    struct Case {
        CFStringEncoding encoding;
        std::string bytes;
        std::vector<UniChar> chars;
    };
    const Case cases[] = {
        {kCFStringEncodingShiftJIS, "\x82\xA0\x8A\xBF\\~A", {0x3042, 0x6F22, '\\', '~', 'A'}},
        {kCFStringEncodingISOLatin2, "\xA3\xA1\xE8", {0x0141, 0x0104, 0x010D}},
        {kCFStringEncodingISOLatin1, "\xE9\xFF", {0x00E9, 0x00FF}},
        {kCFStringEncodingISOLatin5, "\xF0\xDD", {0x011F, 0x0130}},
        {kCFStringEncodingWindowsLatin1, "\x80\x93", {0x20AC, 0x201C}},
        {kCFStringEncodingASCII, "plain", {'p', 'l', 'a', 'i', 'n'}},
        {kCFStringEncodingUTF8, "\xE2\x82\xAC\xF0\x9F\x98\x80", {0x20AC, 0xD83D, 0xDE00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoding);
        CFStringRef str = Make(c.bytes, c.encoding);
        ASSERT_NE(str, nullptr);
        EXPECT_EQ(CharsOf(str), c.chars);
        EXPECT_EQ(BytesOf(str, c.encoding), c.bytes);
        CFDataRef external = CFStringCreateExternalRepresentation(nullptr, str, c.encoding, 0);
        ASSERT_NE(external, nullptr);
        CFStringRef back = CFStringCreateFromExternalRepresentation(nullptr, external, c.encoding);
        EXPECT_TRUE(CFEqual(back, str));
        CFRelease(back);
        CFRelease(external);
        CFRelease(str);
    }
}

TEST(CFString, InvalidBytesForTheEncodingGiveNull) {
    EXPECT_EQ(Make("caf\xC3", kCFStringEncodingUTF8), nullptr);  // cut short
    EXPECT_EQ(Make("\xFF\xFE", kCFStringEncodingUTF8), nullptr);
    EXPECT_EQ(Make("a\x80", kCFStringEncodingASCII), nullptr);
    EXPECT_EQ(Make("\x82", kCFStringEncodingShiftJIS), nullptr);  // lead byte alone
    EXPECT_EQ(Make("abc", 0x7777), nullptr);                      // unknown encoding
    EXPECT_EQ(Make("abc", kCFStringEncodingUnicode), nullptr);    // odd length
    EXPECT_EQ(CFStringCreateWithCString(nullptr, nullptr, kCFStringEncodingASCII), nullptr);
}

TEST(CFString, GetBytesReplacesOrStopsAtMissingCharacters) {
    const UniChar text[] = {'a', 0x20AC, 'b', 0x3042};
    CFStringRef str = CFStringCreateWithCharacters(nullptr, text, 4);
    EXPECT_EQ(BytesOf(str, kCFStringEncodingISOLatin1, '?'), "a?b?");

    UInt8 buffer[8];
    CFIndex used = -1;
    CFRange all = CFRangeMake(0, 4);
    EXPECT_EQ(CFStringGetBytes(str, all, kCFStringEncodingISOLatin1, 0, false, buffer,
                               sizeof buffer, &used),
              1);
    EXPECT_EQ(used, 1);
    // A buffer too small ends the conversion before the first character that does not fit.
    EXPECT_EQ(CFStringGetBytes(str, all, kCFStringEncodingUTF8, 0, false, buffer, 3, &used), 1);
    EXPECT_EQ(used, 1);
    // Measuring needs no buffer.
    EXPECT_EQ(CFStringGetBytes(str, all, kCFStringEncodingUTF8, 0, false, nullptr, 0, &used), 4);
    EXPECT_EQ(used, 1 + 3 + 1 + 3);
    EXPECT_LE(used, CFStringGetMaximumSizeForEncoding(4, kCFStringEncodingUTF8));

    char cstr[16];
    EXPECT_FALSE(CFStringGetCString(str, cstr, sizeof cstr, kCFStringEncodingISOLatin1));
    EXPECT_STREQ(cstr, "");
    EXPECT_EQ(CFStringGetCStringPtr(str, kCFStringEncodingISOLatin1), nullptr);
    EXPECT_EQ(CFStringCreateExternalRepresentation(nullptr, str, kCFStringEncodingASCII, 0),
              nullptr);
    CFRelease(str);
}

TEST(CFString, CStringNeedsRoomForTheTerminator) {
    CFStringRef str = CFSTR("four");
    char buffer[5];
    EXPECT_FALSE(CFStringGetCString(str, buffer, 4, kCFStringEncodingASCII));
    EXPECT_TRUE(CFStringGetCString(str, buffer, 5, kCFStringEncodingASCII));
    EXPECT_STREQ(buffer, "four");

    Str255 pascal;
    ASSERT_TRUE(CFStringGetPascalString(str, pascal, sizeof pascal, kCFStringEncodingMacRoman));
    EXPECT_EQ(pascal[0], 4);
    CFStringRef back = CFStringCreateWithPascalString(nullptr, pascal, kCFStringEncodingMacRoman);
    EXPECT_TRUE(CFEqual(back, str));
    CFRelease(back);
}

TEST(CFString, ExternalRepresentationHasAByteOrderMarkAndReadsBackEitherOrder) {
    CFStringRef str = Make("J\xC3\xB6rg \xE2\x80\xA2", kCFStringEncodingUTF8);
    CFDataRef external =
        CFStringCreateExternalRepresentation(nullptr, str, kCFStringEncodingUnicode, 0);
    ASSERT_NE(external, nullptr);
    ASSERT_EQ(CFDataGetLength(external), 2 + 2 * CFStringGetLength(str));
    UniChar mark;
    CFDataGetBytes(external, CFRangeMake(0, 2), reinterpret_cast<UInt8*>(&mark));
    EXPECT_EQ(mark, 0xFEFF);  // host order
    CFStringRef back =
        CFStringCreateFromExternalRepresentation(nullptr, external, kCFStringEncodingUnicode);
    EXPECT_TRUE(CFEqual(back, str));

    // The same text written in the other byte order.
    std::vector<UInt8> swapped(CFDataGetBytePtr(external),
                               CFDataGetBytePtr(external) + CFDataGetLength(external));
    for (size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
    CFDataRef other = CFDataCreate(nullptr, swapped.data(), static_cast<CFIndex>(swapped.size()));
    CFStringRef fromOther =
        CFStringCreateFromExternalRepresentation(nullptr, other, kCFStringEncodingUnicode);
    EXPECT_TRUE(CFEqual(fromOther, str));

    CFRelease(fromOther);
    CFRelease(other);
    CFRelease(back);
    CFRelease(external);
    CFRelease(str);
}

TEST(CFString, CompareHonoursCaseAndNumbers) {
    EXPECT_EQ(CFStringCompare(CFSTR("abc"), CFSTR("abd"), 0), kCFCompareLessThan);
    EXPECT_EQ(CFStringCompare(CFSTR("ab"), CFSTR("a"), 0), kCFCompareGreaterThan);
    EXPECT_EQ(CFStringCompare(CFSTR("Letter"), CFSTR("letter"), 0), kCFCompareLessThan);
    EXPECT_EQ(CFStringCompare(CFSTR("Letter"), CFSTR("lETTER"), kCFCompareCaseInsensitive),
              kCFCompareEqualTo);
    EXPECT_EQ(
        CFStringCompare(CFSTR("\xC3\x84pfel"), CFSTR("\xC3\xA4PFEL"), kCFCompareCaseInsensitive),
        kCFCompareEqualTo);
    EXPECT_EQ(CFStringCompare(CFSTR("Tray10"), CFSTR("Tray9"), 0), kCFCompareLessThan);
    EXPECT_EQ(CFStringCompare(CFSTR("Tray10"), CFSTR("Tray9"), kCFCompareNumerically),
              kCFCompareGreaterThan);
    EXPECT_EQ(CFStringCompare(CFSTR("Tray010"), CFSTR("Tray10"), kCFCompareNumerically),
              kCFCompareEqualTo);

    CFRange found = CFStringFind(CFSTR("a-b-c"), CFSTR("-"), kCFCompareBackwards);
    EXPECT_EQ(found.location, 3);
    EXPECT_EQ(CFStringFind(CFSTR("abc"), CFSTR("B"), 0).location, kCFNotFound);
    EXPECT_EQ(CFStringFind(CFSTR("abc"), CFSTR("B"), kCFCompareCaseInsensitive).location, 1);
    EXPECT_TRUE(CFStringHasPrefix(CFSTR("file.ppd"), CFSTR("file")));
    EXPECT_TRUE(CFStringHasSuffix(CFSTR("file.ppd"), CFSTR(".ppd")));
    EXPECT_FALSE(CFStringHasSuffix(CFSTR("ppd"), CFSTR("file.ppd")));
    EXPECT_EQ(CFStringGetIntValue(CFSTR("  -42x")), -42);
    EXPECT_EQ(CFStringGetIntValue(CFSTR("99999999999")), 0x7fffffff);
}

TEST(CFString, MutableStringsGrowAndImmutableOnesStayPut) {
    CFMutableStringRef str = CFStringCreateMutable(nullptr, 0);
    CFStringAppend(str, CFSTR("Job"));
    CFStringAppendCString(str, " \x8A", kCFStringEncodingMacRoman);
    const UniChar tail[] = {'!', '!'};
    CFStringAppendCharacters(str, tail, 2);
    CFStringAppendCString(str, "\xFF", kCFStringEncodingUTF8);  // invalid: not appended
    EXPECT_EQ(CharsOf(str), (std::vector<UniChar>{'J', 'o', 'b', ' ', 0xE4, '!', '!'}));

    const char* ptr = CFStringGetCStringPtr(str, kCFStringEncodingUTF8);
    ASSERT_NE(ptr, nullptr);
    EXPECT_STREQ(ptr, "Job \xC3\xA4!!");
    CFStringDelete(str, CFRangeMake(3, 4));
    CFStringInsert(str, 0, CFSTR("A "));
    EXPECT_STREQ(CFStringGetCStringPtr(str, kCFStringEncodingUTF8), "A Job");

    CFStringRef copy = CFStringCreateCopy(nullptr, str);
    CFStringAppend(const_cast<CFMutableStringRef>(copy), CFSTR("x"));  // ignored
    EXPECT_TRUE(CFEqual(copy, str));
    EXPECT_EQ(CFHash(copy), CFHash(str));
    CFRelease(copy);
    CFRelease(str);
}

TEST(CFString, ConstantsAreSharedAndNeverFreed) {
    CFStringRef a = CFSTR("shared");
    EXPECT_EQ(a, CFSTR("shared"));
    CFRelease(a);
    CFRelease(a);
    EXPECT_EQ(CFStringGetLength(a), 6);
    EXPECT_GT(CFGetRetainCount(a), 1000);

    CFStringRef made = CFStringCreateWithCString(nullptr, "x", kCFStringEncodingASCII);
    EXPECT_EQ(CFGetRetainCount(made), 1);
    CFRetain(made);
    EXPECT_EQ(CFGetRetainCount(made), 2);
    CFRelease(made);
    CFRelease(made);
    CFRelease(nullptr);
}

}  // namespace

namespace {

TEST(CFStringEncoding, EveryNamedEncodingConverts) {
    const CFStringEncoding kEncodings[] = {
        kCFStringEncodingMacRoman,
        kCFStringEncodingMacCyrillic,
        kCFStringEncodingMacCentralEurRoman,
        kCFStringEncodingUTF8,
        kCFStringEncodingUTF16BE,
        kCFStringEncodingUTF16LE,
        kCFStringEncodingUTF32,
        kCFStringEncodingISOLatin1,
        kCFStringEncodingISOLatin2,
        kCFStringEncodingISOLatin5,
        kCFStringEncodingISOLatin9,
        kCFStringEncodingISOLatinCyrillic,
        kCFStringEncodingISOLatinGreek,
        kCFStringEncodingWindowsLatin1,
        kCFStringEncodingWindowsLatin2,
        kCFStringEncodingWindowsLatin5,
        kCFStringEncodingWindowsCyrillic,
        kCFStringEncodingWindowsGreek,
        kCFStringEncodingASCII,
        kCFStringEncodingShiftJIS,
        kCFStringEncodingDOSJapanese,
        kCFStringEncodingMacJapanese,
    };
    for (CFStringEncoding encoding : kEncodings) {
        SCOPED_TRACE(encoding);
        // Every encoding the table names must open in iconv and carry plain ASCII.
        ASSERT_TRUE(CFStringIsEncodingAvailable(encoding));
        CFStringRef str = CFSTR("Tray 2");
        CFDataRef bytes = CFStringCreateExternalRepresentation(nullptr, str, encoding, 0);
        ASSERT_NE(bytes, nullptr);
        CFStringRef back = CFStringCreateFromExternalRepresentation(nullptr, bytes, encoding);
        EXPECT_TRUE(CFEqual(back, str));
        CFRelease(back);
        CFRelease(bytes);
    }
    EXPECT_FALSE(CFStringIsEncodingAvailable(kCFStringEncodingMacGreek));
    EXPECT_EQ(HalyxIconvNameForEncoding(0x0C01), nullptr);
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(4, 0x0C01), kCFNotFound);
}

}  // namespace

namespace {

TEST(CFString, BadRangesAndBufferSizesConvertNothing) {
    CFStringRef str = CFSTR("abc");
    UInt8 buffer[4] = {9, 9, 9, 9};
    CFIndex used = -1;
    EXPECT_EQ(CFStringGetBytes(str, CFRangeMake(0, 3), kCFStringEncodingASCII, 0, false, buffer, -5,
                               &used),
              0);
    EXPECT_EQ(used, 0);
    EXPECT_EQ(buffer[0], 9);
    EXPECT_EQ(CFStringGetBytes(str, CFRangeMake(5, 1), kCFStringEncodingASCII, 0, false, buffer, 4,
                               &used),
              0);
    // A range running past the end is clipped.
    EXPECT_EQ(CFStringGetBytes(str, CFRangeMake(1, 10), kCFStringEncodingASCII, 0, false, buffer, 4,
                               &used),
              2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 2), "bc");
    EXPECT_EQ(CFStringGetCharacterAtIndex(str, 3), 0);
    EXPECT_EQ(CFStringCreateWithSubstring(nullptr, str, CFRangeMake(4, 1)), nullptr);
    char small[1];
    EXPECT_FALSE(CFStringGetCString(str, small, 0, kCFStringEncodingASCII));
}

}  // namespace

namespace {

std::string UTF8Of(CFStringRef str) {
    char buffer[256] = "";
    CFStringGetCString(str, buffer, sizeof buffer, kCFStringEncodingUTF8);
    return buffer;
}

TEST(CFStringFormat, ConversionsMatchTheCLibraryAndValuesShowTheirText) {
    long long big = -5000000000LL;
    CFStringRef str = CFStringCreateWithFormat(
        nullptr, nullptr, CFSTR("ORB.PSData.%@|%5d|%-3u|%08.3f|%x|%lld|%s|%c|%%|%*d|%.2s|%zu"),
        CFSTR("com.halyx.\xC3\xA4"), 42, 7u, 3.14159, 255u, big,
        "Gr\x9A\x9F"
        "e",
        'Z', 4, 9, "abc", static_cast<size_t>(12));
    EXPECT_EQ(UTF8Of(str),
              "ORB.PSData.com.halyx.\xC3\xA4|   42|7  |0003.142|ff|-5000000000|"
              "Gr\xC3\xB6\xC3\xBC"
              "e|Z|%|   9|ab|12");
    CFRelease(str);

    int one = 1;
    CFNumberRef number = CFNumberCreate(nullptr, kCFNumberIntType, &one);
    CFMutableStringRef mutableString = CFStringCreateMutableCopy(nullptr, 0, CFSTR("n="));
    CFStringAppendFormat(mutableString, nullptr, CFSTR("%@ %@ %Q %"), number, nullptr);
    EXPECT_EQ(UTF8Of(mutableString), "n=1 (null) %Q %");
    CFRelease(mutableString);
    CFRelease(number);
}

}  // namespace
