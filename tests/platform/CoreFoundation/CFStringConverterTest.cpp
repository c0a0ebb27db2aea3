// The byte encoder copies ASCII itself and hands the rest to iconv, and the decoder reads the
// single-byte encodings through tables: both must give iconv's answers.
#include "CoreFoundation/CFStringConverter.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <thread>
#include <vector>

#include "CoreFoundation/CFString.h"

namespace {

const CFStringEncoding kASCIICompatible[] = {
    kCFStringEncodingMacRoman,      kCFStringEncodingMacJapanese,
    kCFStringEncodingMacCyrillic,   kCFStringEncodingMacCentralEurRoman,
    kCFStringEncodingISOLatin1,     kCFStringEncodingISOLatin2,
    kCFStringEncodingISOLatin5,     kCFStringEncodingISOLatin9,
    kCFStringEncodingWindowsLatin1, kCFStringEncodingWindowsLatin2,
    kCFStringEncodingWindowsGreek,  kCFStringEncodingASCII,
    kCFStringEncodingShiftJIS,      kCFStringEncodingUTF8,
};

// iconv's bytes for the whole of `chars`; false when iconv cannot convert all of them.
bool IconvBytes(const std::vector<UniChar>& chars, CFStringEncoding encoding, std::string* out) {
    iconv_t cd = iconv_open(HalyxIconvNameForEncoding(encoding),
                            HalyxIconvNameForEncoding(kCFStringEncodingUnicode));
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string bytes(chars.size() * 4, '\0');
    char* in = reinterpret_cast<char*>(const_cast<UniChar*>(chars.data()));
    size_t inLeft = chars.size() * sizeof(UniChar);
    char* outPtr = &bytes[0];
    size_t outLeft = bytes.size();
    const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<size_t>(-1)) return false;
    bytes.resize(bytes.size() - outLeft);
    *out = bytes;
    return true;
}

// iconv's characters for `bytes`; false when iconv cannot read all of them.
bool IconvChars(const std::string& bytes, CFStringEncoding encoding, std::vector<UniChar>* out) {
    iconv_t cd = iconv_open(HalyxIconvNameForEncoding(kCFStringEncodingUnicode),
                            HalyxIconvNameForEncoding(encoding));
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::vector<UniChar> chars(bytes.size() * 2 + 2);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* outPtr = reinterpret_cast<char*>(chars.data());
    size_t outLeft = chars.size() * sizeof(UniChar);
    const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<size_t>(-1)) return false;
    chars.resize(chars.size() - outLeft / sizeof(UniChar));
    *out = chars;
    return true;
}

struct Encoded {
    CFIndex done;
    std::string bytes;
};

Encoded Encode(const std::vector<UniChar>& chars, CFStringEncoding encoding, UInt8 lossByte,
               CFIndex room) {
    std::string buffer(static_cast<size_t>(room) + 1, '\x7F');
    CFIndex used = -1;
    const CFIndex done =
        halyxcf::EncodeChars(chars.data(), static_cast<CFIndex>(chars.size()), encoding, lossByte,
                             reinterpret_cast<UInt8*>(&buffer[0]), room, &used);
    EXPECT_EQ('\x7F', buffer[static_cast<size_t>(room)]) << "wrote past the buffer";
    buffer.resize(static_cast<size_t>(used));
    return {done, buffer};
}

std::vector<UniChar> Chars(const std::u16string& text) {
    return std::vector<UniChar>(text.begin(), text.end());
}

TEST(CFStringConverter, EncodingsAgreeWithIconvBeforeAndAfterTheFirstOtherCharacter) {
    std::vector<UniChar> ascii;
    for (UniChar c = 0; c < 0x80; ++c) ascii.push_back(c);
    // A long ASCII run, then a character each encoding lacks or has, then ASCII again.
    const std::vector<UniChar> mixed =
        Chars(std::u16string(300, u'x') + u"\u00E9\u0416\u00E4\u3042yz");
    for (CFStringEncoding encoding : kASCIICompatible) {
        std::string expected;
        ASSERT_TRUE(IconvBytes(ascii, encoding, &expected)) << encoding;
        EXPECT_EQ(expected, Encode(ascii, encoding, 0, 200).bytes) << encoding;

        // Whatever iconv can write of the mixed text, the encoder writes the same; with a loss
        // byte it goes to the end, and measuring gives the length it writes.
        const Encoded lossy = Encode(mixed, encoding, '?', 400);
        EXPECT_EQ(static_cast<CFIndex>(mixed.size()), lossy.done) << encoding;
        CFIndex measured = -1;
        EXPECT_EQ(lossy.done, halyxcf::EncodeChars(mixed.data(), static_cast<CFIndex>(mixed.size()),
                                                   encoding, '?', nullptr, 0, &measured));
        EXPECT_EQ(static_cast<CFIndex>(lossy.bytes.size()), measured) << encoding;
        const Encoded strict = Encode(mixed, encoding, 0, 400);
        if (IconvBytes(mixed, encoding, &expected)) {
            EXPECT_EQ(expected, strict.bytes) << encoding;
            EXPECT_EQ(expected, lossy.bytes) << encoding;
        } else {
            EXPECT_LT(strict.done, static_cast<CFIndex>(mixed.size())) << encoding;
            EXPECT_EQ(lossy.bytes.substr(0, strict.bytes.size()), strict.bytes) << encoding;
        }
    }
}

