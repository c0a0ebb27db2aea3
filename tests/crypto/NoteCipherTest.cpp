#include "crypto/NoteCipher.h"

#include <gtest/gtest.h>
#include <nettle/des.h>

#include <cstring>
#include <string>

#include "TestBytes.h"
#include "crypto/Keys.h"

namespace {

using halyx::crypto::EncryptNoteHex;
using halyx::crypto::kNoteOutputSize;
using halyx::crypto::NoteKeyIndex;

// Deciphers the hexadecimal text with the independent implementation.
std::vector<unsigned char> Decipher(const char* hex, int keyIndex) {
    std::vector<unsigned char> bytes = halyx_test::FromHex(hex);
    struct des_ctx reference;
    des_set_key(&reference, halyx::crypto::NoteKey(keyIndex));
    des_decrypt(&reference, bytes.size(), bytes.data(), bytes.data());
    return bytes;
}

TEST(NoteCipher, PaddedLengthsAndHexDigits) {
    struct {
        size_t plain;
        size_t digits;
        unsigned char pad;
    } cases[] = {{0, 16, 8}, {7, 16, 1}, {8, 32, 8}, {15, 32, 1}, {119, 240, 1}};
    for (const auto& c : cases) {
        std::string note(c.plain, 'n');
        char out[kNoteOutputSize];
        std::memset(out, 'x', sizeof out);
        ASSERT_TRUE(EncryptNoteHex(note.c_str(), 1, out));
        ASSERT_EQ(c.digits, std::strlen(out)) << c.plain;
        for (size_t i = 0; i < c.digits; ++i) ASSERT_TRUE(std::strchr("0123456789ABCDEF", out[i]));
        for (size_t i = c.digits; i < sizeof out; ++i) ASSERT_EQ('\0', out[i]);

        std::vector<unsigned char> plain = Decipher(out, 1);
        ASSERT_EQ(c.digits / 2, plain.size());
        EXPECT_EQ(note, std::string(plain.begin(), plain.begin() + long(c.plain)));
        for (size_t i = c.plain; i < plain.size(); ++i) EXPECT_EQ(c.pad, plain[i]);
    }
}

TEST(NoteCipher, LongValuesAreCutTo119BytesAndKeepTheTerminator) {
    halyx_test::RandomBytes random(9);
    std::string longNote(300, '\0');
    for (char& ch : longNote) ch = char('a' + random.Between(0, 25));
    char out[kNoteOutputSize + 16];
    std::memset(out, 'x', sizeof out);
    ASSERT_TRUE(EncryptNoteHex(longNote.c_str(), 2, out));
    EXPECT_EQ(240u, std::strlen(out));
    for (size_t i = kNoteOutputSize; i < sizeof out; ++i) EXPECT_EQ('x', out[i]);
    std::vector<unsigned char> plain = Decipher(out, 2);
    EXPECT_EQ(longNote.substr(0, 119), std::string(plain.begin(), plain.begin() + 119));
    EXPECT_EQ(1, plain[119]);
}

TEST(NoteCipher, SpecialKeyValueChoosesTheKey) {
    EXPECT_EQ(2, NoteKeyIndex("2"));
    EXPECT_EQ(3, NoteKeyIndex("3"));
    for (const char* other : {"1", "4", "", "22", " 2"}) EXPECT_EQ(1, NoteKeyIndex(other)) << other;
    EXPECT_EQ(1, NoteKeyIndex(nullptr));

    // Each key deciphers only its own text; an unknown index falls back to the first key.
    const char* note = "Account 4711";
    char one[kNoteOutputSize], two[kNoteOutputSize], three[kNoteOutputSize], four[kNoteOutputSize];
    EncryptNoteHex(note, 1, one);
    EncryptNoteHex(note, 2, two);
    EncryptNoteHex(note, 3, three);
    EncryptNoteHex(note, 4, four);
    EXPECT_STRNE(one, two);
    EXPECT_STRNE(two, three);
    EXPECT_STREQ(one, four);
    std::vector<unsigned char> plain = Decipher(three, 3);
    EXPECT_EQ(note, std::string(plain.begin(), plain.begin() + long(std::strlen(note))));
}

}  // namespace
