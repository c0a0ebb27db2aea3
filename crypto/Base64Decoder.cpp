#include "crypto/Base64Decoder.h"

namespace halyx {
namespace crypto {
namespace {

int Value(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

int Base64Decoder::MaxDecodedLength(int length) {
    return length <= 0 ? 0 : (length + 3) / 4 * 3;
}

int Base64Decoder::Decode(const char* text, int length, unsigned char* output) {
    if (text == nullptr || output == nullptr || length <= 0) return 0;
    int written = 0;
    unsigned group = 0;
    int inGroup = 0;
    for (int i = 0; i < length && text[i] != '='; ++i) {
        int v = Value(static_cast<unsigned char>(text[i]));
        if (v < 0) continue;
        group = (group << 6) | static_cast<unsigned>(v);
        if (++inGroup == 4) {
            output[written++] = static_cast<unsigned char>(group >> 16);
            output[written++] = static_cast<unsigned char>(group >> 8);
            output[written++] = static_cast<unsigned char>(group);
            group = 0;
            inGroup = 0;
        }
    }
    if (inGroup >= 2) output[written++] = static_cast<unsigned char>(group >> (6 * inGroup - 8));
    if (inGroup == 3) output[written++] = static_cast<unsigned char>(group >> 2);
    return written;
}

}  // namespace crypto
}  // namespace halyx
