// Decoding of the hexadecimal substrings PPD translations use for bytes: "/Rotate by 180<B0>".
#include <string.h>

#include "PPDUtils/TextConverter.h"

namespace {

bool IsSegmentBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

OSStatus TextConverter::nextHexChar(const char*& cursor) {
    ++cursor;
    while (IsSegmentBlank(*cursor)) ++cursor;
    return IsHexDigit(*cursor) || *cursor == '>' ? OSStatus(noErr) : OSStatus(kHexSegmentErr);
}

short TextConverter::toShort(char digit) {
    if (digit >= '0' && digit <= '9') return static_cast<short>(digit - '0');
    if (digit >= 'A' && digit <= 'F') return static_cast<short>(digit - 'A' + 10);
    if (digit >= 'a' && digit <= 'f') return static_cast<short>(digit - 'a' + 10);
    return 0;
}

UInt32 TextConverter::DehexBufferFill(const char* text, char* output) {
    if (output == nullptr) return 0;
    char* out = output;
    const char* at = text != nullptr ? text : "";
    while (*at != '\0') {
        if (*at != '<') {
            *out++ = *at++;
            continue;
        }
        // A segment is readable when its closing ">" exists and the characters before it are blanks
        // and an even number of digits. Stepping never passes the ">": it is not a blank.
        const char* close = strchr(at + 1, '>');
        OSStatus status = close != nullptr ? noErr : kHexSegmentErr;
        unsigned digits = 0;
        for (const char* cursor = at; status == noErr && cursor < close - 1;) {
            status = nextHexChar(cursor);
            if (status == noErr && cursor != close) ++digits;
        }
        if (status == noErr && digits % 2 != 0) status = kHexSegmentErr;
        if (status != noErr) {
            // The rest stays as written, "<" included.
            const size_t rest = strlen(at);
            memcpy(out, at, rest);
            out += rest;
            break;
        }
        bool haveHigh = false;
        short high = 0;
        for (const char* digit = at + 1; digit < close; ++digit) {
            if (IsSegmentBlank(*digit)) continue;
            if (!haveHigh) {
                high = toShort(*digit);
                haveHigh = true;
            } else {
                *out++ = static_cast<char>((high << 4) | toShort(*digit));
                haveHigh = false;
            }
        }
        at = close + 1;
    }
    *out++ = '\0';
    return static_cast<UInt32>(out - output);
}
