#include "CoreFoundation/CFBase64.h"

#include <cstring>

namespace halyxcf {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// What each byte is to the decoder: a digit's value, or one of the marks below.
constexpr signed char kSpace = -2;
constexpr signed char kPad = -3;
constexpr signed char kInvalid = -1;

struct DigitTable {
    signed char of[256];
    constexpr DigitTable() : of() {
        for (int c = 0; c < 256; ++c) of[c] = kInvalid;
        for (int v = 0; v < 64; ++v)
            of[static_cast<unsigned char>(kAlphabet[v])] = static_cast<signed char>(v);
        of[static_cast<unsigned char>(' ')] = kSpace;
        of[static_cast<unsigned char>('\t')] = kSpace;
        of[static_cast<unsigned char>('\n')] = kSpace;
        of[static_cast<unsigned char>('\r')] = kSpace;
        of[static_cast<unsigned char>('=')] = kPad;
    }
};

constexpr DigitTable kDigits;

// The two digits of every 12-bit half of a group.
struct PairTable {
    char of[4096][2];
    constexpr PairTable() : of() {
        for (int v = 0; v < 4096; ++v) {
            of[v][0] = kAlphabet[v >> 6];
            of[v][1] = kAlphabet[v & 63];
        }
    }
};

constexpr PairTable kPairs;

// Bytes kept free after the digits for the closing tags that follow them.
constexpr size_t kRoomAfter = 256;

template <typename Text>
void AppendDigits(const UInt8* bytes, size_t length, size_t lineLength, const std::string& indent,
                  Text* out) {
    if (length == 0) return;
    // The text's size is known beforehand: room is made once and the digits written into it.
    const size_t digits = (length + 2) / 3 * 4;
    const size_t perLine = lineLength == 0 ? 4 : (lineLength + 3) / 4 * 4;
    const size_t lines = (digits + perLine - 1) / perLine;
    const size_t start = out->size();
    // Room for the text and a little more, so that what follows it does not move it again; a
    // text that grows by many small pieces still grows its room by doubling.
    const size_t room = start + digits + lines * (indent.size() + 1) + kRoomAfter;
    if (room > out->capacity())
        out->reserve(room > 2 * out->capacity() ? room : 2 * out->capacity());
    out->resize(start + digits + lines * (indent.size() + 1));
    auto* at = &(*out)[start];
    // Whole lines of whole groups first, two digits from each half of a group's 24 bits, then
    // the last line and the group that ends in padding.
    const size_t wholeGroups = length / 3;
    const size_t groupsPerLine = perLine / 4;
    const UInt8* in = bytes;
    size_t column = 0;
    for (size_t done = 0; done < wholeGroups;) {
        std::memcpy(at, indent.data(), indent.size());
        at += indent.size();
        const size_t groups =
            wholeGroups - done < groupsPerLine ? wholeGroups - done : groupsPerLine;
        for (size_t g = 0; g < groups; ++g, in += 3, at += 4) {
            const UInt32 group =
                (static_cast<UInt32>(in[0]) << 16) | (static_cast<UInt32>(in[1]) << 8) | in[2];
            std::memcpy(at, kPairs.of[group >> 12], 2);
            std::memcpy(at + 2, kPairs.of[group & 0xFFF], 2);
        }
        done += groups;
        column = groups * 4;
        if (column >= lineLength) {
            *at++ = '\n';
            column = 0;
        }
    }
    const size_t rest = length % 3;
    if (rest > 0) {
        if (column == 0) {
            std::memcpy(at, indent.data(), indent.size());
            at += indent.size();
        }
        UInt32 group = static_cast<UInt32>(in[0]) << 16;
        if (rest == 2) group |= static_cast<UInt32>(in[1]) << 8;
        at[0] = kAlphabet[(group >> 18) & 63];
        at[1] = kAlphabet[(group >> 12) & 63];
        at[2] = rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
        at[3] = '=';
        at += 4;
        column += 4;
        if (column >= lineLength) {
            *at++ = '\n';
            column = 0;
        }
    }
    if (column > 0) *at++ = '\n';
    out->resize(static_cast<size_t>(at - out->data()));
}

}  // namespace

void AppendBase64(const UInt8* bytes, size_t length, size_t lineLength, const std::string& indent,
                  std::string* out) {
    AppendDigits(bytes, length, lineLength, indent, out);
}

void AppendBase64(const UInt8* bytes, size_t length, size_t lineLength, const std::string& indent,
                  std::vector<UInt8>* out) {
    AppendDigits(bytes, length, lineLength, indent, out);
}

bool DecodeBase64(const std::string& text, std::vector<UInt8>* out) {
    // The bytes are written into room made once, then the vector is cut to what was written.
    const size_t start = out->size();
    out->resize(start + text.size() / 4 * 3 + 3);
    UInt8* at = out->data() + start;
    UInt32 group = 0;
    int inGroup = 0;
    int padding = 0;
    bool ok = true;
    for (const char c : text) {
        const int value = kDigits.of[static_cast<unsigned char>(c)];
        if (value >= 0 && padding == 0) {
            group = (group << 6) | static_cast<UInt32>(value);
            if (++inGroup == 4) {
                at[0] = static_cast<UInt8>(group >> 16);
                at[1] = static_cast<UInt8>(group >> 8);
                at[2] = static_cast<UInt8>(group);
                at += 3;
                group = 0;
                inGroup = 0;
            }
            continue;
        }
        if (value == kSpace) continue;
        if (value == kPad) {
            // Padding needs at least two digits before it.
            if (inGroup < 2 || inGroup + padding + 1 > 4) {
                ok = false;
                break;
            }
            ++padding;
            continue;
        }
        ok = false;  // not a digit, or a digit after padding
        break;
    }
    if (ok && padding > 0 && inGroup + padding != 4) ok = false;
    if (ok && inGroup == 1) ok = false;
    if (ok && inGroup == 2) *at++ = static_cast<UInt8>(group >> 4);
    if (ok && inGroup == 3) {
        *at++ = static_cast<UInt8>(group >> 10);
        *at++ = static_cast<UInt8>(group >> 2);
    }
    out->resize(static_cast<size_t>(at - out->data()));
    return ok;
}

}  // namespace halyxcf
