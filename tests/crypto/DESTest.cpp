#include "crypto/DES.h"

#include <gtest/gtest.h>
#include <nettle/des.h>

#include "TestBytes.h"

namespace {

using halyx::crypto::DE1;
using halyx::crypto::EN0;
using halyx_test::FromHex;
using halyx_test::ToHex;

std::string RunBlock(const std::string& keyHex, short edf, const std::string& blockHex) {
    std::vector<unsigned char> key = FromHex(keyHex), block = FromHex(blockHex);
    halyx::crypto::deskey(key.data(), edf);
    halyx::crypto::des(block.data(), block.data());
    return ToHex(block);
}

TEST(DES, PublishedVectorsBothWays) {
    struct Vector {
        const char* key;
        const char* plain;
        const char* cipher;
    } vectors[] = {
        {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
        {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
        {"0101010101010101", "95F8A5E5DD31D900", "8000000000000000"},
        {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
    };
    for (const Vector& v : vectors) {
        EXPECT_EQ(v.cipher, RunBlock(v.key, EN0, v.plain)) << v.key;
        EXPECT_EQ(v.plain, RunBlock(v.key, DE1, v.cipher)) << v.key;
    }
}

TEST(DES, MatchesIndependentImplementationOnRandomKeysAndBlocks) {
    halyx_test::RandomBytes random(1);
    for (int i = 0; i < 3000; ++i) {
        std::vector<unsigned char> key = random.Bytes(8), block = random.Bytes(8);
        struct des_ctx reference;
        des_set_key(&reference, key.data());  // weak keys are still set up
        unsigned char expected[8], ours[8], back[8];
        des_encrypt(&reference, 8, expected, block.data());

        halyx::crypto::deskey(key.data(), EN0);
        halyx::crypto::des(block.data(), ours);
        ASSERT_EQ(ToHex(expected, 8), ToHex(ours, 8)) << "key " << ToHex(key);

        halyx::crypto::deskey(key.data(), DE1);
        halyx::crypto::des(ours, back);
        ASSERT_EQ(ToHex(block), ToHex(back, 8));
    }
}

TEST(DES, SavedScheduleCanBeRestoredAfterAnotherKey) {
    halyx_test::RandomBytes random(2);
    std::vector<unsigned char> first = random.Bytes(8), second = random.Bytes(8);
    std::vector<unsigned char> block = random.Bytes(8);
    uint32_t saved[halyx::crypto::kDESScheduleWords];
    unsigned char a[8], b[8];

    halyx::crypto::deskey(first.data(), EN0);
    halyx::crypto::cpkey(saved);
    halyx::crypto::des(block.data(), a);

    halyx::crypto::deskey(second.data(), EN0);
    halyx::crypto::des(block.data(), b);
    EXPECT_NE(ToHex(a, 8), ToHex(b, 8));

    halyx::crypto::usekey(saved);
    halyx::crypto::des(block.data(), b);
    EXPECT_EQ(ToHex(a, 8), ToHex(b, 8));
}

}  // namespace
