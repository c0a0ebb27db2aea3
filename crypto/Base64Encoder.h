// Base64 encoding with the standard alphabet (A-Z a-z 0-9 + /) and "=" padding.
#ifndef HALYX_CRYPTO_BASE64ENCODER_H
#define HALYX_CRYPTO_BASE64ENCODER_H

namespace halyx {
namespace crypto {

class Base64Encoder {
public:
    // Room needed for `length` bytes: 4 * ceil(length / 3) characters, plus one LF per 64 of them
    // when lines are broken. Not counting a terminator.
    static int EncodedLength(int length, bool lineBreaks);

    // Encodes `length` bytes of `data` into `output`, which must hold EncodedLength characters.
    // With `lineBreaks` an LF follows every 64th character. Writes no terminator. Returns the
    // number of characters written (0 for a null or empty input, or a null output).
    static int Encode(const unsigned char* data, int length, char* output, bool lineBreaks);
};

}  // namespace crypto
}  // namespace halyx

#endif  // HALYX_CRYPTO_BASE64ENCODER_H
