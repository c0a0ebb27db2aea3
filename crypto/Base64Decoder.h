// Base64 decoding, lenient about layout: characters outside the alphabet (line breaks, spaces, any
// other byte) are skipped, and the first "=" ends the data.
#ifndef HALYX_CRYPTO_BASE64DECODER_H
#define HALYX_CRYPTO_BASE64DECODER_H

namespace halyx {
namespace crypto {

class Base64Decoder {
public:
    // Room that always suffices for `length` characters: 3 * ceil(length / 4) bytes.
    static int MaxDecodedLength(int length);

    // Decodes `length` characters of `text` into `output`, which must hold MaxDecodedLength(length)
    // bytes. A trailing group of two or three characters gives one or two bytes; a lone trailing
    // character gives none. Returns the number of bytes written (0 for null arguments).
    static int Decode(const char* text, int length, unsigned char* output);
};

}  // namespace crypto
}  // namespace halyx

#endif  // HALYX_CRYPTO_BASE64DECODER_H
