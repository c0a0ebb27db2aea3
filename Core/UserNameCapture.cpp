#include "Core/UserNameCapture.h"

#include <stdlib.h>
#include <string.h>

#include "Base/MacErrors.h"
#include "PrintCore/UserName.h"
#include "TextEncoding/TextCommon.h"
#include "TextEncoding/TextEncodingConverter.h"

char* DoubleSlashBeforeColon(const char* text) {
    size_t length = strlen(text);
    char* out = static_cast<char*>(calloc(2 * length + 1, 1));
    if (out == nullptr) return nullptr;
    char* write = out;
    for (const char* p = text; *p != '\0'; ++p) {
        if (p[0] == '/' && p[1] == ':') *write++ = '/';
        *write++ = *p;
    }
    return out;
}

char* MacRomanToUTF8(const char* text, OSStatus* status) {
    *status = noErr;
    size_t length = strlen(text);
    size_t size = 4 * length + 1;
    char* out = static_cast<char*>(calloc(size, 1));
    if (out == nullptr) {
        *status = memFullErr;
        return nullptr;
    }
    if (length == 0) return out;
    TECObjectRef converter = nullptr;
    OSStatus result = TECCreateConverter(
        &converter, CreateTextEncoding(kTextEncodingMacRoman, kTextEncodingDefaultVariant, 0),
        CreateTextEncoding(kTextEncodingUnicodeDefault, kTextEncodingDefaultVariant,
                           kUnicodeUTF8Format));
    if (result == noErr) {
        ByteCount taken = 0;
        ByteCount written = 0;
        result = TECConvertText(converter, reinterpret_cast<ConstTextPtr>(text), length, &taken,
                                reinterpret_cast<TextPtr>(out), size - 1, &written);
        if (result == noErr && taken != length) result = kTECPartialCharErr;
        out[written < size ? written : size - 1] = '\0';
        TECDisposeConverter(converter);
    }
    if (result != noErr) {
        free(out);
        *status = result;
        return nullptr;
    }
    return out;
}

char* EscapeHighBytesOctal(const char* text) {
    size_t length = strlen(text);
    char* out = static_cast<char*>(calloc(4 * length + 1, 1));
    if (out == nullptr) return nullptr;
    char* write = out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (*p >= 0x80) {
            *write++ = '\\';
            *write++ = static_cast<char>('0' + (*p >> 6));
            *write++ = static_cast<char>('0' + ((*p >> 3) & 7));
            *write++ = static_cast<char>('0' + (*p & 7));
        } else {
            *write++ = static_cast<char>(*p);
        }
    }
    return out;
}

namespace {

// The logged-in user's full name as Mac OS Roman bytes; "" when there is none or it cannot be
// written that way.
char* LoggedInUserName() {
    CFStringRef name = CSCopyUserName(false);
    char buffer[1024] = "";
    if (name != nullptr) {
        if (!CFStringGetCString(name, buffer, sizeof buffer, kCFStringEncodingMacRoman)) {
            buffer[0] = '\0';
        }
        CFRelease(name);
    }
    return strdup(buffer);
}

}  // namespace

OSStatus CaptureUserName(const char* typed, char** captured) {
    *captured = nullptr;
    char* name =
        (typed == nullptr || typed[0] == '\0') ? LoggedInUserName() : DoubleSlashBeforeColon(typed);
    if (name == nullptr) return memFullErr;
    OSStatus status = noErr;
    char* utf8 = MacRomanToUTF8(name, &status);
    free(name);
    if (utf8 == nullptr) return status;
    *captured = EscapeHighBytesOctal(utf8);
    free(utf8);
    return *captured != nullptr ? static_cast<OSStatus>(noErr) : static_cast<OSStatus>(memFullErr);
}
