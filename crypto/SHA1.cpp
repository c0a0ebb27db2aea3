#include "crypto/SHA1.h"

namespace halyx {
namespace crypto {
namespace {

uint32_t Rotl(uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

}  // namespace

SHA1::SHA1() {
    Reset();
}

void SHA1::Reset() {
    mH[0] = 0x67452301;
    mH[1] = 0xEFCDAB89;
    mH[2] = 0x98BADCFE;
    mH[3] = 0x10325476;
    mH[4] = 0xC3D2E1F0;
    mLengthLow = 0;
    mLengthHigh = 0;
    mMessageBlockIndex = 0;
    mComputed = false;
    mCorrupted = false;
}

void SHA1::Input(const unsigned char* messageArray, unsigned length) {
    if (length == 0) return;
    if (mComputed || mCorrupted || messageArray == nullptr) {
        mCorrupted = true;
        return;
    }
    for (unsigned i = 0; i < length && !mCorrupted; ++i) {
        mMessageBlock[mMessageBlockIndex++] = messageArray[i];
        mLengthLow += 8;
        if (mLengthLow == 0) {
            ++mLengthHigh;
            if (mLengthHigh == 0) mCorrupted = true;  // the length field would wrap
        }
        if (mMessageBlockIndex == 64) ProcessMessageBlock();
    }
}

void SHA1::Input(const char* messageArray, unsigned length) {
    Input(reinterpret_cast<const unsigned char*>(messageArray), length);
}

void SHA1::Input(unsigned char messageElement) {
    Input(&messageElement, 1);
}

void SHA1::Input(char messageElement) {
    Input(reinterpret_cast<const unsigned char*>(&messageElement), 1);
}

SHA1& SHA1::operator<<(const char* messageArray) {
    if (messageArray == nullptr) {
        mCorrupted = true;
        return *this;
    }
    unsigned length = 0;
    while (messageArray[length] != '\0') ++length;
    Input(messageArray, length);
    return *this;
}

SHA1& SHA1::operator<<(const unsigned char* messageArray) {
    return *this << reinterpret_cast<const char*>(messageArray);
}

SHA1& SHA1::operator<<(char messageElement) {
    Input(messageElement);
    return *this;
}

SHA1& SHA1::operator<<(unsigned char messageElement) {
    Input(messageElement);
    return *this;
}

bool SHA1::Result(unsigned* messageDigestArray) {
    if (mCorrupted || messageDigestArray == nullptr) return false;
    if (!mComputed) {
        PadMessage();
        mComputed = true;
    }
    for (int i = 0; i < 5; ++i) messageDigestArray[i] = mH[i];
    return true;
}

void SHA1::ProcessMessageBlock() {
    uint32_t w[80];
    for (int t = 0; t < 16; ++t) {
        w[t] = (static_cast<uint32_t>(mMessageBlock[4 * t]) << 24) |
               (static_cast<uint32_t>(mMessageBlock[4 * t + 1]) << 16) |
               (static_cast<uint32_t>(mMessageBlock[4 * t + 2]) << 8) | mMessageBlock[4 * t + 3];
    }
    for (int t = 16; t < 80; ++t) w[t] = Rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);

    uint32_t a = mH[0], b = mH[1], c = mH[2], d = mH[3], e = mH[4];
    for (int t = 0; t < 80; ++t) {
        uint32_t f, k;
        if (t < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999;
        } else if (t < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1;
        } else if (t < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6;
        }
        uint32_t temp = Rotl(a, 5) + f + e + w[t] + k;
        e = d;
        d = c;
        c = Rotl(b, 30);
        b = a;
        a = temp;
    }
    mH[0] += a;
    mH[1] += b;
    mH[2] += c;
    mH[3] += d;
    mH[4] += e;
    mMessageBlockIndex = 0;
}

// Appends the 1 bit, zeros, and the 64-bit message length, spilling into a second block when the
// length does not fit after the 1 bit.
void SHA1::PadMessage() {
    mMessageBlock[mMessageBlockIndex++] = 0x80;
    if (mMessageBlockIndex > 56) {
        while (mMessageBlockIndex < 64) mMessageBlock[mMessageBlockIndex++] = 0;
        ProcessMessageBlock();
    }
    while (mMessageBlockIndex < 56) mMessageBlock[mMessageBlockIndex++] = 0;
    for (int i = 0; i < 4; ++i) {
        mMessageBlock[56 + i] = static_cast<unsigned char>(mLengthHigh >> (24 - 8 * i));
        mMessageBlock[60 + i] = static_cast<unsigned char>(mLengthLow >> (24 - 8 * i));
    }
    ProcessMessageBlock();
}

}  // namespace crypto
}  // namespace halyx
