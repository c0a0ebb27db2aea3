#include "CoreFoundation/CFBase64.h"

namespace halyxcf {
namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int ValueOf(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

void AppendBase64(const UInt8* bytes, size_t length, size_t lineLength, const std::string& indent,
                  std::string* out) {
    size_t column = 0;
    for (size_t i = 0; i < length; i += 3) {
        UInt32 group = static_cast<UInt32>(bytes[i]) << 16;
        if (i + 1 < length) group |= static_cast<UInt32>(bytes[i + 1]) << 8;
        if (i + 2 < length) group |= bytes[i + 2];
        char quad[4] = {kAlphabet[(group >> 18) & 63], kAlphabet[(group >> 12) & 63],
                        i + 1 < length ? kAlphabet[(group >> 6) & 63] : '=',
                        i + 2 < length ? kAlphabet[group & 63] : '='};
        if (column == 0) *out += indent;
        out->append(quad, 4);
        column += 4;
        if (column >= lineLength) {
            *out += '\n';
            column = 0;
        }
    }
    if (column > 0) *out += '\n';
}

bool DecodeBase64(const std::string& text, std::vector<UInt8>* out) {
    UInt32 group = 0;
    int inGroup = 0;
    int padding = 0;
    for (char c : text) {
        if (IsSpace(c)) continue;
        if (c == '=') {
            if (inGroup < 2) return false;  // padding needs at least two digits before it
            ++padding;
            if (inGroup + padding > 4) return false;
            continue;
        }
        int value = ValueOf(c);
        if (value < 0 || padding > 0) return false;
        group = (group << 6) | static_cast<UInt32>(value);
        if (++inGroup == 4) {
            out->push_back(static_cast<UInt8>(group >> 16));
            out->push_back(static_cast<UInt8>(group >> 8));
            out->push_back(static_cast<UInt8>(group));
            group = 0;
            inGroup = 0;
        }
    }
    if (padding > 0 && inGroup + padding != 4) return false;
    if (inGroup == 1) return false;
    if (inGroup == 2) out->push_back(static_cast<UInt8>(group >> 4));
    if (inGroup == 3) {
        out->push_back(static_cast<UInt8>(group >> 10));
        out->push_back(static_cast<UInt8>(group >> 2));
    }
    return true;
}

}  // namespace halyxcf
