// The Base64 of property-list data: decoding every padding form, with breaks anywhere, and the
// encoder's output decoding back to its bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CoreFoundation/CFBase64.h"

namespace {

std::string Decoded(const std::string& text, bool* ok) {
    std::vector<UInt8> bytes{'>'};  // decoding appends to what is there
    *ok = halyxcf::DecodeBase64(text, &bytes);
    return std::string(bytes.begin() + 1, bytes.end());
}

}  // namespace

TEST(CFBase64, DecodesEveryPaddingFormAndSkipsBreaks) {
    const struct {
        const char* text;
        const char* bytes;
    } kGood[] = {
        {"SGVsbG8=", "Hello"},
        {"SGVsbG8", "Hello"},
        {"SGVsbA==", "Hell"},
        {"SGVsbA", "Hell"},
        {"SGVs", "Hel"},
        {"", ""},
        {" SG\tVs\r\nbG8= ", "Hello"},
        {"SGVsbA=\n=", "Hell"},
        {"SGVsbG8=\n", "Hello"},
    };
    for (const auto& good : kGood) {
        bool ok = false;
        EXPECT_EQ(Decoded(good.text, &ok), good.bytes) << good.text;
        EXPECT_TRUE(ok) << good.text;
    }
    const char* const kBad[] = {
        "S", "SGVsb", "S===", "SG=", "SG=x", "SGVsbG8==", "SG Vs*", "SGVs=A=="};
    for (const char* bad : kBad) {
        bool ok = true;
        Decoded(bad, &ok);
        EXPECT_FALSE(ok) << bad;
    }
}

TEST(CFBase64, EncodedBytesDecodeBack) {
    std::vector<UInt8> bytes;
    for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<UInt8>(i * 7));
    for (size_t length : {0u, 1u, 2u, 3u, 58u, 299u, 300u}) {
        std::string text;
        halyxcf::AppendBase64(bytes.data(), length, 16, "  ", &text);
        // Lines of the indent and 16 digits, the last one shorter, each ended by a line feed.
        const size_t digits = (length + 2) / 3 * 4;
        std::string expectedShape;
        for (size_t done = 0; done < digits; done += 16)
            expectedShape += "  " + std::string(std::min<size_t>(16, digits - done), 'x') + "\n";
        std::string shape = text;
        for (char& c : shape)
            if (c != ' ' && c != '\n') c = 'x';
        EXPECT_EQ(shape, expectedShape) << length;
        std::vector<UInt8> back;
        ASSERT_TRUE(halyxcf::DecodeBase64(text, &back)) << length;
        EXPECT_EQ(back, std::vector<UInt8>(bytes.begin(), bytes.begin() + length)) << length;
    }
}