TEST(CFStringConverter, DecodingAgreesWithIconvForEveryByte) {
    for (CFStringEncoding encoding : kASCIICompatible) {
        std::string all;
        for (unsigned byte = 1; byte <= 0xFF; ++byte) {
            // Each byte alone, between letters, and after them all the bytes of the encoding.
            const std::string text = std::string("ab") + static_cast<char>(byte) + "cd";
            all += static_cast<char>(byte);
            std::vector<UniChar> expected;
            std::vector<UniChar> chars(1, u'!');  // decoding appends
            const bool readable = IconvChars(text, encoding, &expected);
            ASSERT_EQ(readable, halyxcf::DecodeBytes(reinterpret_cast<const UInt8*>(text.data()),
                                                     text.size(), encoding, &chars))
                << encoding << " " << byte;
            expected.insert(expected.begin(), u'!');
            if (!readable) expected.resize(1);
            EXPECT_EQ(expected, chars) << encoding << " " << byte;
        }
        std::vector<UniChar> expected;
        std::vector<UniChar> chars;
        const bool readable = IconvChars(all, encoding, &expected);
        EXPECT_EQ(readable, halyxcf::DecodeBytes(reinterpret_cast<const UInt8*>(all.data()),
                                                 all.size(), encoding, &chars));
        if (readable) {
            EXPECT_EQ(expected, chars) << encoding;
        }
    }
}

TEST(CFStringConverter, LossBytesAndShortBuffersStopAtCharacters) {
    const std::vector<UniChar> text = Chars(u"abc\u3042d\u00E9");
    EXPECT_EQ(6, Encode(text, kCFStringEncodingMacRoman, '?', 10).done);
    EXPECT_EQ("abc?d\x8E", Encode(text, kCFStringEncodingMacRoman, '?', 10).bytes);
    // Without a loss byte the character MacRoman lacks ends the conversion.
    Encoded result = Encode(text, kCFStringEncodingMacRoman, 0, 10);
    EXPECT_EQ(3, result.done);
    EXPECT_EQ("abc", result.bytes);
    // Full inside the ASCII run, at its end, and before a two-byte character.
    result = Encode(text, kCFStringEncodingMacRoman, '?', 2);
    EXPECT_EQ(2, result.done);
    EXPECT_EQ("ab", result.bytes);
    result = Encode(text, kCFStringEncodingMacRoman, '?', 3);
    EXPECT_EQ(3, result.done);
    EXPECT_EQ("abc", result.bytes);
    result = Encode(Chars(u"ab\u00E9"), kCFStringEncodingUTF8, 0, 3);
    EXPECT_EQ(2, result.done);
    EXPECT_EQ("ab", result.bytes);
    result = Encode(text, kCFStringEncodingShiftJIS, 0, 5);
    EXPECT_EQ(4, result.done);
    EXPECT_EQ("abc\x82\xA0", result.bytes);
    EXPECT_EQ(0, Encode(text, kCFStringEncodingMacRoman, '?', 0).done);
    // An encoding the table does not know converts nothing, ASCII included.
    EXPECT_EQ(0, Encode(text, kCFStringEncodingMacGreek, '?', 10).done);
}

TEST(CFStringConverter, ThreadsConvertWithTheirOwnHandlesAndFreeEachOthersStrings) {
    // Strings made on one thread are freed on another; each thread's converters and kept blocks go
    // with it (the leak checker sees any that stay behind).
    std::vector<CFStringRef> made(4, nullptr);
    std::vector<std::string> back(4);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < made.size(); ++t) {
        threads.emplace_back([t, &made, &back] {
            const std::string latin1 = "caf\xE9 " + std::to_string(t);
            for (int i = 0; i < 50; ++i) {
                CFStringRef str = CFStringCreateWithBytes(
                    nullptr, reinterpret_cast<const UInt8*>(latin1.data()),
                    static_cast<CFIndex>(latin1.size()), kCFStringEncodingISOLatin1, false);
                char buffer[32];
                if (CFStringGetCString(str, buffer, sizeof buffer, kCFStringEncodingMacRoman))
                    back[t] = buffer;
                if (i < 49) {
                    CFRelease(str);
                } else {
                    made[t] = str;
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (size_t t = 0; t < made.size(); ++t) {
        EXPECT_EQ("caf\x8E " + std::to_string(t), back[t]);
        ASSERT_NE(nullptr, made[t]);
        EXPECT_EQ(6, CFStringGetLength(made[t]));
        CFRelease(made[t]);
    }
}

}  // namespace
