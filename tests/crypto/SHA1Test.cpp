#include "crypto/SHA1.h"

#include <gtest/gtest.h>
#include <nettle/sha1.h>

#include <cstdio>
#include <string>

#include "TestBytes.h"

namespace {

using halyx::crypto::SHA1;

std::string Words(const unsigned* d) {
    char text[48];
    std::snprintf(text, sizeof text, "%08X %08X %08X %08X %08X", d[0], d[1], d[2], d[3], d[4]);
    return text;
}

std::string Digest(SHA1& sha) {
    unsigned d[5];
    EXPECT_TRUE(sha.Result(d));
    return Words(d);
}

TEST(SHA1, PublishedVectors) {
    SHA1 sha;
    sha << "abc";
    EXPECT_EQ("A9993E36 4706816A BA3E2571 7850C26C 9CD0D89D", Digest(sha));

    sha.Reset();
    sha << "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    EXPECT_EQ("84983E44 1C3BD26E BAAE4AA1 F95129E5 E54670F1", Digest(sha));

    sha.Reset();
    for (int i = 0; i < 1000000; ++i) sha.Input('a');
    EXPECT_EQ("34AA973C D4C4DAA4 F61EEB2B DBAD2731 6534016F", Digest(sha));

    sha.Reset();
    std::string thousand(1000, 'a');
    for (int i = 0; i < 1000; ++i) sha.Input(thousand.data(), 1000);
    EXPECT_EQ("34AA973C D4C4DAA4 F61EEB2B DBAD2731 6534016F", Digest(sha));
}

TEST(SHA1, MatchesIndependentImplementationOnRandomMessagesInPieces) {
    halyx_test::RandomBytes random(7);
    for (int i = 0; i < 3000; ++i) {
        std::vector<unsigned char> message = random.Bytes(random.Between(0, 300));
        struct sha1_ctx reference;
        sha1_init(&reference);
        sha1_update(&reference, message.size(), message.data());
        unsigned char expected[SHA1_DIGEST_SIZE];
        sha1_digest(&reference, sizeof expected, expected);

        SHA1 sha;
        for (size_t at = 0; at < message.size();) {
            size_t piece = random.Between(1, 70);
            if (piece > message.size() - at) piece = message.size() - at;
            sha.Input(message.data() + at, unsigned(piece));
            at += piece;
        }
        unsigned d[5];
        ASSERT_TRUE(sha.Result(d));
        unsigned char ours[20];
        for (int w = 0; w < 5; ++w)
            for (int b = 0; b < 4; ++b) ours[4 * w + b] = (unsigned char)(d[w] >> (24 - 8 * b));
        ASSERT_EQ(halyx_test::ToHex(expected, 20), halyx_test::ToHex(ours, 20))
            << "length " << message.size();
    }
}

TEST(SHA1, InputAfterResultOrNullInputCorruptsUntilReset) {
    unsigned d[5];
    SHA1 sha;
    sha << "abc";
    std::string first = Digest(sha);
    EXPECT_EQ(first, Digest(sha));  // asking twice gives the same digest
    sha << 'x';
    EXPECT_FALSE(sha.Result(d));
    sha.Reset();
    sha.Input(static_cast<const unsigned char*>(nullptr), 3);
    EXPECT_FALSE(sha.Result(d));
    sha.Reset();
    sha << static_cast<unsigned char>('a') << "b" << reinterpret_cast<const unsigned char*>("c");
    EXPECT_EQ(first, Digest(sha));
}

}  // namespace
