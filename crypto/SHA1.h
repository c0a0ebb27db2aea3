// The SHA-1 message digest, fed incrementally.
//
// Input may come in any number of pieces; Result pads the message and gives the five digest words
// H0..H4. After Result the object keeps its digest: further Input marks it corrupted until Reset.
#ifndef HALYX_CRYPTO_SHA1_H
#define HALYX_CRYPTO_SHA1_H

#include <cstdint>

namespace halyx {
namespace crypto {

class SHA1 {
public:
    SHA1();

    // Starts a new message.
    void Reset();

    // Adds `length` bytes. A null pointer with a non-zero length marks the digest corrupted.
    void Input(const unsigned char* messageArray, unsigned length);
    void Input(const char* messageArray, unsigned length);
    void Input(unsigned char messageElement);
    void Input(char messageElement);

    // Adds the bytes of a NUL-terminated string (not the terminator); a single byte for a
    // character.
    SHA1& operator<<(const char* messageArray);
    SHA1& operator<<(const unsigned char* messageArray);
    SHA1& operator<<(char messageElement);
    SHA1& operator<<(unsigned char messageElement);

    // Writes H0..H4 to messageDigestArray[0..4]. False when the digest is corrupted: input after a
    // Result, a null input, or a message of 2^64 bits or more.
    bool Result(unsigned* messageDigestArray);

private:
    void ProcessMessageBlock();
    void PadMessage();

    uint32_t mH[5];
    uint32_t mLengthLow;  // message length in bits
    uint32_t mLengthHigh;
    unsigned char mMessageBlock[64];
    int mMessageBlockIndex;
    bool mComputed;
    bool mCorrupted;
};

}  // namespace crypto
}  // namespace halyx

#endif  // HALYX_CRYPTO_SHA1_H
