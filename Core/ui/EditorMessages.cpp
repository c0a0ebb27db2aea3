#include "Core/ui/EditorMessages.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "Core/PDEBundle.h"

namespace halyx_editor {

namespace {

constexpr int kFormatSize = 256;

// True when the printf conversions of `format` are exactly `kinds`, in order.
bool TakesArguments(const char* format, const char* kinds) {
    const char* expected = kinds;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p != '\0' && strchr("-+ #0123456789.", *p) != nullptr) ++p;
        char kind = 0;
        if (*p == 's') kind = 's';
        if (*p == 'd' || *p == 'i') kind = 'd';
        if (kind == 0 || *expected != kind) return false;
        ++expected;
    }
    return *expected == '\0';
}

void Fill(char* out, const char* format, const char* fallback, const char* kinds, va_list args) {
    if (!TakesArguments(format, kinds)) {
        snprintf(out, kMessageSize, "%s", fallback);
        return;
    }
    vsnprintf(out, kMessageSize, format, args);
}

}  // namespace

void ComposeMessage(char* out, const char* key, const char* kinds, ...) {
    char format[kFormatSize];
    if (PDEBundle::GetLocalizedString(key, format, kFormatSize, nullptr) <= 0) {
        snprintf(format, sizeof format, "%s", key);
    }
    va_list args;
    va_start(args, kinds);
    Fill(out, format, key, kinds, args);
    va_end(args);
}

void ComposeFixed(char* out, const char* format, const char* kinds, ...) {
    va_list args;
    va_start(args, kinds);
    Fill(out, format, "", kinds, args);
    va_end(args);
}

}  // namespace halyx_editor
