// Opens and re-seals user-authentication texts with the independent implementation, so tests can
// check the layout byte by byte and forge altered records.
#ifndef HALYX_TESTS_CRYPTO_USERAUTHRECORDS_H
#define HALYX_TESTS_CRYPTO_USERAUTHRECORDS_H

#include <nettle/base64.h>
#include <nettle/sha1.h>
#include <nettle/twofish.h>

#include <cstdint>
#include <string>
#include <vector>

#include "crypto/Keys.h"

namespace halyx_test {

typedef std::vector<unsigned char> Bytes;

inline uint32_t BE32(const Bytes& b, size_t at) {
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
           b[at + 3];
}

inline void PutBE32(Bytes* b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) (*b)[at + size_t(i)] = (unsigned char)(v >> (24 - 8 * i));
}

inline Bytes Twofish(bool encrypt, const unsigned char* key, const Bytes& data) {
    struct twofish_ctx ctx;
    twofish256_set_key(&ctx, key);
    Bytes out(data.size());
    if (encrypt)
        twofish_encrypt(&ctx, data.size(), out.data(), data.data());
    else
        twofish_decrypt(&ctx, data.size(), out.data(), data.data());
    return out;
}

// The digest as the packer stores it: the five words, each least significant byte first.
inline Bytes StoredDigest(const unsigned char* data, size_t size) {
    struct sha1_ctx ctx;
    sha1_init(&ctx);
    sha1_update(&ctx, size, data);
    unsigned char be[SHA1_DIGEST_SIZE];
    sha1_digest(&ctx, sizeof be, be);
    Bytes out(20);
    for (int w = 0; w < 5; ++w)
        for (int b = 0; b < 4; ++b) out[size_t(4 * w + b)] = be[4 * w + 3 - b];
    return out;
}

inline Bytes DecodeBase64(const std::string& text) {
    struct base64_decode_ctx ctx;
    base64_decode_init(&ctx);
    Bytes out(BASE64_DECODE_LENGTH(text.size()) + 1);
    size_t n = out.size();
    if (!base64_decode_update(&ctx, &n, out.data(), text.size(), text.data()) ||
        !base64_decode_final(&ctx))
        return Bytes();
    out.resize(n);
    return out;
}

inline std::string EncodeBase64(const Bytes& data) {
    std::string out(BASE64_ENCODE_RAW_LENGTH(data.size()), '\0');
    base64_encode_raw(&out[0], data.size(), data.data());
    return out;
}

// A text taken apart: the outer record deciphered under the fixed key and the sealed block
// deciphered under the session key it carries.
struct OpenedRecord {
    Bytes outer;
    Bytes sealed;

    static OpenedRecord Open(const std::string& text) {
        OpenedRecord r;
        r.outer = Twofish(false, halyx::crypto::UserAuthKey(), DecodeBase64(text));
        uint32_t l1 = BE32(r.outer, 4);
        Bytes inner(r.outer.begin() + 40, r.outer.begin() + 40 + long(l1));
        r.sealed = Twofish(false, r.outer.data() + 8, inner);
        return r;
    }

    // Re-enciphers the (possibly altered) sealed block into the outer record, and that into text.
    std::string Seal() const {
        Bytes outer2(outer);
        Bytes inner = Twofish(true, outer.data() + 8, sealed);
        std::copy(inner.begin(), inner.end(), outer2.begin() + 40);
        return EncodeBase64(Twofish(true, halyx::crypto::UserAuthKey(), outer2));
    }

    // Stores a fresh digest of the record after an alteration.
    void Redigest() {
        uint32_t dataSize = BE32(sealed, 0);
        Bytes d = StoredDigest(sealed.data() + 4, dataSize);
        std::copy(d.begin(), d.end(), sealed.begin() + 4 + long(dataSize));
    }
};

}  // namespace halyx_test

#endif  // HALYX_TESTS_CRYPTO_USERAUTHRECORDS_H
