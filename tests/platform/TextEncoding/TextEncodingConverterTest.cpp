#include "TextEncoding/TextEncodingConverter.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "testing/FailureInjection.h"

namespace {

// Owns a converter for the length of a test.
class Converter {
public:
    Converter(TextEncoding from, TextEncoding to) { status_ = TECCreateConverter(&ref_, from, to); }
    ~Converter() {
        if (ref_ != nullptr) TECDisposeConverter(ref_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    TECObjectRef get() const { return ref_; }
    OSStatus status() const { return status_; }

private:
    TECObjectRef ref_ = nullptr;
    OSStatus status_;
};

struct Result {
    OSStatus status;
    std::string bytes;
};

// Feeds `input` in pieces of `inStep` bytes into an output of `outRoom` bytes, growing the output
// whenever the converter says it is full, then flushes: the way a caller is expected to drive it.
Result ConvertInPieces(TECObjectRef conv, const std::string& input, size_t inStep, size_t outRoom) {
    Result result{noErr, std::string()};
    std::string out(outRoom, '\0');
    size_t written = 0;
    size_t read = 0;
    const UInt8* in = reinterpret_cast<const UInt8*>(input.data());
    while (read < input.size()) {
        const size_t piece = std::min(inStep, input.size() - read);
        size_t pieceRead = 0;
        while (pieceRead < piece) {
            ByteCount r = 0, w = 0;
            OSStatus s =
                TECConvertText(conv, in + read + pieceRead, piece - pieceRead, &r,
                               reinterpret_cast<UInt8*>(&out[written]), out.size() - written, &w);
            pieceRead += r;
            written += w;
            if (s == kTECOutputBufferFullStatus || s == kTECBufferBelowMinimumSizeErr) {
                out.resize(out.size() + outRoom);
            } else if (s != noErr) {
                result.status = s;
                result.bytes = out.substr(0, written);
                return result;
            }
        }
        read += piece;
    }
    for (;;) {
        ByteCount w = 0;
        OSStatus s =
            TECFlushText(conv, reinterpret_cast<UInt8*>(&out[written]), out.size() - written, &w);
        written += w;
        if (s != kTECOutputBufferFullStatus && s != kTECBufferBelowMinimumSizeErr) {
            result.status = s;
            break;
        }
        out.resize(out.size() + outRoom);
    }
    result.bytes = out.substr(0, written);
    return result;
}

std::string Utf16(const std::u16string& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

Result ConvertWhole(TextEncoding from, TextEncoding to, const std::string& input) {
    Converter conv(from, to);
    EXPECT_EQ(noErr, conv.status());
    if (conv.get() == nullptr) return Result{conv.status(), std::string()};
    return ConvertInPieces(conv.get(), input, input.size() + 1, 4 * input.size() + 8);
}

TEST(TextEncodingConverter, EightBitEncodingsBecomeHostOrderUnicode) {
    EXPECT_EQ(Utf16(u"caf\u00E9"),
              ConvertWhole(kTextEncodingMacRoman, kTextEncodingUnicodeDefault, "caf\x8E").bytes);
    EXPECT_EQ(
        Utf16(u"\u0105\u0141\u017E"),
        ConvertWhole(kTextEncodingISOLatin2, kTextEncodingUnicodeDefault, "\xB1\xA3\xBE").bytes);
    EXPECT_EQ(Utf16(u"\u0130\u015F"),
              ConvertWhole(kTextEncodingISOLatin5, kTextEncodingUnicodeDefault, "\xDD\xFE").bytes);
    EXPECT_EQ(Utf16(u"\u20AC"),
              ConvertWhole(kTextEncodingWindowsLatin1, kTextEncodingUnicodeDefault, "\x80").bytes);
}

TEST(TextEncodingConverter, ShiftJISMixesOneAndTwoByteCharacters) {
    // Hiragana A, "Z", half-width katakana A, kanji for "day".
    EXPECT_EQ(
        Utf16(u"\u3042Z\uFF71\u65E5"),
        ConvertWhole(kTextEncodingShiftJIS, kTextEncodingUnicodeDefault, "\x82\xA0Z\xB1\x93\xFA")
            .bytes);
}

TEST(TextEncodingConverter, UnicodeBackToEightBit) {
    Result r = ConvertWhole(kCFStringEncodingUTF8, kTextEncodingMacRoman, "caf\xC3\xA9");
    EXPECT_EQ(noErr, r.status);
    EXPECT_EQ("caf\x8E", r.bytes);
    r = ConvertWhole(kTextEncodingUnicodeDefault, kTextEncodingISOLatin1, Utf16(u"\u00E9t\u00E9"));
    EXPECT_EQ(noErr, r.status);
    EXPECT_EQ("\xE9t\xE9", r.bytes);
}

TEST(TextEncodingConverter, CreationFailures) {
    TECObjectRef conv = reinterpret_cast<TECObjectRef>(1);
    EXPECT_EQ(kTextUnsupportedEncodingErr,
              TECCreateConverter(&conv, kTextEncodingUnknown, kTextEncodingMacRoman));
    EXPECT_EQ(nullptr, conv);
    EXPECT_EQ(kTextUnsupportedEncodingErr,
              TECCreateConverter(&conv, kTextEncodingMacRoman, 0x0B01));
    EXPECT_EQ(paramErr, TECCreateConverter(nullptr, kTextEncodingMacRoman, kTextEncodingMacRoman));
}

TEST(TextEncodingConverter, NullArgumentsAreRefused) {
    Converter conv(kTextEncodingMacRoman, kTextEncodingUnicodeDefault);
    UInt8 out[8];
    ByteCount r = 7, w = 7;
    EXPECT_EQ(paramErr, TECConvertText(nullptr, out, 1, &r, out, 8, &w));
    EXPECT_EQ(0u, r);
    EXPECT_EQ(0u, w);
    EXPECT_EQ(paramErr, TECConvertText(conv.get(), nullptr, 1, &r, out, 8, &w));
    EXPECT_EQ(paramErr, TECConvertText(conv.get(), out, 1, nullptr, out, 8, &w));
    EXPECT_EQ(paramErr, TECConvertText(conv.get(), out, 1, &r, nullptr, 8, &w));
    EXPECT_EQ(paramErr, TECFlushText(conv.get(), out, 8, nullptr));
    EXPECT_EQ(paramErr, TECFlushText(nullptr, out, 8, &w));
    EXPECT_EQ(paramErr, TECClearConverterContextInfo(nullptr));
    EXPECT_EQ(paramErr, TECDisposeConverter(nullptr));
    // Nothing to convert is not an error.
    EXPECT_EQ(noErr, TECConvertText(conv.get(), nullptr, 0, &r, out, 8, &w));
}

TEST(TextEncodingConverter, FullOutputReportsProgressAndContinues) {
    Converter conv(kTextEncodingISOLatin1, kTextEncodingUnicodeDefault);
    const UInt8 in[] = {'H', 'e', 'l', 'l', 'o'};
    UInt8 out[16];
    ByteCount r = 0, w = 0;
    EXPECT_EQ(kTECOutputBufferFullStatus, TECConvertText(conv.get(), in, 5, &r, out, 5, &w));
    EXPECT_EQ(2u, r);
    EXPECT_EQ(4u, w);
    ByteCount r2 = 0, w2 = 0;
    EXPECT_EQ(noErr, TECConvertText(conv.get(), in + r, 5 - r, &r2, out + w, sizeof out - w, &w2));
    EXPECT_EQ(3u, r2);
    EXPECT_EQ(Utf16(u"Hello"), std::string(reinterpret_cast<char*>(out), w + w2));
}

TEST(TextEncodingConverter, NoRoomForOneCharacterIsBelowMinimum) {
    Converter conv(kTextEncodingISOLatin1, kTextEncodingUnicodeDefault);
    const UInt8 in[] = {'H'};
    UInt8 out[4];
    ByteCount r = 9, w = 9;
    EXPECT_EQ(kTECBufferBelowMinimumSizeErr, TECConvertText(conv.get(), in, 1, &r, out, 1, &w));
    EXPECT_EQ(0u, r);
    EXPECT_EQ(0u, w);
    EXPECT_EQ(kTECBufferBelowMinimumSizeErr, TECConvertText(conv.get(), in, 1, &r, nullptr, 0, &w));
}

TEST(TextEncodingConverter, CharacterSplitAcrossCallsIsKept) {
    Converter conv(kTextEncodingShiftJIS, kTextEncodingUnicodeDefault);
    const UInt8 in[] = {0x82, 0xA0};
    UInt8 out[8];
    ByteCount r = 0, w = 0;
    EXPECT_EQ(noErr, TECConvertText(conv.get(), in, 1, &r, out, sizeof out, &w));
    EXPECT_EQ(1u, r);
    EXPECT_EQ(0u, w);
    EXPECT_EQ(noErr, TECConvertText(conv.get(), in + 1, 1, &r, out, sizeof out, &w));
    EXPECT_EQ(1u, r);
    EXPECT_EQ(Utf16(u"\u3042"), std::string(reinterpret_cast<char*>(out), w));
}

TEST(TextEncodingConverter, PieceAndRoomSizesDoNotChangeTheResult) {
    const std::string sjis = "\x82\xA0Z\xB1\x93\xFA\x82\xA2\x82\xA4 abc \x83\x65\x83\x58\x83\x67";
    const std::string whole =
        ConvertWhole(kTextEncodingShiftJIS, kTextEncodingUnicodeDefault, sjis).bytes;
    ASSERT_FALSE(whole.empty());
    for (size_t inStep = 1; inStep <= 4; ++inStep) {
        for (size_t room = 1; room <= 5; ++room) {
            Converter conv(kTextEncodingShiftJIS, kTextEncodingUnicodeDefault);
            Result r = ConvertInPieces(conv.get(), sjis, inStep, room);
            EXPECT_EQ(noErr, r.status) << inStep << "/" << room;
            EXPECT_EQ(whole, r.bytes) << inStep << "/" << room;
        }
    }
    const std::string utf16 = Utf16(u"\U0001F600 and \u00E9");  // a surrogate pair first
    for (size_t inStep = 1; inStep <= 5; ++inStep) {
        Converter conv(kTextEncodingUnicodeDefault, kCFStringEncodingUTF8);
        Result r = ConvertInPieces(conv.get(), utf16, inStep, 3);
        EXPECT_EQ(noErr, r.status);
        EXPECT_EQ("\xF0\x9F\x98\x80 and \xC3\xA9", r.bytes);
    }
}

TEST(TextEncodingConverter, AsciiCopiedBetweenByteEncodingsMatchesIconv) {
    // Trail bytes of Shift-JIS characters ("\x83\x65") fall in the ASCII range: split from their
    // lead byte they must still not be copied as letters.
    const std::string sjis = std::string(40, 'a') + "\x83\x65\x83\x58x\x82\xA0" + "tail";
    const std::string utf8 = std::string(40, 'a') + "\xE3\x83\x86\xE3\x82\xB9x\xE3\x81\x82tail";
    for (size_t inStep = 1; inStep <= 43; inStep += 3) {
        for (size_t room = 1; room <= 5; ++room) {
            Converter conv(kTextEncodingShiftJIS, kCFStringEncodingUTF8);
            Result r = ConvertInPieces(conv.get(), sjis, inStep, room);
            EXPECT_EQ(noErr, r.status) << inStep << "/" << room;
            EXPECT_EQ(utf8, r.bytes) << inStep << "/" << room;
        }
    }
    // Full in the middle of an ASCII run: what fits is taken, and the rest follows.
    Converter roman(kTextEncodingMacRoman, kTextEncodingISOLatin1);
    const std::string text = std::string(20, 'b') + "\x8E";
    UInt8 out[32];
    ByteCount r = 0, w = 0;
    EXPECT_EQ(kTECOutputBufferFullStatus,
              TECConvertText(roman.get(), reinterpret_cast<const UInt8*>(text.data()), text.size(),
                             &r, out, 8, &w));
    EXPECT_EQ(8u, r);
    EXPECT_EQ(8u, w);
    ByteCount r2 = 0, w2 = 0;
    EXPECT_EQ(noErr, TECConvertText(roman.get(), reinterpret_cast<const UInt8*>(text.data()) + r,
                                    text.size() - r, &r2, out + w, sizeof out - w, &w2));
    EXPECT_EQ(std::string(20, 'b') + "\xE9", std::string(reinterpret_cast<char*>(out), w + w2));

    // A converter disposed inside a character leaves nothing to the next one of the same kind.
    for (int i = 0; i < 3; ++i) {
        Converter conv(kTextEncodingShiftJIS, kCFStringEncodingUTF8);
        Result result = ConvertInPieces(conv.get(), "A", 8, 8);
        EXPECT_EQ(noErr, result.status) << i;
        EXPECT_EQ("A", result.bytes) << i;
        const UInt8 lead = 0x82;
        ASSERT_EQ(noErr, TECConvertText(conv.get(), &lead, 1, &r, out, sizeof out, &w));
    }
}

TEST(TextEncodingConverter, ThreadsKeepTheirOwnIdleHandles) {
    // Each thread reuses the handles it disposed of; those left when it ends are closed with it
    // (the leak checker sees any that stay behind).
    std::vector<std::string> results(3);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < results.size(); ++t) {
        threads.emplace_back([t, &results] {
            for (int i = 0; i < 4; ++i) {
                results[t] +=
                    ConvertWhole(kTextEncodingMacRoman, kCFStringEncodingUTF8, "caf\x8E").bytes;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    std::string expected;
    for (int i = 0; i < 4; ++i) expected += "caf\xC3\xA9";
    for (const std::string& result : results) EXPECT_EQ(expected, result);
}

TEST(TextEncodingConverter, TextEndingInsideACharacter) {
    Converter conv(kTextEncodingShiftJIS, kTextEncodingUnicodeDefault);
    Result r = ConvertInPieces(conv.get(), "A\x82", 8, 8);
    EXPECT_EQ(kTECPartialCharErr, r.status);
    EXPECT_EQ(Utf16(u"A"), r.bytes);
    // The converter starts afresh after the flush.
    r = ConvertInPieces(conv.get(), "B", 8, 8);
    EXPECT_EQ(noErr, r.status);
    EXPECT_EQ(Utf16(u"B"), r.bytes);
}

TEST(TextEncodingConverter, ClearingForgetsAnUnfinishedCharacter) {
    Converter conv(kTextEncodingShiftJIS, kTextEncodingUnicodeDefault);
    const UInt8 lead = 0x82;
    UInt8 out[8];
    ByteCount r = 0, w = 0;
    ASSERT_EQ(noErr, TECConvertText(conv.get(), &lead, 1, &r, out, sizeof out, &w));
    EXPECT_EQ(noErr, TECClearConverterContextInfo(conv.get()));
    Result result = ConvertInPieces(conv.get(), "A", 8, 8);
    EXPECT_EQ(noErr, result.status);
    EXPECT_EQ(Utf16(u"A"), result.bytes);
}

TEST(TextEncodingConverter, BadOrUnmappableInputStopsBeforeIt) {
    Converter conv(kCFStringEncodingUTF8, kTextEncodingMacRoman);
    const std::string bad =
        "ab\xFF"
        "cd";
    UInt8 out[16];
    ByteCount r = 0, w = 0;
    EXPECT_EQ(kTextMalformedInputErr,
              TECConvertText(conv.get(), reinterpret_cast<const UInt8*>(bad.data()), bad.size(), &r,
                             out, sizeof out, &w));
    EXPECT_EQ(2u, r);
    EXPECT_EQ("ab", std::string(reinterpret_cast<char*>(out), w));

    Result euro =
        ConvertWhole(kTextEncodingUnicodeDefault, kTextEncodingISOLatin1, Utf16(u"x\u20AC"));
    EXPECT_EQ(kTextMalformedInputErr, euro.status);
    EXPECT_EQ("x", euro.bytes);
}

TEST(TextEncodingConverter, InjectedFailureTakesNothing) {
    HalyxFailureScope scope;
    Converter conv(kTextEncodingMacRoman, kTextEncodingUnicodeDefault);
    const UInt8 in[] = {'a'};
    UInt8 out[8];
    ByteCount r = 9, w = 9;
    HalyxInjectFailures(kHalyxFailConversion, 0, 1);
    EXPECT_EQ(kTextMalformedInputErr, TECConvertText(conv.get(), in, 1, &r, out, sizeof out, &w));
    EXPECT_EQ(0u, r);
    EXPECT_EQ(0u, w);
    EXPECT_EQ(noErr, TECConvertText(conv.get(), in, 1, &r, out, sizeof out, &w));
    EXPECT_EQ(1u, r);
}

}  // namespace
