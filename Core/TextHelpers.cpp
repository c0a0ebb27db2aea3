#include "Core/TextHelpers.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Resources/Resources.h"

SInt32 string2Number(const char* text) {
    if (text == nullptr) return 0;
    const char* p = text;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = (*p++ == '-');
    UInt32 value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<UInt32>(*p - '0');
    if (negative) value = 0u - value;
    return static_cast<SInt32>(value);
}

bool string2BoundedNumber(const char* text, SInt32* value) {
    *value = 0;
    if (text == nullptr) return true;
    const char* p = text;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = (*p++ == '-');
    // The magnitude the sign allows: 2147483647, or 2147483648 below zero.
    const UInt64 limit = negative ? 2147483648u : 2147483647u;
    UInt64 magnitude = 0;
    bool within = true;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10u + static_cast<UInt64>(*p - '0');
        if (magnitude > limit) {
            magnitude = limit;
            within = false;
        }
    }
    *value = negative ? static_cast<SInt32>(-static_cast<SInt64>(magnitude))
                      : static_cast<SInt32>(magnitude);
    return within;
}

void num2String(SInt32 value, char* text) {
    if (text != nullptr) snprintf(text, 12, "%ld", static_cast<long>(value));
}

void ctoPStr(const char* text, StringPtr out) {
    if (out == nullptr) return;
    size_t length = text != nullptr ? strlen(text) : 0;
    if (length > 255) length = 255;
    out[0] = static_cast<unsigned char>(length);
    if (length > 0) memcpy(out + 1, text, length);
}

void ptoCStr(ConstStringPtr text, char* out) {
    if (out == nullptr) return;
    size_t length = text != nullptr ? text[0] : 0;
    if (length > 0) memmove(out, text + 1, length);
    out[length] = '\0';
}

char* newInitalizedCString(long n, char byte) {
    if (n < 0) return nullptr;
    char* text = static_cast<char*>(malloc(static_cast<size_t>(n) + 1));
    if (text == nullptr) return nullptr;
    memset(text, byte, static_cast<size_t>(n));
    text[n] = '\0';
    return text;
}

char* getIndString(SInt16 resourceId, SInt16 index, char* out) {
    if (out == nullptr) return nullptr;
    Str255 item;
    GetIndString(item, resourceId, index);
    ptoCStr(item, out);
    return out[0] != '\0' ? out : nullptr;
}

char* findChar(char* text, char byte) {
    if (text == nullptr) return nullptr;
    for (; *text != '\0'; ++text) {
        if (*text == byte) return text;
    }
    return nullptr;
}

char* deleteCharRangeInStr(char* text, long from, long to) {
    if (text == nullptr || from < 0 || from >= to) return nullptr;
    long length = static_cast<long>(strlen(text));
    if (from > length) return nullptr;
    if (to > length) to = length;
    memmove(text + from, text + to, static_cast<size_t>(length - to) + 1);
    return text;
}

bool validateRangeValues(const char* text, int maxRun) {
    if (text == nullptr) return true;
    int run = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p >= '0' && *p <= '9') {
            if (++run > maxRun) return false;
        } else {
            run = 0;
        }
    }
    return true;
}
