// printf-style formatting into strings, with %@ for CF values.
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFStringConverter.h"
#include "CoreFoundation/CFStringObject.h"

using halyxcf::CastTo;

namespace {

bool IsFlag(UniChar c) {
    return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0';
}
bool IsDigit(UniChar c) {
    return c >= '0' && c <= '9';
}

void AppendASCII(std::vector<UniChar>* out, const char* text) {
    while (*text != '\0') out->push_back(static_cast<UInt8>(*text++));
}

// Formats one numeric or pointer conversion through the C library.
template <typename T>
void AppendPrintf(std::vector<UniChar>* out, const std::string& spec, T value) {
    char small[128];
    int n = std::snprintf(small, sizeof small, spec.c_str(), value);
    if (n < 0) return;
    if (static_cast<size_t>(n) < sizeof small) {
        AppendASCII(out, small);
        return;
    }
    std::string large(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(&large[0], large.size(), spec.c_str(), value);
    AppendASCII(out, large.c_str());
}

void AppendValue(std::vector<UniChar>* out, CFTypeRef value) {
    if (value == nullptr) {
        AppendASCII(out, "(null)");
        return;
    }
    if (const __CFString* str = CastTo<__CFString>(value)) {
        out->insert(out->end(), str->mChars.begin(), str->mChars.end());
        return;
    }
    CFStringRef description = CFCopyDescription(value);
    const __CFString* text = CastTo<__CFString>(description);
    if (text != nullptr) out->insert(out->end(), text->mChars.begin(), text->mChars.end());
    CFRelease(description);
}

void AppendCString(std::vector<UniChar>* out, const char* text, const std::string& spec) {
    if (text == nullptr) text = "(null)";
    std::string formatted;
    char small[256];
    int n = std::snprintf(small, sizeof small, spec.c_str(), text);
    if (n < 0) return;
    if (static_cast<size_t>(n) < sizeof small) {
        formatted = small;
    } else {
        formatted.assign(static_cast<size_t>(n) + 1, '\0');
        std::snprintf(&formatted[0], formatted.size(), spec.c_str(), text);
        formatted.resize(static_cast<size_t>(n));
    }
    if (!halyxcf::DecodeBytes(reinterpret_cast<const UInt8*>(formatted.data()), formatted.size(),
                              kCFStringEncodingMacRoman, out))
        AppendASCII(out, "?");
}

std::vector<UniChar> Format(const std::vector<UniChar>& format, va_list arguments) {
    std::vector<UniChar> out;
    size_t i = 0;
    while (i < format.size()) {
        UniChar c = format[i];
        if (c != '%') {
            out.push_back(c);
            ++i;
            continue;
        }
        size_t start = i++;
        std::string spec = "%";
        while (i < format.size() && IsFlag(format[i])) spec += static_cast<char>(format[i++]);
        if (i < format.size() && format[i] == '*') {
            spec += std::to_string(va_arg(arguments, int));
            ++i;
        }
        while (i < format.size() && IsDigit(format[i])) spec += static_cast<char>(format[i++]);
        if (i < format.size() && format[i] == '.') {
            spec += format[i++];
            if (i < format.size() && format[i] == '*') {
                spec += std::to_string(va_arg(arguments, int));
                ++i;
            }
            while (i < format.size() && IsDigit(format[i])) spec += static_cast<char>(format[i++]);
        }
        std::string length;
        while (i < format.size() &&
               (format[i] == 'h' || format[i] == 'l' || format[i] == 'q' || format[i] == 'z' ||
                format[i] == 'j' || format[i] == 't' || format[i] == 'L'))
            length += static_cast<char>(format[i++]);
        if (i >= format.size()) {
            out.insert(out.end(), format.begin() + static_cast<long>(start), format.end());
            break;
        }
        UniChar conversion = format[i++];
        bool isLong = length == "l";
        bool isLongLong = length == "ll" || length == "q" || length == "j";
        bool isSize = length == "z" || length == "t";
        switch (conversion) {
            case '%':
                out.push_back('%');
                break;
            case '@':
                AppendValue(&out, va_arg(arguments, CFTypeRef));
                break;
            case 'd':
            case 'i':
                if (isLongLong)
                    AppendPrintf(&out, spec + "lld", va_arg(arguments, long long));
                else if (isLong || isSize)
                    AppendPrintf(&out, spec + "ld", va_arg(arguments, long));
                else
                    AppendPrintf(&out, spec + length + "d", va_arg(arguments, int));
                break;
            case 'u':
            case 'x':
            case 'X':
            case 'o': {
                std::string kind(1, static_cast<char>(conversion));
                if (isLongLong)
                    AppendPrintf(&out, spec + "ll" + kind, va_arg(arguments, unsigned long long));
                else if (isLong || isSize)
                    AppendPrintf(&out, spec + "l" + kind, va_arg(arguments, unsigned long));
                else
                    AppendPrintf(&out, spec + length + kind, va_arg(arguments, unsigned int));
                break;
            }
            case 'c':
                AppendPrintf(&out, spec + "c", va_arg(arguments, int));
                break;
            case 'e':
            case 'E':
            case 'f':
            case 'F':
            case 'g':
            case 'G': {
                std::string kind(1, static_cast<char>(conversion));
                if (length == "L")
                    AppendPrintf(&out, spec + "L" + kind, va_arg(arguments, long double));
                else
                    AppendPrintf(&out, spec + kind, va_arg(arguments, double));
                break;
            }
            case 's':
                AppendCString(&out, va_arg(arguments, const char*), spec + "s");
                break;
            case 'p':
                AppendPrintf(&out, spec + "p", va_arg(arguments, void*));
                break;
            default:  // unknown: copy as it stands, consuming nothing
                out.insert(out.end(), format.begin() + static_cast<long>(start),
                           format.begin() + static_cast<long>(i));
                break;
        }
    }
    return out;
}

}  // namespace

extern "C" {

CFStringRef CFStringCreateWithFormatAndArguments(CFAllocatorRef, CFDictionaryRef,
                                                 CFStringRef format, va_list arguments) {
    const __CFString* f = CastTo<__CFString>(format);
    if (f == nullptr) return nullptr;
    return halyxcf::NewString(Format(f->mChars, arguments), false);
}

CFStringRef CFStringCreateWithFormat(CFAllocatorRef alloc, CFDictionaryRef formatOptions,
                                     CFStringRef format, ...) {
    va_list arguments;
    va_start(arguments, format);
    CFStringRef result =
        CFStringCreateWithFormatAndArguments(alloc, formatOptions, format, arguments);
    va_end(arguments);
    return result;
}

void CFStringAppendFormat(CFMutableStringRef theString, CFDictionaryRef, CFStringRef format, ...) {
    __CFString* str = CastTo<__CFString>(theString);
    const __CFString* f = CastTo<__CFString>(format);
    if (str == nullptr || !str->mMutable || f == nullptr) return;
    va_list arguments;
    va_start(arguments, format);
    std::vector<UniChar> text = Format(f->mChars, arguments);
    va_end(arguments);
    str->mChars.insert(str->mChars.end(), text.begin(), text.end());
    str->Changed();
}

}  // extern "C"
