#include <gtest/gtest.h>
#include <nettle/base64.h>

#include <string>

#include "TestBytes.h"
#include "crypto/Base64Decoder.h"
#include "crypto/Base64Encoder.h"

namespace {

using halyx::crypto::Base64Decoder;
using halyx::crypto::Base64Encoder;

std::string Encode(const std::string& data, bool lineBreaks) {
    std::string out(size_t(Base64Encoder::EncodedLength(int(data.size()), lineBreaks)), '\0');
    int n = Base64Encoder::Encode(reinterpret_cast<const unsigned char*>(data.data()),
                                  int(data.size()), &out[0], lineBreaks);
    EXPECT_EQ(out.size(), size_t(n));
    return out;
}

std::string Decode(const std::string& text) {
    std::string out(size_t(Base64Decoder::MaxDecodedLength(int(text.size()))), '\0');
    int n = Base64Decoder::Decode(text.data(), int(text.size()),
                                  reinterpret_cast<unsigned char*>(&out[0]));
    EXPECT_LE(n, int(out.size()));
    out.resize(size_t(n));
    return out;
}

TEST(Base64, PublishedVectorsBothWays) {
    const char* pairs[][2] = {{"", ""},
                              {"f", "Zg=="},
                              {"fo", "Zm8="},
                              {"foo", "Zm9v"},
                              {"foob", "Zm9vYg=="},
                              {"fooba", "Zm9vYmE="},
                              {"foobar", "Zm9vYmFy"}};
    for (const auto& p : pairs) {
        EXPECT_EQ(p[1], Encode(p[0], false));
        EXPECT_EQ(p[0], Decode(p[1]));
    }
}

TEST(Base64, MatchesIndependentImplementationOnRandomData) {
    halyx_test::RandomBytes random(8);
    for (int i = 0; i < 3000; ++i) {
        std::vector<unsigned char> bytes = random.Bytes(random.Between(0, 300));
        std::string data(bytes.begin(), bytes.end());
        std::string expected(BASE64_ENCODE_RAW_LENGTH(bytes.size()), '\0');
        base64_encode_raw(&expected[0], bytes.size(), bytes.data());

        std::string plain = Encode(data, false);
        ASSERT_EQ(expected, plain);
        ASSERT_EQ(data, Decode(plain));

        // Broken into lines, the text is the same with an LF after every 64th character.
        std::string broken = Encode(data, true);
        std::string rejoined;
        for (size_t at = 0; at < broken.size(); at += 65) {
            std::string line = broken.substr(at, 65);
            if (line.size() == 65) {
                ASSERT_EQ('\n', line.back());
            }
            rejoined += line.substr(0, 64);
        }
        ASSERT_EQ(broken.size(), plain.size() + plain.size() / 64);
        ASSERT_EQ(plain, rejoined);
        ASSERT_EQ(data, Decode(broken));
    }
}

TEST(Base64, DecoderSkipsStrangersAndStopsAtPadding) {
    EXPECT_EQ("foobar", Decode(" Zm9v\r\nYm\tFy\x80!"));
    EXPECT_EQ("foo", Decode("Zm9v=Zm9v"));
    EXPECT_EQ("fo", Decode("Zm8"));     // an unpadded tail of three characters gives two bytes
    EXPECT_EQ("foo", Decode("Zm9vY"));  // a lone trailing character gives nothing
    EXPECT_EQ("", Decode("%%%%"));
    EXPECT_EQ(0, Base64Decoder::Decode(nullptr, 4, nullptr));
}

}  // namespace
