#include "crypto/Twofish.h"

#include <gtest/gtest.h>
#include <nettle/cbc.h>
#include <nettle/twofish.h>

#include <cstring>

#include "TestBytes.h"

namespace {

namespace tf = halyx::crypto;
using halyx_test::FromHex;
using halyx_test::ToHex;

std::string Encrypt(const std::string& keyHex, const std::vector<unsigned char>& plain) {
    tf::keyInstance key;
    tf::cipherInstance cipher;
    EXPECT_EQ(tf::TWOFISH_TRUE,
              tf::makeKey(&key, tf::DIR_ENCRYPT, int(keyHex.size() * 4), keyHex.c_str()));
    EXPECT_EQ(tf::TWOFISH_TRUE, tf::cipherInit(&cipher, tf::MODE_ECB, nullptr));
    std::vector<unsigned char> out(plain.size());
    EXPECT_EQ(int(plain.size() * 8),
              tf::blockEncrypt(&cipher, &key, plain.data(), int(plain.size() * 8), out.data()));
    return ToHex(out);
}

TEST(Twofish, PublishedKnownAnswers) {
    std::vector<unsigned char> zero(16, 0);
    EXPECT_EQ("9F589F5CF6122C32B6BFEC2F2AE8C35A", Encrypt(std::string(32, '0'), zero));
    EXPECT_EQ("57FF739D4DC92C1BD7FC01700CC8216F", Encrypt(std::string(64, '0'), zero));
    EXPECT_EQ("CFD1D2E5A9BE9CDF501F13B892BD2248",
              Encrypt("0123456789ABCDEFFEDCBA98765432100011223344556677", zero));
    EXPECT_EQ("37527BE0052334B89F0CFCCAE87CFA20",
              Encrypt("0123456789ABCDEFFEDCBA987654321000112233445566778899AABBCCDDEEFF", zero));
}

// The published table of chained encryptions: each step's plain text is the previous cipher text,
// and its key is the previous plain text followed by the front of the previous key.
TEST(Twofish, PublishedChainedKnownAnswersFor256BitKeys) {
    std::vector<unsigned char> key(32, 0), plain(16, 0);
    std::string cipherHex;
    for (int i = 1; i <= 48; ++i) {
        cipherHex = Encrypt(ToHex(key), plain);
        if (i == 48) {
            EXPECT_EQ("2E2158BC3E5FC714C1EEECA0EA696D48D2DED73E59319A8138E0331F0EA149EA",
                      ToHex(key));
            EXPECT_EQ("248A7F3528B168ACFDD1386E3F51E30C", ToHex(plain));
            EXPECT_EQ("431058F4DBC7F734DA4F02F04CC4F459", cipherHex);
        }
        std::vector<unsigned char> next(plain);
        next.insert(next.end(), key.begin(), key.begin() + 16);
        key = next;
        plain = FromHex(cipherHex);
    }
}

TEST(Twofish, MatchesIndependentImplementationOnRandomKeysAndData) {
    halyx_test::RandomBytes random(3);
    for (int i = 0; i < 2000; ++i) {
        int keyBytes = (i % 3 == 0) ? 16 : (i % 3 == 1) ? 24 : 32;
        std::vector<unsigned char> keyBytesV = random.Bytes(size_t(keyBytes));
        std::vector<unsigned char> data = random.Bytes(16 * random.Between(1, 6));

        struct twofish_ctx reference;
        twofish_set_key(&reference, size_t(keyBytes), keyBytesV.data());
        std::vector<unsigned char> expected(data.size());
        twofish_encrypt(&reference, data.size(), expected.data(), data.data());
        ASSERT_EQ(ToHex(expected), Encrypt(ToHex(keyBytesV), data)) << "key " << ToHex(keyBytesV);

        // Deciphering in place restores the data.
        tf::keyInstance key;
        tf::cipherInstance cipher;
        ASSERT_EQ(tf::TWOFISH_TRUE,
                  tf::makeKey(&key, tf::DIR_DECRYPT, keyBytes * 8, ToHex(keyBytesV).c_str()));
        ASSERT_EQ(tf::TWOFISH_TRUE, tf::cipherInit(&cipher, tf::MODE_ECB, nullptr));
        int bits = int(expected.size() * 8);
        ASSERT_EQ(bits, tf::blockDecrypt(&cipher, &key, expected.data(), bits, expected.data()));
        ASSERT_EQ(ToHex(data), ToHex(expected));
    }
}

// The system loads 256-bit keys as eight words into a key made without material.
TEST(Twofish, KeyWordsLoadedByHandThenReKeyedEqualHexMaterial) {
    halyx_test::RandomBytes random(4);
    std::vector<unsigned char> keyBytes = random.Bytes(32), data = random.Bytes(64);
    tf::keyInstance byHand;
    ASSERT_EQ(tf::TWOFISH_TRUE, tf::makeKey(&byHand, tf::DIR_ENCRYPT, 256, nullptr));
    for (int i = 0; i < 8; ++i) {
        const unsigned char* p = keyBytes.data() + 4 * i;
        byHand.key32[i] =
            p[0] | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    }
    ASSERT_EQ(tf::TWOFISH_TRUE, tf::reKey(&byHand));
    tf::cipherInstance cipher;
    ASSERT_EQ(tf::TWOFISH_TRUE, tf::cipherInit(&cipher, tf::MODE_ECB, nullptr));
    std::vector<unsigned char> out(data.size());
    ASSERT_EQ(512, tf::blockEncrypt(&cipher, &byHand, data.data(), 512, out.data()));
    EXPECT_EQ(Encrypt(ToHex(keyBytes), data), ToHex(out));
}

TEST(Twofish, CbcChainsAcrossCallsLikeTheIndependentImplementation) {
    halyx_test::RandomBytes random(5);
    std::vector<unsigned char> keyBytes = random.Bytes(32), iv = random.Bytes(16);
    std::vector<unsigned char> data = random.Bytes(80);

    struct CBC_CTX(struct twofish_ctx, TWOFISH_BLOCK_SIZE) reference;
    twofish256_set_key(&reference.ctx, keyBytes.data());
    CBC_SET_IV(&reference, iv.data());
    std::vector<unsigned char> expected(data.size());
    CBC_ENCRYPT(&reference, twofish_encrypt, data.size(), expected.data(), data.data());

    tf::keyInstance key;
    tf::cipherInstance cipher;
    ASSERT_EQ(tf::TWOFISH_TRUE, tf::makeKey(&key, tf::DIR_ENCRYPT, 256, ToHex(keyBytes).c_str()));
    ASSERT_EQ(tf::TWOFISH_TRUE, tf::cipherInit(&cipher, tf::MODE_CBC, ToHex(iv).c_str()));
    std::vector<unsigned char> out(data.size());
    ASSERT_EQ(256, tf::blockEncrypt(&cipher, &key, data.data(), 256, out.data()));
    ASSERT_EQ(384, tf::blockEncrypt(&cipher, &key, data.data() + 32, 384, out.data() + 32));
    EXPECT_EQ(ToHex(expected), ToHex(out));

    ASSERT_EQ(tf::TWOFISH_TRUE, tf::cipherInit(&cipher, tf::MODE_CBC, ToHex(iv).c_str()));
    ASSERT_EQ(640, tf::blockDecrypt(&cipher, &key, out.data(), 640, out.data()));
    EXPECT_EQ(ToHex(data), ToHex(out));
}

TEST(Twofish, RefusesBadArguments) {
    tf::keyInstance key;
    tf::cipherInstance cipher;
    unsigned char block[32] = {0};
    EXPECT_EQ(tf::BAD_KEY_DIR, tf::makeKey(&key, 2, 256, nullptr));
    EXPECT_EQ(tf::BAD_KEY_MAT, tf::makeKey(&key, tf::DIR_ENCRYPT, 0, nullptr));
    EXPECT_EQ(tf::BAD_KEY_MAT, tf::makeKey(&key, tf::DIR_ENCRYPT, 257, nullptr));
    EXPECT_EQ(tf::BAD_KEY_MAT, tf::makeKey(&key, tf::DIR_ENCRYPT, 128, "0123456789abcdefX123"));
    EXPECT_EQ(tf::BAD_KEY_MAT, tf::makeKey(&key, tf::DIR_ENCRYPT, 128, "00"));  // too short
    EXPECT_EQ(tf::BAD_PARAMS, tf::makeKey(nullptr, tf::DIR_ENCRYPT, 128, nullptr));
    EXPECT_EQ(tf::BAD_CIPHER_MODE, tf::cipherInit(&cipher, 3, nullptr));
    EXPECT_EQ(tf::BAD_IV_MAT, tf::cipherInit(&cipher, tf::MODE_CBC, "zz"));

    std::memset(&key, 0, sizeof key);
    ASSERT_EQ(tf::TWOFISH_TRUE, tf::cipherInit(&cipher, tf::MODE_ECB, nullptr));
    EXPECT_EQ(tf::BAD_KEY_INSTANCE, tf::blockEncrypt(&cipher, &key, block, 128, block));
    EXPECT_EQ(tf::BAD_KEY_INSTANCE, tf::reKey(&key));
    ASSERT_EQ(tf::TWOFISH_TRUE, tf::makeKey(&key, tf::DIR_ENCRYPT, 256, nullptr));
    EXPECT_EQ(tf::BAD_INPUT_LEN, tf::blockEncrypt(&cipher, &key, block, 120, block));
    EXPECT_EQ(tf::BAD_INPUT_LEN, tf::blockDecrypt(&cipher, &key, block, -128, block));
    EXPECT_EQ(tf::BAD_PARAMS, tf::blockDecrypt(&cipher, &key, nullptr, 128, block));
    std::memset(&cipher, 0, sizeof cipher);
    EXPECT_EQ(tf::BAD_CIPHER_STATE, tf::blockEncrypt(&cipher, &key, block, 128, block));
}

// Keys with the full S-box tables against the published answers and the independent
// implementation, for each key length, both ways; and a re-keyed instance rebuilds its tables.
TEST(Twofish, FullKeyingGivesTheSameBlocks) {
    const struct {
        const char* keyHex;
        const char* cipherOfZeros;
    } kCases[] = {
        {"00000000000000000000000000000000", "9F589F5CF6122C32B6BFEC2F2AE8C35A"},
        {"0123456789ABCDEFFEDCBA98765432100011223344556677", "CFD1D2E5A9BE9CDF501F13B892BD2248"},
        {"0123456789ABCDEFFEDCBA987654321000112233445566778899AABBCCDDEEFF",
         "37527BE0052334B89F0CFCCAE87CFA20"},
    };
    halyx_test::RandomBytes random(7);
    tf::cipherInstance cipher;
    ASSERT_EQ(tf::TWOFISH_TRUE, tf::cipherInit(&cipher, tf::MODE_ECB, nullptr));
    for (const auto& c : kCases) {
        int keyBits = int(std::strlen(c.keyHex) * 4);
        tf::keyInstance key;
        ASSERT_EQ(tf::TWOFISH_TRUE, tf::makeKey(&key, tf::DIR_ENCRYPT, keyBits, c.keyHex));
        key.fullKeying = 1;
        ASSERT_EQ(tf::TWOFISH_TRUE, tf::reKey(&key));
        unsigned char block[16] = {0};
        ASSERT_EQ(128, tf::blockEncrypt(&cipher, &key, block, 128, block));
        EXPECT_EQ(c.cipherOfZeros, ToHex(block, 16)) << c.keyHex;

        // New key words under the same instance: the tables follow them.
        std::vector<unsigned char> keyBytes = random.Bytes(size_t(keyBits / 8));
        std::memset(key.key32, 0, sizeof key.key32);
        std::memcpy(key.key32, keyBytes.data(), keyBytes.size());  // little-endian words
        ASSERT_EQ(tf::TWOFISH_TRUE, tf::reKey(&key));
        std::vector<unsigned char> data = random.Bytes(16 * 4), out(data.size());
        struct twofish_ctx reference;
        twofish_set_key(&reference, keyBytes.size(), keyBytes.data());
        std::vector<unsigned char> expected(data.size());
        twofish_encrypt(&reference, data.size(), expected.data(), data.data());
        ASSERT_EQ(512, tf::blockEncrypt(&cipher, &key, data.data(), 512, out.data()));
        EXPECT_EQ(ToHex(expected), ToHex(out)) << c.keyHex;
        ASSERT_EQ(512, tf::blockDecrypt(&cipher, &key, out.data(), 512, out.data()));
        EXPECT_EQ(ToHex(data), ToHex(out)) << c.keyHex;
    }
}

TEST(Twofish, TableUseIsCountedOnlyWhileEnabled) {
    halyx_test::RandomBytes random(6);
    std::vector<unsigned char> data = random.Bytes(16 * 64);
    ASSERT_EQ(tf::TWOFISH_TRUE, tf::TableOp(tf::TAB_RESET));
    ASSERT_EQ(tf::TWOFISH_TRUE, tf::TableOp(tf::TAB_DISABLE));
    Encrypt(ToHex(random.Bytes(32)), data);
    EXPECT_EQ(0, tf::TableOp(tf::TAB_QUERY));
    EXPECT_EQ(0, tf::TableOp(tf::TAB_MIN_QUERY));

    ASSERT_EQ(tf::TWOFISH_TRUE, tf::TableOp(tf::TAB_ENABLE));
    Encrypt(ToHex(random.Bytes(32)), data);
    ASSERT_EQ(tf::TWOFISH_TRUE, tf::TableOp(tf::TAB_DISABLE));
    EXPECT_EQ(tf::TWOFISH_TRUE, tf::TableOp(tf::TAB_QUERY));
    EXPECT_GT(tf::TableOp(tf::TAB_MIN_QUERY), 0);

    ASSERT_EQ(tf::TWOFISH_TRUE, tf::TableOp(tf::TAB_RESET));
    EXPECT_EQ(0, tf::TableOp(tf::TAB_QUERY));
    EXPECT_EQ(tf::BAD_PARAMS, tf::TableOp(7));
}

}  // namespace
