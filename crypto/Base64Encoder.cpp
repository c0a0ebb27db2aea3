#include "crypto/Base64Encoder.h"

namespace halyx {
namespace crypto {
namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const int kLineLength = 64;

}  // namespace

int Base64Encoder::EncodedLength(int length, bool lineBreaks) {
    if (length <= 0) return 0;
    int characters = (length + 2) / 3 * 4;
    return lineBreaks ? characters + characters / kLineLength : characters;
}

int Base64Encoder::Encode(const unsigned char* data, int length, char* output, bool lineBreaks) {
    if (data == nullptr || output == nullptr || length <= 0) return 0;
    int written = 0;
    int onLine = 0;
    auto put = [&](char c) {
        output[written++] = c;
        if (lineBreaks && ++onLine == kLineLength) {
            output[written++] = '\n';
            onLine = 0;
        }
    };
    for (int i = 0; i < length; i += 3) {
        int left = length - i;
        unsigned group = static_cast<unsigned>(data[i]) << 16;
        if (left > 1) group |= static_cast<unsigned>(data[i + 1]) << 8;
        if (left > 2) group |= data[i + 2];
        put(kAlphabet[(group >> 18) & 63]);
        put(kAlphabet[(group >> 12) & 63]);
        put(left > 1 ? kAlphabet[(group >> 6) & 63] : '=');
        put(left > 2 ? kAlphabet[group & 63] : '=');
    }
    return written;
}

}  // namespace crypto
}  // namespace halyx
